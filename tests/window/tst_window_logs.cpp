#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "WindowSession.h"
#include "core/Cp1252.h"
#include "tools/TfrmBusca.h"
#include "tools/TfrmSobre.h"
#include "tools/WebLinks.h"
#include "view/ChatView.h"
#include "window/Logs.h"
#include "window/TfrmMain.h"

namespace {

const QString TextType = QStringLiteral("Arquivo de Texto (*.txt)");
const QString HtmlType = QStringLiteral("Formato HTML (*.html)");
const QString RtfType = QStringLiteral("Documento RTF (*.rtf)");
const QString LogFilter =
    TextType + QStringLiteral(";;") + HtmlType + QStringLiteral(";;") + RtfType;
const QString ChatTitle = QStringLiteral("Salvar LOG da Tela de Chat");
const QString WhispsTitle = QStringLiteral("Salvar LOG da Tela de Whisps");

template <typename T>
T* child(const TfrmMain* w, const char* name)
{
    T* found = w->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no child named %s", name);
    return found;
}

Logs* logs(const TfrmMain* w)
{
    return w->findChild<Logs*>();
}

QString today()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString fileText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    return Cp1252::decode(bytes.constData(), bytes.size());
}

// The files of the folder apart from the settings.
QStringList savedFiles(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("confs.ini"));
    // The automatic logs' folder.
    names.removeAll(QStringLiteral("logs"));
    return names;
}

// A window whose panes hold one line each; the session is logged in only when asked.
struct LogSession
{
    explicit LogSession(bool login = false) : s(QStringLiteral("[Timers]"), {})
    {
        if (login && !s.connect())
            qWarning("the session did not log in");
        s.w->mensagem(QStringLiteral("ana"), QStringLiteral("linha do canal"));
        s.w->whisp(0, QStringLiteral("bia"), QStringLiteral("linha do whisp"));
    }

    QLineEdit* txtMsg() const { return child<QLineEdit>(s.w, "txtMsg"); }
    bool focus(QWidget* widget) const
    {
        widget->setFocus();
        return QTest::qWaitFor([&] { return QApplication::focusWidget() == widget; });
    }

    WindowSession s;
};

} // namespace

class TestWindowLogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savedLog_data();
    void savedLog();
    void htmlLogOfTheChannel();
    void logTypeIsRemembered();
    void unwritableLogIsReported_data();
    void unwritableLogIsReported();
    void salvarLogFollowsTheFocus_data();
    void salvarLogFollowsTheFocus();
    void notepadGetsTheChannelText();
    void notepadFileThatCannotBeWritten();
    void notepadFileAtClose_data();
    void notepadFileAtClose();
    void notepadLeftoverGoesAtStart();
    void selectAllTakesTheFocusedPane_data();
    void selectAllTakesTheFocusedPane();
    void searchWindowOpensOnlyWhenLoggedIn();
    void searchStepsUpward();
    void searchByKeys();
    void webLinks_data();
    void webLinks();
    void nothingToOpenWithIsSaid_data();
    void nothingToOpenWithIsSaid();
    void aboutBox();
    void sairClosesTheWindow();
};

