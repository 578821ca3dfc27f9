#include "chat/DailyLogWriter.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Lines end as in a saved text log.
const QByteArray LineEnd = QByteArrayLiteral("\r\n");
// The history comes from at most this much of the end of a file: far more than the lines asked
// for ever take, and a file grown huge by a flood is not read whole.
constexpr qint64 MaxTail = qint64(1) << 20;
// Lines queued are gathered this long, or until this much is queued, and written at once: one
// write and one wake-up for many lines of a flood, and still a crash loses a moment at most.
constexpr std::chrono::milliseconds GatherTime(200);
constexpr qsizetype GatherBytes = qsizetype(256) << 10;
// A flood fills chunks of about GatherBytes one after the other; the memory of one is kept for the
// next, up to this much.
constexpr qsizetype MaxSpareBytes = 4 * GatherBytes;

// Up to `count` of the last lines of the file, oldest first.
QStringList tailLines(const QString& path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 start = std::max(qint64(0), file.size() - MaxTail);
    if (!file.seek(start))
        return {};
    QByteArray bytes = file.read(MaxTail);
    // A line cut by the start of what was read is left out.
    if (start > 0)
        bytes.remove(0, bytes.indexOf('\n') + 1);
    QList<QByteArray> raw = bytes.split('\n');
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();
    QStringList lines;
    for (qsizetype i = std::max(qsizetype(0), raw.size() - count); i < raw.size(); ++i) {
        QByteArray& line = raw[i];
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(QString::fromUtf8(line));
    }
    return lines;
}

} // namespace

DailyLogWriter::DailyLogWriter(const QString& folder, const QStringList& streams, int historyLines,
                               qsizetype capacity, QObject* parent)
    : QObject(parent), m_folder(folder), m_streams(streams), m_historyLines(historyLines),
      m_capacity(capacity), m_current(std::size_t(streams.size()), -1),
      m_lost(std::size_t(streams.size()))
{
    m_thread = std::thread([this] { run(); });
}

DailyLogWriter::~DailyLogWriter()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Lines left out at the end are still told of.
        for (int stream = 0; stream < int(m_lost.size()); ++stream) {
            Lost& lost = m_lost[std::size_t(stream)];
            if (lost.count > 0 && !m_failed)
                chunkFor(stream, lost.date) += lostLines(lost.count) + LineEnd;
        }
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

QString DailyLogWriter::fileName(const QString& prefix, const QDate& date)
{
    return prefix + QLatin1Char('-') + date.toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(".txt");
}

QByteArray DailyLogWriter::lostLines(qint64 count)
{
    if (count == 1)
        return QByteArrayLiteral("[1 linha não gravada]");
    return "[" + QByteArray::number(count) + QByteArrayLiteral(" linhas não gravadas]");
}

LogHistory DailyLogWriter::readHistory(const QString& folder, const QString& prefix, int lines)
{
    const QDir dir(folder);
    // The date in the names sorts them by day.
    const QStringList names = dir.entryList({prefix + QStringLiteral("-*.txt")}, QDir::Files,
                                            QDir::Name | QDir::Reversed);
    const QString sample = fileName(prefix, QDate(2000, 1, 1));
    LogHistory history;
    int wanted = lines;
    for (const QString& name : names) {
        if (wanted <= 0)
            break;
        const QDate date =
            QDate::fromString(name.mid(prefix.size() + 1, 10), QStringLiteral("yyyy-MM-dd"));
        if (name.size() != sample.size() || !date.isValid())
            continue;
        const QStringList tail = tailLines(dir.filePath(name), wanted);
        if (tail.isEmpty())
            continue;
        wanted -= int(tail.size());
        history.prepend({date, tail});
    }
    return history;
}

QByteArray& DailyLogWriter::chunkFor(int stream, const QDate& date)
{
    int& at = m_current[std::size_t(stream)];
    if (at < 0 || m_chunks[std::size_t(at)].date != date) {
        m_chunks.push_back({stream, date, std::exchange(m_spare, QByteArray())});
        at = int(m_chunks.size()) - 1;
    }
    return m_chunks[std::size_t(at)].bytes;
}

