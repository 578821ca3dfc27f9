#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>

#include "ScriptedPrompts.h"
#include "dialogs/HotKeyEdit.h"
#include "dialogs/OptionsContext.h"
#include "dialogs/TfrmOpcoes.h"
#include "settings/SettingKeys.h"
#include "settings/ShortcutText.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"

namespace {

// A settings folder with the given confs.ini lines (none: no file) and what the dialog reaches
// in the main window.
class Fixture
{
public:
    explicit Fixture(const QStringList& lines = {})
    {
        if (!lines.isEmpty()) {
            QFile file(path());
            if (file.open(QIODevice::WriteOnly))
                file.write(
                    (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
        }
        m_context.settingsPath = path();
        m_context.prompts = &prompts;
        m_context.styles = &m_styles;
        m_context.chatPane = &m_chat;
        m_context.whisperPane = &m_whispers;
        m_context.userList = &m_users;
    }

    QString path() const { return m_dir.filePath(QStringLiteral("confs.ini")); }

    std::unique_ptr<TfrmOpcoes> open() { return std::make_unique<TfrmOpcoes>(m_context); }

    QByteArray bytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Every key of [Geral] as "Key=value", in the order of the file.
    QStringList geral() const
    {
        const TIniFile ini(path());
        QStringList keys;
        const QString section = QStringLiteral("Geral");
        for (const QString& key : ini.ReadSection(section))
            keys << key + QLatin1Char('=') + ini.ReadString(section, key, QString());
        return keys;
    }

    QString value(const QString& key) const
    {
        return TIniFile(path()).ReadString(QStringLiteral("Geral"), key, QStringLiteral("(none)"));
    }

    ScriptedPrompts prompts;

private:
    QTemporaryDir m_dir;
    StyleTable m_styles;
    ChatView m_chat{&m_styles};
    ChatView m_whispers{&m_styles};
    QTreeView m_users;
    OptionsContext m_context;
};

template <typename T = QWidget>
T* child(QWidget* dialog, const char* name)
{
    return dialog->findChild<T*>(QLatin1String(name));
}

// What a control shows, as one text: a field's text, a list's entry, "1" or "0" for a box or a
// radio button, the stored text of the hot-key field.
QString state(QWidget* dialog, const char* name)
{
    QWidget* control = child(dialog, name);
    if (!control)
        return QStringLiteral("(missing)");
    if (auto* hotKey = qobject_cast<HotKeyEdit*>(control)) {
        const auto combination = hotKey->combination();
        return combination ? ShortcutText::format(*combination) : QString();
    }
    if (auto* field = qobject_cast<QLineEdit*>(control))
        return field->text();
    if (auto* list = qobject_cast<QComboBox*>(control))
        return list->currentText();
    if (auto* box = qobject_cast<QAbstractButton*>(control))
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return QStringLiteral("(unknown)");
}

QStringList states(QWidget* dialog, const QList<const char*>& names)
{
    QStringList shown;
    for (const char* name : names)
        shown << QLatin1String(name) + QLatin1Char('=') + state(dialog, name);
    return shown;
}

const QList<const char*> Controls = {
    "txtLogin",      "txtSenha",  "txtServidor",    "txtCanal",     "txtTimeout",  "chkChanPrin",
    "chkReconectar", "chkTray",   "hkAtalhoMin",    "cmbGames",     "txtCaminho",  "txtGameParam",
    "chkWindowed",   "chkSemSom", "chkSkipToLogin", "txtCaminhoSS", "chkSalvarSS", "chkOrtografia"};

const QStringList Prepared = {
    QStringLiteral("[Geral]"),
    QStringLiteral("Login=conta"),
    QStringLiteral("Senha=s3nha"),
    QStringLiteral("Servidor=chat.exemplo"),
    QStringLiteral("CanalPrincipal=Sala"),
    QStringLiteral("Timeout=30"),
    QStringLiteral("JoinPrinc=0"),
    QStringLiteral("Reconectar=0"),
    QStringLiteral("User2x=KickMot"),
    QStringLiteral("Tray=1"),
    QStringLiteral("AtalhoMin=Ctrl+M"),
    QStringLiteral("CaminhoSS=/fotos/"),
    QStringLiteral("SalvarSS=1"),
    QStringLiteral("CaminhoD2XP=/jogos/d2.exe"),
    QStringLiteral("CaminhoSTAR=/jogos/sc.exe"),
    QStringLiteral("D2Param=-w"),
    QStringLiteral("D2Window=1"),
    QStringLiteral("D2NoSound=0"),
    QStringLiteral("D2SkipToLogin=1"),
};

void clickOk(QWidget* dialog)
{
    child<QPushButton>(dialog, "btnOK")->click();
}

void clickCancel(QWidget* dialog)
{
    child<QPushButton>(dialog, "btnCancel")->click();
}

} // namespace

class TestOptionsGeneral : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void frame();
    void defaultsWithoutFile();
    void loadEditAndClose_data();
    void loadEditAndClose();
    void highlightWords_data();
    void highlightWords();
    void doubleClickAction_data();
    void doubleClickAction();
    void gamePaths();
    void hiddenGameSwitches_data();
    void hiddenGameSwitches();
    void screenshotFolder_data();
    void screenshotFolder();
    void hotKey_data();
    void hotKey();
    void hotKeyTaken_data();
    void hotKeyTaken();
    void shiftDigitThroughTheKeyboardMap_data();
    void shiftDigitThroughTheKeyboardMap();
};

void TestOptionsGeneral::frame()
{
    Fixture f;
    auto dialog = f.open();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Opções"));
    // Drawn 472 by 507; wider captions grow it.
    QVERIFY(dialog->width() >= 472);
    QVERIFY(dialog->height() >= 507);
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QCOMPARE(dialog->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(dialog->font().pixelSize(), 11);
    QCOMPARE(child(dialog.get(), "pnlTopo")->height(), 40);
    // The banner is drawn for the dialog's width, not stretched to it.
    const QPixmap banner = child<QLabel>(dialog.get(), "imgTopo")->pixmap();
    QCOMPARE(banner.deviceIndependentSize().width(), qreal(dialog->width()));
    QCOMPARE(child(dialog.get(), "pnlRodape")->height(), 34);

    auto* tabs = child<QTabWidget>(dialog.get(), "pcOpcoes");
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    QCOMPARE(captions, (QStringList{"Geral", "Aparência", "Respostas", "Timers"}));
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("tsGeral"));
    auto* paths = child<QTabWidget>(dialog.get(), "pgCaminhos");
    QCOMPARE(paths->tabText(0), QStringLiteral("Caminho dos Jogos"));
    QCOMPARE(paths->tabText(1), QStringLiteral("Caminho das Screenshots"));
    QCOMPARE(paths->currentIndex(), 0);

    auto* ok = child<QPushButton>(dialog.get(), "btnOK");
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QCOMPARE(child<QPushButton>(dialog.get(), "btnCancel")->text(), QStringLiteral("Cancelar"));
    QCOMPARE(child<QLineEdit>(dialog.get(), "txtSenha")->echoMode(), QLineEdit::Password);
    QVERIFY(child<QLineEdit>(dialog.get(), "txtCaminho")->isReadOnly());
    QVERIFY(child<QLineEdit>(dialog.get(), "txtCaminhoSS")->isReadOnly());
    QCOMPARE(child(dialog.get(), "btnExcluirGame")->toolTip(),
             QStringLiteral("Excluir caminho do game"));
    for (const char* hidden : {"chkWindowed", "chkSemSom", "chkSkipToLogin"})
        QVERIFY2(child(dialog.get(), hidden)->isHidden(), hidden);
}

// No confs.ini: the dialog shows the defaults, and "OK" stores every one of them, the
// double-click action included; what is written only at once stays unwritten.
void TestOptionsGeneral::defaultsWithoutFile()
{
    Fixture f;
    auto dialog = f.open();
    const QString server = Keys::Geral::Servidor.def;
    QCOMPARE(
        states(dialog.get(), Controls),
        (QStringList{"txtLogin=", "txtSenha=", "txtServidor=" + server,
                     "txtCanal=Tulmo Diablo II BRA-1", "txtTimeout=15", "chkChanPrin=1",
                     "chkReconectar=1", "chkTray=0", "hkAtalhoMin=", "cmbGames=Diablo II",
                     "txtCaminho=", "txtGameParam=", "chkWindowed=0", "chkSemSom=0",
                     "chkSkipToLogin=0", "txtCaminhoSS=", "chkSalvarSS=0", "chkOrtografia=1"}));
    QVERIFY(child<QRadioButton>(dialog.get(), "rdo2xWhois")->isChecked());
    QVERIFY(child(dialog.get(), "txtGameParam")->isEnabled());

    clickOk(dialog.get());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.geral(),
             (QStringList{"Login=", "Senha=", "Servidor=" + server,
                          "CanalPrincipal=Tulmo Diablo II BRA-1", "Timeout=15", "JoinPrinc=1",
                          "Reconectar=1", "LogsAuto=1", "D2Param=", "SalvarSS=0", "User2x=Whois",
                          "Tray=0", "AtalhoMin=", "Ortografia=1"}));
}

