#include "chat/MentionMatcher.h"

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
    m_account = account;
}

void MentionMatcher::setHighlightWords(const QString& list)
{
    m_words = splitWords(list);
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
    if (!m_account.isEmpty()) {
        if (equalIgnoringAsciiCase(speaker, m_account))
            return false;
        if (containsWord(text, m_account, true))
            return true;
    }
    for (const QString& word : m_words) {
        if (containsWord(text, word, false))
            return true;
    }
    return false;
}

// The search ignores the case of every letter, which finds whatever the ASCII rule would find
// and more; a name then checks its own rule.
bool MentionMatcher::containsWord(QStringView text, QStringView word, bool asciiCaseOnly) const
{
    for (qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(word, at + 1, Qt::CaseInsensitive)) {
        if (at > 0 && isWordCharacter(text[at - 1]))
            continue;
        qsizetype after = at + word.size();
        while (after < text.size() && text[after] == QLatin1Char('.'))
            ++after;
        if (after < text.size() && isWordCharacter(text[after]))
            continue;
        if (asciiCaseOnly && !equalIgnoringAsciiCase(text.mid(at, word.size()), word))
            continue;
        return true;
    }
    return false;
}
