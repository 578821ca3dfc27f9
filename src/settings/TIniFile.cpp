#include "TIniFile.h"

#include <algorithm>
#include <exception>
#include <tuple>
#include <utility>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QLockFile>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QtGlobal>

#include "core/AsciiCase.h"
#include "core/AtomicFile.h"
#include "core/Cp1252.h"
#include "settings/IniDocument.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Far above any real list of replies or accounts. Of a bigger file only this much is read, and it
// is never rewritten, so memory stays bounded and nothing beyond the limit is lost.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
// How long a write waits for another process's write to the same file, on the GUI thread.
constexpr int MaxLockWaitMs = 2000;
constexpr unsigned long LockPollMs = 2;

// QLockFile's own wait doubles its pause up to seconds, so a copy that writes one key after
// another could hold the lock for the whole wait of the other; short, even pauses give each
// waiter its turn. A lock of a process that died is taken over at once.
bool takeLock(QLockFile& lock)
{
    QElapsedTimer waited;
    waited.start();
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || waited.hasExpired(MaxLockWaitMs))
            return false;
        QThread::msleep(LockPollMs);
    }
    return true;
}

// What identifies one version of the file on disk. An edit from outside changes the inode (an
// editor that saves by renaming), the size or the times (an edit in place).
struct FileStamp
{
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSec = 0;
    qint64 modifiedNsec = 0;
    qint64 changedSec = 0;
    qint64 changedNsec = 0;

    auto tied() const
    {
        return std::tie(exists, device, inode, size, modifiedSec, modifiedNsec, changedSec,
                        changedNsec);
    }
    bool operator==(const FileStamp& other) const { return tied() == other.tied(); }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

FileStamp stampOf(const QString& path)
{
    FileStamp stamp;
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.size = qint64(st.st_size);
#ifdef Q_OS_DARWIN
    stamp.modifiedSec = qint64(st.st_mtimespec.tv_sec);
    stamp.modifiedNsec = qint64(st.st_mtimespec.tv_nsec);
    stamp.changedSec = qint64(st.st_ctimespec.tv_sec);
    stamp.changedNsec = qint64(st.st_ctimespec.tv_nsec);
#else
    stamp.modifiedSec = qint64(st.st_mtim.tv_sec);
    stamp.modifiedNsec = qint64(st.st_mtim.tv_nsec);
    stamp.changedSec = qint64(st.st_ctim.tv_sec);
    stamp.changedNsec = qint64(st.st_ctim.tv_nsec);
#endif
#elif defined(Q_OS_WIN)
    // The volume and the file's index tell a file put in its place, as a device and an inode do
    // elsewhere; times come in units of 100 ns.
    const HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), 0,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return stamp;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!known)
        return stamp;
    const auto join = [](DWORD high, DWORD low) { return (quint64(high) << 32) | low; };
    const auto split = [](const FILETIME& time, qint64& sec, qint64& nsec) {
        const qint64 units = qint64((quint64(time.dwHighDateTime) << 32) | time.dwLowDateTime);
        sec = units / 10000000;
        nsec = (units % 10000000) * 100;
    };
    stamp.exists = true;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = join(info.nFileIndexHigh, info.nFileIndexLow);
    stamp.size = qint64(join(info.nFileSizeHigh, info.nFileSizeLow));
    split(info.ftLastWriteTime, stamp.modifiedSec, stamp.modifiedNsec);
    split(info.ftCreationTime, stamp.changedSec, stamp.changedNsec);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    const qint64 changed = info.metadataChangeTime().toMSecsSinceEpoch();
    stamp.modifiedSec = modified / 1000;
    stamp.modifiedNsec = (modified % 1000) * 1000000;
    stamp.changedSec = changed / 1000;
    stamp.changedNsec = (changed % 1000) * 1000000;
#endif
    return stamp;
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// The name as the file holds it, or nothing when writing it would break the file's lines.
std::optional<QString> sectionName(const QString& name)
{
    const QString trimmed = IniDocument::trimBlanks(name);
    if (trimmed.isEmpty() || trimmed.contains(QLatin1Char(']')) || hasLineBreak(trimmed) ||
        !Cp1252::canEncode(trimmed))
        return std::nullopt;
    return trimmed;
}

