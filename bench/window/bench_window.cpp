// The main window under a flood, offscreen, fed by the loopback fake server. Costs are process
// CPU time (the fake server's writes included), each printed beside a baseline of the same run:
//  - a talk flood from a listed channel, per line, beside framing and interpreting the same bytes
//    without a window (the least a line can cost);
//  - the memory a talk line of that flood holds in the window: the growth of the heap in use
//    (glibc mallinfo2) once the flood has settled, beside the figure before the panes were made
//    lighter;
//  - 10 000 accounts joining and then leaving in listing order, per account, beside 100 doing
//    the same;
//  - a flood of a million talk lines with the automatic logs on, per line, beside the same flood
//    with them off (the writer's thread and its files included).
// With --talk only the talk flood runs.

#include <malloc.h>

#include <ctime>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "FakeServer.h"
#include "chat/UserListModel.h"
#include "core/Cp1252.h"
#include "net/LineSplitter.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatDocument.h"
#include "view/ChatView.h"
#include "window/AutoLogs.h"
#include "window/ConnectionControl.h"
#include "window/TfrmMain.h"
#include "window/TulmoApplication.h"

namespace {

constexpr int TalkLines = 200'000;
constexpr int LoggedLines = 1'000'000;
constexpr int ChannelSize = 300;
constexpr int Rounds = 3;
constexpr qsizetype ReadChunk = 16384;
// The window's cost per talk line, in baselines, before the path of a line was made lighter
// (median of twelve runs, 4.3x to 7.3x).
constexpr double WindowRatioBefore = 5.2;
// Bytes per talk line of the flood before the panes' storage was made lighter.
constexpr double BytesPerLineBefore = 120.5;

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Arena bytes in use plus mmapped blocks.
std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Least CPU time of several rounds of the same work; `tidy` runs after each round, untimed.
double bestOf(
    int rounds, const std::function<void()>& round, const std::function<void()>& tidy = [] {})
{
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const double start = cpuSeconds();
        round();
        best = std::min(best, cpuSeconds() - start);
        tidy();
    }
    return best;
}

QByteArray accountName(int i)
{
    return "Jogador_" + QByteArray::number(i);
}

// A few ranked accounts first, as the server lists them, then ordinary ones of assorted clients.
QByteArray channelListing()
{
    static const char* const ranked[] = {"0002", "0001", "0008", "0004"};
    static const char* const tags[] = {"D2XP", "W3XP", "CHAT", "SEXP", "WAR3", "STAR"};
    QByteArray bytes = "1007 CHANNEL \"Chat\"\r\n";
    for (int i = 0; i < ChannelSize; ++i) {
        const char* flags = i < 8 ? ranked[i % 4] : (i % 23 == 0 ? "0020" : "0000");
        bytes += "1001 USER " + accountName(i) + ' ' + flags + " [" + tags[i % 6] + "]\r\n";
    }
    return bytes;
}

// Talk of every length from listed accounts, a few lines from accounts that left.
QByteArray talkFlood(int lines = TalkLines)
{
    static const char* const words[] = {"oi",         "pessoal", "algu\xe9m", "joga", "hoje",
                                        "\xe0 noite", "partida", "r\xe1pida", "ok",   "valeu"};
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 60);
    for (int i = 0; i < lines; ++i) {
        const int speaker = i % 50 == 49 ? ChannelSize + i % 7 : (i * 7919) % ChannelSize;
        bytes += "1005 TALK " + accountName(speaker) + " 0000 \"";
        for (int w = 0; w < 1 + i % 9; ++w) {
            if (w)
                bytes += ' ';
            bytes += words[(i + w) % 10];
        }
        bytes += "\"\r\n";
    }
    return bytes;
}

