#include "core/SharedRandom.h"
#include "chat/UserListModel.h"

#include <algorithm>
#include <random>

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList accounts(const UserListModel& model)
{
    QStringList names;
    for (int row = 0; row < model.count(); ++row)
        names << model.at(row).account;
    return names;
}

// Operations written as "+name:flags" (add, client tag CHAT), "*name:flags" (flag change) and
// "-name" (leave).
void apply(UserListModel& model, const QStringList& ops)
{
    for (const QString& op : ops) {
        const QString arg = op.mid(1);
        const QString name = arg.section(QLatin1Char(':'), 0, 0);
        const QString flags = arg.section(QLatin1Char(':'), 1);
        if (op.startsWith(QLatin1Char('+')))
            model.addUser(name, flags, QStringLiteral("CHAT"));
        else if (op.startsWith(QLatin1Char('*')))
            QVERIFY(model.setUserFlags(name, flags));
        else
            QVERIFY(model.removeUser(name));
    }
}

// Every model signal that tells a view something changed.
struct ChangeSpies
{
    explicit ChangeSpies(UserListModel* model)
        : inserted(model, &QAbstractItemModel::rowsInserted),
          removed(model, &QAbstractItemModel::rowsRemoved),
          changed(model, &QAbstractItemModel::dataChanged),
          layout(model, &QAbstractItemModel::layoutChanged),
          reset(model, &QAbstractItemModel::modelReset)
    {
    }
    int total() const
    {
        return inserted.count() + removed.count() + changed.count() + layout.count() +
               reset.count();
    }
    QSignalSpy inserted;
    QSignalSpy removed;
    QSignalSpy changed;
    QSignalSpy layout;
    QSignalSpy reset;
};

} // namespace

class TestUserListModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ordem_data()
    {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("order");
        // clang-format off
        for (const char* f : {"0002", "0003", "0022"})
            QTest::newRow(f) << QString::fromLatin1(f) << QStringLiteral("0");
        for (const char* f : {"0001", "0005", "0021", "fff5"})
            QTest::newRow(f) << QString::fromLatin1(f) << QStringLiteral("1");
        for (const char* f : {"0008", "0009", "0028"})
            QTest::newRow(f) << QString::fromLatin1(f) << QStringLiteral("2");
        for (const char* f : {"0004", "0024"})
            QTest::newRow(f) << QString::fromLatin1(f) << QStringLiteral("3");
        for (const char* f : {"0000", "0020", "ff50", "ff70", "ffb0", "0010", "ffff"})
            QTest::newRow(f) << QString::fromLatin1(f) << QStringLiteral("9");
        QTest::newRow("upper-case FF50")  << QStringLiteral("FF50") << QStringLiteral("9");
        QTest::newRow("upper-case FFF5")  << QStringLiteral("FFF5") << QStringLiteral("9");
        QTest::newRow("empty")            << QString() << QStringLiteral("9");
        QTest::newRow("longer than four") << QStringLiteral("00020") << QStringLiteral("9");
        QTest::newRow("leading blank")    << QStringLiteral(" 0002") << QStringLiteral("9");
        QTest::newRow("three digits")     << QStringLiteral("002") << QStringLiteral("9");
        // clang-format on
    }
    void ordem()
    {
        QFETCH(QString, flags);
        QFETCH(QString, order);
        QCOMPARE(UserListModel::ordem(flags), order);
    }

    void imgUser_data()
    {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("icon");
        const struct
        {
            const char* tag;
            int plain;
            int squelched;
        } tags[] = {{"D2XP", 5, 16},  {"CHAT", 9, 20},  {"STAR", 25, 26}, {"SEXP", 8, 19},
                    {"SSHR", 25, 26}, {"WAR3", 6, 17},  {"W3XP", 7, 18},  {"D2DV", 4, 29},
                    {"DRTL", 23, 24}, {"DSHR", 23, 24}, {"W2BN", 27, 28}, {"XXXX", 11, 22},
                    {"d2xp", 11, 22}, {"", 11, 22},     {"D2XP ", 11, 22}};
        for (const auto& t : tags) {
            const QString tag = QString::fromLatin1(t.tag);
            QTest::addRow("0000 '%s'", t.tag) << QStringLiteral("0000") << tag << t.plain;
            QTest::addRow("0020 '%s'", t.tag) << QStringLiteral("0020") << tag << t.squelched;
        }
        // Past 0000 and 0020 the client tag is not looked at: a tag of the table must not
        // change the result.
        const struct
        {
            const char* flags;
            int icon;
        } byFlags[] = {{"0001", 0},  {"0005", 0},  {"0008", 1},  {"0009", 1},  {"0002", 2},
                       {"0003", 2},  {"0004", 3},  {"ff50", 10}, {"0021", 12}, {"fff5", 12},
                       {"0028", 13}, {"0022", 14}, {"0024", 15}, {"ffb0", 21}, {"ff70", 21},
                       {"FF50", 11}, {"1234", 11}, {"", 11},     {"00000", 11}};
        for (const auto& f : byFlags) {
            const QString flags = QString::fromLatin1(f.flags);
            QTest::addRow("'%s' D2XP", f.flags) << flags << QStringLiteral("D2XP") << f.icon;
            QTest::addRow("'%s' XXXX", f.flags) << flags << QStringLiteral("XXXX") << f.icon;
        }
    }
    void imgUser()
    {
        QFETCH(QString, flags);
        QFETCH(QString, tag);
        QFETCH(int, icon);
        QCOMPARE(UserListModel::imgUser(flags, tag), icon);
    }

    void addedEntryCarriesItsColumns()
    {
        UserListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.addUser(QStringLiteral("Zé"), QStringLiteral("0020"), QStringLiteral("STAR"));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.columnCount(), 4);
        const UserEntry& entry = model.at(0);
        QCOMPARE(entry.account, QStringLiteral("Zé"));
        QCOMPARE(entry.flags, QStringLiteral("0020"));
        QCOMPARE(entry.userType, QStringLiteral("STAR"));
        QCOMPARE(entry.order, QChar(QLatin1Char('9')));
        QCOMPARE(entry.icon, 26);

        const auto cell = [&](int column, int role) {
            return model.data(model.index(0, column), role);
        };
        QCOMPARE(cell(UserListModel::AccountColumn, Qt::DisplayRole).toString(),
                 QStringLiteral("Zé"));
        QCOMPARE(cell(UserListModel::FlagColumn, Qt::DisplayRole).toString(),
                 QStringLiteral("0020"));
        QCOMPARE(cell(UserListModel::UserTypeColumn, Qt::DisplayRole).toString(),
                 QStringLiteral("STAR"));
        QCOMPARE(cell(UserListModel::OrderColumn, Qt::DisplayRole).toString(), QStringLiteral("9"));
        QCOMPARE(cell(UserListModel::AccountColumn, UserListModel::IconRole).toInt(), 26);
        QCOMPARE(cell(UserListModel::AccountColumn, UserListModel::OrderRole).toInt(), 9);
        QVERIFY(!model.data(QModelIndex()).isValid());
        QVERIFY(!model.index(1, 0).isValid());
        QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    }

    void ordering_data()
    {
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QStringList>("expected");

        // Moderator, administrator and ordinary account arriving in every order.
        QStringList arrival = {QStringLiteral("+u:0000"), QStringLiteral("+a:0001"),
                               QStringLiteral("+m:0002")};
        std::sort(arrival.begin(), arrival.end());
        // clang-format off
        do {
            QTest::addRow("%s", qPrintable(arrival.join(QLatin1Char(' ')))) << arrival << QStringList{"m", "a", "u"};
        } while (std::next_permutation(arrival.begin(), arrival.end()));

        QTest::newRow("every rank")                      << QStringList{"+v:0004", "+o:0008", "+a:0001", "+u:ffb0", "+m:0002"} << QStringList{"m", "a", "o", "v", "u"};
        QTest::newRow("equal ranks keep arrival order")  << QStringList{"+a:0000", "+b:0002", "+c:0000", "+d:0022", "+e:0008", "+f:0020", "+g:0003"} << QStringList{"b", "d", "g", "e", "a", "c", "f"};
        QTest::newRow("leave keeps the order")           << QStringList{"+a:0000", "+m:0002", "+b:0000", "-A", "+n:0003", "+c:0000"} << QStringList{"m", "n", "b", "c"};
        QTest::newRow("same name twice is listed twice") << QStringList{"+x:0000", "+x:0000"} << QStringList{"x", "x"};
        // clang-format on
    }
    void ordering()
    {
        QFETCH(QStringList, ops);
        QFETCH(QStringList, expected);
        UserListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        apply(model, ops);
        QCOMPARE(accounts(model), expected);
    }

    void flagChangeMovesAtNextAddition_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("afterChange");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("afterAddition");

        // clang-format off
        QTest::newRow("promoted ordinary")                 << QStringList{"+a:0000", "+b:0000", "+c:0000", "*C:0002"} << QStringList{"a", "b", "c"} << QStringLiteral("+d:0000") << QStringList{"c", "a", "b", "d"};
        QTest::newRow("promoted below an added moderator") << QStringList{"+a:0000", "+b:0000", "*b:0004"} << QStringList{"a", "b"} << QStringLiteral("+m:0002") << QStringList{"m", "b", "a"};
        // A stable sort leaves a demoted moderator ahead of the ordinaries already listed.
        QTest::newRow("demoted moderator")                      << QStringList{"+m:0002", "+o:0008", "+u:0000", "*m:0000"} << QStringList{"m", "o", "u"} << QStringLiteral("+d:0000") << QStringList{"o", "m", "u", "d"};
        QTest::newRow("new rank still between its neighbours")  << QStringList{"+m:0002", "+a:0001", "+u:0000", "*a:0008"} << QStringList{"m", "a", "u"} << QStringLiteral("+v:0004") << QStringList{"m", "a", "v", "u"};
        QTest::newRow("two changes before one addition")        << QStringList{"+a:0000", "+b:0000", "+c:0000", "+d:0000", "*c:0004", "*a:0001"} << QStringList{"a", "b", "c", "d"} << QStringLiteral("+e:0002") << QStringList{"e", "a", "c", "b", "d"};
        QTest::newRow("changed entry left before the addition") << QStringList{"+a:0000", "+b:0000", "*b:0002", "-b"} << QStringList{"a"} << QStringLiteral("+c:0000") << QStringList{"a", "c"};
        QTest::newRow("change to the same rank")                << QStringList{"+a:0000", "+b:0000", "*a:0020"} << QStringList{"a", "b"} << QStringLiteral("+c:0000") << QStringList{"a", "b", "c"};
        // clang-format on
    }
    void flagChangeMovesAtNextAddition()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, afterChange);
        QFETCH(QString, added);
        QFETCH(QStringList, afterAddition);
        UserListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        apply(model, before);
        QCOMPARE(accounts(model), afterChange);
        apply(model, {added});
        QCOMPARE(accounts(model), afterAddition);
    }

    void flagChangeUpdatesEntryAtOnce_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QChar>("order");
        QTest::addColumn<int>("icon");
        // clang-format off
        QTest::newRow("made moderator")          << "W3XP" << "0002" << QChar(QLatin1Char('0')) << 2;
        QTest::newRow("squelched keeps its tag") << "STAR" << "0020" << QChar(QLatin1Char('9')) << 26;
        QTest::newRow("given voice")             << "CHAT" << "0004" << QChar(QLatin1Char('3')) << 3;
        QTest::newRow("unknown flags")           << "CHAT" << "7777" << QChar(QLatin1Char('9')) << 11;
        // clang-format on
    }
    void flagChangeUpdatesEntryAtOnce()
    {
        QFETCH(QString, tag);
        QFETCH(QString, flags);
        QFETCH(QChar, order);
        QFETCH(int, icon);
        UserListModel model;
        model.addUser(QStringLiteral("first"), QStringLiteral("0000"), QStringLiteral("CHAT"));
        model.addUser(QStringLiteral("Target"), QStringLiteral("0000"), tag);
        model.addUser(QStringLiteral("last"), QStringLiteral("0000"), QStringLiteral("CHAT"));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        QVERIFY(model.setUserFlags(QStringLiteral("TARGET"), flags));

        const UserEntry& entry = model.at(1);
        QCOMPARE(entry.account, QStringLiteral("Target"));
        QCOMPARE(entry.flags, flags);
        QCOMPARE(entry.userType, tag);
        QCOMPARE(entry.order, order);
        QCOMPARE(entry.icon, icon);
        QCOMPARE(changed.count(), 1);
        const QModelIndex topLeft = changed.at(0).at(0).value<QModelIndex>();
        const QModelIndex bottomRight = changed.at(0).at(1).value<QModelIndex>();
        QCOMPARE(topLeft, model.index(1, 0));
        QCOMPARE(bottomRight, model.index(1, UserListModel::ColumnCount - 1));
    }

    void removeUser_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QStringList>("left");
        // clang-format off
        QTest::newRow("exact")                     << "alpha" << true << QStringList{"Bob", "bob", "ação"};
        QTest::newRow("other case")                << "ALPHA" << true << QStringList{"Bob", "bob", "ação"};
        QTest::newRow("accented letters fold")     << "AÇÃO" << true << QStringList{"alpha", "Bob", "bob"};
        QTest::newRow("first of two from the top") << "BOB" << true << QStringList{"alpha", "bob", "ação"};
        QTest::newRow("prefix is not a match")     << "alp" << false << QStringList{"alpha", "Bob", "bob", "ação"};
        QTest::newRow("longer is not a match")     << "alphas" << false << QStringList{"alpha", "Bob", "bob", "ação"};
        QTest::newRow("accent is not ignored")     << "acao" << false << QStringList{"alpha", "Bob", "bob", "ação"};
        // clang-format on
    }
    void removeUser()
    {
        QFETCH(QString, name);
        QFETCH(bool, removed);
        QFETCH(QStringList, left);
        UserListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        apply(model, {"+alpha:0000", "+Bob:0000", "+bob:0000", "+ação:0000"});
        ChangeSpies spies(&model);
        QCOMPARE(model.removeUser(name), removed);
        QCOMPARE(accounts(model), left);
        QCOMPARE(spies.removed.count(), removed ? 1 : 0);
        QCOMPARE(spies.total(), removed ? 1 : 0);
    }

    void indexOfFindsFromTheTop()
    {
        UserListModel model;
        apply(model, {"+Bob:0000", "+BOB:0002", "+ação:0000"});
        QCOMPARE(model.indexOf(QStringLiteral("bob")), 0);
        QCOMPARE(model.indexOf(QStringLiteral("AÇÃO")), 2);
        QCOMPARE(model.indexOf(QStringLiteral("bo")), -1);
        QCOMPARE(model.indexOf(QString()), -1);
    }

    // Look-ups by name must agree with QString's case-insensitive comparison, beyond ASCII too.
    void indexOfIgnoresCaseAsQStringDoes_data()
    {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("found");
        // clang-format off
        QTest::newRow("ascii")               << "Nick_01" << "nICK_01" << true;
        QTest::newRow("accents")             << "João" << "JOÃO" << true;
        QTest::newRow("final sigma")         << "ΟΔΥΣΣΕΥΣ" << "οδυσσευς" << true;
        QTest::newRow("kelvin sign")         << "\u212Aelvin" << "kelvin" << true;
        QTest::newRow("dotted capital I")    << "\u0130lha" << "ilha" << false;
        QTest::newRow("sharp s is not ss")   << "straße" << "STRASSE" << false;
        QTest::newRow("accent differs")      << "João" << "joao" << false;
        QTest::newRow("supplementary plane") << "\U00010400x" << "\U00010428X" << true;
        QTest::newRow("trailing blank")      << "ana" << "ana " << false;
        // clang-format on
    }
    void indexOfIgnoresCaseAsQStringDoes()
    {
        QFETCH(QString, listed);
        QFETCH(QString, asked);
        QFETCH(bool, found);
        QCOMPARE(listed.compare(asked, Qt::CaseInsensitive) == 0, found);
        UserListModel model;
        model.addUser(QStringLiteral("other"), QStringLiteral("0000"), QStringLiteral("CHAT"));
        model.addUser(listed, QStringLiteral("0000"), QStringLiteral("CHAT"));
        QCOMPARE(model.indexOf(asked), found ? 1 : -1);
        QCOMPARE(model.setUserFlags(asked, QStringLiteral("0001")), found);
        QCOMPARE(model.removeUser(asked), found);
    }

    void unknownAccountChangesNothing()
    {
        UserListModel model;
        apply(model, {"+a:0000", "+b:0001"});
        ChangeSpies spies(&model);
        QVERIFY(!model.removeUser(QStringLiteral("zed")));
        QVERIFY(!model.setUserFlags(QStringLiteral("zed"), QStringLiteral("0002")));
        QVERIFY(!model.setUserFlags(QStringLiteral("a "), QStringLiteral("0002")));
        QCOMPARE(spies.total(), 0);
        QCOMPARE(accounts(model), (QStringList{"b", "a"}));
        QCOMPARE(model.at(1).flags, QStringLiteral("0000"));
        // Nothing was marked for sorting either: the next addition is a plain insertion.
        model.addUser(QStringLiteral("c"), QStringLiteral("0000"), QStringLiteral("CHAT"));
        QCOMPARE(spies.layout.count(), 0);
        QCOMPARE(accounts(model), (QStringList{"b", "a", "c"}));
    }

    void selectionFollowsItsEntryThroughASort()
    {
        UserListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QItemSelectionModel selection(&model);
        apply(model, {"+a:0000", "+b:0000", "+c:0000", "+d:0000"});
        selection.setCurrentIndex(model.index(2, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const QPersistentModelIndex dFlags = model.index(3, UserListModel::FlagColumn);
        QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);

        apply(model, {"*c:0002", "+e:0000"});

        QCOMPARE(accounts(model), (QStringList{"c", "a", "b", "d", "e"}));
        QCOMPARE(layout.count(), 1);
        QCOMPARE(selection.currentIndex().row(), 0);
        QCOMPARE(selection.currentIndex().data().toString(), QStringLiteral("c"));
        QVERIFY(selection.isRowSelected(0, QModelIndex()));
        QCOMPARE(selection.selectedRows().size(), 1);
        QCOMPARE(dFlags.row(), 3);
        QCOMPARE(dFlags.column(), int(UserListModel::FlagColumn));
    }

    void clearEmptiesAndForgetsPendingSort()
    {
        UserListModel model;
        apply(model, {"+a:0000", "+b:0000", "*b:0002"});
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.clear();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.count(), 0);
        QCOMPARE(model.randomUser(), QString());
        QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
        apply(model, {"+c:0000", "+m:0002"});
        QCOMPARE(accounts(model), (QStringList{"m", "c"}));
        QCOMPARE(layout.count(), 0);
    }

    void randomUserFollowsTheSharedGenerator()
    {
        UserListModel model;
        // An empty list draws nothing, so the program's sequence of choices is not disturbed.
        SharedRandom::reset();
        QCOMPARE(model.randomUser(), QString());
        const int firstDraw = SharedRandom::below(1000);
        SharedRandom::reset();
        QCOMPARE(SharedRandom::below(1000), firstDraw);

        apply(model, {"+u1:0000", "+u2:0000", "+m:0002", "+u3:0000", "+a:0001"});
        SharedRandom::reset();
        QStringList expected;
        for (int i = 0; i < 20; ++i)
            expected << model.at(SharedRandom::below(model.count())).account;
        SharedRandom::reset();
        QStringList drawn;
        for (int i = 0; i < 20; ++i)
            drawn << model.randomUser();
        QCOMPARE(drawn, expected);
        // The draw is over the whole list: twenty draws out of five entries reach more than one.
        drawn.removeDuplicates();
        QVERIFY(drawn.size() > 1);
    }

    // The look-up by name gives the first entry of that name in list order, which changes as
    // entries of the name come, go and are sorted.
    void findGivesTheFirstOfAName_data()
    {
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("flags");
        // clang-format off
        QTest::newRow("only one")                   << QStringList{"+a:0000", "+x:0020"}                       << "X" << 1  << "0020";
        QTest::newRow("later one ranked above")     << QStringList{"+x:0000", "+X:0002"}                       << "x" << 0  << "0002";
        QTest::newRow("first left")                 << QStringList{"+x:0000", "+a:0000", "+X:0020", "-x"}      << "x" << 1  << "0020";
        QTest::newRow("both left")                  << QStringList{"+x:0000", "+X:0020", "-x", "-x"}           << "x" << -1 << "";
        QTest::newRow("flag change hits the first") << QStringList{"+x:0000", "+X:0020", "*x:0004"}            << "x" << 0  << "0004";
        QTest::newRow("sort puts the second first") << QStringList{"+x:0002", "+X:0004", "*x:0000", "+b:0000"} << "x" << 0  << "0004";
        QTest::newRow("joined again after a leave") << QStringList{"+x:0000", "+a:0000", "-x", "+x:0020"}      << "X" << 1  << "0020";
        QTest::newRow("not listed")                 << QStringList{"+x:0000"}                                  << "y" << -1 << "";
        // clang-format on
    }
    void findGivesTheFirstOfAName()
    {
        QFETCH(QStringList, ops);
        QFETCH(QString, name);
        QFETCH(int, row);
        QFETCH(QString, flags);
        UserListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        apply(model, ops);
        QCOMPARE(model.indexOf(name), row);
        const UserEntry* found = model.find(name);
        if (row < 0) {
            QCOMPARE(found, nullptr);
            return;
        }
        QCOMPARE(found, &model.at(row));
        QCOMPARE(found->flags, flags);
    }

    // Names listed several times, in several cases, under every change: each look-up must agree
    // with a search of the list from the top.
    void lookUpsMatchASearchFromTheTop()
    {
        const QStringList names = {"ana", "Ana", "ANA", "bob", "Bob", "ação", "AÇÃO", "zé"};
        const QStringList flagValues = {"0000", "0020", "0001", "0002", "0004", "0008"};
        std::mt19937 gen(11);
        const auto pick = [&gen](int n) { return int(gen() % unsigned(n)); };
        const auto rank = [](const QString& flags) { return UserListModel::ordem(flags).toInt(); };
        struct Listed
        {
            QString name;
            QString flags;
        };
        const auto byRank = [&rank](const Listed& a, const Listed& b) {
            return rank(a.flags) < rank(b.flags);
        };
        const auto firstRow = [](const QVector<Listed>& list, const QString& name) {
            for (int row = 0; row < list.size(); ++row) {
                if (list.at(row).name.compare(name, Qt::CaseInsensitive) == 0)
                    return row;
            }
            return -1;
        };

        UserListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVector<Listed> reference;
        for (int step = 0; step < 3000; ++step) {
            const QString name = names.at(pick(names.size()));
            const QString flags = flagValues.at(pick(flagValues.size()));
            const int what = pick(20);
            const int row = firstRow(reference, name);
            if (what == 0) {
                model.clear();
                reference.clear();
            } else if (what < 9) {
                model.addUser(name, flags, QStringLiteral("CHAT"));
                reference.append({name, flags});
                std::stable_sort(reference.begin(), reference.end(), byRank);
            } else if (what < 14) {
                QCOMPARE(model.setUserFlags(name, flags), row >= 0);
                if (row >= 0)
                    reference[row].flags = flags;
            } else {
                QCOMPARE(model.removeUser(name), row >= 0);
                if (row >= 0)
                    reference.remove(row);
            }

            QCOMPARE(model.count(), reference.size());
            for (int i = 0; i < reference.size(); ++i) {
                QCOMPARE(model.at(i).account, reference.at(i).name);
                QCOMPARE(model.at(i).flags, reference.at(i).flags);
            }
            for (const QString& asked : names) {
                const int expected = firstRow(reference, asked);
                QCOMPARE(model.indexOf(asked), expected);
                QCOMPARE(model.find(asked), expected < 0 ? nullptr : &model.at(expected));
            }
        }
    }

    // Long random sequences against the plain rule: append, then stably sort the whole list by
    // rank after every addition; flag changes and leaves do not sort.
    void matchesFullStableSortAfterEveryAddition()
    {
        const QStringList flagValues = {"0000", "0000", "0000", "0020", "0001",
                                        "0002", "0004", "0008", "ff50", "0024"};
        std::mt19937 gen(7);
        const auto pick = [&gen](int n) { return int(gen() % unsigned(n)); };

        UserListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVector<QPair<QString, int>> reference;
        const auto rank = [](const QString& flags) { return UserListModel::ordem(flags).toInt(); };
        int next = 0;
        for (int step = 0; step < 2000; ++step) {
            const int what = pick(10);
            if (what < 5 || reference.isEmpty()) {
                const QString name = QStringLiteral("n%1").arg(next++);
                const QString flags = flagValues.at(pick(flagValues.size()));
                model.addUser(name, flags, QStringLiteral("CHAT"));
                reference.append({name, rank(flags)});
                std::stable_sort(reference.begin(), reference.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
            } else if (what < 8) {
                const int row = pick(reference.size());
                const QString flags = flagValues.at(pick(flagValues.size()));
                QVERIFY(model.setUserFlags(reference.at(row).first.toUpper(), flags));
                reference[row].second = rank(flags);
            } else {
                const int row = pick(reference.size());
                QVERIFY(model.removeUser(reference.at(row).first));
                reference.remove(row);
            }
            QCOMPARE(model.count(), reference.size());
            for (int row = 0; row < reference.size(); ++row) {
                QCOMPARE(model.at(row).account, reference.at(row).first);
                QCOMPARE(model.data(model.index(row, 0), UserListModel::OrderRole).toInt(),
                         reference.at(row).second);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestUserListModel)
#include "tst_userlistmodel.moc"