std::optional<QString> keyName(const QString& name)
{
    const QString trimmed = IniDocument::trimBlanks(name);
    if (trimmed.isEmpty() || trimmed.contains(QLatin1Char('=')) ||
        trimmed.startsWith(QLatin1Char('[')) || trimmed.startsWith(QLatin1Char(';')) ||
        hasLineBreak(trimmed) || !Cp1252::canEncode(trimmed))
        return std::nullopt;
    return trimmed;
}

// A line break inside a value would add lines to the file (another key, another section).
QString storableValue(const QString& value)
{
    QString out = value;
    out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

QString registryKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = info.absoluteDir().canonicalPath();
    if (!folder.isEmpty())
        return folder + QLatin1Char('/') + info.fileName();
    return QDir::cleanPath(info.absoluteFilePath());
}

} // namespace

SettingsWriteError::SettingsWriteError(const QString& path)
    : std::runtime_error((QStringLiteral("Unable to write to ") + path).toStdString()), m_path(path)
{
}

// One write or delete: a key with its new value, or without one when the key goes.
struct TIniFile::Change
{
    QString section;
    QString key;
    std::optional<QString> value;
};

struct TIniFile::Shared
{
    explicit Shared(QString path) : filePath(std::move(path)) {}

    QString filePath;
    bool loaded = false;
    // False when the file exists but could not be taken in whole: rewriting it would lose data.
    bool intact = true;
    FileStamp stamp;
    QByteArray data;
    IniDocument::Contents contents;

    QString lockPath() const { return filePath + QStringLiteral(".lock"); }
    void refresh();
    void load(const FileStamp& now);
    const IniDocument::Section* section(const QString& lowerSection);
    void edit(const QList<Change>& changes, const QString& shownPath);
    void save(const QByteArray& newData, IniDocument::Contents newContents,
              const QString& shownPath);
};

void TIniFile::Shared::refresh()
{
    const FileStamp now = stampOf(filePath);
    if (loaded && now == stamp)
        return;
#ifdef Q_OS_WIN
    // Windows cannot rename a file over one that another process holds open: a reader waits for
    // a writer's lock, and reads all the same when it never comes.
    QLockFile lock(lockPath());
    takeLock(lock);
#endif
    load(now);
}

void TIniFile::Shared::load(const FileStamp& now)
{
    loaded = true;
    intact = true;
    stamp = now;
    data.clear();
    contents.clear();
    if (!now.exists)
        return;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        intact = false;
        return;
    }
    // Read one byte past the limit to know the file is longer, but no more than the file holds:
    // read() sets aside the whole length it is asked for.
    const qint64 expected = std::min(file.size(), MaxFileSize);
    QByteArray bytes = file.read(expected + 1);
    if (bytes.size() > expected && bytes.size() <= MaxFileSize)
        bytes += file.read(MaxFileSize + 1 - bytes.size()); // it grew since size() was read
    if (file.error() != QFileDevice::NoError) {
        intact = false;
        return;
    }
    if (bytes.size() > MaxFileSize) {
        intact = false;
        bytes.truncate(MaxFileSize);
    }
    data = std::move(bytes);
    contents = IniDocument(data).contents();
}

const IniDocument::Section* TIniFile::Shared::section(const QString& lowerSection)
{
    refresh();
    const auto found = contents.constFind(lowerSection);
    return found == contents.constEnd() ? nullptr : &*found;
}

namespace {

// A settings file the program creates is its owner's alone, since it holds the password; one
// that exists keeps the mode it has, as the owner may have chosen it.
bool writeWhole(const QString& path, const QByteArray& bytes)
{
    AtomicFile file(path, AtomicFile::InPlace::Never, AtomicFile::NewFile::OwnerOnly);
    return file.open() && file.device().write(bytes) == bytes.size() && file.commit();
}

template <typename Changes>
void apply(IniDocument& document, const Changes& changes)
{
    for (const auto& change : changes) {
        if (change.value)
            document.setValue(change.section, change.key, *change.value);
        else
            document.removeKey(change.section, change.key);
    }
}

} // namespace

