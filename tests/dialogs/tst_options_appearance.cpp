#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include <cstdlib>
#include <memory>

#include "ScriptedPrompts.h"
#include "dialogs/OptionsContext.h"
#include "dialogs/TfrmOpcoes.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "view/ColorRef.h"
#include "view/StyleTable.h"

namespace {

const QString Aparencia = QStringLiteral("Aparencia");
const QString LargeList = QStringLiteral("UsersFonteTam=24");
// 0x00563412 as the file stores it.
const QColor Chosen(0x12, 0x34, 0x56);
constexpr int ChosenStored = 5649426;

// The options dialog on a temporary confs.ini, wired to a style table, two panes and a user list
// as the main window's.
struct Session
{
    explicit Session(const QStringList& aparencia = {}, bool opMode = false)
    {
        path = dir.filePath(QStringLiteral("confs.ini"));
        if (!aparencia.isEmpty()) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(("[Aparencia]\r\n" + aparencia.join(QStringLiteral("\r\n")) + "\r\n")
                               .toLatin1());
        }
        context = {path, &prompts, &styles, &chatPane, &whisperPane, &userList, opMode};
        dialog = std::make_unique<TfrmOpcoes>(context);
        dialog->show();
    }

    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        return dialog->findChild<T*>(name);
    }

    int stored(const QString& key) const { return TIniFile(path).ReadInteger(Aparencia, key, -1); }

    QString storedText(const QString& key) const
    {
        return TIniFile(path).ReadString(Aparencia, key, QStringLiteral("(missing)"));
    }

    QByteArray fileBytes() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool showTab()
    {
        find<QTabWidget>(QStringLiteral("pcOpcoes"))
            ->setCurrentWidget(find(QStringLiteral("tsAparencia")));
        return QTest::qWaitForWindowExposed(dialog.get());
    }

    // Shows the tab, with room for every entry of the user colour list in a large font.
    bool showLargeList()
    {
        userColors()->resize(300, 300);
        return showTab();
    }

    QTreeWidget* userColors() const { return find<QTreeWidget>(QStringLiteral("lstUsersConf")); }

    QRect row(int index) const
    {
        return userColors()->visualItemRect(userColors()->topLevelItem(index));
    }

    // Clicks a control as the user does: a button, a preview label or an entry of the list.
    void click(const QString& name, int entry = 0)
    {
        if (auto* b = find<QPushButton>(name))
            b->click();
        else if (name == QLatin1String("lstUsersConf"))
            QTest::mouseClick(userColors()->viewport(), Qt::LeftButton, {}, row(entry).center());
        else
            QTest::mouseClick(find(name), Qt::LeftButton);
    }

    void cancel() { find<QPushButton>(QStringLiteral("btnCancel"))->click(); }

    QTemporaryDir dir;
    QString path;
    ScriptedPrompts prompts;
    StyleTable styles;
    ChatView chatPane{&styles};
    ChatView whisperPane{&styles};
    QTreeView userList;
    OptionsContext context;
    std::unique_ptr<TfrmOpcoes> dialog;
};

QColor textColor(const QWidget* label)
{
    return label->palette().color(QPalette::WindowText);
}

QColor fill(const QWidget* shape)
{
    return shape->palette().color(QPalette::Window);
}

QColor base(const QWidget* list)
{
    return list->palette().color(QPalette::Base);
}

// Whether any pixel of the list's row is drawn in the colour: entry text is antialiased, but the
// stems of a large font are drawn in the full colour (see LargeList), give or take the rounding of
// the text's gamma.
bool drawsColor(QTreeWidget* list, const QRect& row, const QColor& color)
{
    const QImage picture = list->viewport()->grab(row).toImage();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) <= 3 &&
                std::abs(pixel.green() - color.green()) <= 3 &&
                std::abs(pixel.blue() - color.blue()) <= 3)
                return true;
        }
    }
    return false;
}

QList<TextStyle> snapshot(const StyleTable& styles)
{
    QList<TextStyle> all;
    for (int no = 0; no < styles.count(); ++no)
        all << styles.style(no);
    return all;
}

