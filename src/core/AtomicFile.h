#pragma once

#include <system_error>

#include <QFile>
#include <QString>

class QByteArray;
class QIODevice;

// Replaces a file whole. The bytes go to a new file beside it, named after it with the process id
// and a serial number ("confs.ini.4242-7.tmp"), which is renamed over it once complete: a reader
// finds the old file or the new one, never a part of either. The new file takes the old one's
// mode and, where the process may set them (the superuser), its owner and group. Where there is
// no old file, it gets the mode any new file gets, or the owner's alone when asked.
//
// The temporary file is made for its owner alone and given its final mode before a byte is
// written: nobody else can open it early and read what a private file receives later.
//
// Nothing is forced to the disk (no fsync): that costs milliseconds per file, and the settings
// file is rewritten at every change a user makes outside a batch.
//
// An existing file whose mode lacks the owner's write bit is refused, also for the superuser, as
// Windows refuses a read-only file. A symbolic link is followed: the file it names is replaced.
class AtomicFile final
{
public:
    enum class InPlace
    {
        // Refuse when the folder takes no new file.
        Never,
        // A writable file in a folder that takes no new file is written in place instead
        // (a saved pane in a folder the user may write files in but not create them).
        WhenFolderRefuses
    };

    enum class NewFile
    {
        UsualMode, // what the process's file mask leaves of read and write for all
        OwnerOnly, // a file that holds a secret
    };

    explicit AtomicFile(const QString& path, InPlace inPlace = InPlace::Never,
                        NewFile newFile = NewFile::UsualMode);
    // Removes the temporary file when commit() was not reached.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the file may not be replaced or no temporary file can be made.
    bool open();
    // Where the bytes go, once open() succeeded.
    QIODevice& device();
    // Puts what was written in place of the file; false when any write or the rename failed, and
    // the file is then left as it was (except when written in place).
    bool commit();
    // Why open() or commit() last failed, in the system's words.
    QString errorString() const { return m_error; }

    // open(), write, commit() in one call.
    static bool save(const QString& path, const QByteArray& bytes);

    // Removes the temporary files of this path that a process left behind when it ended in the
    // middle of a save. Only safe while no other process may be saving the same path.
    static void removeLeftovers(const QString& path);

private:
    // Puts the written temporary file in the target's place.
    std::error_code replaceTarget() const;

    QString m_target;
    InPlace m_inPlace;
    NewFile m_newFile;
    QFile m_file;
    bool m_writingInPlace = false;
    bool m_done = false;
    QString m_error;
};
