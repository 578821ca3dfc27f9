#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "WindowHarness.h"
#include "chat/UserListModel.h"
#include "net/TChatInterface.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "window/ConnectionControl.h"
#include "window/SingleLineValidator.h"
#include "window/TfrmMain.h"

// The window against a server that sends what no sound server would: whatever arrives, the window
// keeps its connection, shows the next line and sends what the user types.

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("Senha=segredo"), QStringLiteral("[Aparencia]"),
                           QStringLiteral("HorarioMsg=0")};
const QByteArray Login("\x03\x04visitante\rsegredo\r\r");
const QByteArray Join("/join Chat\r");
const QString Marker = QStringLiteral("<ana> marca");
const QString MarkerPieces = QStringLiteral("<ana> |4 + marca|5");
const QString Typed = QStringLiteral("<visitante> |4 + ainda aqui|5");

// The pane's paragraphs from `from` on, each as its pieces "text|style" joined by " + ".
QStringList paneFrom(const ChatView* pane, int from)
{
    QStringList lines;
    for (int back = WindowHarness::paragraphs(pane) - 1 - from; back >= 0; --back)
        lines << WindowHarness::lastPieces(pane, back).join(QLatin1String(" + "));
    return lines;
}

// The accounts of the user list, in its order.
QString users(const TfrmMain* w)
{
    QStringList names;
    for (int i = 0; i < w->users()->count(); ++i)
        names << QLatin1Char('[') + w->users()->at(i).account + QLatin1Char(']');
    return names.join(QLatin1Char(','));
}

void typeLine(TfrmMain* w, const QString& text)
{
    auto* input = w->findChild<QLineEdit*>(QStringLiteral("txtMsg"));
    input->setFocus();
    input->setText(text);
    QTest::keyClick(input, Qt::Key_Return);
}

// A talk line from the server is shown, and a typed line reaches the server on the last
// connection, after whatever it got before.
bool stillWorks(WindowHarness& h)
{
    TfrmMain* w = h.window.get();
    const int client = h.server.clientCount() - 1;
    h.server.sendLine(QStringLiteral("1005 TALK ana 0010 \"marca\""), client);
    // Time stamps may be on.
    if (!QTest::qWaitFor([&] { return WindowHarness::lastText(w->chatPane()).endsWith(Marker); }))
        return false;
    typeLine(w, QStringLiteral("ainda aqui"));
    return h.server.waitForData("ainda aqui\r", 5000, client) && w->loggedIn();
}

// The keys of the sections a broken file may hold, each "[section] key=value", read from a copy
// so that no object of the window shares what it reads.
QStringList storedKeys(const QString& path)
{
    const QString copy = path + QStringLiteral(".copia");
    QFile::remove(copy);
    if (!QFile::copy(path, copy))
        return {QStringLiteral("(no file)")};
    const TIniFile ini(copy);
    QStringList keys;
    for (const char* section : {"Geral", "Lista", "Timers", "Respostas", "Canais", "Aparencia"}) {
        const QString name = QLatin1String(section);
        for (const QString& key : ini.ReadSection(name)) {
            // The two values the window writes of its own.
            if (name == QLatin1String("Timers") &&
                key.compare(QLatin1String("STempo"), Qt::CaseInsensitive) == 0)
                continue;
            keys << QStringLiteral("[%1] %2=%3").arg(name, key, ini.ReadString(name, key, {}));
        }
    }
    QFile::remove(copy);
    return keys;
}

QString suspectRows(const TfrmMain* w)
{
    QStringList rows;
    const auto* list = w->findChild<QTreeWidget*>(QStringLiteral("lstCustom"));
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + QLatin1Char(':') + list->topLevelItem(i)->text(1);
    return rows.join(QLatin1Char(','));
}

// The highest resident size of this process so far, in kB; -1 where it cannot be read.
qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression peak(QStringLiteral("^VmHWM:\\s*(\\d+) kB"),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = peak.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}
} // namespace

