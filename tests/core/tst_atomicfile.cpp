#include "core/AtomicFile.h"

#include <chrono>
#include <thread>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Unprivileged.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr QFileDevice::Permissions ReadWriteOwner = QFileDevice::ReadOwner |
                                                    QFileDevice::WriteOwner |
                                                    QFileDevice::ReadUser | QFileDevice::WriteUser;

// The file's own mode bits, without the "User" bits that say what this process may do.
constexpr QFileDevice::Permissions OwnerGroupOther = QFileDevice::Permissions::fromInt(0x7077);

} // namespace

Q_DECLARE_METATYPE(AtomicFile::InPlace)
Q_DECLARE_METATYPE(AtomicFile::NewFile)

class TestAtomicFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir* m_dir = nullptr;

    QString target() const { return m_dir->filePath(QStringLiteral("chat.txt")); }

    void put(const QString& path, const QByteArray& bytes) const
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList entries() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        QFile::setPermissions(m_dir->path(), ReadWriteOwner | QFileDevice::ExeOwner);
        delete m_dir;
        m_dir = nullptr;
    }

    void replacesTheFileWhole_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        // clang-format off
        QTest::newRow("new file")       << QByteArray()                 << QByteArray("novo\r\n");
        QTest::newRow("shorter file")   << QByteArray("antigo\r\n")     << QByteArray("outro e mais longo\r\n");
        QTest::newRow("longer file")    << QByteArray("antigo longo\r\n") << QByteArray("n\r\n");
        QTest::newRow("emptied")        << QByteArray("antigo\r\n")     << QByteArray();
        // clang-format on
    }
    void replacesTheFileWhole()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            put(target(), before);
        // A reader that opened the file before the save still reads the old file whole. Windows
        // replaces no file another handle holds open: there the settings file's readers and
        // writers take turns through a lock.
        QFile reader(target());
#ifdef Q_OS_WIN
        const bool reading = false;
#else
        const bool reading = reader.open(QIODevice::ReadOnly);
#endif
        QVERIFY(AtomicFile::save(target(), after));
        QCOMPARE(contents(target()), after);
        if (reading)
            QCOMPARE(reader.readAll(), before);
        QCOMPARE(entries(), QStringList{QStringLiteral("chat.txt")});
    }

    // Windows replaces no file that another handle holds open: a holder that lets go within a
    // moment (a virus scanner) only delays the save; one that keeps it leaves the old file whole.
    void openFileOnWindows()
    {
#ifndef Q_OS_WIN
        QSKIP("only Windows refuses to replace a file held open");
#else
        put(target(), "antigo\r\n");
        QFile holder(target());
        QVERIFY(holder.open(QIODevice::ReadOnly));
        QVERIFY(!AtomicFile::save(target(), "novo\r\n"));
        QCOMPARE(entries(), QStringList{QStringLiteral("chat.txt")});

        std::thread letGo([&holder] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            holder.close();
        });
        const bool saved = AtomicFile::save(target(), "novo\r\n");
        letGo.join();
        QVERIFY(saved);
        QCOMPARE(contents(target()), QByteArray("novo\r\n"));
