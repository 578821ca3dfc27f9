#include "window/AutoLogs.h"

#include <algorithm>

#include <QDate>
#include <QDir>

#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/WindowContext.h"

namespace {

// The files' prefixes, in the order of the panes.
const QStringList Streams{QStringLiteral("chat"), QStringLiteral("whisps")};

} // namespace

AutoLogs::AutoLogs(WindowContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("AutoLogs"));
    m_panes[0].pane = m_ctx.chatPane();
    m_panes[1].pane = m_ctx.whisperPane();
}

AutoLogs::~AutoLogs()
{
    stop();
}

QString AutoLogs::folder() const
{
    return m_ctx.settingsFolder() + QStringLiteral("logs/");
}

void AutoLogs::startUp()
{
    if (Settings::read(*m_ctx.settings(), Keys::Geral::LogsAuto))
        start(true);
}

void AutoLogs::applyOptions()
{
    const bool on = Settings::read(*m_ctx.settings(), Keys::Geral::LogsAuto);
    if (!on) {
        m_paused = false;
        stop();
    } else if (!m_writer) {
        m_paused = false;
        start(false);
    }
}

// At start every line the panes hold is this session's, and goes to the files; switched on
// later, the logs start with the next line.
void AutoLogs::start(bool withHistory)
{
    for (PaneLog& log : m_panes) {
        log.logged = withHistory ? 0 : log.pane->document().appendedCount();
        m_connections << connect(log.pane, &ChatView::paragraphStarted, this,
                                 [this] { scheduleLogging(); });
        m_connections << connect(log.pane, &ChatView::paragraphsLeaving, this,
                                 m_ctx.guard([this] { logNew(); }));
    }
    if (withHistory)
        m_historyPending = int(m_panes.size());
    m_writer = std::make_unique<DailyLogWriter>(QDir::cleanPath(folder()), Streams,
                                                withHistory ? HistoryLines : 0);
    connect(m_writer.get(), &DailyLogWriter::historyRead, this,
            [this](int stream, const LogHistory& history) {
                m_ctx.guarded([&] { showHistory(stream, history); });
            });
    connect(m_writer.get(), &DailyLogWriter::failed, this,
            [this](const QString& fileName, const QString& reason) {
                m_ctx.guarded([&] { writeFailed(fileName, reason); });
            });
    scheduleLogging();
}

// What the panes hold up to now still goes to the files.
void AutoLogs::stop()
{
    if (!m_writer)
        return;
    logNew();
    for (const QMetaObject::Connection& connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_writer.reset();
}

// One call for all the lines of an event-loop batch: a flood costs a check per line.
void AutoLogs::scheduleLogging()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_scheduled = false;
            m_ctx.guarded([this] { logNew(); });
        },
        Qt::QueuedConnection);
}

// A line is dated when it is logged, within a batch of its arrival.
void AutoLogs::logNew()
{
    if (!m_writer)
        return;
    const QDate today = QDate::currentDate();
    for (int stream = 0; stream < int(m_panes.size()); ++stream) {
        PaneLog& log = m_panes[std::size_t(stream)];
        const ChatDocument& document = log.pane->document();
        const quint64 appended = document.appendedCount();
        const int count = document.paragraphCount();
        // Paragraph k of those ever appended is paragraph count - (appended - k) of the pane,
        // while that follows the history.
        const quint64 kept = quint64(count - document.historyCount());
        for (quint64 k = std::max(log.logged, appended - std::min(appended, kept)); k < appended;
             ++k) {
            const int p = count - int(appended - k);
            m_line.resize(0);
            document.appendParagraphUtf8(p, 0, document.paragraphLength(p), m_line);
            m_writer->append(stream, today, m_line);
        }
        log.logged = appended;
    }
}

void AutoLogs::showHistory(int stream, const LogHistory& history)
{
    m_historyPending = std::max(0, m_historyPending - 1);
    if (history.isEmpty() || stream < 0 || stream >= int(m_panes.size()))
        return;
    QStringList lines;
    for (const LogHistoryDay& day : history) {
        lines << QStringLiteral("— histórico de %1 —")
                     .arg(day.date.toString(QStringLiteral("dd/MM/yyyy")));
        lines << day.lines;
    }
    ChatView* pane = m_panes[std::size_t(stream)].pane;
    pane->insertHistory(lines, stream == 0 ? StyleTable::Usuario : StyleTable::WmFROM);
    m_ctx.scrollPane(pane);
}

// The chat goes on without the files; the user hears of it once.
void AutoLogs::writeFailed(const QString& fileName, const QString& reason)
{
    if (!m_writer || m_paused)
        return;
    m_paused = true;
    for (const QMetaObject::Connection& connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_writer.release()->deleteLater();
    m_ctx.erro(QStringLiteral("Não foi possível gravar o log %1 (%2). A gravação automática de "
                              "logs foi pausada.")
                   .arg(fileName, reason));
}
