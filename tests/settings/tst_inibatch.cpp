#include "settings/TIniFile.h"

#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// How a batch ends.
enum class End
{
    Commit,
    ScopeExit,
    InnerCommitThenOuter
};

// What writes the file while a batch is open.
enum class Other
{
    SecondObject,
    SecondProcess
};

// Changes as "w|section|key|value" or "d|section|key".
void run(TIniFile& ini, const QStringList& ops)
{
    for (const QString& op : ops) {
        const QStringList f = op.split(QLatin1Char('|'));
        if (f[0] == QStringLiteral("w"))
            ini.WriteString(f[1], f[2], f[3]);
        else
            ini.DeleteKey(f[1], f[2]);
    }
}

quint64 inodeOf(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return quint64(st.st_ino);
#else
    return quint64(QFileInfo(path).lastModified().toMSecsSinceEpoch());
#endif
}

} // namespace

Q_DECLARE_METATYPE(End)
Q_DECLARE_METATYPE(Other)

class TestIniBatch : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir* m_dir = nullptr;

    QString iniPath() const { return m_dir->filePath(QStringLiteral("confs.ini")); }

    void put(const QByteArray& bytes) const
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QByteArray contents(const QString& path = QString()) const
    {
        QFile file(path.isEmpty() ? iniPath() : path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    // The batch edits its lines in memory: what it writes is what the same changes made one by
    // one write, except where a change is undone within the batch.
    void writesWhatSingleWritesWould_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("asOneByOne");

        // clang-format off
        QTest::newRow("new file, two sections") << QByteArray() << QStringList{"w|G|A|1", "w|F|X|2", "w|G|B|3"} << QByteArray("[G]\r\nA=1\r\nB=3\r\n[F]\r\nX=2\r\n") << true;
        QTest::newRow("replaced in place, own line ends and other bytes kept") << QByteArray("; mine\n[G]\nA = 1 \nK = \"x\"\r\n\nB=2\n[F]\n") << QStringList{"w|G|K|y", "w|g|a|5"} << QByteArray("; mine\n[G]\na=5\nK=y\r\n\nB=2\n[F]\n") << true;
        QTest::newRow("new keys in order before the blank line ending the section") << QByteArray("[G]\r\nA=1\r\n\r\n[F]\r\n") << QStringList{"w|G|B|2", "w|G|C|3"} << QByteArray("[G]\r\nA=1\r\nB=2\r\nC=3\r\n\r\n[F]\r\n") << true;
        QTest::newRow("new key after the last key left once another is deleted") << QByteArray("[G]\r\nA=1\r\n;c\r\nB=2\r\n\r\n") << QStringList{"d|G|B", "w|G|C|3"} << QByteArray("[G]\r\nA=1\r\nC=3\r\n;c\r\n\r\n") << true;
        QTest::newRow("last line without line end") << QByteArray("[G]\r\nA=1") << QStringList{"w|G|B|2", "w|H|C|3"} << QByteArray("[G]\r\nA=1\r\nB=2\r\n[H]\r\nC=3\r\n") << true;
        QTest::newRow("deleted last line without line end, then a new section") << QByteArray("[G]\r\nA=1\r\nK=2") << QStringList{"d|G|K", "w|H|C|3"} << QByteArray("[G]\r\nA=1\r\n[H]\r\nC=3\r\n") << true;
        QTest::newRow("delete removes every copy, a rewrite goes to the first block") << QByteArray("[G]\r\nK=1\r\nA=0\r\n[F]\r\n[G]\r\nK=2\r\n") << QStringList{"d|G|K", "w|G|K|9"} << QByteArray("[G]\r\nA=0\r\nK=9\r\n[F]\r\n[G]\r\n") << true;
        QTest::newRow("key found in a repeated section is replaced there") << QByteArray("[G]\r\nA=1\r\n[G]\r\nB=1\r\n") << QStringList{"w|G|B|2", "w|G|C|3"} << QByteArray("[G]\r\nA=1\r\nC=3\r\n[G]\r\nB=2\r\n") << true;
        QTest::newRow("same key written twice") << QByteArray("[G]\r\nK=1\r\n") << QStringList{"w|G|K|2", "w|G|K|3", "w|G|N|1", "w|G|N|2"} << QByteArray("[G]\r\nK=3\r\nN=2\r\n") << true;
        QTest::newRow("keys before any section are not the section's") << QByteArray("A=1\r\n[G]\r\n") << QStringList{"w|G|A|2", "d|G|A", "w|G|A|3"} << QByteArray("A=1\r\n[G]\r\nA=3\r\n") << true;
        QTest::newRow("UTF-8 mark before the first section") << QByteArray("\xEF\xBB\xBF[G]\r\nK=1\r\n") << QStringList{"w|G|K|2", "w|G|L|3"} << QByteArray("\xEF\xBB\xBF[G]\r\nK=2\r\nL=3\r\n") << true;
        QTest::newRow("renumbering a list") << QByteArray("[Lista]\r\nnL=3\r\nAcc1=a\r\nAcc2=b\r\nAcc3=c\r\n") << QStringList{"w|Lista|nL|2", "w|Lista|Acc1|b", "w|Lista|Acc2|c", "d|Lista|Acc3"} << QByteArray("[Lista]\r\nnL=2\r\nAcc1=b\r\nAcc2=c\r\n") << true;
        QTest::newRow("a new section emptied again leaves no header") << QByteArray("[G]\r\nA=1\r\n") << QStringList{"w|H|K|1", "d|H|K"} << QByteArray("[G]\r\nA=1\r\n") << false;
        // clang-format on
    }
    void writesWhatSingleWritesWould()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, ops);
        QFETCH(QByteArray, after);
        QFETCH(bool, asOneByOne);
        if (!before.isNull())
            put(before);
        {
            TIniFile ini(iniPath());
            TIniFile::Batch batch(ini);
            run(ini, ops);
            batch.commit();
        }
        QCOMPARE(contents(), after);
        const QByteArray batched = contents();
        if (!asOneByOne)
            return;
        if (before.isNull())
            QVERIFY(QFile::remove(iniPath()));
        else
            put(before);
        TIniFile ini(iniPath());
        run(ini, ops);
        QCOMPARE(contents(), batched);
    }

    void writesTheFileOnceWhenTheBatchEnds_data()
    {
        QTest::addColumn<End>("end");
        // clang-format off
        QTest::newRow("commit") << End::Commit;
        QTest::newRow("end of the scope") << End::ScopeExit;
        QTest::newRow("inner batch committed, then the outer") << End::InnerCommitThenOuter;
        // clang-format on
    }
    void writesTheFileOnceWhenTheBatchEnds()
    {
        QFETCH(End, end);
        const QByteArray before("[Lista]\r\nnL=0\r\n");
        put(before);
        const quint64 inode = inodeOf(iniPath());
        TIniFile ini(iniPath());
        {
            TIniFile::Batch batch(ini);
            for (int i = 1; i <= 200; ++i)
                ini.WriteString(QStringLiteral("Lista"), QStringLiteral("Acc%1").arg(i),
                                QStringLiteral("a%1").arg(i));
            if (end == End::InnerCommitThenOuter) {
                TIniFile::Batch inner(ini);
                ini.WriteInteger(QStringLiteral("Lista"), QStringLiteral("nL"), 200);
                inner.commit();
            } else {
                ini.WriteInteger(QStringLiteral("Lista"), QStringLiteral("nL"), 200);
            }
            // Nothing reached the disk yet, and no temporary file waits beside it.
            QCOMPARE(contents(), before);
            QCOMPARE(inodeOf(iniPath()), inode);
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{QStringLiteral("confs.ini")});
            if (end != End::ScopeExit)
                batch.commit();
        }
        QVERIFY(inodeOf(iniPath()) != inode);
        QByteArray expected("[Lista]\r\nnL=200\r\n");
        for (int i = 1; i <= 200; ++i)
            expected += QStringLiteral("Acc%1=a%1\r\n").arg(i).toLatin1();
        QCOMPARE(contents(), expected);
    }

    void readsInTheBatchSeeItsChanges_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QString missing = QStringLiteral("<missing>");
        const QString longValue(3000, QLatin1Char('v'));
        // clang-format off
        QTest::newRow("written") << QByteArray("[G]\r\nK=1\r\n") << QStringList{"w|G|K|2"} << "G" << "K" << "2";
        QTest::newRow("names ignore ASCII case") << QByteArray() << QStringList{"w|Lista|Acc1|a"} << "LISTA" << "acc1" << "a";
        QTest::newRow("new section") << QByteArray() << QStringList{"w|H|K|x"} << "H" << "K" << "x";
        QTest::newRow("deleted") << QByteArray("[G]\r\nK=1\r\n") << QStringList{"d|G|K"} << "G" << "K" << missing;
        QTest::newRow("deleted then written") << QByteArray("[G]\r\nK=1\r\n") << QStringList{"d|G|K", "w|G|K|3"} << "G" << "K" << "3";
        QTest::newRow("written then deleted") << QByteArray() << QStringList{"w|G|K|3", "d|G|K"} << "G" << "K" << missing;
        QTest::newRow("empty value is not missing") << QByteArray() << QStringList{"w|G|K|"} << "G" << "K" << "";
        QTest::newRow("read back as from the file: blanks and quotes") << QByteArray() << QStringList{"w|G|K| 'a b' "} << "G" << "K" << "a b";
        QTest::newRow("read back as from the file: outside the code page") << QByteArray() << QStringList{QStringLiteral("w|G|K|a\u4e2db")} << "G" << "K" << "a?b";
        QTest::newRow("read back as from the file: cut at 2047") << QByteArray() << QStringList{"w|G|K|" + longValue} << "G" << "K" << QString(2047, QLatin1Char('v'));
        QTest::newRow("untouched key reads the file") << QByteArray("[G]\r\nL=7\r\n") << QStringList{"w|G|K|2"} << "G" << "L" << "7";
        QTest::newRow("duplicate in the file, first line written") << QByteArray("[G]\r\nK=1\r\nK=2\r\n") << QStringList{"w|G|K|3"} << "G" << "K" << "3";
        // clang-format on
    }
    void readsInTheBatchSeeItsChanges()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, ops);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        if (!before.isNull())
            put(before);
        const QString missing = QStringLiteral("<missing>");
        TIniFile ini(iniPath());
        TIniFile::Batch batch(ini);
        run(ini, ops);
        QCOMPARE(ini.ReadString(section, key, missing), expected);
        QCOMPARE(ini.ValueExists(section, key), expected != missing);
        QCOMPARE(ini.ReadSection(section).contains(key, Qt::CaseInsensitive), expected != missing);
        // The disk, and so every other object on the file, sees the change only at the commit.
        QCOMPARE(contents(), before);
        const TIniFile other(iniPath());
        batch.commit();
        QCOMPARE(other.ReadString(section, key, missing), expected);
        QCOMPARE(ini.ReadString(section, key, missing), expected);
    }

    void readSectionListsTheKeys()
    {
        put("[G]\r\nB=1\r\nA=2\r\n[F]\r\nX=1\r\n[g]\r\nc=3\r\nb=4\r\n");
        TIniFile ini(iniPath());
        QCOMPARE(ini.ReadSection(QStringLiteral("g")),
                 (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("c")}));
        QCOMPARE(ini.ReadSection(QStringLiteral("Nada")), QStringList());
        TIniFile::Batch batch(ini);
        ini.DeleteKey(QStringLiteral("G"), QStringLiteral("A"));
        ini.WriteString(QStringLiteral("G"), QStringLiteral("D"), QStringLiteral("5"));
        ini.WriteString(QStringLiteral("G"), QStringLiteral("b"), QStringLiteral("6"));
        ini.WriteString(QStringLiteral("G"), QStringLiteral("E"), QStringLiteral("7"));
        ini.DeleteKey(QStringLiteral("G"), QStringLiteral("E"));
        QCOMPARE(ini.ReadSection(QStringLiteral("G")),
                 (QStringList{QStringLiteral("B"), QStringLiteral("c"), QStringLiteral("D")}));
        batch.commit();
        // A write spells the key its own way.
        QCOMPARE(ini.ReadSection(QStringLiteral("G")),
                 (QStringList{QStringLiteral("b"), QStringLiteral("D"), QStringLiteral("c")}));
    }

    void writesOfOthersDuringTheBatchSurvive_data()
    {
        QTest::addColumn<Other>("other");
        // clang-format off
        QTest::newRow("another object of this process") << Other::SecondObject;
        QTest::newRow("another process") << Other::SecondProcess;
        // clang-format on
    }
    void writesOfOthersDuringTheBatchSurvive()
    {
        QFETCH(Other, other);
        put("[Sync]\r\nkept=1\r\ngone=1\r\nshared=0\r\n");
        TIniFile ini(iniPath());
        TIniFile::Batch batch(ini);
        ini.WriteInteger(QStringLiteral("Sync"), QStringLiteral("mine"), 1);
        ini.WriteInteger(QStringLiteral("Sync"), QStringLiteral("shared"), 1);
        // The batch has read the file; the other writer changes it afterwards.
        QCOMPARE(ini.ReadInteger(QStringLiteral("Sync"), QStringLiteral("gone"), 0), 1);
        const int count = 20;
        if (other == Other::SecondObject) {
            TIniFile second(iniPath());
            for (int i = 1; i <= count; ++i)
                second.WriteInteger(QStringLiteral("Sync"), QStringLiteral("b%1").arg(i), i);
            second.WriteInteger(QStringLiteral("Sync"), QStringLiteral("shared"), 2);
            second.DeleteKey(QStringLiteral("Sync"), QStringLiteral("gone"));
        } else {
            QProcess second;
            second.start(QStringLiteral(SETTINGS_WRITER),
                         {iniPath(), QStringLiteral("b"), QString::number(count)});
            QVERIFY(second.waitForStarted());
            second.write("go\n");
            QVERIFY(second.waitForFinished());
            QCOMPARE(second.exitCode(), 0);
            TIniFile helper(iniPath());
            helper.WriteInteger(QStringLiteral("Sync"), QStringLiteral("shared"), 2);
            helper.DeleteKey(QStringLiteral("Sync"), QStringLiteral("gone"));
        }
        // Reads through the batch see the file as it is now, under the batch's own changes.
        QCOMPARE(ini.ReadInteger(QStringLiteral("Sync"), QStringLiteral("b1"), 0), 1);
        QVERIFY(!ini.ValueExists(QStringLiteral("Sync"), QStringLiteral("gone")));
        QCOMPARE(ini.ReadInteger(QStringLiteral("Sync"), QStringLiteral("shared"), 0), 1);
        batch.commit();

        const TIniFile fresh(iniPath());
        for (int i = 1; i <= count; ++i)
            QCOMPARE(fresh.ReadInteger(QStringLiteral("Sync"), QStringLiteral("b%1").arg(i), 0), i);
        QCOMPARE(fresh.ReadInteger(QStringLiteral("Sync"), QStringLiteral("mine"), 0), 1);
        QCOMPARE(fresh.ReadInteger(QStringLiteral("Sync"), QStringLiteral("kept"), 0), 1);
        // A key the batch changed takes the batch's value; a key it only read stays as the other
        // writer left it.
        QCOMPARE(fresh.ReadInteger(QStringLiteral("Sync"), QStringLiteral("shared"), 0), 1);
        QVERIFY(!fresh.ValueExists(QStringLiteral("Sync"), QStringLiteral("gone")));
    }

    void commitThatCannotWriteThrows_data()
    {
        QTest::addColumn<bool>("lockHeld");
        // clang-format off
        QTest::newRow("read-only file") << false;
        QTest::newRow("lock held by another writer") << true;
        // clang-format on
    }
    void commitThatCannotWriteThrows()
    {
        QFETCH(bool, lockHeld);
        const QByteArray before("[Lista]\r\nnL=2\r\nAcc1=a\r\nAcc2=b\r\n");
        put(before);
        QLockFile lock(iniPath() + QStringLiteral(".lock"));
        if (lockHeld)
            QVERIFY(lock.tryLock(0));
        else
            QVERIFY(QFile::setPermissions(iniPath(), QFileDevice::ReadOwner));
        TIniFile ini(iniPath());
        {
            TIniFile::Batch batch(ini);
            ini.WriteInteger(QStringLiteral("Lista"), QStringLiteral("nL"), 1);
            ini.WriteString(QStringLiteral("Lista"), QStringLiteral("Acc1"), QStringLiteral("b"));
            ini.DeleteKey(QStringLiteral("Lista"), QStringLiteral("Acc2"));
            try {
                batch.commit();
                QFAIL("the commit was not refused");
            } catch (const SettingsWriteError& e) {
                QCOMPARE(QString::fromUtf8(e.what()),
                         QStringLiteral("Unable to write to ") + iniPath());
            }
        }
        // Nothing of the batch is stored, and the object reads the file again.
        QCOMPARE(contents(), before);
        QCOMPARE(ini.ReadInteger(QStringLiteral("Lista"), QStringLiteral("nL"), 0), 2);
        QCOMPARE(ini.ReadString(QStringLiteral("Lista"), QStringLiteral("Acc2"), QString()),
                 QStringLiteral("b"));

        // Once the obstacle is gone the next batch writes.
        if (lockHeld)
            lock.unlock();
        else
            QVERIFY(
                QFile::setPermissions(iniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        TIniFile::Batch batch(ini);
        ini.WriteInteger(QStringLiteral("Lista"), QStringLiteral("nL"), 1);
        batch.commit();
        QCOMPARE(ini.ReadInteger(QStringLiteral("Lista"), QStringLiteral("nL"), 0), 1);
    }

    void batchEndingWithoutCommitReportsAFailureWithoutThrowing()
    {
        const QByteArray before("[G]\r\nK=1\r\n");
        put(before);
        QVERIFY(QFile::setPermissions(iniPath(), QFileDevice::ReadOwner));
        TIniFile ini(iniPath());
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("Unable to write to ") + iniPath()));
        {
            TIniFile::Batch batch(ini);
            ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2);
        }
        QCOMPARE(contents(), before);
        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 0), 1);
    }

    void batchLeftByAnExceptionIsDropped()
    {
        const QByteArray before("[Lista]\r\nnL=3\r\nAcc1=a\r\nAcc2=b\r\nAcc3=c\r\n");
        put(before);
        TIniFile ini(iniPath());
        try {
            TIniFile::Batch batch(ini);
            ini.WriteInteger(QStringLiteral("Lista"), QStringLiteral("nL"), 2);
            ini.WriteString(QStringLiteral("Lista"), QStringLiteral("Acc1"), QStringLiteral("b"));
            throw std::runtime_error("stopped half way");
        } catch (const std::runtime_error&) {
        }
        QCOMPARE(contents(), before);
        QCOMPARE(ini.ReadInteger(QStringLiteral("Lista"), QStringLiteral("nL"), 0), 3);

        // An inner batch left by an exception that the outer one catches drops only its own
        // changes.
        {
            TIniFile::Batch outer(ini);
            ini.WriteString(QStringLiteral("Lista"), QStringLiteral("Acc1"), QStringLiteral("x"));
            try {
                TIniFile::Batch inner(ini);
                ini.WriteString(QStringLiteral("Lista"), QStringLiteral("Acc2"),
                                QStringLiteral("y"));
                ini.DeleteKey(QStringLiteral("Lista"), QStringLiteral("Acc1"));
                // A name that cannot be stored throws at once, also in a batch.
                ini.WriteString(QStringLiteral("Lista"), QStringLiteral("A=cc"),
                                QStringLiteral("z"));
            } catch (const SettingsWriteError&) {
            }
            QCOMPARE(ini.ReadString(QStringLiteral("Lista"), QStringLiteral("Acc1"), QString()),
                     QStringLiteral("x"));
            QCOMPARE(ini.ReadString(QStringLiteral("Lista"), QStringLiteral("Acc2"), QString()),
                     QStringLiteral("b"));
            ini.WriteString(QStringLiteral("Lista"), QStringLiteral("Acc3"), QStringLiteral("w"));
            outer.commit();
        }
        QCOMPARE(contents(), QByteArray("[Lista]\r\nnL=3\r\nAcc1=x\r\nAcc2=b\r\nAcc3=w\r\n"));
    }

    void batchThatChangesNothingWritesNothing_data()
    {
        QTest::addColumn<QStringList>("ops");
        // clang-format off
        QTest::newRow("no change") << QStringList();
        QTest::newRow("the same values") << QStringList{"w|G|K|1", "w|G|K|1"};
        QTest::newRow("a change undone") << QStringList{"w|G|K|2", "w|G|K|1"};
        QTest::newRow("a new key deleted again") << QStringList{"w|G|N|2", "d|G|N"};
        QTest::newRow("a new section deleted again") << QStringList{"w|H|N|2", "d|H|N"};
        QTest::newRow("deleting what is missing") << QStringList{"d|G|N", "d|H|N"};
        // clang-format on
    }
    void batchThatChangesNothingWritesNothing()
    {
        QFETCH(QStringList, ops);
        const QByteArray before("[G]\r\nK=1\r\n");
        put(before);
        // A read-only file would refuse any write, and no lock is needed for none.
        QVERIFY(QFile::setPermissions(iniPath(), QFileDevice::ReadOwner));
        const quint64 inode = inodeOf(iniPath());
        TIniFile ini(iniPath());
        TIniFile::Batch batch(ini);
        run(ini, ops);
        batch.commit();
        QCOMPARE(inodeOf(iniPath()), inode);
        QCOMPARE(contents(), before);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("confs.ini")});
    }
};

QTEST_GUILESS_MAIN(TestIniBatch)
#include "tst_inibatch.moc"
