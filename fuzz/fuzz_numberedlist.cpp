// The numbered lists of the settings file: from arbitrary file bytes, the count of each list is
// the stored count cut down to the highest entry number any key of the list holds, never below
// zero; removing an entry in 1..count keeps every entry below it, moves every later one down by
// one number and leaves the keys that are no entries of the list alone.

#include <climits>
#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "FuzzCheck.h"
#include "core/AsciiCase.h"
#include "settings/NumberedList.h"
#include "settings/TIniFile.h"

namespace {

// Entries looked at one by one after a removal; a count beyond them is only checked in its
// highest key.
constexpr int Looked = 40;

struct ListInfo
{
    NumberedList list;
    // prefix, suffix of each part, for the reading of a key name below
    QList<std::pair<QString, QString>> parts;
};

QList<ListInfo> lists()
{
    const auto info = [](const NumberedList& list, QList<std::pair<QString, QString>> parts) {
        return ListInfo{list, std::move(parts)};
    };
    return {info(NumberedList::suspectAccounts(), {{"Acc", ""}, {"Mot", ""}}),
            info(NumberedList::phraseReplies(),
                 {{"F", ""}, {"RF", "1"}, {"RF", "2"}, {"RF", "3"}, {"nRF", ""}}),
            info(NumberedList::whisperReplies(),
                 {{"W", ""}, {"RW", "1"}, {"RW", "2"}, {"RW", "3"}, {"nRW", ""}}),
            info(NumberedList::synchronizedMessages(), {{"STimer", ""}}),
            info(NumberedList::favouriteChannels(), {{"c", ""}})};
}

// The entry number a key name gives for a part, by a pattern: the prefix and suffix in any ASCII
// case around a decimal number without leading zero that an int holds; 0 when it gives none.
qint64 entryOf(const QString& name, const std::pair<QString, QString>& part)
{
    const QRegularExpression pattern(
        QStringLiteral("^%1([1-9][0-9]{0,9})%2$")
            .arg(QRegularExpression::escape(AsciiCase::toLower(part.first)),
                 QRegularExpression::escape(AsciiCase::toLower(part.second))));
    const QRegularExpressionMatch match = pattern.match(AsciiCase::toLower(name));
    if (!match.hasMatch())
        return 0;
    const qint64 n = match.captured(1).toLongLong();
    return n <= INT_MAX ? n : 0;
}

qint64 highestEntry(const TIniFile& ini, const ListInfo& info)
{
    qint64 highest = 0;
    for (const QString& name : ini.ReadSection(info.list.section())) {
        for (const auto& part : info.parts)
            highest = std::max(highest, entryOf(name, part));
    }
    return highest;
}

bool holdsAny(const TIniFile& ini, const ListInfo& info, int entry)
{
    for (int part = 0; part < info.parts.size(); ++part) {
        if (ini.ValueExists(info.list.section(), info.list.key(part, entry)))
            return true;
    }
    return false;
}

// Keys of the section that are no entry of the list, with their values.
QStringList others(const TIniFile& ini, const ListInfo& info)
{
    QStringList result;
    for (const QString& name : ini.ReadSection(info.list.section())) {
        bool entry = false;
        for (const auto& part : info.parts)
            entry = entry || entryOf(name, part) > 0;
        if (!entry && name.compare(info.list.countKey(), Qt::CaseInsensitive) != 0)
            result << name + QLatin1Char('=') +
                          ini.ReadString(info.list.section(), name, QStringLiteral("\r"));
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    static const QList<ListInfo> all = lists();
    const QString path = folder.filePath(QStringLiteral("confs.ini"));

    FuzzedDataProvider in(data, size);
    const ListInfo& info = all[in.ConsumeIntegralInRange<qsizetype>(0, all.size() - 1)];
    const int entry = in.ConsumeIntegralInRange(0, Looked);
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()));
    }

    TIniFile ini(path);
    const NumberedList& list = info.list;
    const int stored = list.storedCount(ini);
    const int n = list.count(ini);
    FUZZ_CHECK(stored >= 0);
    FUZZ_CHECK_EQUAL(qint64(n), std::min<qint64>(stored, highestEntry(ini, info)));
    const QList<int> entries = list.storedEntries(ini);
    for (const int e : entries)
        FUZZ_CHECK(e >= 1 && e <= n && holdsAny(ini, info, e));
    for (int e = 1; e <= std::min(n, Looked); ++e)
        FUZZ_CHECK_EQUAL(qint64(entries.contains(e)), qint64(holdsAny(ini, info, e)));

    // The values of the entries near the start, before the removal.
    QList<QStringList> before;
    QList<bool> held;
    for (int e = 0; e <= Looked + 1; ++e) {
        QStringList values;
        for (int part = 0; part < info.parts.size(); ++part)
            values << ini.ReadString(list.section(), list.key(part, e), QString());
        before << values;
        held << (e > 0 && holdsAny(ini, info, e));
    }
    const QStringList othersBefore = others(ini, info);

    const bool removed = list.remove(ini, entry);
    FUZZ_CHECK_EQUAL(qint64(removed), qint64(entry >= 1 && entry <= stored));
    if (!removed)
        return 0;
    FUZZ_CHECK_EQUAL(qint64(list.storedCount(ini)), qint64(stored) - 1);
    FUZZ_CHECK(others(ini, info) == othersBefore);
    for (int e = 1; e < entry; ++e) {
        for (int part = 0; part < info.parts.size(); ++part)
            FUZZ_CHECK_EQUAL(ini.ReadString(list.section(), list.key(part, e), QString()),
                             before[e][part]);
    }
    for (int e = entry; e < std::min(stored, Looked + 1); ++e) {
        if (!held[e + 1]) {
            FUZZ_CHECK(!holdsAny(ini, info, e));
            continue;
        }
        for (int part = 0; part < info.parts.size(); ++part)
            FUZZ_CHECK_EQUAL(
                ini.ReadString(list.section(), list.key(part, e), QStringLiteral("\r")),
                before[e + 1][part]);
    }
    if (stored <= Looked)
        FUZZ_CHECK(!holdsAny(ini, info, stored));
    return 0;
}
