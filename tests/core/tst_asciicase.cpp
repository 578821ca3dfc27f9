#include "core/AsciiCase.h"

#include <QTest>

class TestAsciiCase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void changesOnlyAsciiLetters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        // clang-format off
        QTest::newRow("ascii letters")         << QStringLiteral("/Lock Ab")  << QStringLiteral("/LOCK AB")  << QStringLiteral("/lock ab");
        QTest::newRow("accents stay as typed") << QStringLiteral("oi ÇÃO çã") << QStringLiteral("OI ÇÃO çã") << QStringLiteral("oi ÇÃo çã");
        QTest::newRow("look-alikes stay")      << QStringLiteral("\u017F \u0131 \u212A") << QStringLiteral("\u017F \u0131 \u212A") << QStringLiteral("\u017F \u0131 \u212A");
        QTest::newRow("neighbours of a and z") << QStringLiteral("@[`{")      << QStringLiteral("@[`{")      << QStringLiteral("@[`{");
        QTest::newRow("empty")                 << QString()                   << QString()                   << QString();
        // clang-format on
    }
    void changesOnlyAsciiLetters()
    {
        QFETCH(QString, text);
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        QCOMPARE(AsciiCase::toUpper(text), upper);
        QCOMPARE(AsciiCase::toLower(text), lower);
    }
};

QTEST_GUILESS_MAIN(TestAsciiCase)
#include "tst_asciicase.moc"
