// A second copy of the program for the tests of concurrent writers: after a line arrives on its
// standard input it writes the keys <prefix>1..<prefix><count> of section Sync into the settings
// file, each holding its number. Exit code 0 when every write was stored, 1 when one was refused.
#include <cstdio>

#include <QCoreApplication>
#include <QStringList>

#include "settings/TIniFile.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    const QString prefix = args[2];
    const int count = args[3].toInt();
    char go[8];
    if (!std::fgets(go, sizeof go, stdin))
        return 2;
    TIniFile ini(args[1]);
    try {
        for (int i = 1; i <= count; ++i)
            ini.WriteInteger(QStringLiteral("Sync"), prefix + QString::number(i), i);
    } catch (const SettingsWriteError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
