// The settings file: arbitrary file bytes are read, then written and deleted in, by fuzz-chosen
// names and values. A written value reads back as stored (blanks and one pair of quotes around it
// trimmed, line breaks as blanks, cut at 2047 characters, "?" for characters outside the code
// page), a deleted key is gone, no other key changes, a refused name throws and leaves the file
// alone, and a fresh reading of the written file sees what the writer sees.

#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "FuzzCheck.h"
#include "core/AsciiCase.h"
#include "core/Cp1252.h"
#include "settings/TIniFile.h"

namespace {

constexpr qsizetype MaxValueLength = 2047;
constexpr int MaxOperations = 8;
// What a read gives for a missing key; no file can hold it (a name or value with a CR).
const QString Missing = QStringLiteral("missing\r");

struct Name
{
    QString section;
    QString key;
};

bool isBlank(QChar ch)
{
    return ch == QLatin1Char(' ') || ch == QLatin1Char('\t');
}

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

bool storableSection(const QString& name)
{
    const QString t = trimBlanks(name);
    return !t.isEmpty() && !t.contains(QLatin1Char(']')) && !hasLineBreak(t) &&
           Cp1252::canEncode(t);
}

bool storableKey(const QString& name)
{
    const QString t = trimBlanks(name);
    return !t.isEmpty() && !t.contains(QLatin1Char('=')) && !t.startsWith(QLatin1Char('[')) &&
           !t.startsWith(QLatin1Char(';')) && !hasLineBreak(t) && Cp1252::canEncode(t);
}

bool sameName(const Name& a, const Name& b)
{
    return AsciiCase::toLower(trimBlanks(a.section)) == AsciiCase::toLower(trimBlanks(b.section)) &&
           AsciiCase::toLower(trimBlanks(a.key)) == AsciiCase::toLower(trimBlanks(b.key));
}

QString readValue(const QString& raw)
{
    QString value = trimBlanks(raw);
    if (value.size() >= 2 &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(MaxValueLength);
}

QString readBack(const QString& value)
{
    QString stored = Cp1252::decode(Cp1252::encode(value));
    stored.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    stored.replace(QLatin1Char('\r'), QLatin1Char(' '));
    stored.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return readValue(stored);
}

struct Reading
{
    bool exists = false;
    QString value;

    bool operator==(const Reading& other) const
    {
        return exists == other.exists && value == other.value;
    }
};

QString lookupName(const QString& name)
{
    return AsciiCase::toLower(trimBlanks(name));
}

// The file read by the rules in their plainest form: the first line of a key in its section wins,
// keys outside a named section count for nothing. It gives the names to read, write and delete,
// so the operations meet keys that exist, and what each must read.
struct Reference
{
    QList<Name> names;
    QHash<QString, QString> values; // section, CR, key (as looked up) -> value

    Reading reading(const Name& name) const
    {
        const auto value = values.constFind(slot(name));
        if (!storableSection(name.section) || !storableKey(name.key) || value == values.constEnd())
            return {false, Missing};
        return {true, *value};
    }

    static QString slot(const Name& name)
    {
        return lookupName(name.section) + QLatin1Char('\r') + lookupName(name.key);
    }

    explicit Reference(const QByteArray& bytes)
    {
        QString text = Cp1252::decode(bytes);
        if (bytes.startsWith("\xEF\xBB\xBF"))
            text.remove(0, 3);
        QString section;
        const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
        for (const QString& line : text.split(lineEnd)) {
            const QString t = trimBlanks(line);
            if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
                continue;
            if (t.startsWith(QLatin1Char('['))) {
                section = trimBlanks(t.mid(1).section(QLatin1Char(']'), 0, 0));
                continue;
            }
            const qsizetype eq = t.indexOf(QLatin1Char('='));
            if (eq <= 0)
                continue;
            const Name name{section, trimBlanks(t.left(eq))};
            names.append(name);
            if (!section.isEmpty() && !values.contains(slot(name)))
                values.insert(slot(name), readValue(t.mid(eq + 1)));
        }
    }
};

QString fuzzDescribe(const Reading& reading)
{
    return reading.exists ? ::fuzzDescribe(reading.value) : QStringLiteral("(none)");
}

Reading read(const TIniFile& ini, const Name& name)
{
    return {ini.ValueExists(name.section, name.key),
            ini.ReadString(name.section, name.key, Missing)};
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString consumeText(FuzzedDataProvider& in, size_t maxLength)
{
    const std::string bytes = in.ConsumeRandomLengthString(maxLength);
    // Mostly as the file holds text; now and then any text, for names and values it cannot hold.
    if (in.ConsumeIntegralInRange(0, 7) == 0)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return Cp1252::decode(bytes.data(), qsizetype(bytes.size()));
}

Name consumeName(FuzzedDataProvider& in, const QList<Name>& known)
{
    if (!known.isEmpty() && in.ConsumeBool()) {
        Name name = known[in.ConsumeIntegralInRange<qsizetype>(0, known.size() - 1)];
        // Another ASCII case of a known name is the same name.
        if (in.ConsumeBool())
            name.key = AsciiCase::toUpper(name.key);
        return name;
    }
    const QString section = consumeText(in, 12);
    return {section, consumeText(in, 12)};
}

void checkOthersKept(const TIniFile& ini, const QList<Name>& names, const QList<Reading>& before,
                     const Name& changed)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!sameName(names[i], changed))
            FUZZ_CHECK_EQUAL(read(ini, names[i]), before[i]);
    }
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
    const QString path = folder.filePath(QStringLiteral("confs.ini"));
    const QString copyPath = folder.filePath(QStringLiteral("copy.ini"));

