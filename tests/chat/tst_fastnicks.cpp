#include "chat/TFastNicks.h"
#include "chat/UserListModel.h"

#include <QTest>

namespace {

// A TFastNicks over a user list, recording every text it shows in the input line.
struct Fixture
{
    explicit Fixture(const QStringList& users = {})
        : nicks(&list, [this](const QString& text) { shown << text; })
    {
        for (const QString& user : users) {
            const QString name = user.section(QLatin1Char(':'), 0, 0);
            QString flags = user.section(QLatin1Char(':'), 1);
            if (flags.isEmpty())
                flags = QStringLiteral("0000");
            list.addUser(name, flags, QStringLiteral("CHAT"));
        }
    }

    // "+line" enters a line, "w:account" records a whisper, "U"/"D" press Up/Down, "T" is Tab in
    // an empty line, "t:text" is Tab in a line holding text, "-name" is a leave from the channel
    // and "R" empties the line.
    void run(const QStringList& ops)
    {
        for (const QString& op : ops) {
            if (op.startsWith(QLatin1Char('+')))
                nicks.addLastMsg(op.mid(1));
            else if (op.startsWith(QLatin1String("w:")))
                nicks.addLastUser(op.mid(2));
            else if (op.startsWith(QLatin1String("t:")))
                nicks.nickCompletation(op.mid(2));
            else if (op.startsWith(QLatin1Char('-')))
                QVERIFY(list.removeUser(op.mid(1)));
            else if (op == QLatin1String("U"))
                nicks.getNextMsg();
            else if (op == QLatin1String("D"))
                nicks.getPreviousMsg();
            else if (op == QLatin1String("T"))
                nicks.getNextUser();
            else if (op == QLatin1String("R"))
                nicks.resetIndex();
            else
                QFAIL(qPrintable(QStringLiteral("unknown step ") + op));
        }
    }

    QStringList whisperers() const
    {
        QStringList accounts;
        for (int slot = 1; slot <= nicks.userCount(); ++slot)
            accounts << nicks.lastUser(slot);
        return accounts;
    }

    UserListModel list;
    QStringList shown;
    TFastNicks nicks;
};

QStringList numbered(const QString& prefix, int from, int to)
{
    QStringList items;
    for (int i = from; from <= to ? i <= to : i >= to; i += from <= to ? 1 : -1)
        items << prefix + QString::number(i);
    return items;
}

} // namespace

