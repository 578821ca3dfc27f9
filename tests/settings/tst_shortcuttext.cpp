#include "settings/ShortcutText.h"

#include <QList>
#include <QTest>

Q_DECLARE_METATYPE(std::optional<QKeyCombination>)

class TestShortcutText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formats_data()
    {
        QTest::addColumn<QKeyCombination>("combination");
        QTest::addColumn<QString>("text");

        // clang-format off
        QTest::newRow("letter")                   << QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_A) << "Ctrl+Alt+A";
        QTest::newRow("modifiers in their order") << QKeyCombination(Qt::AltModifier | Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_F12) << "Shift+Ctrl+Alt+F12";
        QTest::newRow("shift and alt")            << QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_Home) << "Shift+Alt+Home";
        QTest::newRow("key alone")                << QKeyCombination(Qt::Key_F1) << "F1";
        QTest::newRow("digit")                    << QKeyCombination(Qt::ControlModifier, Qt::Key_7) << "Ctrl+7";
        QTest::newRow("last function key")        << QKeyCombination(Qt::Key_F24) << "F24";
        QTest::newRow("return")                   << QKeyCombination(Qt::ControlModifier, Qt::Key_Return) << "Ctrl+Enter";
        QTest::newRow("keypad enter")             << QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter) << "Ctrl+Enter";
        QTest::newRow("keypad digit")             << QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_5) << "Alt+5";
        QTest::newRow("backtab is shift tab")     << QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab) << "Shift+Tab";
        QTest::newRow("backspace")                << QKeyCombination(Qt::Key_Backspace) << "BkSp";
        QTest::newRow("escape")                   << QKeyCombination(Qt::Key_Escape) << "Esc";
        QTest::newRow("space")                    << QKeyCombination(Qt::ShiftModifier, Qt::Key_Space) << "Shift+Space";
        QTest::newRow("page up")                  << QKeyCombination(Qt::Key_PageUp) << "PgUp";
        QTest::newRow("page down")                << QKeyCombination(Qt::Key_PageDown) << "PgDn";
        QTest::newRow("insert")                   << QKeyCombination(Qt::Key_Insert) << "Ins";
        QTest::newRow("delete")                   << QKeyCombination(Qt::ControlModifier, Qt::Key_Delete) << "Ctrl+Del";
        QTest::newRow("arrows")                   << QKeyCombination(Qt::Key_Left) << "Left";

        QTest::newRow("meta is not stored")       << QKeyCombination(Qt::MetaModifier, Qt::Key_A) << "";
        QTest::newRow("meta with others")         << QKeyCombination(Qt::ControlModifier | Qt::MetaModifier, Qt::Key_A) << "";
        QTest::newRow("F25 has no name")          << QKeyCombination(Qt::Key_F25) << "";
        QTest::newRow("punctuation has no name")  << QKeyCombination(Qt::ControlModifier, Qt::Key_Exclam) << "";
        QTest::newRow("modifier key alone")       << QKeyCombination(Qt::ControlModifier, Qt::Key_Control) << "";
        QTest::newRow("accented letter")          << QKeyCombination(Qt::ControlModifier, Qt::Key_Ccedilla) << "";
        QTest::newRow("nothing")                  << QKeyCombination() << "";
        // clang-format on
    }
    void formats()
    {
        QFETCH(QKeyCombination, combination);
        QFETCH(QString, text);
        QCOMPARE(ShortcutText::format(combination), text);
    }

    void parses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<QKeyCombination>>("expected");

        const auto combo = [](Qt::KeyboardModifiers m, Qt::Key k) {
            return std::optional<QKeyCombination>(QKeyCombination(m, k));
        };
        const std::optional<QKeyCombination> none;
        const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

        // clang-format off
        QTest::newRow("stored form")                        << "Ctrl+Alt+A"          << combo(Qt::ControlModifier | Qt::AltModifier, Qt::Key_A);
        QTest::newRow("any order")                          << "Alt+Ctrl+Shift+PgDn" << combo(all, Qt::Key_PageDown);
        QTest::newRow("any case")                           << "sHiFt+cTRL+alt+pgdn" << combo(all, Qt::Key_PageDown);
        QTest::newRow("lower-case letter")                  << "ctrl+z"              << combo(Qt::ControlModifier, Qt::Key_Z);
        QTest::newRow("lower-case function key")            << "f9"                  << combo({}, Qt::Key_F9);
        QTest::newRow("blanks around parts")                << " Ctrl + Del "        << combo(Qt::ControlModifier, Qt::Key_Delete);
        QTest::newRow("enter")                              << "Shift+Enter"         << combo(Qt::ShiftModifier, Qt::Key_Return);
        QTest::newRow("repeated modifier")                  << "Ctrl+Ctrl+1"         << combo(Qt::ControlModifier, Qt::Key_1);

        QTest::newRow("empty")                              << ""                    << none;
        QTest::newRow("blank")                              << "  "                  << none;
        QTest::newRow("modifiers only")                     << "Ctrl+Alt"            << none;
        QTest::newRow("trailing plus")                      << "Ctrl+"               << none;
        QTest::newRow("empty modifier")                     << "Ctrl++A"             << none;
        QTest::newRow("leading plus")                       << "+A"                  << none;
        QTest::newRow("unknown key")                        << "Ctrl+Foo"            << none;
        QTest::newRow("Qt's name for a key we do not name") << "Ctrl+Return"         << none;
        QTest::newRow("meta")                               << "Meta+A"              << none;
        QTest::newRow("unknown modifier")                   << "Hyper+A"             << none;
        QTest::newRow("F0")                                 << "F0"                  << none;
        QTest::newRow("F25")                                << "F25"                 << none;
        QTest::newRow("F with leading zero")                << "F01"                 << none;
        QTest::newRow("F with sign")                        << "F+1"                 << none;
        QTest::newRow("two letters")                        << "Ctrl+AB"             << none;
        QTest::newRow("punctuation")                        << "Ctrl+!"              << none;

        // Letters that Unicode folds onto ASCII ones are not the ASCII letters of a name.
        QTest::newRow("dotless i")                          << QStringLiteral("Ctrl+ı")      << none;
        QTest::newRow("long s in a key name")               << QStringLiteral("Ctrl+Eſc")    << none;
        QTest::newRow("long s in a modifier")               << QStringLiteral("ſhift+A")     << none;
        QTest::newRow("Kelvin sign in a key name")          << QStringLiteral("Ctrl+BKSp")   << none;
        QTest::newRow("dotted capital I in a key name")     << QStringLiteral("İns")         << none;
        QTest::newRow("dotless i in a modifier")            << QStringLiteral("Shıft+Tab")   << none;
        QTest::newRow("fullwidth letters in a modifier")    << QStringLiteral("Ａｌｔ+A")      << none;
        QTest::newRow("Arabic-Indic digits after F")        << QStringLiteral("F١٢")         << none;
        QTest::newRow("fullwidth digit")                    << QStringLiteral("Ctrl+１")      << none;
        // clang-format on
    }
    void parses()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<QKeyCombination>, expected);
        QCOMPARE(ShortcutText::parse(text), expected);
    }

    void everyStoredKeyRoundTrips()
    {
        QList<Qt::Key> keys = {Qt::Key_Backspace, Qt::Key_Tab,    Qt::Key_Escape,   Qt::Key_Return,
                               Qt::Key_Space,     Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End,
                               Qt::Key_Home,      Qt::Key_Left,   Qt::Key_Up,       Qt::Key_Right,
                               Qt::Key_Down,      Qt::Key_Insert, Qt::Key_Delete};
        for (int k = Qt::Key_A; k <= Qt::Key_Z; ++k)
            keys << Qt::Key(k);
        for (int k = Qt::Key_0; k <= Qt::Key_9; ++k)
            keys << Qt::Key(k);
        for (int k = Qt::Key_F1; k <= Qt::Key_F24; ++k)
            keys << Qt::Key(k);
        QSet<QString> names;
        for (Qt::Key key : keys) {
            for (int m = 0; m < 8; ++m) {
                Qt::KeyboardModifiers modifiers;
                modifiers.setFlag(Qt::ShiftModifier, m & 1);
                modifiers.setFlag(Qt::ControlModifier, m & 2);
                modifiers.setFlag(Qt::AltModifier, m & 4);
                const QKeyCombination combination(modifiers, key);
                const QString text = ShortcutText::format(combination);
                QVERIFY2(!text.isEmpty(), qPrintable(QString::number(key, 16)));
                QCOMPARE(ShortcutText::parse(text), std::optional<QKeyCombination>(combination));
                QCOMPARE(ShortcutText::parse(text.toLower()),
                         std::optional<QKeyCombination>(combination));
                names.insert(text);
            }
        }
        QCOMPARE(names.size(), keys.size() * 8);
    }
};

QTEST_GUILESS_MAIN(TestShortcutText)
#include "tst_shortcuttext.moc"