class TestWindowHostile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oddServerLines_data();
    void oddServerLines();
    void aTenMegabyteLineWithoutAnEnd();
    void aBurstOfLines();
    void serverClosesMidLine_data();
    void serverClosesMidLine();
    void aPastedLineOfAHundredThousandCharacters_data();
    void aPastedLineOfAHundredThousandCharacters();
    void lineBreaksInAnInputLine_data();
    void lineBreaksInAnInputLine();
    void aBrokenSettingsFile_data();
    void aBrokenSettingsFile();
    void aSettingsFolderUnderAFile();
};

void TestWindowHostile::oddServerLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("shown"); // the pane's new paragraphs before the marker
    QTest::addColumn<QString>("users");     // the user list afterwards

    const QString nul = QStringLiteral("<bob> |4 + a") + QChar(0) + QStringLiteral("b|5");
    const QString high = QStringLiteral("<bob> |4 + \u20ac\u0081\u0178\u00a0\u00e7\u00ff|5");
    // clang-format off
    QTest::newRow("NUL inside a talk") << QByteArray("1005 TALK bob 0010 \"a\0b\"\r\n", 26) << QStringList{nul} << "[ana]";
    QTest::newRow("NUL alone") << QByteArray("\0\r\n", 3) << QStringList{} << "[ana]";
    QTest::newRow("NUL before the code: no event") << QByteArray("\0" "1001 USER bob 0010 [CHAT]\r\n", 28) << QStringList{} << "[ana]";
    QTest::newRow("bytes 0x80 to 0xFF in a talk") << QByteArray("1005 TALK bob 0010 \"\x80\x81\x9f\xa0\xe7\xff\"\r\n") << QStringList{high} << "[ana]";
    QTest::newRow("bytes 0x80 to 0xFF in a name") << QByteArray("1001 USER \xe7\x81\xff 0010 [CHAT]\r\n") << QStringList{} << QStringLiteral("[ana],[\u00e7\u0081\u00ff]");
    QTest::newRow("bytes 0x80 to 0xFF instead of a code") << QByteArray("\xff\xfe\xfd\xfc x\r\n") << QStringList{} << "[ana]";
    QTest::newRow("a code alone: user") << QByteArray("1001\r\n") << QStringList{} << "[ana]";
    QTest::newRow("a code alone: join") << QByteArray("1002\r\n") << QStringList{} << "[ana]";
    QTest::newRow("a code alone: leave") << QByteArray("1003\r\n") << QStringList{} << "[ana]";
    QTest::newRow("a code alone: whisper") << QByteArray("1004\r\n") << QStringList{} << "[ana]";
    QTest::newRow("a code alone: talk") << QByteArray("1005\r\n") << QStringList{"<> |4"} << "[ana]";
    QTest::newRow("a code alone: broadcast") << QByteArray("1006\r\n") << QStringList{""} << "[ana]";
    QTest::newRow("a code alone: channel") << QByteArray("1007\r\n") << QStringList{} << "";
    QTest::newRow("a code alone: flags") << QByteArray("1009\r\n") << QStringList{} << "[ana]";
    QTest::newRow("a code alone: whisper sent") << QByteArray("1010\r\n") << QStringList{} << "[ana]";
    QTest::newRow("a code alone: channel full") << QByteArray("1013\r\n") << QStringList{"O canal esta cheio!|8"} << "[ana]";
    QTest::newRow("a code alone: info") << QByteArray("1018\r\n") << QStringList{""} << "[ana]";
    QTest::newRow("a code alone: error") << QByteArray("1019\r\n") << QStringList{""} << "[ana]";
    QTest::newRow("a code alone: emote") << QByteArray("1023\r\n") << QStringList{"< > |6"} << "[ana]";
    QTest::newRow("a code alone: name") << QByteArray("2010\r\n") << QStringList{} << "[ana]";
    QTest::newRow("codes without fields: talk") << QByteArray("1005 TALK\r\n") << QStringList{"<> |4"} << "[ana]";
    QTest::newRow("codes without fields: user") << QByteArray("1001 USER\r\n") << QStringList{} << "[ana]";
    QTest::newRow("codes without fields: join") << QByteArray("1002 JOIN\r\n") << QStringList{} << "[ana]";
    QTest::newRow("codes without fields: leave") << QByteArray("1003 LEAVE\r\n") << QStringList{} << "[ana]";
    QTest::newRow("codes without fields: flags") << QByteArray("1009 USER\r\n") << QStringList{} << "[ana]";
    QTest::newRow("codes without fields: channel") << QByteArray("1007 CHANNEL\r\n") << QStringList{} << "";
    QTest::newRow("codes without fields: name") << QByteArray("2010 NAME\r\n") << QStringList{} << "[ana]";
    QTest::newRow("codes without fields: whisper sent") << QByteArray("1010 WHISPER\r\n") << QStringList{} << "[ana]";
    QTest::newRow("a lone quote as the message") << QByteArray("1005 TALK bob 0010 \"\r\n") << QStringList{"<bob> |4"} << "[ana]";
    QTest::newRow("a quote that never closes") << QByteArray("1005 TALK bob 0010 \"abc\r\n") << QStringList{"<bob> |4 + ab|5"} << "[ana]";
    QTest::newRow("quotes around the name") << QByteArray("1005 TALK \"bob\" 0010 \"oi\"\r\n") << QStringList{"<\"bob\"> |4 + bob\" 0010 \"oi|5"} << "[ana]";
    QTest::newRow("a quote in the flags") << QByteArray("1001 USER bob 00\"0 [CHAT]\r\n") << QStringList{} << "[ana],[bob]";
    QTest::newRow("three quotes") << QByteArray("1018 INFO \"\"\"\r\n") << QStringList{"\"|7"} << "[ana]";
    QTest::newRow("a channel of one quote") << QByteArray("1007 CHANNEL \"\r\n") << QStringList{} << "";
    QTest::newRow("LF alone and CR alone end lines") << QByteArray("1018 INFO \"um\"\n1018 INFO \"dois\"\r") << QStringList{"um|7", "dois|7"} << "[ana]";
    QTest::newRow("blank lines") << QByteArray("\r\n\r\n \r\n\t\r\n") << QStringList{} << "[ana]";
    // clang-format on
}

