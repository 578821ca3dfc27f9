#pragma once

#include <QString>

// Where the program keeps confs.ini and the files beside it (bg.bmp, chat.txt, game.lnk).
class SettingsLocation
{
public:
    // The executable's folder whenever a confs.ini stands in it, writable or not, and whenever
    // that folder takes a new file; otherwise (an installed program) the per-user folder, created
    // when missing. Both are given without or with a trailing "/"; the result ends in "/".
    static QString folderFor(const QString& executableFolder, const QString& perUserFolder);

    // Whether a new file can be made in the folder, found by making one: on Windows the
    // permission bits do not tell.
    static bool takesNewFiles(const QString& folder);
};