void TestOptionsGeneral::loadEditAndClose_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("OK stores the fields") << true;
    QTest::newRow("Cancelar stores nothing") << false;
}

// Every control is loaded from the file; edited, "OK" writes the fields in place and
// "Cancelar" leaves the file as it was, byte for byte.
void TestOptionsGeneral::loadEditAndClose()
{
    QFETCH(bool, confirm);
    Fixture f(Prepared);
    const QByteArray before = f.bytes();
    auto dialog = f.open();
    QCOMPARE(states(dialog.get(), Controls),
             (QStringList{"txtLogin=conta", "txtSenha=s3nha", "txtServidor=chat.exemplo",
                          "txtCanal=Sala", "txtTimeout=30", "chkChanPrin=0", "chkReconectar=0",
                          "chkTray=1", "hkAtalhoMin=Ctrl+M", "cmbGames=Diablo II",
                          "txtCaminho=/jogos/d2.exe", "txtGameParam=-w", "chkWindowed=1",
                          "chkSemSom=0", "chkSkipToLogin=1", "txtCaminhoSS=/fotos/",
                          "chkSalvarSS=1", "chkOrtografia=1"}));
    QVERIFY(child<QRadioButton>(dialog.get(), "rdo2xKickMot")->isChecked());

    child<QLineEdit>(dialog.get(), "txtLogin")->setText(QStringLiteral("outra"));
    child<QLineEdit>(dialog.get(), "txtSenha")->setText(QStringLiteral("nova"));
    child<QLineEdit>(dialog.get(), "txtServidor")->setText(QStringLiteral("10.0.0.7"));
    child<QLineEdit>(dialog.get(), "txtCanal")->setText(QStringLiteral("Ação"));
    // The time-out is stored as typed, number or not.
    child<QLineEdit>(dialog.get(), "txtTimeout")->setText(QStringLiteral("dez"));
    child<QCheckBox>(dialog.get(), "chkChanPrin")->setChecked(true);
    child<QCheckBox>(dialog.get(), "chkReconectar")->setChecked(true);
    child<QRadioButton>(dialog.get(), "rdo2xBan")->setChecked(true);
    child<QCheckBox>(dialog.get(), "chkTray")->setChecked(false);
    QTest::keyClick(child(dialog.get(), "hkAtalhoMin"), Qt::Key_F5, Qt::AltModifier);
    child<QLineEdit>(dialog.get(), "txtGameParam")->setText(QStringLiteral("-w -ns"));
    child<QCheckBox>(dialog.get(), "chkSalvarSS")->setChecked(false);
    child<QCheckBox>(dialog.get(), "chkOrtografia")->setChecked(false);

    if (!confirm) {
        clickCancel(dialog.get());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(f.bytes(), before);
        return;
    }
    clickOk(dialog.get());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.geral(), (QStringList{"Login=outra",
                                     "Senha=nova",
                                     "Servidor=10.0.0.7",
                                     "CanalPrincipal=Ação",
                                     "Timeout=dez",
                                     "JoinPrinc=1",
                                     "Reconectar=1",

                                     "User2x=Ban",
                                     "Tray=0",
                                     "AtalhoMin=Alt+F5",
                                     "CaminhoSS=/fotos/",
                                     "SalvarSS=0",
                                     "CaminhoD2XP=/jogos/d2.exe",
                                     "CaminhoSTAR=/jogos/sc.exe",
                                     "D2Param=-w -ns",
                                     "D2Window=1",
                                     "D2NoSound=0",
                                     "D2SkipToLogin=1",
                                     "LogsAuto=1",
                                     "Ortografia=0"}));
}

