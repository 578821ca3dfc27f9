#include "window/TComandos.h"

#include <utility>

#include <QCheckBox>

#include "chat/ClientCommandLine.h"
#include "chat/UserListModel.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/SyncMessages.h"
#include "window/TLockWhisps.h"
#include "window/WindowContext.h"

namespace {
const QString AcsetSyntax = QStringLiteral("SINTAXE: /acset <opcao> <parametro>");
const QString HelpRule = QString(79, QLatin1Char('-'));
} // namespace

TComandos::TComandos(WindowContext& ctx, TLockWhisps* locks, SyncMessages* sync,
                     UserListModel* users, QCheckBox* chkAutoScroll, Hooks hooks)
    : m_ctx(ctx), m_locks(locks), m_sync(sync), m_users(users), chkAutoScroll(chkAutoScroll),
      m_hooks(std::move(hooks))
{
}

bool TComandos::analisar(const QString& line)
{
    const ClientCommandLine parsed = ClientCommandLine::parse(line);
    switch (parsed.command()) {
    case ClientCommandLine::Command::None:
        return false;
    case ClientCommandLine::Command::Lock:
        lockaWhisps(parsed.words());
        break;
    case ClientCommandLine::Command::AScroll:
        m_hooks.toggleAutoScroll();
        break;
    case ClientCommandLine::Command::AcSet:
        alteraOpcao(parsed.words());
        break;
    case ClientCommandLine::Command::OpMode:
        ativaOpMode();
        break;
    case ClientCommandLine::Command::AcHelp:
        mostraAjuda(parsed.words());
        break;
    }
    return true;
}

void TComandos::report(const QString& text, int style)
{
    ChatView* txtChat = m_ctx.chatPane();
    txtChat->appendLine(text, style);
    txtChat->reformat();
}

void TComandos::lockaWhisps(const QStringList& words)
{
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (m_locks->getNumLocks() >= TLockWhisps::MaxLocks)
            break;
        m_locks->addLock(words.at(i));
    }
}

void TComandos::alteraOpcao(const QStringList& words)
{
    if (words.size() < 2) {
        report(AcsetSyntax, StyleTable::Info);
        return;
    }
    if (ClientCommandLine::upperWord(words, 1) != QLatin1String("STIMERS"))
        return;
    // "stimers" alone names no state to switch to: the same answer as a bare "/acset".
    if (words.size() < 3) {
        report(AcsetSyntax, StyleTable::Info);
        return;
    }
    const QString state = ClientCommandLine::upperWord(words, 2);
    if (state == QLatin1String("ON") && m_ctx.loggedIn()) {
        m_sync->startSyncMessages();
        Settings::write(*m_ctx.settings(), Keys::Timers::TimersOn, true);
        report(QStringLiteral("Timers sincronizados ATIVADOS"), StyleTable::Info);
    } else if (state == QLatin1String("OFF")) {
        m_sync->stopSyncMessages();
        Settings::write(*m_ctx.settings(), Keys::Timers::TimersOn, false);
        report(QStringLiteral("Timers sincronizados DESATIVADOS"), StyleTable::Info);
    } else {
        report(QStringLiteral("Você deve estar logado para usar este comando!"), StyleTable::Erro);
    }
}

void TComandos::ativaOpMode()
{
    if (!m_ctx.loggedIn() || m_hooks.opMode())
        return;
    const UserEntry* own = m_users->find(m_ctx.login());
    if (!own || (own->flags != QLatin1String("0008") && own->flags != QLatin1String("0001")))
        return;
    m_hooks.enterOpMode();
    report(QStringLiteral("MODO OPERADOR ATIVADO"), StyleTable::Info);
}

void TComandos::helpLine(const QString& text)
{
    m_ctx.chatPane()->appendLine(text, StyleTable::Acc);
}

void TComandos::helpEntry(const QString& syntax, int tabs, const QString& description)
{
    ChatView* txtChat = m_ctx.chatPane();
    txtChat->appendLine(syntax, StyleTable::Acc);
    for (int i = 0; i < tabs; ++i)
        txtChat->appendTab(StyleTable::Acc);
    txtChat->appendText(description, StyleTable::Acc);
}

void TComandos::mostraAjuda(const QStringList& words)
{
    ChatView* txtChat = m_ctx.chatPane();
    txtChat->appendLine(QString(), -1);
    if (words.size() < 2) {
        helpLine(QStringLiteral("TULMO CHAT 1.5 BETA - LISTA DE COMANDOS"));
        helpLine(HelpRule);
        helpEntry(QStringLiteral("/lock <acc1> ... [acc5]"), 3,
                  QStringLiteral("- locka whisp com até 5 accounts especificadas"));
        helpEntry(QStringLiteral("/ascroll"), 5,
                  QStringLiteral("- habilita / desabilita a rolagem automática do chat"));
        helpEntry(QStringLiteral("/acset <opcao> <param>"), 3,
                  QStringLiteral("- altera uma opção do programa"));
        helpEntry(QStringLiteral("/achelp [comando]"), 4,
                  QStringLiteral("- lista de comandos do Tulmo Chat"));
    } else {
        const QString topic = ClientCommandLine::upperWord(words, 1);
        if (topic == QLatin1String("ACSET")) {
            helpLine(QStringLiteral("HELP - COMANDO ACSET"));
            helpLine(HelpRule);
            helpLine(QStringLiteral("DESCRIÇÃO: altera uma opção do programa"));
            helpLine(AcsetSyntax);
            txtChat->appendLine(QString(), -1);
            helpEntry(QStringLiteral("/acset stimers on/off"), 3,
                      QStringLiteral("- liga / desliga os timers sincronizados"));
        } else if (topic == QLatin1String("LOCK")) {
            helpLine(QStringLiteral("HELP - COMANDO LOCK"));
            helpLine(HelpRule);
            helpLine(QStringLiteral("DESCRIÇÃO: locka whisp com até 5 accounts especificadas"));
            helpLine(QStringLiteral("SINTAXE: /lock <acc1> [acc2] ... [acc5]"));
        } else if (topic == QLatin1String("ASCROLL")) {
            helpLine(QStringLiteral("HELP - COMANDO ASCROLL"));
            helpLine(HelpRule);
            helpLine(
                QStringLiteral("DESCRIÇÃO: habilita / desabilita a rolagem automática do chat"));
            helpLine(QStringLiteral("SINTAXE: /ascroll"));
        } else {
            txtChat->appendLine(QStringLiteral("Comando inexistente no Tulmo Chat!"),
                                StyleTable::Erro);
        }
    }
    txtChat->appendLine(QString(), -1);
    txtChat->reformat();
    if (chkAutoScroll->isChecked())
        txtChat->scrollToBottom();
}
