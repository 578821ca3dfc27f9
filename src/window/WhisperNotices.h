#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include "chat/WhisperNotice.h"

class QWidget;
class TrayIcon;
class WindowContext;

// Notices of a whisper, or of a channel line that mentions the user, that the user may not see:
// the tray icon's message and the taskbar entry's request for attention. Owns where they go and
// whether the icon was shown only for one; touches the tray icon (through the TrayIcon feature),
// asks the main window whether it is active, and tells the window's title what went unseen.
class WhisperNotices final : public QObject
{
    Q_OBJECT
public:
    // Where the notices go: by default the tray icon's message and the taskbar entry's request
    // for attention; tests record them.
    struct NoticeSink
    {
        std::function<void(const QString& title, const QString& text)> message;
        std::function<void()> alert;
    };

    struct Hooks
    {
        // A whisper or mention was announced: the user has not seen it.
        std::function<void()> unseen;
    };

    // window is the main window; trayIcon shows the icon and brings the window back. Neither is
    // owned.
    WhisperNotices(WindowContext& ctx, QWidget* window, TrayIcon* trayIcon, Hooks hooks,
                   QObject* parent);

    // A whisper from User has arrived.
    void noticeWhisper(const QString& User, const QString& Mess);
    // A line of User in channel that mentions the user has arrived.
    void noticeMention(const QString& User, const QString& channel, const QString& Mess);
    void setNoticeSinkForTests(NoticeSink sink);

private:
    void noticeActivation();
    WhisperNotice::Situation situation() const;
    void show(const std::optional<WhisperNotice>& notice);

    WindowContext& m_ctx;
    QWidget* m_window = nullptr;
    TrayIcon* m_trayIcon = nullptr;
    Hooks m_hooks;
    NoticeSink m_noticeSink;
    // The tray icon was shown for a notice while the window was on screen.
    bool m_trayForNotice = false;
};
