#include "NumberedList.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <utility>

#include <QSet>
#include <QStringList>

#include "core/AsciiCase.h"
#include "settings/TIniFile.h"

namespace {

// The entry number in a key name of the part, or nothing: plain decimal, no leading zero, as
// only such keys are ever read.
std::optional<qint64> entryOf(const QString& lowerName, const QString& lowerPrefix,
                              const QString& lowerSuffix)
{
    const qsizetype digits = lowerName.size() - lowerPrefix.size() - lowerSuffix.size();
    if (digits < 1 || digits > 10 || !lowerName.startsWith(lowerPrefix) ||
        !lowerName.endsWith(lowerSuffix))
        return std::nullopt;
    const QStringView number = QStringView(lowerName).sliced(lowerPrefix.size(), digits);
    if (number.front() == QLatin1Char('0'))
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// Calls take(entry) for every key of the list in the section, with the key's entry number.
template <typename Take>
void forEachKey(const TIniFile& ini, const QString& section, const QList<NumberedList::Part>& parts,
                Take take)
{
    QList<std::pair<QString, QString>> lowerParts;
    for (const NumberedList::Part& p : parts)
        lowerParts.append({AsciiCase::toLower(p.prefix), AsciiCase::toLower(p.suffix)});
    for (const QString& name : ini.ReadSection(section)) {
        const QString lower = AsciiCase::toLower(name);
        for (const auto& [prefix, suffix] : std::as_const(lowerParts)) {
            if (const std::optional<qint64> entry = entryOf(lower, prefix, suffix))
                take(*entry);
        }
    }
}

} // namespace

NumberedList::NumberedList(QString section, QString countKey, QList<Part> parts, int countOffset)
    : m_section(std::move(section)), m_countKey(std::move(countKey)), m_parts(std::move(parts)),
      m_countOffset(countOffset)
{
}

QString NumberedList::key(int part, int entry) const
{
    const Part& p = m_parts.at(part);
    return p.prefix + QString::number(entry) + p.suffix;
}

int NumberedList::count(const TIniFile& ini) const
{
    const int stored = storedCount(ini);
    return stored == 0 ? 0 : std::min(stored, highestStored(ini));
}

int NumberedList::storedCount(const TIniFile& ini) const
{
    const qint64 stored = ini.ReadInteger(m_section, m_countKey, m_countOffset);
    return int(std::max<qint64>(0, stored - m_countOffset));
}

// The highest number that holds a key of the list; 0 when none does. A key numbered beyond any
// count is no entry.
int NumberedList::highestStored(const TIniFile& ini) const
{
    qint64 highest = 0;
    forEachKey(ini, m_section, m_parts, [&](qint64 entry) {
        if (entry <= INT_MAX)
            highest = std::max(highest, entry);
    });
    return int(highest);
}

QList<int> NumberedList::storedEntries(const TIniFile& ini) const
{
    return storedEntries(ini, 1, count(ini));
}

QList<int> NumberedList::storedEntries(const TIniFile& ini, int from, int to) const
{
    QSet<int> found;
    forEachKey(ini, m_section, m_parts, [&](qint64 entry) {
        if (entry >= from && entry <= to)
            found.insert(int(entry));
    });
    QList<int> entries(found.cbegin(), found.cend());
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool NumberedList::remove(TIniFile& ini, int entry) const
{
    TIniFile::Batch batch(ini);
    const int n = storedCount(ini);
    if (entry < 1 || entry > n)
        return false;
    const QList<int> stored = storedEntries(ini, entry, n);
    const QSet<int> holding(stored.cbegin(), stored.cend());
    // Only the numbers that hold keys or receive them change; a stretch where both the number and
    // the one above it are missing stays as it is.
    QList<int> targets;
    for (const int s : stored) {
        if (s - 1 >= entry)
            targets.append(s - 1);
        if (s < n)
            targets.append(s);
    }
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());

    ini.WriteInteger(m_section, m_countKey, n - 1 + m_countOffset);
    // Ascending, so each entry is read before its own number is overwritten.
    for (const int j : std::as_const(targets)) {
        for (int part = 0; part < m_parts.size(); ++part) {
            if (holding.contains(j + 1))
                ini.WriteString(m_section, key(part, j),
                                ini.ReadString(m_section, key(part, j + 1), QString()));
            else
                ini.DeleteKey(m_section, key(part, j));
        }
    }
    for (int part = 0; part < m_parts.size(); ++part)
        ini.DeleteKey(m_section, key(part, n));
    batch.commit();
    return true;
}

NumberedList NumberedList::suspectAccounts()
{
    return NumberedList(QStringLiteral("Lista"), QStringLiteral("nL"),
                        {{QStringLiteral("Acc"), QString()}, {QStringLiteral("Mot"), QString()}});
}

NumberedList NumberedList::phraseReplies()
{
    return NumberedList(QStringLiteral("Respostas"), QStringLiteral("nRF"),
                        {{QStringLiteral("F"), QString()},
                         {QStringLiteral("RF"), QStringLiteral("1")},
                         {QStringLiteral("RF"), QStringLiteral("2")},
                         {QStringLiteral("RF"), QStringLiteral("3")},
                         {QStringLiteral("nRF"), QString()}});
}

NumberedList NumberedList::whisperReplies()
{
    return NumberedList(QStringLiteral("Respostas"), QStringLiteral("nRW"),
                        {{QStringLiteral("W"), QString()},
                         {QStringLiteral("RW"), QStringLiteral("1")},
                         {QStringLiteral("RW"), QStringLiteral("2")},
                         {QStringLiteral("RW"), QStringLiteral("3")},
                         {QStringLiteral("nRW"), QString()}});
}

NumberedList NumberedList::synchronizedMessages()
{
    return NumberedList(QStringLiteral("Timers"), QStringLiteral("nTS"),
                        {{QStringLiteral("STimer"), QString()}});
}

NumberedList NumberedList::favouriteChannels()
{
    return NumberedList(QStringLiteral("Canais"), QStringLiteral("n"),
                        {{QStringLiteral("c"), QString()}}, 1);
}
