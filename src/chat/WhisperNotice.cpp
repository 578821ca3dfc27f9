#include "chat/WhisperNotice.h"

namespace {

std::optional<WhisperNotice> noticeFor(const WhisperNotice::Situation& situation,
                                       const QString& title, const QString& text)
{
    if (situation.windowActive && !situation.hiddenInTray)
        return std::nullopt;
    WhisperNotice notice;
    notice.trayMessage = situation.trayAvailable && situation.trayOn;
    notice.alert = true;
    notice.title = title;
    notice.body = text.size() > WhisperNotice::PreviewLength
                      ? text.left(WhisperNotice::PreviewLength) + QChar(0x2026)
                      : text;
    return notice;
}

} // namespace

std::optional<WhisperNotice> WhisperNotice::forWhisper(const Situation& situation,
                                                       const QString& sender, const QString& text)
{
    if (situation.own || situation.versionEcho)
        return std::nullopt;
    return noticeFor(situation, sender, text);
}

std::optional<WhisperNotice> WhisperNotice::forMention(const Situation& situation,
                                                       const QString& sender,
                                                       const QString& channel, const QString& text)
{
    const QString title = channel.isEmpty() ? sender : sender + QStringLiteral(" em ") + channel;
    return noticeFor(situation, title, text);
}
