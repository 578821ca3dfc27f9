// Received bytes through the line splitter and the gateway interpreter, as the connection hands
// them on: cut into lines in chunks of any size, each line stripped of its end, decoded and
// interpreted. The lines must be those of a plain byte-by-byte cut of the whole stream, however
// the stream was chunked and however many lines were taken between two chunks.

#include <climits>

#include <fuzzer/FuzzedDataProvider.h>

#include <QCoreApplication>
#include <QList>

#include "FuzzCheck.h"
#include "core/Cp1252.h"
#include "net/LineSplitter.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"

namespace {

struct Cut
{
    QList<QByteArray> lines;
    int dropped = 0;
};

// The rule in its simplest form: a line ends at CR or LF, an LF right after a CR ends nothing,
// and a line longer than the bound is dropped, also one that never ends.
Cut referenceCut(const QByteArray& stream, qsizetype bound)
{
    Cut cut;
    QByteArray line;
    bool afterCr = false;
    for (const char c : stream) {
        if (afterCr) {
            afterCr = false;
            if (c == '\n')
                continue;
        }
        line += c;
        if (c == '\r' || c == '\n') {
            if (line.size() - 1 > bound)
                ++cut.dropped;
            else
                cut.lines.append(line);
            line.clear();
            afterCr = c == '\r';
        }
    }
    if (line.size() > bound)
        ++cut.dropped;
    return cut;
}

// Feeds the stream in chunks whose sizes come from `pattern`, taking at most a few lines between
// two chunks as the pattern says, and every line at the end.
Cut chunkedCut(LineSplitter& splitter, const QByteArray& stream, const QByteArray& pattern)
{
    Cut cut;
    QByteArrayView line;
    qsizetype pos = 0;
    qsizetype step = 0;
    bool lastEmpty = false;
    while (pos < stream.size()) {
        const auto code = pattern.isEmpty() ? 0xFFu : quint8(pattern[step++ % pattern.size()]);
        // An empty chunk now and then, but never two in a row, so the stream always moves on.
        qsizetype size = std::min<qsizetype>(code & 0x1F, stream.size() - pos);
        if (size == 0 && lastEmpty)
            size = 1;
        lastEmpty = size == 0;
        splitter.append(stream.constData() + pos, size);
        pos += size;
        const int wanted = (code >> 5) == 7 ? INT_MAX : int(code >> 5);
        for (int taken = 0; taken < wanted && splitter.takeLine(line); ++taken)
            cut.lines.append(line.toByteArray());
        cut.dropped += splitter.takeDropped();
    }
    while (splitter.takeLine(line))
        cut.lines.append(line.toByteArray());
    cut.dropped += splitter.takeDropped();
    return cut;
}

void checkLines(const QList<QByteArray>& lines, qsizetype bound)
{
    for (const QByteArray& line : lines) {
        FUZZ_CHECK(!line.isEmpty());
        FUZZ_CHECK(line.endsWith('\r') || line.endsWith('\n'));
        const QByteArray body = line.chopped(1);
        FUZZ_CHECK(!body.contains('\r') && !body.contains('\n'));
        FUZZ_CHECK(body.size() <= bound);
    }
}

void interpret(TGatewayChat& chat, const QList<QByteArray>& lines)
{
    int events = 0;
    const auto talk = [&events](const QString& user, const QString&) {
        FUZZ_CHECK(!user.contains(QLatin1Char(' ')));
        ++events;
    };
    const auto typed = [&events](const QString& user, const QString& flags,
                                 const QString& userType) {
        FUZZ_CHECK(!user.contains(QLatin1Char(' ')));
        FUZZ_CHECK(flags.size() <= 4 && userType.size() <= 4);
        ++events;
    };
    const auto text = [&events](const QString&) { ++events; };
    chat.OnTalk = talk;
    chat.OnWhisper = talk;
    chat.OnWhisperSent = talk;
    chat.OnEmote = talk;
    chat.OnShowUser = typed;
    chat.OnJoin = typed;
    chat.OnLeave = typed;
    chat.OnUserFlags = [&events](const QString&, const QString& flags) {
        FUZZ_CHECK(flags.size() <= 4);
        ++events;
    };
    chat.OnInfo = text;
    chat.OnBroadcast = text;
    chat.OnChannel = text;
    chat.OnChannelFull = text;
    chat.OnChanNotExist = text;
    chat.OnRestricted = text;
    chat.OnError = text;
    chat.OnUniqueName = [&events](const QString&) { ++events; };
    QString unhandled;
    chat.OnUnHandled = [&events, &unhandled](const QString& line) {
        unhandled = line;
        ++events;
    };

    for (const QByteArray& raw : lines) {
        const QByteArrayView stripped = LineSplitter::stripTerminator(raw, true, true);
        FUZZ_CHECK_EQUAL(stripped.size(), raw.size() - 1);
        const QString line = Cp1252::decode(stripped.data(), stripped.size());
        events = 0;
        unhandled.clear();
        chat.ProcessLine(line);
        FUZZ_CHECK(events <= 1);
        if (!unhandled.isEmpty())
            FUZZ_CHECK_EQUAL(unhandled, line);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The interpreter's flood timer wants an event dispatcher; nothing here runs the loop.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const qsizetype bound =
        in.ConsumeBool() ? TChatInterface::MaxLineLength : in.ConsumeIntegralInRange(0, 40);
    const QByteArray pattern = QByteArray::fromStdString(in.ConsumeRandomLengthString(16));
    const auto clearAfter = in.ConsumeIntegralInRange<int>(0, 8);
    const QByteArray stream = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

    const Cut expected = referenceCut(stream, bound);
    LineSplitter splitter(bound);
    const Cut cut = chunkedCut(splitter, stream, pattern);
    FUZZ_CHECK(cut.lines == expected.lines);
    FUZZ_CHECK_EQUAL(cut.dropped, expected.dropped);
    checkLines(cut.lines, bound);

    // clear() from inside the iteration, as an owner that disconnects while handling a line:
    // nothing of the old stream may come out after it, and the next stream is cut afresh.
    const qsizetype half = stream.size() / 2;
    const QByteArray first = stream.left(half);
    const QByteArray second = stream.mid(half);
    LineSplitter reused(bound);
    reused.append(first);
    QByteArrayView line;
    const Cut firstExpected = referenceCut(first, bound);
    for (int i = 0; i < clearAfter && reused.takeLine(line); ++i)
        FUZZ_CHECK(line.toByteArray() == firstExpected.lines.value(i));
    reused.clear();
    FUZZ_CHECK_EQUAL(reused.pendingSize(), 0);
    FUZZ_CHECK(!reused.takeLine(line));
    const Cut afterClear = chunkedCut(reused, second, pattern);
    FUZZ_CHECK(afterClear.lines == referenceCut(second, bound).lines);

    static TGatewayChat chat;
    interpret(chat, cut.lines);
    return 0;
}
