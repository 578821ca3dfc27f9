#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "WindowHarness.h"
#include "net/TChatInterface.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/AutoLogs.h"
#include "window/TfrmMain.h"

namespace {

const QStringList Ini = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                         QStringLiteral("Senha=segredo"), QStringLiteral("[Aparencia]"),
                         QStringLiteral("HorarioMsg=0")};

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

QString logFile(const WindowHarness& h, const char* stream)
{
    return h.path(QStringLiteral("logs/%1-%2.txt").arg(QLatin1String(stream), today()));
}

QString fileText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qWarning("could not write %s", qPrintable(path));
}

// Waits until the file holds the line, and gives what it holds then.
QString logUpTo(const QString& path, const QString& line)
{
    QString text;
    (void)QTest::qWaitFor([&] {
        text = fileText(path);
        return text.contains(line + QStringLiteral("\r\n"));
    });
    return text;
}

int errorLines(const ChatView* pane, const QString& start)
{
    int count = 0;
    const ChatDocument& document = pane->document();
    for (int p = 0; p < document.paragraphCount(); ++p) {
        const QList<ChatPiece> pieces = document.pieces(p);
        count += !pieces.isEmpty() && pieces.first().style == StyleTable::Erro &&
                 pieces.first().text.startsWith(start);
    }
    return count;
}

// Opens the window as the harness does, but leaves the panes as the window fills them.
bool openAsIs(WindowHarness& h)
{
    h.window = std::make_unique<TfrmMain>(h.dir.path(), &h.prompts);
    h.window->setShell(&h.shell);
    h.window->chatInterface()->Port = h.server.port();
    h.window->show();
    return QTest::qWaitForWindowExposed(h.window.get());
}

} // namespace

class TestWindowAutoLogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void linesReachTheFiles();
    void clearingNeitherRelogsNorLoses();
    void optionOff();
    void historyAtStart();
    void unwritableFolderSaysSoOnce();
};

// Lines from the server, the pane writers and the client's own commands reach the day's file of
// their pane as the text log writes them; the files are their owner's only.
void TestWindowAutoLogs::linesReachTheFiles()
{
    WindowHarness h(Ini);
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK ana 0000 \"olá, ação\"")));
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER bia 0000 \"psiu\"")));
    h.window->whisp(1, QStringLiteral("bia"), QStringLiteral("oi"));
    h.window->findChild<QAction*>(QStringLiteral("mnuLimpaTelaChat"))->trigger();
    h.window->info(QStringLiteral("depois de limpar"));
    const QString chat = logUpTo(logFile(h, "chat"), QStringLiteral("depois de limpar"));
    QVERIFY2(chat.contains(QStringLiteral("\r\n<ana> olá, ação\r\n")), qPrintable(chat));
    QCOMPARE(chat.count(QStringLiteral("<ana> olá, ação")), 1);
    QVERIFY2(!chat.contains(QStringLiteral("psiu")), qPrintable(chat));
    const QString whisps = logUpTo(logFile(h, "whisps"), QStringLiteral("<TO: bia> oi"));
    QCOMPARE(whisps, QStringLiteral("<FROM: bia> psiu\r\n<TO: bia> oi\r\n"));
    QCOMPARE(QFileInfo(h.path(QStringLiteral("logs"))).permissions() & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(QFileInfo(logFile(h, "whisps")).permissions() & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner);
}

// Lines cleared, or dropped past the pane's ceiling, before their batch was logged still reach
// the file, once; what follows goes on after them.
void TestWindowAutoLogs::clearingNeitherRelogsNorLoses()
{
    WindowHarness h(Ini);
    ChatView* pane = h.window->chatPane();
    pane->setMaxParagraphs(16);
    QStringList expected;
    h.window->info(QStringLiteral("um"));
    pane->clearView();
    h.window->info(QStringLiteral("dois"));
    expected << QStringLiteral("um") << QStringLiteral("dois");
    for (int i = 0; i < 40; ++i) {
        h.window->info(QStringLiteral("linha %1").arg(i));
        expected << QStringLiteral("linha %1").arg(i);
    }
    pane->clearView();
    pane->clearView();
    h.window->info(QStringLiteral("fim"));
    expected << QStringLiteral("fim");
    const QString text = logUpTo(logFile(h, "chat"), QStringLiteral("fim"));
    QVERIFY2(text.endsWith(expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")),
             qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("um\r\n")), 1);
}

