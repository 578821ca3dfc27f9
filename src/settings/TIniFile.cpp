#include "TIniFile.h"

#include <functional>
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
#include <QThread>

#include "core/AsciiCase.h"
#include "core/AtomicFile.h"
#include "core/Cp1252.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

constexpr qsizetype MaxValueLength = 2047;
// Far above any real list of replies or accounts. Of a bigger file only this much is read, and it
// is never rewritten, so memory stays bounded and nothing beyond the limit is lost.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
// How long a write waits for another process's write to the same file, on the GUI thread.
constexpr int MaxLockWaitMs = 2000;
constexpr unsigned long LockPollMs = 2;
const QByteArray CrLf = QByteArrayLiteral("\r\n");
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

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

// Where one line lies in the file's bytes; its line end is "\r\n", "\n", "\r", or nothing for a
// last line without one. Small, since a hand-made file may hold a great many short lines.
struct Line
{
    int start = 0;
    int length = 0;
    int eolLength = 0;

    int end() const { return start + length + eolLength; }
};

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

// Splits at CR LF, LF or a lone CR, keeping each line's own line end.
QList<Line> splitLines(const QByteArray& data)
{
    QList<Line> lines;
    int start = 0;
    const int size = int(data.size());
    for (int i = 0; i < size; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        const int eolLength = (c == '\r' && i + 1 < size && data[i + 1] == '\n') ? 2 : 1;
        lines.append(Line{start, i - start, eolLength});
        i += eolLength - 1;
        start = i + 1;
    }
    if (start < size)
        lines.append(Line{start, size - start, 0});
    return lines;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// The name as the file holds it, or nothing when writing it would break the file's lines.
std::optional<QString> sectionName(const QString& name)
{
    const QString trimmed = trimBlanks(name);
    if (trimmed.isEmpty() || trimmed.contains(QLatin1Char(']')) || hasLineBreak(trimmed) ||
        !Cp1252::canEncode(trimmed))
        return std::nullopt;
    return trimmed;
}

std::optional<QString> keyName(const QString& name)
{
    const QString trimmed = trimBlanks(name);
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

QString readValue(const QString& raw)
{
    QString value = trimBlanks(raw);
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            value = value.mid(1, value.size() - 2);
    }
    if (value.size() > MaxValueLength)
        value.truncate(MaxValueLength);
    return value;
}

enum class LineKind
{
    Other,
    Section,
    Key
};

struct LineInfo
{
    LineKind kind = LineKind::Other;
    QString name;     // lower-case: the form names are compared in
    QString rawValue; // text after the first "="
};

// Blank lines, comments (";"), lines without "=" and lines with an empty key are Other.
LineInfo classify(QByteArrayView bytes)
{
    const QString text = Cp1252::decode(bytes.data(), bytes.size());
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i == text.size() || text[i] == QLatin1Char(';'))
        return {};
    if (text[i] == QLatin1Char('[')) {
        const qsizetype close = text.indexOf(QLatin1Char(']'), i + 1);
        const QString name = text.mid(i + 1, close < 0 ? -1 : close - i - 1);
        return {LineKind::Section, AsciiCase::toLower(trimBlanks(name)), QString()};
    }
    const qsizetype eq = text.indexOf(QLatin1Char('='), i);
    if (eq < 0)
        return {};
    const QString name = trimBlanks(text.mid(i, eq - i));
    if (name.isEmpty())
        return {};
    return {LineKind::Key, AsciiCase::toLower(name), text.mid(eq + 1)};
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

// New lines after the line at `at`; a last line without a line end gets one first.
QByteArray insertAfter(const QByteArray& data, const QList<Line>& lines, qsizetype at,
                       const QByteArray& newLines)
{
    const bool unterminated = at >= 0 && lines[at].eolLength == 0;
    const int position = at >= 0 ? lines[at].end() : 0;
    return data.left(position) + (unterminated ? CrLf : QByteArray()) + newLines +
           data.mid(position);
}

} // namespace

