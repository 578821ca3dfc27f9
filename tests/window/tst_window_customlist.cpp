#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include <functional>

#include "WindowHarness.h"
#include "chat/UserListModel.h"
#include "net/TGatewayChat.h"
#include "window/Moderation.h"
#include "window/TLockWhisps.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("Senha=segredo")};

// Three suspects, the second without a reason key.
const QStringList Three = {"[Lista]",  "nL=3",     "Acc1=ana", "Mot1=flood",
                           "Acc2=bob", "Acc3=cid", "Mot3=spam"};

QTreeWidget* suspects(TfrmMain* w)
{
    return w->findChild<QTreeWidget*>(QStringLiteral("lstCustom"));
}

// The rows of the suspect list, each "account|reason".
QStringList rows(TfrmMain* w)
{
    QStringList result;
    QTreeWidget* list = suspects(w);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        result << list->topLevelItem(i)->text(0) + QLatin1Char('|') +
                      list->topLevelItem(i)->text(1);
    return result;
}

// The lines of section Lista in confs.ini, in the file's order.
QStringList listaSection(const WindowHarness& h)
{
    QStringList result;
    bool inside = false;
    for (const QString& line : h.iniText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('[')))
            inside = line == QLatin1String("[Lista]");
        else if (inside)
            result << line;
    }
    return result;
}

void selectSuspect(TfrmMain* w, int row)
{
    suspects(w)->setCurrentItem(suspects(w)->topLevelItem(row));
}

void run(TfrmMain* w, const char* name)
{
    w->findChild<QAction*>(QLatin1String(name))->trigger();
}

// A step of a table that chooses nothing new.
constexpr int Again = -2;

// What the window sent while `action` ran, up to a marker line sent after it.
QByteArray sentDuring(WindowHarness& h, const std::function<void()>& action)
{
    const int client = h.server.clientCount() - 1;
    h.server.clearReceived(client);
    action();
    h.window->gatewayChat()->SendLine(QStringLiteral("MARCA\r"));
    if (!h.server.waitForData("MARCA\r", 5000, client))
        return "no marker";
    const QByteArray got = h.server.received(client);
    return got.left(got.indexOf("MARCA\r"));
}