// Off, nothing is written and no history is read; switched on in the options, the lines from
// then on are logged, and switched off again, no more.
void TestWindowAutoLogs::optionOff()
{
    WindowHarness h(Ini + QStringList{QStringLiteral("[Geral]"), QStringLiteral("LogsAuto=0")});
    QVERIFY(h.connectToServer());
    QVERIFY(QDir().mkdir(h.path(QStringLiteral("logs"))));
    writeFile(logFile(h, "chat"), "antiga\r\n");
    h.close();
    h.open();
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK ana 0000 \"antes\"")));
    QVERIFY(WindowHarness::settle(w));
    QCOMPARE(w->chatPane()->document().historyCount(), 0);
    QCOMPARE(fileText(logFile(h, "chat")), QStringLiteral("antiga\r\n"));
    QVERIFY(!w->feature<AutoLogs>()->isWriting());

    Settings::write(*w->settings(), Keys::Geral::LogsAuto, true);
    w->feature<AutoLogs>()->applyOptions();
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK ana 0000 \"ligado\"")));
    // The server's line and the marker after it.
    QVERIFY(logUpTo(logFile(h, "chat"), QStringLiteral("<ana> ligado"))
                .startsWith(QStringLiteral("antiga\r\n<ana> ligado\r\n")));
    Settings::write(*w->settings(), Keys::Geral::LogsAuto, false);
    w->feature<AutoLogs>()->applyOptions();
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK ana 0000 \"desligado\"")));
    QVERIFY(WindowHarness::settle(w));
    QVERIFY(!fileText(logFile(h, "chat")).contains(QStringLiteral("desligado")));
}

// The last lines of the latest files come back at the head of each pane under the date of their
// file. They are not logged again, the saved logs leave them out, and find sees them.
void TestWindowAutoLogs::historyAtStart()
{
    WindowHarness h(Ini);
    h.close();
    QDir(h.path(QStringLiteral("logs"))).removeRecursively();
    QVERIFY(QDir().mkdir(h.path(QStringLiteral("logs"))));
    QByteArray many;
    for (int i = 0; i < 250; ++i)
        many += "<ana> velha " + QByteArray::number(i) + "\r\n";
    writeFile(h.path(QStringLiteral("logs/chat-2026-12-10.txt")), many);
    writeFile(h.path(QStringLiteral("logs/whisps-2026-11-30.txt")), "<FROM: bia> sussurro\r\n");
    QVERIFY(openAsIs(h));
    TfrmMain* w = h.window.get();
    ChatView* chat = w->chatPane();
    ChatView* whisps = w->whisperPane();
    QTRY_COMPARE(chat->document().historyCount(), 201);
    QTRY_COMPARE(whisps->document().historyCount(), 2);
    QCOMPARE(chat->document().paragraphText(0), QStringLiteral("— histórico de 10/12/2026 —"));
    QCOMPARE(chat->document().paragraphText(1), QStringLiteral("<ana> velha 50"));
    QCOMPARE(chat->document().paragraphText(200), QStringLiteral("<ana> velha 249"));
    QCOMPARE(whisps->document().paragraphText(0), QStringLiteral("— histórico de 30/11/2026 —"));
    QCOMPARE(whisps->document().paragraphText(1), QStringLiteral("<FROM: bia> sussurro"));

    // The pane's own lines follow the history, in the file and in the saved log alike.
    QStringList session;
    for (int p = 201; p < chat->document().paragraphCount(); ++p)
        session << chat->document().paragraphText(p);
    w->info(QStringLiteral("nova"));
    session << QStringLiteral("nova");
    const QString expected = session.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QCOMPARE(logUpTo(logFile(h, "chat"), QStringLiteral("nova")), expected);

    h.prompts.chosenFilters.enqueue(QStringLiteral("Arquivo de Texto (*.txt)"));
    h.prompts.files.enqueue(h.path(QStringLiteral("salvo")));
    w->findChild<QAction*>(QStringLiteral("mnuSalvarChat"))->trigger();
    QCOMPARE(fileText(h.path(QStringLiteral("salvo.txt"))), expected);
    QVERIFY(!expected.contains(QStringLiteral("velha")));

    QVERIFY(chat->findText(QStringLiteral("velha 77"), {}));
    QCOMPARE(chat->selectedText(), QStringLiteral("velha 77"));
}

// A logs folder that cannot be made gives one error line in the channel pane; the chat goes on.
void TestWindowAutoLogs::unwritableFolderSaysSoOnce()
{
    WindowHarness h(Ini);
    h.close();
    QDir(h.path(QStringLiteral("logs"))).removeRecursively();
    writeFile(h.path(QStringLiteral("logs")), "um arquivo");
    QVERIFY(openAsIs(h));
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    const QString start = QStringLiteral("Não foi possível gravar o log ") +
                          QDir::toNativeSeparators(h.path(QStringLiteral("logs")));
    QTRY_COMPARE(errorLines(w->chatPane(), start), 1);
    for (int i = 0; i < 3; ++i)
        QVERIFY(h.serverLine(QStringLiteral("1005 TALK ana 0000 \"mais %1\"").arg(i)));
    QVERIFY(WindowHarness::settle(w));
    QCOMPARE(errorLines(w->chatPane(), start), 1);
    QCOMPARE(WindowHarness::lastText(w->chatPane(), 1), QStringLiteral("<ana> mais 2"));
    QVERIFY(!w->feature<AutoLogs>()->isWriting());
}

QTEST_MAIN(TestWindowAutoLogs)
#include "tst_window_autologs.moc"