void TestOptionsGeneral::highlightWords_data()
{
    QTest::addColumn<QString>("stored"); // a null text: no key
    QTest::addColumn<QString>("typed");  // a null text: the field left as loaded
    QTest::addColumn<QString>("written");
    // clang-format off
    QTest::newRow("typed in a file without them") << QString() << "torneio, clã" << "torneio, clã";
    QTest::newRow("left empty: no key") << QString() << QString() << "(none)";
    QTest::newRow("kept") << "torneio" << QString() << "torneio";
    QTest::newRow("emptied") << "torneio" << "" << "";
    // clang-format on
}

// The highlight words sit in the group "Geral", are loaded from Geral/Destaques and stored as
// typed by "OK"; a user who never set any gets no key.
void TestOptionsGeneral::highlightWords()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    Fixture f(stored.isNull() ? QStringList{QStringLiteral("[Geral]")}
                              : QStringList{QStringLiteral("[Geral]"), "Destaques=" + stored});
    auto dialog = f.open();
    auto* field = child<QLineEdit>(dialog.get(), "txtDestaques");
    QVERIFY(field);
    QCOMPARE(field->parentWidget()->objectName(), QStringLiteral("grpGeral"));
    QCOMPARE(field->text(), stored);
    if (!typed.isNull())
        field->setText(typed);
    clickOk(dialog.get());
    QTEST(f.value(QStringLiteral("Destaques")), "written");
}