// Writes confs.ini as a hand would, behind the open window's back.
void rewrite(const WindowHarness& h, const QStringList& lines)
{
    QFile file(h.path(QStringLiteral("confs.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
}
} // namespace

class TestWindowCustomList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filledAtStart();
    void add_data();
    void add();
    void editReason_data();
    void editReason();
    void remove_data();
    void remove();
    void refusedWriteKeepsTheList();
    void whois_data();
    void whois();
    void lockWhisper_data();
    void lockWhisper();
    void nothingSelectedAfterADelete_data();
    void nothingSelectedAfterADelete();
    void keptAcrossRuns();
};

void TestWindowCustomList::filledAtStart()
{
    WindowHarness h(Plain + Three);
    QCOMPARE(rows(h.window.get()), (QStringList{"ana|flood", "bob|", "cid|spam"}));
}

void TestWindowCustomList::add_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("route"); // "box", or "users" for the user list's item
    QTest::addColumn<bool>("opMode");
    QTest::addColumn<QString>("select"); // account selected in the user list
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<QStringList>("rows");

    const QStringList none;
    const QStringList two = {"[Lista]", "nL=2", "Acc1=ana", "Mot1=flood", "Acc2=bob"};
    const QStringList twoRows = {"ana|flood", "bob|"};
    // clang-format off
    QTest::newRow("box, third entry without reason") << two << "box" << false << "" << QStringList{"x"} << QStringList{"nL=3", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=x"} << QStringList{"ana|flood", "bob|", "x|"};
    QTest::newRow("box, first entry of an empty file") << QStringList{} << "box" << false << "" << QStringList{"x"} << QStringList{"nL=1", "Acc1=x"} << QStringList{"x|"};
    QTest::newRow("box, the same account twice") << two << "box" << false << "" << QStringList{"bob"} << QStringList{"nL=3", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=bob"} << QStringList{"ana|flood", "bob|", "bob|"};
    QTest::newRow("box, line break in the account") << two << "box" << false << "" << QStringList{"x\ry"} << QStringList{"nL=3", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=x y"} << QStringList{"ana|flood", "bob|", "x y|"};
    QTest::newRow("box cancelled") << two << "box" << false << "" << none << two.mid(1) << twoRows;
    QTest::newRow("box left empty") << two << "box" << false << "" << QStringList{""} << two.mid(1) << twoRows;
    QTest::newRow("user list") << two << "users" << true << "Mod" << none << QStringList{"nL=3", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=Mod"} << QStringList{"ana|flood", "bob|", "Mod|"};
    QTest::newRow("user list, nothing selected") << two << "users" << true << "" << none << two.mid(1) << twoRows;
    QTest::newRow("user list, not in operator mode") << two << "users" << false << "Mod" << none << two.mid(1) << twoRows;
    QTest::newRow("box, count raised by hand to two billion") << QStringList{"[Lista]", "nL=2000000000", "Acc1=ana", "Mot1=flood", "Acc2=bob"} << "box" << false << "" << QStringList{"x"} << QStringList{"nL=3", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=x"} << QStringList{"ana|flood", "bob|", "x|"};
    // clang-format on
}

void TestWindowCustomList::add()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, route);
    QFETCH(bool, opMode);
    QFETCH(QString, select);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, lista);
    QFETCH(QStringList, rows);

    WindowHarness h(Plain + stored);
    TfrmMain* w = h.window.get();
    if (opMode)
        w->findChild<Moderation*>()->enterOpMode();
    for (const QString& answer : answers)
        h.prompts.files.enqueue(answer);
    w->users()->addUser(QStringLiteral("Mod"), QStringLiteral("0002"), QStringLiteral("CHAT"));
    if (!select.isEmpty())
        w->findChild<QTreeView*>(QStringLiteral("lstUsers"))
            ->setCurrentIndex(w->users()->index(w->users()->indexOf(select), 0));
    if (route == QLatin1String("box")) {
        run(w, "popAddCustom");
        QCOMPARE(h.prompts.inputs,
                 QStringList{"Accounts suspeitas|Digite a account a ser adicionada:|"});
    } else {
        w->findChild<QAction*>(QStringLiteral("AdicionarLista1"))->setVisible(true);
        run(w, "AdicionarLista1");
        QVERIFY(h.prompts.inputs.isEmpty());
    }

    QCOMPARE(listaSection(h), lista);
    QCOMPARE(::rows(w), rows);
    QVERIFY(h.prompts.errors.isEmpty());
    QTRY_VERIFY(w->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->hasFocus());
}

void TestWindowCustomList::editReason_data()
{
    QTest::addColumn<int>("row"); // -1: none selected
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<QStringList>("rows");

    const QStringList none;
    // clang-format off
    QTest::newRow("reason of row 1 added") << 1 << QStringList{"spam"} << QStringList{"Accounts suspeitas|Digite o motivo da suspeita:|"} << QStringList{"nL=3", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=cid", "Mot3=spam", "Mot2=spam"} << QStringList{"ana|flood", "bob|spam", "cid|spam"};
    QTest::newRow("reason of row 0 replaced") << 0 << QStringList{"bot"} << QStringList{"Accounts suspeitas|Digite o motivo da suspeita:|flood"} << QStringList{"nL=3", "Acc1=ana", "Mot1=bot", "Acc2=bob", "Acc3=cid", "Mot3=spam"} << QStringList{"ana|bot", "bob|", "cid|spam"};
    QTest::newRow("reason emptied") << 2 << QStringList{""} << QStringList{"Accounts suspeitas|Digite o motivo da suspeita:|spam"} << QStringList{"nL=3", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=cid", "Mot3="} << QStringList{"ana|flood", "bob|", "cid|"};
    QTest::newRow("cancelled: the old reason written back") << 0 << none << QStringList{"Accounts suspeitas|Digite o motivo da suspeita:|flood"} << QStringList{"nL=3", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=cid", "Mot3=spam"} << QStringList{"ana|flood", "bob|", "cid|spam"};
    QTest::newRow("cancelled without a reason key: an empty one written") << 1 << none << QStringList{"Accounts suspeitas|Digite o motivo da suspeita:|"} << QStringList{"nL=3", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=cid", "Mot3=spam", "Mot2="} << QStringList{"ana|flood", "bob|", "cid|spam"};
    QTest::newRow("nothing selected: no box") << -1 << QStringList{"spam"} << none << Three.mid(1) << QStringList{"ana|flood", "bob|", "cid|spam"};
    // clang-format on
}

void TestWindowCustomList::editReason()
{
    QFETCH(int, row);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, lista);
    QFETCH(QStringList, rows);

    WindowHarness h(Plain + Three);
    TfrmMain* w = h.window.get();
    if (row >= 0)
        selectSuspect(w, row);
    for (const QString& answer : answers)
        h.prompts.files.enqueue(answer);
    run(w, "popMotCustom");
    QCOMPARE(h.prompts.inputs, inputs);
    QCOMPARE(listaSection(h), lista);
    QCOMPARE(::rows(w), rows);
}

void TestWindowCustomList::remove_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("handEdited"); // confs.ini rewritten after the start, if any
    // Rows deleted one after another; -1: nothing selected; Again: no new choice, the list's own.
    QTest::addColumn<QList<int>>("deletes");
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<QStringList>("rows");

    const QStringList none;
    const QStringList five = {"[Lista]", "nL=5",   "Acc1=a",  "Mot1=ra", "Acc2=b", "Mot2=rb",
                              "Acc3=c",  "Acc4=d", "Mot4=rd", "Acc5=e",  "Mot5=re"};
    // clang-format off
    QTest::newRow("first of three") << Three << none << QList<int>{0} << QStringList{"nL=2", "Acc1=bob", "Mot1=", "Acc2=cid", "Mot2=spam"} << QStringList{"bob|", "cid|spam"};
    QTest::newRow("last of three") << Three << none << QList<int>{2} << QStringList{"nL=2", "Acc1=ana", "Mot1=flood", "Acc2=bob"} << QStringList{"ana|flood", "bob|"};
    QTest::newRow("middle of three") << Three << none << QList<int>{1} << QStringList{"nL=2", "Acc1=ana", "Mot1=flood", "Acc2=cid", "Mot2=spam"} << QStringList{"ana|flood", "cid|spam"};
    QTest::newRow("the only entry") << QStringList{"[Lista]", "nL=1", "Acc1=ana", "Mot1=flood"} << none << QList<int>{0} << QStringList{"nL=0"} << QStringList{};
    QTest::newRow("three of five, one after another") << five << none << QList<int>{1, 1, 0} << QStringList{"nL=2", "Acc1=d", "Mot1=rd", "Acc2=e", "Mot2=re"} << QStringList{"d|rd", "e|re"};
    QTest::newRow("every entry, from the end") << Three << none << QList<int>{2, 1, 0} << QStringList{"nL=0"} << QStringList{};
    QTest::newRow("file lowered by hand: the uncounted entry leaves the file alone") << Three << QStringList{"[Lista]", "nL=2", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=cid", "Mot3=spam"} << QList<int>{2} << QStringList{"nL=2", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=cid", "Mot3=spam"} << QStringList{"ana|flood", "bob|"};
    QTest::newRow("file lowered by hand: a counted entry still goes") << Three << QStringList{"[Lista]", "nL=2", "Acc1=ana", "Mot1=flood", "Acc2=bob", "Acc3=cid", "Mot3=spam"} << QList<int>{0} << QStringList{"nL=1", "Acc1=bob", "Mot1=", "Acc3=cid", "Mot3=spam"} << QStringList{"bob|", "cid|spam"};
    QTest::newRow("first entry removed by hand: the entry found by its account") << Three << QStringList{"[Lista]", "nL=2", "Acc1=bob", "Acc2=cid", "Mot2=spam"} << QList<int>{1} << QStringList{"nL=1", "Acc1=cid", "Mot1=spam"} << QStringList{"ana|flood", "cid|spam"};
    QTest::newRow("count removed by hand: nothing written") << Three << QStringList{"[Lista]", "Acc1=ana", "Mot1=flood"} << QList<int>{0} << QStringList{"Acc1=ana", "Mot1=flood"} << QStringList{"bob|", "cid|spam"};
    QTest::newRow("nothing selected") << Three << none << QList<int>{-1} << Three.mid(1) << QStringList{"ana|flood", "bob|", "cid|spam"};
    QTest::newRow("deleted, then Excluir again: nothing more goes") << Three << none << QList<int>{1, Again} << QStringList{"nL=2", "Acc1=ana", "Mot1=flood", "Acc2=cid", "Mot2=spam"} << QStringList{"ana|flood", "cid|spam"};
    QTest::newRow("last deleted, then Excluir twice more") << Three << none << QList<int>{2, Again, Again} << QStringList{"nL=2", "Acc1=ana", "Mot1=flood", "Acc2=bob"} << QStringList{"ana|flood", "bob|"};
    QTest::newRow("count raised by hand to two billion: the stored count drops by one") << QStringList{"[Lista]", "nL=2000000000", "Acc1=ana", "Mot1=flood", "Acc2=bob"} << none << QList<int>{0} << QStringList{"nL=1999999999", "Acc1=bob", "Mot1="} << QStringList{"bob|"};
    QTest::newRow("a key numbered two billion by hand: found without a walk to it") << Three << QStringList{"[Lista]", "nL=2000000000", "Acc1=ana", "Mot1=flood", "Acc2000000000=bob"} << QList<int>{1} << QStringList{"nL=1999999999", "Acc1=ana", "Mot1=flood"} << QStringList{"ana|flood", "cid|spam"};
    // clang-format on
}

void TestWindowCustomList::remove()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, handEdited);
    QFETCH(QList<int>, deletes);
    QFETCH(QStringList, lista);
    QFETCH(QStringList, rows);

    WindowHarness h(Plain + stored);
    TfrmMain* w = h.window.get();
    if (!handEdited.isEmpty())
        rewrite(h, Plain + handEdited);
    for (const int row : deletes) {
        if (row != Again)
            suspects(w)->clearSelection();
        if (row >= 0)
            selectSuspect(w, row);
        run(w, "popDelCustom");
    }
    QCOMPARE(listaSection(h), lista);
    QCOMPARE(::rows(w), rows);
    QVERIFY(h.prompts.errors.isEmpty());
}

// A file that cannot be written: the error is shown and the list stays as the file has it.
void TestWindowCustomList::refusedWriteKeepsTheList()
{
    WindowHarness h(Plain + Three);
    TfrmMain* w = h.window.get();
    QFile::setPermissions(h.path(QStringLiteral("confs.ini")), QFile::ReadOwner);
    selectSuspect(w, 0);
    run(w, "popDelCustom");
    h.prompts.files.enqueue(QStringLiteral("x"));
    run(w, "popAddCustom");
    QCOMPARE(h.prompts.errors.size(), 2);
    QCOMPARE(::rows(w), (QStringList{"ana|flood", "bob|", "cid|spam"}));
    QCOMPARE(listaSection(h), Three.mid(1));
}

void TestWindowCustomList::whois_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("sent");
    // clang-format off
    QTest::newRow("menu") << false << 2 << QByteArray("/whois cid\r");
    QTest::newRow("menu, nothing selected") << false << -1 << QByteArray();
    QTest::newRow("double click") << true << 1 << QByteArray("/whois bob\r");
    // clang-format on
}

void TestWindowCustomList::whois()
{
    QFETCH(bool, doubleClick);
    QFETCH(int, row);
    QFETCH(QByteArray, sent);

    WindowHarness h(Plain + Three);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    w->findChild<Moderation*>()->enterOpMode();
    QTreeWidget* list = suspects(w);
    // Shown by operator mode; the rows have their places once the panel is laid out.
    QTRY_VERIFY(
        list->viewport()->rect().contains(list->visualItemRect(list->topLevelItem(2)).center()));
    list->clearSelection();
    const auto action = [&] {
        if (doubleClick) {
            const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
            QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {},
                               list->viewport()->mapTo(w, at));
        } else {
            if (row >= 0)
                selectSuspect(w, row);
            run(w, "popCustomWhois");
        }
    };
    QCOMPARE(sentDuring(h, action), sent);
    QTRY_VERIFY(w->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->hasFocus());
}