// Cutting and interpreting the bytes as the connection does, every event handled by a counter.
void frameAndInterpret(const QByteArray& bytes)
{
    TGatewayChat chat;
    long long events = 0;
    const auto count = [&events](auto&&...) { ++events; };
    chat.OnTalk = count;
    chat.OnInfo = count;
    LineSplitter splitter(TChatInterface::MaxLineLength);
    for (qsizetype at = 0; at < bytes.size(); at += ReadChunk) {
        splitter.append(bytes.constData() + at, qMin(ReadChunk, bytes.size() - at));
        QByteArrayView raw;
        while (splitter.takeLine(raw)) {
            const QByteArrayView line = LineSplitter::stripTerminator(raw, true, true);
            if (!line.isEmpty())
                chat.ProcessLine(Cp1252::decode(line.data(), line.size()));
        }
    }
    if (events != TalkLines)
        std::printf("interpreted %lld events, expected %d\n", events, TalkLines);
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
        return true;
    }

    // Sends the bytes and runs the event loop until the window has done with them.
    void feed(const QByteArray& bytes, const std::function<bool()>& done)
    {
        m_server.send(bytes);
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    // Sends the bytes and an information line after them, and waits until that line is shown.
    // The line goes in a write of its own: joining it to a flood would copy the flood into fresh
    // memory, a cost of the bench that the window's figure would take in.
    void feedToMark(const QByteArray& bytes)
    {
        const QString mark = QStringLiteral("fim do lote %1").arg(++m_marks);
        m_server.send(bytes);
        feed("1018 INFO \"" + mark.toLatin1() + "\"\r\n", [&] {
            const ChatDocument& document = m_window->chatPane()->document();
            const int last = document.paragraphCount() - 1;
            return last >= 0 && document.paragraphText(last) == mark;
        });
    }

    void clearChat() { m_window->chatPane()->clearView(); }

    // Lets timers and the log writer finish what the last lines started.
    void settle() { QTest::qWait(500); }

    // Switches the automatic logs as the options dialog does; switching them off writes what is
    // queued and ends the writer's thread.
    void setLogs(bool on)
    {
        Settings::write(*m_window->settings(), Keys::Geral::LogsAuto, on);
        m_window->feature<AutoLogs>()->applyOptions();
    }

    // Bytes in the log files, which are then removed.
    qint64 takeLogs()
    {
        QDir logs(m_dir.filePath(QStringLiteral("logs")));
        qint64 bytes = 0;
        for (const QFileInfo& file : logs.entryInfoList(QDir::Files)) {
            bytes += file.size();
            QFile::remove(file.filePath());
        }
        return bytes;
    }

    int listed() const { return m_window->users()->count(); }

    // CPU seconds of `accounts` joins and of as many leaves, best of `rounds`. The leaves come in
    // listing order, or from the last listed account up when `lastFirst` is set.
    std::pair<double, double> joinsAndLeaves(int accounts, int rounds, bool lastFirst = false)
    {
        QByteArray joins;
        QByteArray leaves;
        for (int i = 0; i < accounts; ++i) {
            joins += "1002 JOIN " + accountName(i) + " 0000 [CHAT]\r\n";
            leaves += "1003 LEAVE " + accountName(lastFirst ? accounts - 1 - i : i) + " 0000\r\n";
        }
        double join = 1e300;
        double leave = 1e300;
        for (int round = 0; round < rounds; ++round) {
            double start = cpuSeconds();
            feed(joins, [&] { return listed() == accounts; });
            join = std::min(join, cpuSeconds() - start);
            start = cpuSeconds();
            feed(leaves, [&] { return listed() == 0; });
            leave = std::min(leave, cpuSeconds() - start);
        }
        return {join, leave};
    }

private:
    QTemporaryDir m_dir;
    FakeServer m_server;
    std::unique_ptr<TfrmMain> m_window;
    int m_marks = 0;
};

