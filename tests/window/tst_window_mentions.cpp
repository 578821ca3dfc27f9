#include <QSystemTrayIcon>
#include <QTest>

#include "WindowHarness.h"
#include "view/StyleTable.h"
#include "window/Moderation.h"
#include "window/TfrmMain.h"
#include "window/TrayIcon.h"
#include "window/WhisperNotices.h"

namespace {

const QString Caption = QStringLiteral("Tulmo Chat v1.5 Light");

QStringList ini(const QString& words = QStringLiteral("torneio, boa noite"))
{
    return {"[Geral]",     "Login=visitante", "Senha=segredo", "Tray=1", "Destaques=" + words,
            "[Aparencia]", "HorarioMsg=0",    "CorMencao=255"};
}

// The notices the window gave, as "message title|text" and "alert".
struct Recorder
{
    explicit Recorder(TfrmMain* w)
    {
        WhisperNotices::NoticeSink sink;
        sink.message = [this](const QString& title, const QString& text) {
            shown << QStringLiteral("message ") + title + QLatin1Char('|') + text;
        };
        sink.alert = [this] { shown << QStringLiteral("alert"); };
        w->findChild<WhisperNotices*>()->setNoticeSinkForTests(sink);
    }
    QStringList shown;
};

// Logged in to the channel "Brasil" as visitante, which the server confirmed.
bool inChannel(WindowHarness& h)
{
    h.window->findChild<TrayIcon*>()->setTrayAvailableForTests(true);
    return h.connectToServer() && h.serverLine(QStringLiteral("1007 CHANNEL \"Brasil\""));
}

// Another window takes the keyboard: the main window is away.
bool away(TfrmMain* w, QWidget& other)
{
    other.show();
    other.activateWindow();
    return QTest::qWaitFor([w] { return !w->isActiveWindow(); });
}

bool back(TfrmMain* w)
{
    w->activateWindow();
    return QTest::qWaitFor([w] { return w->isActiveWindow(); });
}

} // namespace

class TestWindowMentions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void mentionStyle_data();
    void mentionStyle();
    void theNameTheServerConfirmed();
    void switchedOff();
    void announcedAndCountedWhileAway();
    void countBesideOperatorMode();
};

void TestWindowMentions::mentionStyle_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("pieces"); // of the channel pane's last line, "text|style"
    // clang-format off
    QTest::newRow("talk naming us") << "1005 TALK bob 0000 \"oi Visitante, joga?\"" << QStringList{"<bob> oi Visitante, joga?|14"};
    QTest::newRow("emote naming us") << "1023 EMOTE bob 0000 \"acena para visitante.\"" << QStringList{"<bob acena para visitante.> |14"};
    QTest::newRow("a highlight word") << "1005 TALK bob 0000 \"quem vai no TORNEIO?\"" << QStringList{"<bob> quem vai no TORNEIO?|14"};
    QTest::newRow("a highlight phrase") << "1005 TALK bob 0000 \"boa noite\"" << QStringList{"<bob> boa noite|14"};
    QTest::newRow("the name inside a word") << "1005 TALK bob 0000 \"visitantes chegaram\"" << QStringList{"<bob> |4", "visitantes chegaram|5"};
    QTest::newRow("an accented letter after it") << "1005 TALK bob 0000 \"visitanteé\"" << QStringList{"<bob> |4", "visitanteé|5"};
    QTest::newRow("our own emote") << "1023 EMOTE Visitante 0000 \"é o visitante\"" << QStringList{"<Visitante é o visitante> |6"};
    QTest::newRow("our own talk") << "1005 TALK visitante 0000 \"torneio\"" << QStringList{"<visitante> |4", "torneio|5"};
    // clang-format on
}

// A line of another account naming us, or holding a highlight word, is drawn whole in the
// mention style, in the colour of Aparencia/CorMencao; the text is what the ordinary line holds.
void TestWindowMentions::mentionStyle()
{
    QFETCH(QString, line);
    WindowHarness h(ini());
    TfrmMain* w = h.window.get();
    QCOMPARE(w->styles()->color(StyleTable::Mencao), QColor(Qt::red));
    QVERIFY(inChannel(h));
    QVERIFY(h.serverLine(line));
    QTEST(WindowHarness::lastPieces(w->chatPane(), 1), "pieces");
}

