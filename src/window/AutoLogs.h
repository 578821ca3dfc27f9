#pragma once

#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <QString>

#include <array>
#include <memory>

#include "chat/DailyLogWriter.h"

class ChatView;
class WindowContext;

// The automatic logs (Geral/LogsAuto): every line of the channel and whisper panes also goes, as
// it arrives, to a daily file in the "logs" folder beside confs.ini, and at start each pane shows
// the last lines of its files, dimmed, at its head. Owns the log writer. Touches the two panes
// (reads what they hold and puts the history at their head) and writes one error line in the
// channel pane when the files cannot be written, which pauses the logs until the options are
// confirmed again.
class AutoLogs final : public QObject
{
    Q_OBJECT
public:
    static constexpr int HistoryLines = 200;

    AutoLogs(WindowContext& ctx, QObject* parent);
    // Writes what the panes hold and the writer has queued.
    ~AutoLogs() override;

    // When the window is shown: starts the logs, reading the history back, if they are on.
    void startUp();
    // After the options dialog: starts or stops the logs, and starts them again after an error.
    void applyOptions();

    bool isWriting() const { return m_writer != nullptr; }
    // The history has yet to reach a pane.
    bool historyPending() const { return m_historyPending > 0; }
    // The folder of the files, with its trailing slash.
    QString folder() const;

private:
    struct PaneLog
    {
        ChatView* pane = nullptr;
        // The paragraphs of the pane that went to the file, as ChatDocument::appendedCount.
        quint64 logged = 0;
    };

    void start(bool withHistory);
    void stop();
    void scheduleLogging();
    // Queues every complete paragraph not logged yet; called once the writers of an event-loop
    // batch have returned, and before paragraphs leave a pane.
    void logNew();
    void showHistory(int stream, const LogHistory& history);
    void writeFailed(const QString& fileName, const QString& reason);

    WindowContext& m_ctx;
    std::unique_ptr<DailyLogWriter> m_writer;
    std::array<PaneLog, 2> m_panes;
    QList<QMetaObject::Connection> m_connections;
    bool m_scheduled = false;
    // Panes whose history has not come yet.
    int m_historyPending = 0;
    // The files could not be written; logging waits for the options to be confirmed.
    bool m_paused = false;
    // A paragraph's bytes, reused from line to line.
    QByteArray m_line;
};