void TestWindowLogs::savedLog_data()
{
    QTest::addColumn<QString>("item"); // mnuSalvarChat or mnuSalvarWhisps
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("begins");

    // clang-format off
    QTest::newRow("channel, text")                 << "mnuSalvarChat"   << TextType << "log"      << "log.txt"       << "<ana> linha do canal\r\n";
    QTest::newRow("channel, text named .txt")      << "mnuSalvarChat"   << TextType << "log.txt"  << "log.txt.txt"   << "<ana> linha do canal\r\n";
    QTest::newRow("channel, html")                 << "mnuSalvarChat"   << HtmlType << "log"      << "log.html"      << "<";
    QTest::newRow("channel, html named .html")     << "mnuSalvarChat"   << HtmlType << "log.html" << "log.html.html" << "<";
    QTest::newRow("channel, rtf")                  << "mnuSalvarChat"   << RtfType  << "log"      << "log.rtf"       << "{\\rtf";
    QTest::newRow("channel, rtf named .rtf")       << "mnuSalvarChat"   << RtfType  << "log.rtf"  << "log.rtf.rtf"   << "{\\rtf";
    QTest::newRow("whispers, text")                << "mnuSalvarWhisps" << TextType << "w"        << "w.txt"         << "<FROM: bia> linha do whisp\r\n";
    QTest::newRow("whispers, html")                << "mnuSalvarWhisps" << HtmlType << "w"        << "w.html"        << "<";
    QTest::newRow("whispers, rtf named .rtf")      << "mnuSalvarWhisps" << RtfType  << "w.rtf"    << "w.rtf.rtf"     << "{\\rtf";
    QTest::newRow("whispers, unknown type is text") << "mnuSalvarWhisps" << "Todos (*)" << "w"     << "w.txt"         << "<FROM: bia> linha do whisp\r\n";
    // clang-format on
}

// Each file is there beforehand: it is replaced without a question.
void TestWindowLogs::savedLog()
{
    QFETCH(QString, item);
    QFETCH(QString, type);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(QString, begins);
    LogSession l;
    TfrmMain* w = l.s.w;
    WindowHarness& h = l.s.h;
    QVERIFY(l.focus(w->chatPane()));
    QFile old(h.path(saved));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("velho");
    old.close();
    h.prompts.chosenFilters.enqueue(type);
    h.prompts.files.enqueue(h.path(typed));
    w->findChild<QAction*>(item)->trigger();

    const bool channel = item == QLatin1String("mnuSalvarChat");
    QCOMPARE(h.prompts.fileTitles, QStringList{channel ? ChatTitle : WhispsTitle});
    QCOMPARE(h.prompts.saveFilters, QStringList{LogFilter});
    // An existing log is replaced without a question; the screenshot dialog asks.
    QCOMPARE(h.prompts.saveAsks, QList<bool>{false});
    QCOMPARE(savedFiles(h.dir.path()), QStringList{saved});
    const QString text = fileText(h.path(saved));
    QVERIFY2(text.startsWith(begins), qPrintable(text.left(80)));
    QVERIFY(text.contains(channel ? QStringLiteral("linha do canal")
                                  : QStringLiteral("linha do whisp")));
    QVERIFY(!text.contains(channel ? QStringLiteral("linha do whisp")
                                   : QStringLiteral("linha do canal")));
    if (type == HtmlType) {
        const QString title = channel ? QStringLiteral("LOG .::. CANAL:  - DATA: ")
                                      : QStringLiteral("LOG .::. WHISPS - ");
        QVERIFY2(
            text.contains(QStringLiteral("<title>") + title + today() + QStringLiteral("</title>")),
            qPrintable(text.left(300)));
    }
    QVERIFY(h.prompts.errors.isEmpty());
    QVERIFY(h.prompts.messages.isEmpty());
    QCOMPARE(QApplication::focusWidget(), l.txtMsg());
}

// The channel's name and the talk of others are markup-free in the page, and the pane shows its
// background picture again afterwards.
void TestWindowLogs::htmlLogOfTheChannel()
{
    LogSession l(true);
    TfrmMain* w = l.s.w;
    WindowHarness& h = l.s.h;
    QVERIFY(h.serverLine(QStringLiteral("1007 CHANNEL \"Sala <&>\"")));
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK bob 0000 \"<b>&amp;\"")));
    w->findChild<QAction*>(QStringLiteral("Ladoalado1"))->trigger();
    QCOMPARE(w->chatPane()->backgroundStyle(), ChatView::BackgroundStyle::Tiled);
    h.prompts.chosenFilters.enqueue(HtmlType);
    h.prompts.files.enqueue(h.path(QStringLiteral("sala")));
    const QString date = today();
    logs(w)->mnuSalvarChatClick();

    const QString page = fileText(h.path(QStringLiteral("sala.html")));
    QVERIFY2(page.contains(QStringLiteral("<title>LOG .::. CANAL: Sala &lt;&amp;&gt; - DATA: ") +
                           date + QStringLiteral("</title>")),
             qPrintable(page.left(300)));
    QVERIFY(page.contains(QStringLiteral("&lt;b&gt;&amp;amp;")));
    QVERIFY(!page.contains(QStringLiteral("<b>&amp;")));
    QVERIFY(!page.contains(QStringLiteral("Sala <&>")));
    QCOMPARE(w->chatPane()->backgroundStyle(), ChatView::BackgroundStyle::Tiled);
}

