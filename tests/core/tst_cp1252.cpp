#include "core/Cp1252.h"

#include <QTest>

class TestCp1252 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyByteRoundTrips()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = Cp1252::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Cp1252::encode(text), all);
    }

    void decodesTheCodePage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("ascii")                          << QByteArray("abc")         << QStringLiteral("abc");
        QTest::newRow("latin-1 letters")                << QByteArray("a\xe7\xe3o")  << QStringLiteral("ação");
        QTest::newRow("euro")                           << QByteArray("\x80")        << QStringLiteral("€");
        QTest::newRow("curly quotes")                   << QByteArray("\x93x\x94")   << QStringLiteral("“x”");
        QTest::newRow("undefined byte keeps its value") << QByteArray("\x81")        << QString(QChar(0x81));
        QTest::newRow("nul")                            << QByteArray("a\0b", 3)     << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
        // clang-format on
    }
    void decodesTheCodePage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(Cp1252::decode(bytes), text);
        QCOMPARE(Cp1252::encode(text), bytes);
    }

    void unknownCharacterBecomesOneQuestionMark_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        // clang-format off
        QTest::newRow("outside the code page")          << QStringLiteral("a\u4e2db")                                     << QByteArray("a?b");
        QTest::newRow("beyond 16 bits, two code units") << QStringLiteral("a\U0001F600b\U0001F600")                       << QByteArray("a?b?");
        QTest::newRow("lone high surrogate")            << (QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b"))   << QByteArray("a?b");
        QTest::newRow("lone low surrogate")             << (QStringLiteral("a") + QChar(0xDE00) + QChar(0xDE00))         << QByteArray("a??");
        // clang-format on
    }
    void unknownCharacterBecomesOneQuestionMark()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Cp1252::encode(text), bytes);
        QVERIFY(!Cp1252::canEncode(text));
    }

    void canEncodeTheCodePage() { QVERIFY(Cp1252::canEncode(QStringLiteral("ação €"))); }
};

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
