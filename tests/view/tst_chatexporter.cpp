#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

#include "core/Cp1252.h"
#include "view/ChatDocument.h"
#include "view/ChatExporter.h"
#include "view/StyleTable.h"

namespace {

QByteArray fixture(const QString& name)
{
    QFile file(QStringLiteral(TULMO_VIEW_GOLDEN "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return "missing fixture " + name.toLatin1();
    return file.readAll();
}

// A talk line with a peer's markup, an empty line and a line of characters that need escaping.
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

// Lines holding web addresses, one of them split between two pieces.
void fillAddresses(ChatDocument& doc)
{
    doc.appendLine(QString(), -1);
    doc.appendText(QStringLiteral("[21:05:09] "), StyleTable::Horario);
    doc.appendText(QStringLiteral("<ana> "), StyleTable::Acc);
    doc.appendText(QStringLiteral("veja www.exemplo.com.br e (https://a.com/ação?x=1&y=<2>)."),
                   StyleTable::Usuario);
    doc.appendLine(QStringLiteral("http://a.com/{chave}\\fim"), StyleTable::Info);
    doc.appendLine(QStringLiteral("<FROM: bia> http://exem"), StyleTable::WFROM);
    doc.appendText(QStringLiteral("plo.com/日 www.b.com"), StyleTable::WmFROM);
}

// The whisper styles start in the palette's text colour; fix them so the files do not depend on
// the platform.
void fixColors(StyleTable& styles)
{
    for (int s = StyleTable::WTO; s <= StyleTable::WmFROM; ++s)
        styles.setColor(s, QColor(0xC0, 0xC0, 0xC0));
}

QByteArray html(const ChatDocument& doc, const StyleTable& styles, const ChatRange& range,
                const QString& title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!ChatExporter::writeHtml(buffer, doc, styles, range, title, QColor(Qt::black)))
        return "write failed";
    return buffer.data();
}

QByteArray body(const QByteArray& page)
{
    const qsizetype start = page.indexOf("<body>");
    return page.mid(start, page.indexOf("</body>") - start);
}

// The quoted CSS string starting at `at`, read as the CSS syntax has it and browsers do: a hex
// escape has up to six digits and takes one blank after it as its end.
QString readCssString(const QString& css, qsizetype at)
{
    const QChar quote = css.at(at++);
    QString out;
    while (at < css.size() && css.at(at) != quote) {
        const QChar ch = css.at(at++);
        if (ch != u'\\') {
            out += ch;
            continue;
        }
        char32_t code = 0;
        int digits = 0;
        for (; digits < 6 && at < css.size() && isxdigit(css.at(at).toLatin1()); ++digits)
            code = code * 16 + char32_t(QStringView(css).mid(at++, 1).toUInt(nullptr, 16));
        if (digits == 0) {
            out += css.at(at++);
            continue;
        }
        if (at < css.size() && (css.at(at) == u' ' || css.at(at) == u'\t' || css.at(at) == u'\n'))
            ++at;
        if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            code = 0xFFFD;
        out += QString::fromUcs4(&code, 1);
    }
    return out;
}

} // namespace

class TestChatExporter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void goldenFiles_data();
    void goldenFiles();
    void escaping_data();
    void escaping();
    void htmlTitleIsEscaped();
    void partialRange();
    void styleChangesReachTheFiles();
    void mentionStyleOnlyWhereUsed_data();
    void mentionStyleOnlyWhereUsed();
    void unwritableFileIsReported();
    void fileInAReadOnlyFolderIsOverwritten();
    void fontNamesSurviveTheStyleSheet_data();
    void fontNamesSurviveTheStyleSheet();
    void savedLogsHoldOnlyKeptLines_data();
    void savedLogsHoldOnlyKeptLines();
};

void TestChatExporter::goldenFiles_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("golden");
    // The files of lines with addresses were written before the panes knew of addresses: a log
    // holds the text as it was.
    // clang-format off
    QTest::newRow("text") << int(ChatExporter::Format::Text) << QStringLiteral("sample.txt");
    QTest::newRow("html") << int(ChatExporter::Format::Html) << QStringLiteral("sample.html");
    QTest::newRow("rtf")  << int(ChatExporter::Format::Rtf) << QStringLiteral("sample.rtf");
    QTest::newRow("text with addresses") << int(ChatExporter::Format::Text) << QStringLiteral("addresses.txt");
    QTest::newRow("html with addresses") << int(ChatExporter::Format::Html) << QStringLiteral("addresses.html");
    QTest::newRow("rtf with addresses")  << int(ChatExporter::Format::Rtf) << QStringLiteral("addresses.rtf");
    // clang-format on
}

