#include "chat/MentionMatcher.h"

#include <QVarLengthArray>

namespace {

QChar asciiLower(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(c.unicode() + ('a' - 'A')) : c;
}

bool equalIgnoringAsciiCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

} // namespace

void MentionMatcher::setAccount(const QString& account)
{
    m_account = needle(account);
}

void MentionMatcher::setHighlightWords(const QString& list)
{
    m_words = splitWords(list);
    m_wordNeedles.clear();
    for (const QString& word : std::as_const(m_words))
        m_wordNeedles << needle(word);
}

QStringList MentionMatcher::splitWords(const QString& list)
{
    QStringList words;
    for (const QStringView part : QStringView(list).split(QLatin1Char(','))) {
        const QStringView word = part.trimmed();
        if (!word.isEmpty())
            words << word.toString();
    }
    return words;
}

bool MentionMatcher::isWordCharacter(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80) {
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
               u == '_' || u == '-' || u == '[' || u == ']' || u == '.';
    }
    return c.isLetterOrNumber() || c.isMark();
}

bool MentionMatcher::mentions(const QString& speaker, QStringView text) const
{
    if (!m_account.text.isEmpty()) {
        if (equalIgnoringAsciiCase(speaker, m_account.text))
            return false;
        if (containsWord(text, m_account, true))
            return true;
    }
    for (const Needle& word : m_wordNeedles) {
        if (containsWord(text, word, false))
            return true;
    }
    return false;
}

namespace {

// Every character that may open a match of a word starting with first, letter case ignored; empty
// when there are too many to list (a letter outside ASCII).
QVarLengthArray<QChar, 3> openers(QChar first)
{
    QVarLengthArray<QChar, 3> chars;
    const char16_t u = first.unicode();
    if (u >= 0x80) {
        if (!first.isLetter())
            chars << first;
        return chars;
    }
    const QChar lower = asciiLower(first);
    chars << lower;
    if (lower >= QLatin1Char('a') && lower <= QLatin1Char('z'))
        chars << QChar(lower.unicode() - ('a' - 'A'));
    // The two signs outside ASCII that fold to an ASCII letter.
    if (lower == QLatin1Char('k'))
        chars << QChar(0x212A);
    else if (lower == QLatin1Char('s'))
        chars << QChar(0x017F);
    return chars;
}

// The first place at or after from where one of chars stands; -1: none.
qsizetype nextOf(QStringView text, const QVarLengthArray<QChar, 3>& chars, qsizetype from)
{
    qsizetype next = -1;
    for (const QChar c : chars) {
        const qsizetype at = text.indexOf(c, from);
        if (at >= 0 && (next < 0 || at < next))
            next = at;
    }
    return next;
}

} // namespace

// Runs on every channel line: the places are found by the word's first character alone, a
// search much faster than a case-insensitive one of the whole word, and then compared. The
// comparison ignores the case of every letter, which accepts whatever the ASCII rule accepts and
// more; a name then checks its own rule.
MentionMatcher::Needle MentionMatcher::needle(const QString& text)
{
    Needle needle;
    needle.text = text;
    if (!text.isEmpty())
        needle.openers = openers(text.front());
    return needle;
}

bool MentionMatcher::containsWord(QStringView text, const Needle& needle, bool asciiCaseOnly)
{
    const QStringView word = needle.text;
    const auto next = [&](qsizetype from) {
        return needle.openers.isEmpty() ? text.indexOf(word, from, Qt::CaseInsensitive)
                                        : nextOf(text, needle.openers, from);
    };
    const qsizetype last = text.size() - word.size();
    for (qsizetype at = next(0); at >= 0 && at <= last; at = next(at + 1)) {
        const QStringView found = text.mid(at, word.size());
        if (asciiCaseOnly ? !equalIgnoringAsciiCase(found, word)
                          : found.compare(word, Qt::CaseInsensitive) != 0)
            continue;
        if (at > 0 && isWordCharacter(text[at - 1]))
            continue;
        qsizetype after = at + word.size();
        while (after < text.size() && text[after] == QLatin1Char('.'))
            ++after;
        if (after < text.size() && isWordCharacter(text[after]))
            continue;
        return true;
    }
    return false;
}
