#include "window/TfrmMain.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

// The games menu, the minimize key and the tray icon.
void TfrmMain::setupScreenshotGamesTray()
{
    const struct
    {
        const char* name;
        void (TfrmMain::*handler)();
    } games[] = {
        {"popGD2", &TfrmMain::popGD2Click},
        {"popGSC", &TfrmMain::popGSCClick},
        {"popGW3", &TfrmMain::popGW3Click},
        {"popGW3XP", &TfrmMain::popGW3XPClick},
    };
    for (const auto& game : games) {
        auto handler = game.handler;
        connect(popGames->findChild<QAction*>(QLatin1String(game.name)), &QAction::triggered, this,
                guard([this, handler] { (this->*handler)(); }));
    }
    connect(atalhoMin, &QAction::triggered, this, guard([this] { atalhoMinExecute(); }));
    connect(Tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    guarded([this] { TrayClick(); });
            });
}
