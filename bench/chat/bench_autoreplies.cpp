// The automatic replies read their entries from confs.ini at every channel line. A burst of
// 1 000 channel lines against 100 stored phrases (none of them in the lines, so every entry is
// looked at) is timed per line beside the same burst with no phrases stored. A third burst has
// the file changed on disk before every line, so each line also parses the file anew.

#include <algorithm>
#include <cstdio>
#include <functional>

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "chat/AutoReplies.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"

namespace {

constexpr int BurstLines = 1000;
constexpr int StoredPhrases = 100;

QStringList burst()
{
    QStringList lines;
    for (int i = 0; i < BurstLines; ++i)
        lines
            << QStringLiteral("alguem vende um anel raro no jogo %1? passo na loja depois").arg(i);
    return lines;
}

// A settings file as a busy operator keeps it: the other sections, and n phrase entries with
// three replies each.
void writeSettings(const QString& path, int phrases)
{
    QByteArray text = "[Geral]\r\nLogin=operador\r\nServidor=localhost\r\n[Aparencia]\r\n"
                      "CorFundo=0\r\nHorarioMsg=1\r\n[Respostas]\r\nRespFrase=1\r\n";
    text += "nRF=" + QByteArray::number(phrases) + "\r\n";
    for (int n = 1; n <= phrases; ++n) {
        const QByteArray number = QByteArray::number(n);
        text += "F" + number + "=frase numero " + number + "\r\n";
        text += "nRF" + number + "=3\r\n";
        for (int k = 1; k <= 3; ++k)
            text +=
                "RF" + number + QByteArray::number(k) + "=resposta " + number + " para <user>\r\n";
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
}

// Best time per line, in nanoseconds, over several bursts. between runs before each line,
// outside the time taken.
double nsPerLine(const TIniFile& ini, const std::function<void(int)>& between = {})
{
    const AutoReplies replies(ini);
    const QStringList lines = burst();
    const AutoReplies::RandomUser randomUser = [] { return QStringLiteral("alguem"); };
    double best = 1e300;
    int answered = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        QElapsedTimer timer;
        qint64 elapsed = 0;
        for (int i = 0; i < lines.size(); ++i) {
            if (between)
                between(attempt * BurstLines + i);
            timer.start();
            answered += replies.phraseReply(QStringLiteral("Bob"), lines[i], randomUser) ? 1 : 0;
            elapsed += timer.nsecsElapsed();
        }
        best = std::min(best, double(elapsed) / BurstLines);
    }
    if (answered != 0)
        std::printf("unexpected: %d lines answered\n", answered);
    return best;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("vazio.ini"));
    const QString full = dir.filePath(QStringLiteral("confs.ini"));
    writeSettings(empty, 0);
    writeSettings(full, StoredPhrases);

    TIniFile emptyIni(empty);
    TIniFile fullIni(full);
    const double none = nsPerLine(emptyIni);
    const double stored = nsPerLine(fullIni);
    // Another settings object (the options dialog) changes a key before every line.
    TIniFile writer(full);
    const double changed = nsPerLine(fullIni, [&writer](int i) {
        Settings::write(writer, Keys::Timers::STimer(1), QString::number(i));
    });

    std::printf("channel line, no phrases stored:              %9.0f ns (1.0)\n", none);
    std::printf("channel line, %d phrases:                    %9.0f ns (%.1f x)\n", StoredPhrases,
                stored, stored / none);
    std::printf("channel line, %d phrases, file changed first: %9.0f ns (%.1f x)\n", StoredPhrases,
                changed, changed / none);
    return 0;
}
