// A line typed into the input line, cut into words as the client's own commands read it. From
// any text: a line of separators alone has no words and no other line lacks one; a line without a
// double quote is cut at runs of separators (every code up to 32) and nowhere else; and any words
// at all, each written in double quotes with its own quotes doubled, come back as written,
// whatever separators stand between them. The command is the first word's, in any ASCII case.

#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include <QStringList>

#include "FuzzCheck.h"
#include "chat/ClientCommandLine.h"
#include "core/AsciiCase.h"

namespace {

QString consumeText(FuzzedDataProvider& in, size_t maxLength)
{
    const std::string bytes = in.ConsumeRandomLengthString(maxLength);
    QString text;
    // Pairs of bytes as UTF-16 code units now and then, to meet characters beyond Latin-1.
    if (in.ConsumeBool()) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text += QChar(char16_t(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8));
    } else {
        text = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    }
    return text;
}

QString separators(FuzzedDataProvider& in)
{
    QString run;
    const int length = in.ConsumeIntegralInRange(1, 3);
    for (int i = 0; i < length; ++i)
        run += QChar(in.ConsumeIntegralInRange<char16_t>(0, 32));
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);

    const QString line = consumeText(in, 200);
    const QStringList words = ClientCommandLine::separaTokens(line);
    FUZZ_CHECK_EQUAL(qint64(words.isEmpty()), qint64(ClientCommandLine::isBlank(line)));
    if (!line.contains(QLatin1Char('"'))) {
        QStringList pieces{QString()};
        for (const QChar ch : line) {
            if (ch.unicode() > 32)
                pieces.last() += ch;
            else if (!pieces.last().isEmpty())
                pieces << QString();
        }
        if (pieces.last().isEmpty())
            pieces.removeLast();
        FUZZ_CHECK(words == pieces);
    }
    const ClientCommandLine parsed = ClientCommandLine::parse(line);
    const QString first = AsciiCase::toUpper(parsed.words().value(0));
    const bool known = first == QLatin1String("/LOCK") || first == QLatin1String("/ASCROLL") ||
                       first == QLatin1String("/ACSET") || first == QLatin1String("/OPMODE") ||
                       first == QLatin1String("/ACHELP");
    FUZZ_CHECK_EQUAL(qint64(parsed.command() != ClientCommandLine::Command::None), qint64(known));

    // Quoted words of any text come back whole.
    QStringList written;
    QString quoted = in.ConsumeBool() ? separators(in) : QString();
    const int count = in.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < count; ++i) {
        // Between two quoted words a separator is needed: a quote right after a closing one
        // would be a doubled quote.
        if (i > 0)
            quoted += separators(in);
        const QString word = consumeText(in, 20);
        written << word;
        quoted += QLatin1Char('"') +
                  QString(word).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                  QLatin1Char('"');
    }
    if (in.ConsumeBool())
        quoted += separators(in);
    const QStringList read = ClientCommandLine::separaTokens(quoted);
    FUZZ_CHECK_EQUAL(qint64(read.size()), qint64(written.size()));
    for (qsizetype i = 0; i < written.size(); ++i)
        FUZZ_CHECK_EQUAL(read[i], written[i]);
    return 0;
}
