#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "WindowSession.h"
#include "net/TChatInterface.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "window/TfrmMain.h"

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
            QStringLiteral("tray=") + QString::number(w->trayActive()),
            QStringLiteral("minimize=") + minimize->shortcut().toString(),
            QStringLiteral("times=") + QString::number(w->showsTimes()),
            QStringLiteral("whispers=") + QString::number(w->repliesToWhispers()),
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
