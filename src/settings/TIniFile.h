#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <stdexcept>

// A write the system refused; what() is "Unable to write to <path>". The window shows it in an
// error box and the handler that wrote ends there.
class SettingsWriteError : public std::runtime_error
{
public:
    explicit SettingsWriteError(const QString& path);
    QString path() const { return m_path; }

private:
    QString m_path;
};

// The settings file (confs.ini): a Windows INI file in Windows-1252 with CR LF line ends. Every
// read sees the file as it is now and, outside a batch, every write is in the file before it
// returns, so several objects on one path see each other's writes at once. A write replaces the
// whole file by renaming a new one over it, so the file is never found half written. Opening reads
// nothing and cannot fail. A file the object creates is readable and writable by its owner only
// (it holds the password); an existing file keeps its mode.
//
// Section and key names match ignoring the case of the ASCII letters only. A value is the text
// after the first "=", trimmed of blanks, without one pair of enclosing quotes, cut at 2047
// characters. When a hand-edited file repeats a section or a key, the first key line wins; a
// write replaces that line, a delete removes every line of the key. A new key goes right after
// the last key line of its (first) section, so blank lines and comments that close the section
// stay below it; a new section goes at the end of the file. Lines not written keep their bytes.
//
// Writes of other processes on the same file (a second copy of the program) are kept: each write
// or delete re-reads the file under a lock file beside it ("confs.ini.lock"), waiting up to two
// seconds for another writer before it throws. A write that changes nothing takes no lock.
//
// Many keys, one write: while a Batch is open on an object, its writes and deletes are kept in
// memory and written together, once, when the batch ends (see Batch).
//
// A file that exists but cannot be read reads as empty; of a file over 64 MiB the first 64 MiB
// are read. Every write or delete on either throws instead of replacing it, as does a write that
// would take the file past 64 MiB, or one on a file whose mode lacks the owner's write bit.
//
// Names that cannot be stored without breaking the file (empty, a section with "]", a key with
// "=" or starting with "[" or ";", any CR or LF, a character outside Windows-1252) are never
// found, and writing one throws SettingsWriteError. CR and LF inside a value are written as
// blanks, so a value can never add lines to the file.
class TIniFile
{
public:
    class Batch;

    explicit TIniFile(const QString& path);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    QString path() const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    // Each throws SettingsWriteError when the file cannot be written; earlier writes stay. In a
    // batch only a name that cannot be stored throws here; the file is written by the batch.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // True when the section holds the key, also with an empty value.
    bool ValueExists(const QString& section, const QString& key) const;
    // The names of the section's keys, each once as first spelled, in the order of the file;
    // keys a batch of this object added follow.
    QStringList ReadSection(const QString& section) const;
    // Removes the key's line; a missing key is left alone. Throws as the writes do.
    void DeleteKey(const QString& section, const QString& key);

    // A stored value as an integer: decimal with an optional sign, or hexadecimal after "$",
    // "x", "X", "0x" or "0X" (eight hex digits are a 32-bit pattern: "$FFFFFFFF" is -1).
    // Nothing for empty text, anything else after the digits or a number outside 32 bits.
    static std::optional<int> parseInteger(const QString& value);

private:
    struct Change;
    struct Shared;
    struct Pending;

    std::optional<QString> lookup(const QString& section, const QString& key) const;
    void change(Change change);

    QString m_path;
    std::shared_ptr<Shared> m_shared;   // one parsed copy per path, shared within the process
    std::unique_ptr<Pending> m_pending; // the open batch's changes, while one is open
};

// Many keys, one write. While a batch is open on a TIniFile, that object's writes and deletes
// change nothing on disk: they are kept in order in memory, and its reads (ReadString,
// ValueExists, ReadSection...) see them at once. The file is written once, atomically, when the
// batch is committed: under the lock file the file is read afresh and the changes are made again
// on what it holds now, so whatever another process or another TIniFile object wrote in the
// meantime stays, except the keys the batch itself changed, which take the batch's values. A
// batch that leaves the file as it is writes nothing and takes no lock.
//
// commit() writes and throws SettingsWriteError ("Unable to write to <path>") when the file
// cannot be written; nothing of the batch is stored then, and the batch is over either way. The
// window commits explicitly, so the error reaches its error box. A batch that ends without
// commit() commits in its destructor, which cannot throw: a failure there is only logged
// (qWarning). A batch left by an exception (the action stopped half way) is dropped instead, so
// that half of a renumbered list is never stored.
//
// A batch opened while another is open on the same object joins it: its changes are written by
// the outermost batch, all together; its commit() writes nothing and cannot fail, and when it is
// left by an exception only its own changes are dropped. Batches must end innermost first, and
// before their TIniFile. Other TIniFile objects, also on the same path in this process, do not
// see an open batch: they read and write the file as it is, and can have batches of their own.
class TIniFile::Batch final
{
public:
    explicit Batch(TIniFile& ini);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    void commit();

private:
    void drop();

    TIniFile& m_ini;
    int m_level = 0;
    qsizetype m_mark = 0;
    int m_exceptions = 0;
    bool m_ended = false;
};