SettingsWriteError::SettingsWriteError(const QString& path)
    : std::runtime_error((QStringLiteral("Unable to write to ") + path).toStdString()), m_path(path)
{
}

struct TIniFile::Shared
{
    explicit Shared(QString path) : filePath(std::move(path)) {}

    QString filePath;
    bool loaded = false;
    // False when the file exists but could not be taken in whole: rewriting it would lose data.
    bool intact = true;
    FileStamp stamp;
    QByteArray data;
    QList<Line> lines;
    // lower-case section -> lower-case key -> value as read; the first key line wins
    QHash<QString, QHash<QString, QString>> values;

    // The new contents of the file, or nothing when the change leaves it as it is.
    using Change = std::function<std::optional<QByteArray>()>;

    QString lockPath() const { return filePath + QStringLiteral(".lock"); }
    void refresh();
    void load(const FileStamp& now);
    void index();
    LineInfo info(qsizetype i) const;
    std::optional<QString> find(const QString& section, const QString& key);
    std::optional<QByteArray> withValue(const QString& section, const QString& key,
                                        const QString& value) const;
    std::optional<QByteArray> withoutKey(const QString& section, const QString& key) const;
    void edit(const Change& change, const QString& shownPath);
    void save(const QByteArray& newData, const QString& shownPath);
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
    lines.clear();
    values.clear();
    if (!now.exists)
        return;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        intact = false;
        return;
    }
    QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        intact = false;
        return;
    }
    if (bytes.size() > MaxFileSize) {
        intact = false;
        bytes.truncate(MaxFileSize);
    }
    data = std::move(bytes);
    lines = splitLines(data);
    index();
}

LineInfo TIniFile::Shared::info(qsizetype i) const
{
    // A hand-edited file saved with a UTF-8 mark must still show its first section.
    QByteArrayView text = QByteArrayView(data).sliced(lines[i].start, lines[i].length);
    if (i == 0 && text.startsWith(Utf8Bom))
        text = text.sliced(Utf8Bom.size());
    return classify(text);
}

void TIniFile::Shared::index()
{
    values.clear();
    QHash<QString, QString>* current = nullptr; // keys before any section belong to none
    for (qsizetype i = 0; i < lines.size(); ++i) {
        LineInfo line = info(i);
        if (line.kind == LineKind::Section) {
            current = line.name.isEmpty() ? nullptr : &values[line.name];
        } else if (line.kind == LineKind::Key && current && !current->contains(line.name)) {
            current->insert(line.name, readValue(line.rawValue));
        }
    }
}

std::optional<QString> TIniFile::Shared::find(const QString& section, const QString& key)
{
    const std::optional<QString> s = sectionName(section);
    const std::optional<QString> k = keyName(key);
    if (!s || !k)
        return std::nullopt;
    refresh();
    const auto sec = values.constFind(AsciiCase::toLower(*s));
    if (sec == values.constEnd())
        return std::nullopt;
    const auto val = sec->constFind(AsciiCase::toLower(*k));
    if (val == sec->constEnd())
        return std::nullopt;
    return *val;
}

std::optional<QByteArray> TIniFile::Shared::withValue(const QString& section, const QString& key,
                                                      const QString& value) const
{
    const QString wantedSection = AsciiCase::toLower(section);
    const QString wantedKey = AsciiCase::toLower(key);
    qsizetype keyLine = -1;
    qsizetype firstHeader = -1;
    qsizetype lastKeyOfFirst = -1;
    bool inTarget = false;
    bool inFirstTarget = false;
    for (qsizetype i = 0; i < lines.size() && keyLine < 0; ++i) {
        const LineInfo line = info(i);
        if (line.kind == LineKind::Section) {
            inTarget = line.name == wantedSection;
            inFirstTarget = inTarget && firstHeader < 0;
            if (inFirstTarget)
                firstHeader = i;
        } else if (line.kind == LineKind::Key && inTarget) {
            if (line.name == wantedKey)
                keyLine = i;
            else if (inFirstTarget)
                lastKeyOfFirst = i;
        }
    }

    const QByteArray text = Cp1252::encode(key + QLatin1Char('=') + value);
    if (keyLine >= 0) {
        const Line& line = lines[keyLine];
        if (QByteArrayView(data).sliced(line.start, line.length) == text)
            return std::nullopt;
        // The line keeps its own line end.
        return data.left(line.start) + text + data.mid(line.start + line.length);
    }
    if (firstHeader >= 0) {
        // After the section's last key, so blank lines and comments that end it stay below.
        return insertAfter(data, lines, lastKeyOfFirst >= 0 ? lastKeyOfFirst : firstHeader,
                           text + CrLf);
    }
    const QByteArray header = Cp1252::encode(QLatin1Char('[') + section + QLatin1Char(']'));
    return insertAfter(data, lines, lines.size() - 1, header + CrLf + text + CrLf);
}

