#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryFile>

#include "core/AtomicFile.h"

namespace {

constexpr qint64 CopyChunk = 64 * 1024;
// As long as a settings write waits for another writer.
constexpr int MaxLockWaitMs = 2000;
constexpr QLatin1String ConfsName("confs.ini");

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// When even this fails, the first write there says so with its usual error.
void makeOwnFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return;
    const QString parent = QFileInfo(QDir::cleanPath(folder)).path();
    QDir().mkpath(parent);
    QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Under the lock every settings write takes, so neither a write nor a second copy starting at
// the same moment is overwritten. The copy is private, as any confs.ini the program creates.
void copyOnce(const QString& from, const QString& to)
{
    QLockFile lock(to + QStringLiteral(".lock"));
    if (!lock.tryLock(MaxLockWaitMs) || QFileInfo::exists(to))
        return;
    QFile source(from);
    AtomicFile copy(to, AtomicFile::InPlace::Never, AtomicFile::NewFile::OwnerOnly);
    if (!source.open(QIODevice::ReadOnly) || !copy.open())
        return;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(CopyChunk);
        if (chunk.isEmpty() || copy.device().write(chunk) != chunk.size())
            return;
    }
    copy.commit();
}

} // namespace

QString SettingsLocation::folderFor(const QString& executableFolder, const QString& perUserFolder)
{
    const QString beside = withSlash(executableFolder);
    const QString own = withSlash(perUserFolder);
    if (isInstalled(executableFolder)) {
        makeOwnFolder(own);
        if (!QFileInfo::exists(own + ConfsName) && QFileInfo::exists(beside + ConfsName))
            copyOnce(beside + ConfsName, own + ConfsName);
        return own;
    }
    if (QFileInfo::exists(beside + ConfsName) || takesNewFiles(beside))
        return beside;
    makeOwnFolder(own);
    return own;
}

bool SettingsLocation::isInstalled(const QString& executableFolder)
{
    const QDir folder(QDir::cleanPath(executableFolder));
    return folder.dirName() == QStringLiteral("bin") &&
           QFileInfo(folder.filePath(QStringLiteral("../share/tulmo-chat"))).isDir();
}

bool SettingsLocation::takesNewFiles(const QString& folder)
{
    QTemporaryFile probe(withSlash(folder) + QStringLiteral("tulmo-probe-XXXXXX"));
    return probe.open();
}