class TestFastNicks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void history_data()
    {
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("index");

        // clang-format off
        QTest::newRow("up with an empty history")        << QStringList{"U", "D"} << QStringList{} << 0;
        QTest::newRow("up, up, up, down, down")          << QStringList{"+a", "+b", "U", "U", "U", "D", "D"} << QStringList{"b", "a", "b"} << 1;
        QTest::newRow("down before any up")              << QStringList{"+a", "+b", "D"} << QStringList{} << 0;
        QTest::newRow("same line twice fills two slots") << QStringList{"+x", "+x", "U", "U", "U"} << QStringList{"x", "x"} << 2;

        QStringList eleven;
        for (const QString& line : numbered(QStringLiteral("line "), 1, 11))
            eleven << QLatin1Char('+') + line;
        QStringList ups(11, QStringLiteral("U"));
        QTest::newRow("eleven lines keep the last ten") << eleven + ups << numbered(QStringLiteral("line "), 11, 2) << 10;

        QTest::newRow("a new line ends browsing")                     << QStringList{"+a", "+b", "U", "U", "+c", "U", "U"} << QStringList{"b", "a", "c", "b"} << 2;
        QTest::newRow("emptying the line ends browsing")              << QStringList{"+a", "+b", "U", "U", "R", "U"} << QStringList{"b", "a", "b"} << 1;
        QTest::newRow("blank and accented lines are kept as entered") << QStringList{"+  ação  ", "+/w bob oi", "U", "U"} << QStringList{"/w bob oi", "  ação  "} << 2;
        // clang-format on
    }
    void history()
    {
        QFETCH(QStringList, ops);
        QFETCH(QStringList, shown);
        QFETCH(int, index);
        Fixture f;
        f.run(ops);
        QCOMPARE(f.shown, shown);
        QCOMPARE(f.nicks.msgIndex(), index);
    }

    void historyHoldsTenSlots()
    {
        Fixture f;
        for (const QString& line : numbered(QStringLiteral("m"), 1, 12))
            f.nicks.addLastMsg(line);
        QCOMPARE(f.nicks.msgCount(), 10);
        QCOMPARE(f.nicks.lastMsg(1), QStringLiteral("m12"));
        QCOMPARE(f.nicks.lastMsg(10), QStringLiteral("m3"));
        QCOMPARE(f.nicks.lastMsg(0), QString());
        QCOMPARE(f.nicks.lastMsg(11), QString());
    }

    void whisperers_data()
    {
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("slots");
        QTest::addColumn<int>("index");

        // clang-format off
        QTest::newRow("no whisperer")                           << QStringList{"T", "T"} << QStringList{} << QStringList{} << 0;
        QTest::newRow("tab cycles most recent first and wraps") << QStringList{"w:A1", "w:B1", "w:C1", "T", "T", "T", "T"} << QStringList{"/w C1 ", "/w B1 ", "/w A1 ", "/w C1 "} << QStringList{"C1", "B1", "A1"} << 1;
        // The account moves to the front but the cycling position stays the same number, so the
        // next Tab offers slot 2, now C1.
        QTest::newRow("known account moves to the front")         << QStringList{"w:A1", "w:B1", "w:C1", "T", "w:B1", "T"} << QStringList{"/w C1 ", "/w C1 "} << QStringList{"B1", "C1", "A1"} << 2;
        QTest::newRow("known account already in front")           << QStringList{"w:A1", "w:B1", "T", "T", "w:B1", "T"} << QStringList{"/w B1 ", "/w A1 ", "/w B1 "} << QStringList{"B1", "A1"} << 1;
        QTest::newRow("last account moves up in a full list")     << QStringList{"w:A", "w:B", "w:C", "w:D", "w:E", "w:A"} << QStringList{} << QStringList{"A", "E", "D", "C", "B"} << 0;
        QTest::newRow("new account restarts the cycle")           << QStringList{"w:A1", "w:B1", "T", "T", "w:C1", "T"} << QStringList{"/w B1 ", "/w A1 ", "/w C1 "} << QStringList{"C1", "B1", "A1"} << 1;
        QTest::newRow("sixth account pushes the oldest out")      << QStringList{"w:A", "w:B", "w:C", "w:D", "w:E", "w:F"} << QStringList{} << QStringList{"F", "E", "D", "C", "B"} << 0;
        QTest::newRow("names differing in case are two accounts") << QStringList{"w:bob", "w:Bob"} << QStringList{} << QStringList{"Bob", "bob"} << 0;
        QTest::newRow("emptying the line restarts the cycle")     << QStringList{"w:A", "w:B", "T", "T", "R", "T"} << QStringList{"/w B ", "/w A ", "/w B "} << QStringList{"B", "A"} << 1;
        // A whisper without a sender is not an account to answer and must not disturb the slots.
        QTest::newRow("empty account is ignored")         << QStringList{"w:A", "w:B", "T", "w:", "T"} << QStringList{"/w B ", "/w A "} << QStringList{"B", "A"} << 2;
        QTest::newRow("empty account into an empty list") << QStringList{"w:", "T"} << QStringList{} << QStringList{} << 0;
        // clang-format on
    }
    void whisperers()
    {
        QFETCH(QStringList, ops);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, slots);
        QFETCH(int, index);
        Fixture f;
        f.run(ops);
        QCOMPARE(f.shown, shown);
        QCOMPARE(f.whisperers(), slots);
        QCOMPARE(f.nicks.userIndex(), index);
        QCOMPARE(f.nicks.lastUser(slots.size() + 1), QString());
    }

    void completion_data()
    {
        QTest::addColumn<QStringList>("users");
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("prefix");

        const QStringList abc = {"Alpha", "alfred", "Bob"};
        // clang-format off
        QTest::newRow("steps through matches and stops at the last") << abc << QStringList{"t:al", "t:Alpha: ", "t:alfred: "} << QStringList{"Alpha: ", "alfred: "} << 2 << "al";
        QTest::newRow("emptying the line starts over")               << abc << QStringList{"t:al", "t:Alpha: ", "R", "t:al"} << QStringList{"Alpha: ", "alfred: ", "Alpha: "} << 1 << "al";
        QTest::newRow("no match leaves the line")                    << abc << QStringList{"t:xy", "t:xy"} << QStringList{} << 0 << "xy";
        QTest::newRow("edited line continues the old completion")    << abc << QStringList{"t:al", "t:bo"} << QStringList{"Alpha: ", "alfred: "} << 2 << "al";
        QTest::newRow("leading blank is part of the prefix")         << abc << QStringList{"t: al"} << QStringList{} << 0 << " al";
        QTest::newRow("whole name matches itself")                   << abc << QStringList{"t:BOB"} << QStringList{"Bob: "} << 3 << "BOB";
        QTest::newRow("prefix longer than the name")                 << abc << QStringList{"t:Bobby"} << QStringList{} << 0 << "Bobby";
        QTest::newRow("accented letters fold")                       << QStringList{"Ação", "ACAO"} << QStringList{"t:aÇ", "t:x"} << QStringList{"Ação: "} << 1 << "aÇ";
        QTest::newRow("follows the ranked display order")            << QStringList{"Alpha:0000", "alex:0002", "Bob:0001"} << QStringList{"t:al", "t:", "t:"} << QStringList{"alex: ", "Alpha: "} << 3 << "al";
        QTest::newRow("empty user list")                             << QStringList{} << QStringList{"t:a"} << QStringList{} << 0 << "a";
        QTest::newRow("list shrank below the search position")       << QStringList{"al1", "al2"} << QStringList{"t:al", "t:", "-al1", "t:", "t:"} << QStringList{"al1: ", "al2: "} << 2 << "al";
        // clang-format on
    }
    void completion()
    {
        QFETCH(QStringList, users);
        QFETCH(QStringList, ops);
        QFETCH(QStringList, shown);
        QFETCH(int, start);
        QFETCH(QString, prefix);
        Fixture f(users);
        f.run(ops);
        QCOMPARE(f.shown, shown);
        QCOMPARE(f.nicks.nickStart(), start);
        QCOMPARE(f.nicks.nickPrefix(), prefix);
    }

    void completionResumesAfterAJoin()
    {
        Fixture f({"al1", "Bob"});
        f.run({"t:al", "t:"});
        QCOMPARE(f.shown, QStringList{"al1: "});
        f.list.addUser(QStringLiteral("al2"), QStringLiteral("0000"), QStringLiteral("CHAT"));
        f.run({"t:"});
        QCOMPARE(f.shown, (QStringList{"al1: ", "al2: "}));
    }

    void resetKeepsStoredLines()
    {
        Fixture f({"Alpha"});
        f.run({"+hi", "w:Z", "U", "T", "t:al", "R"});
        QCOMPARE(f.nicks.msgIndex(), 0);
        QCOMPARE(f.nicks.userIndex(), 0);
        QCOMPARE(f.nicks.nickStart(), 0);
        QCOMPARE(f.nicks.nickPrefix(), QString());
        QCOMPARE(f.nicks.msgCount(), 1);
        QCOMPARE(f.nicks.lastMsg(1), QStringLiteral("hi"));
        QCOMPARE(f.whisperers(), QStringList{"Z"});
    }

    void worksWithoutLineOrList()
    {
        TFastNicks nicks(nullptr, {});
        nicks.addLastMsg(QStringLiteral("a"));
        nicks.addLastUser(QStringLiteral("B"));
        nicks.getNextMsg();
        nicks.getNextUser();
        nicks.nickCompletation(QStringLiteral("x"));
        QCOMPARE(nicks.msgIndex(), 1);
        QCOMPARE(nicks.userIndex(), 1);
        QCOMPARE(nicks.nickStart(), 0);
        QCOMPARE(nicks.nickPrefix(), QStringLiteral("x"));
    }
};

QTEST_GUILESS_MAIN(TestFastNicks)
#include "tst_fastnicks.moc"
