#include "resources/Pictures.h"

#include <functional>

#include <QImage>
#include <QPainter>
#include <QPixmapCache>

#include "resources/BannerArt.h"
#include "resources/Emblems.h"
#include "resources/ToolbarArt.h"
#include "resources/UserTagArt.h"

namespace {

constexpr QSize ToolbarSize(24, 24);
constexpr QSize UserTagSize(27, 18);
// Wider than any screen; a larger request is a caller's mistake, not a picture to allocate.
constexpr int MaxBannerWidth = 16384;

// Paints on a transparent canvas of size (in logical pixels) times scale.
QPixmap render(QSize size, int scale, const std::function<void(QPainter&)>& paint)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    paint(painter);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(scale);
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

QPixmap toolbarAt(ToolbarPicture picture, int scale)
{
    const QString key = QStringLiteral("tulmo/toolbar/%1@%2").arg(int(picture)).arg(scale);
    return cached(key, [picture, scale] {
        return render(ToolbarSize, scale,
                      [picture](QPainter& p) { ToolbarArt::paint(p, picture); });
    });
}

QPixmap iconAt(int size)
{
    return cached(QStringLiteral("tulmo/icon/%1").arg(size), [size] {
        return render(QSize(size, size), 1,
                      [size](QPainter& p) { BannerArt::programIcon(p, size); });
    });
}

} // namespace

QPixmap Pictures::toolbar(ToolbarPicture picture)
{
    return toolbarAt(picture, 1);
}

QIcon Pictures::toolbarIcon(ToolbarPicture picture)
{
    QIcon icon;
    icon.addPixmap(toolbarAt(picture, 1));
    // A doubled drawing for screens with two device pixels per pixel.
    icon.addPixmap(toolbarAt(picture, 2));
    return icon;
}

QPixmap Pictures::toolbar(int index)
{
    if (index < 0 || index >= ToolbarCount)
        return {};
    return toolbar(ToolbarPicture(index));
}

QIcon Pictures::toolbarIcon(int index)
{
    if (index < 0 || index >= ToolbarCount)
        return {};
    return toolbarIcon(ToolbarPicture(index));
}

QPixmap Pictures::userTag(int index)
{
    if (index < 0 || index >= UserTagCount)
        return {};
    return cached(QStringLiteral("tulmo/usertag/%1").arg(index), [index] {
        const int base = UserTagArt::crossedBase(index);
        if (base < 0)
            return render(UserTagSize, 1, [index](QPainter& p) { UserTagArt::paint(p, index); });
        const QPixmap under = userTag(base);
        return render(UserTagSize, 1, [&under](QPainter& p) {
            p.drawPixmap(0, 0, under);
            Emblems::crossOut(p,
                              QRectF(2.5, 2.5, UserTagSize.width() - 5, UserTagSize.height() - 5));
        });
    });
}

QPixmap Pictures::logoBanner()
{
    return cached(QStringLiteral("tulmo/logo"), [] {
        return render(QSize(BannerArt::LogoWidth, BannerArt::LogoHeight), 1,
                      [](QPainter& p) { BannerArt::logoBanner(p); });
    });
}

QPixmap Pictures::aboutPicture()
{
    return cached(QStringLiteral("tulmo/about"), [] {
        return render(QSize(BannerArt::AboutWidth, BannerArt::AboutHeight), 1,
                      [](QPainter& p) { BannerArt::aboutPicture(p); });
    });
}

QPixmap Pictures::dialogBanner(int width)
{
    if (width <= 0 || width > MaxBannerWidth)
        return {};
    return cached(QStringLiteral("tulmo/dialog/%1").arg(width), [width] {
        return render(QSize(width, BannerArt::DialogHeight), 1,
                      [width](QPainter& p) { BannerArt::dialogBanner(p, width); });
    });
}

QIcon Pictures::programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addPixmap(iconAt(size));
    return icon;
}
