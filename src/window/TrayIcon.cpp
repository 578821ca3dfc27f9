#include "window/TrayIcon.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QSystemTrayIcon>
#include <QWidget>

#include "resources/Pictures.h"
#include "settings/SettingKeys.h"
#include "settings/ShortcutText.h"
#include "settings/TIniFile.h"
#include "settings/WindowShortcuts.h"
#include "window/ReadMarker.h"
#include "window/WidgetKit.h"
#include "window/WindowContext.h"

// While the tray icon is active, a minimized window leaves the taskbar for the tray; the icon
// shows only while the window is hidden, and a click on it brings the window back. The window
// stays open all the while, so the connection and the panes go on untouched. Where the desktop
// has no tray the window minimizes as usual: a hidden window could not be brought back.

TrayIcon::TrayIcon(WindowContext& ctx, QWidget* window, QAction* atalhoMin, ReadMarker* readMarker,
                   QObject* parent)
    : QObject(parent), m_ctx(ctx), m_window(window), atalhoMin(atalhoMin), m_readMarker(readMarker)
{
    setObjectName(QStringLiteral("TrayIcon"));
    Tray = WidgetKit::named(new QSystemTrayIcon(Pictures::programIcon(), this),
                            QStringLiteral("Tray"));
    connect(atalhoMin, &QAction::triggered, this, m_ctx.guard([this] { atalhoMinExecute(); }));
    connect(Tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    m_ctx.guarded([this] { TrayClick(); });
            });
}

void TrayIcon::startUp()
{
    Tray->setIcon(Pictures::programIcon());
    applyTrayOptions();
    Tray->hide();
}

void TrayIcon::changeEvent(QEvent* event)
{
    if (event->type() != QEvent::WindowStateChange || !m_window->isMinimized() || !m_trayActive ||
        !trayAvailable())
        return;
    // Hiding inside the state change would confuse the window manager's own minimizing.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_window->isMinimized() && m_window->isVisible())
                m_ctx.guarded([this] { hideToTray(); });
        },
        Qt::QueuedConnection);
}

// Geral/Tray is read at each press, not taken from the icon's state.
void TrayIcon::atalhoMinExecute()
{
    if (!Settings::read(*m_ctx.settings(), Keys::Geral::Tray))
        return;
    if (trayAvailable())
        hideToTray();
    else
        m_window->showMinimized();
}

void TrayIcon::TrayClick()
{
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    Tray->hide();
}

void TrayIcon::hideToTray()
{
    m_readMarker->rememberLastRead();
    m_window->hide();
    Tray->show();
}

bool TrayIcon::trayAvailable() const
{
    return m_trayAvailableForTests.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void TrayIcon::setTrayAvailableForTests(std::optional<bool> available)
{
    m_trayAvailableForTests = available;
}

// Qt fires neither of two shortcuts on one combination. A minimize key typed into confs.ini onto
// a key of the window gives way to a fixed key and takes a phrase shortcut's place; the info line
// says which one is left out, once for each new clash.
void TrayIcon::applyTrayOptions()
{
    m_trayActive = Settings::read(*m_ctx.settings(), Keys::Geral::Tray);
    const WindowShortcuts::Resolution keys = WindowShortcuts::resolve(
        ShortcutText::parse(Settings::read(*m_ctx.settings(), Keys::Geral::AtalhoMin)));
    atalhoMin->setShortcut(keys.minimize ? QKeySequence(*keys.minimize) : QKeySequence());
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QChar phrase = QLatin1Char(letter);
        m_window->findChild<QAction*>(QStringLiteral("atalho") + phrase)
            ->setShortcut(keys.phraseLeftOut == phrase
                              ? QKeySequence()
                              : QKeySequence(WindowShortcuts::phrase(phrase)));
    }
    if (keys.notice == m_shortcutNotice)
        return;
    m_shortcutNotice = keys.notice;
    if (!keys.notice.isEmpty())
        m_ctx.info(keys.notice);
}
