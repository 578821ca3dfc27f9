#pragma once

#include <QString>

#include <optional>

// What the window shows of a whisper, or of a channel line that mentions the user, that arrives
// while the user may not see it: a message at the tray icon with the sender and the start of the
// text, and the taskbar entry asking for attention.
class WhisperNotice
{
public:
    // The longest start of a whisper the message shows.
    static constexpr int PreviewLength = 80;

    struct Situation
    {
        bool windowActive = false;
        bool hiddenInTray = false;
        bool trayAvailable = false;
        // The user wants the tray icon (Geral/Tray); without it the program keeps off the tray.
        bool trayOn = false;
        // A whisper from our own account: we see it as we send it.
        bool own = false;
        // The echo of our answer to a version query, which the user never asked for.
        bool versionEcho = false;
    };

    // Nothing when the user sees the window or the whisper is our own.
    static std::optional<WhisperNotice> forWhisper(const Situation& situation,
                                                   const QString& sender, const QString& text);
    // A mention in channel (empty: not known) is titled "sender em channel"; nothing when the
    // user sees the window.
    static std::optional<WhisperNotice> forMention(const Situation& situation,
                                                   const QString& sender, const QString& channel,
                                                   const QString& text);

    // A message at the tray icon (only where the desktop has a tray and the user wants the icon).
    bool trayMessage = false;
    // The taskbar entry asks for attention.
    bool alert = false;
    QString title;
    QString body;
};