void TestWindowHostile::oddServerLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, shown);
    QFETCH(QString, users);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login + Join));
    QVERIFY(h.serverLine(QStringLiteral("1001 USER ana 0010 [CHAT]")));
    const int from = WindowHarness::paragraphs(w->chatPane());
    h.server.send(bytes);
    QVERIFY(stillWorks(h));
    shown << MarkerPieces << Typed;
    QCOMPARE(paneFrom(w->chatPane(), from), shown);
    QCOMPARE(::users(w), users);
    QCOMPARE(h.server.received(), Login + Join + "ainda aqui\r");
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool AddressSanitized = true;
#else
constexpr bool AddressSanitized = false;
#endif
#else
constexpr bool AddressSanitized = false;
#endif

// A line that never ends is dropped piece by piece as it arrives: the window holds no copy of
// it, and the line after its end is read as usual.
void TestWindowHostile::aTenMegabyteLineWithoutAnEnd()
{
    const qint64 before = peakResidentKb();
    if (before < 0)
        QSKIP("the resident size of the process cannot be read here");
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login + Join));
    QVERIFY(stillWorks(h));
    const qint64 start = peakResidentKb();
    const QByteArray piece(64 * 1024, 'x');
    for (int i = 0; i < 160; ++i) {
        h.server.send(piece);
        QVERIFY(h.server.waitForWritten());
    }
    h.server.send("\r\n");
    QVERIFY(stillWorks(h));
    // Far less than one copy of the line; the test's own pieces stay under a megabyte. Under
    // AddressSanitizer freed blocks wait in its quarantine, so the resident size tells nothing.
    if (!AddressSanitized)
        QCOMPARE_LT(peakResidentKb() - start, 4 * 1024);
    for (int p = 0; p < WindowHarness::paragraphs(w->chatPane()); ++p)
        QVERIFY(WindowHarness::lastText(w->chatPane(), p).size() < TChatInterface::MaxLineLength);
}

