// Deleting the first suspect account renumbers every later entry (two keys each). Written in one
// batch the cost should follow the size of the file once, not once per key: figures are printed
// beside the same deletion from a 100-entry list, and beside the deletion made with one write per
// key, all measured in the same run.

#include <algorithm>
#include <cstdio>
#include <functional>

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "settings/NumberedList.h"
#include "settings/TIniFile.h"

namespace {

// A settings file as the program leaves it, with a suspect list of the given size.
QByteArray settingsFile(int entries)
{
    QByteArray bytes("[Geral]\r\nLogin=operador\r\nServidor=chat.example.net\r\n"
                     "[Aparencia]\r\nCorFundo=0\r\nFonteChat=Verdana\r\n"
                     "[Form]\r\nWidth=700\r\nHeight=600\r\n");
    bytes += "[Lista]\r\nnL=" + QByteArray::number(entries) + "\r\n";
    for (int i = 1; i <= entries; ++i) {
        bytes += "Acc" + QByteArray::number(i) + "=Jogador_" + QByteArray::number(i) + "\r\n";
        bytes +=
            "Mot" + QByteArray::number(i) + "=flood no canal " + QByteArray::number(i) + "\r\n";
    }
    bytes += "[Canais]\r\nn=3\r\nc1=Op Tulmo\r\nc2=Diablo II BRA-1\r\n";
    return bytes;
}

// Each key written on its own, as the list was renumbered before batches.
void removeFirstKeyByKey(TIniFile& ini)
{
    const QString section = QStringLiteral("Lista");
    const int n = ini.ReadInteger(section, QStringLiteral("nL"), 0);
    ini.WriteInteger(section, QStringLiteral("nL"), n - 1);
    for (int j = 1; j < n; ++j) {
        for (const char* prefix : {"Acc", "Mot"}) {
            const QString from = QLatin1String(prefix) + QString::number(j + 1);
            const QString to = QLatin1String(prefix) + QString::number(j);
            ini.WriteString(section, to, ini.ReadString(section, from, QString()));
        }
    }
    ini.DeleteKey(section, QStringLiteral("Acc") + QString::number(n));
    ini.DeleteKey(section, QStringLiteral("Mot") + QString::number(n));
}

// Best time in milliseconds of one deletion; the file is laid down afresh before each, untimed.
double bestMs(int entries, const std::function<void(TIniFile&)>& remove, int minRounds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("confs.ini"));
    const QByteArray bytes = settingsFile(entries);
    double best = 1e300;
    QElapsedTimer total;
    total.start();
    for (int round = 0; round < minRounds || total.elapsed() < 300; ++round) {
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(bytes) != bytes.size())
                return -1;
        }
        TIniFile ini(path);
        QElapsedTimer timer;
        timer.start();
        remove(ini);
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
        if (ini.ReadString(QStringLiteral("Lista"), QStringLiteral("Acc1"), QString()) !=
            QStringLiteral("Jogador_2"))
            return -1;
    }
    return best;
}

void batched(TIniFile& ini)
{
    NumberedList::suspectAccounts().remove(ini, 1);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    const double batch100 = bestMs(100, batched, 5);
    const double batch500 = bestMs(500, batched, 5);
    const double batch10k = bestMs(10000, batched, 5);
    const double single100 = bestMs(100, removeFirstKeyByKey, 3);
    const double single500 = bestMs(500, removeFirstKeyByKey, 1);
    if (batch100 < 0 || batch500 < 0 || batch10k < 0 || single100 < 0 || single500 < 0) {
        std::fprintf(stderr, "a deletion went wrong\n");
        return 1;
    }

    std::printf("Deleting the first of N suspect accounts (two keys each), best of several runs\n");
    std::printf("  one batch,     100 entries: %9.3f ms\n", batch100);
    std::printf("  one batch,     500 entries: %9.3f ms\n", batch500);
    std::printf("  one batch,  10 000 entries: %9.3f ms\n", batch10k);
    std::printf("  key by key,    100 entries: %9.3f ms\n", single100);
    std::printf("  key by key,    500 entries: %9.3f ms\n", single500);
    std::printf("Ratios\n");
    std::printf("  batch 10 000 / batch 100:                %8.1f x  (the list is 100 x longer)\n",
                batch10k / batch100);
    std::printf("  per entry, batch 10 000 / batch 100:     %8.2f\n",
                (batch10k / 10000) / (batch100 / 100));
    std::printf("  batch 10 000 / key by key 100:           %8.2f\n", batch10k / single100);
    std::printf("  key by key 100 / batch 100:              %8.1f x\n", single100 / batch100);
    std::printf("  key by key 500 / batch 500:              %8.1f x\n", single500 / batch500);
    return 0;
}
