#pragma once

#include <QString>

// Case changes that touch only the ASCII letters A-Z / a-z. Client commands and the matching of
// automatic replies compare this way; accented letters stay as they are.
class AsciiCase
{
public:
    static QString toUpper(const QString& text);
    static QString toLower(const QString& text);
};
