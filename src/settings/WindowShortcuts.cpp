#include "settings/WindowShortcuts.h"

#include "settings/ShortcutText.h"

namespace {

QKeyCombination ctrl(Qt::Key key)
{
    return QKeyCombination(Qt::ControlModifier, key);
}

QKeyCombination alt(Qt::Key key)
{
    return QKeyCombination(Qt::AltModifier, key);
}

QKeyCombination shift(Qt::Key key)
{
    return QKeyCombination(Qt::ShiftModifier, key);
}

QString phraseName(QChar letter)
{
    return QStringLiteral("pelo atalho de frase ") + letter;
}

// The letter of the phrase shortcut on the combination, if it is one.
std::optional<QChar> phraseLetter(QKeyCombination keys)
{
    if (keys.keyboardModifiers() != (Qt::ControlModifier | Qt::AltModifier) ||
        keys.key() < Qt::Key_A || keys.key() > Qt::Key_Z)
        return std::nullopt;
    return QChar(char16_t(keys.key()));
}

std::optional<QString> fixedHolder(QKeyCombination keys)
{
    for (const WindowShortcuts::Binding& binding : WindowShortcuts::fixed()) {
        if (binding.keys == keys)
            return binding.usedBy;
    }
    return std::nullopt;
}

} // namespace

QList<WindowShortcuts::Binding> WindowShortcuts::fixed()
{
    return {
        {ctrl(Qt::Key_N), QStringLiteral("pelo item \"Conectar\" do menu Opções")},
        {ctrl(Qt::Key_S), QStringLiteral("pelo item \"Configurar atalhos...\" do menu Opções")},
        {ctrl(Qt::Key_E), QStringLiteral("pelo item \"Limpar tela do chat\" do menu Opções")},
        {ctrl(Qt::Key_W), QStringLiteral("pelo item \"Limpar tela de whisps\" do menu Opções")},
        {ctrl(Qt::Key_O), QStringLiteral("pelo item \"Opções...\" do menu Opções")},
        {ctrl(Qt::Key_A), QStringLiteral("para selecionar todo o texto da tela")},
        {ctrl(Qt::Key_D), QStringLiteral("pelo item \"Adicionar Canal\" dos canais favoritos")},
        {ctrl(Qt::Key_F), QStringLiteral("para procurar na tela do chat")},
        {alt(Qt::Key_A), QStringLiteral("pelo menu \"Arquivo\"")},
        {alt(Qt::Key_O), QStringLiteral("pelo menu \"Opções\"")},
        {alt(Qt::Key_D), QStringLiteral("pelo menu \"Ajuda\"")},
        {alt(Qt::Key_M), QStringLiteral("pelo botão \"Emote\"")},
        {QKeyCombination(Qt::Key_F6), QStringLiteral("para passar à próxima área da janela")},
        {shift(Qt::Key_F6), QStringLiteral("para voltar à área anterior da janela")},
        {shift(Qt::Key_F10), QStringLiteral("para abrir o menu da lista ou da tela com o foco")},
    };
}

QKeyCombination WindowShortcuts::phrase(QChar letter)
{
    return QKeyCombination(Qt::ControlModifier | Qt::AltModifier,
                           Qt::Key(Qt::Key_A + (letter.unicode() - u'A')));
}

std::optional<QString> WindowShortcuts::usedBy(QKeyCombination keys)
{
    if (const std::optional<QString> holder = fixedHolder(keys))
        return holder;
    if (const std::optional<QChar> letter = phraseLetter(keys))
        return phraseName(*letter);
    return std::nullopt;
}

WindowShortcuts::Resolution WindowShortcuts::resolve(std::optional<QKeyCombination> minimize)
{
    Resolution resolution;
    if (!minimize)
        return resolution;
    const QString text = ShortcutText::format(*minimize);
    if (const std::optional<QString> holder = fixedHolder(*minimize)) {
        resolution.notice =
            QStringLiteral("O atalho %1 para minimizar já é usado %2; minimizar ficou sem atalho.")
                .arg(text, *holder);
        return resolution;
    }
    resolution.minimize = minimize;
    resolution.phraseLeftOut = phraseLetter(*minimize);
    if (resolution.phraseLeftOut)
        resolution.notice = QStringLiteral("O atalho %1 é o atalho para minimizar; o atalho de "
                                           "frase %2 ficou desativado.")
                                .arg(text, QString(*resolution.phraseLeftOut));
    return resolution;
}
