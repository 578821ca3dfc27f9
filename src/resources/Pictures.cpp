#include "resources/Pictures.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <QImage>
#include <QPainter>
#include <QPixmapCache>

#include "resources/BannerArt.h"
#include "resources/DrawnIconEngine.h"
#include "resources/Emblems.h"
#include "resources/ToolbarArt.h"
#include "resources/UserTagArt.h"

namespace {

constexpr QSize ToolbarSize(24, 24);
constexpr QSize UserTagSize(27, 18);
// Wider than any screen; a larger request is a caller's mistake, not a picture to allocate.
constexpr int MaxBannerWidth = 16384;
// The program icon: its smallest drawing, the sizes it offers the desktop at every common ratio,
// and its largest drawing (a larger request gets that one, as it always has).
constexpr int SmallIconSize = 16;
constexpr int IconSizes[] = {16, 32, 48};
constexpr int LargeIconSize = 256;
constexpr int LargestKeptIcon = 48;

qreal sane(qreal ratio)
{
    return std::isfinite(ratio) ? std::clamp(ratio, qreal(1), Pictures::MaxRatio) : qreal(1);
}

QString ratioKey(qreal ratio)
{
    return QString::number(ratio, 'g', 6);
}

// Paints on a transparent canvas of the logical size times the ratio (rounded to whole device
// pixels); the drawing is stretched to fill exactly the canvas.
QPixmap render(QSize size, qreal ratio, const std::function<void(QPainter&)>& paint)
{
    const QSize device(qRound(size.width() * ratio), qRound(size.height() * ratio));
    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.scale(qreal(device.width()) / size.width(), qreal(device.height()) / size.height());
    paint(painter);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

// Drawn once, then kept in the pixmap cache; if the cache ever drops it, it is drawn again.
QPixmap cached(const QString& key, const std::function<QPixmap()>& draw)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = draw();
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

// The program icon's sizes that a tray or a title bar paints again and again are kept; the large
// ones, which the desktop takes once for the window icon (half a megabyte together), are drawn
// each time they are asked for.
QPixmap iconAt(int size)
{
    const auto draw = [size] {
        return render(QSize(size, size), 1,
                      [size](QPainter& p) { BannerArt::programIcon(p, size); });
    };
    return size <= LargestKeptIcon ? cached(QStringLiteral("tulmo/icon/%1").arg(size), draw)
                                   : draw();
}

QIcon drawnIcon(QSize logical, const DrawnIconEngine::Draw& draw)
{
    return QIcon(new DrawnIconEngine(logical, Pictures::MaxRatio, draw));
}

} // namespace

QPixmap Pictures::toolbar(ToolbarPicture picture, qreal ratio)
{
    ratio = sane(ratio);
    const QString key =
        QStringLiteral("tulmo/toolbar/%1@%2").arg(int(picture)).arg(ratioKey(ratio));
    return cached(key, [picture, ratio] {
        return render(ToolbarSize, ratio,
                      [picture](QPainter& p) { ToolbarArt::paint(p, picture); });
    });
}

QIcon Pictures::toolbarIcon(ToolbarPicture picture)
{
    return drawnIcon(ToolbarSize, [picture](qreal ratio) { return toolbar(picture, ratio); });
}

QPixmap Pictures::toolbar(int index, qreal ratio)
{
    if (index < 0 || index >= ToolbarCount)
        return {};
    return toolbar(ToolbarPicture(index), ratio);
}

QIcon Pictures::toolbarIcon(int index)
{
    if (index < 0 || index >= ToolbarCount)
        return {};
    return toolbarIcon(ToolbarPicture(index));
}

QPixmap Pictures::userTag(int index, qreal ratio)
{
    if (index < 0 || index >= UserTagCount)
        return {};
    ratio = sane(ratio);
    return cached(QStringLiteral("tulmo/usertag/%1@%2").arg(index).arg(ratioKey(ratio)),
                  [index, ratio] {
                      return render(UserTagSize, ratio, [index](QPainter& p) {
                          const int base = UserTagArt::crossedBase(index);
                          if (base < 0) {
                              UserTagArt::paint(p, index);
                              return;
                          }
                          UserTagArt::paint(p, base);
                          Emblems::crossOut(p, QRectF(2.5, 2.5, UserTagSize.width() - 5,
                                                      UserTagSize.height() - 5));
                      });
                  });
}

QIcon Pictures::userTagIcon(int index)
{
    if (index < 0 || index >= UserTagCount)
        return {};
    return drawnIcon(UserTagSize, [index](qreal ratio) { return userTag(index, ratio); });
}

QPixmap Pictures::logoBanner(qreal ratio)
{
    ratio = sane(ratio);
    return cached(QStringLiteral("tulmo/logo@%1").arg(ratioKey(ratio)), [ratio] {
        return render(QSize(BannerArt::LogoWidth, BannerArt::LogoHeight), ratio,
                      [](QPainter& p) { BannerArt::logoBanner(p); });
    });
}

QPixmap Pictures::aboutPicture(qreal ratio)
{
    ratio = sane(ratio);
    return cached(QStringLiteral("tulmo/about@%1").arg(ratioKey(ratio)), [ratio] {
        return render(QSize(BannerArt::AboutWidth, BannerArt::AboutHeight), ratio,
                      [](QPainter& p) { BannerArt::aboutPicture(p); });
    });
}

QPixmap Pictures::dialogBanner(int width, qreal ratio)
{
    if (width <= 0 || width > MaxBannerWidth)
        return {};
    ratio = sane(ratio);
    return cached(QStringLiteral("tulmo/dialog/%1@%2").arg(width).arg(ratioKey(ratio)),
                  [width, ratio] {
                      return render(QSize(width, BannerArt::DialogHeight), ratio,
                                    [width](QPainter& p) { BannerArt::dialogBanner(p, width); });
                  });
}

// Each size is drawn for itself in device pixels: a 32-pixel icon at ratio 1.5 is the 48-pixel
// drawing, whose strokes are made for that size.
QIcon Pictures::programIcon()
{
    QList<QSize> sizes{{LargeIconSize, LargeIconSize}};
    for (int size : IconSizes) {
        for (qreal ratio : CommonRatios) {
            const int device = qRound(size * ratio);
            if (!sizes.contains(QSize(device, device)))
                sizes.append({device, device});
        }
    }
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    return QIcon(new DrawnIconEngine(
        {SmallIconSize, SmallIconSize}, qreal(LargeIconSize) / SmallIconSize,
        [](qreal ratio) { return iconAt(qRound(SmallIconSize * ratio)); }, sizes));
}
