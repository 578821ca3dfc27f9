// The main window offscreen, fed a burst of talk lines in one send by the loopback fake server.
// A 1 ms timer runs meanwhile; the longest gap between its ticks is the longest the event loop
// was blocked, that is the longest the window could not repaint or take a key. Printed: the longest
// block while 100 000 lines arrive and while 1 000 do, beside the same measurement on an idle
// connection (the baseline), each the least of a few rounds.

#include <algorithm>
#include <cstdio>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "FakeServer.h"
#include "net/TChatInterface.h"
#include "view/ChatDocument.h"
#include "view/ChatView.h"
#include "window/ConnectionControl.h"
#include "window/TfrmMain.h"
#include "window/TulmoApplication.h"

namespace {

constexpr int Rounds = 3;
// The longest gap between two ticks of a 1 ms timer (or its start and first tick, or its last
// tick and its stop), while it runs.
class BlockWatch
{
public:
    BlockWatch()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_worst = std::max(m_worst, now - m_last);
            m_last = now;
        });
    }

    void start()
    {
        m_worst = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }

    // Milliseconds.
    double stop()
    {
        m_timer.stop();
        // The time since the last tick counts too: a block may last to the end.
        m_worst = std::max(m_worst, m_clock.nsecsElapsed() - m_last);
        return double(m_worst) / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_worst = 0;
};

QByteArray burst(int lines)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 40);
    for (int i = 1; i <= lines; ++i)
        bytes += "1005 TALK Jogador_7 0000 \"linha " + QByteArray::number(i) + " de teste\"\r\n";
    return bytes;
}

class Bench
{
public:
    bool start()
    {
        m_window = std::make_unique<TfrmMain>(m_dir.path());
        m_window->chatInterface()->Port = m_server.port();
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return false;
        m_window->findChild<QAbstractButton*>(QStringLiteral("btnConectar"))->click();
        if (!m_server.waitForClient() || !m_server.waitForBytes(2) ||
            !QTest::qWaitFor(
                [this] {
                    return m_window->feature<ConnectionControl>()->connectDialog() == nullptr;
                },
                5000))
            return false;
        m_server.sendLine(QStringLiteral("2010 NAME bench"));
        qint64 took = 0;
        return QTest::qWaitFor([this] { return m_window->loggedIn(); }) &&
               feedToMark("1001 USER Jogador_7 0000 [CHAT]\r\n", took) >= 0;
    }

    // Sends the bytes and an information line after them, runs the event loop until that line
    // is shown, and gives the longest block meanwhile in milliseconds; -1 when the line never
    // came. `took` receives the milliseconds it all took.
    double feedToMark(const QByteArray& bytes, qint64& took)
    {
        const QString mark = QStringLiteral("fim do lote %1").arg(++m_marks);
        BlockWatch watch;
        QElapsedTimer clock;
        clock.start();
        watch.start();
        m_server.send(bytes + "1018 INFO \"" + mark.toLatin1() + "\"\r\n");
        const bool shown = QTest::qWaitFor(
            [&] {
                const ChatDocument& document = m_window->chatPane()->document();
                const int last = document.paragraphCount() - 1;
                return last >= 0 && document.paragraphText(last) == mark;
            },
            600'000);
        const double worst = watch.stop();
        took = clock.elapsed();
        m_window->chatPane()->clearView();
        return shown ? worst : -1;
    }

    // The same measurement over an idle connection for as long.
    double idle(qint64 ms)
    {
        BlockWatch watch;
        watch.start();
        QTest::qWait(int(ms));
        return watch.stop();
    }

private:
    QTemporaryDir m_dir;
    FakeServer m_server;
    std::unique_ptr<TfrmMain> m_window;
    int m_marks = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TulmoApplication::registerFonts();

    Bench bench;
    if (!bench.start()) {
        std::printf("the window did not log in to the fake server\n");
        return 1;
    }
    const QByteArray few = burst(1'000);
    const QByteArray many = burst(100'000);
    double idle = 1e300;
    double baseline = 1e300;
    double flood = 1e300;
    qint64 floodMs = 0;
    for (int round = 0; round < Rounds; ++round) {
        qint64 took = 0;
        baseline = std::min(baseline, bench.feedToMark(few, took));
        flood = std::min(flood, bench.feedToMark(many, took));
        floodMs = std::max(floodMs, took);
        idle = std::min(idle, bench.idle(took));
    }
    if (baseline < 0 || flood < 0) {
        std::printf("a burst never reached the end of the chat\n");
        return 1;
    }
    // The idle connection's figure, watched as long as the burst took, is what the machine's own
    // scheduling costs the timer; a block the burst causes shows as a multiple of it.
    std::printf("longest block of the event loop, least of %d rounds (1 ms timer); 100 000 lines "
                "took up to %lld ms\n",
                Rounds, static_cast<long long>(floodMs));
    std::printf("%-30s %10.2f ms (baseline)\n", "idle connection, as long", idle);
    std::printf("%-30s %10.2f ms %8.2fx the baseline\n", "1 000 lines in one send", baseline,
                baseline / idle);
    std::printf("%-30s %10.2f ms %8.2fx the baseline\n", "100 000 lines in one send", flood,
                flood / idle);
    return 0;
}