bool DailyLogWriter::append(int stream, const QDate& date, const char* data, qsizetype size)
{
    if (stream < 0 || stream >= int(m_lost.size()))
        return false;
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_failed || m_stopping)
            return false;
        Lost& lost = m_lost[std::size_t(stream)];
        if (m_queued + size + LineEnd.size() > m_capacity) {
            ++lost.count;
            lost.date = date;
            return false;
        }
        wake = m_chunks.empty() ||
               (m_queued < GatherBytes && m_queued + size + LineEnd.size() >= GatherBytes);
        if (lost.count > 0) {
            chunkFor(stream, lost.date) += lostLines(lost.count) + LineEnd;
            lost = Lost();
        }
        QByteArray& out = chunkFor(stream, date);
        out.append(data, size);
        out += LineEnd;
        m_queued += size + LineEnd.size();
    }
    if (wake)
        m_wake.notify_one();
    return true;
}

// Writes the lines queued a moment after the first of them: a crash loses only what the thread
// had no time to write, well under a second's worth.
void DailyLogWriter::run()
{
    if (m_historyLines > 0) {
        for (int stream = 0; stream < m_streams.size(); ++stream)
            Q_EMIT historyRead(stream, readHistory(m_folder, m_streams[stream], m_historyLines));
    }
    std::vector<std::unique_ptr<QFile>> files(std::size_t(m_streams.size()));
    std::vector<Chunk> chunks;
    QString failedFile;
    QString reason;
    // The file of a stream for the date, open for appending; null when it cannot be.
    const auto fileFor = [&](const Chunk& chunk) -> QFile* {
        std::unique_ptr<QFile>& file = files[std::size_t(chunk.stream)];
        const QString name = fileName(m_streams[chunk.stream], chunk.date);
        if (file && QFileInfo(file->fileName()).fileName() == name)
            return file.get();
        file.reset();
        const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
        if (!QDir(m_folder).exists() && !QDir().mkdir(m_folder, owner | QFile::ExeOwner) &&
            !QDir(m_folder).exists()) {
            failedFile = m_folder;
            reason = QStringLiteral("a pasta não pôde ser criada");
            return nullptr;
        }
        auto opened = std::make_unique<QFile>(QDir(m_folder).filePath(name));
        if (!opened->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                          owner)) {
            failedFile = opened->fileName();
            reason = opened->errorString();
            return nullptr;
        }
        file = std::move(opened);
        return file.get();
    };

    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return !m_chunks.empty() || m_stopping; });
        m_wake.wait_for(lock, GatherTime, [this] { return m_stopping || m_queued >= GatherBytes; });
        if (m_chunks.empty())
            break;
        chunks.swap(m_chunks);
        std::fill(m_current.begin(), m_current.end(), -1);
        m_queued = 0;
        lock.unlock();
        for (const Chunk& chunk : chunks) {
            QFile* file = fileFor(chunk);
            if (!file)
                break;
            if (file->write(chunk.bytes) != chunk.bytes.size()) {
                failedFile = file->fileName();
                reason = file->errorString();
                break;
            }
        }
        QByteArray spare;
        for (Chunk& chunk : chunks) {
            if (chunk.bytes.capacity() > spare.capacity() &&
                chunk.bytes.capacity() <= MaxSpareBytes)
                spare.swap(chunk.bytes);
        }
        chunks.clear();
        // Cutting the size keeps the capacity.
        spare.resize(0);
        lock.lock();
        if (spare.capacity() > m_spare.capacity())
            m_spare.swap(spare);
        if (!failedFile.isEmpty()) {
            m_failed = true;
            m_chunks.clear();
            m_queued = 0;
            break;
        }
    }
    lock.unlock();
    files.clear();
    if (!failedFile.isEmpty())
        Q_EMIT failed(QDir::toNativeSeparators(failedFile), reason);
}