void TestChatExporter::goldenFiles()
{
    QFETCH(int, format);
    QFETCH(QString, golden);
    ChatDocument doc;
    if (golden.startsWith(QLatin1String("addresses")))
        fillAddresses(doc);
    else
        fillSample(doc);
    StyleTable styles;
    fixColors(styles);
    QTemporaryDir dir;
    const QString path = dir.filePath(golden);
    QVERIFY(ChatExporter::save(path, ChatExporter::Format(format), doc, styles, doc.wholeRange(),
                               QStringLiteral("LOG .::. CANAL: Brasil"), QColor(Qt::black)));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), fixture(golden));
}

void TestChatExporter::escaping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("htmlBody");
    QTest::addColumn<QByteArray>("rtfText");
    // clang-format off
    QTest::newRow("markup")                 << QStringLiteral("<script>alert('x')</script>") << QByteArray("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;") << QByteArray("<script>alert('x')</script>");
    QTest::newRow("entities and quotes")    << QStringLiteral("a&b \"c\"") << QByteArray("a&amp;b &quot;c&quot;") << QByteArray("a&b \"c\"");
    QTest::newRow("rtf control characters") << QStringLiteral("{\\par}") << QByteArray("{\\par}") << QByteArray("\\{\\\\par\\}");
    QTest::newRow("code page characters")   << QStringLiteral("é€") << QByteArray("\xe9\x80") << QByteArray("\\'e9\\'80");
    QTest::newRow("outside the code page")  << QStringLiteral("日😀") << QByteArray("&#26085;&#128512;") << QByteArray("\\u26085?\\u-10179?\\u-8704?");
    QTest::newRow("control without a byte") << QStringLiteral("a\u0080b\u0081") << QByteArray("a&#65533;b\x81") << QByteArray("a\\u128?b\\'81");
    QTest::newRow("control character")      << QStringLiteral("a\u0001b") << QByteArray("a&#1;b") << QByteArray("a\\'01b");
    // clang-format on
}

void TestChatExporter::escaping()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, htmlBody);
    QFETCH(QByteArray, rtfText);
    ChatDocument doc;
    doc.appendLine(text, StyleTable::Usuario);
    StyleTable styles;
    const QByteArray page = html(doc, styles, doc.wholeRange(), QString());
    QCOMPARE(body(page), "<body>\n<p><span class=\"s5\">" + htmlBody + "</span></p>\n");
    const QByteArray rtf = ChatExporter::rtf(doc, styles, doc.wholeRange());
    QVERIFY2(rtf.contains("\\cf6 " + rtfText + "}\\par"), rtf.constData());
    // The clipboard's page keeps every character as it is.
    QVERIFY(ChatExporter::html(doc, styles, doc.wholeRange(), QString(), Qt::black)
                .contains(text.contains(u'<') || text.contains(u'&') || text.contains(u'\u0001')
                              ? QString::fromLatin1(htmlBody)
                              : text));
}

void TestChatExporter::htmlTitleIsEscaped()
{
    ChatDocument doc;
    StyleTable styles;
    const QByteArray page =
        html(doc, styles, doc.wholeRange(), QStringLiteral("LOG .::. CANAL: </title><x> ação"));
    QVERIFY(page.contains("<title>LOG .::. CANAL: &lt;/title&gt;&lt;x&gt; a\xe7\xe3o</title>"));
    QVERIFY(page.contains("<meta charset=\"windows-1252\">"));
    QCOMPARE(body(page), QByteArray("<body>\n"));
}