// The dialog opens on the type chosen last, for either pane; cancelling keeps it.
void TestWindowLogs::logTypeIsRemembered()
{
    LogSession l;
    TfrmMain* w = l.s.w;
    ScriptedPrompts& prompts = l.s.h.prompts;
    prompts.chosenFilters.enqueue(HtmlType);
    prompts.files.enqueue(l.s.h.path(QStringLiteral("a")));
    logs(w)->mnuSalvarChatClick();
    prompts.chosenFilters.enqueue(RtfType);
    prompts.files.enqueue(l.s.h.path(QStringLiteral("b")));
    logs(w)->mnuSalvarWhispsClick();
    prompts.chosenFilters.enqueue(TextType);
    logs(w)->mnuSalvarChatClick(); // cancelled
    prompts.chosenFilters.enqueue(RtfType);
    prompts.files.enqueue(l.s.h.path(QStringLiteral("c")));
    logs(w)->mnuSalvarChatClick();
    QCOMPARE(prompts.filterStarts, (QStringList{TextType, HtmlType, RtfType, RtfType}));
    QCOMPARE(
        savedFiles(l.s.h.dir.path()),
        (QStringList{QStringLiteral("a.html"), QStringLiteral("b.rtf"), QStringLiteral("c.rtf")}));
}

void TestWindowLogs::unwritableLogIsReported_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("extension");

    // clang-format off
    QTest::newRow("channel, text")   << "mnuSalvarChat"   << TextType << ".txt";
    QTest::newRow("channel, html")   << "mnuSalvarChat"   << HtmlType << ".html";
    QTest::newRow("channel, rtf")    << "mnuSalvarChat"   << RtfType  << ".rtf";
    QTest::newRow("whispers, html")  << "mnuSalvarWhisps" << HtmlType << ".html";
    // clang-format on
}

