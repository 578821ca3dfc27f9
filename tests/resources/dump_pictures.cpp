// dump_pictures FOLDER [ZOOM]: writes every picture as a PNG file into FOLDER, plus sheet.png
// with all of them enlarged ZOOM times (3 unless given) over the grounds they are shown on, to
// judge them by eye.

#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

#include "resources/Pictures.h"

namespace {

int Zoom = 3;
constexpr int Gap = 6;

bool save(const QPixmap& pixmap, const QDir& dir, const QString& name)
{
    if (pixmap.save(dir.filePath(name)))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name)));
    return false;
}

// A row of pictures, each at native size and enlarged, on one ground colour.
int drawRow(QPainter& p, int y, const QList<QPixmap>& row, QColor ground, int perLine)
{
    const QSize cell = row.first().size() / row.first().devicePixelRatio();
    const int lines = (row.size() + perLine - 1) / perLine;
    const int height = lines * (cell.height() * Zoom + cell.height() + 3 * Gap);
    p.fillRect(QRect(0, y, p.device()->width(), height), ground);
    for (int i = 0; i < row.size(); ++i) {
        const int x = Gap + (i % perLine) * (cell.width() * Zoom + Gap);
        const int top = y + Gap + (i / perLine) * (cell.height() * Zoom + cell.height() + 3 * Gap);
        p.drawPixmap(QRect(QPoint(x, top), cell * Zoom), row[i]);
        p.drawPixmap(QPoint(x, top + cell.height() * Zoom + Gap), row[i]);
    }
    return y + height;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc == 3)
        Zoom = qBound(1, QByteArray(argv[2]).toInt(), 12);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: dump_pictures FOLDER [ZOOM]\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    bool ok = true;
    QList<QPixmap> toolbar;
    for (int i = 0; i < Pictures::ToolbarCount; ++i) {
        toolbar << Pictures::toolbar(i);
        ok &= save(toolbar.last(), dir,
                   QStringLiteral("toolbar_%1.png").arg(i, 2, 10, QLatin1Char('0')));
    }
    QList<QPixmap> tags;
    for (int i = 0; i < Pictures::UserTagCount; ++i) {
        tags << Pictures::userTag(i);
        ok &= save(tags.last(), dir,
                   QStringLiteral("usertag_%1.png").arg(i, 2, 10, QLatin1Char('0')));
    }
    const QPixmap logo = Pictures::logoBanner();
    const QPixmap about = Pictures::aboutPicture();
    const QPixmap banner = Pictures::dialogBanner(325);
    ok &= save(logo, dir, QStringLiteral("logo.png"));
    ok &= save(about, dir, QStringLiteral("about.png"));
    ok &= save(banner, dir, QStringLiteral("dialog_325.png"));
    QList<QPixmap> icons;
    for (int size : {16, 32, 48}) {
        icons << Pictures::programIcon().pixmap(size, size);
        ok &= save(icons.last(), dir, QStringLiteral("icon_%1.png").arg(size));
    }
    ok &= save(Pictures::programIcon().pixmap(256, 256), dir, QStringLiteral("icon_256.png"));

    QImage sheet(340 * Zoom, 500 * Zoom, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    const QColor buttonFace(0xf0, 0xf0, 0xf0);
    int y = drawRow(p, 0, toolbar, buttonFace, 11);
    y = drawRow(p, y, tags.mid(0, 15), Qt::black, 10);
    y = drawRow(p, y, tags.mid(15), Qt::black, 10);
    y = drawRow(p, y, tags.mid(0, 12), Qt::white, 10);
    y = drawRow(p, y, icons.mid(0, 1), buttonFace, 10);
    p.fillRect(QRect(0, y, sheet.width(), 260), buttonFace);
    p.drawPixmap(QRect(Gap, y + Gap, logo.width() * 2, logo.height() * 2), logo);
    p.drawPixmap(Gap * 2 + logo.width() * 2, y + Gap, logo);
    p.drawPixmap(Gap * 2 + logo.width() * 2, y + Gap + 40, banner);
    p.drawPixmap(Gap, y + Gap + 80, about);
    p.drawPixmap(Gap * 2 + about.width(), y + Gap + 80, icons[2]);
    p.drawPixmap(Gap * 3 + about.width() + 48, y + Gap + 80, icons[1]);
    p.drawPixmap(Gap * 4 + about.width() + 80, y + Gap + 80, icons[0]);
    p.end();
    ok &= sheet.copy(0, 0, sheet.width(), y + 260).save(dir.filePath(QStringLiteral("sheet.png")));
    return ok ? 0 : 1;
}
