#include "chat/ClientCommandLine.h"

#include <array>
#include <utility>

#include "core/AsciiCase.h"

namespace {

constexpr QChar Quote = u'"';

// Blanks and control characters: every code up to 32.
bool isSeparator(QChar ch)
{
    return ch.unicode() <= 32;
}

const std::array<std::pair<QLatin1String, ClientCommandLine::Command>, 5> Commands{{
    {QLatin1String("/LOCK"), ClientCommandLine::Command::Lock},
    {QLatin1String("/ASCROLL"), ClientCommandLine::Command::AScroll},
    {QLatin1String("/ACSET"), ClientCommandLine::Command::AcSet},
    {QLatin1String("/OPMODE"), ClientCommandLine::Command::OpMode},
    {QLatin1String("/ACHELP"), ClientCommandLine::Command::AcHelp},
}};

} // namespace

ClientCommandLine ClientCommandLine::parse(const QString& line)
{
    qsizetype end = line.size();
    while (end > 0 && isSeparator(line.at(end - 1)))
        --end;
    ClientCommandLine parsed;
    parsed.m_words = separaTokens(line.left(end));
    const QString first = upperWord(parsed.m_words, 0);
    for (const auto& [word, command] : Commands) {
        if (first == word) {
            parsed.m_command = command;
            break;
        }
    }
    return parsed;
}

QStringList ClientCommandLine::separaTokens(const QString& line)
{
    QStringList words;
    const qsizetype size = line.size();
    qsizetype i = 0;
    for (;;) {
        while (i < size && isSeparator(line.at(i)))
            ++i;
        if (i >= size)
            break;
        QString word;
        if (line.at(i) == Quote) {
            ++i;
            while (i < size) {
                if (line.at(i) == Quote) {
                    if (i + 1 < size && line.at(i + 1) == Quote) {
                        word += Quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                word += line.at(i++);
            }
        } else {
            const qsizetype start = i;
            while (i < size && !isSeparator(line.at(i)))
                ++i;
            word = line.mid(start, i - start);
        }
        words << word;
    }
    return words;
}

bool ClientCommandLine::isBlank(const QString& line)
{
    for (const QChar ch : line) {
        if (!isSeparator(ch))
            return false;
    }
    return true;
}

QString ClientCommandLine::upperWord(const QStringList& words, int i)
{
    return AsciiCase::toUpper(words.value(i));
}