// A folder that is a regular file refuses every file, also to the superuser.
void TestWindowLogs::unwritableLogIsReported()
{
    QFETCH(QString, item);
    QFETCH(QString, type);
    QFETCH(QString, extension);
    LogSession l;
    TfrmMain* w = l.s.w;
    WindowHarness& h = l.s.h;
    QFile blocker(h.path(QStringLiteral("arquivo")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    w->findChild<QAction*>(QStringLiteral("Esticado1"))->trigger();
    QVERIFY(l.focus(w->chatPane()));
    h.prompts.chosenFilters.enqueue(type);
    const QString typed = h.path(QStringLiteral("arquivo/log"));
    h.prompts.files.enqueue(typed);
    w->findChild<QAction*>(item)->trigger();
    QCOMPARE(h.prompts.errors,
             QStringList{QStringLiteral("Não foi possível salvar o arquivo ") +
                         QDir::toNativeSeparators(typed + extension) + QLatin1Char('.')});
    QCOMPARE(savedFiles(h.dir.path()), QStringList{QStringLiteral("arquivo")});
    QCOMPARE(w->chatPane()->backgroundStyle(), ChatView::BackgroundStyle::Stretched);
    QCOMPARE(QApplication::focusWidget(), l.txtMsg());
}

void TestWindowLogs::salvarLogFollowsTheFocus_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("title");

    // clang-format off
    QTest::newRow("whisper pane")  << "txtWhisps" << WhispsTitle;
    QTest::newRow("channel pane")  << "txtChat"   << ChatTitle;
    QTest::newRow("input line")    << "txtMsg"    << ChatTitle;
    QTest::newRow("user list")     << "lstUsers"  << ChatTitle;
    // clang-format on
}

void TestWindowLogs::salvarLogFollowsTheFocus()
{
    QFETCH(QString, focus);
    LogSession l;
    TfrmMain* w = l.s.w;
    QVERIFY(l.focus(w->findChild<QWidget*>(focus)));
    l.s.h.prompts.files.enqueue(l.s.h.path(QStringLiteral("log")));
    w->findChild<QAction*>(QStringLiteral("SalvarLog1"))->trigger();
    QTEST(l.s.h.prompts.fileTitles.value(0), "title");
    const QString text = fileText(l.s.h.path(QStringLiteral("log.txt")));
    QCOMPARE(text.contains(QStringLiteral("linha do whisp")), focus == QLatin1String("txtWhisps"));
    QCOMPARE(text.contains(QStringLiteral("linha do canal")), focus != QLatin1String("txtWhisps"));
}

// The editor is asked while the file holds the channel pane's text; the file goes after the wait.
void TestWindowLogs::notepadGetsTheChannelText()
{
    LogSession l;
    TfrmMain* w = l.s.w;
    WindowHarness& h = l.s.h;
    const QString path = h.path(QStringLiteral("chat.txt"));
    auto* tmrNotepad = w->findChild<QTimer*>(QStringLiteral("tmrNotepad"));
#ifdef Q_OS_WIN
    QCOMPARE(tmrNotepad->interval(), 1000);
#else
    QCOMPARE(tmrNotepad->interval(), 10000);
#endif
    logs(w)->setNotepadDelayForTests(50);
    QString whileAsked;
    h.shell.whileAsked = [&] { whileAsked = fileText(path); };
    QVERIFY(l.focus(w->chatPane()));
    QTest::mouseClick(child<QToolButton>(w, "btnNotepad"), Qt::LeftButton);

    QCOMPARE(whileAsked, QStringLiteral("<ana> linha do canal\r\n"));
#ifdef Q_OS_WIN
    QCOMPARE(h.shell.started.size(), 1);
    QCOMPARE(h.shell.started[0].program, QStringLiteral("notepad.exe"));
    QCOMPARE(h.shell.started[0].arguments, QStringList{QDir::toNativeSeparators(path)});
#else
    QCOMPARE(h.shell.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    QVERIFY(h.shell.started.isEmpty());
#endif
    QCOMPARE(QApplication::focusWidget(), l.txtMsg());
    QVERIFY(QFile::exists(path));
    QTRY_VERIFY(!QFile::exists(path));
}

// Nothing is handed over when the file cannot be written: the editor would show an old text.
void TestWindowLogs::notepadFileThatCannotBeWritten()
{
    LogSession l;
    TfrmMain* w = l.s.w;
    WindowHarness& h = l.s.h;
    QVERIFY(QDir(h.dir.path()).mkdir(QStringLiteral("chat.txt")));
    logs(w)->btnNotepadClick();
    QCOMPARE(h.prompts.errors,
             QStringList{QStringLiteral("Não foi possível salvar o arquivo ") +
                         QDir::toNativeSeparators(h.path(QStringLiteral("chat.txt"))) +
                         QLatin1Char('.')});
    QVERIFY(h.shell.opened.isEmpty());
    QVERIFY(h.shell.started.isEmpty());
    QCOMPARE(QApplication::focusWidget(), l.txtMsg());
}

void TestWindowLogs::notepadFileAtClose_data()
{
    QTest::addColumn<int>("readMs"); // how long an editor may take to read the file
    QTest::addColumn<bool>("goneAtClose");
    // clang-format off
    QTest::newRow("editor asked long enough before") << 0 << true;
    QTest::newRow("editor still starting") << 60000 << false;
    // clang-format on
}

// Closing during the wait removes the file once the editor has had its time to read it;
// otherwise the file is left to the editor and goes at the next start.
void TestWindowLogs::notepadFileAtClose()
{
    QFETCH(int, readMs);
    QFETCH(bool, goneAtClose);
    LogSession l;
    WindowHarness& h = l.s.h;
    const QString path = h.path(QStringLiteral("chat.txt"));
    logs(h.window.get())->setNotepadDelayForTests(60000);
    logs(h.window.get())->setNotepadReadTimeForTests(readMs);
    logs(h.window.get())->btnNotepadClick();
    QVERIFY(QFile::exists(path));

    h.close();
    QCOMPARE(QFile::exists(path), !goneAtClose);
    h.open();
    QVERIFY(!QFile::exists(path));
}

// A file left by an earlier run, whatever it holds, goes when the window is created.
void TestWindowLogs::notepadLeftoverGoesAtStart()
{
    LogSession l;
    WindowHarness& h = l.s.h;
    h.close();
    const QString path = h.path(QStringLiteral("chat.txt"));
    QFile leftover(path);
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.write("<ana> de ontem\r\n");
    leftover.close();
    h.open();
    QVERIFY(!QFile::exists(path));
}

void TestWindowLogs::selectAllTakesTheFocusedPane_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("chat");
    QTest::addColumn<bool>("whisps");

    // clang-format off
    QTest::newRow("channel pane") << "txtChat"   << true  << false;
    QTest::newRow("whisper pane") << "txtWhisps" << false << true;
    QTest::newRow("input line")   << "txtMsg"    << false << false;
    QTest::newRow("user list")    << "lstUsers"  << false << false;
    // clang-format on
}

void TestWindowLogs::selectAllTakesTheFocusedPane()
{
    QFETCH(QString, focus);
    QFETCH(bool, chat);
    QFETCH(bool, whisps);
    LogSession l;
    TfrmMain* w = l.s.w;
    w->mensagem(QStringLiteral("ana"), QStringLiteral("segunda"));
    QTest::keyClicks(l.txtMsg(), QStringLiteral("abc"));
    QWidget* target = w->findChild<QWidget*>(focus);
    QVERIFY(l.focus(target));
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w->chatPane()->selectedText(),
             chat ? QStringLiteral("<ana> linha do canal\n<ana> segunda") : QString());
    QCOMPARE(w->whisperPane()->selectedText(),
             whisps ? QStringLiteral("<FROM: bia> linha do whisp") : QString());
    QCOMPARE(l.txtMsg()->selectedText(), QString());
}