bool sameStyle(const TextStyle& a, const TextStyle& b)
{
    return a.fontName == b.fontName && a.size == b.size && a.color == b.color;
}

// What the tab shows of the settings: the previews' texts and fills, the user colour list.
QStringList look(const QWidget* tab)
{
    QStringList shown;
    for (const QLabel* label : tab->findChildren<QLabel*>())
        shown << label->objectName() + ' ' + textColor(label).name() + ' ' +
                     label->font().toString();
    for (const char* shape : {"shpTelaChat", "shpTelaWhisp"})
        shown << fill(tab->findChild<QWidget*>(QString::fromLatin1(shape))).name();
    const auto* list = tab->findChild<QTreeWidget*>(QStringLiteral("lstUsersConf"));
    shown << base(list).name() + ' ' + list->font().toString();
    return shown;
}

} // namespace

class TestOptionsAppearance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void previewTextColor_data();
    void previewTextColor();
    void messageTextTakesNoClicks();
    void paneBackground_data();
    void paneBackground();
    void restoreDefaults();
    void paneFont_data();
    void paneFont();
    void userColor_data();
    void userColor();
    void userListFont();
    void userListBackground();
    void cancelledDialogsChangeNothing_data();
    void cancelledDialogsChangeNothing();
    void unwritableFileChangesNothingShown();
    void switches_data();
    void switches();
    void switchesDefaultOn();
};

// Each text starts in a colour of its own, so a label reading another's key shows.
const QStringList DistinctTextColors = {
    QStringLiteral("CorHora=1"),    QStringLiteral("CorAcc=2"),    QStringLiteral("CorEmote=3"),
    QStringLiteral("CorInfo=4"),    QStringLiteral("CorWFrom=5"),  QStringLiteral("CorWFromMsg=6"),
    QStringLiteral("CorWTo=7"),     QStringLiteral("CorWToMsg=8"), QStringLiteral("CorMsg=9"),
    QStringLiteral("CorMencao=10"),
};

void TestOptionsAppearance::previewTextColor_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("start");

    // clang-format off
    QTest::newRow("time")             << "lblMsgHora"         << "CorHora"     << 13 << 1;
    QTest::newRow("account")          << "lblMsgAcc"          << "CorAcc"      << 4  << 2;
    QTest::newRow("emote")            << "lblMsgEmo"          << "CorEmote"    << 6  << 3;
    QTest::newRow("info")             << "lblMsgInfo"         << "CorInfo"     << 7  << 4;
    QTest::newRow("whisper from")     << "lblMsgWhispFrom"    << "CorWFrom"    << 10 << 5;
    QTest::newRow("whisper from msg") << "lblMsgWhispFromMsg" << "CorWFromMsg" << 12 << 6;
    QTest::newRow("whisper to")       << "lblMsgWhispTo"      << "CorWTo"      << 9  << 7;
    QTest::newRow("whisper to msg")   << "lblMsgWhispToMsg"   << "CorWToMsg"   << 11 << 8;
    QTest::newRow("mention")          << "lblMsgMencao"       << "CorMencao"   << 14 << 10;
    // clang-format on
}

