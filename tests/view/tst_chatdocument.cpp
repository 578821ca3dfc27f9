#include <QTest>

#include "core/Cp1252.h"
#include "view/ChatDocument.h"
#include "view/LinkFinder.h"
#include "view/StyleTable.h"

Q_DECLARE_METATYPE(ChatRange)

char* toString(const TextSpan& span)
{
    return QTest::toString(QStringLiteral("[%1, %2)").arg(span.start).arg(span.end()));
}

char* toString(const ChatPosition& position)
{
    return QTest::toString(QStringLiteral("(%1, %2)").arg(position.paragraph).arg(position.offset));
}

namespace {

// One paragraph per line; within a line "|" separates pieces and "^" is a tab.
void fill(ChatDocument& doc, const QStringList& lines)
{
    for (const QString& line : lines) {
        doc.appendLine(QString(), -1);
        int style = 0;
        for (const QString& piece : line.split(u'|', Qt::SkipEmptyParts)) {
            if (piece == u"^")
                doc.appendTab(style);
            else
                doc.appendText(piece, style);
            ++style;
        }
    }
}

ChatRange range(int p1, int o1, int p2, int o2)
{
    return {{p1, o1}, {p2, o2}};
}

// Line i of a long session: two pieces, every third line outside the code page (stored wide).
QString stamped(int i)
{
    return QStringLiteral("[%1] ").arg(i);
}

QString said(int i)
{
    return i % 3 == 0 ? QStringLiteral("olá Ω %1").arg(i) : QStringLiteral("olá %1").arg(i);
}

// Appends lines [from, to) and returns how many paragraphs the document dropped meanwhile.
int appendSession(ChatDocument& doc, int from, int to)
{
    int dropped = 0;
    for (int i = from; i < to; ++i) {
        dropped += doc.appendLine(stamped(i), StyleTable::Horario);
        doc.appendText(said(i), StyleTable::Usuario);
    }
    return dropped;
}

} // namespace

class TestChatDocument : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void runsAndTabs();
    void appendingWithoutLineStartsOne();
    void textOutsideTheCodePageKeepsEveryCharacter();
    void longContentStaysExact();
    void openingTimeStampsReadBackExactly_data();
    void openingTimeStampsReadBackExactly();
    void rangeText_data();
    void rangeText();
    void wordAt_data();
    void wordAt();
    void find_data();
    void find();
    void caseFolding_data();
    void caseFolding();
    void repeatedUpwardSearchWalksBack();
    void ceilingDropsTheOldestInBlocks_data();
    void ceilingDropsTheOldestInBlocks();
    void droppedLinesGiveBackTheirMemory();
    void linksOfLinesWrittenInPieces_data();
    void linksOfLinesWrittenInPieces();
    void linksFollowTheKeptLines_data();
    void linksFollowTheKeptLines();
    void historyGoesBeforeTheSession();
    void historyGoesWithTheOldestAndWithClear();
};

void TestChatDocument::runsAndTabs()
{
    ChatDocument doc;
    doc.appendLine(QStringLiteral("[21:05:09] "), 13);
    doc.appendText(QStringLiteral("<ana> "), 4);
    doc.appendTab(5);
    doc.appendText(QStringLiteral("olá"), 5);
    doc.appendLine(QString(), -1);
    doc.appendLine(QStringLiteral("x"), 7);

    QCOMPARE(doc.paragraphCount(), 3);
    QCOMPARE(doc.paragraphText(0), QStringLiteral("[21:05:09] <ana> \tolá"));
    const QList<ChatPiece> pieces = doc.pieces(0);
    QCOMPARE(pieces.size(), 4);
    QCOMPARE(pieces[0].text, QStringLiteral("[21:05:09] "));
    QCOMPARE(pieces[0].style, 13);
    QCOMPARE(pieces[1].style, 4);
    QVERIFY(pieces[2].isTab);
    QCOMPARE(pieces[2].text, QStringLiteral("\t"));
    QCOMPARE(pieces[2].style, 5);
    QVERIFY(!pieces[3].isTab);
    QCOMPARE(pieces[3].text, QStringLiteral("olá"));
    // An empty line started with style -1 holds nothing until text is appended.
    QCOMPARE(doc.paragraphText(1), QString());
    QVERIFY(doc.pieces(1).isEmpty());
    QCOMPARE(doc.pieces(2).size(), 1);

    doc.clear();
    QCOMPARE(doc.paragraphCount(), 0);
    doc.appendLine(QStringLiteral("again"), 1);
    QCOMPARE(doc.paragraphText(0), QStringLiteral("again"));
}