void TestWindowCustomList::nothingSelectedAfterADelete_data()
{
    QTest::addColumn<QString>("item");
    // clang-format off
    QTest::newRow("edit the reason") << "popMotCustom";
    QTest::newRow("whois") << "popCustomWhois";
    QTest::newRow("lock a whisper line") << "popCustomLockarWhisp";
    // clang-format on
}

// After "Excluir" the list must not pass the selection to the next entry: the next action of
// the menu would change or name an entry nobody chose.
void TestWindowCustomList::nothingSelectedAfterADelete()
{
    QFETCH(QString, item);
    WindowHarness h(Plain + Three);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    h.prompts.files.enqueue(QStringLiteral("outro motivo"));
    selectSuspect(w, 1);
    run(w, "popDelCustom");
    QVERIFY(suspects(w)->selectedItems().isEmpty());
    QCOMPARE(sentDuring(h, [&] { run(w, qPrintable(item)); }), QByteArray());
    QCOMPARE(h.prompts.inputs, QStringList());
    QCOMPARE(::rows(w), (QStringList{"ana|flood", "cid|spam"}));
    QCOMPARE(listaSection(h),
             (QStringList{"nL=2", "Acc1=ana", "Mot1=flood", "Acc2=cid", "Mot2=spam"}));
    QCOMPARE(w->lockWhisps()->getNumLocks(), 0);
}

