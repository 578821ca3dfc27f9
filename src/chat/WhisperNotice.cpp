#include "chat/WhisperNotice.h"

std::optional<WhisperNotice> WhisperNotice::forWhisper(const Situation& situation,
                                                       const QString& sender, const QString& text)
{
    if (situation.own || situation.versionEcho)
        return std::nullopt;
    if (situation.windowActive && !situation.hiddenInTray)
        return std::nullopt;
    WhisperNotice notice;
    notice.trayMessage = situation.trayAvailable && situation.trayOn;
    notice.alert = true;
    notice.title = sender;
    notice.body = text.size() > PreviewLength ? text.left(PreviewLength) + QChar(0x2026) : text;
    return notice;
}