void TestOptionsGeneral::doubleClickAction_data()
{
    QTest::addColumn<QString>("stored"); // a null text: no key
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("written");
    // clang-format off
    QTest::newRow("Kick") << "Kick" << "rdo2xKick" << "Kick";
    QTest::newRow("Ban") << "Ban" << "rdo2xBan" << "Ban";
    QTest::newRow("Whois") << "Whois" << "rdo2xWhois" << "Whois";
    QTest::newRow("KickMot") << "KickMot" << "rdo2xKickMot" << "KickMot";
    QTest::newRow("BanMot") << "BanMot" << "rdo2xBanMot" << "BanMot";
    QTest::newRow("Squelch") << "Squelch" << "rdo2xSquelch" << "Squelch";
    QTest::newRow("other letter case") << "kick" << "rdo2xWhois" << "Whois";
    QTest::newRow("caption, not stored text") << "Kick com motivo" << "rdo2xWhois" << "Whois";
    QTest::newRow("empty") << "" << "rdo2xWhois" << "Whois";
    QTest::newRow("missing") << QString() << "rdo2xWhois" << "Whois";
    // clang-format on
}

void TestOptionsGeneral::doubleClickAction()
{
    QFETCH(QString, stored);
    QFETCH(QString, selected);
    Fixture f(stored.isNull() ? QStringList{QStringLiteral("[Geral]")}
                              : QStringList{QStringLiteral("[Geral]"), "User2x=" + stored});
    auto dialog = f.open();
    QStringList checked;
    for (QRadioButton* radio : child(dialog.get(), "grpGeral")->findChildren<QRadioButton*>()) {
        if (radio->isChecked())
            checked << radio->objectName();
    }
    QCOMPARE(checked, QStringList{selected});
    clickOk(dialog.get());
    QTEST(f.value(QStringLiteral("User2x")), "written");
}