void TestWindowCustomList::lockWhisper_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("locked");
    // clang-format off
    QTest::newRow("second entry") << 1 << "bob";
    QTest::newRow("nothing selected") << -1 << "";
    // clang-format on
}

void TestWindowCustomList::lockWhisper()
{
    QFETCH(int, row);
    QFETCH(QString, locked);

    WindowHarness h(Plain + Three);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    w->findChild<Moderation*>()->enterOpMode();
    suspects(w)->clearSelection();
    if (row >= 0)
        selectSuspect(w, row);
    run(w, "popCustomLockarWhisp");
    QCOMPARE(w->lockWhisps()->getNumLocks(), locked.isEmpty() ? 0 : 1);
    if (!locked.isEmpty())
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblAccWhisp1"))->text(), locked);
}

// Whatever the list became is what the next run shows.
void TestWindowCustomList::keptAcrossRuns()
{
    WindowHarness h(Plain + Three);
    TfrmMain* w = h.window.get();
    h.prompts.files.enqueue(QStringLiteral("dan"));
    run(w, "popAddCustom");
    selectSuspect(w, 3);
    h.prompts.files.enqueue(QStringLiteral("bot"));
    run(w, "popMotCustom");
    selectSuspect(w, 0);
    run(w, "popDelCustom");
    const QStringList before = rows(w);
    QCOMPARE(before, (QStringList{"bob|", "cid|spam", "dan|bot"}));

    h.close();
    h.open();
    QCOMPARE(rows(h.window.get()), before);
}

QTEST_MAIN(TestWindowCustomList)
#include "tst_window_customlist.moc"