void TestChatDocument::appendingWithoutLineStartsOne()
{
    ChatDocument doc;
    doc.appendText(QStringLiteral("a"), 2);
    doc.appendTab(3);
    QCOMPARE(doc.paragraphCount(), 1);
    QCOMPARE(doc.paragraphText(0), QStringLiteral("a\t"));
    // Empty text adds no piece.
    doc.appendText(QString(), 4);
    QCOMPARE(doc.pieces(0).size(), 2);
}

void TestChatDocument::textOutsideTheCodePageKeepsEveryCharacter()
{
    // A paragraph switches to wide storage mid-way; earlier paragraphs and pieces stay intact.
    ChatDocument doc;
    doc.appendLine(QStringLiteral("café €"), 0);
    doc.appendLine(QStringLiteral("ação "), 1);
    doc.appendText(QStringLiteral("日本 😀"), 2);
    doc.appendText(QStringLiteral(" fim"), 3);
    doc.appendLine(QStringLiteral("depois"), 4);

    QCOMPARE(doc.paragraphText(0), QStringLiteral("café €"));
    QCOMPARE(doc.paragraphText(1), QStringLiteral("ação 日本 😀 fim"));
    QCOMPARE(doc.pieces(1)[1].text, QStringLiteral("日本 😀"));
    QCOMPARE(doc.pieces(1)[2].style, 3);
    QCOMPARE(doc.paragraphText(2), QStringLiteral("depois"));

    QByteArray bytes;
    doc.appendParagraphCp1252(0, 0, 6, bytes);
    doc.appendParagraphCp1252(1, 1, 12, bytes);
    QCOMPARE(bytes, QByteArray("caf\xe9 \x80\xe7\xe3o ?? ? f"));
}

// A line opening with a time stamp keeps it in fewer units than it shows: every way of reading
// the line gives back exactly what was appended, whatever follows the stamp or cuts it.
void TestChatDocument::openingTimeStampsReadBackExactly_data()
{
    QTest::addColumn<QString>("line");
    // clang-format off
    QTest::newRow("stamp, account, talk")      << QStringLiteral("[21:05:09] |<ana> |olá €");
    QTest::newRow("all in one piece")          << QStringLiteral("[00:00:00] <ana> oi");
    QTest::newRow("stamp alone")               << QStringLiteral("[23:59:59] ");
    QTest::newRow("digits past the clock")     << QStringLiteral("[99:99:99] x");
    QTest::newRow("stamp cut over pieces")     << QStringLiteral("[21:0|5:09] x");
    QTest::newRow("a letter among the digits") << QStringLiteral("[21:05:0a] x");
    QTest::newRow("no space after it")         << QStringLiteral("[21:05:09]x");
    QTest::newRow("not at the start")          << QStringLiteral("x[21:05:09] y");
    QTest::newRow("a stamp after the stamp")   << QStringLiteral("[21:05:09] |[10:11:12] y");
    QTest::newRow("tab after the stamp")       << QStringLiteral("[21:05:09] |^|fim");
    QTest::newRow("wide text after it")        << QStringLiteral("[21:05:09] |ação |日本 😀| fim");
    QTest::newRow("wide in the stamp's piece") << QStringLiteral("[21:05:09] Ω ç");
    QTest::newRow("address after the stamp")   << QStringLiteral("[21:05:09] |www.site.com/a b");
    QTest::newRow("address, wide line")        << QStringLiteral("[21:05:09] http://x.com/Ω");
    // clang-format on
}

