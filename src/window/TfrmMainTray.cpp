#include "window/TfrmMain.h"

#include <QEvent>
#include <QSystemTrayIcon>

#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/ReadMarker.h"

// While the tray icon is active, a minimized window leaves the taskbar for the tray; the icon
// shows only while the window is hidden, and a click on it brings the window back. The window
// stays open all the while, so the connection and the panes go on untouched. Where the desktop
// has no tray the window minimizes as usual: a hidden window could not be brought back.

void TfrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        m_readMarker->readMarkerActivationChanged();
    if (event->type() != QEvent::WindowStateChange || !isMinimized() || !m_trayActive ||
        !trayAvailable())
        return;
    // Hiding inside the state change would confuse the window manager's own minimizing.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isMinimized() && isVisible())
                guarded([this] { hideToTray(); });
        },
        Qt::QueuedConnection);
}

// Geral/Tray is read at each press, not taken from the icon's state.
void TfrmMain::atalhoMinExecute()
{
    if (!Settings::read(*FIni, Keys::Geral::Tray))
        return;
    if (trayAvailable())
        hideToTray();
    else
        showMinimized();
}

void TfrmMain::TrayClick()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    Tray->hide();
}

void TfrmMain::hideToTray()
{
    m_readMarker->rememberLastRead();
    hide();
    Tray->show();
}

bool TfrmMain::trayAvailable() const
{
    return m_trayAvailableForTests.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void TfrmMain::setTrayAvailableForTests(std::optional<bool> available)
{
    m_trayAvailableForTests = available;
}