#endif
    }

    void abandonedSaveLeavesNoTrace()
    {
        put(target(), "antigo\r\n");
        {
            AtomicFile file(target());
            QVERIFY(file.open());
            QVERIFY(file.device().write("novo") > 0);
        }
        QCOMPARE(contents(target()), QByteArray("antigo\r\n"));
        QCOMPARE(entries(), QStringList{QStringLiteral("chat.txt")});
    }

    void refusesWhatItMayNotReplace_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("readOnly");
        // A read-only file is refused by its mode, so also for the superuser.
        // clang-format off
        QTest::newRow("file without the owner's write bit") << QStringLiteral("chat.txt")         << true;
        QTest::newRow("a folder of that name")              << QStringLiteral("pasta")            << false;
        QTest::newRow("missing folder")                     << QStringLiteral("falta/chat.txt")   << false;
        // clang-format on
    }
    void refusesWhatItMayNotReplace()
    {
        QFETCH(QString, name);
        QFETCH(bool, readOnly);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("pasta")));
        put(target(), "antigo\r\n");
        const QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::ReadGroup;
        if (readOnly)
            QVERIFY(QFile::setPermissions(target(), mode));
        const QStringList before = entries();

        QVERIFY(!AtomicFile::save(m_dir->filePath(name), "novo"));
        QCOMPARE(contents(target()), QByteArray("antigo\r\n"));
        QCOMPARE(entries(), before);
        if (readOnly) {
#ifdef Q_OS_WIN
            // Windows keeps a read-only flag, not a mode.
            QVERIFY(!(QFile::permissions(target()) & QFileDevice::WriteOwner));
#else
            QCOMPARE(QFile::permissions(target()) & OwnerGroupOther, mode);
#endif
        }
    }

    void keepsTheMode_data()
    {
        QTest::addColumn<int>("mode");
        // clang-format off
        QTest::newRow("owner only")         << 0600;
        QTest::newRow("group may read")     << 0640;
        QTest::newRow("all may write")      << 0666;
        // clang-format on
    }
    void keepsTheMode()
    {
#ifndef Q_OS_UNIX
        QSKIP("modes are a Unix matter");
#else
        QFETCH(int, mode);
        put(target(), "antigo\r\n");
        const QByteArray path = QFile::encodeName(target());
        QCOMPARE(::chmod(path.constData(), mode_t(mode)), 0);
        QVERIFY(AtomicFile::save(target(), "novo"));
        struct stat st;
        QCOMPARE(::stat(path.constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
#endif
    }

    void newFileMode_data()
    {
        QTest::addColumn<AtomicFile::NewFile>("newFile");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("mode");
        // clang-format off
        QTest::newRow("usual, usual mask")          << AtomicFile::NewFile::UsualMode << 022 << 0644;
        QTest::newRow("usual, no mask")             << AtomicFile::NewFile::UsualMode << 0 << 0666;
        QTest::newRow("usual, strict mask")         << AtomicFile::NewFile::UsualMode << 077 << 0600;
        QTest::newRow("owner only, no mask")        << AtomicFile::NewFile::OwnerOnly << 0 << 0600;
        QTest::newRow("owner only, usual mask")     << AtomicFile::NewFile::OwnerOnly << 022 << 0600;
        // clang-format on
    }
    // A new file has its final mode from the moment it exists, before a byte is written: nobody
    // may open a private file early and read what it receives later.
    void newFileMode()
    {
#ifndef Q_OS_UNIX
        QSKIP("modes are a Unix matter");
#else
        QFETCH(AtomicFile::NewFile, newFile);
        QFETCH(int, mask);
        QFETCH(int, mode);
        const mode_t old = ::umask(mode_t(mask));
        AtomicFile file(target(), AtomicFile::InPlace::Never, newFile);
        const bool opened = file.open();
        ::umask(old);
        QVERIFY(opened);
        const QStringList made = entries();
        QCOMPARE(made.size(), 1);
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(m_dir->filePath(made.first())).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
        QCOMPARE(file.device().write("segredo"), qint64(7));
        QVERIFY(file.commit());
        QCOMPARE(::stat(QFile::encodeName(target()).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
#endif
    }

    void superuserKeepsOwnerAndGroup()
    {
#ifndef Q_OS_UNIX
        QSKIP("owners are a Unix matter");
#else
        if (::geteuid() != 0)
            QSKIP("only the superuser may give a file away");
        put(target(), "antigo\r\n");
        const QByteArray path = QFile::encodeName(target());
        QCOMPARE(::chown(path.constData(), Unprivileged::NobodyId, Unprivileged::NobodyId), 0);
        QVERIFY(AtomicFile::save(target(), "novo"));
        struct stat st;
        QCOMPARE(::stat(path.constData(), &st), 0);
        QCOMPARE(unsigned(st.st_uid), Unprivileged::NobodyId);
        QCOMPARE(unsigned(st.st_gid), Unprivileged::NobodyId);
        QCOMPARE(contents(target()), QByteArray("novo"));
#endif
    }

    void followsASymbolicLink()
    {
#ifndef Q_OS_UNIX
        QSKIP("symbolic links need privileges on Windows");
#else
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("real")));
        const QString real = m_dir->filePath(QStringLiteral("real/chat.txt"));
        put(real, "antigo\r\n");
        QVERIFY(QFile::link(real, target()));
        QVERIFY(AtomicFile::save(target(), "novo"));
        QVERIFY(QFileInfo(target()).isSymLink());
        QCOMPARE(contents(real), QByteArray("novo"));
        QCOMPARE(QDir(m_dir->filePath(QStringLiteral("real"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("chat.txt")});
#endif
    }

    void writesInPlaceOnlyWhenAskedAndTheFolderRefuses_data()
    {
        QTest::addColumn<AtomicFile::InPlace>("inPlace");
        QTest::addColumn<QByteArray>("after");
        // clang-format off
        QTest::newRow("never")                  << AtomicFile::InPlace::Never             << QByteArray("antigo e mais longo\r\n");
        QTest::newRow("when the folder refuses") << AtomicFile::InPlace::WhenFolderRefuses << QByteArray("novo\r\n");
        // clang-format on
    }
    void writesInPlaceOnlyWhenAskedAndTheFolderRefuses()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs fork and an unprivileged user");
#else
        QFETCH(AtomicFile::InPlace, inPlace);
        QFETCH(QByteArray, after);
        put(target(), "antigo e mais longo\r\n");
        QVERIFY(QFile::setPermissions(target(), QFileDevice::Permissions::fromInt(0x6666)));
        QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions::fromInt(0x5555)));
        const QString path = target();
        const int outcome = Unprivileged::run([&] {
            AtomicFile file(path, inPlace);
            const bool saved = file.open() && file.device().write("novo\r\n") == 6 && file.commit();
            return saved == (inPlace == AtomicFile::InPlace::WhenFolderRefuses) ? 0 : 1;
        });
        if (outcome == Unprivileged::CannotDropPrivileges)
            QSKIP("this superuser may not take another user's identity");
        QCOMPARE(outcome, 0);
        QCOMPARE(contents(target()), after);
        QCOMPARE(entries(), QStringList{QStringLiteral("chat.txt")});
#endif
    }

    void removesOnlyLeftoversOfItsFile()
    {
        const QStringList leftovers = {QStringLiteral("confs.ini.4242-7.tmp"),
                                       QStringLiteral("confs.ini.1-1.tmp")};
        const QStringList others = {
            QStringLiteral("confs.ini"),         QStringLiteral("confs.ini.tmp"),
            QStringLiteral("confs.ini.1-x.tmp"), QStringLiteral("confs.ini.1-1.tmp.bak"),
            QStringLiteral("outro.ini.1-1.tmp"), QStringLiteral("xconfs.ini.1-1.tmp")};
        for (const QString& name : leftovers + others)
            put(m_dir->filePath(name), "x");
        AtomicFile::removeLeftovers(m_dir->filePath(QStringLiteral("confs.ini")));
        QStringList expected = others;
        expected.sort();
        QCOMPARE(entries(), expected);
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
