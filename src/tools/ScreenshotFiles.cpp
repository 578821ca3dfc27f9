#include "tools/ScreenshotFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString JpgExtension = QStringLiteral(".jpg");
} // namespace

namespace ScreenshotFiles {

int contaArquivos(const QString& folder, const QString& pattern)
{
    QDir dir(folder);
    dir.setNameFilters({pattern});
    // Hidden and system files count as well: only folders are left out.
    QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System;
#ifndef Q_OS_WIN
    filters |= QDir::CaseSensitive;
#endif
    dir.setFilter(filters);
    return int(dir.count());
}

QString numberedName(const QString& folder)
{
    int next = contaArquivos(folder, QLatin1Char('*') + JpgExtension) + 1;
    while (QFileInfo::exists(folder + QString::number(next) + JpgExtension))
        ++next;
    return folder + QString::number(next) + JpgExtension;
}

QString withJpgExtension(const QString& name)
{
    return name.endsWith(JpgExtension, Qt::CaseSensitive) ? name : name + JpgExtension;
}

} // namespace ScreenshotFiles
