#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QString SettingsLocation::folderFor(const QString& executableFolder, const QString& perUserFolder)
{
    const QString beside = withSlash(executableFolder);
    if (QFileInfo::exists(beside + QStringLiteral("confs.ini")) || takesNewFiles(beside))
        return beside;
    const QString own = withSlash(perUserFolder);
    // When even this fails, the first write says so with its usual error.
    QDir().mkpath(own);
    return own;
}

bool SettingsLocation::takesNewFiles(const QString& folder)
{
    QTemporaryFile probe(withSlash(folder) + QStringLiteral("tulmo-probe-XXXXXX"));
    return probe.open();
}
