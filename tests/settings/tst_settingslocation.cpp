#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Unprivileged.h"

namespace {

constexpr QFileDevice::Permissions Everyone = QFileDevice::Permissions::fromInt(0x7777);
constexpr QFileDevice::Permissions ReadOnly = QFileDevice::Permissions::fromInt(0x5555);

enum class Chosen
{
    Beside,
    PerUser
};

} // namespace

Q_DECLARE_METATYPE(Chosen)

class TestSettingsLocation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void choosesTheFolder_data()
    {
        QTest::addColumn<bool>("confsBeside");
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<Chosen>("chosen");
        // A stored confs.ini is never hidden behind defaults, even where it cannot be written.
        // clang-format off
        QTest::newRow("confs.ini in a writable folder")  << true  << true  << Chosen::Beside;
        QTest::newRow("confs.ini in a read-only folder") << true  << false << Chosen::Beside;
        QTest::newRow("no confs.ini, writable folder")   << false << true  << Chosen::Beside;
        QTest::newRow("no confs.ini, read-only folder")  << false << false << Chosen::PerUser;
        // clang-format on
    }
    void choosesTheFolder()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs fork and an unprivileged user");
#else
        QFETCH(bool, confsBeside);
        QFETCH(bool, folderWritable);
        QFETCH(Chosen, chosen);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QFile::setPermissions(dir.path(), Everyone));
        const QString exe = dir.filePath(QStringLiteral("bin"));
        const QString perUser = dir.filePath(QStringLiteral("config/tulmo-chat"));
        QVERIFY(QDir().mkdir(exe));
        if (confsBeside) {
            QFile confs(exe + QStringLiteral("/confs.ini"));
            QVERIFY(confs.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::setPermissions(exe, folderWritable ? Everyone : ReadOnly));
        const QStringList before = QDir(exe).entryList(QDir::Files | QDir::Hidden);

        // The superuser may create files in any folder: the choice is made as someone else.
        const int outcome = Unprivileged::run([&] {
            const QString folder = SettingsLocation::folderFor(exe, perUser);
            if (folder == exe + QLatin1Char('/'))
                return int(Chosen::Beside);
            return folder == perUser + QLatin1Char('/') ? int(Chosen::PerUser) : 2;
        });
        QFile::setPermissions(exe, Everyone);
        if (outcome == Unprivileged::CannotDropPrivileges)
            QSKIP("this superuser may not take another user's identity");
        QCOMPARE(outcome, int(chosen));
        QCOMPARE(QFileInfo(perUser).isDir(), chosen == Chosen::PerUser);
        QCOMPARE(QDir(exe).entryList(QDir::Files | QDir::Hidden), before);
#endif
    }
};

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