void TestChatDocument::openingTimeStampsReadBackExactly()
{
    QFETCH(QString, line);
    ChatDocument doc;
    fill(doc, {QStringLiteral("before"), line, QStringLiteral("after")});
    QString expected;
    QStringList pieces;
    for (const QString& piece : line.split(u'|', Qt::SkipEmptyParts)) {
        pieces.append(piece == u"^" ? QStringLiteral("\t") : piece);
        expected += pieces.last();
    }

    const std::unique_ptr<ChatDocument> copy = doc.snapshot(1, 1);
    for (const ChatDocument* d : {&doc, copy.get()}) {
        const int p = d == &doc ? 1 : 0;
        QCOMPARE(d->paragraphText(p), expected);
        QCOMPARE(d->paragraphLength(p), int(expected.size()));
        QStringList read;
        for (const ChatPiece& piece : d->pieces(p))
            read.append(piece.text);
        QCOMPARE(read, pieces);
        QCOMPARE(d->links(p), LinkFinder::find(expected));
    }
    for (int from = 0; from <= expected.size(); ++from) {
        for (int to = from; to <= expected.size(); ++to) {
            const QString part = expected.mid(from, to - from);
            QByteArray cp1252, utf8;
            doc.appendParagraphCp1252(1, from, to, cp1252);
            doc.appendParagraphUtf8(1, from, to, utf8);
            QCOMPARE(cp1252, Cp1252::encode(part));
            QCOMPARE(utf8, part.toUtf8());
        }
    }
    QCOMPARE(doc.text({{0, 3}, {2, 2}}),
             QStringLiteral("ore\n") + expected + QStringLiteral("\naf"));
    const auto hit = doc.find(expected.right(4), {}, std::nullopt);
    QVERIFY(hit);
    QCOMPARE(doc.text(*hit), expected.right(4));
    QCOMPARE(doc.paragraphText(2), QStringLiteral("after"));
}

void TestChatDocument::longContentStaysExact()
{
    // Enough text to fill several storage chunks, with one paragraph growing across a boundary.
    ChatDocument doc;
    const QString line = QStringLiteral("<user%1> hello there, message %1");
    for (int i = 0; i < 5000; ++i)
        doc.appendLine(line.arg(i), i % 3);
    QString big;
    for (int i = 0; i < 2000; ++i) {
        doc.appendText(QStringLiteral("0123456789"), 5);
        big += QStringLiteral("0123456789");
    }
    doc.appendLine(QStringLiteral("last"), 1);

    QCOMPARE(doc.paragraphCount(), 5001);
    QCOMPARE(doc.paragraphText(0), line.arg(0));
    QCOMPARE(doc.paragraphText(2500), line.arg(2500));
    QCOMPARE(doc.paragraphText(4999), line.arg(4999) + big);
    QCOMPARE(doc.runCount(4999), 2001);
    QCOMPARE(doc.paragraphText(5000), QStringLiteral("last"));
}

void TestChatDocument::rangeText_data()
{
    QTest::addColumn<ChatRange>("range");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("inside one piece")          << range(0, 1, 0, 3) << QStringLiteral("bc");
    QTest::newRow("across pieces and a tab")   << range(0, 2, 0, 7) << QStringLiteral("cd\tef");
    QTest::newRow("across paragraphs")         << range(0, 5, 2, 2) << QStringLiteral("ef\n\ngh");
    QTest::newRow("whole")                     << range(0, 0, 2, 2) << QStringLiteral("abcd\tef\n\ngh");
    QTest::newRow("empty")                     << range(1, 0, 1, 0) << QString();
    QTest::newRow("beyond the end is clamped") << range(2, 1, 9, 0) << QStringLiteral("h");
    // clang-format on
}