// The game paths are written and deleted the moment they change, and "Cancelar" keeps them; the
// parameters belong to Diablo II only.
void TestOptionsGeneral::gamePaths()
{
    Fixture f(Prepared);
    auto dialog = f.open();
    auto* games = child<QComboBox>(dialog.get(), "cmbGames");
    auto* path = child<QLineEdit>(dialog.get(), "txtCaminho");
    auto* parameters = child<QLineEdit>(dialog.get(), "txtGameParam");

    games->setCurrentIndex(1);
    QCOMPARE(games->currentText(), QStringLiteral("Starcraft"));
    QCOMPARE(path->text(), QStringLiteral("/jogos/sc.exe"));
    QVERIFY(!parameters->isEnabled());
    QCOMPARE(parameters->text(), QStringLiteral("-w"));

    f.prompts.files.enqueue(QStringLiteral("/outros/starcraft.exe"));
    child<QPushButton>(dialog.get(), "btnGamesProc")->click();
#ifdef Q_OS_WIN
    QCOMPARE(f.prompts.openFilters, QStringList{"Executáveis (*.exe)"});
#else
    // The executables come first, so the dialog opens on them.
    QCOMPARE(f.prompts.openFilters, QStringList{"Executáveis (*.exe);;Todos os arquivos (*)"});
#endif
    QCOMPARE(path->text(), QDir::toNativeSeparators(QStringLiteral("/outros/starcraft.exe")));
    QCOMPARE(f.value(QStringLiteral("CaminhoSTAR")), path->text());
    // A cancelled choice changes nothing.
    child<QPushButton>(dialog.get(), "btnGamesProc")->click();
    QCOMPARE(path->text(), f.value(QStringLiteral("CaminhoSTAR")));

    games->setCurrentIndex(2);
    QCOMPARE(path->text(), QString());
    const QByteArray before = f.bytes();
    child<QPushButton>(dialog.get(), "btnExcluirGame")->click();
    QCOMPARE(f.bytes(), before);
    QVERIFY(f.prompts.errors.isEmpty());

    games->setCurrentIndex(0);
    QVERIFY(parameters->isEnabled());
    QCOMPARE(path->text(), QStringLiteral("/jogos/d2.exe"));
    child<QPushButton>(dialog.get(), "btnExcluirGame")->click();
    QCOMPARE(path->text(), QString());
    QCOMPARE(f.value(QStringLiteral("CaminhoD2XP")), QStringLiteral("(none)"));

    clickCancel(dialog.get());
    dialog = f.open();
    QCOMPARE(state(dialog.get(), "txtCaminho"), QString());
    child<QComboBox>(dialog.get(), "cmbGames")->setCurrentIndex(1);
    QCOMPARE(state(dialog.get(), "txtCaminho"),
             QDir::toNativeSeparators(QStringLiteral("/outros/starcraft.exe")));
}

void TestOptionsGeneral::hiddenGameSwitches_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("key");
    // clang-format off
    QTest::newRow("window mode") << "chkWindowed" << "D2Window";
    QTest::newRow("no sound") << "chkSemSom" << "D2NoSound";
    QTest::newRow("skip to login") << "chkSkipToLogin" << "D2SkipToLogin";
    // clang-format on
}

// Loading writes nothing; each change is written at once, kept by "Cancelar" and shown again.
void TestOptionsGeneral::hiddenGameSwitches()
{
    QFETCH(QString, box);
    QFETCH(QString, key);
    Fixture f({QStringLiteral("[Geral]"), QStringLiteral("Login=conta")});
    const QByteArray before = f.bytes();
    auto dialog = f.open();
    QCOMPARE(f.bytes(), before);
    auto* check = dialog->findChild<QCheckBox*>(box);
    check->setChecked(true);
    QCOMPARE(f.value(key), QStringLiteral("1"));
    check->setChecked(false);
    QCOMPARE(f.value(key), QStringLiteral("0"));
    check->setChecked(true);
    clickCancel(dialog.get());
    dialog = f.open();
    QVERIFY(dialog->findChild<QCheckBox*>(box)->isChecked());
}

void TestOptionsGeneral::screenshotFolder_data()
{
    QTest::addColumn<QString>("chosen"); // empty: the chooser is cancelled
    QTest::addColumn<QString>("stored");
    // clang-format off
    QTest::newRow("folder") << "/home/ana/Fotos" << "/home/ana/Fotos/";
    QTest::newRow("root folder") << "/" << "//";
    QTest::newRow("cancelled") << "" << "/antes/";
    // clang-format on
}

// The chosen folder is written at once with a separator after it; "Cancelar" keeps it.
void TestOptionsGeneral::screenshotFolder()
{
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    stored = QDir::toNativeSeparators(stored);
    Fixture f({QStringLiteral("[Geral]"),
               QStringLiteral("CaminhoSS=") + QDir::toNativeSeparators(QStringLiteral("/antes/"))});
    auto dialog = f.open();
    f.prompts.files.enqueue(chosen);
    child<QPushButton>(dialog.get(), "btnProcSS")->click();
    QCOMPARE(f.prompts.fileTitles, QStringList{"Selecione um diretório:"});
    QCOMPARE(f.prompts.folderStarts, QStringList{QString()});
    QCOMPARE(state(dialog.get(), "txtCaminhoSS"), stored);
    QCOMPARE(f.value(QStringLiteral("CaminhoSS")), stored);
    clickCancel(dialog.get());
    QCOMPARE(f.value(QStringLiteral("CaminhoSS")), stored);
}

