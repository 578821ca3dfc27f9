#pragma once

#include <QString>

// Where the program keeps confs.ini and the files beside it (bg.bmp, chat.txt, game.lnk).
class SettingsLocation
{
public:
    // An installed program (see isInstalled) always uses the per-user folder, also when run by
    // the superuser, who could write beside it: the first time, a confs.ini found beside the
    // program is copied there, unless the per-user folder holds one already. Any other copy uses
    // the executable's folder whenever a confs.ini stands in it, writable or not, and whenever
    // that folder takes a new file; otherwise the per-user folder. The per-user folder is created
    // when missing, readable by its owner only. Both are given without or with a trailing "/";
    // the result ends in "/".
    static QString folderFor(const QString& executableFolder, const QString& perUserFolder);

    // Whether the executable stands as an install lays it out: in a "bin" folder beside a
    // "share/tulmo-chat" folder. A copy run from a folder of its own has no such neighbour.
    static bool isInstalled(const QString& executableFolder);

    // Whether a new file can be made in the folder, found by making one: on Windows the
    // permission bits do not tell.
    static bool takesNewFiles(const QString& folder);
};