void TestChatExporter::partialRange()
{
    ChatDocument doc;
    fillSample(doc);
    StyleTable styles;
    // From inside "olá" to inside "{chave}": the pieces are cut to the range.
    const ChatRange range{{0, 19}, {2, 4}};
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    QVERIFY(ChatExporter::writeText(text, doc, range));
    QCOMPARE(text.data(), QByteArray("\xe1 <b>&amigos</b>\r\n\r\n{cha\r\n"));
    QCOMPARE(
        body(html(doc, styles, range, QString())),
        QByteArray("<body>\n<p><span class=\"s5\">\xe1 &lt;b&gt;&amp;amigos&lt;/b&gt;</span></p>\n"
                   "<p><br></p>\n<p><span class=\"s8\">{cha</span></p>\n"));
    const QByteArray rtf = ChatExporter::rtf(doc, styles, range);
    QVERIFY(rtf.contains("\\'e1 <b>&amigos</b>}\\par\n\\par\n{\\f0\\fs20\\cf9 \\{cha}\\par\n}"));
    QVERIFY(!rtf.contains("<ana>"));
}

void TestChatExporter::styleChangesReachTheFiles()
{
    ChatDocument doc;
    doc.appendLine(QStringLiteral("x"), StyleTable::Info);
    StyleTable styles;
    styles.setFont(StyleTable::Info, QStringLiteral("Tahoma"), 14);
    styles.setColor(StyleTable::Info, QColor(0x12, 0x34, 0x56));
    const QByteArray page = html(doc, styles, doc.wholeRange(), QString());
    QVERIFY(page.contains(".s7 { font-family: \"Tahoma\"; font-size: 14pt; color: #123456; }"));
    const QByteArray rtf = ChatExporter::rtf(doc, styles, doc.wholeRange());
    QVERIFY(rtf.contains("\\fcharset0 Tahoma;}"));
    QVERIFY(rtf.contains("\\red18\\green52\\blue86;"));
    QVERIFY(rtf.contains("\\fs28"));
}

void TestChatExporter::mentionStyleOnlyWhereUsed_data()
{
    QTest::addColumn<int>("lastParagraph"); // the range ends at its end
    QTest::addColumn<bool>("listed");
    // clang-format off
    QTest::newRow("a mention in the range") << 1 << true;
    QTest::newRow("the mention left out") << 0 << false;
    // clang-format on
}

// The mention style is listed (and coloured) in a saved log only when the log holds a mention
// line; without one the file is what it was before the style existed.
void TestChatExporter::mentionStyleOnlyWhereUsed()
{
    QFETCH(int, lastParagraph);
    QFETCH(bool, listed);
    ChatDocument doc;
    doc.appendLine(QStringLiteral("entrou"), StyleTable::Info);
    doc.appendLine(QStringLiteral("<ana> oi rafa"), StyleTable::Mencao);
    StyleTable styles;
    styles.setColor(StyleTable::Mencao, QColor(0x12, 0x34, 0x56));
    const ChatRange range{{0, 0}, {lastParagraph, doc.paragraphLength(lastParagraph)}};
    const QByteArray page = html(doc, styles, range, QString());
    QCOMPARE(page.contains(".s14 { font-family: \"Verdana\"; font-size: 10pt; color: #123456; }"),
             listed);
    QCOMPARE(page.contains("<span class=\"s14\">&lt;ana&gt; oi rafa</span>"), listed);
    const QByteArray rtf = ChatExporter::rtf(doc, styles, range);
    QCOMPARE(rtf.contains("\\red18\\green52\\blue86;"), listed);
    if (listed) {
        // The colour comes last in the table, after those of the fourteen pane styles.
        const qsizetype table = rtf.indexOf("{\\colortbl ;");
        const int index =
            int(rtf.mid(table, rtf.indexOf("\\red18\\green52\\blue86;") - table).count(';'));
        QVERIFY(rtf.contains("\\cf" + QByteArray::number(index) + " <ana> oi rafa}"));
    }
}

void TestChatExporter::unwritableFileIsReported()
{
    ChatDocument doc;
    doc.appendLine(QStringLiteral("x"), 0);
    StyleTable styles;
    QTemporaryDir dir;
    for (const QString& path : {dir.filePath(QStringLiteral("missing/log.txt")), dir.path()}) {
        for (auto format :
             {ChatExporter::Format::Text, ChatExporter::Format::Html, ChatExporter::Format::Rtf})
            QVERIFY(!ChatExporter::save(path, format, doc, styles, doc.wholeRange(), QString(),
                                        Qt::black));
    }
}

