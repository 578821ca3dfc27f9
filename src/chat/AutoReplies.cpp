#include "chat/AutoReplies.h"

#include <algorithm>

#include "core/AsciiCase.h"
#include "core/SharedRandom.h"
#include "settings/TIniFile.h"

namespace {
// Up to this many entries are looked up one by one; a larger count (a hand-edited file) is
// walked through the keys the file really holds, so a count of two billion cannot freeze the
// window at every line.
constexpr int DirectLookups = 1000;

const QString VersionQuery = QStringLiteral("\\ac");
const QString VersionEcho = QStringLiteral(">> ___ >> usando TulmoChat v1.5!");
const QString VersionEchoOpMode = QStringLiteral(">> ___ >> usando TulmoChat v1.5! - OPMODE ON");
const QStringList StaffAccounts = {QStringLiteral("ADM-RAVOK"), QStringLiteral("ADM-PELTA"),
                                   QStringLiteral("ADM-SUNDO"), QStringLiteral("ADM-FIRLO"),
                                   QStringLiteral("ADM-BIMO"),  QStringLiteral("ADM-TAVEN"),
                                   QStringLiteral("SPY")};

// The entry number of a key spelled prefix + plain decimal ("F12", "f12"), or 0.
int numberOf(const QString& key, QChar prefix)
{
    if (key.size() < 2 || AsciiCase::toUpper(key.left(1)) != QString(prefix) ||
        key[1] == QLatin1Char('0'))
        return 0;
    for (qsizetype i = 1; i < key.size(); ++i) {
        if (key[i] < QLatin1Char('0') || key[i] > QLatin1Char('9'))
            return 0;
    }
    bool ok = false;
    const int n = key.mid(1).toInt(&ok);
    return ok ? n : 0;
}
} // namespace

struct AutoReplies::List
{
    QChar prefix;
    const SettingKey<int>& count;
    SettingKey<QString> (*entry)(int n);
    SettingKey<int> (*replyCount)(int n);
    SettingKey<QString> (*reply)(int n, int k);
};

const AutoReplies::List AutoReplies::PhraseList{QLatin1Char('F'), Keys::Respostas::nRF,
                                                &Keys::Respostas::F, &Keys::Respostas::nRFn,
                                                &Keys::Respostas::RF};
const AutoReplies::List AutoReplies::WhisperList{QLatin1Char('W'), Keys::Respostas::nRW,
                                                 &Keys::Respostas::W, &Keys::Respostas::nRWn,
                                                 &Keys::Respostas::RW};

AutoReplies::AutoReplies(const TIniFile& ini) : m_ini(ini) {}

int AutoReplies::numFrase(const QString& text) const
{
    return match(PhraseList, text);
}

int AutoReplies::numWhisp(const QString& text) const
{
    return match(WhisperList, text);
}

int AutoReplies::match(const List& list, const QString& text) const
{
    const QString lowered = AsciiCase::toLower(text);
    for (int n : entryNumbers(list, Settings::read(m_ini, list.count))) {
        const QString phrase = Settings::read(m_ini, list.entry(n));
        if (!phrase.isEmpty() && lowered.contains(AsciiCase::toLower(phrase)))
            return n;
    }
    return -1;
}

QList<int> AutoReplies::entryNumbers(const List& list, int count) const
{
    QList<int> numbers;
    if (count <= DirectLookups) {
        for (int n = 1; n <= count; ++n)
            numbers.append(n);
        return numbers;
    }
    for (const QString& key : m_ini.ReadSection(list.count.section)) {
        const int n = numberOf(key, list.prefix);
        if (n >= 1 && n <= count)
            numbers.append(n);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

QString AutoReplies::chooseReply(const List& list, int entry) const
{
    // A count of 0 (or less, by hand) still has its one reply.
    const int count = std::max(1, Settings::read(m_ini, list.replyCount(entry)));
    const int k = SharedRandom::below(count) + 1;
    return Settings::read(m_ini, list.reply(entry, k));
}

QString AutoReplies::Replace(const QString& text, const QStringList& patterns,
                             const QStringList& replacements)
{
    QString result = text;
    for (qsizetype i = 0; i < patterns.size(); ++i) {
        if (patterns[i].isEmpty())
            continue;
        QString replacement;
        if (i < replacements.size())
            replacement = replacements[i];
        else if (!replacements.isEmpty())
            replacement = replacements.first();
        result.replace(patterns[i], replacement, Qt::CaseSensitive);
    }
    return result;
}

std::optional<QString> AutoReplies::phraseReply(const QString& speaker, const QString& text,
                                                const RandomUser& randomUser) const
{
    const int entry = numFrase(text);
    if (entry <= 0)
        return std::nullopt;
    QString reply = chooseReply(PhraseList, entry);
    reply = Replace(reply, {QStringLiteral("<user>")}, {speaker});
    reply = Replace(reply, {QStringLiteral("<random>")}, {randomUser()});
    if (reply.isEmpty())
        return std::nullopt;
    return reply;
}

std::optional<QString> AutoReplies::whisperReply(const QString& text) const
{
    const int entry = numWhisp(text);
    if (entry <= 0)
        return std::nullopt;
    const QString reply = chooseReply(WhisperList, entry);
    if (reply.isEmpty())
        return std::nullopt;
    return reply;
}

std::optional<QString> AutoReplies::versionAnswer(const QString& speaker, const QString& text,
                                                  bool opMode)
{
    if (text != VersionQuery || !StaffAccounts.contains(AsciiCase::toUpper(speaker)))
        return std::nullopt;
    return QStringLiteral("/w ") + speaker + QLatin1Char(' ') +
           (opMode ? VersionEchoOpMode : VersionEcho);
}

bool AutoReplies::hidesEcho(const QString& text)
{
    return text == VersionEcho || text == VersionEchoOpMode;
}