void TestChatDocument::rangeText()
{
    QFETCH(ChatRange, range);
    QFETCH(QString, expected);
    ChatDocument doc;
    fill(doc, {QStringLiteral("ab|cd|^|ef"), QString(), QStringLiteral("gh")});
    QCOMPARE(doc.text(range), expected);
}

void TestChatDocument::wordAt_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("word");
    // clang-format off
    QTest::newRow("middle of a word")                      << QStringLiteral("<ana> olá mundo") << 8 << QStringLiteral("olá");
    QTest::newRow("name in brackets")                      << QStringLiteral("<ana> olá") << 2 << QStringLiteral("ana");
    QTest::newRow("word spans pieces")                     << QStringLiteral("ab|cd ef") << 1 << QStringLiteral("abcd");
    QTest::newRow("stops at a tab")                        << QStringLiteral("ab|^|cd") << 3 << QStringLiteral("cd");
    QTest::newRow("last word")                             << QStringLiteral("um dois") << 6 << QStringLiteral("dois");
    QTest::newRow("past the end takes the last character") << QStringLiteral("um dois") << 40 << QStringLiteral("dois");
    QTest::newRow("on a delimiter")                        << QStringLiteral("a, b") << 1 << QStringLiteral(",");
    QTest::newRow("curly quotes")                          << QStringLiteral("“vai”") << 2 << QStringLiteral("vai");
    QTest::newRow("no-break space")                        << QStringLiteral("x\u00a0yz") << 2 << QStringLiteral("yz");
    // clang-format on
    // Each delimiter ends a word on both sides.
    for (const QChar d : QStringLiteral(" .;,:(){}\"/\\<>!?[]‘’“”+*=\u00a0")) {
        const QString line = QStringLiteral("ab%1cd").arg(d);
        QTest::addRow("delimiter U+%04X left", unsigned(d.unicode()))
            << line << 1 << QStringLiteral("ab");
        QTest::addRow("delimiter U+%04X right", unsigned(d.unicode()))
            << line << 3 << QStringLiteral("cd");
    }
    // clang-format off
    QTest::newRow("apostrophe and dash join") << QStringLiteral("d'água pré-jogo") << 10 << QStringLiteral("pré-jogo");
    // clang-format on
}

void TestChatDocument::wordAt()
{
    QFETCH(QString, line);
    QFETCH(int, offset);
    QFETCH(QString, word);
    ChatDocument doc;
    fill(doc, {QStringLiteral("first line"), line});
    QCOMPARE(doc.text(doc.wordAt({1, offset})), word);
}

void TestChatDocument::find_data()
{
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<bool>("hasSelection");
    QTest::addColumn<ChatRange>("selection");
    QTest::addColumn<ChatRange>("expected");

    const ChatRange none;
    const ChatRange notFound = range(-1, -1, -1, -1);
    // Content: 0 "Ação no canal", 1 "<ana> a ação|começa", 2 "" , 3 "fim da AÇÃO\tacao"
    // clang-format off
    QTest::newRow("down from the start, any case")        << QStringLiteral("ação") << false << true << false << false << none << range(0, 0, 0, 4);
    QTest::newRow("up from the end, any case")            << QStringLiteral("ação") << false << false << false << false << none << range(3, 7, 3, 11);
    QTest::newRow("upper case finds lower case")          << QStringLiteral("AÇÃO") << false << true << false << true << range(0, 0, 0, 4) << range(1, 8, 1, 12);
    QTest::newRow("match case skips other cases")         << QStringLiteral("ação") << true << true << false << false << none << range(1, 8, 1, 12);
    QTest::newRow("match case upward")                    << QStringLiteral("AÇÃO") << true << false << false << false << none << range(3, 7, 3, 11);
    QTest::newRow("down continues after the selection")   << QStringLiteral("ação") << false << true << false << true << range(1, 8, 1, 12) << range(3, 7, 3, 11);
    QTest::newRow("up continues before the selection")    << QStringLiteral("ação") << false << false << false << true << range(3, 7, 3, 11) << range(1, 8, 1, 12);
    QTest::newRow("match across pieces")                  << QStringLiteral("açãocomeça") << false << true << false << false << none << range(1, 8, 1, 18);
    QTest::newRow("tab in the needle")                    << QStringLiteral("o\ta") << false << true << false << false << none << range(3, 10, 3, 13);
    QTest::newRow("inside words without whole words")     << QStringLiteral("an") << false << true << false << false << none << range(0, 9, 0, 11);
    QTest::newRow("whole words skip parts of words")      << QStringLiteral("ana") << false << true << true << false << none << range(1, 1, 1, 4);
    QTest::newRow("whole words upward")                   << QStringLiteral("a") << false << false << true << false << none << range(1, 6, 1, 7);
    QTest::newRow("whole word at the end of a paragraph") << QStringLiteral("acao") << false << true << true << false << none << range(3, 12, 3, 16);
    QTest::newRow("absent")                               << QStringLiteral("xyz") << false << true << false << false << none << notFound;
    QTest::newRow("nothing after the last")               << QStringLiteral("acao") << false << true << false << true << range(3, 12, 3, 16) << notFound;
    QTest::newRow("nothing before the first")             << QStringLiteral("Ação") << true << false << false << true << range(0, 0, 0, 4) << notFound;
    QTest::newRow("empty needle")                         << QString() << false << true << false << false << none << notFound;
    // clang-format on
}