// The colour is stored and reaches the style table at once, and "Cancelar" takes nothing back.
void TestOptionsAppearance::previewTextColor()
{
    QFETCH(QString, label);
    QFETCH(QString, key);
    QFETCH(int, style);
    QFETCH(int, start);
    Session s(DistinctTextColors);
    QWidget* text = s.find(label);
    QVERIFY(text);
    QCOMPARE(text->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(textColor(text), ColorRef::toColor(start));
    QList<TextStyle> expected = snapshot(s.styles);
    expected[style].color = Chosen;

    s.prompts.colors.enqueue(Chosen);
    s.click(label);
    QCOMPARE(s.prompts.colorStarts, QList<QColor>{ColorRef::toColor(start)});
    QCOMPARE(s.stored(key), ChosenStored);
    QCOMPARE(textColor(text), Chosen);
    s.cancel();
    QCOMPARE(s.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(s.stored(key), ChosenStored);
    const QList<TextStyle> after = snapshot(s.styles);
    for (int no = 0; no < after.size(); ++no)
        QVERIFY2(sameStyle(after[no], expected[no]), qPrintable(QString::number(no)));
}

// "mensagem ..." shows the hand-set CorMsg and opens nothing.
void TestOptionsAppearance::messageTextTakesNoClicks()
{
    Session s({QStringLiteral("CorMsg=255")});
    QWidget* text = s.find(QStringLiteral("lblMsgMsg"));
    QVERIFY(text);
    QCOMPARE(textColor(text), QColor(Qt::red));
    const QByteArray before = s.fileBytes();
    s.prompts.colors.enqueue(Chosen);
    s.click(QStringLiteral("lblMsgMsg"));
    QVERIFY(s.prompts.colorStarts.isEmpty());
    QCOMPARE(s.fileBytes(), before);
    QCOMPARE(textColor(text), QColor(Qt::red));
}

void TestOptionsAppearance::paneBackground_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("whisper");
    QTest::addColumn<int>("start");

    // clang-format off
    QTest::newRow("channel") << "lblTelaChat"  << "shpTelaChat"  << "CorFundoChat"  << false << 3;
    QTest::newRow("whisper") << "lblTelaWhisp" << "shpTelaWhisp" << "CorFundoWhisp" << true  << 4;
    // clang-format on
}

void TestOptionsAppearance::paneBackground()
{
    QFETCH(QString, label);
    QFETCH(QString, shape);
    QFETCH(QString, key);
    QFETCH(bool, whisper);
    QFETCH(int, start);
    Session s({QStringLiteral("CorFundoChat=3"), QStringLiteral("CorFundoWhisp=4")});
    ChatView& pane = whisper ? s.whisperPane : s.chatPane;
    ChatView& other = whisper ? s.chatPane : s.whisperPane;
    const QColor otherBefore = other.backgroundColor();
    QCOMPARE(fill(s.find(shape)), ColorRef::toColor(start));

    s.prompts.colors.enqueue(Chosen);
    s.click(label);
    QCOMPARE(s.prompts.colorStarts, QList<QColor>{ColorRef::toColor(start)});
    QCOMPARE(s.stored(key), ChosenStored);
    QCOMPARE(pane.backgroundColor(), Chosen);
    QCOMPARE(other.backgroundColor(), otherBefore);
    QCOMPARE(fill(s.find(shape)), Chosen);
}

// The six keys take the defaults at once and the list turns black; the main window's list and
// the list font wait.
void TestOptionsAppearance::restoreDefaults()
{
    Session s({QStringLiteral("CorMOD=1"), QStringLiteral("CorADM=2"), QStringLiteral("CorOP=3"),
               QStringLiteral("CorVOICE=4"), QStringLiteral("CorUSER=5"),
               QStringLiteral("CorFundo=16777215"), QStringLiteral("UsersFonte=Arial"), LargeList});
    QPalette white = s.userList.palette();
    white.setColor(QPalette::Base, Qt::white);
    s.userList.setPalette(white);
    QCOMPARE(base(s.userColors()), QColor(Qt::white));
    QVERIFY(s.showLargeList());
    const QList<TextStyle> styles = snapshot(s.styles);

    s.click(QStringLiteral("btnRestaurarUsers"));
    QCOMPARE(s.stored(QStringLiteral("CorMOD")), 8421504);
    QCOMPARE(s.stored(QStringLiteral("CorADM")), 16744448);
    QCOMPARE(s.stored(QStringLiteral("CorOP")), 16759671);
    QCOMPARE(s.stored(QStringLiteral("CorVOICE")), 33023);
    QCOMPARE(s.stored(QStringLiteral("CorUSER")), 16777215);
    QCOMPARE(s.stored(QStringLiteral("CorFundo")), 0);
    QCOMPARE(base(s.userColors()), QColor(Qt::black));
    QVERIFY(drawsColor(s.userColors(), s.row(3), QColor(0xFF, 0x80, 0x00)));
    QCOMPARE(s.storedText(QStringLiteral("UsersFonte")), QStringLiteral("Arial"));
    QCOMPARE(base(&s.userList), QColor(Qt::white));
    QVERIFY(s.prompts.colorStarts.isEmpty());
    const QList<TextStyle> after = snapshot(s.styles);
    for (int no = 0; no < after.size(); ++no)
        QVERIFY(sameStyle(after[no], styles[no]));
}

void TestOptionsAppearance::paneFont_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("familyKey");
    QTest::addColumn<QString>("sizeKey");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<QList<int>>("styles");

    // clang-format off
    QTest::newRow("channel") << "btnAlteraFonteChat" << "FonteChat"  << "TamFonteChat"  << "lblMsgAcc"       << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 13, 14};
    QTest::newRow("whisper") << "btnFonteWhisp"      << "FonteWhisp" << "TamFonteWhisp" << "lblMsgWhispFrom" << QList<int>{9, 10, 11, 12};
    // clang-format on
}

