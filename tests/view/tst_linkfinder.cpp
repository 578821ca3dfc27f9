#include <QTest>
#include <QUrl>

#include "view/LinkFinder.h"

char* toString(const TextSpan& span)
{
    return QTest::toString(QStringLiteral("[%1, %2)").arg(span.start).arg(span.end()));
}

namespace {

// A line with its addresses between « and »: the text without the marks, and where they were.
std::pair<QString, QList<TextSpan>> unmarked(const QString& marked)
{
    QString text;
    QList<TextSpan> spans;
    for (const QChar ch : marked) {
        if (ch == u'«')
            spans.append({int(text.size()), 0});
        else if (ch == u'»')
            spans.last().length = int(text.size()) - spans.last().start;
        else
            text += ch;
    }
    return {text, spans};
}

} // namespace

class TestLinkFinder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void find_data();
    void find();
    void findFrom();
    void mayHoldLink();
    void url_data();
    void url();
};

void TestLinkFinder::find_data()
{
    QTest::addColumn<QString>("line");
    // clang-format off
    QTest::newRow("at the start")              << QStringLiteral("«http://exemplo.com» é o site");
    QTest::newRow("at the end")                << QStringLiteral("o site é «https://exemplo.com/página»");
    QTest::newRow("alone")                     << QStringLiteral("«www.exemplo.com.br»");
    QTest::newRow("capitals")                  << QStringLiteral("«HTTP://EXEMPLO.COM/X» e «WWW.Exemplo.com»");
    QTest::newRow("before a full stop")        << QStringLiteral("veja «www.exemplo.com».");
    QTest::newRow("before an ellipsis")        << QStringLiteral("veja «www.exemplo.com»...");
    QTest::newRow("before a comma")            << QStringLiteral("«http://a.com/x», depois");
    QTest::newRow("before ! and ?")            << QStringLiteral("é «http://a.com/x»?!");
    QTest::newRow("before a colon")            << QStringLiteral("em «www.a.com»: entre");
    QTest::newRow("before a semicolon")        << QStringLiteral("«www.a.com»; e mais");
    QTest::newRow("query and fragment")        << QStringLiteral("«http://a.com/x?y=1&z=2#topo».");
    QTest::newRow("port and path")             << QStringLiteral("«http://a.com:6112/x/».");
    QTest::newRow("inside parentheses")        << QStringLiteral("(veja «http://a.com/x»)");
    QTest::newRow("parentheses and full stop") << QStringLiteral("(«www.a.com»).");
    QTest::newRow("its own parentheses")       << QStringLiteral("«http://pt.wiki.org/Jogo_(1996)» ok");
    QTest::newRow("own ones inside others")    << QStringLiteral("(«http://pt.wiki.org/Jogo_(1996)»)");
    QTest::newRow("inside brackets")           << QStringLiteral("[«www.a.com»]");
    QTest::newRow("inside quotes")             << QStringLiteral("\"«www.a.com»\" e '«www.b.com»'");
    QTest::newRow("inside curly quotes")       << QStringLiteral("“«www.a.com»” ‘«www.b.com»’");
    QTest::newRow("inside angle brackets")     << QStringLiteral("<«http://a.com/x»>");
    QTest::newRow("two in one line")           << QStringLiteral("«www.a.com» e «https://b.org/c»");
    QTest::newRow("two beside one another")    << QStringLiteral("«www.a.com»|«www.b.com»");
    QTest::newRow("after a name")              << QStringLiteral("<ana> «www.a.com»");
    QTest::newRow("before a tab")              << QStringLiteral("«www.a.com»\tfim");
    QTest::newRow("before a no-break space")   << QStringLiteral("«www.a.com»\u00A0fim");
    QTest::newRow("letters outside ASCII")     << QStringLiteral("«http://exemplo.com/ação/Ω»");
    QTest::newRow("none")                      << QStringLiteral("nenhum endereço aqui.");
    QTest::newRow("empty")                     << QString();
    QTest::newRow("prefix alone")              << QStringLiteral("http:// e https:// e www.");
    QTest::newRow("prefix before punctuation") << QStringLiteral("www.. e http://.");
    QTest::newRow("inside a word")             << QStringLiteral("ahttp://a.com e xwww.a.com");
    QTest::newRow("inside another address")    << QStringLiteral("site.com/www.a.com e eu@www.a.com");
    QTest::newRow("other schemes")             << QStringLiteral("ftp://a.com e file://x");
    QTest::newRow("no dot after www")          << QStringLiteral("wwwa.com");
    // clang-format on
}

void TestLinkFinder::find()
{
    QFETCH(QString, line);
    const auto [text, spans] = unmarked(line);
    QCOMPARE(LinkFinder::find(text), spans);
    // No address without the quick test's marks.
    const QByteArray latin1 = text.toLatin1();
    QVERIFY(spans.isEmpty() || LinkFinder::mayHoldLink(text.utf16(), text.size()));
    QVERIFY(spans.isEmpty() || LinkFinder::mayHoldLink(latin1.constData(), latin1.size()));
}

void TestLinkFinder::findFrom()
{
    const QString text = QStringLiteral("www.a.com xwww.b.com www.c.com");
    // What starts before `from` is not looked at; the character before it still counts.
    QCOMPARE(LinkFinder::find(text, 1), (QList<TextSpan>{{21, 9}}));
    QCOMPARE(LinkFinder::find(text, 11), (QList<TextSpan>{{21, 9}}));
    QCOMPARE(LinkFinder::find(text, 10), (QList<TextSpan>{{21, 9}}));
    QCOMPARE(LinkFinder::find(text, 21), (QList<TextSpan>{{21, 9}}));
    QCOMPARE(LinkFinder::find(text, 0).size(), 2);
}

void TestLinkFinder::mayHoldLink()
{
    const auto holds = [](const char* text) {
        return LinkFinder::mayHoldLink(text, qsizetype(qstrlen(text)));
    };
    QVERIFY(holds("a http://x"));
    QVERIFY(holds("WwW.x"));
    QVERIFY(holds("http://"));
    // An ordinary line is passed over without a closer look.
    QVERIFY(!holds("[21:05:09] <ana> hello there, message 12"));
    QVERIFY(!holds("ww.w. http:/x :/ /"));
    QVERIFY(!holds(""));
}

void TestLinkFinder::url_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QUrl>("url");
    // clang-format off
    QTest::newRow("www")             << QStringLiteral("www.exemplo.com") << QUrl(QStringLiteral("http://www.exemplo.com"));
    QTest::newRow("www in capitals") << QStringLiteral("WWW.Exemplo.com/X") << QUrl(QStringLiteral("http://WWW.Exemplo.com/X"));
    QTest::newRow("http")            << QStringLiteral("http://a.com/x?y=1&z=2#t") << QUrl(QStringLiteral("http://a.com/x?y=1&z=2#t"));
    QTest::newRow("https")           << QStringLiteral("https://a.com") << QUrl(QStringLiteral("https://a.com"));
    QTest::newRow("accents")         << QStringLiteral("http://a.com/ação") << QUrl(QStringLiteral("http://a.com/a%C3%A7%C3%A3o"));
    // clang-format on
}

void TestLinkFinder::url()
{
    QFETCH(QString, address);
    QFETCH(QUrl, url);
    QCOMPARE(LinkFinder::url(address), url);
}

QTEST_APPLESS_MAIN(TestLinkFinder)
#include "tst_linkfinder.moc"