void TestChatExporter::fileInAReadOnlyFolderIsOverwritten()
{
    ChatDocument doc;
    doc.appendLine(QStringLiteral("novo"), 0);
    StyleTable styles;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chat.txt"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("antigo e mais longo\r\n");
    old.close();
    const QFile::Permissions folder = QFile::permissions(dir.path());
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(dir.path(), folder); });
    if (QFileInfo(dir.path()).isWritable())
        QSKIP("folder permissions do not bind this user");
    QVERIFY(ChatExporter::save(path, ChatExporter::Format::Text, doc, styles, doc.wholeRange(),
                               QString(), Qt::black));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("novo\r\n"));
}

void TestChatExporter::fontNamesSurviveTheStyleSheet_data()
{
    QTest::addColumn<QString>("family");
    // clang-format off
    QTest::newRow("blanks")                        << QStringLiteral("M+ 1p");
    QTest::newRow("parentheses")                   << QStringLiteral("Foo (Bar) Baz");
    QTest::newRow("outside the code page")         << QStringLiteral("Ω Sans");
    QTest::newRow("ideographs and blanks")         << QStringLiteral("日本 ゴシック 1");
    QTest::newRow("code page letters")             << QStringLiteral("Fonte Çé ß");
    QTest::newRow("quote and backslash")           << QStringLiteral("Diz \"oi\" \\ 2");
    QTest::newRow("backslash before a hex digit")  << QStringLiteral("Mono\\3D");
    QTest::newRow("markup")                        << QStringLiteral("</style><b>&amp;");
    QTest::newRow("percent and a digit")           << QStringLiteral("Fonte %1 %0");
    // clang-format on
}

void TestChatExporter::fontNamesSurviveTheStyleSheet()
{
    QFETCH(QString, family);
    ChatDocument doc;
    doc.appendLine(QStringLiteral("nome"), StyleTable::Usuario);
    doc.appendText(QStringLiteral(" depois"), StyleTable::Emote);
    StyleTable styles;
    styles.setFont(StyleTable::Usuario, family, 12);
    const QString page = Cp1252::decode(html(doc, styles, doc.wholeRange(), QString()));

    // As a browser reads the page.
    const QString rule = QStringLiteral(".s5 { font-family: ");
    const qsizetype at = page.indexOf(rule);
    QVERIFY(at >= 0);
    QCOMPARE(readCssString(page, at + rule.size()), family);

    // As Qt's rich text reads it (pasted from the clipboard, the same style sheet arrives).
    QTextDocument rich;
    rich.setHtml(page);
    QTextBlock::iterator it = rich.begin().begin();
    QVERIFY(!it.atEnd());
    QCOMPARE(it.fragment().text(), QStringLiteral("nome"));
    QCOMPARE(it.fragment().charFormat().fontFamilies().toStringList(), QStringList{family});
    // The rest of the rule and the rules after it are read too.
    QCOMPARE(it.fragment().charFormat().foreground().color(), styles.color(StyleTable::Usuario));
    ++it;
    QVERIFY(!it.atEnd());
    QCOMPARE(it.fragment().charFormat().fontFamilies().toStringList(),
             QStringList{styles.style(StyleTable::Emote).fontName});
}

void TestChatExporter::savedLogsHoldOnlyKeptLines_data()
{
    QTest::addColumn<int>("format");
    // clang-format off
    QTest::newRow("text") << int(ChatExporter::Format::Text);
    QTest::newRow("html") << int(ChatExporter::Format::Html);
    QTest::newRow("rtf")  << int(ChatExporter::Format::Rtf);
    // clang-format on
}

void TestChatExporter::savedLogsHoldOnlyKeptLines()
{
    QFETCH(int, format);
    ChatDocument doc;
    doc.setMaxParagraphs(16);
    for (int i = 0; i < 40; ++i) {
        doc.appendLine(QStringLiteral("linha %1.").arg(i), StyleTable::Info);
        doc.appendText(QStringLiteral(" ação Ω"), StyleTable::Usuario);
    }
    StyleTable styles;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log"));
    QVERIFY(ChatExporter::save(path, ChatExporter::Format(format), doc, styles, doc.wholeRange(),
                               QString(), Qt::black));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    // Lines 24 to 39 remain, each once, in order.
    QCOMPARE(saved.count("linha "), 16);
    QVERIFY(!saved.contains("linha 23."));
    QVERIFY(saved.indexOf("linha 24.") < saved.indexOf("linha 39."));
    QVERIFY(saved.indexOf("linha 24.") >= 0);
}

QTEST_MAIN(TestChatExporter)
#include "tst_chatexporter.moc"
