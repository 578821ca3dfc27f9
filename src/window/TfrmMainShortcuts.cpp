#include "window/TfrmMain.h"

#include <QAction>
#include <QLineEdit>

#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "tools/TfrmAtalhos.h"
#include "window/BottomStrip.h"

void TfrmMain::setupShortcuts()
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        auto* action = findChild<QAction*>(QStringLiteral("atalho") + QLatin1Char(letter));
        connect(action, &QAction::triggered, this, guard([this, action] { execAtalho(action); }));
    }
    connect(mnuConfigAtalhos, &QAction::triggered, this,
            guard([this] { mnuConfigAtalhosClick(); }));
}

// The binding is read at each press, so a change made in the dialog works at once.
void TfrmMain::execAtalho(QAction* Sender)
{
    QLineEdit* txtMsg = m_bottomStrip->txtMsg;
    const QChar letter = Sender->text().at(0);
    const QString text = Settings::read(*FIni, Keys::Atalhos::Atalho(letter));
    if (!text.isEmpty()) {
        if (!Settings::read(*FIni, Keys::Atalhos::AtalhoSend(letter))) {
            txtMsg->end(false);
            txtMsg->insert(text);
        } else if (loggedIn()) {
            sendLine(text + QLatin1Char('\r'));
            if (!text.startsWith(QLatin1Char('/')))
                mensagem(login(), text);
        } else if (holdsBackLine()) {
            return;
        }
        // Otherwise there is no connection: the phrase cannot go out, so it is not shown as
        // sent either.
    }
    txtMsg->setFocus();
}

void TfrmMain::mnuConfigAtalhosClick()
{
    chatPane()->setFocus();
    TfrmAtalhos dialog(m_folder + QStringLiteral("confs.ini"), *m_prompts, this);
    m_prompts->exec(dialog);
    m_bottomStrip->txtMsg->setFocus();
}
