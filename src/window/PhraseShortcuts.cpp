#include "window/PhraseShortcuts.h"

#include <QAction>
#include <QLineEdit>

#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "tools/TfrmAtalhos.h"
#include "view/ChatView.h"
#include "window/WindowContext.h"

PhraseShortcuts::PhraseShortcuts(WindowContext& ctx, const QList<QAction*>& atalhos,
                                 QAction* mnuConfigAtalhos, QLineEdit* txtMsg, QObject* parent)
    : QObject(parent), m_ctx(ctx), txtMsg(txtMsg)
{
    setObjectName(QStringLiteral("PhraseShortcuts"));
    for (QAction* action : atalhos)
        connect(action, &QAction::triggered, this,
                m_ctx.guard([this, action] { execAtalho(action); }));
    connect(mnuConfigAtalhos, &QAction::triggered, this,
            m_ctx.guard([this] { mnuConfigAtalhosClick(); }));
}

// The binding is read at each press, so a change made in the dialog works at once.
void PhraseShortcuts::execAtalho(QAction* Sender)
{
    const QChar letter = Sender->text().at(0);
    const QString text = Settings::read(*m_ctx.settings(), Keys::Atalhos::Atalho(letter));
    if (!text.isEmpty()) {
        if (!Settings::read(*m_ctx.settings(), Keys::Atalhos::AtalhoSend(letter))) {
            txtMsg->end(false);
            txtMsg->insert(text);
        } else if (m_ctx.loggedIn()) {
            m_ctx.sendLine(text + QLatin1Char('\r'));
            if (!text.startsWith(QLatin1Char('/')))
                m_ctx.mensagem(m_ctx.login(), text);
        } else if (m_ctx.holdsBackLine()) {
            return;
        }
        // Otherwise there is no connection: the phrase cannot go out, so it is not shown as
        // sent either.
    }
    txtMsg->setFocus();
}

void PhraseShortcuts::mnuConfigAtalhosClick()
{
    m_ctx.chatPane()->setFocus();
    TfrmAtalhos dialog(m_ctx.settingsFolder() + QStringLiteral("confs.ini"), m_ctx.prompts(),
                       m_ctx.dialogParent());
    m_ctx.prompts().exec(dialog);
    txtMsg->setFocus();
}
