#include "IniFolder.h"

#include <QFile>
#include <QTest>

void IniFolder::put(const QByteArray& bytes) const
{
    if (bytes.isEmpty())
        return;
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray IniFolder::contents() const
{
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray IniFolder::lines(const QStringList& ini)
{
    return ini.isEmpty() ? QByteArray() : (ini.join(QStringLiteral("\r\n")) + "\r\n").toLatin1();
}