void TestChatDocument::find()
{
    QFETCH(QString, needle);
    QFETCH(bool, matchCase);
    QFETCH(bool, down);
    QFETCH(bool, wholeWord);
    QFETCH(bool, hasSelection);
    QFETCH(ChatRange, selection);
    QFETCH(ChatRange, expected);

    ChatDocument doc;
    fill(doc, {QStringLiteral("Ação no canal"), QStringLiteral("<ana> a ação|começa"), QString(),
               QStringLiteral("fim da AÇÃO|^|acao")});
    ChatDocument::FindOptions options;
    options.matchCase = matchCase;
    options.down = down;
    options.wholeWord = wholeWord;
    const auto found = doc.find(needle, options,
                                hasSelection ? std::optional<ChatRange>(selection) : std::nullopt);
    if (expected.start.paragraph < 0) {
        QVERIFY(!found);
        return;
    }
    QVERIFY(found);
    QCOMPARE(found->start, expected.start);
    QCOMPARE(found->end, expected.end);
}

void TestChatDocument::caseFolding_data()
{
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("at"); // -1: not found
    // clang-format off
    QTest::newRow("accented capitals")           << QStringLiteral("AÇÃO") << QStringLiteral("a ação") << false << 2;
    QTest::newRow("match case keeps them apart") << QStringLiteral("AÇÃO") << QStringLiteral("a ação") << true << -1;
    // Ÿ is byte 0x9F of the code page and ÿ byte 0xFF: both sides of the fold are stored narrow.
    QTest::newRow("y with diaeresis")            << QStringLiteral("ŸE") << QStringLiteral("aÿe") << false << 1;
    QTest::newRow("outside the code page")       << QStringLiteral("ΟΔΟΣ") << QStringLiteral("a οδος") << false << 2;
    QTest::newRow("capital sharp s folds to ß")  << QStringLiteral("STRAẞE") << QStringLiteral("na straße") << false << 3;
    // One character never matches two: a hit spans exactly the needle's length.
    QTest::newRow("double s is not ß")           << QStringLiteral("STRASSE") << QStringLiteral("na straße") << false << -1;
    QTest::newRow("ß is not double s")           << QStringLiteral("straße") << QStringLiteral("STRASSE") << false << -1;
    // clang-format on
}

void TestChatDocument::caseFolding()
{
    QFETCH(QString, needle);
    QFETCH(QString, line);
    QFETCH(bool, matchCase);
    QFETCH(int, at);
    ChatDocument doc;
    doc.appendLine(line, 5);
    for (const bool down : {true, false}) {
        ChatDocument::FindOptions options;
        options.matchCase = matchCase;
        options.down = down;
        const auto found = doc.find(needle, options, std::nullopt);
        QCOMPARE(found ? found->start.offset : -1, at);
        if (found)
            QCOMPARE(found->end.offset - found->start.offset, needle.size());
    }
}