// 100 000 lines in one send are all handled in order; the window then works as before.
void TestWindowHostile::aBurstOfLines()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login + Join));
    QByteArray burst;
    for (int i = 1; i <= 100000; ++i)
        burst += "1005 TALK bob 0010 \"linha " + QByteArray::number(i) + "\"\r\n";
    h.server.send(burst);
    QVERIFY(QTest::qWaitFor(
        [&] {
            return WindowHarness::lastText(w->chatPane()) == QStringLiteral("<bob> linha 100000");
        },
        60000));
    QCOMPARE(WindowHarness::lastText(w->chatPane(), 1), QStringLiteral("<bob> linha 99999"));
    QVERIFY(stillWorks(h));
}

void TestWindowHostile::serverClosesMidLine_data()
{
    QTest::addColumn<bool>("confirmed"); // the login was confirmed before the close
    QTest::addColumn<QByteArray>("partial");
    QTest::addColumn<QString>("message");

    // clang-format off
    QTest::newRow("logged in, inside a talk") << true << QByteArray("1005 TALK bob 0010 \"meio") << "Conexao interrompida!|8";
    QTest::newRow("logged in, after a CR of a CR LF") << true << QByteArray("1005 TALK bob 0010 \"inteira\"\r") << "Conexao interrompida!|8";
    QTest::newRow("logged in, inside the code") << true << QByteArray("10") << "Conexao interrompida!|8";
    QTest::newRow("during the login, inside its answer") << false << QByteArray("2010 NAME visit") << "Falha no login: verifique a conta e a senha.|8";
    // clang-format on
}

// The server closes with a line half sent: the half is never shown, the window says why it is
// disconnected, and a new connection starts clean.
void TestWindowHostile::serverClosesMidLine()
{
    QFETCH(bool, confirmed);
    QFETCH(QByteArray, partial);
    QFETCH(QString, message);
    // Without the automatic reconnect, which tst_window_reconnect covers.
    QStringList ini = Plain;
    ini.insert(1, QStringLiteral("Reconectar=0"));
    WindowHarness h(ini);
    TfrmMain* w = h.window.get();
    h.confirmLogins = confirmed;
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    QVERIFY(h.server.waitForClient());
    QVERIFY(h.server.waitForData(Login));
    QVERIFY(QTest::qWaitFor([&] { return w->loggedIn() == confirmed; }));
    const int from = WindowHarness::paragraphs(w->chatPane());
    h.server.send(partial);
    h.server.closeClient();
    QVERIFY(QTest::qWaitFor([w] { return !w->chatInterface()->Connected(); }));
    QStringList pane = paneFrom(w->chatPane(), from);
    QVERIFY(!pane.isEmpty());
    QCOMPARE(pane.last(), message);
    QVERIFY(!pane.join(QLatin1Char('\n')).contains(QStringLiteral("meio")));
    QVERIFY(!w->loggedIn());

    QVERIFY(QTest::qWaitFor(
        [w] { return w->feature<ConnectionControl>()->connectDialog() == nullptr; }, 3000));
    h.confirmLogins = true;
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login + Join, 5000, 1));
    QVERIFY(stillWorks(h));
    QCOMPARE(h.server.received(1), Login + Join + "ainda aqui\r");
}

void TestWindowHostile::aPastedLineOfAHundredThousandCharacters_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("shown"); // the pane's last paragraph afterwards

    const QString letters(100000, QLatin1Char('x'));
    const QString own = QStringLiteral("<visitante> ");
    // clang-format off
    QTest::newRow("letters") << letters << QByteArray(100000, 'x') + "\r" << own + letters;
    QTest::newRow("accented letters") << QString(100000, QChar(0xe7)) << QByteArray(100000, '\xe7') + "\r" << own + QString(100000, QChar(0xe7));
    QTest::newRow("characters outside the code page") << QString(100000, QChar(0x4e2d)) << QByteArray(100000, '?') + "\r" << own + QString(100000, QChar(0x4e2d));
    QTest::newRow("a server command") << "/w bob " + letters.left(99993) << "/w bob " + QByteArray(99993, 'x') + "\r" << QString();
    QTest::newRow("a client command of one long word") << "/lock " + letters.left(99994) << QByteArray() << QString();
    QTest::newRow("line breaks become blanks") << QStringLiteral("oi\r\n/quit\nfim\r") << QByteArray("oi /quit fim \r") << QStringLiteral("<visitante> oi /quit fim ");
    QTest::newRow("a client command after a line break goes out as talk") << QStringLiteral("oi\n/lock ana") << QByteArray("oi /lock ana\r") << QStringLiteral("<visitante> oi /lock ana");
    QTest::newRow("a client command before a line break goes nowhere") << QStringLiteral("/lock ana\r\noi") << QByteArray() << QString();
    QTest::newRow("a client command of 50 000 words") << "/lock" + QStringLiteral(" a").repeated(50000) << QByteArray() << QString();
    // clang-format on
}

