#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary settings folder for tests: confs.ini written from bytes and read back as bytes.
class IniFolder
{
public:
    bool isValid() const { return m_dir.isValid(); }
    QString folder() const { return m_dir.path(); }
    QString path() const { return m_dir.filePath(QStringLiteral("confs.ini")); }
    // Writes confs.ini; no bytes: no file.
    void put(const QByteArray& bytes) const;
    // The bytes of confs.ini, none when it is missing.
    QByteArray contents() const;
    // The lines as a file holds them: each ended by CR LF; no lines: no bytes.
    static QByteArray lines(const QStringList& ini);

private:
    QTemporaryDir m_dir;
};
