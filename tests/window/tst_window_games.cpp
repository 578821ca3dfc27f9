#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "WindowHarness.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/TfrmMain.h"

namespace {

const QString Wine = QStringLiteral("/usr/bin/wine");
const QString NoWine =
    QStringLiteral("Não foi possível iniciar o jogo: o Wine não está instalado.");

QString missing(const QString& game)
{
    return QStringLiteral("Você deve definir o caminho onde está instalado o ") + game;
}

void choose(TfrmMain* w, const QString& item)
{
    w->findChild<QWidget*>(QStringLiteral("txtChat"))->setFocus();
    w->findChild<QAction*>(item)->trigger();
}

// A start as "program|argument|...|@working folder".
QStringList starts(const RecordingShell& shell)
{
    QStringList result;
    for (const RecordingShell::Start& start : shell.started)
        result << (QStringList{start.program} + start.arguments +
                   QStringList{QLatin1Char('@') + start.workingFolder})
                      .join(QLatin1Char('|'));
    return result;
}

} // namespace

class TestWindowGames : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsTheGame_data();
    void startsTheGame();
    void parametersReachTheGame_data();
    void parametersReachTheGame();
    void pathIsReadAtEachStart();
    void buttonsOpenTheirMenus_data();
    void buttonsOpenTheirMenus();
};

void TestWindowGames::startsTheGame_data()
{
    QTest::addColumn<QStringList>("geral"); // keys of [Geral]
    QTest::addColumn<bool>("wine");         // installed
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<QStringList>("warnings");

    const QStringList d2 = {"CaminhoD2XP=/jogos/d2 lod/Game.exe",
                            "D2Param=-w -ns -title \"Meu jogo\""};
    const QStringList war3 = {"CaminhoWAR3=/jogos/w3/w3.exe", "D2Param=-w"};
    // clang-format off
    QTest::newRow("popGD2 through Wine, parameters split") << d2 << true << "popGD2" << QStringList{Wine + "|/jogos/d2 lod/Game.exe|-w|-ns|-title|Meu jogo|@/jogos/d2 lod"} << QStringList{};
    QTest::newRow("popGD2, a native program") << QStringList{"CaminhoD2XP=/jogos/d2/jogo", "D2Param=-w"} << false << "popGD2" << QStringList{"/jogos/d2/jogo|-w|@/jogos/d2"} << QStringList{};
    QTest::newRow("popGD2, no parameters") << QStringList{"CaminhoD2XP=/jogos/d2/jogo"} << true << "popGD2" << QStringList{"/jogos/d2/jogo|@/jogos/d2"} << QStringList{};
    QTest::newRow("popGSC takes no parameters") << QStringList{"CaminhoSTAR=/jogos/sc/Jogo.EXE", "D2Param=-w"} << true << "popGSC" << QStringList{Wine + "|/jogos/sc/Jogo.EXE|@/jogos/sc"} << QStringList{};
    QTest::newRow("popGW3, with -classic") << war3 << true << "popGW3" << QStringList{Wine + "|/jogos/w3/w3.exe|-classic|@/jogos/w3"} << QStringList{};
    QTest::newRow("popGW3XP, the same program") << war3 << true << "popGW3XP" << QStringList{Wine + "|/jogos/w3/w3.exe|@/jogos/w3"} << QStringList{};
    QTest::newRow("a Windows program without Wine") << war3 << false << "popGW3" << QStringList{} << QStringList{NoWine};
    QTest::newRow("popGD2 without a path") << QStringList{"D2Param=-w"} << true << "popGD2" << QStringList{} << QStringList{missing("Diablo II")};
    QTest::newRow("popGSC without a path") << QStringList{} << true << "popGSC" << QStringList{} << QStringList{missing("Starcraft")};
    QTest::newRow("popGW3 without a path") << QStringList{"CaminhoD2XP=/jogos/d2/jogo"} << true << "popGW3" << QStringList{} << QStringList{missing("Warcraft III")};
    QTest::newRow("popGW3XP without a path") << QStringList{} << true << "popGW3XP" << QStringList{} << QStringList{missing("Warcraft III")};
    // clang-format on
}

