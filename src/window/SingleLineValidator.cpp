#include "window/SingleLineValidator.h"

QValidator::State SingleLineValidator::validate(QString& input, int& pos) const
{
    if (!input.contains(QLatin1Char('\r')) && !input.contains(QLatin1Char('\n')))
        return Acceptable;
    QString line;
    line.reserve(input.size());
    int cursor = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        if (c == QLatin1Char('\r') && i + 1 < input.size() && input[i + 1] == QLatin1Char('\n')) {
            // The pair becomes one blank: a cursor after it moves back by one.
            if (i + 1 < pos)
                --cursor;
            continue;
        }
        line += (c == QLatin1Char('\r') || c == QLatin1Char('\n')) ? QLatin1Char(' ') : c;
    }
    input = line;
    pos = cursor;
    return Acceptable;
}

void SingleLineValidator::fixup(QString& input) const
{
    int pos = 0;
    validate(input, pos);
}
