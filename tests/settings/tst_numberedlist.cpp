#include "settings/NumberedList.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"

namespace {

enum class List
{
    Suspects,
    Phrases,
    Whispers,
    Timers,
    Favourites
};

NumberedList listOf(List list)
{
    switch (list) {
    case List::Suspects:
        return NumberedList::suspectAccounts();
    case List::Phrases:
        return NumberedList::phraseReplies();
    case List::Whispers:
        return NumberedList::whisperReplies();
    case List::Timers:
        return NumberedList::synchronizedMessages();
    case List::Favourites:
        break;
    }
    return NumberedList::favouriteChannels();
}

} // namespace

Q_DECLARE_METATYPE(List)

class TestNumberedList : public QObject
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

    QByteArray contents() const
    {
        QFile file(iniPath());
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

    void removesAnEntry_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QByteArray>("after");

        const QByteArray three(
            "[Lista]\r\nnL=3\r\nAcc1=a\r\nMot1=ra\r\nAcc2=b\r\nMot2=rb\r\nAcc3=c\r\nMot3=rc\r\n");
        const QByteArray phrases("[Respostas]\r\nnRF=3\r\n"
                                 "F1=p1\r\nRF11=a1\r\nRF12=\r\nRF13=\r\nnRF1=1\r\n"
                                 "F2=p2\r\nRF21=b1\r\nRF22=b2\r\nRF23=\r\nnRF2=2\r\n"
                                 "F3=p3\r\nRF31=c1\r\nRF32=\r\nRF33=c3\r\nnRF3=1\r\n");
        // clang-format off
        QTest::newRow("first of three") << List::Suspects << three << 1 << true << QByteArray("[Lista]\r\nnL=2\r\nAcc1=b\r\nMot1=rb\r\nAcc2=c\r\nMot2=rc\r\n");
        QTest::newRow("middle of three") << List::Suspects << three << 2 << true << QByteArray("[Lista]\r\nnL=2\r\nAcc1=a\r\nMot1=ra\r\nAcc2=c\r\nMot2=rc\r\n");
        QTest::newRow("last of three: only its own keys") << List::Suspects << three << 3 << true << QByteArray("[Lista]\r\nnL=2\r\nAcc1=a\r\nMot1=ra\r\nAcc2=b\r\nMot2=rb\r\n");
        QTest::newRow("only entry") << List::Suspects << QByteArray("[Lista]\r\nnL=1\r\nAcc1=a\r\n[Form]\r\nX=1\r\n") << 1 << true << QByteArray("[Lista]\r\nnL=0\r\n[Form]\r\nX=1\r\n");
        QTest::newRow("entry without a reason moves with an empty one") << List::Suspects << QByteArray("[Lista]\r\nnL=3\r\nAcc1=a\r\nMot1=ra\r\nAcc2=b\r\nAcc3=c\r\nMot3=rc\r\n") << 1 << true << QByteArray("[Lista]\r\nnL=2\r\nAcc1=b\r\nMot1=\r\nAcc2=c\r\nMot2=rc\r\n");
        QTest::newRow("names in another case") << List::Suspects << QByteArray("[lista]\r\nNL=2\r\nacc1=a\r\nACC2=b\r\n") << 1 << true << QByteArray("[lista]\r\nnL=1\r\nAcc1=b\r\nMot1=\r\n");
        QTest::newRow("hand-edited: count above the stored entries") << List::Suspects << QByteArray("[Lista]\r\nnL=5\r\nAcc1=a\r\nMot1=ra\r\nAcc2=b\r\nAcc3=c\r\nMot3=rc\r\n") << 1 << true << QByteArray("[Lista]\r\nnL=4\r\nAcc1=b\r\nMot1=\r\nAcc2=c\r\nMot2=rc\r\n");
        QTest::newRow("hand-edited: an account missing in the middle") << List::Suspects << QByteArray("[Lista]\r\nnL=3\r\nAcc1=a\r\nMot1=ra\r\nMot2=rb\r\nAcc3=c\r\n") << 1 << true << QByteArray("[Lista]\r\nnL=2\r\nAcc1=\r\nMot1=rb\r\nMot2=\r\nAcc2=c\r\n");
        QTest::newRow("hand-edited: a whole entry missing moves as missing") << List::Suspects << QByteArray("[Lista]\r\nnL=4\r\nAcc1=a\r\nAcc2=b\r\nAcc4=d\r\n") << 2 << true << QByteArray("[Lista]\r\nnL=3\r\nAcc1=a\r\nAcc3=d\r\nMot3=\r\n");
        QTest::newRow("hand-edited: keys above the count stay") << List::Suspects << QByteArray("[Lista]\r\nnL=2\r\nAcc1=a\r\nAcc2=b\r\nAcc3=zed\r\nMot3=old\r\n") << 1 << true << QByteArray("[Lista]\r\nnL=1\r\nAcc1=b\r\nAcc3=zed\r\nMot3=old\r\nMot1=\r\n");
        QTest::newRow("hand-edited: keys that are not entries stay") << List::Suspects << QByteArray("[Lista]\r\nnL=2\r\nAcc1=a\r\nAcc01=z\r\nAccx=y\r\nAcc2=b\r\n") << 1 << true << QByteArray("[Lista]\r\nnL=1\r\nAcc1=b\r\nAcc01=z\r\nAccx=y\r\nMot1=\r\n");
        QTest::newRow("hand-edited: huge count") << List::Suspects << QByteArray("[Lista]\r\nnL=2000000000\r\nAcc1=a\r\nAcc2=b\r\nAcc3=c\r\n") << 2 << true << QByteArray("[Lista]\r\nnL=1999999999\r\nAcc1=a\r\nAcc2=c\r\nMot2=\r\n");
        QTest::newRow("entry past the count: nothing written") << List::Suspects << QByteArray("[Lista]\r\nnL=2\r\nAcc1=a\r\nAcc2=b\r\nAcc3=c\r\n") << 3 << false << QByteArray("[Lista]\r\nnL=2\r\nAcc1=a\r\nAcc2=b\r\nAcc3=c\r\n");
        QTest::newRow("entry 0: nothing written") << List::Suspects << three << 0 << false << three;
        QTest::newRow("count missing: no entries") << List::Suspects << QByteArray("[Lista]\r\nAcc1=a\r\n") << 1 << false << QByteArray("[Lista]\r\nAcc1=a\r\n");
        QTest::newRow("count no number: no entries") << List::Suspects << QByteArray("[Lista]\r\nnL=dois\r\nAcc1=a\r\n") << 1 << false << QByteArray("[Lista]\r\nnL=dois\r\nAcc1=a\r\n");
        QTest::newRow("count negative: no entries") << List::Suspects << QByteArray("[Lista]\r\nnL=-3\r\nAcc1=a\r\n") << 1 << false << QByteArray("[Lista]\r\nnL=-3\r\nAcc1=a\r\n");
        QTest::newRow("no file") << List::Suspects << QByteArray() << 1 << false << QByteArray();
        QTest::newRow("phrase entry: all five parts move") << List::Phrases << phrases << 1 << true << QByteArray("[Respostas]\r\nnRF=2\r\n"
                                                                                                                   "F1=p2\r\nRF11=b1\r\nRF12=b2\r\nRF13=\r\nnRF1=2\r\n"
                                                                                                                   "F2=p3\r\nRF21=c1\r\nRF22=\r\nRF23=c3\r\nnRF2=1\r\n");
        QTest::newRow("last phrase entry: its five keys") << List::Phrases << phrases << 3 << true << QByteArray("[Respostas]\r\nnRF=2\r\n"
                                                                                                                 "F1=p1\r\nRF11=a1\r\nRF12=\r\nRF13=\r\nnRF1=1\r\n"
                                                                                                                 "F2=p2\r\nRF21=b1\r\nRF22=b2\r\nRF23=\r\nnRF2=2\r\n");
        QTest::newRow("whisper entry beside the phrases") << List::Whispers << QByteArray("[Respostas]\r\nnRF=1\r\nF1=p\r\nnRW=2\r\nW1=w1\r\nRW11=x\r\nnRW1=1\r\nW2=w2\r\nRW21=y\r\nnRW2=1\r\n") << 1 << true << QByteArray("[Respostas]\r\nnRF=1\r\nF1=p\r\nnRW=1\r\nW1=w2\r\nRW11=y\r\nnRW1=1\r\nRW12=\r\nRW13=\r\n");
        QTest::newRow("synchronized message 2 of 3") << List::Timers << QByteArray("[Timers]\r\nnTS=3\r\nSTimer1=m1\r\nSTimer2=m2\r\nSTimer3=m3\r\n") << 2 << true << QByteArray("[Timers]\r\nnTS=2\r\nSTimer1=m1\r\nSTimer2=m3\r\n");
        QTest::newRow("favourite channel: count is one more") << List::Favourites << QByteArray("[Canais]\r\nn=4\r\nc1=x\r\nc2=y\r\nc3=z\r\n") << 2 << true << QByteArray("[Canais]\r\nn=3\r\nc1=x\r\nc2=z\r\n");
        QTest::newRow("favourite channel: n = 1 is none") << List::Favourites << QByteArray("[Canais]\r\nn=1\r\nc1=x\r\n") << 1 << false << QByteArray("[Canais]\r\nn=1\r\nc1=x\r\n");
        // clang-format on
    }
    void removesAnEntry()
    {
        QFETCH(List, list);
        QFETCH(QByteArray, before);
        QFETCH(int, entry);
        QFETCH(bool, removed);
        QFETCH(QByteArray, after);
        if (!before.isNull())
            put(before);
        TIniFile ini(iniPath());
        QCOMPARE(listOf(list).remove(ini, entry), removed);
        QCOMPARE(contents(), after);
        QCOMPARE(QFileInfo::exists(iniPath()), !before.isNull());
    }

    void countsOnlyWhatTheKeysCanHold_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("stored");

        // clang-format off
        QTest::newRow("count and keys agree") << List::Suspects << QByteArray("[Lista]\r\nnL=2\r\nAcc1=a\r\nMot1=ra\r\nAcc2=b\r\n") << 2 << 2;
        QTest::newRow("keys above the count are no entries") << List::Suspects << QByteArray("[Lista]\r\nnL=1\r\nAcc1=a\r\nAcc2=b\r\n") << 1 << 1;
        QTest::newRow("count above the keys: the highest number") << List::Suspects << QByteArray("[Lista]\r\nnL=5\r\nAcc1=a\r\nAcc2=b\r\nAcc3=c\r\n") << 3 << 5;
        QTest::newRow("two billion") << List::Suspects << QByteArray("[Lista]\r\nnL=2000000000\r\nAcc1=a\r\nAcc2=b\r\n") << 2 << 2000000000;
        QTest::newRow("largest int") << List::Suspects << QByteArray("[Lista]\r\nnL=2147483647\r\nAcc1=a\r\n") << 1 << 2147483647;
        QTest::newRow("two billion, a reason alone is highest") << List::Suspects << QByteArray("[Lista]\r\nnL=2000000000\r\nAcc1=a\r\nMot4=r\r\n") << 4 << 2000000000;
        QTest::newRow("two billion, an empty value is a key") << List::Suspects << QByteArray("[Lista]\r\nnL=2000000000\r\nAcc1=a\r\nAcc7=\r\n") << 7 << 2000000000;
        QTest::newRow("two billion, no entry") << List::Suspects << QByteArray("[Lista]\r\nnL=2000000000\r\n") << 0 << 2000000000;
        QTest::newRow("a key numbered beyond int") << List::Suspects << QByteArray("[Lista]\r\nnL=2000000000\r\nAcc9999999999=a\r\n") << 0 << 2000000000;
        QTest::newRow("names that are no entries") << List::Suspects << QByteArray("[Lista]\r\nnL=90\r\nAcc1=a\r\nAcc09=z\r\nAccx=y\r\nAcc8x=w\r\nAcc=v\r\nMotivo9=u\r\n") << 1 << 90;
        QTest::newRow("names in another case") << List::Suspects << QByteArray("[lista]\r\nNL=90\r\nACC3=a\r\n") << 3 << 90;
        QTest::newRow("keys of another section") << List::Suspects << QByteArray("[Lista]\r\nnL=90\r\nAcc1=a\r\n[Outra]\r\nAcc50=b\r\n") << 1 << 90;
        QTest::newRow("keys of a repeated section") << List::Suspects << QByteArray("[Lista]\r\nnL=90\r\nAcc1=a\r\n[Outra]\r\n[Lista]\r\nAcc5=b\r\n") << 5 << 90;
        QTest::newRow("duplicated count: the first") << List::Suspects << QByteArray("[Lista]\r\nnL=1\r\nnL=9\r\nAcc1=a\r\nAcc2=b\r\n") << 1 << 1;
        QTest::newRow("negative") << List::Suspects << QByteArray("[Lista]\r\nnL=-5\r\nAcc1=a\r\n") << 0 << 0;
        QTest::newRow("lowest int") << List::Suspects << QByteArray("[Lista]\r\nnL=-2147483648\r\nAcc1=a\r\n") << 0 << 0;
        QTest::newRow("beyond int is no number") << List::Suspects << QByteArray("[Lista]\r\nnL=99999999999\r\nAcc1=a\r\n") << 0 << 0;
        QTest::newRow("missing") << List::Suspects << QByteArray("[Lista]\r\nAcc1=a\r\n") << 0 << 0;
        QTest::newRow("no file") << List::Suspects << QByteArray() << 0 << 0;
        QTest::newRow("phrases: any part of an entry counts") << List::Phrases << QByteArray("[Respostas]\r\nnRF=2000000000\r\nF1=p\r\nRF31=r\r\nnRF5=1\r\n") << 5 << 2000000000;
        QTest::newRow("phrases: whispers are no phrases") << List::Phrases << QByteArray("[Respostas]\r\nnRF=2000000000\r\nF1=p\r\nW9=w\r\nRW91=r\r\nnRW9=1\r\nnRW=9\r\n") << 1 << 2000000000;
        QTest::newRow("whispers: phrases are no whispers") << List::Whispers << QByteArray("[Respostas]\r\nnRW=2000000000\r\nW2=w\r\nF9=p\r\nnRF=9\r\n") << 2 << 2000000000;
        QTest::newRow("synchronized messages") << List::Timers << QByteArray("[Timers]\r\nnTS=2000000000\r\nSTimer1=a\r\nSTimer2=b\r\nSTempo=300\r\n") << 2 << 2000000000;
        QTest::newRow("favourites: count is one more") << List::Favourites << QByteArray("[Canais]\r\nn=2000000000\r\nc1=x\r\nc2=y\r\n") << 2 << 1999999999;
        QTest::newRow("favourites: a gap below the last key is listed") << List::Favourites << QByteArray("[Canais]\r\nn=5\r\nc1=a\r\nc3=c\r\n") << 3 << 4;
        QTest::newRow("an entry with only its second part") << List::Suspects << QByteArray("[Lista]\r\nnL=4\r\nAcc1=a\r\nMot2=r\r\n") << 2 << 4;
        QTest::newRow("favourites: n = 0") << List::Favourites << QByteArray("[Canais]\r\nn=0\r\nc1=x\r\n") << 0 << 0;
        // clang-format on
    }
    void countsOnlyWhatTheKeysCanHold()
    {
        QFETCH(List, list);
        QFETCH(QByteArray, file);
        QFETCH(int, count);
        QFETCH(int, stored);
        if (!file.isNull())
            put(file);
        const TIniFile ini(iniPath());
        QCOMPARE(listOf(list).count(ini), count);
        QCOMPARE(listOf(list).storedCount(ini), stored);
    }

    void countSeesAnOpenBatch()
    {
        put("[Lista]\r\nnL=2000000000\r\nAcc1=a\r\n");
        TIniFile ini(iniPath());
        TIniFile::Batch batch(ini);
        ini.WriteString(QStringLiteral("Lista"), QStringLiteral("Acc6"), QStringLiteral("f"));
        QCOMPARE(NumberedList::suspectAccounts().count(ini), 6);
        ini.DeleteKey(QStringLiteral("Lista"), QStringLiteral("Acc6"));
        QCOMPARE(NumberedList::suspectAccounts().count(ini), 1);
    }

    void removalJoinsAnOpenBatch()
    {
        // The options dialog works out the moved reply counts afresh in the same write.
        put("[Respostas]\r\nnRF=2\r\nF1=p1\r\nnRF1=1\r\nF2=p2\r\nRF22=b2\r\nnRF2=1\r\n");
        const QByteArray before = contents();
        TIniFile ini(iniPath());
        TIniFile::Batch batch(ini);
        QVERIFY(NumberedList::phraseReplies().remove(ini, 1));
        QCOMPARE(contents(), before);
        QCOMPARE(ini.ReadString(QStringLiteral("Respostas"), QStringLiteral("RF12"), QString()),
                 QStringLiteral("b2"));
        ini.WriteInteger(QStringLiteral("Respostas"), QStringLiteral("nRF1"), 2);
        batch.commit();
        QCOMPARE(contents(),
                 QByteArray("[Respostas]\r\nnRF=1\r\nF1=p2\r\nnRF1=2\r\nRF11=\r\nRF12=b2\r\n"
                            "RF13=\r\n"));
    }

    void refusedRemovalStoresNothing()
    {
        const QByteArray before("[Lista]\r\nnL=2\r\nAcc1=a\r\nAcc2=b\r\n");
        put(before);
        QVERIFY(QFile::setPermissions(iniPath(), QFileDevice::ReadOwner));
        TIniFile ini(iniPath());
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                 NumberedList::suspectAccounts().remove(ini, 1));
        QCOMPARE(contents(), before);
        QCOMPARE(NumberedList::suspectAccounts().count(ini), 2);
    }

    void keysAreThoseOfTheSettings_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");

        using namespace Keys;
        // clang-format off
        QTest::newRow("Lista count") << List::Suspects << -1 << 0 << Lista::nL.section << Lista::nL.key;
        QTest::newRow("Acc12") << List::Suspects << 0 << 12 << Lista::Acc(12).section << Lista::Acc(12).key;
        QTest::newRow("Mot12") << List::Suspects << 1 << 12 << Lista::Mot(12).section << Lista::Mot(12).key;
        QTest::newRow("nRF") << List::Phrases << -1 << 0 << Respostas::nRF.section << Respostas::nRF.key;
        QTest::newRow("F12") << List::Phrases << 0 << 12 << Respostas::F(12).section << Respostas::F(12).key;
        QTest::newRow("RF123") << List::Phrases << 3 << 12 << Respostas::RF(12, 3).section << Respostas::RF(12, 3).key;
        QTest::newRow("nRF12") << List::Phrases << 4 << 12 << Respostas::nRFn(12).section << Respostas::nRFn(12).key;
        QTest::newRow("nRW") << List::Whispers << -1 << 0 << Respostas::nRW.section << Respostas::nRW.key;
        QTest::newRow("W7") << List::Whispers << 0 << 7 << Respostas::W(7).section << Respostas::W(7).key;
        QTest::newRow("RW71") << List::Whispers << 1 << 7 << Respostas::RW(7, 1).section << Respostas::RW(7, 1).key;
        QTest::newRow("nRW7") << List::Whispers << 4 << 7 << Respostas::nRWn(7).section << Respostas::nRWn(7).key;
        QTest::newRow("nTS") << List::Timers << -1 << 0 << Timers::nTS.section << Timers::nTS.key;
        QTest::newRow("STimer3") << List::Timers << 0 << 3 << Timers::STimer(3).section << Timers::STimer(3).key;
        QTest::newRow("Canais n") << List::Favourites << -1 << 0 << Canais::n.section << Canais::n.key;
        QTest::newRow("c10") << List::Favourites << 0 << 10 << Canais::c(10).section << Canais::c(10).key;
        // clang-format on
    }
    void keysAreThoseOfTheSettings()
    {
        QFETCH(List, list);
        QFETCH(int, part);
        QFETCH(int, entry);
        QFETCH(QString, section);
        QFETCH(QString, key);
        const NumberedList l = listOf(list);
        QCOMPARE(l.section(), section);
        QCOMPARE(part < 0 ? l.countKey() : l.key(part, entry), key);
    }
};

QTEST_GUILESS_MAIN(TestNumberedList)
#include "tst_numberedlist.moc"
