#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// The lines of one day's file read back, oldest first.
struct LogHistoryDay
{
    QDate date;
    QStringList lines;
};
using LogHistory = QList<LogHistoryDay>;

// Appends lines to daily text files in one folder, a file per stream and day
// ("chat-2026-12-11.txt"), on a thread of its own, so whoever appends never waits for the disk.
// Lines wait in a queue of bounded size and are written a moment (at most 0.2 s) after they came,
// many at once; a line that does not fit in the queue is left out, and the file says at that point
// how many were. The first file that cannot be written (a full disk, a folder that cannot be made)
// stops the writing for good and is reported once. The folder is made readable by its owner only,
// and so is every file made in it.
class DailyLogWriter final : public QObject
{
    Q_OBJECT
public:
    // About a minute of the worst flood a server sends.
    static constexpr qsizetype DefaultCapacity = qsizetype(16) << 20;

    // streams: the files' name prefixes, numbered from 0 for append. historyLines: before
    // writing anything the thread reads back up to so many of the last lines of each stream
    // (0: none) and reports them by historyRead. capacity: bytes the queue holds at most.
    DailyLogWriter(const QString& folder, const QStringList& streams, int historyLines,
                   qsizetype capacity = DefaultCapacity, QObject* parent = nullptr);
    // Writes what is queued and ends the thread.
    ~DailyLogWriter() override;

    // Queues one line, given without its line end, for the file of the stream and date. False
    // when it was left out: the queue is full, or writing has stopped.
    bool append(int stream, const QDate& date, const char* data, qsizetype size);
    bool append(int stream, const QDate& date, const QByteArray& line)
    {
        return append(stream, date, line.constData(), line.size());
    }

    // "chat-2026-12-11.txt".
    static QString fileName(const QString& prefix, const QDate& date);
    // The line that stands in a file for `count` lines left out of it.
    static QByteArray lostLines(qint64 count);
    // Up to `lines` of the last lines of the prefix's latest files in the folder, by the date in
    // their names, going back a file while the later ones hold too few; a day's lines oldest
    // first, and the days so too.
    static LogHistory readHistory(const QString& folder, const QString& prefix, int lines);

Q_SIGNALS:
    // From the writer's thread, before it writes anything.
    void historyRead(int stream, const LogHistory& history);
    // From the writer's thread, once: writing stopped at this file for this reason.
    void failed(const QString& fileName, const QString& reason);

private:
    struct Chunk
    {
        int stream;
        QDate date;
        QByteArray bytes;
    };
    struct Lost
    {
        qint64 count = 0;
        QDate date;
    };
    QByteArray& chunkFor(int stream, const QDate& date);
    void run();

    const QString m_folder;
    const QStringList m_streams;
    const int m_historyLines;
    const qsizetype m_capacity;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    // Guarded by m_mutex.
    std::vector<Chunk> m_chunks;
    // For each stream, its chunk of m_chunks that takes lines now, or -1.
    std::vector<int> m_current;
    std::vector<Lost> m_lost;
    qsizetype m_queued = 0;
    // A written chunk's bytes, emptied, for the next chunk to fill without growing again.
    QByteArray m_spare;
    bool m_stopping = false;
    bool m_failed = false;

    std::thread m_thread;
};
