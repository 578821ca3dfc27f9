#pragma once

#include <QObject>
#include <QString>

#include "chat/MentionMatcher.h"

class Panes;
class TGatewayChat;
class WhisperNotices;
class WindowContext;

// Channel lines that mention the user: a talk or emote line of another account holding the
// account name the server confirmed (2010 NAME) or one of the highlight words (Geral/Destaques)
// is drawn in the mention style and, while the window is away, announced as a whisper is. Owns
// the switch (Geral/Mencoes), the matcher, the confirmed name (the chat's OnUniqueName) and the
// words; touches the panes and the notices through the features it is handed.
class Mentions final : public QObject
{
    Q_OBJECT
public:
    // Takes over the chat's OnUniqueName; none of the arguments is owned.
    Mentions(WindowContext& ctx, TGatewayChat* chat, Panes* panes, WhisperNotices* notices,
             QObject* parent);

    // A line of User that mentions the user is written in the mention style and announced: true.
    // Any other line is left to the caller: false, nothing written.
    bool showMention(const QString& User, const QString& Mess, bool emote);
    // Whether mentions are shown, and the highlight words, from the settings, at start and after
    // the options dialog.
    void applyOptions();
    // The confirmed name goes with the session; the next login names the account again.
    void sessionEnded();
    const MentionMatcher& matcher() const { return m_matcher; }

private:
    void GatewayChat1UniqueName(const QString& User);

    WindowContext& m_ctx;
    Panes* m_panes;
    WhisperNotices* m_notices;
    MentionMatcher m_matcher;
    bool m_enabled = true;
};
