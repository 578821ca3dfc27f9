// Writes the program's icon, drawn by our own code, as PNG files for the desktop's icon theme:
// <folder>/hicolor/<n>x<n>/apps/tulmo-chat.png for each size. The build runs it; the pictures
// inside the program need no files.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include "resources/BannerArt.h"

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: tulmo-icon-export <folder>\n";
        return 2;
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args[1]).arg(size);
        QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        {
            QPainter painter(&icon);
            BannerArt::programIcon(painter, size);
        }
        if (!QDir().mkpath(folder) || !icon.save(folder + QStringLiteral("/tulmo-chat.png"))) {
            QTextStream(stderr) << "cannot write " << folder << "/tulmo-chat.png\n";
            return 1;
        }
    }
    return 0;
}