void TestWindowLogs::searchWindowOpensOnlyWhenLoggedIn()
{
    LogSession l;
    TfrmMain* w = l.s.w;
    QVERIFY(l.focus(l.txtMsg()));
    QTest::keyClick(l.txtMsg(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(w->findChildren<TfrmBusca*>().isEmpty());
    QVERIFY(l.s.connect());
    QVERIFY(l.focus(l.txtMsg()));
    QTest::keyClick(l.txtMsg(), Qt::Key_F, Qt::ControlModifier);
    w->activateWindow();
    QApplication::setActiveWindow(w);
    QVERIFY(l.focus(l.txtMsg()));
    QTest::keyClick(l.txtMsg(), Qt::Key_F, Qt::ControlModifier);
    const QList<TfrmBusca*> windows = w->findChildren<TfrmBusca*>();
    QCOMPARE(windows.size(), 2);
    for (TfrmBusca* busca : windows) {
        QVERIFY(busca->isVisible());
        QVERIFY(!busca->isModal());
        QCOMPARE(busca->windowTitle(), QStringLiteral("Procurar..."));
        QCOMPARE(busca->size(), QSize(279, 66));
        QCOMPARE(busca->minimumSize(), busca->maximumSize());
        QVERIFY(busca->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(busca->Label1->text(), QStringLiteral("Procurar por..."));
        QCOMPARE(busca->btnAcima->text(), QStringLiteral("Buscar"));
        QVERIFY(busca->btnAcima->isDefault());
        QCOMPARE(busca->btnAbaixo->text(), QStringLiteral("Fechar"));
        QVERIFY(busca->btnAbaixo->y() >= busca->height());
    }
}

// Upward from the newest line, one earlier hit per press, any case, inside words; only the
// channel pane, whichever pane has the focus.
void TestWindowLogs::searchStepsUpward()
{
    LogSession l(true);
    TfrmMain* w = l.s.w;
    w->info(QStringLiteral("Ação No começo"));
    w->info(QStringLiteral("nada aqui"));
    w->info(QStringLiteral("reAÇÃOes nO meio"));
    w->info(QStringLiteral("fim"));
    w->whisp(0, QStringLiteral("bia"), QStringLiteral("ação no whisp"));
    QVERIFY(l.focus(w->whisperPane()));
    logs(w)->CtrlFExecute();
    auto* busca = w->findChild<TfrmBusca*>();
    QVERIFY(busca);
    busca->txtBusca->setText(QStringLiteral("ação"));
    busca->btnAcima->click();
    QCOMPARE(w->chatPane()->selectedText(), QStringLiteral("AÇÃO"));
    busca->btnAcima->click();
    QCOMPARE(w->chatPane()->selectedText(), QStringLiteral("Ação"));
    busca->btnAcima->click(); // no earlier hit: the last one stays
    QCOMPARE(w->chatPane()->selectedText(), QStringLiteral("Ação"));
    QVERIFY(!w->whisperPane()->hasSelection());
    busca->txtBusca->setText(QStringLiteral("ÇÃ"));
    busca->txtBusca->clear();
    QVERIFY(!w->chatPane()->hasSelection());
    // Without a selection the search starts again at the newest line.
    busca->txtBusca->setText(QStringLiteral("NO"));
    busca->btnAcima->click();
    QCOMPARE(w->chatPane()->selectedText(), QStringLiteral("nO"));
    busca->btnAcima->click();
    QCOMPARE(w->chatPane()->selectedText(), QStringLiteral("No"));
}

// Enter presses "Buscar"; Esc closes the window.
void TestWindowLogs::searchByKeys()
{
    LogSession l(true);
    TfrmMain* w = l.s.w;
    w->info(QStringLiteral("procure aqui"));
    logs(w)->CtrlFExecute();
    QPointer<TfrmBusca> busca = w->findChild<TfrmBusca*>();
    QVERIFY(busca);
    busca->activateWindow();
    QApplication::setActiveWindow(busca);
    busca->txtBusca->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), busca->txtBusca);
    QTest::keyClicks(busca->txtBusca, QStringLiteral("AQUI"));
    QTest::keyClick(busca->txtBusca, Qt::Key_Return);
    QCOMPARE(w->chatPane()->selectedText(), QStringLiteral("aqui"));
    QTest::keyClick(busca->txtBusca, Qt::Key_Escape);
    QTRY_VERIFY(busca.isNull());
    QCOMPARE(w->chatPane()->selectedText(), QStringLiteral("aqui"));
}

void TestWindowLogs::webLinks_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("suffix"); // after the site's address

    // clang-format off
    QTest::newRow("site button")  << "btnSite"  << "";
    QTest::newRow("forum button") << "btnForum" << "/forum";
    QTest::newRow("site item")    << "mnuSite"  << "";
    QTest::newRow("forum item")   << "mnuForum" << "/forum";
    // clang-format on
}