// Arial 12: the keys, the previews and the pane's styles take family and size, never colour.
void TestOptionsAppearance::paneFont()
{
    QFETCH(QString, button);
    QFETCH(QString, familyKey);
    QFETCH(QString, sizeKey);
    QFETCH(QString, preview);
    QFETCH(QList<int>, styles);
    Session s({QStringLiteral("FonteChat=Courier New"), QStringLiteral("TamFonteChat=11"),
               QStringLiteral("FonteWhisp=Times New Roman"), QStringLiteral("TamFonteWhisp=9")});
    QWidget* label = s.find(preview);
    const QFont start = label->font();
    QCOMPARE(start.family(), s.storedText(familyKey));
    QCOMPARE(start.pointSize(), s.stored(sizeKey));
    QList<TextStyle> expected = snapshot(s.styles);
    for (const int no : styles) {
        expected[no].fontName = QStringLiteral("Arial");
        expected[no].size = 12;
    }

    s.prompts.fonts.enqueue(QFont(QStringLiteral("Arial"), 12));
    s.click(button);
    QCOMPARE(s.prompts.fontStarts.size(), 1);
    QCOMPARE(s.prompts.fontStarts.first().family(), start.family());
    QCOMPARE(s.prompts.fontStarts.first().pointSize(), start.pointSize());
    QCOMPARE(s.storedText(familyKey), QStringLiteral("Arial"));
    QCOMPARE(s.stored(sizeKey), 12);
    QCOMPARE(label->font().family(), QStringLiteral("Arial"));
    QCOMPARE(label->font().pointSize(), 12);
    const QList<TextStyle> after = snapshot(s.styles);
    for (int no = 0; no < after.size(); ++no)
        QVERIFY2(sameStyle(after[no], expected[no]), qPrintable(QString::number(no)));
}

void TestOptionsAppearance::userColor_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("start");

    // clang-format off
    QTest::newRow("moderator")     << 0 << "MODERADOR"     << "CorMOD"   << 0x0000F0;
    QTest::newRow("administrator") << 1 << "ADMINISTRADOR" << "CorADM"   << 0x00F000;
    QTest::newRow("operator")      << 2 << "OPERADOR"      << "CorOP"    << 0xF00000;
    QTest::newRow("voice")         << 3 << "VOICE"         << "CorVOICE" << 0xF0F000;
    QTest::newRow("user")          << 4 << "USUÁRIO"       << "CorUSER"  << 0x00F0F0;
    // clang-format on
}

// The entry's key is written and the entry is drawn in the new colour; the main window's user
// list and styles wait for "OK", and "Cancelar" keeps the key.
void TestOptionsAppearance::userColor()
{
    QFETCH(int, entry);
    QFETCH(QString, caption);
    QFETCH(QString, key);
    QFETCH(int, start);
    Session s({QStringLiteral("CorMOD=240"), QStringLiteral("CorADM=61440"),
               QStringLiteral("CorOP=15728640"), QStringLiteral("CorVOICE=15790080"),
               QStringLiteral("CorUSER=61680"), LargeList});
    QVERIFY(s.showLargeList());
    QCOMPARE(s.userColors()->topLevelItem(entry)->text(0), caption);
    QVERIFY(drawsColor(s.userColors(), s.row(entry), ColorRef::toColor(start)));
    const QPalette mainList = s.userList.palette();
    const QList<TextStyle> styles = snapshot(s.styles);

    s.prompts.colors.enqueue(Chosen);
    s.click(QStringLiteral("lstUsersConf"), entry);
    QCOMPARE(s.prompts.colorStarts, QList<QColor>{ColorRef::toColor(start)});
    QCOMPARE(s.stored(key), ChosenStored);
    s.userColors()->clearSelection(); // the style tints selected rows
    QVERIFY(drawsColor(s.userColors(), s.row(entry), Chosen));
    QCOMPARE(s.userList.palette(), mainList);
    s.cancel();
    QCOMPARE(s.stored(key), ChosenStored);
    const QList<TextStyle> after = snapshot(s.styles);
    for (int no = 0; no < after.size(); ++no)
        QVERIFY(sameStyle(after[no], styles[no]));
}