// A pasted line goes out whole, never cut, or not at all when it is a client command.
void TestWindowHostile::aPastedLineOfAHundredThousandCharacters()
{
    QFETCH(QString, pasted);
    QFETCH(QByteArray, sent);
    QFETCH(QString, shown);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login + Join));
    h.server.clearReceived();
    const QString before = WindowHarness::lastText(w->chatPane());
    // Pasted as the user pastes, from the clipboard.
    auto* input = w->findChild<QLineEdit*>(QStringLiteral("txtMsg"));
    QGuiApplication::clipboard()->setText(pasted);
    input->setFocus();
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(input->text().size(), pasted.size() - pasted.count(QStringLiteral("\r\n")));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(input->text(), QString());
    QCOMPARE(WindowHarness::lastText(w->chatPane()), shown.isEmpty() ? before : shown);
    QVERIFY(stillWorks(h));
    QCOMPARE(h.server.received(), sent + "ainda aqui\r");
}

void TestWindowHostile::lineBreaksInAnInputLine_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("lineCursor");

    // clang-format off
    QTest::newRow("none") << "oi" << 2 << "oi" << 2;
    QTest::newRow("CR LF is one blank") << "a\r\nb" << 4 << "a b" << 3;
    QTest::newRow("lone CR and lone LF") << "a\rb\nc" << 5 << "a b c" << 5;
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << 4 << "a  b" << 4;
    QTest::newRow("cursor before the pair stays") << "a\r\nb" << 1 << "a b" << 1;
    QTest::newRow("cursor inside the pair") << "a\r\nb" << 2 << "a b" << 2;
    QTest::newRow("breaks alone") << "\r\n\r\n" << 4 << "  " << 2;
    // clang-format on
}

void TestWindowHostile::lineBreaksInAnInputLine()
{
    QFETCH(QString, input);
    QFETCH(int, cursor);
    SingleLineValidator validator;
    QCOMPARE(validator.validate(input, cursor), QValidator::Acceptable);
    QTEST(input, "line");
    QTEST(cursor, "lineCursor");
}