void TestWindowLogs::webLinks()
{
    QFETCH(QString, control);
    QFETCH(QString, suffix);
    LogSession l;
    TfrmMain* w = l.s.w;
    QVERIFY(l.focus(w->chatPane()));
    if (auto* button = w->findChild<QToolButton*>(control))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        w->findChild<QAction*>(control)->trigger();
    QCOMPARE(l.s.h.shell.opened, QList<QUrl>{QUrl(WebLinks::site().toString() + suffix)});
    QVERIFY(l.s.h.shell.started.isEmpty());
    QCOMPARE(QApplication::focusWidget(), l.txtMsg());
}

void TestWindowLogs::nothingToOpenWithIsSaid_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("what"); // empty: the Notepad file

    // clang-format off
    QTest::newRow("site")    << "btnSite"    << WebLinks::site().toDisplayString();
    QTest::newRow("forum")   << "btnForum"   << WebLinks::forum().toDisplayString();
    QTest::newRow("notepad") << "btnNotepad" << "";
    // clang-format on
}

void TestWindowLogs::nothingToOpenWithIsSaid()
{
    QFETCH(QString, control);
    QFETCH(QString, what);
    LogSession l;
    TfrmMain* w = l.s.w;
    l.s.h.shell.succeeds = false;
    if (what.isEmpty())
        what = QDir::toNativeSeparators(l.s.h.path(QStringLiteral("chat.txt")));
    QTest::mouseClick(w->findChild<QToolButton*>(control), Qt::LeftButton);
    QCOMPARE(WindowHarness::lastPieces(w->chatPane()),
             QStringList{QStringLiteral("Não foi possível abrir ") + what +
                         QStringLiteral(": nenhum programa para abri-lo.|8")});
    QCOMPARE(QApplication::focusWidget(), l.txtMsg());
    QVERIFY(l.s.h.prompts.errors.isEmpty());

    // Opened, nothing is said.
    l.s.h.shell.succeeds = true;
    const int lines = WindowHarness::paragraphs(w->chatPane());
    QTest::mouseClick(w->findChild<QToolButton*>(control), Qt::LeftButton);
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()), lines);
}