    FuzzedDataProvider in(data, size);
    const std::string initial = in.ConsumeRandomLengthString(4096);
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(initial.data(), qint64(initial.size())) == qint64(initial.size()));
    }

    TIniFile ini(path);
    const Reference before(QByteArray::fromStdString(initial));
    QList<Name> names = before.names;
    QList<Reading> readings;
    for (const Name& name : names) {
        readings.append(before.reading(name));
        FUZZ_CHECK_EQUAL(read(ini, name), readings.last());
    }

    for (int op = 0; op < MaxOperations && in.remaining_bytes() > 0; ++op) {
        const Name name = consumeName(in, names);
        const bool storable = storableSection(name.section) && storableKey(name.key);
        const QByteArray bytesBefore = contents(path);
        const int kind = in.ConsumeIntegralInRange(0, 3);
        Reading expected;
        try {
            if (kind == 0) {
                const int number = in.ConsumeIntegral<int>();
                ini.WriteInteger(name.section, name.key, number);
                FUZZ_CHECK_EQUAL(ini.ReadInteger(name.section, name.key, ~number), number);
                expected = {true, QString::number(number)};
            } else if (kind == 1) {
                ini.DeleteKey(name.section, name.key);
                expected = {false, Missing};
            } else {
                const QString value = consumeText(in, kind == 2 ? 40 : 3000);
                ini.WriteString(name.section, name.key, value);
                expected = {true, readBack(value)};
            }
            FUZZ_CHECK(storable || kind == 1);
        } catch (const SettingsWriteError&) {
            FUZZ_CHECK(!storable);
            FUZZ_CHECK(contents(path) == bytesBefore);
            continue;
        }
        if (!storable) {
            // A delete of a name the file cannot hold finds nothing to delete.
            FUZZ_CHECK(contents(path) == bytesBefore);
            continue;
        }
        FUZZ_CHECK_EQUAL(read(ini, name), expected);
        checkOthersKept(ini, names, readings, name);
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (sameName(names[i], name))
                readings[i] = expected;
        }
        names.append(name);
        readings.append(expected);
    }

    // The file as written holds what the writer reads, for the rules and for another process.
    const Reference after(contents(path));
    QFile::remove(copyPath);
    FUZZ_CHECK(QFile::copy(path, copyPath));
    const TIniFile fresh(copyPath);
    for (qsizetype i = 0; i < names.size(); ++i) {
        FUZZ_CHECK_EQUAL(after.reading(names[i]), readings[i]);
        FUZZ_CHECK_EQUAL(read(fresh, names[i]), readings[i]);
    }
    return 0;
}