// The name is the one the server named us by; the account we logged in with is only our own
// speaker name. Whispers are never mentions.
void TestWindowMentions::theNameTheServerConfirmed()
{
    WindowHarness h(ini(QString()));
    TfrmMain* w = h.window.get();
    QVERIFY(inChannel(h));
    QVERIFY(h.serverLine(QStringLiteral("2010 NAME visitante#2")));
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK bob 0000 \"oi visitante#2\"")));
    QCOMPARE(WindowHarness::lastPieces(w->chatPane(), 1),
             QStringList{QStringLiteral("<bob> oi visitante#2|14")});
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK bob 0000 \"oi visitante\"")));
    QCOMPARE(WindowHarness::lastPieces(w->chatPane(), 1),
             (QStringList{QStringLiteral("<bob> |4"), QStringLiteral("oi visitante|5")}));
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER bob 0000 \"visitante#2\"")));
    QCOMPARE(WindowHarness::lastPieces(w->whisperPane(), 0),
             (QStringList{QStringLiteral("<FROM: bob> |10"), QStringLiteral("visitante#2|12")}));
}

// Switched off, a line naming us or holding a highlight word is an ordinary line, announced to
// nobody.
void TestWindowMentions::switchedOff()
{
    QStringList switchedOff = ini();
    switchedOff.insert(1, QStringLiteral("Mencoes=0"));
    WindowHarness h(switchedOff);
    TfrmMain* w = h.window.get();
    Recorder notices(w);
    QVERIFY(inChannel(h));
    QWidget other;
    QVERIFY(away(w, other));
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK bob 0000 \"oi visitante, torneio?\"")));
    QCOMPARE(WindowHarness::lastPieces(w->chatPane(), 1),
             (QStringList{QStringLiteral("<bob> |4"), QStringLiteral("oi visitante, torneio?|5")}));
    QCOMPARE(notices.shown, QStringList());
    QCOMPARE(w->windowTitle(), Caption);
}

// Away, a mention is announced as a whisper is, and the title counts the whispers and mentions
// that arrived until the user comes back; other lines neither notify nor count.
void TestWindowMentions::announcedAndCountedWhileAway()
{
    WindowHarness h(ini());
    TfrmMain* w = h.window.get();
    Recorder recorder(w);
    QVERIFY(inChannel(h));
    QVERIFY(QTest::qWaitForWindowActive(w));
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK bob 0000 \"oi visitante\"")));
    QCOMPARE(recorder.shown, QStringList());
    QCOMPARE(w->windowTitle(), Caption);

    QWidget other;
    QVERIFY(away(w, other));
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK bob 0000 \"nada\"")));
    QCOMPARE(w->windowTitle(), Caption);
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK bob 0000 \"visitante, vem\"")));
    QCOMPARE(recorder.shown, (QStringList{QStringLiteral("message bob em Brasil|visitante, vem"),
                                          QStringLiteral("alert")}));
    QCOMPARE(w->windowTitle(), "(1) " + Caption);
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER carol 0000 \"psiu\"")));
    QVERIFY(h.serverLine(QStringLiteral("1023 EMOTE carol 0000 \"chama o visitante\"")));
    QVERIFY(h.serverLine(QStringLiteral("1010 WHISPER carol 0000 \"nosso eco\"")));
    QCOMPARE(w->windowTitle(), "(3) " + Caption);

    QVERIFY(back(w));
    QTRY_COMPARE(w->windowTitle(), Caption);
    QVERIFY(away(w, other));
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER carol 0000 \"de novo\"")));
    QCOMPARE(w->windowTitle(), "(1) " + Caption);
}

// The count and operator mode's mark share the title; neither leaves a piece of the other behind.
void TestWindowMentions::countBesideOperatorMode()
{
    WindowHarness h(ini());
    TfrmMain* w = h.window.get();
    QVERIFY(inChannel(h));
    QWidget other;
    QVERIFY(away(w, other));
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER carol 0000 \"psiu\"")));
    QCOMPARE(w->windowTitle(), "(1) " + Caption);
    w->feature<Moderation>()->enterOpMode();
    QCOMPARE(w->windowTitle(), "(1) " + Caption + " - [OP MODE]");
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER carol 0000 \"psiu\"")));
    QCOMPARE(w->windowTitle(), "(2) " + Caption + " - [OP MODE]");
    QVERIFY(back(w));
    QTRY_COMPARE(w->windowTitle(), Caption + " - [OP MODE]");
}

QTEST_MAIN(TestWindowMentions)
#include "tst_window_mentions.moc"
