#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <stdexcept>

#include "ScriptedPrompts.h"
#include "dialogs/OptionsContext.h"
#include "dialogs/OptionsRepliesTab.h"
#include "dialogs/OptionsTimersTab.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"

namespace {

// The controls of one reply group and the prefixes of its keys.
struct Group
{
    QString list;
    QString add;
    QString text;
    QStringList replies;
    QString count; // nRF: the count, and with a number the reply count of an entry
    QString entry; // F
    QString reply; // RF

    // "[Respostas]" and the lines, each key spelled with the group's prefixes: "#" stands for
    // the text's prefix, "R" for the replies', "N" for the counts'.
    QByteArray file(const QStringList& lines) const
    {
        QByteArray bytes("[Respostas]\r\n");
        for (QString line : lines) {
            if (line.startsWith(QLatin1Char('#')))
                line = entry + line.mid(1);
            else if (line.startsWith(QLatin1Char('R')))
                line = reply + line.mid(1);
            else if (line.startsWith(QLatin1Char('N')))
                line = count + line.mid(1);
            bytes += line.toLatin1() + "\r\n";
        }
        return bytes;
    }
};

// clang-format off
const Group Phrases{"lstFrases", "btnAddFrase", "txtFrase", {"txtResp1", "txtResp2", "txtResp3"}, "nRF", "F", "RF"};
const Group Whispers{"lstWhisps", "btnAddWhisp", "txtWhisp", {"txtRespW1", "txtRespW2", "txtRespW3"}, "nRW", "W", "RW"};
// clang-format on

enum class Which
{
    Phrases,
    Whispers
};

const Group& groupOf(Which which)
{
    return which == Which::Phrases ? Phrases : Whispers;
}

QStringList rowsOf(const QListWidget* list)
{
    QStringList rows;
    for (int row = 0; row < list->count(); ++row)
        rows << list->item(row)->text();
    return rows;
}

// The tabs "Respostas" and "Timers" on one settings file, shown, as the options dialog holds them.
struct Tabs
{
    explicit Tabs(const QString& path) : ini(path)
    {
        context.settingsPath = path;
        context.prompts = &prompts;
        replies = std::make_unique<OptionsRepliesTab>(ini, context);
        timers = std::make_unique<OptionsTimersTab>(ini, context);
        replies->show();
        timers->show();
    }

    template <typename T>
    T* find(const QString& name) const
    {
        if (T* found = replies->findChild<T*>(name))
            return found;
        return timers->findChild<T*>(name);
    }
    QListWidget* list(const QString& name) const { return find<QListWidget>(name); }
    QLineEdit* field(const QString& name) const { return find<QLineEdit>(name); }

    void click(const QString& button) const { find<QPushButton>(button)->click(); }
    void type(const QString& name, const QString& text) const
    {
        QTest::keyClicks(field(name), text);
    }
    // A mouse click on the row, as the user picks an entry.
    void select(const QString& name, int row) const
    {
        QListWidget* box = list(name);
        QListWidgetItem* item = box->item(row);
        box->scrollToItem(item);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(item).center());
    }
    int selectedRow(const QString& name) const
    {
        const QList<QListWidgetItem*> selected = list(name)->selectedItems();
        return selected.isEmpty() ? -1 : list(name)->row(selected.first());
    }

    ScriptedPrompts prompts;
    OptionsContext context;
    TIniFile ini;
    std::unique_ptr<OptionsRepliesTab> replies;
    std::unique_ptr<OptionsTimersTab> timers;
};

// Three phrase entries whose stored reply counts 2 and 3 disagree with their replies.
const QByteArray ThreePhrases("[Respostas]\r\nnRF=3\r\n"
                              "F1=p1\r\nRF11=a1\r\nRF12=\r\nRF13=\r\nnRF1=1\r\n"
                              "F2=p2\r\nRF21=b1\r\nRF22=b2\r\nRF23=\r\nnRF2=3\r\n"
                              "F3=p3\r\nRF31=c1\r\nRF32=\r\nRF33=c3\r\nnRF3=3\r\n");

} // namespace

Q_DECLARE_METATYPE(Which)

