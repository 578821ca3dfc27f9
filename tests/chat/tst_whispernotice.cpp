#include "chat/WhisperNotice.h"

#include <QTest>

class TestWhisperNotice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decision_data();
    void decision();
    void preview_data();
    void preview();
    void mention_data();
    void mention();
};

// where: "active", "inactive" (shown behind another window) or "tray" (hidden in the tray).
// tray: the desktop has a tray; on: the user wants the tray icon (Geral/Tray).
// kind: "whisper", "own" or "echo" (of the version answer).
// shown: "" nothing, "alert" the taskbar only, "message+alert" both.
void TestWhisperNotice::decision_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("tray");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("active, whisper") << "active" << true << true << "whisper" << "";
    QTest::newRow("active, own") << "active" << true << true << "own" << "";
    QTest::newRow("active, echo") << "active" << true << true << "echo" << "";
    QTest::newRow("inactive, whisper") << "inactive" << true << true << "whisper" << "message+alert";
    QTest::newRow("inactive, own") << "inactive" << true << true << "own" << "";
    QTest::newRow("inactive, echo") << "inactive" << true << true << "echo" << "";
    QTest::newRow("tray, whisper") << "tray" << true << true << "whisper" << "message+alert";
    QTest::newRow("tray, own") << "tray" << true << true << "own" << "";
    QTest::newRow("tray, echo") << "tray" << true << true << "echo" << "";
    QTest::newRow("no tray, inactive, whisper") << "inactive" << false << true << "whisper" << "alert";
    QTest::newRow("no tray, active, whisper") << "active" << false << true << "whisper" << "";
    QTest::newRow("no tray, inactive, own") << "inactive" << false << true << "own" << "";
    QTest::newRow("icon off, inactive, whisper") << "inactive" << true << false << "whisper" << "alert";
    QTest::newRow("icon off, active, whisper") << "active" << true << false << "whisper" << "";
    QTest::newRow("icon off, inactive, own") << "inactive" << true << false << "own" << "";
    QTest::newRow("icon off, no tray, inactive") << "inactive" << false << false << "whisper" << "alert";
    // clang-format on
}

void TestWhisperNotice::decision()
{
    QFETCH(QString, where);
    QFETCH(bool, tray);
    QFETCH(bool, on);
    QFETCH(QString, kind);
    WhisperNotice::Situation situation;
    situation.windowActive = where == QLatin1String("active");
    situation.hiddenInTray = where == QLatin1String("tray");
    situation.trayAvailable = tray;
    situation.trayOn = on;
    situation.own = kind == QLatin1String("own");
    situation.versionEcho = kind == QLatin1String("echo");
    const std::optional<WhisperNotice> notice =
        WhisperNotice::forWhisper(situation, QStringLiteral("bob"), QStringLiteral("psiu"));
    QString shown;
    if (notice) {
        QStringList parts;
        if (notice->trayMessage)
            parts << QStringLiteral("message");
        if (notice->alert)
            parts << QStringLiteral("alert");
        shown = parts.join(QLatin1Char('+'));
        QCOMPARE(notice->title, QStringLiteral("bob"));
        QCOMPARE(notice->body, QStringLiteral("psiu"));
    }
    QTEST(shown, "shown");
}

void TestWhisperNotice::preview_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("body");
    const QString eighty = QString(79, QLatin1Char('a')) + QStringLiteral("é");
    // clang-format off
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("short") << "até já" << "até já";
    QTest::newRow("exactly 80") << eighty << eighty;
    QTest::newRow("81 cut after 80") << eighty + "z" << eighty + QChar(0x2026);
    QTest::newRow("long cut after 80") << eighty + QString(500, QLatin1Char('x')) << eighty + QChar(0x2026);
    // clang-format on
}

// The message shows the first 80 characters; a longer text ends in an ellipsis.
void TestWhisperNotice::preview()
{
    QFETCH(QString, text);
    WhisperNotice::Situation situation;
    situation.trayAvailable = true;
    const std::optional<WhisperNotice> notice =
        WhisperNotice::forWhisper(situation, QStringLiteral("bob"), text);
    QVERIFY(notice);
    QTEST(notice->body, "body");
}

void TestWhisperNotice::mention_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("shown"); // "" nothing, else "title|body"
    // clang-format off
    QTest::newRow("active") << "active" << "Brasil" << "";
    QTest::newRow("inactive") << "inactive" << "Brasil" << "bob em Brasil|oi rafa";
    QTest::newRow("tray") << "tray" << "Brasil" << "bob em Brasil|oi rafa";
    QTest::newRow("no channel known") << "inactive" << "" << "bob|oi rafa";
    // clang-format on
}

// A mention is announced as a whisper is, titled with the channel it was said in; the own and
// version-echo marks of a whisper do not apply to it.
void TestWhisperNotice::mention()
{
    QFETCH(QString, where);
    QFETCH(QString, channel);
    WhisperNotice::Situation situation;
    situation.windowActive = where == QLatin1String("active");
    situation.hiddenInTray = where == QLatin1String("tray");
    situation.trayAvailable = true;
    situation.trayOn = true;
    const std::optional<WhisperNotice> notice = WhisperNotice::forMention(
        situation, QStringLiteral("bob"), channel, QStringLiteral("oi rafa"));
    QTEST(notice ? notice->title + QLatin1Char('|') + notice->body : QString(), "shown");
    if (notice)
        QVERIFY(notice->trayMessage && notice->alert);
}

QTEST_MAIN(TestWhisperNotice)
#include "tst_whispernotice.moc"
