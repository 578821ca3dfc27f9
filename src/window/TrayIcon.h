#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QAction;
class QEvent;
class QSystemTrayIcon;
class QWidget;
class ReadMarker;
class WindowContext;

// The tray icon and the minimize key. Owns the icon (Tray), the minimize action's handler, the
// tray flag of the settings and the last shortcut clash reported; touches the main window's
// visibility and state, the phrase shortcuts' keys (found by objectName) and the read marker.
class TrayIcon final : public QObject
{
    Q_OBJECT
public:
    // window is the main window; atalhoMin its minimize action; readMarker remembers the last
    // line read when the window goes to the tray. None is owned.
    TrayIcon(WindowContext& ctx, QWidget* window, QAction* atalhoMin, ReadMarker* readMarker,
             QObject* parent);

    // The window's first showing: the icon's picture, the settings, the icon hidden.
    void startUp();
    // Tray on or off and the minimize shortcut, from the settings: at start-up and after the
    // options dialog's "OK".
    void applyTrayOptions();
    // The window's changeEvent hands each event on: a minimized window goes to the tray.
    void changeEvent(QEvent* event);

    void atalhoMinExecute();
    // A click on the tray icon.
    void TrayClick();

    QSystemTrayIcon* tray() const { return Tray; }
    // Geral/Tray as last taken from the settings.
    bool trayActive() const { return m_trayActive; }
    bool trayAvailable() const;
    // Tests decide whether the desktop has a tray; nothing: ask the desktop.
    void setTrayAvailableForTests(std::optional<bool> available);

private:
    void hideToTray();

    WindowContext& m_ctx;
    QWidget* m_window = nullptr;
    QAction* atalhoMin = nullptr;
    ReadMarker* m_readMarker = nullptr;
    QSystemTrayIcon* Tray = nullptr;
    bool m_trayActive = false;
    // The clash of the minimize key with the window's keys last reported; empty: none.
    QString m_shortcutNotice;
    std::optional<bool> m_trayAvailableForTests;
};