// Another copy of the program may write the same file: each read-modify-write runs under a lock
// file beside it and starts from the file as it is once the lock is held, so neither copy writes
// back a stale version over the other's change. A lock left by a process that died is taken
// over; a folder that cannot hold the lock file is a refused write.
void TIniFile::Shared::edit(const QList<Change>& changes, const QString& shownPath)
{
    if (changes.isEmpty())
        return;
    refresh();
    // Nothing to do needs no lock, so a read-only folder does not refuse it.
    std::optional<IniDocument> draft;
    std::optional<QByteArray> bytes;
    if (intact) {
        draft.emplace(data);
        apply(*draft, changes);
        bytes = draft->changedBytes();
        if (!bytes)
            return;
    }
    QLockFile lock(lockPath());
    if (!takeLock(lock))
        throw SettingsWriteError(shownPath);
    const FileStamp now = stampOf(filePath);
    if (!draft || now != stamp) {
        load(now);
        draft.emplace(data);
        apply(*draft, changes);
        bytes = draft->changedBytes();
    }
    // Holding the lock, no other process is saving this file: every temporary file of it is
    // what a process left behind when it ended in the middle of a save.
    AtomicFile::removeLeftovers(filePath);
    if (!intact)
        throw SettingsWriteError(shownPath);
    if (bytes)
        save(*bytes, draft->contents(), shownPath);
}

void TIniFile::Shared::save(const QByteArray& newData, IniDocument::Contents newContents,
                            const QString& shownPath)
{
    // A file grown past the limit could not be read back.
    if (newData.size() > MaxFileSize || !writeWhole(filePath, newData))
        throw SettingsWriteError(shownPath);
    data = newData;
    contents = std::move(newContents);
    stamp = stampOf(filePath);
    loaded = true;
    intact = true;
}

// The open batch's changes in order, and what a read through its object finds for each key.
struct TIniFile::Pending
{
    int depth = 0;
    QList<Change> changes;
    // lower-case section -> lower-case key -> value as read back, or nothing when deleted
    QHash<QString, QHash<QString, std::optional<QString>>> reads;

    void add(Change change);
    void truncate(qsizetype size);
    // Nothing when the batch leaves the key alone.
    std::optional<std::optional<QString>> read(const QString& lowerSection,
                                               const QString& lowerKey) const;
};

void TIniFile::Pending::add(Change change)
{
    std::optional<QString> read;
    if (change.value)
        read = IniDocument::readValue(Cp1252::decode(Cp1252::encode(*change.value)));
    reads[AsciiCase::toLower(change.section)][AsciiCase::toLower(change.key)] = std::move(read);
    changes.append(std::move(change));
}

void TIniFile::Pending::truncate(qsizetype size)
{
    if (size >= changes.size())
        return;
    QList<Change> kept = changes.first(size);
    changes.clear();
    reads.clear();
    for (Change& change : kept)
        add(std::move(change));
}

std::optional<std::optional<QString>> TIniFile::Pending::read(const QString& lowerSection,
                                                              const QString& lowerKey) const
{
    const auto section = reads.constFind(lowerSection);
    if (section == reads.constEnd())
        return std::nullopt;
    const auto key = section->constFind(lowerKey);
    if (key == section->constEnd())
        return std::nullopt;
    return *key;
}

TIniFile::TIniFile(const QString& path) : m_path(path)
{
    static QMutex mutex;
    static QHash<QString, std::weak_ptr<Shared>> registry;
    const QString key = registryKey(path);
    const QMutexLocker lock(&mutex);
    registry.removeIf([](const auto& entry) { return entry.value().expired(); });
    std::weak_ptr<Shared>& slot = registry[key];
    m_shared = slot.lock();
    if (!m_shared) {
        m_shared = std::make_shared<Shared>(key);
        slot = m_shared;
    }
}

TIniFile::~TIniFile()
{
    Q_ASSERT_X(!m_pending, "TIniFile", "a batch outlives its settings file object");
}

QString TIniFile::path() const
{
    return m_path;
}

std::optional<QString> TIniFile::lookup(const QString& section, const QString& key) const
{
    const std::optional<QString> s = sectionName(section);
    const std::optional<QString> k = keyName(key);
    if (!s || !k)
        return std::nullopt;
    const QString lowerSection = AsciiCase::toLower(*s);
    const QString lowerKey = AsciiCase::toLower(*k);
    if (m_pending) {
        if (std::optional<std::optional<QString>> pending = m_pending->read(lowerSection, lowerKey))
            return *pending;
    }
    const IniDocument::Section* found = m_shared->section(lowerSection);
    if (!found)
        return std::nullopt;
    const auto v = found->values.constFind(lowerKey);
    if (v == found->values.constEnd())
        return std::nullopt;
    return *v;
}