void TestWindowHostile::aBrokenSettingsFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("suspects"); // the rows of the suspect list, "account:reason"

    const QByteArray login("[Geral]\r\nLogin=visitante\r\nSenha=segredo\r\n");
    QByteArray garbage;
    quint32 seed = 12345;
    for (int i = 0; i < 8192; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage += char(seed >> 24);
    }
    const QByteArray huge(1024 * 1024, 'a');
    // clang-format off
    QTest::newRow("cut inside a value") << login + "[Lista]\r\nnL=2\r\nAcc1=ana\r\nAcc2=bo" << "ana:,bo:";
    QTest::newRow("cut inside a section name") << login + "[Lista]\r\nnL=1\r\nAcc1=ana\r\n[Tim" << "ana:";
    QTest::newRow("cut inside a key name") << login + "[Lista]\r\nnL=2\r\nAcc1=ana\r\nAc" << "ana:";
    QTest::newRow("binary garbage alone") << garbage << "";
    QTest::newRow("binary garbage around the keys") << garbage + "\r\n" + login + "[Lista]\r\nnL=1\r\nAcc1=ana\r\n" + garbage << "ana:";
    QTest::newRow("NUL and high bytes in values") << login + "[Lista]\r\nnL=1\r\nAcc1=a" + QByteArray(1, '\0') + "b\r\nMot1=\x81\xff\r\n" << QStringLiteral("a") + QChar(0) + QStringLiteral("b:\u0081\u00ff");
    QTest::newRow("a value of a megabyte") << login + "[Lista]\r\nnL=1\r\nAcc1=" + huge + "\r\n" << QString(2047, QLatin1Char('a')) + ":";
    QTest::newRow("a line of a megabyte without a key") << login + "[Lista]\r\n" + huge + "\r\nnL=1\r\nAcc1=ana\r\n" << "ana:";
    QTest::newRow("duplicated sections and keys: the first wins") << login + "[Lista]\r\nnL=1\r\nAcc1=ana\r\nAcc1=zed\r\n[Lista]\r\nnL=5\r\nAcc2=bob\r\n" << "ana:";
    QTest::newRow("count in the repeated section") << login + "[Lista]\r\nAcc1=ana\r\n[Geral]\r\n[Lista]\r\nnL=2\r\nAcc2=bob\r\n" << "ana:,bob:";
    QTest::newRow("every count two billion") << login + "[Lista]\r\nnL=2000000000\r\nAcc1=ana\r\n[Timers]\r\nnTS=2000000000\r\nSTimer1=um\r\n[Respostas]\r\nnRF=2000000000\r\nF1=oi\r\nnRW=2000000000\r\n[Canais]\r\nn=2000000000\r\nc1=Sala\r\n" << "ana:";
    QTest::newRow("a negative count") << login + "[Lista]\r\nnL=-7\r\nAcc1=ana\r\n" << "";
    QTest::newRow("a count beyond 32 bits") << login + "[Lista]\r\nnL=99999999999\r\nAcc1=ana\r\n" << "";
    QTest::newRow("a count that is no number") << login + "[Lista]\r\nnL=dois\r\nAcc1=ana\r\n" << "";
    QTest::newRow("entries missing below the count") << login + "[Lista]\r\nnL=4\r\nAcc2=bob\r\nMot4=spam\r\n" << ":,bob:,:,:spam";
    // clang-format on
}

// The window starts on a settings file a crash, a disk or a hand left broken, works, and leaves
// every key it did not write as it was.
void TestWindowHostile::aBrokenSettingsFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, suspects);
    WindowHarness h;
    h.close();
    const QString path = h.path(QStringLiteral("confs.ini"));
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(file), file.size());
    }
    const QStringList stored = storedKeys(path);
    h.open();
    TfrmMain* w = h.window.get();
    QCOMPARE(suspectRows(w), suspects);
    QVERIFY(h.connectToServer());
    QVERIFY(stillWorks(h));
    h.close();
    QVERIFY(h.prompts.errors.isEmpty());
    QCOMPARE(storedKeys(path), stored);
}

// A settings folder whose parent is a file: nothing can be read or written there, whoever runs
// the program. Each refused write is told in an error box, no file appears, and the window goes
// on working.
void TestWindowHostile::aSettingsFolderUnderAFile()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("arquivo")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = dir.filePath(QStringLiteral("arquivo/tulmo"));
    ScriptedPrompts prompts;
    FakeServer server;
    auto w = std::make_unique<TfrmMain>(folder, &prompts);
    w->chatInterface()->Port = server.port();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // The start-up's one write (the period of the synchronized messages) is refused already.
    QCOMPARE(prompts.errors.size(), 1);
    w->findChild<QAction*>(QStringLiteral("Esticado1"))->trigger();
    QCOMPARE(prompts.errors.size(), 2);
    QVERIFY(prompts.errors[1].startsWith(QStringLiteral("Unable to write to ")));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/confs.ini")));
    QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("arquivo"))).size(), 0);
    w->erro(QStringLiteral("ainda aqui"));
    QCOMPARE(WindowHarness::lastText(w->chatPane()), QStringLiteral("ainda aqui"));
    w->close();
    QCOMPARE(prompts.errors.size(), 3);
}

QTEST_MAIN(TestWindowHostile)
#include "tst_window_hostile.moc"
