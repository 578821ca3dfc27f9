#include "window/TfrmMain.h"

#include <QAction>
#include <QSystemTrayIcon>

// The minimize key and the tray icon.
void TfrmMain::setupScreenshotGamesTray()
{
    connect(atalhoMin, &QAction::triggered, this, guard([this] { atalhoMinExecute(); }));
    connect(Tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    guarded([this] { TrayClick(); });
            });
}
