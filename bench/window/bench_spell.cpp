// Spell checking of the input line, in the real window offscreen. A 2,000-character line is put
// into the input line again and again, as typing a key into it does, with checking off (the
// baseline: what the edit itself costs) and on. Checked again, the line's words are remembered
// (typing); a line of words never seen before costs the dictionary every word (a paste).
// Printed per line, each beside the baseline.

#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "chat/SpellDictionary.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/SpellCheck.h"
#include "window/TfrmMain.h"

namespace {

constexpr int LineLength = 2000;
constexpr int Lines = 200;

// Portuguese text with a misspelled word now and then, cut to the length.
QString prose()
{
    const QString sentence = QStringLiteral(
        "Você não sabe quanta ação houve ontem no servidor, voçe viu? A partida durou três horas "
        "e ninguém quis sair antes do fim; depois fomos conversar no canal principal. ");
    QString line;
    while (line.size() < LineLength)
        line += sentence;
    return line.left(LineLength);
}

// Words of random letters, none of them seen before.
QString unseenWords(QRandomGenerator& random)
{
    QString line;
    while (line.size() < LineLength) {
        const int length = 3 + int(random.bounded(7));
        for (int i = 0; i < length; ++i)
            line += QChar(u'a' + random.bounded(26));
        line += QLatin1Char(' ');
    }
    return line.left(LineLength);
}

// Best nanoseconds per line over a few rounds; lines alternate so that each one is a change.
double nsPerLine(QLineEdit* edit, const QStringList& lines)
{
    double best = 1e300;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (const QString& line : lines)
            edit->setText(line);
        best = std::min(best, double(timer.nsecsElapsed()) / double(lines.size()));
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    TfrmMain window(dir.path());
    window.show();
    auto* spell = window.feature<SpellCheck>();
    SpellDictionary* dictionary = SpellDictionary::instance();
    if (!dictionary->isLoaded()) {
        QEventLoop loading;
        QObject::connect(dictionary, &SpellDictionary::loaded, &loading, &QEventLoop::quit);
        loading.exec();
    }
    if (!spell->active()) {
        std::printf("no dictionary: nothing to measure\n");
        return 1;
    }
    auto* edit = window.findChild<QLineEdit*>(QStringLiteral("txtMsg"));
    TIniFile ini(dir.filePath(QStringLiteral("confs.ini")));

    const QString text = prose();
    QStringList typing;
    for (int i = 0; i < Lines; ++i)
        typing << (i % 2 ? text : text.left(LineLength - 1));
    QRandomGenerator random(7);
    QStringList pasted;
    for (int i = 0; i < Lines; ++i)
        pasted << unseenWords(random);

    Settings::write(ini, Keys::Geral::Ortografia, false);
    spell->applyOptions();
    const double off = nsPerLine(edit, typing);
    Settings::write(ini, Keys::Geral::Ortografia, true);
    spell->applyOptions();
    const double on = nsPerLine(edit, typing);
    const double marked = double(spell->marked(edit).size());
    QElapsedTimer timer;
    timer.start();
    for (const QString& line : pasted)
        edit->setText(line);
    const double unseen = double(timer.nsecsElapsed()) / double(pasted.size());

    std::printf("2,000-character line, setText, checking off: %9.1f us (1.0)\n", off / 1000);
    std::printf("same, checking on (%2.0f words marked):       %9.1f us (%.1f x)\n", marked,
                on / 1000, on / off);
    std::printf("line of unseen words, checking on:           %9.1f us (%.1f x)\n", unseen / 1000,
                unseen / off);
    std::printf("one frame at 60 Hz:                          %9.1f us (%.1f x)\n", 1e9 / 60 / 1000,
                1e9 / 60 / off);
    return 0;
}
