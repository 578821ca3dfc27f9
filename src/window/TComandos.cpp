#include "window/TComandos.h"

#include <QAction>
#include <QCheckBox>
#include <QTimer>
#include <QToolButton>

#include "chat/ClientCommandLine.h"
#include "chat/UserListModel.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/ChatColumn.h"
#include "window/SyncMessages.h"
#include "window/TLockWhisps.h"
#include "window/TfrmMain.h"
#include "window/UserColumn.h"

namespace {
const QString AcsetSyntax = QStringLiteral("SINTAXE: /acset <opcao> <parametro>");
const QString HelpRule = QString(79, QLatin1Char('-'));
} // namespace

TComandos::TComandos(TfrmMain* window) : m_window(window) {}

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
        m_window->lblAutoScrollClick();
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
    ChatView* txtChat = m_window->chatPane();
    txtChat->appendLine(text, style);
    txtChat->reformat();
}

void TComandos::lockaWhisps(const QStringList& words)
{
    TLockWhisps* locks = m_window->FLockWhisps;
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (locks->getNumLocks() >= TLockWhisps::MaxLocks)
            break;
        locks->addLock(words.at(i));
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
    if (state == QLatin1String("ON") && m_window->loggedIn()) {
        m_window->m_sync->startSyncMessages();
        Settings::write(*m_window->FIni, Keys::Timers::TimersOn, true);
        report(QStringLiteral("Timers sincronizados ATIVADOS"), StyleTable::Info);
    } else if (state == QLatin1String("OFF")) {
        m_window->m_sync->stopSyncMessages();
        Settings::write(*m_window->FIni, Keys::Timers::TimersOn, false);
        report(QStringLiteral("Timers sincronizados DESATIVADOS"), StyleTable::Info);
    } else {
        report(QStringLiteral("Você deve estar logado para usar este comando!"), StyleTable::Erro);
    }
}

void TComandos::ativaOpMode()
{
    if (!m_window->loggedIn() || m_window->FOpMode)
        return;
    const UserEntry* own = m_window->m_users->find(m_window->FLogin);
    if (!own || (own->flags != QLatin1String("0008") && own->flags != QLatin1String("0001")))
        return;
    m_window->enterOpMode();
    report(QStringLiteral("MODO OPERADOR ATIVADO"), StyleTable::Info);
}

void TComandos::helpLine(const QString& text)
{
    m_window->chatPane()->appendLine(text, StyleTable::Acc);
}

void TComandos::helpEntry(const QString& syntax, int tabs, const QString& description)
{
    ChatView* txtChat = m_window->chatPane();
    txtChat->appendLine(syntax, StyleTable::Acc);
    for (int i = 0; i < tabs; ++i)
        txtChat->appendTab(StyleTable::Acc);
    txtChat->appendText(description, StyleTable::Acc);
}

void TComandos::mostraAjuda(const QStringList& words)
{
    ChatView* txtChat = m_window->chatPane();
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
    if (m_window->m_chatColumn->chkAutoScroll->isChecked())
        txtChat->scrollToBottom();
}
