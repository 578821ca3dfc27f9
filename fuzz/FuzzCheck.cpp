#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

void fuzzFailure(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

void fuzzFailure(const char* condition, const char* file, int line, const QString& actual,
                 const QString& expected)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n  actual:   %s\n  expected: %s\n", file, line,
                 condition, actual.toUtf8().constData(), expected.toUtf8().constData());
    std::abort();
}

QString fuzzDescribe(const QString& text)
{
    // Code units in hex beside the text, so controls and lone surrogates show.
    QString units;
    for (const QChar ch : text)
        units += QStringLiteral(" %1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
    return QLatin1Char('"') + text + QStringLiteral("\" [") + units.trimmed() + QLatin1Char(']');
}

QString fuzzDescribe(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toPercentEncoding(" "));
}

QString fuzzDescribe(qint64 number)
{
    return QString::number(number);
}
