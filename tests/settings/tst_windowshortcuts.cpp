#include "settings/WindowShortcuts.h"

#include <QTest>

#include "settings/ShortcutText.h"

namespace {
QKeyCombination keys(const char* text)
{
    return ShortcutText::parse(QLatin1String(text)).value_or(QKeyCombination());
}
} // namespace

class TestWindowShortcuts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void usedBy_data();
    void usedBy();
    void resolve_data();
    void resolve();
    void fixedKeysAreDistinct();
};

void TestWindowShortcuts::usedBy_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("usedBy"); // empty: free
    // clang-format off
    QTest::newRow("menu item") << "Ctrl+O" << "pelo item \"Opções...\" do menu Opções";
    QTest::newRow("connect") << "Ctrl+N" << "pelo item \"Conectar\" do menu Opções";
    QTest::newRow("phrase dialog") << "Ctrl+S" << "pelo item \"Configurar atalhos...\" do menu Opções";
    QTest::newRow("action without a menu item") << "Ctrl+F" << "para procurar na tela do chat";
    QTest::newRow("item shown in the channels menu") << "Ctrl+D" << "pelo item \"Adicionar Canal\" dos canais favoritos";
    QTest::newRow("menu bar access key") << "Alt+O" << "pelo menu \"Opções\"";
    QTest::newRow("button access key") << "Alt+M" << "pelo botão \"Emote\"";
    QTest::newRow("region key, no modifier") << "F6" << "para passar à próxima área da janela";
    QTest::newRow("region key backward") << "Shift+F6" << "para voltar à área anterior da janela";
    QTest::newRow("context menu key") << "Shift+F10" << "para abrir o menu da lista ou da tela com o foco";
    QTest::newRow("Ctrl beside a region key") << "Ctrl+F6" << "";
    QTest::newRow("F10 alone") << "F10" << "";
    QTest::newRow("phrase shortcut") << "Ctrl+Alt+K" << "pelo atalho de frase K";
    QTest::newRow("phrase N, bound though the dialog cannot edit it") << "Alt+Ctrl+N" << "pelo atalho de frase N";
    QTest::newRow("Shift makes another combination") << "Shift+Ctrl+O" << "";
    QTest::newRow("Shift beside a phrase shortcut") << "Shift+Ctrl+Alt+K" << "";
    QTest::newRow("Ctrl+Alt+digit") << "Ctrl+Alt+1" << "";
    QTest::newRow("an unused letter") << "Ctrl+K" << "";
    QTest::newRow("Alt alone on a letter") << "Alt+K" << "";
    QTest::newRow("the letter alone") << "O" << "";
    QTest::newRow("function key") << "Ctrl+F11" << "";
    // clang-format on
}

void TestWindowShortcuts::usedBy()
{
    QFETCH(QString, keys);
    QFETCH(QString, usedBy);
    const auto combination = ShortcutText::parse(keys);
    QVERIFY(combination);
    QCOMPARE(WindowShortcuts::usedBy(*combination).value_or(QString()), usedBy);
}

void TestWindowShortcuts::resolve_data()
{
    QTest::addColumn<QString>("stored");   // Geral/AtalhoMin
    QTest::addColumn<QString>("minimize"); // bound, in stored form; empty: none
    QTest::addColumn<QString>("phraseLeftOut");
    QTest::addColumn<QString>("notice");
    // clang-format off
    QTest::newRow("no key") << "" << "" << "" << "";
    QTest::newRow("free key") << "Ctrl+F11" << "Ctrl+F11" << "" << "";
    QTest::newRow("Shift+digit") << "Shift+1" << "Shift+1" << "" << "";
    QTest::newRow("fixed key wins") << "Ctrl+O" << "" << "" << "O atalho Ctrl+O para minimizar já é usado pelo item \"Opções...\" do menu Opções; minimizar ficou sem atalho.";
    QTest::newRow("access key wins") << "Alt+M" << "" << "" << "O atalho Alt+M para minimizar já é usado pelo botão \"Emote\"; minimizar ficou sem atalho.";
    QTest::newRow("named in stored form") << "alt+ctrl+k" << "Ctrl+Alt+K" << "K" << "O atalho Ctrl+Alt+K é o atalho para minimizar; o atalho de frase K ficou desativado.";
    QTest::newRow("wins over phrase Z") << "Ctrl+Alt+Z" << "Ctrl+Alt+Z" << "Z" << "O atalho Ctrl+Alt+Z é o atalho para minimizar; o atalho de frase Z ficou desativado.";
    // clang-format on
}

void TestWindowShortcuts::resolve()
{
    QFETCH(QString, stored);
    QFETCH(QString, phraseLeftOut);
    const WindowShortcuts::Resolution resolution =
        WindowShortcuts::resolve(ShortcutText::parse(stored));
    QTEST(resolution.minimize ? ShortcutText::format(*resolution.minimize) : QString(), "minimize");
    QCOMPARE(resolution.phraseLeftOut ? QString(*resolution.phraseLeftOut) : QString(),
             phraseLeftOut);
    QTEST(resolution.notice, "notice");
}

// One entry per combination, none on a phrase shortcut, each with what uses it.
void TestWindowShortcuts::fixedKeysAreDistinct()
{
    QSet<int> seen;
    for (const WindowShortcuts::Binding& binding : WindowShortcuts::fixed()) {
        QVERIFY2(!seen.contains(binding.keys.toCombined()),
                 qPrintable(ShortcutText::format(binding.keys)));
        seen.insert(binding.keys.toCombined());
        QVERIFY(!binding.usedBy.isEmpty());
        QCOMPARE(WindowShortcuts::usedBy(binding.keys), binding.usedBy);
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        QVERIFY(!seen.contains(WindowShortcuts::phrase(QLatin1Char(letter)).toCombined()));
    QCOMPARE(WindowShortcuts::phrase(QLatin1Char('K')), keys("Ctrl+Alt+K"));
}

QTEST_GUILESS_MAIN(TestWindowShortcuts)
#include "tst_windowshortcuts.moc"
