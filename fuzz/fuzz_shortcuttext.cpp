// The shortcut text of confs.ini. Text that parses names a combination whose written form parses
// back to it; a parse ignores the case of ASCII letters and nothing else, so only ASCII names
// (between blanks) are ever accepted; any combination's written form, when it has one, parses to
// a combination written the same way.

#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include <QKeyCombination>

#include "FuzzCheck.h"
#include "core/AsciiCase.h"
#include "core/Cp1252.h"
#include "settings/ShortcutText.h"

namespace {

bool isAsciiApartFromBlanks(const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x80 && !ch.isSpace())
            return false;
    }
    return true;
}

QString describe(const std::optional<QKeyCombination>& combination)
{
    if (!combination)
        return QStringLiteral("nothing");
    return QStringLiteral("%1 (%2)")
        .arg(ShortcutText::format(*combination))
        .arg(combination->toCombined(), 0, 16);
}

void checkText(const QString& text)
{
    const std::optional<QKeyCombination> parsed = ShortcutText::parse(text);
    FUZZ_CHECK_EQUAL(describe(ShortcutText::parse(AsciiCase::toUpper(text))), describe(parsed));
    FUZZ_CHECK_EQUAL(describe(ShortcutText::parse(AsciiCase::toLower(text))), describe(parsed));
    if (!parsed)
        return;
    FUZZ_CHECK(isAsciiApartFromBlanks(text));
    const QString written = ShortcutText::format(*parsed);
    FUZZ_CHECK(!written.isEmpty());
    FUZZ_CHECK_EQUAL(describe(ShortcutText::parse(written)), describe(parsed));
}

void checkCombination(QKeyCombination combination)
{
    const QString written = ShortcutText::format(combination);
    if (written.isEmpty())
        return;
    const std::optional<QKeyCombination> parsed = ShortcutText::parse(written);
    FUZZ_CHECK(parsed.has_value());
    FUZZ_CHECK_EQUAL(ShortcutText::format(*parsed), written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    checkCombination(QKeyCombination::fromCombined(in.ConsumeIntegral<int>()));
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    // As confs.ini holds it, and as any text at all.
    checkText(Cp1252::decode(bytes.data(), qsizetype(bytes.size())));
    checkText(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
    return 0;
}
