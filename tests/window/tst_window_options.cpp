#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "WindowSession.h"
#include "net/TChatInterface.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "window/Panes.h"
#include "window/ReplySender.h"
#include "window/TfrmMain.h"
#include "window/TrayIcon.h"

namespace {

const QStringList Stored = {
    QStringLiteral("[Geral]"),
    QStringLiteral("Login=visitante"),
    QStringLiteral("Senha=segredo"),
    QStringLiteral("Servidor=127.0.0.1"),
    QStringLiteral("AtalhoMin=Ctrl+F1"),
    QStringLiteral("[Aparencia]"),
    QStringLiteral("HorarioMsg=0"),
    QStringLiteral("[Timers]"),
    QStringLiteral("STempo=120"),
    QStringLiteral("TimersOn=0"),
    QStringLiteral("nTS=1"),
    QStringLiteral("STimer1=oi"),
};

// What the window holds of the options, as one list.
QStringList windowState(TfrmMain* w)
{
    auto* minimize = w->findChild<QAction*>(QStringLiteral("atalhoMin"));
    auto* tmrSinc = w->findChild<QTimer*>(QStringLiteral("tmrSinc"));
    return {QStringLiteral("login=") + w->login(),
            QStringLiteral("server=") + w->chatInterface()->Address,
            QStringLiteral("tray=") + QString::number(w->findChild<TrayIcon*>()->trayActive()),
            QStringLiteral("minimize=") + minimize->shortcut().toString(),
            QStringLiteral("times=") + QString::number(w->feature<Panes>()->showsTimes()),
            QStringLiteral("whispers=") +
                QString::number(w->findChild<ReplySender*>()->repliesToWhispers()),
            QStringLiteral("period=") + QString::number(tmrSinc->interval()),
            QStringLiteral("sync=") + QString::number(tmrSinc->isActive()),
            QStringLiteral("background=") + w->chatPane()->backgroundColor().name()};
}

} // namespace

class TestWindowOptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void optionsTakenAfterOk_data();
    void optionsTakenAfterOk();
    void refusedPeriodKeepsTheOtherTabs();
    void eachOpeningLoadsTheFile();
};

void TestWindowOptions::optionsTakenAfterOk_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("connect");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("after");
    const QStringList before = {"login=visitante",  "server=127.0.0.1", "tray=0",
                                "minimize=Ctrl+F1", "times=0",          "whispers=0",
                                "period=120000"};
    const QStringList taken = {
        "login=outra", "server=novo.exemplo", "tray=1",       "minimize=Alt+P",
        "times=1",     "whispers=1",          "period=300000"};
    // The synchronized messages run only while logged in.
    // clang-format off
    QTest::newRow("menu, OK") << "mnuOpcoes" << false << "btnOK" << taken + QStringList{"sync=0", "background=#ff0000"};
    QTest::newRow("toolbar, OK") << "btnOpcoes" << false << "btnOK" << taken + QStringList{"sync=0", "background=#ff0000"};
    QTest::newRow("logged in, OK") << "mnuOpcoes" << true << "btnOK" << taken + QStringList{"sync=1", "background=#ff0000"};
    QTest::newRow("menu, Cancelar") << "mnuOpcoes" << false << "btnCancel" << before + QStringList{"sync=0", "background=#000000"};
    QTest::newRow("logged in, Cancelar") << "mnuOpcoes" << true << "btnCancel" << before + QStringList{"sync=0", "background=#000000"};
    // clang-format on
}

// The dialog is edited, and keys other tabs store are changed in the file behind the window's
// back. Only "OK" makes the window take them all; "Cancelar" leaves it as it was.
void TestWindowOptions::optionsTakenAfterOk()
{
    QFETCH(QString, opener);
    QFETCH(bool, connect);
    QFETCH(QString, button);
    QFETCH(QStringList, after);
    WindowHarness h(Stored);
    TfrmMain* w = h.window.get();
    if (connect)
        QVERIFY(h.connectToServer());
    TIniFile ini(w->settings()->path());
    Settings::write(ini, Keys::Timers::TimersOn, true);
    Settings::write(ini, Keys::Aparencia::HorarioMsg, true);
    Settings::write(ini, Keys::Aparencia::CorFundoChat, 255);
    Settings::write(ini, Keys::Respostas::RespWhisp, true);
    Settings::write(ini, Keys::Timers::STempo, 300);

    QString focusInside;
    h.prompts.dialogs.enqueue([&](QDialog& dialog) {
        focusInside = w->focusWidget() ? w->focusWidget()->objectName() : QString();
        dialog.findChild<QLineEdit*>(QStringLiteral("txtLogin"))->setText(QStringLiteral("outra"));
        dialog.findChild<QLineEdit*>(QStringLiteral("txtServidor"))
            ->setText(QStringLiteral("novo.exemplo"));
        dialog.findChild<QCheckBox*>(QStringLiteral("chkTray"))->setChecked(true);
        QTest::keyClick(dialog.findChild<QWidget*>(QStringLiteral("hkAtalhoMin")), Qt::Key_P,
                        Qt::AltModifier);
        dialog.findChild<QPushButton*>(button)->click();
        return dialog.result();
    });
    if (opener == QLatin1String("mnuOpcoes"))
        w->findChild<QAction*>(opener)->trigger();
    else
        w->findChild<QToolButton*>(opener)->click();

    QCOMPARE(h.prompts.dialogTitles, QStringList{"Opções"});
    QVERIFY(h.prompts.dialogs.isEmpty());
    QCOMPARE(focusInside, QStringLiteral("txtChat"));
    QCOMPARE(w->focusWidget()->objectName(), QStringLiteral("txtMsg"));
    QCOMPARE(windowState(w), after);
    QVERIFY(h.prompts.errors.isEmpty());
}