void TestChatDocument::repeatedUpwardSearchWalksBack()
{
    ChatDocument doc;
    fill(doc, {QStringLiteral("oi oi"), QStringLiteral("x oi")});
    ChatDocument::FindOptions up;
    up.down = false;
    std::optional<ChatRange> at;
    QList<ChatPosition> hits;
    while ((at = doc.find(QStringLiteral("OI"), up, at)))
        hits.append(at->start);
    QCOMPARE(hits, (QList<ChatPosition>{{1, 2}, {0, 3}, {0, 0}}));
}

void TestChatDocument::ceilingDropsTheOldestInBlocks_data()
{
    QTest::addColumn<int>("ceiling");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("kept");
    // clang-format off
    QTest::newRow("up to the ceiling")        << 16  << 16  << 16;
    QTest::newRow("one past a small ceiling") << 16  << 17  << 16;
    QTest::newRow("a sixteenth at a time")    << 160 << 161 << 151;
    QTest::newRow("refilled to the ceiling")  << 160 << 170 << 160;
    QTest::newRow("the next block")           << 160 << 171 << 151;
    QTest::newRow("many blocks")              << 160 << 5000 << 160;
    QTest::newRow("a ceiling of one line")    << 1   << 5   << 1;
    // clang-format on
}

void TestChatDocument::ceilingDropsTheOldestInBlocks()
{
    QFETCH(int, ceiling);
    QFETCH(int, lines);
    QFETCH(int, kept);
    ChatDocument doc;
    doc.setMaxParagraphs(ceiling);
    QCOMPARE(appendSession(doc, 0, lines), lines - kept);
    QCOMPARE(doc.paragraphCount(), kept);
    // What remains is the newest lines, each whole, narrow and wide alike.
    const int first = lines - kept;
    for (int p = 0; p < kept; ++p) {
        QCOMPARE(doc.paragraphText(p), stamped(first + p) + said(first + p));
        QCOMPARE(doc.runCount(p), 2);
        QCOMPARE(doc.run(p, 1).style, int(StyleTable::Usuario));
        QCOMPARE(doc.run(p, 1).start, stamped(first + p).size());
    }
    // The last line still takes more text after a drop.
    doc.appendTab(StyleTable::Info);
    doc.appendText(QStringLiteral("fim"), StyleTable::Info);
    QCOMPARE(doc.paragraphText(kept - 1),
             stamped(lines - 1) + said(lines - 1) + QStringLiteral("\tfim"));
    QCOMPARE(doc.runCount(kept - 1), 4);
    // Find and the text of ranges see only what is kept.
    ChatDocument::FindOptions down;
    const auto hit = doc.find(stamped(first), down, std::nullopt);
    QVERIFY(hit);
    QCOMPARE(hit->start, ChatPosition{});
    if (first > 0)
        QVERIFY(!doc.find(stamped(first - 1), down, std::nullopt));
    const QString all = doc.text(doc.wholeRange());
    QVERIFY(all.startsWith(stamped(first) + said(first)));
    QCOMPARE(all.count(u'\n'), kept - 1);
}

void TestChatDocument::droppedLinesGiveBackTheirMemory()
{
    ChatDocument doc;
    doc.setMaxParagraphs(64);
    // A few chunks' worth of text, narrow and wide, with long lines growing across chunks.
    const auto session = [&doc](int from, int to) {
        appendSession(doc, from, to);
        for (int i = from; i < to; i += 997) {
            // Stored narrow while it grows, then moved to wide storage by its last piece.
            doc.appendLine(QStringLiteral("longa "), StyleTable::Info);
            for (int k = 0; k < 300; ++k)
                doc.appendText(QStringLiteral("0123456789"), StyleTable::Info);
            doc.appendText(QStringLiteral("Ω"), StyleTable::Info);
        }
        // The addresses found go with their lines.
        for (int i = from; i < to; i += 2)
            doc.appendLine(QStringLiteral("veja www.site.com/%1").arg(i), StyleTable::Info);
    };
    // About 8 MB of text goes through; what is held stays a few chunks.
    for (int from = 0; from < 400000; from += 100000) {
        session(from, from + 100000);
        QVERIFY2(doc.allocated() < 1024 * 1024, qPrintable(QString::number(doc.allocated())));
    }
}

