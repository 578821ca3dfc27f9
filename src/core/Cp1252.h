#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the code page of the wire and of confs.ini. Decoding is total and exact: every
// byte 0x00-0xFF maps to one character (the five bytes the code page leaves undefined map to the
// C1 controls of the same value), so decode followed by encode gives back the same bytes.
class Cp1252
{
public:
    static QString decode(const QByteArray& bytes);
    static QString decode(const char* data, qsizetype size);
    // A character outside the code page becomes "?".
    static QByteArray encode(const QString& text);
    // True when every character of the text has a byte in the code page.
    static bool canEncode(const QString& text);
    // The byte of one character, or -1 when the code page has none.
    static int byteOf(char16_t ch);
};
