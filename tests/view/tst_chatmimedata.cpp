#include <QFile>
#include <QTest>

#include "view/ChatDocument.h"
#include "view/ChatExporter.h"
#include "view/ChatMimeData.h"
#include "view/StyleTable.h"

namespace {

const QString Rtf = QStringLiteral("text/rtf");
const QStringList RichFormats = {
    QStringLiteral("text/html"), QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
    QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\"")};

QByteArray fixture(const QString& name)
{
    QFile file(QStringLiteral(TULMO_VIEW_GOLDEN "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return "missing fixture " + name.toLatin1();
    return file.readAll();
}

// The lines of the exporters' golden files: markup, an empty line, a tab, characters outside the
// code page (the last line is kept as UTF-16).
void fillSample(ChatDocument& doc)
{
    doc.appendLine(QString(), -1);
    doc.appendText(QStringLiteral("[21:05:09] "), StyleTable::Horario);
    doc.appendText(QStringLiteral("<ana> "), StyleTable::Acc);
    doc.appendText(QStringLiteral("olá <b>&amigos</b>"), StyleTable::Usuario);
    doc.appendLine(QString(), -1);
    doc.appendLine(QStringLiteral("{chave} \\fim"), StyleTable::Erro);
    doc.appendTab(StyleTable::Erro);
    doc.appendText(QStringLiteral("€ 日 😀"), StyleTable::WmFROM);
}

void fixColors(StyleTable& styles)
{
    for (int s = StyleTable::WTO; s <= StyleTable::WmFROM; ++s)
        styles.setColor(s, QColor(0xC0, 0xC0, 0xC0));
}

// Every format as a program reads it, rendered by the exporters from the pane as it is now.
struct Rendered
{
    QString text;
    QString html;
    QByteArray rtf;
};

Rendered expected(const ChatDocument& doc, const StyleTable& styles, const ChatRange& range,
                  const QColor& background)
{
    return {doc.text(range), ChatExporter::html(doc, styles, range, QString(), background),
            ChatExporter::rtf(doc, styles, range)};
}

// Compares every format the clipboard offers with what the exporters gave.
bool matches(const ChatMimeData& mime, const Rendered& want)
{
    if (mime.text() != want.text || mime.data(QStringLiteral("text/plain")) != want.text.toUtf8())
        return false;
    if (mime.html() != want.html || mime.data(QStringLiteral("text/html")) != want.html.toUtf8())
        return false;
    for (const QString& format : RichFormats.mid(1)) {
        if (mime.data(format) != want.rtf)
            return false;
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(ChatPosition)

class TestChatMimeData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formatsBySize_data();
    void formatsBySize();
    void contentAsTheExportersRenderIt_data();
    void contentAsTheExportersRenderIt();
    void nothingRenderedUntilAsked();
    void survivesChangesToThePane_data();
    void survivesChangesToThePane();
};

void TestChatMimeData::formatsBySize_data()
{
    QTest::addColumn<int>("endParagraph");
    QTest::addColumn<int>("endOffset");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<bool>("rich");
    const qsizetype limit = ChatMimeData::MaxRichLength;
    // 4096 lines of 1023 characters and one of two: the first 4096 with their line breaks are one
    // character short of the limit.
    // clang-format off
    QTest::newRow("a word")               << 0 << 5 << qsizetype(5) << true;
    QTest::newRow("one short of the limit") << 4095 << 1023 << limit - 1 << true;
    QTest::newRow("at the limit")         << 4096 << 0 << limit << true;
    QTest::newRow("one past the limit")   << 4096 << 1 << limit + 1 << false;
    QTest::newRow("the whole pane")       << 4096 << 2 << limit + 2 << false;
    // clang-format on
}

// A large selection goes as plain text only, whole.
void TestChatMimeData::formatsBySize()
{
    QFETCH(int, endParagraph);
    QFETCH(int, endOffset);
    QFETCH(qsizetype, length);
    QFETCH(bool, rich);
    ChatDocument doc;
    for (int i = 0; i < 4096; ++i)
        doc.appendLine(QStringLiteral("%1 ").arg(i, 5).leftJustified(1023, u'x'), StyleTable::Info);
    doc.appendLine(QStringLiteral("fi"), StyleTable::Info);
    StyleTable styles;
    const ChatRange range{{0, 0}, {endParagraph, endOffset}};
    const ChatMimeData mime(doc, styles, range, Qt::black);

    QCOMPARE(mime.textLength(), length);
    QCOMPARE(mime.formats(), rich ? QStringList{QStringLiteral("text/plain")} + RichFormats
                                  : QStringList{QStringLiteral("text/plain")});
    for (const QString& format : RichFormats) {
        QCOMPARE(mime.hasFormat(format), rich);
        QCOMPARE(mime.data(format).isEmpty(), !rich);
    }
    const QString text = doc.text(range);
    QCOMPARE(text.size(), length);
    QVERIFY(mime.hasText());
    QCOMPARE(mime.text(), text);
    QCOMPARE(mime.data(QStringLiteral("text/plain")), text.toUtf8());
}

void TestChatMimeData::contentAsTheExportersRenderIt_data()
{
    QTest::addColumn<ChatPosition>("start");
    QTest::addColumn<ChatPosition>("end");
    // clang-format off
    QTest::newRow("everything")                      << ChatPosition{0, 0} << ChatPosition{3, 11};
    QTest::newRow("inside one piece")                << ChatPosition{0, 12} << ChatPosition{0, 15};
    QTest::newRow("across pieces of a line")         << ChatPosition{0, 3} << ChatPosition{0, 20};
    QTest::newRow("from mid line over the empty one") << ChatPosition{0, 17} << ChatPosition{2, 4};
    QTest::newRow("the tab and what is outside 1252") << ChatPosition{2, 12} << ChatPosition{2, 16};
    QTest::newRow("the empty line alone")            << ChatPosition{1, 0} << ChatPosition{2, 0};
    QTest::newRow("backwards: nothing")              << ChatPosition{2, 4} << ChatPosition{0, 3};
    QTest::newRow("the code page beyond ASCII")      << ChatPosition{3, 1} << ChatPosition{3, 10};
    QTest::newRow("past the end, clamped")           << ChatPosition{2, 0} << ChatPosition{9, 99};
    // clang-format on
}

// Each format holds what the pane's exporters render for the same selection.
void TestChatMimeData::contentAsTheExportersRenderIt()
{
    QFETCH(ChatPosition, start);
    QFETCH(ChatPosition, end);
    ChatDocument doc;
    fillSample(doc);
    // Kept as Windows-1252 bytes, one of them a control the code page leaves undefined.
    doc.appendLine(QStringLiteral("é€‰\u0081ÿ ação"), StyleTable::Info);
    StyleTable styles;
    fixColors(styles);
    const ChatRange range{start, end};
    const QColor background(0x10, 0x20, 0x30);
    const ChatMimeData mime(doc, styles, range, background);
    QVERIFY(matches(mime, expected(doc, styles, range, background)));
}

void TestChatMimeData::nothingRenderedUntilAsked()
{
    ChatDocument doc;
    fillSample(doc);
    StyleTable styles;
    fixColors(styles);
    const ChatMimeData mime(doc, styles, doc.wholeRange(), Qt::black);
    QVERIFY(mime.hasHtml());
    QVERIFY(mime.hasFormat(Rtf));
    QCOMPARE(mime.formats().size(), 5);
    QCOMPARE(mime.renderCount(), 0);
    // The whole sample as the golden RTF file holds it, rendered on this request and kept nowhere.
    QCOMPARE(mime.data(Rtf), fixture(QStringLiteral("sample.rtf")));
    QCOMPARE(mime.renderCount(), 1);
    QCOMPARE(mime.data(Rtf), fixture(QStringLiteral("sample.rtf")));
    QCOMPARE(mime.renderCount(), 2);
    QVERIFY(mime.text().endsWith(QStringLiteral("\t€ 日 😀")));
    QCOMPARE(mime.renderCount(), 3);
    // A format not offered renders nothing.
    QVERIFY(mime.data(QStringLiteral("image/png")).isEmpty());
    QCOMPARE(mime.renderCount(), 3);
}

namespace {

enum class Change
{
    LinesAdded,
    LastLineGrows,
    LastLineWidened,
    OldestDropped,
    NarrowLinesGiveWayToWide,
    Cleared,
    StylesChanged
};

} // namespace

Q_DECLARE_METATYPE(Change)

void TestChatMimeData::survivesChangesToThePane_data()
{
    QTest::addColumn<Change>("change");
    // clang-format off
    QTest::newRow("lines added")                          << Change::LinesAdded;
    QTest::newRow("the last line grows")                  << Change::LastLineGrows;
    QTest::newRow("the last line leaves the code page")   << Change::LastLineWidened;
    QTest::newRow("the oldest lines dropped")             << Change::OldestDropped;
    QTest::newRow("narrow lines give way to wide ones")   << Change::NarrowLinesGiveWayToWide;
    QTest::newRow("pane cleared and filled again")        << Change::Cleared;
    QTest::newRow("styles changed")                       << Change::StylesChanged;
    // clang-format on
}

// What was copied stays what was selected, whatever the pane does afterwards: its characters
// are shared with the pane, which must neither free them nor write over them.
void TestChatMimeData::survivesChangesToThePane()
{
    QFETCH(Change, change);
    auto doc = std::make_unique<ChatDocument>();
    StyleTable styles;
    fixColors(styles);
    // Long lines, so that the copied text spans several blocks of the pane's storage.
    constexpr int Lines = 300;
    doc->setMaxParagraphs(Lines);
    for (int i = 0; i < Lines; ++i) {
        doc->appendLine(QStringLiteral("[%1] ").arg(i), StyleTable::Horario);
        doc->appendText(QStringLiteral("linha %1 ").arg(i).leftJustified(700, u'.'),
                        i % 7 == 0 ? StyleTable::WmFROM : StyleTable::Usuario);
        if (i % 50 == 0)
            doc->appendText(QStringLiteral(" 日本"), StyleTable::Info);
    }
    // From the middle of the first line to the end of the last, which may still grow.
    const ChatRange range{{0, 3}, doc->endPosition()};
    const Rendered before = expected(*doc, styles, range, Qt::black);
    const ChatMimeData mime(*doc, styles, range, Qt::black);

    switch (change) {
    case Change::LinesAdded:
        for (int i = 0; i < 10; ++i)
            doc->appendLine(QStringLiteral("nova"), StyleTable::Info);
        break;
    case Change::LastLineGrows:
        doc->appendText(QStringLiteral(" e mais"), StyleTable::Info);
        doc->appendTab(StyleTable::Info);
        break;
    case Change::LastLineWidened:
        // Its bytes move to UTF-16, and the room they leave is taken by the next line.
        doc->appendText(QStringLiteral("日"), StyleTable::Info);
        doc->appendLine(QStringLiteral("XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX"), StyleTable::Info);
        break;
    case Change::OldestDropped:
        for (int i = 0; i < 2 * Lines; ++i)
            doc->appendLine(QStringLiteral("outra ").leftJustified(700, u'x'), StyleTable::Info);
        break;
    case Change::NarrowLinesGiveWayToWide:
        // Once every line is UTF-16 the bytes' block is empty and taken again from its start.
        for (int i = 0; i < Lines + Lines / 8; ++i)
            doc->appendLine(QStringLiteral("日本語"), StyleTable::Info);
        for (int i = 0; i < 10; ++i)
            doc->appendLine(QStringLiteral("ZZZZZZZZZZZZZZZZ"), StyleTable::Info);
        break;
    case Change::Cleared:
        doc->clear();
        for (int i = 0; i < 10; ++i)
            doc->appendLine(QStringLiteral("depois"), StyleTable::Info);
        break;
    case Change::StylesChanged:
        styles.setFont(StyleTable::Usuario, QStringLiteral("Courier"), 20);
        styles.setColor(StyleTable::Horario, Qt::red);
        break;
    }
    QVERIFY(matches(mime, before));
    // And once the pane is gone.
    doc.reset();
    QVERIFY(matches(mime, before));
}

QTEST_MAIN(TestChatMimeData)
#include "tst_chatmimedata.moc"
