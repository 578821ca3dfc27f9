// Cutting received bytes into lines and interpreting them, against a plain memchr scan of the same
// bytes, both in chunks of the size the connection reads. Prints lines per second, the ratio of
// the two times and the peak memory (VmHWM) before and after the run.

#include <cstdio>
#include <cstring>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include "core/Cp1252.h"
#include "net/LineSplitter.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"

namespace {

constexpr int LineCount = 1000000;
constexpr qsizetype ChunkSize = 16384;

// Peak resident memory of this process in KiB.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// A day of a busy channel: accounts listed, joining and leaving, talk of every length (some of it
// outside ASCII), whispers, flag changes and information lines, each ended by CR LF.
QByteArray makeStream()
{
    const char* const clients[] = {"CHAT", "D2XP", "W3XP", "STAR"};
    const QByteArray words[] = {"oi",         "pessoal", "alguém",    "joga", "hoje",
                                "\xe0 noite", "partida", "r\xe1pida", "ok",   "valeu"};
    QByteArray stream;
    stream.reserve(qsizetype(LineCount) * 56);
    for (int i = 0; i < LineCount; ++i) {
        const QByteArray name = "jogador" + QByteArray::number(i % 997);
        const char* client = clients[i % 4];
        QByteArray text;
        for (int w = 0; w < 1 + i % 12; ++w)
            text += (w ? " " : "") + words[(i + w) % 10];
        switch (i % 8) {
        case 0:
            stream += "1001 USER " + name + " 0010 [" + client + "]\r\n";
            break;
        case 1:
            stream += "1002 JOIN " + name + " 0000 [" + client + "]\r\n";
            break;
        case 2:
            stream += "1003 LEAVE " + name + " 0010\r\n";
            break;
        case 3:
        case 4:
        case 5:
            stream += "1005 TALK " + name + " 0010 \"" + text + "\"\r\n";
            break;
        case 6:
            stream += "1004 WHISPER " + name + " 0010 \"" + text + "\"\r\n";
            break;
        default:
            stream += (i % 16 == 7 ? "1009 USER " + name + " 0002\r\n"
                                   : "1018 INFO \"" + text + "\"\r\n");
            break;
        }
    }
    return stream;
}

long long memchrLines(const QByteArray& stream)
{
    long long lines = 0;
    for (qsizetype at = 0; at < stream.size(); at += ChunkSize) {
        const char* p = stream.constData() + at;
        const char* end = p + qMin(ChunkSize, stream.size() - at);
        while ((p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p))))) {
            ++lines;
            ++p;
        }
    }
    return lines;
}

long long splitLines(const QByteArray& stream)
{
    LineSplitter splitter(TChatInterface::MaxLineLength);
    long long lines = 0;
    for (qsizetype at = 0; at < stream.size(); at += ChunkSize) {
        splitter.append(stream.constData() + at, qMin(ChunkSize, stream.size() - at));
        QByteArrayView line;
        while (splitter.takeLine(line)) {
            if (!LineSplitter::stripTerminator(line, true, true).isEmpty())
                ++lines;
        }
    }
    return lines;
}

// The connection's receiving road without the socket: cut, strip, decode, interpret.
long long interpretLines(const QByteArray& stream)
{
    TGatewayChat chat;
    long long events = 0;
    auto count = [&events](auto&&...) { ++events; };
    chat.OnShowUser = count;
    chat.OnJoin = count;
    chat.OnLeave = count;
    chat.OnTalk = count;
    chat.OnWhisper = count;
    chat.OnUserFlags = count;
    chat.OnInfo = count;

    LineSplitter splitter(TChatInterface::MaxLineLength);
    for (qsizetype at = 0; at < stream.size(); at += ChunkSize) {
        splitter.append(stream.constData() + at, qMin(ChunkSize, stream.size() - at));
        QByteArrayView raw;
        while (splitter.takeLine(raw)) {
            const QByteArrayView line = LineSplitter::stripTerminator(raw, true, true);
            if (!line.isEmpty())
                chat.ProcessLine(Cp1252::decode(line.data(), line.size()));
        }
    }
    return events;
}

template <typename Run>
double timed(const char* name, Run run, long long expected)
{
    QElapsedTimer clock;
    clock.start();
    const long long got = run();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (got != expected)
        std::printf("%-28s counted %lld, expected %lld\n", name, got, expected);
    std::printf("%-28s %8.3f s %12.0f lines/s\n", name, seconds, double(expected) / seconds);
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const long before = peakKiB();
    const QByteArray stream = makeStream();
    const long withStream = peakKiB();
    std::printf("stream: %d lines, %lld bytes\n", LineCount, static_cast<long long>(stream.size()));

    const double scan = timed(
        "memchr scan (baseline)", [&] { return memchrLines(stream); }, LineCount);
    const double split = timed(
        "LineSplitter", [&] { return splitLines(stream); }, LineCount);
    const double full = timed(
        "LineSplitter + ProcessLine", [&] { return interpretLines(stream); }, LineCount);
    const long after = peakKiB();

    std::printf("ratio to baseline: splitting %.2fx, splitting and interpreting %.2fx\n",
                split / scan, full / scan);
    std::printf("peak memory (VmHWM): start %ld KiB, with the stream %ld KiB, after the runs %ld "
                "KiB (%+ld KiB for framing and interpreting)\n",
                before, withStream, after, after - withStream);
    return 0;
}
