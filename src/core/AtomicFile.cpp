#include "core/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <QThread>

#include <windows.h>
#endif

namespace {

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString temporaryName(const QString& target)
{
    static std::atomic<quint64> serial{0};
    return target +
           QStringLiteral(".%1-%2.tmp").arg(QCoreApplication::applicationPid()).arg(++serial);
}

QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        return info.canonicalFilePath();
    return path;
}

// Only a refusal by permission: on a full disk or a read-only mount, writing in place would
// truncate the old file and then fail as well.
bool folderRefusesNewFiles(const QString& target)
{
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    return ::access(folder.constData(), W_OK) != 0 && errno == EACCES;
#else
    Q_UNUSED(target);
    return false;
#endif
}

QString systemMessage(int code)
{
    return QString::fromStdString(std::generic_category().message(code));
}

// A replaced file keeps its mode; owner and group only where the process may give files away
// (the superuser): others can only make files of their own, which is what a new file is anyway.
bool takeAttributes(QFile& file, const QString& from)
{
#ifdef Q_OS_UNIX
    struct stat old;
    struct stat own;
    if (::stat(QFile::encodeName(from).constData(), &old) != 0 || ::fstat(file.handle(), &own) != 0)
        return false;
    if (own.st_uid != old.st_uid || own.st_gid != old.st_gid) {
        [[maybe_unused]] const int ignored = ::fchown(file.handle(), old.st_uid, old.st_gid);
    }
    const mode_t mode = old.st_mode & 07777;
    return (own.st_mode & 07777) == mode || ::fchmod(file.handle(), mode) == 0;
#else
    // Windows has a read-only flag for a mode, and open() refuses a read-only target already.
    Q_UNUSED(file);
    Q_UNUSED(from);
    return true;
#endif
}

// A file the process makes without asking for a mode: read and write for all, less its mask.
bool takeUsualMode(QFile& file)
{
#ifdef Q_OS_UNIX
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::fchmod(file.handle(), 0666 & ~mask) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

} // namespace

AtomicFile::AtomicFile(const QString& path, InPlace inPlace, NewFile newFile)
    : m_target(resolvedTarget(path)), m_inPlace(inPlace), m_newFile(newFile)
{
}

AtomicFile::~AtomicFile()
{
    if (m_file.isOpen() && !m_done) {
        m_file.close();
        if (!m_writingInPlace)
            m_file.remove();
    }
}

bool AtomicFile::open()
{
    if (m_file.isOpen() || m_done)
        return false;
    const QFileInfo existing(m_target);
    // A rename would replace a read-only file as readily as any other.
    if (existing.exists() && (!existing.isFile() || !existing.isWritable() ||
                              !existing.permission(QFileDevice::WriteOwner))) {
        m_error = systemMessage(existing.isDir() ? EISDIR : EACCES);
        return false;
    }
    for (int attempt = 0; attempt < 4 && !m_file.isOpen(); ++attempt) {
        m_file.setFileName(temporaryName(m_target));
        // New only, so a stray file of that name is never taken over.
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                         QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
            !QFileInfo::exists(m_file.fileName()))
            break;
    }
    if (m_file.isOpen()) {
        const bool moded = existing.exists()                 ? takeAttributes(m_file, m_target)
                           : m_newFile == NewFile::UsualMode ? takeUsualMode(m_file)
                                                             : true;
        if (moded)
            return true;
        m_error =
            m_file.error() != QFileDevice::NoError ? m_file.errorString() : systemMessage(errno);
        m_file.close();
        m_file.remove();
        return false;
    }
    if (m_inPlace == InPlace::WhenFolderRefuses && existing.exists() &&
        folderRefusesNewFiles(m_target)) {
        m_file.setFileName(m_target);
        m_writingInPlace = m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        if (!m_writingInPlace)
            m_error = m_file.errorString();
        return m_writingInPlace;
    }
    m_error = m_file.errorString();
    return false;
}

QIODevice& AtomicFile::device()
{
    return m_file;
}

bool AtomicFile::commit()
{
    if (!m_file.isOpen() || m_done)
        return false;
    m_done = true;
    // A failed write is only remembered until close() succeeds.
    bool written = m_file.error() == QFileDevice::NoError && m_file.flush();
    m_file.close();
    written = written && m_file.error() == QFileDevice::NoError;
    if (!written)
        m_error = m_file.errorString();
    if (m_writingInPlace)
        return written;
    if (written) {
        const std::error_code error = replaceTarget();
        written = !error;
        if (error)
            m_error = QString::fromStdString(error.message());
    }
    if (!written)
        m_file.remove();
    return written;
}

std::error_code AtomicFile::replaceTarget() const
{
    const std::filesystem::path from = nativePath(m_file.fileName());
    const std::filesystem::path to = nativePath(m_target);
#ifdef Q_OS_WIN
    // A file that another program holds open for a moment (a virus scanner, the search indexer,
    // a reader of ours) cannot be replaced until it lets go: a few tries, a tenth of a second in
    // all.
    DWORD failure = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (attempt > 0)
            QThread::msleep(10);
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return {};
        failure = GetLastError();
        if (failure != ERROR_ACCESS_DENIED && failure != ERROR_SHARING_VIOLATION)
            break;
    }
    return std::error_code(int(failure), std::system_category());
#else
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return error;
#endif
}

bool AtomicFile::save(const QString& path, const QByteArray& bytes)
{
    AtomicFile file(path);
    return file.open() && file.device().write(bytes) == bytes.size() && file.commit();
}

void AtomicFile::removeLeftovers(const QString& path)
{
    const QFileInfo target(resolvedTarget(path));
    const QRegularExpression leftover(QStringLiteral("^%1\\.[0-9]+-[0-9]+\\.tmp$")
                                          .arg(QRegularExpression::escape(target.fileName())));
    QDir folder = target.absoluteDir();
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QString& name : names) {
        if (leftover.match(name).hasMatch())
            folder.remove(name);
    }
}