void TIniFile::change(Change change)
{
    if (m_pending)
        m_pending->add(std::move(change));
    else
        m_shared->edit({std::move(change)}, m_path);
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    return lookup(section, key).value_or(def);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const std::optional<QString> v = lookup(section, key);
    if (!v)
        return def;
    return parseInteger(*v).value_or(def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    const std::optional<QString> v = lookup(section, key);
    if (!v)
        return def;
    const std::optional<int> number = parseInteger(*v);
    return number ? *number != 0 : def;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const std::optional<QString> s = sectionName(section);
    const std::optional<QString> k = keyName(key);
    if (!s || !k)
        throw SettingsWriteError(m_path);
    change(Change{*s, *k, storableValue(value)});
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return lookup(section, key).has_value();
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    const std::optional<QString> s = sectionName(section);
    if (!s)
        return {};
    const QString lowerSection = AsciiCase::toLower(*s);
    const IniDocument::Section* found = m_shared->section(lowerSection);
    const QStringList stored = found ? found->names : QStringList();
    if (!m_pending)
        return stored;
    QStringList names;
    QSet<QString> seen;
    auto take = [&](const QString& name) {
        const QString lower = AsciiCase::toLower(name);
        if (seen.contains(lower))
            return;
        const std::optional<std::optional<QString>> pending = m_pending->read(lowerSection, lower);
        if (pending ? pending->has_value() : found && found->values.contains(lower)) {
            seen.insert(lower);
            names.append(name);
        }
    };
    for (const QString& name : stored)
        take(name);
    for (const Change& change : std::as_const(m_pending->changes)) {
        if (AsciiCase::toLower(change.section) == lowerSection)
            take(change.key);
    }
    return names;
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    const std::optional<QString> s = sectionName(section);
    const std::optional<QString> k = keyName(key);
    if (!s || !k)
        return;
    change(Change{*s, *k, std::nullopt});
}

TIniFile::Batch::Batch(TIniFile& ini) : m_ini(ini), m_exceptions(std::uncaught_exceptions())
{
    if (!m_ini.m_pending)
        m_ini.m_pending = std::make_unique<Pending>();
    m_level = ++m_ini.m_pending->depth;
    m_mark = m_ini.m_pending->changes.size();
}

TIniFile::Batch::~Batch()
{
    if (m_ended)
        return;
    if (std::uncaught_exceptions() > m_exceptions) {
        drop();
        return;
    }
    try {
        commit();
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
    }
}

void TIniFile::Batch::commit()
{
    if (m_ended)
        return;
    m_ended = true;
    Q_ASSERT_X(m_ini.m_pending && m_ini.m_pending->depth == m_level, "TIniFile::Batch",
               "batches must end innermost first");
    if (--m_ini.m_pending->depth > 0)
        return;
    // The batch is over whatever the write gives: a failed one stores nothing of it.
    const QList<Change> changes = std::move(m_ini.m_pending->changes);
    m_ini.m_pending.reset();
    m_ini.m_shared->edit(changes, m_ini.m_path);
}

void TIniFile::Batch::drop()
{
    m_ended = true;
    Q_ASSERT_X(m_ini.m_pending && m_ini.m_pending->depth == m_level, "TIniFile::Batch",
               "batches must end innermost first");
    m_ini.m_pending->truncate(m_mark);
    if (--m_ini.m_pending->depth == 0)
        m_ini.m_pending.reset();
}

std::optional<int> TIniFile::parseInteger(const QString& value)
{
    const qsizetype size = value.size();
    qsizetype i = 0;
    bool hasSign = false;
    bool negative = false;
    if (i < size && (value[i] == QLatin1Char('+') || value[i] == QLatin1Char('-'))) {
        hasSign = true;
        negative = value[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i + 1 < size && value[i] == QLatin1Char('0') &&
        (value[i + 1] == QLatin1Char('x') || value[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    } else if (i < size && (value[i] == QLatin1Char('$') || value[i] == QLatin1Char('x') ||
                            value[i] == QLatin1Char('X'))) {
        base = 16;
        ++i;
    }
    if (i == size)
        return std::nullopt;
    quint64 magnitude = 0;
    for (; i < size; ++i) {
        const char16_t c = value[i].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * quint64(base) + quint64(digit);
        if (magnitude > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 16 && !hasSign)
        return int(quint32(magnitude));
    if (negative)
        return magnitude > 0x80000000ull ? std::nullopt
                                         : std::optional<int>(int(-qint64(magnitude)));
    return magnitude > 0x7FFFFFFFull ? std::nullopt : std::optional<int>(int(magnitude));
}
