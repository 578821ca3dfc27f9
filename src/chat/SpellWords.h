#pragma once

#include <QList>
#include <QString>

#include <functional>

// The words of a typed line worth a spelling check. A word is a run of letters, with an
// apostrophe or a hyphen inside it ("d'água", "guarda-chuva"); a run glued to digits or to an
// underscore ("abc123", "x_y") is a name or a code, never a word. Left out as well: a piece
// (between blanks) that starts with "/" (a command), the name a command takes first ("/w conta",
// "/join canal"; not the text of "/me", "/away" and "/dnd"), addresses ("http://...", "www...",
// "nome@site", "site.com.br") and the accounts the caller names (the channel's users).
class SpellWords
{
public:
    struct Range
    {
        int start = 0;
        int length = 0;
        bool operator==(const Range& other) const
        {
            return start == other.start && length == other.length;
        }
    };

    // Whether a piece of the line is an account the line may name; letter case is the caller's.
    using IsAccount = std::function<bool(const QString& name)>;

    static QList<Range> checkable(const QString& line, const IsAccount& isAccount = {});
    // The word of checkable() that holds position (the caret before, inside or right after it);
    // length 0 when none does.
    static Range wordAt(const QString& line, int position, const IsAccount& isAccount = {});
};