void TestOptionsGeneral::hotKey_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QKeySequence>("presses"); // each combination is one press
    QTest::addColumn<QString>("written");
    const auto keys = [](const char* text) { return QKeySequence(QLatin1String(text)); };
    // clang-format off
    QTest::newRow("reloaded") << "Shift+Ctrl+F12" << QKeySequence() << "Shift+Ctrl+F12";
    QTest::newRow("reloaded in the stored order") << "Ctrl+Shift+PgDn" << QKeySequence() << "Shift+Ctrl+PgDn";
    QTest::newRow("no key named") << "Ctrl+Nada" << QKeySequence() << "";
    QTest::newRow("Ctrl+Shift+F12") << "" << keys("Ctrl+Shift+F12") << "Shift+Ctrl+F12";
    QTest::newRow("Alt+P") << "" << keys("Alt+P") << "Alt+P";
    QTest::newRow("Ctrl+PgUp") << "" << keys("Ctrl+PgUp") << "Ctrl+PgUp";
    QTest::newRow("keypad PgUp") << "" << QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_PageUp)) << "Ctrl+PgUp";
    QTest::newRow("a plain key") << "" << keys("F9") << "F9";
    QTest::newRow("Enter does not close") << "" << keys("Return") << "Enter";
    QTest::newRow("Esc does not close") << "" << keys("Esc") << "Esc";
    QTest::newRow("one combination, the last") << "Alt+P" << keys("Ctrl+K, Alt+B, Shift+F2") << "Shift+F2";
    QTest::newRow("Shift with a digit") << "" << keys("Shift+1") << "Shift+1";
    QTest::newRow("Backspace clears") << "Alt+P" << keys("Backspace") << "";
    QTest::newRow("Delete clears") << "Alt+P" << keys("Del") << "";
    QTest::newRow("Ctrl+Backspace is kept") << "" << keys("Ctrl+Backspace") << "Ctrl+BkSp";
    QTest::newRow("Meta refused") << "Alt+P" << keys("Meta+A") << "Alt+P";
    QTest::newRow("unnamed key refused") << "Alt+P" << keys("Pause") << "Alt+P";
    QTest::newRow("refused after a clear") << "Alt+P" << keys("Del, Print") << "";
    QTest::newRow("a modifier alone") << "Alt+P" << QKeySequence(QKeyCombination(Qt::ControlModifier, Qt::Key_Control)) << "Alt+P";
    // clang-format on
}

// The field holds one combination; it shows what "OK" stores, and keys pressed in it never
// reach the dialog's buttons.
void TestOptionsGeneral::hotKey()
{
    QFETCH(QString, stored);
    QFETCH(QKeySequence, presses);
    QFETCH(QString, written);
    Fixture f({QStringLiteral("[Geral]"), "AtalhoMin=" + stored});
    auto dialog = f.open();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* field = child<HotKeyEdit>(dialog.get(), "hkAtalhoMin");
    field->setFocus();
    for (int i = 0; i < presses.count(); ++i)
        QTest::keyClick(field, presses[i].key(), presses[i].keyboardModifiers());
    QVERIFY(dialog->isVisible());
    QCOMPARE(state(dialog.get(), "hkAtalhoMin"), written);
    clickOk(dialog.get());
    QCOMPARE(f.value(QStringLiteral("AtalhoMin")), written);
}

