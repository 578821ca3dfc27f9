#include "AsciiCase.h"

QString AsciiCase::toUpper(const QString& text)
{
    QString out = text;
    for (QChar& ch : out) {
        const char16_t c = ch.unicode();
        if (c >= u'a' && c <= u'z')
            ch = QChar(c - (u'a' - u'A'));
    }
    return out;
}

QString AsciiCase::toLower(const QString& text)
{
    QString out = text;
    for (QChar& ch : out) {
        const char16_t c = ch.unicode();
        if (c >= u'A' && c <= u'Z')
            ch = QChar(c + (u'a' - u'A'));
    }
    return out;
}
