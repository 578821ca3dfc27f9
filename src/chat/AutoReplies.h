#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "settings/SettingKeys.h"

class TIniFile;

// The automatic replies: stored phrases that answer other users' chat lines, stored whisper texts
// that answer whispers, and the answer to the version query of the network's staff. The entries
// are read from the settings file at every call, so a change in the options dialog applies to the
// next line. Phrases match anywhere in the text, ignoring the case of ASCII letters only; the
// lowest matching entry number wins.
class AutoReplies
{
public:
    // Draws the account of a random entry of the channel's user list (empty: the list is empty).
    using RandomUser = std::function<QString()>;

    explicit AutoReplies(const TIniFile& ini);

    // The number of the first phrase (whisper) entry contained in the text, or -1.
    int numFrase(const QString& text) const;
    int numWhisp(const QString& text) const;

    // Replaces, pattern by pattern, every occurrence of the pattern (case-sensitive) by the
    // replacement of the same index; missing replacements are the first one, or nothing when
    // there are none. Replaced text is not searched again; an empty pattern replaces nothing.
    static QString Replace(const QString& text, const QStringList& patterns,
                           const QStringList& replacements);

    // The channel reply to a chat line of speaker, "<user>" and "<random>" filled in, or nothing
    // when no entry matches or the chosen reply is empty. A matching entry always draws the reply
    // number and one random account, whether the reply uses it or not, so the shared generator
    // makes the same choices as every other copy of the program.
    std::optional<QString> phraseReply(const QString& speaker, const QString& text,
                                       const RandomUser& randomUser) const;
    // The text to whisper back, as stored (placeholders are not replaced), or nothing.
    std::optional<QString> whisperReply(const QString& text) const;

    // The whole "/w" line (without its CR) answering a version query, or nothing when the text
    // is not exactly the query or the speaker is not one of the staff accounts.
    static std::optional<QString> versionAnswer(const QString& speaker, const QString& text,
                                                bool opMode);
    // True for the server's echo of our version answer, which the whisper pane does not show.
    static bool hidesEcho(const QString& text);

private:
    struct List;
    static const List PhraseList;
    static const List WhisperList;

    int match(const List& list, const QString& text) const;
    QList<int> entryNumbers(const List& list, int count) const;
    QString chooseReply(const List& list, int entry) const;

    const TIniFile& m_ini;
};