// A period that is no whole number stops "OK" at the period, the last thing it stores: the error
// box names it, yet the dialog closes as confirmed, every change of the other tabs is stored, and
// the window takes them.
void TestWindowOptions::refusedPeriodKeepsTheOtherTabs()
{
    WindowHarness h(Stored);
    TfrmMain* w = h.window.get();
    int result = -1;
    h.prompts.dialogs.enqueue([&](QDialog& dialog) {
        const auto field = [&dialog](const char* name) {
            return dialog.findChild<QLineEdit*>(QLatin1String(name));
        };
        const auto box = [&dialog](const char* name) {
            return dialog.findChild<QCheckBox*>(QLatin1String(name));
        };
        field("txtLogin")->setText(QStringLiteral("outra"));
        field("txtTimeout")->setText(QStringLiteral("30"));
        field("txtGameParam")->setText(QStringLiteral("-title \"\""));
        dialog.findChild<QRadioButton*>(QStringLiteral("rdo2xKick"))->setChecked(true);
        box("chkChanPrin")->setChecked(false);
        box("chkTray")->setChecked(true);
        box("chkSalvarSS")->setChecked(true);
        QTest::keyClick(dialog.findChild<QWidget*>(QStringLiteral("hkAtalhoMin")), Qt::Key_P,
                        Qt::AltModifier);
        box("chkHorario")->setChecked(true);
        box("chkMostrarBarra")->setChecked(false);
        box("chkResponderFrase")->setChecked(true);
        box("chkResponderWhisp")->setChecked(true);
        box("chkTimers")->setChecked(true);
        field("txtTempoSinc")->setText(QStringLiteral("dois"));
        dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        result = dialog.result();
        return result;
    });
    w->findChild<QAction*>(QStringLiteral("mnuOpcoes"))->trigger();

    QCOMPARE(h.prompts.errors, QStringList{"'dois' is not a valid integer value"});
    QCOMPARE(result, int(QDialog::Accepted));
    TIniFile ini(w->settings()->path());
    QCOMPARE((QStringList{Settings::read(ini, Keys::Geral::Login),
                          Settings::read(ini, Keys::Geral::TimeoutShown),
                          Settings::read(ini, Keys::Geral::D2Param),
                          Settings::read(ini, Keys::Geral::User2x),
                          Settings::read(ini, Keys::Geral::AtalhoMin)}),
             (QStringList{"outra", "30", "-title \"\"", "Kick", "Alt+P"}));
    QCOMPARE((QList<bool>{Settings::read(ini, Keys::Geral::JoinPrinc),
                          Settings::read(ini, Keys::Geral::Tray),
                          Settings::read(ini, Keys::Geral::SalvarSS),
                          Settings::read(ini, Keys::Aparencia::HorarioMsg),
                          Settings::read(ini, Keys::Aparencia::BarraChat),
                          Settings::read(ini, Keys::Respostas::RespFrase),
                          Settings::read(ini, Keys::Respostas::RespWhisp),
                          Settings::read(ini, Keys::Timers::TimersOn)}),
             (QList<bool>{false, true, true, true, false, true, true, true}));
    QCOMPARE(Settings::read(ini, Keys::Timers::STempoShown), QStringLiteral("120"));
    QCOMPARE(windowState(w),
             (QStringList{"login=outra", "server=127.0.0.1", "tray=1", "minimize=Alt+P", "times=1",
                          "whispers=1", "period=120000", "sync=0", "background=#000000"}));
    QVERIFY(w->findChild<ReplySender*>()->repliesToPhrases());
    QCOMPARE(w->focusWidget()->objectName(), QStringLiteral("txtMsg"));
}

// A second opening shows what the first wrote at once, though it was cancelled.
void TestWindowOptions::eachOpeningLoadsTheFile()
{
    WindowSession s(QStringLiteral("[Timers]"), {});
    QStringList shown;
    s.h.prompts.files.enqueue(QStringLiteral("/jogos/d2.exe"));
    s.h.prompts.dialogs.enqueue([&](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("btnGamesProc"))->click();
        dialog.findChild<QLineEdit*>(QStringLiteral("txtLogin"))->setText(QStringLiteral("outra"));
        dialog.findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
        return dialog.result();
    });
    s.h.prompts.dialogs.enqueue([&](QDialog& dialog) {
        for (const char* name : {"txtLogin", "txtCaminho"})
            shown << dialog.findChild<QLineEdit*>(QLatin1String(name))->text();
        return int(QDialog::Rejected);
    });
    auto* menu = s.w->findChild<QAction*>(QStringLiteral("mnuOpcoes"));
    menu->trigger();
    menu->trigger();
    QCOMPARE(shown, (QStringList{"visitante", "/jogos/d2.exe"}));
}

QTEST_MAIN(TestWindowOptions)
#include "tst_window_options.moc"
