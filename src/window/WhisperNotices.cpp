#include "window/WhisperNotices.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>

#include "chat/AutoReplies.h"
#include "core/AsciiCase.h"
#include "window/TrayIcon.h"
#include "window/WindowContext.h"

// A whisper that arrives while the window is behind others or in the tray is announced at the
// tray icon and on the taskbar. The icon shows only while the window is in the tray, so for a
// window still on screen it is shown for the message and hidden again as soon as the window is
// active: meanwhile a click on it, or on its message, brings the window forward as from the tray.
// A user who switched the tray icon off (Geral/Tray) never sees it: only the taskbar is asked.

WhisperNotices::WhisperNotices(WindowContext& ctx, QWidget* window, TrayIcon* trayIcon, Hooks hooks,
                               QObject* parent)
    : QObject(parent), m_ctx(ctx), m_window(window), m_trayIcon(trayIcon), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("WhisperNotices"));
    m_noticeSink.message = [this](const QString& title, const QString& text) {
        m_trayIcon->tray()->showMessage(title, text, QSystemTrayIcon::Information);
    };
    m_noticeSink.alert = [this] { QApplication::alert(m_window); };
    connect(m_trayIcon->tray(), &QSystemTrayIcon::messageClicked, this,
            m_ctx.guard([this] { m_trayIcon->TrayClick(); }));
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            m_ctx.guard([this] { noticeActivation(); }));
}

void WhisperNotices::setNoticeSinkForTests(NoticeSink sink)
{
    m_noticeSink = std::move(sink);
}

WhisperNotice::Situation WhisperNotices::situation() const
{
    WhisperNotice::Situation situation;
    situation.windowActive = m_window->isActiveWindow();
    situation.hiddenInTray = m_window->isHidden() && m_trayIcon->tray()->isVisible();
    situation.trayAvailable = m_trayIcon->trayAvailable();
    situation.trayOn = m_trayIcon->trayActive();
    return situation;
}

void WhisperNotices::noticeWhisper(const QString& User, const QString& Mess)
{
    WhisperNotice::Situation now = situation();
    // Whispering our own account brings the whisper back from us.
    now.own = AsciiCase::toLower(User) == AsciiCase::toLower(m_ctx.login());
    now.versionEcho = AutoReplies::hidesEcho(Mess);
    show(WhisperNotice::forWhisper(now, User, Mess));
}

void WhisperNotices::noticeMention(const QString& User, const QString& channel, const QString& Mess)
{
    show(WhisperNotice::forMention(situation(), User, channel, Mess));
}

void WhisperNotices::show(const std::optional<WhisperNotice>& notice)
{
    if (!notice)
        return;
    if (notice->trayMessage) {
        if (!m_trayIcon->tray()->isVisible()) {
            m_trayIcon->tray()->show();
            m_trayForNotice = true;
        }
        m_noticeSink.message(notice->title, notice->body);
    }
    if (notice->alert)
        m_noticeSink.alert();
    m_hooks.unseen();
}

void WhisperNotices::noticeActivation()
{
    if (!m_trayForNotice || !m_window->isVisible() || !m_window->isActiveWindow())
        return;
    m_trayForNotice = false;
    m_trayIcon->tray()->hide();
}
