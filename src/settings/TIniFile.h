#pragma once

#include <QString>

#include <memory>
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
// read sees the file as it is now and every write reaches the disk before it returns, so several
// objects on one path see each other's writes at once. Opening reads nothing and cannot fail.
class TIniFile
{
public:
    explicit TIniFile(const QString& path);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    QString path() const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    // Each throws SettingsWriteError when the file cannot be written; earlier writes stay.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // True when the section holds the key, also with an empty value.
    bool ValueExists(const QString& section, const QString& key) const;
    // Removes the key's line; a missing key is left alone.
    void DeleteKey(const QString& section, const QString& key);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared; // one parsed copy per path, shared within the process
};