void TestOptionsGeneral::hotKeyTaken_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QKeySequence>("presses");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QStringList>("warnings");
    const auto keys = [](const char* text) { return QKeySequence(QLatin1String(text)); };
    const auto taken = [](const char* combination, const char* usedBy) {
        return QStringLiteral("O atalho %1 já é usado %2. Escolha outra combinação para minimizar.")
            .arg(QLatin1String(combination), QString::fromUtf8(usedBy));
    };
    // clang-format off
    QTest::newRow("menu item") << "Alt+P" << keys("Ctrl+O") << "Alt+P" << QStringList{taken("Ctrl+O", "pelo item \"Opções...\" do menu Opções")};
    QTest::newRow("connect") << "Alt+P" << keys("Ctrl+N") << "Alt+P" << QStringList{taken("Ctrl+N", "pelo item \"Conectar\" do menu Opções")};
    QTest::newRow("window's own key") << "Alt+P" << keys("Ctrl+F") << "Alt+P" << QStringList{taken("Ctrl+F", "para procurar na tela do chat")};
    QTest::newRow("select all") << "Alt+P" << keys("Ctrl+A") << "Alt+P" << QStringList{taken("Ctrl+A", "para selecionar todo o texto da tela")};
    QTest::newRow("menu bar access key") << "Alt+P" << keys("Alt+A") << "Alt+P" << QStringList{taken("Alt+A", "pelo menu \"Arquivo\"")};
    QTest::newRow("button access key") << "Alt+P" << keys("Alt+M") << "Alt+P" << QStringList{taken("Alt+M", "pelo botão \"Emote\"")};
    QTest::newRow("phrase shortcut") << "Alt+P" << keys("Ctrl+Alt+K") << "Alt+P" << QStringList{taken("Ctrl+Alt+K", "pelo atalho de frase K")};
    QTest::newRow("phrase N") << "" << keys("Ctrl+Alt+N") << "" << QStringList{taken("Ctrl+Alt+N", "pelo atalho de frase N")};
    QTest::newRow("a free key after a taken one") << "" << keys("Ctrl+W, F9") << "F9" << QStringList{taken("Ctrl+W", "pelo item \"Limpar tela de whisps\" do menu Opções")};
    QTest::newRow("Shift makes another combination") << "" << keys("Ctrl+Shift+O") << "Shift+Ctrl+O" << QStringList{};
    QTest::newRow("Ctrl+Alt with a digit") << "" << keys("Ctrl+Alt+1") << "Ctrl+Alt+1" << QStringList{};
    QTest::newRow("stored clash is shown as stored") << "Ctrl+O" << QKeySequence() << "Ctrl+O" << QStringList{};
    // clang-format on
}

// A combination the main window already uses would make neither work: the field refuses it,
// keeps what it had and says who has it.
void TestOptionsGeneral::hotKeyTaken()
{
    QFETCH(QString, stored);
    QFETCH(QKeySequence, presses);
    QFETCH(QString, written);
    Fixture f({QStringLiteral("[Geral]"), "AtalhoMin=" + stored});
    auto dialog = f.open();
    auto* field = child<HotKeyEdit>(dialog.get(), "hkAtalhoMin");
    for (int i = 0; i < presses.count(); ++i)
        QTest::keyClick(field, presses[i].key(), presses[i].keyboardModifiers());
    QTEST(f.prompts.warnings, "warnings");
    QCOMPARE(state(dialog.get(), "hkAtalhoMin"), written);
    clickOk(dialog.get());
    QCOMPARE(f.value(QStringLiteral("AtalhoMin")), written);
    QVERIFY(f.prompts.errors.isEmpty());
}

void TestOptionsGeneral::shiftDigitThroughTheKeyboardMap_data()
{
    QTest::addColumn<QString>("typed"); // as xdotool names the keys
    QTest::addColumn<QString>("written");
    // clang-format off
    QTest::newRow("Shift+1") << "shift+1" << "Shift+1";
    QTest::newRow("Shift+0") << "shift+0" << "Shift+0";
    QTest::newRow("Ctrl+Shift+2") << "ctrl+shift+2" << "Shift+Ctrl+2";
    QTest::newRow("Shift+letter") << "shift+k" << "Shift+K";
    QTest::newRow("digit alone") << "7" << "7";
    // clang-format on
}

// Qt reports Shift+1 as "!" on a US layout; the field takes the key itself. QTest's key events do
// not pass through the X server's keyboard map, so the keys go through xdotool, as a keyboard's.
void TestOptionsGeneral::shiftDigitThroughTheKeyboardMap()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    if (QApplication::platformName() != QLatin1String("xcb"))
        QSKIP("the X keyboard map is met under the xcb platform only");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
    Fixture f;
    auto dialog = f.open();
    dialog->show();
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    auto* field = child<HotKeyEdit>(dialog.get(), "hkAtalhoMin");
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("key"), typed});
    QVERIFY(xdotool.waitForFinished());
    QCOMPARE(xdotool.exitCode(), 0);
    QTRY_COMPARE(state(dialog.get(), "hkAtalhoMin"), written);
}

QTEST_MAIN(TestOptionsGeneral)
#include "tst_options_general.moc"