class TestOptionsLists : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    QString iniPath() const { return m_dir->filePath(QStringLiteral("confs.ini")); }

    void put(const QByteArray& bytes) const
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QByteArray contents() const
    {
        QFile file(iniPath());
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup() { m_dir.reset(); }

    void loadsAndStoresTheSwitches()
    {
        put("[Respostas]\r\nRespFrase=1\r\nnRF=2\r\nF1=oi\r\nF2=tchau\r\nnRW=1\r\nW1=w\r\n"
            "[Timers]\r\nTimersOn=1\r\nSTempo=$12C\r\nnTS=2\r\nSTimer1=m1\r\n");
        Tabs tabs(iniPath());
        QCOMPARE(rowsOf(tabs.list("lstFrases")), (QStringList{"oi", "tchau"}));
        QCOMPARE(rowsOf(tabs.list("lstWhisps")), (QStringList{"w"}));
        // nTS=2 holds one message: a count above the stored entries ends at the last one.
        QCOMPARE(rowsOf(tabs.list("lstSincTimers")), (QStringList{"m1"}));
        QCOMPARE(tabs.selectedRow("lstFrases"), -1);
        QCOMPARE(tabs.field("txtTempoSinc")->text(), QStringLiteral("$12C"));
        auto* phrases = tabs.find<QCheckBox>("chkResponderFrase");
        auto* whispers = tabs.find<QCheckBox>("chkResponderWhisp");
        auto* timers = tabs.find<QCheckBox>("chkTimers");
        QVERIFY(phrases->isChecked());
        QVERIFY(!whispers->isChecked());
        QVERIFY(timers->isChecked());

        // Nothing of the switches is written before the dialog is confirmed.
        const QByteArray before = contents();
        phrases->setChecked(false);
        whispers->setChecked(true);
        timers->setChecked(false);
        QCOMPARE(contents(), before);
        tabs.replies->store();
        tabs.timers->store();
        QVERIFY(!Settings::read(tabs.ini, Keys::Respostas::RespFrase));
        QVERIFY(Settings::read(tabs.ini, Keys::Respostas::RespWhisp));
        QVERIFY(!Settings::read(tabs.ini, Keys::Timers::TimersOn));
        QCOMPARE(Settings::read(tabs.ini, Keys::Timers::STempoShown), QStringLiteral("$12C"));
    }

    void emptyFileShowsDefaults()
    {
        Tabs tabs(iniPath());
        QCOMPARE(tabs.list("lstFrases")->count(), 0);
        QCOMPARE(tabs.list("lstSincTimers")->count(), 0);
        QCOMPARE(tabs.field("txtTempoSinc")->text(), QStringLiteral("0"));
        QVERIFY(!tabs.find<QCheckBox>("chkTimers")->isChecked());
    }

    void deleteRenumbers_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("row"); // -1: none selected
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("rows");

        // clang-format off
        QTest::newRow("phrase 1 of 3: moved, counts afresh") << "lstFrases" << "btnDelFrase" << ThreePhrases << 0 << QByteArray("[Respostas]\r\nnRF=2\r\nF1=p2\r\nRF11=b1\r\nRF12=b2\r\nRF13=\r\nnRF1=2\r\nF2=p3\r\nRF21=c1\r\nRF22=\r\nRF23=c3\r\nnRF2=1\r\n") << QStringList{"p2", "p3"};
        QTest::newRow("phrase 2 of 3") << "lstFrases" << "btnDelFrase" << ThreePhrases << 1 << QByteArray("[Respostas]\r\nnRF=2\r\nF1=p1\r\nRF11=a1\r\nRF12=\r\nRF13=\r\nnRF1=1\r\nF2=p3\r\nRF21=c1\r\nRF22=\r\nRF23=c3\r\nnRF2=1\r\n") << QStringList{"p1", "p3"};
        QTest::newRow("last phrase: its five keys only") << "lstFrases" << "btnDelFrase" << ThreePhrases << 2 << QByteArray("[Respostas]\r\nnRF=2\r\nF1=p1\r\nRF11=a1\r\nRF12=\r\nRF13=\r\nnRF1=1\r\nF2=p2\r\nRF21=b1\r\nRF22=b2\r\nRF23=\r\nnRF2=3\r\n") << QStringList{"p1", "p2"};
        QTest::newRow("no selection: nothing") << "lstFrases" << "btnDelFrase" << ThreePhrases << -1 << ThreePhrases << QStringList{"p1", "p2", "p3"};
        QTest::newRow("whisper 1 of 2, phrases untouched") << "lstWhisps" << "btnDelWhisp" << QByteArray("[Respostas]\r\nnRF=1\r\nF1=p\r\nRF11=a\r\nnRF1=1\r\nnRW=2\r\nW1=w1\r\nRW11=x\r\nRW12=\r\nRW13=\r\nnRW1=1\r\nW2=w2\r\nRW21=y\r\nRW22=z\r\nRW23=q\r\nnRW2=1\r\n") << 0 << QByteArray("[Respostas]\r\nnRF=1\r\nF1=p\r\nRF11=a\r\nnRF1=1\r\nnRW=1\r\nW1=w2\r\nRW11=y\r\nRW12=z\r\nRW13=q\r\nnRW1=3\r\n") << QStringList{"w2"};
        QTest::newRow("count above the stored entries: none made up") << "lstFrases" << "btnDelFrase" << QByteArray("[Respostas]\r\nnRF=4\r\nF1=p1\r\nnRF1=1\r\nF2=p2\r\nRF22=b2\r\nnRF2=1\r\nF3=p3\r\nnRF3=1\r\n") << 0 << QByteArray("[Respostas]\r\nnRF=3\r\nF1=p2\r\nnRF1=2\r\nF2=p3\r\nRF22=\r\nnRF2=1\r\nRF11=\r\nRF12=b2\r\nRF13=\r\nRF21=\r\nRF23=\r\n") << QStringList{"p2", "p3"};
        QTest::newRow("message 2 of 3") << "lstSincTimers" << "btnDelSincTimer" << QByteArray("[Timers]\r\nnTS=3\r\nSTimer1=m1\r\nSTimer2=m2\r\nSTimer3=m3\r\n") << 1 << QByteArray("[Timers]\r\nnTS=2\r\nSTimer1=m1\r\nSTimer2=m3\r\n") << QStringList{"m1", "m3"};
        QTest::newRow("last message") << "lstSincTimers" << "btnDelSincTimer" << QByteArray("[Timers]\r\nnTS=2\r\nSTimer1=m1\r\nSTimer2=m2\r\n[Form]\r\nX=1\r\n") << 1 << QByteArray("[Timers]\r\nnTS=1\r\nSTimer1=m1\r\n[Form]\r\nX=1\r\n") << QStringList{"m1"};
        QTest::newRow("no message selected: nothing") << "lstSincTimers" << "btnDelSincTimer" << QByteArray("[Timers]\r\nnTS=1\r\nSTimer1=m1\r\n") << -1 << QByteArray("[Timers]\r\nnTS=1\r\nSTimer1=m1\r\n") << QStringList{"m1"};
        // clang-format on
    }
    void deleteRenumbers()
    {
        QFETCH(QString, list);
        QFETCH(QString, button);
        QFETCH(QByteArray, before);
        QFETCH(int, row);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, rows);
        put(before);
        Tabs tabs(iniPath());
        if (row >= 0)
            tabs.select(list, row);
        tabs.click(button);
        QCOMPARE(contents(), after);
        QCOMPARE(rowsOf(tabs.list(list)), rows);
        QCOMPARE(tabs.selectedRow(list), -1);
        QCOMPARE(tabs.prompts.errors, QStringList());
    }

    void deleteEmptiesTheFields()
    {
        put(ThreePhrases);
        Tabs tabs(iniPath());
        tabs.select("lstFrases", 1);
        QCOMPARE(tabs.field("txtResp2")->text(), QStringLiteral("b2"));
        tabs.click("btnDelFrase");
        for (const QString& name : QStringList{"txtFrase", "txtResp1", "txtResp2", "txtResp3"})
            QCOMPARE(tabs.field(name)->text(), QString());
        // Nothing is selected: typing now writes nothing.
        const QByteArray stored = contents();
        tabs.type("txtResp1", "x");
        QCOMPARE(contents(), stored);
    }

    void addWritesTheEntryAndItsReplyCount_data()
    {
        QTest::addColumn<Which>("which");
        QTest::addColumn<QStringList>("fields"); // text, replies 1 to 3
        QTest::addColumn<QByteArray>("after");

        // clang-format off
        QTest::newRow("all empty: count 1") << Which::Phrases << QStringList{"", "", "", ""} << QByteArray("[Respostas]\r\nnRF=1\r\nnRF1=1\r\nF1=\r\nRF11=\r\nRF12=\r\nRF13=\r\n");
        QTest::newRow("reply 1 only: 1") << Which::Phrases << QStringList{"oi", "ola", "", ""} << QByteArray("[Respostas]\r\nnRF=1\r\nnRF1=1\r\nF1=oi\r\nRF11=ola\r\nRF12=\r\nRF13=\r\n");
        QTest::newRow("replies 1 and 2: 2") << Which::Phrases << QStringList{"oi", "a", "b", ""} << QByteArray("[Respostas]\r\nnRF=1\r\nnRF1=2\r\nF1=oi\r\nRF11=a\r\nRF12=b\r\nRF13=\r\n");
        QTest::newRow("all three: 3") << Which::Phrases << QStringList{"oi", "a", "b", "c"} << QByteArray("[Respostas]\r\nnRF=1\r\nnRF1=3\r\nF1=oi\r\nRF11=a\r\nRF12=b\r\nRF13=c\r\n");
        QTest::newRow("reply 3 without reply 2: 1") << Which::Phrases << QStringList{"oi", "a", "", "c"} << QByteArray("[Respostas]\r\nnRF=1\r\nnRF1=1\r\nF1=oi\r\nRF11=a\r\nRF12=\r\nRF13=c\r\n");
        QTest::newRow("reply 1 not looked at: 2") << Which::Phrases << QStringList{"oi", "", "b", ""} << QByteArray("[Respostas]\r\nnRF=1\r\nnRF1=2\r\nF1=oi\r\nRF11=\r\nRF12=b\r\nRF13=\r\n");
        QTest::newRow("whisper, all three: 3") << Which::Whispers << QStringList{"w", "a", "b", "c"} << QByteArray("[Respostas]\r\nnRW=1\r\nnRW1=3\r\nW1=w\r\nRW11=a\r\nRW12=b\r\nRW13=c\r\n");
        QTest::newRow("whisper, reply 3 without reply 2: 1") << Which::Whispers << QStringList{"w", "a", "", "c"} << QByteArray("[Respostas]\r\nnRW=1\r\nnRW1=1\r\nW1=w\r\nRW11=a\r\nRW12=\r\nRW13=c\r\n");
        // clang-format on
    }
    void addWritesTheEntryAndItsReplyCount()
    {
        QFETCH(Which, which);
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, after);
        const Group& group = groupOf(which);
        Tabs tabs(iniPath());
        const QStringList names = QStringList{group.text} + group.replies;
        for (int i = 0; i < names.size(); ++i)
            tabs.type(names[i], fields[i]);
        QVERIFY(contents().isEmpty()); // typing with nothing selected writes nothing
        tabs.click(group.add);
        QCOMPARE(contents(), after);
        QCOMPARE(rowsOf(tabs.list(group.list)), QStringList{fields[0]});
        for (const QString& name : names)
            QCOMPARE(tabs.field(name)->text(), QString());
    }

    void addAppendsAfterTheStoredEntries()
    {
        put(ThreePhrases);
        Tabs tabs(iniPath());
        tabs.type("txtFrase", "p4");
        tabs.type("txtResp1", "d1");
        tabs.click("btnAddFrase");
        QCOMPARE(contents(), QByteArray(ThreePhrases).replace("nRF=3", "nRF=4") +
                                 "nRF4=1\r\nF4=p4\r\nRF41=d1\r\nRF42=\r\nRF43=\r\n");
        QCOMPARE(Settings::read(tabs.ini, Keys::Respostas::nRF), 4);
        QCOMPARE(rowsOf(tabs.list("lstFrases")), (QStringList{"p1", "p2", "p3", "p4"}));
    }

    // The fields show the selected entry; adding copies them into a new entry and lets go of the
    // selected one before the fields are emptied, so it keeps its texts.
    void addWhileSelectedKeepsTheSelectedEntry_data()
    {
        QTest::addColumn<Which>("which");
        QTest::newRow("phrases") << Which::Phrases;
        QTest::newRow("whispers") << Which::Whispers;
    }
    void addWhileSelectedKeepsTheSelectedEntry()
    {
        QFETCH(Which, which);
        const Group& group = groupOf(which);
        // Reply 1, longer than typing allows (a hand edit), is copied whole; reply 3 is missing and
        // not made up.
        const QString longer(200, QLatin1Char('a'));
        put(group.file({"N=1", "#1=oi", "R11=" + longer, "R12=b", "N1=2"}));
        const QByteArray before = contents();
        Tabs tabs(iniPath());
        tabs.select(group.list, 0);
        QCOMPARE(tabs.field(group.text)->text(), QStringLiteral("oi"));
        QCOMPARE(tabs.field(group.replies[1])->text(), QStringLiteral("b"));
        QCOMPARE(contents(), before); // showing an entry writes nothing
        tabs.click(group.add);
        QCOMPARE(contents(), group.file({"N=2", "#1=oi", "R11=" + longer, "R12=b", "N1=2", "N2=2",
                                         "#2=oi", "R21=" + longer, "R22=b", "R23="}));
        QCOMPARE(rowsOf(tabs.list(group.list)), (QStringList{"oi", "oi"}));
        QCOMPARE(tabs.selectedRow(group.list), -1);
        QCOMPARE(tabs.field(group.text)->text(), QString());
    }

    // Each keystroke is written at once; the phrase also changes its row, which stays selected.
    void editInPlace_data()
    {
        QTest::addColumn<Which>("which");
        QTest::newRow("phrases") << Which::Phrases;
        QTest::newRow("whispers") << Which::Whispers;
    }
    void editInPlace()
    {
        QFETCH(Which, which);
        const Group& group = groupOf(which);
        const QString section = QStringLiteral("Respostas");
        put(group.file({"N=2", "#1=um", "R11=a", "N1=1", "#2=dois", "R21=b", "N2=1"}));
        Tabs tabs(iniPath());
        tabs.select(group.list, 1);
        QLineEdit* text = tabs.field(group.text);
        QString expected = QStringLiteral("dois");
        for (const QChar c : QStringLiteral("ção")) {
            // A key the keyboard map lacks still brings its text, as an accented letter does.
            QTest::sendKeyEvent(QTest::Click, text, Qt::Key_unknown, QString(c), Qt::NoModifier);
            expected += c;
            QCOMPARE(tabs.ini.ReadString(section, group.entry + "2", QString()), expected);
            QCOMPARE(tabs.list(group.list)->item(1)->text(), expected);
            QCOMPARE(tabs.selectedRow(group.list), 1);
        }
        // A second and a third reply typed into the entry leave its reply count as it was.
        tabs.type(group.replies[1], "x");
        QCOMPARE(tabs.ini.ReadString(section, group.reply + "22", QString()), QStringLiteral("x"));
        tabs.type(group.replies[2], "yz");
        QCOMPARE(tabs.ini.ReadString(section, group.reply + "23", QString()), QStringLiteral("yz"));
        QCOMPARE(contents(),
                 group.file({"N=2", "#1=um", "R11=a", "N1=1", "#2=dois" + expected.mid(4), "R21=b",
                             "N2=1", "R22=x", "R23=yz"}));
        QCOMPARE(tabs.prompts.errors, QStringList());
    }

    // The limit of a reply field is for typing: a stored reply longer than it (a hand edit) is
    // shown whole, stays whole while the entry's other fields are edited, and an edit of its own
    // starts from the whole text without making it longer.
    void longStoredReplyStaysWhole_data()
    {
        QTest::addColumn<Which>("which");
        QTest::newRow("phrases") << Which::Phrases;
        QTest::newRow("whispers") << Which::Whispers;
    }
    void longStoredReplyStaysWhole()
    {
        QFETCH(Which, which);
        const Group& group = groupOf(which);
        const QString section = QStringLiteral("Respostas");
        const QString longer = QString(199, QLatin1Char('a')) + QLatin1Char('z');
        put(group.file({"N=2", "#1=oi", "R11=" + longer, "N1=1", "#2=tchau", "R21=b", "N2=1"}));
        Tabs tabs(iniPath());
        const auto stored = [&](const QString& key) {
            return tabs.ini.ReadString(section, key, QString());
        };
        QLineEdit* first = tabs.field(group.replies[0]);

        tabs.select(group.list, 0);
        QCOMPARE(first->text(), longer);
        tabs.type(group.text, "!");
        tabs.type(group.replies[1], "x");
        QCOMPARE(stored(group.entry + "1"), QStringLiteral("oi!"));
        QCOMPARE(stored(group.reply + "12"), QStringLiteral("x"));
        QCOMPARE(stored(group.reply + "11"), longer);

        // Typing at the end is refused; a character taken away and another typed are written
        // with the rest of the text.
        tabs.type(group.replies[0], "b");
        QCOMPARE(first->text(), longer);
        QCOMPARE(stored(group.reply + "11"), longer);
        QTest::keyClick(first, Qt::Key_Backspace);
        QCOMPARE(stored(group.reply + "11"), longer.chopped(1));
        tabs.type(group.replies[0], "y");
        QCOMPARE(stored(group.reply + "11"), longer.chopped(1) + QLatin1Char('y'));

        // Another entry's reply is held to the limit again.
        tabs.select(group.list, 1);
        QCOMPARE(first->text(), QStringLiteral("b"));
        tabs.type(group.replies[0], QString(400, QLatin1Char('c')));
        QCOMPARE(stored(group.reply + "21").size(), 159);
        QCOMPARE(stored(group.reply + "11"), longer.chopped(1) + QLatin1Char('y'));
        QCOMPARE(tabs.prompts.errors, QStringList());
    }

    // A stored message longer than typing allows (a hand edit) is listed whole and stays whole
    // when other messages are added and removed around it.
    void longStoredMessageStaysWhole()
    {
        const QByteArray longer(200, 'm');
        put("[Timers]\r\nnTS=2\r\nSTimer1=m1\r\nSTimer2=" + longer + "\r\n");
        Tabs tabs(iniPath());
        QCOMPARE(rowsOf(tabs.list("lstSincTimers")),
                 (QStringList{"m1", QString::fromLatin1(longer)}));
        tabs.select("lstSincTimers", 0);
        tabs.click("btnDelSincTimer");
        tabs.type("txtSincTimer", "m3");
        tabs.click("btnAddSincTimer");
        QCOMPARE(contents(), "[Timers]\r\nnTS=2\r\nSTimer1=" + longer + "\r\nSTimer2=m3\r\n");
        QCOMPARE(rowsOf(tabs.list("lstSincTimers")),
                 (QStringList{QString::fromLatin1(longer), "m3"}));
    }

    void lengthLimits_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("kept");

        // clang-format off
        QTest::newRow("txtFrase: no limit") << "txtFrase" << 400;
        QTest::newRow("txtWhisp: no limit") << "txtWhisp" << 400;
        QTest::newRow("txtResp1") << "txtResp1" << 159;
        QTest::newRow("txtResp3") << "txtResp3" << 159;
        QTest::newRow("txtRespW2") << "txtRespW2" << 159;
        QTest::newRow("txtSincTimer") << "txtSincTimer" << 159;
        // clang-format on
    }
    void lengthLimits()
    {
        QFETCH(QString, field);
        QFETCH(int, kept);
        Tabs tabs(iniPath());
        tabs.type(field, QString(400, QLatin1Char('a')));
        QCOMPARE(tabs.field(field)->text().size(), kept);
    }

    void timersAdd()
    {
        Tabs tabs(iniPath());
        tabs.click("btnAddSincTimer");
        QVERIFY(!QFile::exists(iniPath()));
        QCOMPARE(tabs.list("lstSincTimers")->count(), 0);
        tabs.type("txtSincTimer", "/join Sala");
        tabs.click("btnAddSincTimer");
        tabs.type("txtSincTimer", "oi");
        tabs.click("btnAddSincTimer");
        QCOMPARE(contents(),
                 QByteArray("[Timers]\r\nnTS=2\r\nSTimer1=/join Sala\r\nSTimer2=oi\r\n"));
        QCOMPARE(rowsOf(tabs.list("lstSincTimers")), (QStringList{"/join Sala", "oi"}));
        QCOMPARE(tabs.field("txtSincTimer")->text(), QString());
    }

    void periodOnConfirm_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");  // the field afterwards
        QTest::addColumn<QString>("stored"); // as read back; null: not written

        // clang-format off
        QTest::newRow("300") << "300" << "300" << "300";
        QTest::newRow("leading blanks") << " 300" << " 300" << "300";
        QTest::newRow("120 itself") << "120" << "120" << "120";
        QTest::newRow("60 raised") << "60" << "120" << "120";
        QTest::newRow("0 raised") << "0" << "120" << "120";
        QTest::newRow("negative raised") << "-5" << "120" << "120";
        QTest::newRow("plus sign") << "+7" << "120" << "120";
        QTest::newRow("plus sign, large") << "+300" << "+300" << "+300";
        QTest::newRow("$ hex small") << "$1F" << "120" << "120";
        QTest::newRow("$ hex kept as typed") << "$12C" << "$12C" << "$12C";
        QTest::newRow("0x hex") << "0x10" << "120" << "120";
        QTest::newRow("X hex") << "X200" << "X200" << "X200";
        QTest::newRow("eight hex digits: negative") << "$FFFFFFFF" << "120" << "120";
        QTest::newRow("empty") << "" << "" << QString();
        QTest::newRow("letters after") << "12a" << "12a" << QString();
        QTest::newRow("blank inside") << "1 2" << "1 2" << QString();
        QTest::newRow("trailing blank") << "300 " << "300 " << QString();
        QTest::newRow("prefix alone") << "0x" << "0x" << QString();
        QTest::newRow("sign alone") << "-" << "-" << QString();
        QTest::newRow("beyond 32 bits") << "2147483648" << "2147483648" << QString();
        QTest::newRow("accents") << "dois minutos é" << "dois minutos é" << QString();
        // clang-format on
    }
    void periodOnConfirm()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        put("[Timers]\r\nSTempo=500\r\nTimersOn=0\r\n");
        Tabs tabs(iniPath());
        tabs.field("txtTempoSinc")->setText(typed);
        tabs.find<QCheckBox>("chkTimers")->setChecked(true);
        QString error;
        try {
            tabs.timers->store();
        } catch (const std::runtime_error& e) {
            error = QString::fromUtf8(e.what());
        }
        QCOMPARE(tabs.field("txtTempoSinc")->text(), shown);
        // The switch is written before the period is looked at.
        QVERIFY(Settings::read(tabs.ini, Keys::Timers::TimersOn));
        if (stored.isNull()) {
            QCOMPARE(error, QStringLiteral("'%1' is not a valid integer value").arg(typed));
            QCOMPARE(Settings::read(tabs.ini, Keys::Timers::STempoShown), QStringLiteral("500"));
        } else {
            QCOMPARE(error, QString());
            QCOMPARE(Settings::read(tabs.ini, Keys::Timers::STempoShown), stored);
        }
    }

    // The file changed behind the dialog's back (by hand, by a second copy of the program), so the
    // list and the stored count disagree.
    void handEditedCountAndListDisagree_data()
    {
        QTest::addColumn<QByteArray>("opened");
        QTest::addColumn<QByteArray>("edited");
        QTest::addColumn<int>("row"); // selected before the button; -1: none
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("rows");

        const QByteArray one("[Respostas]\r\nnRF=1\r\nF1=p1\r\nnRF1=1\r\n");
        const QByteArray raised("[Respostas]\r\nnRF=3\r\nF1=p1\r\nnRF1=1\r\nF2=p2\r\nRF21="
                                "b\r\nRF22=c\r\nnRF2=2\r\nF3=p3\r\nnRF3=1\r\n");
        const QByteArray lowered("[Respostas]\r\nnRF=2\r\n"
                                 "F1=p1\r\nRF11=a1\r\nRF12=\r\nRF13=\r\nnRF1=1\r\n"
                                 "F2=p2\r\nRF21=b1\r\nRF22=b2\r\nRF23=\r\nnRF2=3\r\n"
                                 "F3=p3\r\nRF31=c1\r\nRF32=\r\nRF33=c3\r\nnRF3=3\r\n");
        // clang-format off
        QTest::newRow("count raised: the add takes the number after it") << one << raised << -1 << "btnAddFrase" << QByteArray(raised).replace("nRF=3", "nRF=4") + "nRF4=1\r\nF4=novo\r\nRF41=r\r\nRF42=\r\nRF43=\r\n" << QStringList{"p1", "novo"};
        QTest::newRow("count lowered: a row past it deletes nothing") << ThreePhrases << lowered << 2 << "btnDelFrase" << lowered << QStringList{"p1", "p2"};
        QTest::newRow("count lowered: keys past it stay") << ThreePhrases << lowered << 0 << "btnDelFrase" << QByteArray("[Respostas]\r\nnRF=1\r\n"
                                                                                                                        "F1=p2\r\nRF11=b1\r\nRF12=b2\r\nRF13=\r\nnRF1=2\r\n"
                                                                                                                        "F3=p3\r\nRF31=c1\r\nRF32=\r\nRF33=c3\r\nnRF3=3\r\n") << QStringList{"p2", "p3"};
        // clang-format on
    }
    void handEditedCountAndListDisagree()
    {
        QFETCH(QByteArray, opened);
        QFETCH(QByteArray, edited);
        QFETCH(int, row);
        QFETCH(QString, button);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, rows);
        put(opened);
        Tabs tabs(iniPath());
        put(edited);
        if (row >= 0) {
            tabs.select("lstFrases", row);
        } else {
            tabs.type("txtFrase", "novo");
            tabs.type("txtResp1", "r");
        }
        tabs.click(button);
        QCOMPARE(contents(), after);
        QCOMPARE(rowsOf(tabs.list("lstFrases")), rows);
        QCOMPARE(tabs.prompts.errors, QStringList());
    }

    // A refused write is shown in the error box and leaves the list as the file has it.
    void refusedWrite_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("row"); // selected first; -1: none
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("button"); // empty: typing in the field is the change

        // clang-format off
        QTest::newRow("add phrase") << "lstFrases" << -1 << "txtFrase" << "btnAddFrase";
        QTest::newRow("delete phrase") << "lstFrases" << 0 << "" << "btnDelFrase";
        QTest::newRow("edit phrase") << "lstFrases" << 1 << "txtFrase" << "";
        QTest::newRow("edit reply") << "lstFrases" << 1 << "txtResp3" << "";
        QTest::newRow("add whisper") << "lstWhisps" << -1 << "txtWhisp" << "btnAddWhisp";
        QTest::newRow("add message") << "lstSincTimers" << -1 << "txtSincTimer" << "btnAddSincTimer";
        QTest::newRow("remove message") << "lstSincTimers" << 0 << "" << "btnDelSincTimer";
        // clang-format on
    }
    void refusedWrite()
    {
        QFETCH(QString, list);
        QFETCH(int, row);
        QFETCH(QString, field);
        QFETCH(QString, button);
        put(ThreePhrases + "nRW=1\r\nW1=w\r\n[Timers]\r\nnTS=2\r\nSTimer1=m1\r\nSTimer2=m2\r\n");
        const QByteArray before = contents();
        QVERIFY(QFile::setPermissions(iniPath(), QFileDevice::ReadOwner));
        Tabs tabs(iniPath());
        const QStringList rows = rowsOf(tabs.list(list));
        if (row >= 0)
            tabs.select(list, row);
        if (!field.isEmpty())
            tabs.type(field, "x");
        if (!button.isEmpty())
            tabs.click(button);
        QCOMPARE(tabs.prompts.errors, QStringList{"Unable to write to " + iniPath()});
        QCOMPARE(contents(), before);
        QCOMPARE(rowsOf(tabs.list(list)), rows);
    }
};

QTEST_MAIN(TestOptionsLists)
#include "tst_options_lists.moc"