void TestChatDocument::linksOfLinesWrittenInPieces_data()
{
    QTest::addColumn<QString>("line");
    // clang-format off
    QTest::newRow("one address")      << QStringLiteral("<ana> veja www.exemplo.com.br.");
    QTest::newRow("two addresses")    << QStringLiteral("(http://a.com/x) e https://b.org!");
    QTest::newRow("outside the code page") << QStringLiteral("http://a.com/Ω e www.b.com");
    QTest::newRow("trailing stops")   << QStringLiteral("http://a.com.......");
    QTest::newRow("none")             << QStringLiteral("[21:05:09] <ana> olá, tudo bem?");
    // clang-format on
}

void TestChatDocument::linksOfLinesWrittenInPieces()
{
    QFETCH(QString, line);
    const QList<TextSpan> whole = LinkFinder::find(line);
    // Cut in three pieces at every pair of places: an address may be split anywhere, even in its
    // prefix, and a pane may show the line before its last piece arrives.
    for (int i = 0; i <= line.size(); ++i) {
        for (int j = i; j <= line.size(); ++j) {
            ChatDocument doc;
            doc.appendLine(line.left(i), StyleTable::Horario);
            const bool shownEarly = (i + j) % 2 == 0;
            if (shownEarly)
                QCOMPARE(doc.links(0), LinkFinder::find(line.left(i)));
            doc.appendText(line.mid(i, j - i), StyleTable::Acc);
            doc.appendText(line.mid(j), StyleTable::Usuario);
            QCOMPARE(doc.links(0), whole);
            doc.appendLine(QStringLiteral("depois"), StyleTable::Info);
            QCOMPARE(doc.links(0), whole);
            QVERIFY(doc.links(1).isEmpty());
        }
    }
}

void TestChatDocument::linksFollowTheKeptLines_data()
{
    QTest::addColumn<int>("ceiling");
    QTest::addColumn<int>("lines");
    // clang-format off
    QTest::newRow("below the ceiling")  << 64 << 40;
    QTest::newRow("oldest lines gone")  << 16 << 40;
    QTest::newRow("many blocks gone")   << 160 << 2000;
    QTest::newRow("one line kept")      << 1 << 5;
    // clang-format on
}

void TestChatDocument::linksFollowTheKeptLines()
{
    QFETCH(int, ceiling);
    QFETCH(int, lines);
    ChatDocument doc;
    doc.setMaxParagraphs(ceiling);
    // Every third line names an address of its own, every fifth is stored wide.
    const auto line = [](int i) {
        const QString text = i % 5 == 0 ? QStringLiteral("Ω %1 ") : QStringLiteral("linha %1 ");
        return text.arg(i) + (i % 3 == 0 ? QStringLiteral("www.site%1.com.").arg(i) : QString());
    };
    const auto check = [&doc, &line](int first) {
        for (int p = 0; p < doc.paragraphCount(); ++p) {
            QCOMPARE(doc.paragraphText(p), line(first + p));
            const QList<TextSpan> links = doc.links(p);
            QCOMPARE(links.size(), (first + p) % 3 == 0 ? 1 : 0);
            for (const TextSpan& link : links) {
                QCOMPARE(doc.text({{p, link.start}, {p, link.end()}}),
                         QStringLiteral("www.site%1.com").arg(first + p));
                QCOMPARE(doc.linkAt({p, link.end() - 1}).value_or(TextSpan{}), link);
                QVERIFY(!doc.linkAt({p, link.end()}));
                QVERIFY(!doc.linkAt({p, link.start - 1}));
            }
        }
    };
    int dropped = 0;
    for (int i = 0; i < lines; ++i)
        dropped += doc.appendLine(line(i), StyleTable::Info);
    check(dropped);

    // A cleared pane starts counting its lines again.
    doc.clear();
    dropped = 0;
    for (int i = 0; i < 7; ++i)
        dropped += doc.appendLine(line(i), StyleTable::Info);
    check(dropped);
}

