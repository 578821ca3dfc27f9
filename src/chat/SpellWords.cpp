#include "chat/SpellWords.h"

#include <QStringView>

#include "core/AsciiCase.h"

namespace {

bool isLetter(QChar c)
{
    return c.isLetter() || c.isMark();
}

bool joinsLetters(QChar c)
{
    return c == QLatin1Char('\'') || c == QChar(0x2019) || c == QLatin1Char('-');
}

// Characters an account name holds besides letters and digits.
bool isNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_') || c == QLatin1Char('-') ||
           c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char('.');
}

// Commands whose words after the command are text to check from the first one.
bool takesTextFirst(QStringView command)
{
    const QString lower = AsciiCase::toLower(command.toString());
    return lower == QLatin1String("/me") || lower == QLatin1String("/emote") ||
           lower == QLatin1String("/away") || lower == QLatin1String("/dnd");
}

// A piece with a dot between two letters or digits ("site.com.br", "a.b"): a host name or an
// abbreviation, neither of them a word to check.
bool hasInnerDot(QStringView piece)
{
    for (qsizetype i = 1; i + 1 < piece.size(); ++i) {
        if (piece[i] == QLatin1Char('.') && piece[i - 1].isLetterOrNumber() &&
            piece[i + 1].isLetterOrNumber())
            return true;
    }
    return false;
}

bool isAddress(QStringView piece)
{
    return piece.contains(QLatin1String("://")) || piece.contains(QLatin1Char('@')) ||
           piece.startsWith(QLatin1String("www."), Qt::CaseInsensitive) || hasInnerDot(piece);
}

// The piece without what surrounds a name in a line: "(conta)," -> "conta", "[BR]joao:" ->
// "[BR]joao".
QStringView nameIn(QStringView piece)
{
    qsizetype from = 0;
    qsizetype to = piece.size();
    while (from < to && !isNameCharacter(piece[from]))
        ++from;
    while (to > from && !(piece[to - 1].isLetterOrNumber() || piece[to - 1] == QLatin1Char('_') ||
                          piece[to - 1] == QLatin1Char(']')))
        --to;
    return piece.mid(from, to - from);
}

bool namesAccount(QStringView piece, const SpellWords::IsAccount& isAccount)
{
    if (!isAccount)
        return false;
    const QStringView name = nameIn(piece);
    return (!name.isEmpty() && isAccount(name.toString())) ||
           (name.size() != piece.size() && isAccount(piece.toString()));
}

// The words of one piece, at their places in the line.
void wordsOf(const QString& line, qsizetype from, qsizetype to,
             const SpellWords::IsAccount& isAccount, QList<SpellWords::Range>& words)
{
    qsizetype i = from;
    while (i < to) {
        const QChar c = line[i];
        if (!isLetter(c) && !c.isDigit() && c != QLatin1Char('_')) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        bool name = false;
        while (i < to) {
            const QChar d = line[i];
            if (isLetter(d)) {
                ++i;
            } else if (d.isDigit() || d == QLatin1Char('_')) {
                name = true;
                ++i;
            } else if (joinsLetters(d) && i + 1 < to && isLetter(line[i + 1]) && i > start) {
                ++i;
            } else {
                break;
            }
        }
        const QString word = line.mid(start, i - start);
        if (!name && !(isAccount && isAccount(word)))
            words.append({int(start), int(i - start)});
    }
}

} // namespace

QList<SpellWords::Range> SpellWords::checkable(const QString& line, const IsAccount& isAccount)
{
    QList<Range> words;
    qsizetype i = 0;
    int piece = 0;
    bool skipNext = false;
    while (i < line.size()) {
        if (line[i].isSpace()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < line.size() && !line[i].isSpace())
            ++i;
        const QStringView text = QStringView(line).mid(start, i - start);
        const bool first = piece++ == 0;
        if (skipNext) {
            skipNext = false;
            continue;
        }
        if (text.startsWith(QLatin1Char('/'))) {
            skipNext = first && !takesTextFirst(text);
            continue;
        }
        if (namesAccount(text, isAccount) || isAddress(text))
            continue;
        wordsOf(line, start, i, isAccount, words);
    }
    return words;
}

SpellWords::Range SpellWords::wordAt(const QString& line, int position, const IsAccount& isAccount)
{
    for (const Range& word : checkable(line, isAccount)) {
        if (position >= word.start && position <= word.start + word.length)
            return word;
    }
    return {};
}
