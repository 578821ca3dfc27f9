// The Windows-1252 codec: every byte string decodes and encodes back to itself, and text made of
// the code page's characters encodes and decodes back to itself; any other character becomes one
// "?", a character beyond the first 65536 (two code units) too.

#include <cstdint>

#include <QString>

#include "FuzzCheck.h"
#include "core/Cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString decoded = Cp1252::decode(bytes);
    FUZZ_CHECK_EQUAL(decoded.size(), bytes.size());
    FUZZ_CHECK(Cp1252::canEncode(decoded));
    FUZZ_CHECK_EQUAL(Cp1252::encode(decoded), bytes);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        FUZZ_CHECK_EQUAL(Cp1252::byteOf(decoded[i].unicode()), quint8(bytes[i]));

    // The same bytes read as UTF-16 code units: any text at all, lone surrogates included.
    const QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const QByteArray encoded = Cp1252::encode(text);
    qsizetype out = 0;
    bool allKnown = true;
    for (qsizetype i = 0; i < text.size(); ++i, ++out) {
        FUZZ_CHECK(out < encoded.size());
        const char16_t ch = text[i].unicode();
        const int byte = Cp1252::byteOf(ch);
        allKnown = allKnown && byte >= 0;
        if (byte >= 0) {
            FUZZ_CHECK_EQUAL(quint8(encoded[out]), byte);
            FUZZ_CHECK_EQUAL(Cp1252::decode(encoded.mid(out, 1)), QString(QChar(ch)));
        } else {
            FUZZ_CHECK_EQUAL(encoded[out], '?');
            if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
        }
    }
    FUZZ_CHECK_EQUAL(encoded.size(), out);
    FUZZ_CHECK_EQUAL(Cp1252::canEncode(text), allKnown);
    if (allKnown)
        FUZZ_CHECK_EQUAL(Cp1252::decode(encoded), text);
    return 0;
}
