#include "Cp1252.h"

#include <array>

namespace {

// Characters of the bytes 0x80-0x9F; the undefined ones keep their C1 value.
constexpr std::array<char16_t, 32> High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString Cp1252::decode(const QByteArray& bytes)
{
    return decode(bytes.constData(), bytes.size());
}

QString Cp1252::decode(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = (b >= 0x80 && b < 0xA0) ? QChar(High[b - 0x80]) : QChar(b);
    }
    return out;
}

int Cp1252::byteOf(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < int(High.size()); ++i) {
        if (High[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

QByteArray Cp1252::encode(const QString& text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    const QChar* src = text.constData();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = src[i].unicode();
        const int b = ch < 0x80 ? ch : byteOf(ch);
        dst[n++] = static_cast<char>(b < 0 ? '?' : b);
        // A character beyond the first 65536 takes two code units but is still one character.
        if (src[i].isHighSurrogate() && i + 1 < text.size() && src[i + 1].isLowSurrogate())
            ++i;
    }
    out.truncate(n);
    return out;
}

bool Cp1252::canEncode(const QString& text)
{
    for (QChar ch : text) {
        if (byteOf(ch.unicode()) < 0)
            return false;
    }
    return true;
}