void TestWindowLogs::aboutBox()
{
    LogSession l;
    TfrmMain* w = l.s.w;
    QVERIFY(l.focus(l.txtMsg()));
    QWidget* focusWhileShown = nullptr;
    int result = -1;
    l.s.h.prompts.dialogs.enqueue([&](QDialog& dialog) {
        focusWhileShown = w->focusWidget();
        auto* box = qobject_cast<TfrmSobre*>(&dialog);
        if (!box)
            return int(QDialog::Rejected);
        [&] {
            QCOMPARE(box->size(), QSize(281, 197));
            QCOMPARE(box->minimumSize(), box->maximumSize());
            QCOMPARE(box->palette().color(QPalette::Window), QColor(Qt::white));
            QCOMPARE(box->ProgramIcon->pixmap().size(), QSize(235, 130));
            QCOMPARE(box->ProductName->text(), QStringLiteral("Tulmo Chat"));
            QCOMPARE(box->ProductName->font().family(), QStringLiteral("Verdana"));
            QCOMPARE(box->ProductName->font().pixelSize(), 19);
            QVERIFY(box->ProductName->font().bold());
            QCOMPARE(box->Label2->text(), QStringLiteral("Light"));
            QCOMPARE(box->Label2->font().family(), QStringLiteral("Tahoma"));
            QCOMPARE(box->Label2->font().pixelSize(), 13);
            QVERIFY(box->Label2->font().bold());
            QCOMPARE(box->Label2->palette().color(QPalette::WindowText), QColor(Qt::red));
            QVERIFY(box->Label2->x() > box->ProductName->geometry().right());
            QCOMPARE(box->Version->text(), QStringLiteral("Versão 1.5.87"));
            QCOMPARE(box->OKButton->text(), QStringLiteral("OK"));
            QVERIFY(box->OKButton->isDefault());
        }();
        box->OKButton->click();
        result = box->result();
        return result;
    });
    w->findChild<QAction*>(QStringLiteral("mnuSobre"))->trigger();
    QCOMPARE(l.s.h.prompts.dialogTitles, QStringList{QStringLiteral("Sobre....")});
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(focusWhileShown, w->chatPane());
    QCOMPARE(QApplication::focusWidget(), l.txtMsg());
}

void TestWindowLogs::sairClosesTheWindow()
{
    LogSession l;
    TfrmMain* w = l.s.w;
    QVERIFY(w->isVisible());
    w->findChild<QAction*>(QStringLiteral("mnuSair"))->trigger();
    QVERIFY(!w->isVisible());
}

QTEST_MAIN(TestWindowLogs)
#include "tst_window_logs.moc"