// The history goes to the head, before the lines appended already and before any later; the
// lines appended keep their pieces, styles, tabs and addresses, and their count. The session
// range starts after the history.
void TestChatDocument::historyGoesBeforeTheSession()
{
    ChatDocument doc;
    fill(doc, {"a|b", "", "c|^|http://x.com"});
    QCOMPARE(doc.appendedCount(), quint64(3));
    doc.insertHistory({"h1", "h2 ç"}, StyleTable::Usuario);
    doc.appendLine(QStringLiteral("d"), 1);
    QCOMPARE(doc.historyCount(), 2);
    QCOMPARE(doc.appendedCount(), quint64(4));
    QCOMPARE(doc.text(doc.wholeRange()), QStringLiteral("h1\nh2 ç\nab\n\nc\thttp://x.com\nd"));
    QCOMPARE(doc.pieces(2).size(), 2);
    QCOMPARE(doc.pieces(2).at(1).style, 1);
    QCOMPARE(doc.pieces(0).at(0).style, int(StyleTable::Usuario));
    QVERIFY(doc.pieces(4).at(1).isTab);
    QCOMPARE(doc.links(4).size(), 1);
    QCOMPARE(doc.sessionRange().start, (ChatPosition{2, 0}));
    QCOMPARE(doc.text(doc.sessionRange()), QStringLiteral("ab\n\nc\thttp://x.com\nd"));
    // More history goes after the first, still before the session.
    doc.insertHistory({"h0"}, 0);
    QCOMPARE(doc.historyCount(), 3);
    QCOMPARE(doc.paragraphText(2), QStringLiteral("h0"));
    QCOMPARE(doc.paragraphText(3), QStringLiteral("ab"));
}

// Past the ceiling the history goes first; clearing takes it and leaves the count of lines
// appended. History that does not fit keeps its last lines.
void TestChatDocument::historyGoesWithTheOldestAndWithClear()
{
    ChatDocument doc;
    doc.setMaxParagraphs(16);
    fill(doc, {"s1", "s2"});
    doc.insertHistory({"h1", "h2", "h3", "h4", "h5", "h6", "h7", "h8", "h9", "h10", "h11", "h12",
                       "h13", "h14", "h15"},
                      0);
    QCOMPARE(doc.historyCount(), 14);
    QCOMPARE(doc.paragraphText(0), QStringLiteral("h2"));
    QCOMPARE(doc.paragraphCount(), 16);
    // One paragraph past the ceiling drops a block of one.
    doc.appendLine(QStringLiteral("s3"), 0);
    QCOMPARE(doc.historyCount(), 13);
    QCOMPARE(doc.paragraphText(0), QStringLiteral("h3"));
    for (int i = 0; i < 14; ++i)
        doc.appendLine(QStringLiteral("s"), 0);
    QCOMPARE(doc.historyCount(), 0);
    QCOMPARE(doc.text(doc.sessionRange()), doc.text(doc.wholeRange()));
    doc.insertHistory({"h"}, 0);
    QCOMPARE(doc.historyCount(), 0);
    doc.clear();
    QCOMPARE(doc.historyCount(), 0);
    QCOMPARE(doc.appendedCount(), quint64(17));
    doc.insertHistory({"h"}, 0);
    QVERIFY(doc.sessionRange().isEmpty());
}

QTEST_GUILESS_MAIN(TestChatDocument)
#include "tst_chatdocument.moc"
