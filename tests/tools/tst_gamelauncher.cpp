#include "tools/GameLauncher.h"

#include <QTest>
#include <QUrl>

#include "tools/Shell.h"

namespace {

// Keeps the last start it was asked for; Wine is installed.
class LastStart final : public Shell
{
public:
    using Shell::startDetached;

    bool openUrl(const QUrl&) override { return false; }
    bool startDetached(const ProgramStart& start) override
    {
        last = start;
        ++starts;
        return true;
    }
    QString findExecutable(const QString& name) override
    {
        return name == QLatin1String("wine") ? QStringLiteral("/usr/bin/wine") : QString();
    }

    ProgramStart last;
    int starts = 0;
};

} // namespace

class TestGameLauncher : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A Windows program reads its own command line: the text goes to it as it stands, quotes,
    // backslashes and empty quoted arguments included, and never through Wine.
    void windowsGetsTheTextAsItStands_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("parameters");
        // clang-format off
        QTest::newRow("tricky text")   << "/jogos/Diablo II/Game.exe" << "-title \"\" -path \"C:\\Meus jogos\\\\\" 'x'  -w ";
        QTest::newRow("no .exe")       << "/jogos/Diablo II/jogo"     << "-title \"Meu jogo\"";
        QTest::newRow("no parameters") << "/jogos/Diablo II/Game.exe" << "";
        // clang-format on
    }
    void windowsGetsTheTextAsItStands()
    {
        QFETCH(QString, executable);
        QFETCH(QString, parameters);
        LastStart shell;
        QCOMPARE(GameLauncher(shell, GameLauncher::Platform::Windows).start(executable, parameters),
                 GameLauncher::Outcome::Asked);
        QCOMPARE(shell.starts, 1);
        QCOMPARE(shell.last.program, executable);
        QCOMPARE(shell.last.arguments, QStringList());
        QCOMPARE(shell.last.nativeArguments, parameters);
        QCOMPARE(shell.last.workingFolder, QStringLiteral("/jogos/Diablo II"));
    }
};

QTEST_GUILESS_MAIN(TestGameLauncher)
#include "tst_gamelauncher.moc"
