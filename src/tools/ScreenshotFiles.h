#pragma once

#include <QString>

// The names screenshots are saved under.
namespace ScreenshotFiles {

// The entries of folder matching pattern that are not folders. On Linux the pattern matches letter
// case exactly, as the desktop's own file search and shell do there ("A.JPG" is not "*.jpg");
// on Windows it ignores case, as the system's search does.
int contaArquivos(const QString& folder, const QString& pattern);
// The next automatic name: folder as stored (normally ending in a separator), then one more than
// the count of "*.jpg" files in it, then ".jpg". Once earlier pictures were deleted that number
// may be taken; the next free one is used then, so no picture is ever replaced.
QString numberedName(const QString& folder);
// name, with ".jpg" appended unless it ends in exactly ".jpg" (letter case counts).
QString withJpgExtension(const QString& name);

} // namespace ScreenshotFiles