void TestWindowGames::startsTheGame()
{
    QFETCH(QStringList, geral);
    QFETCH(QString, item);
    WindowHarness h(QStringList{"[Geral]", "Login=visitante"} + geral);
    QFETCH(bool, wine);
    if (wine)
        h.shell.installed << Wine;
    choose(h.window.get(), item);
    QTEST(starts(h.shell), "started");
    QTEST(h.prompts.warnings, "warnings");
    QVERIFY(h.prompts.errors.isEmpty());
    QTRY_VERIFY(h.window->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->hasFocus());
}

void TestWindowGames::parametersReachTheGame_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");

    const QString game = QStringLiteral("/jogos/d2/Game.exe");
    // clang-format off
    QTest::newRow("Wine: as the game splits its command line") << game << "-title \"\" -path C:\\Jogos\\D2 \"C:\\Meus jogos\\\\\" 'x y' \"a\"\"b\"" << Wine << QStringList{game, "-title", "", "-path", "C:\\Jogos\\D2", "C:\\Meus jogos\\", "'x", "y'", "a\"b"};
    QTest::newRow("native: as a shell splits it") << "/jogos/d2/jogo" << "-title \"\" -nome 'Meu jogo' \"a \\\"b\\\"\" C:\\\\Jogos \\$x ''" << "/jogos/d2/jogo" << QStringList{"-title", "", "-nome", "Meu jogo", "a \"b\"", "C:\\Jogos", "$x", ""};
    // clang-format on
}

// Geral/D2Param is one text; the game gets the arguments it stands for, empty ones included.
void TestWindowGames::parametersReachTheGame()
{
    QFETCH(QString, executable);
    QFETCH(QString, parameters);
    WindowHarness h(
        {"[Geral]", "Login=visitante", "CaminhoD2XP=" + executable, "D2Param=" + parameters});
    h.shell.installed << Wine;
    choose(h.window.get(), QStringLiteral("popGD2"));
    QCOMPARE(h.shell.started.size(), 1);
    const RecordingShell::Start& start = h.shell.started.first();
    QTEST(start.program, "program");
    QTEST(start.arguments, "arguments");
    QCOMPARE(start.nativeArguments, QString());
    QCOMPARE(start.workingFolder, QStringLiteral("/jogos/d2"));
    QVERIFY(h.prompts.warnings.isEmpty());
}

void TestWindowGames::pathIsReadAtEachStart()
{
    WindowHarness h({"[Geral]", "Login=visitante", "CaminhoSTAR=/jogos/sc/antigo"});
    TfrmMain* w = h.window.get();
    choose(w, QStringLiteral("popGSC"));
    Settings::write(*w->settings(), Keys::Geral::CaminhoSTAR, QStringLiteral("/outros/sc/novo"));
    choose(w, QStringLiteral("popGSC"));
    Settings::write(*w->settings(), Keys::Geral::CaminhoSTAR, QString());
    choose(w, QStringLiteral("popGSC"));
    QCOMPARE(starts(h.shell),
             (QStringList{"/jogos/sc/antigo|@/jogos/sc", "/outros/sc/novo|@/outros/sc"}));
    QCOMPARE(h.prompts.warnings, QStringList{missing(QStringLiteral("Starcraft"))});
}

void TestWindowGames::buttonsOpenTheirMenus_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("menu");
    QTest::newRow("games") << "btnDiablo"
                           << "popGames";
    QTest::newRow("favourite channels") << "btnJoin"
                                        << "popCanais";
}

// A click on the picture, not on the arrow, opens the menu as well.
void TestWindowGames::buttonsOpenTheirMenus()
{
    QFETCH(QString, button);
    QFETCH(QString, menu);
    WindowHarness h;
    h.open();
    QVERIFY(h.connectToServer());
    auto* tool = h.window->findChild<QToolButton*>(button);
    QVERIFY(tool && tool->isEnabled());
    QString shown;
    // The menu runs its own event loop: the check runs inside it, then closes it.
    QTimer::singleShot(0, [&shown] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            shown = popup->objectName();
            popup->close();
        }
    });
    QTest::mouseClick(tool, Qt::LeftButton, {}, QPoint(8, tool->height() / 2));
    QCOMPARE(shown, menu);
}

QTEST_MAIN(TestWindowGames)
#include "tst_window_games.moc"