// Both lists take family and size at once, and the size is stored in points.
void TestOptionsAppearance::userListFont()
{
    Session s({QStringLiteral("UsersFonte=Tahoma"), QStringLiteral("UsersFonteTam=11")});
    QCOMPARE(s.userColors()->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(s.userColors()->font().pointSize(), 11);

    s.prompts.fonts.enqueue(QFont(QStringLiteral("Arial"), 14, QFont::Bold));
    s.click(QStringLiteral("btnAlteraFonteUsers"));
    QCOMPARE(s.prompts.fontStarts.first().family(), QStringLiteral("Tahoma"));
    QCOMPARE(s.storedText(QStringLiteral("UsersFonte")), QStringLiteral("Arial"));
    QCOMPARE(s.stored(QStringLiteral("UsersFonteTam")), 14);
    for (QWidget* list :
         {static_cast<QWidget*>(s.userColors()), static_cast<QWidget*>(&s.userList)}) {
        QCOMPARE(list->font().family(), QStringLiteral("Arial"));
        QCOMPARE(list->font().pointSize(), 14);
        QCOMPARE(list->font().bold(), false);
    }
}

void TestOptionsAppearance::userListBackground()
{
    Session s({QStringLiteral("CorFundo=255")});
    QCOMPARE(base(s.userColors()), QColor(Qt::red));
    s.prompts.colors.enqueue(Chosen);
    s.click(QStringLiteral("btnCorFundoUsers"));
    QCOMPARE(s.prompts.colorStarts, QList<QColor>{QColor(Qt::red)});
    QCOMPARE(s.stored(QStringLiteral("CorFundo")), ChosenStored);
    QCOMPARE(base(s.userColors()), Chosen);
    QCOMPARE(base(&s.userList), Chosen);
}

void TestOptionsAppearance::cancelledDialogsChangeNothing_data()
{
    QTest::addColumn<QString>("control");

    QTest::newRow("time colour") << "lblMsgHora";
    QTest::newRow("whisper text colour") << "lblMsgWhispToMsg";
    QTest::newRow("channel background") << "lblTelaChat";
    QTest::newRow("whisper background") << "lblTelaWhisp";
    QTest::newRow("user colour") << "lstUsersConf";
    QTest::newRow("list font") << "btnAlteraFonteUsers";
    QTest::newRow("list background") << "btnCorFundoUsers";
    QTest::newRow("channel font") << "btnAlteraFonteChat";
    QTest::newRow("whisper font") << "btnFonteWhisp";
}

void TestOptionsAppearance::cancelledDialogsChangeNothing()
{
    QFETCH(QString, control);
    Session s(DistinctTextColors);
    QVERIFY(s.showLargeList());
    const QByteArray file = s.fileBytes();
    const QList<TextStyle> styles = snapshot(s.styles);
    const QPalette mainList = s.userList.palette();
    const QFont mainFont = s.userList.font();
    const QStringList shown = look(s.dialog.get());

    s.click(control, 3);
    QCOMPARE(s.prompts.colorStarts.size() + s.prompts.fontStarts.size(), 1);
    QCOMPARE(s.fileBytes(), file);
    const QList<TextStyle> after = snapshot(s.styles);
    for (int no = 0; no < after.size(); ++no)
        QVERIFY(sameStyle(after[no], styles[no]));
    QCOMPARE(s.chatPane.backgroundColor(), QColor(Qt::black));
    QCOMPARE(s.whisperPane.backgroundColor(), QColor(Qt::black));
    QCOMPARE(s.userList.palette(), mainList);
    QCOMPARE(s.userList.font(), mainFont);
    QCOMPARE(look(s.dialog.get()), shown);
}

// A refused write ends the handler in an error box before anything on screen changes.
void TestOptionsAppearance::unwritableFileChangesNothingShown()
{
    Session s({QStringLiteral("CorHora=1")});
    QFile::setPermissions(s.path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QColor style = s.styles.color(StyleTable::Horario);

    s.prompts.colors << Chosen << Chosen;
    s.click(QStringLiteral("lblMsgHora"));
    s.click(QStringLiteral("btnCorFundoUsers"));
    QCOMPARE(s.prompts.errors.size(), 2);
    QVERIFY(s.prompts.errors.first().startsWith(QStringLiteral("Unable to write to")));
    QCOMPARE(s.styles.color(StyleTable::Horario), style);
    QCOMPARE(textColor(s.find(QStringLiteral("lblMsgHora"))), ColorRef::toColor(1));
    QCOMPARE(base(s.userColors()), QColor(Qt::black));
    QCOMPARE(s.stored(QStringLiteral("CorHora")), 1);
}

void TestOptionsAppearance::switches_data()
{
    QTest::addColumn<bool>("opMode");
    QTest::addColumn<QString>("closeWith");
    QTest::addColumn<bool>("stored");

    // clang-format off
    QTest::newRow("ok, operator mode")          << true  << "btnOK"     << true;
    QTest::newRow("ok, hidden custom list box") << false << "btnOK"     << true;
    QTest::newRow("cancel")                     << false << "btnCancel" << false;
    // clang-format on
}

// Loaded at creation, written by "OK" only; the custom list's switch is stored also while
// hidden outside operator mode.
void TestOptionsAppearance::switches()
{
    QFETCH(bool, opMode);
    QFETCH(QString, closeWith);
    QFETCH(bool, stored);
    Session s({QStringLiteral("HorarioMsg=0"), QStringLiteral("BarraChat=1"),
               QStringLiteral("CustomList=0")},
              opMode);
    auto* chkHorario = s.find<QCheckBox>(QStringLiteral("chkHorario"));
    auto* chkMostrarBarra = s.find<QCheckBox>(QStringLiteral("chkMostrarBarra"));
    auto* chkMostrarCustom = s.find<QCheckBox>(QStringLiteral("chkMostrarCustom"));
    QCOMPARE(chkHorario->isChecked(), false);
    QCOMPARE(chkMostrarBarra->isChecked(), true);
    QCOMPARE(chkMostrarCustom->isChecked(), false);
    QCOMPARE(chkMostrarCustom->isHidden(), !opMode);

    // A click on the last line of a wrapped caption counts too.
    QVERIFY(s.showTab());
    for (QCheckBox* box : {chkHorario, chkMostrarBarra, chkMostrarCustom}) {
        if (box->isHidden())
            box->toggle();
        else
            QTest::mouseClick(box, Qt::LeftButton, {},
                              QPoint(box->width() - 10, box->height() - 4));
    }
    s.find<QPushButton>(closeWith)->click();
    const TIniFile ini(s.path);
    QCOMPARE(ini.ReadBool(Aparencia, QStringLiteral("HorarioMsg"), !stored), stored);
    QCOMPARE(ini.ReadBool(Aparencia, QStringLiteral("BarraChat"), stored), !stored);
    QCOMPARE(ini.ReadBool(Aparencia, QStringLiteral("CustomList"), !stored), stored);
}

void TestOptionsAppearance::switchesDefaultOn()
{
    Session s;
    for (const char* name : {"chkHorario", "chkMostrarBarra", "chkMostrarCustom"})
        QVERIFY2(s.find<QCheckBox>(QString::fromLatin1(name))->isChecked(), name);
}

QTEST_MAIN(TestOptionsAppearance)
#include "tst_options_appearance.moc"