void printRow(const char* what, double small, double large, const char* unit)
{
    std::printf("%-34s %10.0f %10.0f %8.2fx  %s\n", what, small, large, large / small, unit);
}

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
    bench.feedToMark(channelListing());
    if (bench.listed() != ChannelSize) {
        std::printf("listed %d accounts, expected %d\n", bench.listed(), ChannelSize);
        return 1;
    }

    const QByteArray flood = talkFlood();
    std::printf("talk flood: %d lines, %lld bytes, %d listed accounts, time stamps on\n", TalkLines,
                static_cast<long long>(flood.size()), ChannelSize);
    const double floor = bestOf(Rounds, [&] { frameAndInterpret(flood); });
    const double window = bestOf(
        Rounds, [&] { bench.feedToMark(flood); }, [&] { bench.clearChat(); });
    const double perLine = 1e9 / TalkLines;
    std::printf("%-34s %10.0f ns per line (baseline)\n", "framing and interpreting",
                floor * perLine);
    std::printf("%-34s %10.0f ns per line %8.2fx the baseline (before: %.1fx; goal: at most "
                "3x)\n",
                "through the window", window * perLine, window / floor, WindowRatioBefore);
    if (QCoreApplication::arguments().contains(QStringLiteral("--talk")))
        return 0;

    // Heap growth of the flood shown in an emptied pane, after it settled; the fake server's
    // buffers are drained by then.
    std::vector<double> bytesPerLine;
    for (int round = 0; round < Rounds; ++round) {
        bench.settle();
        const std::size_t before = heapInUse();
        bench.feedToMark(flood);
        bench.settle();
        bytesPerLine.push_back((double(heapInUse()) - double(before)) / TalkLines);
        bench.clearChat();
    }
    std::sort(bytesPerLine.begin(), bytesPerLine.end());
    std::printf("%-34s %10.1f bytes per line (%.1f to %.1f over %d rounds)\n",
                "memory per talk line", bytesPerLine[Rounds / 2], bytesPerLine.front(),
                bytesPerLine.back(), Rounds);
    std::printf("%-34s %10.1f bytes per line; now %.2fx that (goal: at most 0.50x)\n",
                "before the panes were made lighter", BytesPerLineBefore,
                bytesPerLine[Rounds / 2] / BytesPerLineBefore);

    // The same flood, larger, with the automatic logs off and on; the time of a round with them
    // on takes in writing out what is still queued at its end.
    const QByteArray large = talkFlood(LoggedLines);
    qint64 logged = 0;
    bench.setLogs(false);
    bench.clearChat();
    const double logsOff = bestOf(
        Rounds, [&] { bench.feedToMark(large); }, [&] { bench.clearChat(); });
    const double logsOn = bestOf(
        Rounds,
        [&] {
            bench.setLogs(true);
            bench.feedToMark(large);
            bench.setLogs(false);
        },
        [&] {
            bench.clearChat();
            logged = bench.takeLogs();
        });
    const double perLargeLine = 1e9 / LoggedLines;
    std::printf("\nautomatic logs, %d lines (%lld bytes in the last round's file)\n", LoggedLines,
                static_cast<long long>(logged));
    std::printf("%-34s %10.0f ns per line (baseline)\n", "logs off", logsOff * perLargeLine);
    std::printf("%-34s %10.0f ns per line %8.2fx the baseline (goal: at most 1.20x)\n", "logs on",
                logsOn * perLargeLine, logsOn / logsOff);
    bench.setLogs(true);

    // Fresh channel: the accounts below join an empty list.
    bench.feedToMark("1007 CHANNEL \"Vazio\"\r\n");
    constexpr int Few = 100;
    constexpr int Many = 10'000;
    constexpr int FewRounds = 200;
    const auto [fewJoin, fewLeave] = bench.joinsAndLeaves(Few, FewRounds);
    const auto [manyJoin, manyLeave] = bench.joinsAndLeaves(Many, Rounds);
    const double fewLastFirst = bench.joinsAndLeaves(Few, FewRounds, true).second;
    const double manyLastFirst = bench.joinsAndLeaves(Many, Rounds, true).second;
    std::printf("\n%-34s %10d %10d %9s\n", "ns per account", Few, Many, "ratio");
    printRow("join", fewJoin * 1e9 / Few, manyJoin * 1e9 / Many, "");
    printRow("leave, in listing order", fewLeave * 1e9 / Few, manyLeave * 1e9 / Many, "");
    printRow("join and leave", (fewJoin + fewLeave) * 1e9 / Few,
             (manyJoin + manyLeave) * 1e9 / Many, "");
    printRow("leave, last listed first", fewLastFirst * 1e9 / Few, manyLastFirst * 1e9 / Many, "");
    std::printf("%d leaves: %.3f s CPU in listing order, %.3f s last listed first\n", Many,
                manyLeave, manyLastFirst);
    return 0;
}