std::optional<QByteArray> TIniFile::Shared::withoutKey(const QString& section,
                                                       const QString& key) const
{
    const QString wantedSection = AsciiCase::toLower(section);
    const QString wantedKey = AsciiCase::toLower(key);
    QByteArray out;
    out.reserve(data.size());
    bool inTarget = false;
    bool removed = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const LineInfo line = info(i);
        if (line.kind == LineKind::Section)
            inTarget = line.name == wantedSection;
        // Every copy goes, so that a hand-made duplicate does not show up once the key is gone.
        if (line.kind == LineKind::Key && inTarget && line.name == wantedKey) {
            removed = true;
            continue;
        }
        out.append(QByteArrayView(data).sliced(lines[i].start, lines[i].end() - lines[i].start));
    }
    if (!removed)
        return std::nullopt;
    return out;
}

// Another copy of the program may write the same file: each read-modify-write runs under a lock
// file beside it and starts from the file as it is once the lock is held, so neither copy writes
// back a stale version over the other's change. A lock left by a process that died is taken
// over; a folder that cannot hold the lock file is a refused write.
void TIniFile::Shared::edit(const Change& change, const QString& shownPath)
{
    refresh();
    // Nothing to do needs no lock, so a read-only folder does not refuse it.
    if (intact && !change())
        return;
    QLockFile lock(lockPath());
    if (!takeLock(lock))
        throw SettingsWriteError(shownPath);
    load(stampOf(filePath));
    // Holding the lock, no other process is saving this file: every temporary file of it is
    // what a process left behind when it ended in the middle of a save.
    AtomicFile::removeLeftovers(filePath);
    if (!intact)
        throw SettingsWriteError(shownPath);
    if (const std::optional<QByteArray> bytes = change())
        save(*bytes, shownPath);
}

void TIniFile::Shared::save(const QByteArray& newData, const QString& shownPath)
{
    // A file grown past the limit could not be read back.
    if (newData.size() > MaxFileSize || !AtomicFile::save(filePath, newData))
        throw SettingsWriteError(shownPath);
    data = newData;
    lines = splitLines(data);
    index();
    stamp = stampOf(filePath);
    loaded = true;
    intact = true;
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

TIniFile::~TIniFile() = default;

QString TIniFile::path() const
{
    return m_path;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    return m_shared->find(section, key).value_or(def);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const std::optional<QString> value = m_shared->find(section, key);
    if (!value)
        return def;
    return parseInteger(*value).value_or(def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    const std::optional<QString> value = m_shared->find(section, key);
    if (!value)
        return def;
    const std::optional<int> number = parseInteger(*value);
    return number ? *number != 0 : def;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const std::optional<QString> s = sectionName(section);
    const std::optional<QString> k = keyName(key);
    if (!s || !k)
        throw SettingsWriteError(m_path);
    const QString stored = storableValue(value);
    m_shared->edit([&] { return m_shared->withValue(*s, *k, stored); }, m_path);
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
    return m_shared->find(section, key).has_value();
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    const std::optional<QString> s = sectionName(section);
    const std::optional<QString> k = keyName(key);
    if (!s || !k)
        return;
    m_shared->edit([&] { return m_shared->withoutKey(*s, *k); }, m_path);
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
