#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Unprivileged.h"
#include "settings/TIniFile.h"

namespace {

constexpr QFileDevice::Permissions Everyone = QFileDevice::Permissions::fromInt(0x7777);
constexpr QFileDevice::Permissions ReadOnly = QFileDevice::Permissions::fromInt(0x5555);

enum class Chosen
{
    Beside,
    PerUser
};

// What stands around the executable's folder "prefix/bin".
enum class Layout
{
    Installed,    // prefix/share/tulmo-chat
    NoShare,      // nothing beside bin: a copy unpacked into a folder of its own
    ShareIsAFile, // prefix/share/tulmo-chat is not a folder
};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

Q_DECLARE_METATYPE(Chosen)
Q_DECLARE_METATYPE(Layout)

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

    // The test's own identity may write the bin folder, as the superuser may write /usr/bin: an
    // installed program must still keep its settings in the per-user folder.
    void installedProgramUsesThePerUserFolder_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QByteArray>("beside");
        QTest::addColumn<QByteArray>("perUser");
        QTest::addColumn<Chosen>("chosen");
        QTest::addColumn<QByteArray>("perUserAfter");
        const QByteArray old("[Geral]\r\nLogin=ana\r\nSenha=s\r\n");
        const QByteArray mine("[Geral]\r\nLogin=bia\r\n");
        const QByteArray none;
        // clang-format off
        QTest::newRow("installed, no settings")          << Layout::Installed    << none << none << Chosen::PerUser << none;
        QTest::newRow("installed, confs.ini beside")     << Layout::Installed    << old  << none << Chosen::PerUser << old;
        QTest::newRow("installed, both: never replaced") << Layout::Installed    << old  << mine << Chosen::PerUser << mine;
        QTest::newRow("installed, only per-user")        << Layout::Installed    << none << mine << Chosen::PerUser << mine;
        QTest::newRow("own folder, confs.ini beside")    << Layout::NoShare      << old  << none << Chosen::Beside  << none;
        QTest::newRow("own folder, no settings")         << Layout::NoShare      << none << none << Chosen::Beside  << none;
        QTest::newRow("share/tulmo-chat is a file")      << Layout::ShareIsAFile << none << none << Chosen::Beside  << none;
        // clang-format on
    }
    void installedProgramUsesThePerUserFolder()
    {
        QFETCH(Layout, layout);
        QFETCH(QByteArray, beside);
        QFETCH(QByteArray, perUser);
        QFETCH(Chosen, chosen);
        QFETCH(QByteArray, perUserAfter);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString exe = dir.filePath(QStringLiteral("prefix/bin"));
        const QString perUserFolder = dir.filePath(QStringLiteral("home/.config/tulmo-chat"));
        const QString besideIni = exe + QStringLiteral("/confs.ini");
        const QString perUserIni = perUserFolder + QStringLiteral("/confs.ini");
        QVERIFY(QDir().mkpath(exe));
        if (layout == Layout::Installed)
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("prefix/share/tulmo-chat"))));
        if (layout == Layout::ShareIsAFile) {
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("prefix/share"))));
            QVERIFY(put(dir.filePath(QStringLiteral("prefix/share/tulmo-chat")), "x"));
        }
        if (!beside.isEmpty())
            QVERIFY(put(besideIni, beside));
        if (!perUser.isEmpty()) {
            QVERIFY(QDir().mkpath(perUserFolder));
            QVERIFY(put(perUserIni, perUser));
        }
        const QStringList besideBefore = QDir(exe).entryList(QDir::Files | QDir::Hidden);

        const QString folder = SettingsLocation::folderFor(exe, perUserFolder);

        QCOMPARE(folder, (chosen == Chosen::Beside ? exe : perUserFolder) + QLatin1Char('/'));
        QCOMPARE(SettingsLocation::isInstalled(exe), layout == Layout::Installed);
        QCOMPARE(contents(besideIni), beside);
        QCOMPARE(QDir(exe).entryList(QDir::Files | QDir::Hidden), besideBefore);
        QCOMPARE(QFileInfo(perUserFolder).isDir(), chosen == Chosen::PerUser);
        if (chosen == Chosen::Beside)
            return;
        QCOMPARE(contents(perUserIni), perUserAfter);
        QCOMPARE(QDir(perUserFolder).entryList(QDir::Files | QDir::Hidden),
                 perUserAfter.isEmpty() ? QStringList() : QStringList{QStringLiteral("confs.ini")});
#ifndef Q_OS_WIN // there the user's own folders keep others out, not modes
        if (perUser.isEmpty()) {
            // What the program made is its owner's alone: the copy holds the password.
            QCOMPARE(QFileInfo(perUserFolder).permissions() & Everyone,
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                         QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
            if (!perUserAfter.isEmpty())
                QCOMPARE(QFileInfo(perUserIni).permissions() & Everyone,
                         QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                             QFileDevice::WriteUser);
        }
#endif

        // The copy is made once: what the user changes in it later stays, whatever stands beside.
        if (!perUserAfter.isEmpty()) {
            TIniFile(perUserIni)
                .WriteString(QStringLiteral("Geral"), QStringLiteral("Login"),
                             QStringLiteral("cris"));
            const QByteArray changed = contents(perUserIni);
            QCOMPARE(SettingsLocation::folderFor(exe, perUserFolder), folder);
            QCOMPARE(contents(perUserIni), changed);
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
