#include "window/TfrmMain.h"

#include <QAction>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QTreeView>

#include "chat/UserListModel.h"
#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/UserColumn.h"

namespace {

// The menu items that only operator mode shows.
const char* const OperatorItems[] = {"Moderar1", "Kill1", "AdicionarLista1", "Tags1", "Controle1"};

// A reason goes out inside one command line: a line break in it would start a second command.
QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

void TfrmMain::setupModeration()
{
    const struct
    {
        const char* name;
        void (TfrmMain::*handler)();
    } items[] = {
        {"Kickar1", &TfrmMain::Kickar1Click},   {"KickMotivo1", &TfrmMain::KickMotivo1Click},
        {"Banir1", &TfrmMain::Banir1Click},     {"BanMotivo1", &TfrmMain::BanMotivo1Click},
        {"Kill1", &TfrmMain::Kill1Click},       {"Whois1", &TfrmMain::Whois1Click},
        {"voice", &TfrmMain::voiceClick},       {"devoice", &TfrmMain::devoiceClick},
        {"Squelch1", &TfrmMain::Squelch1Click}, {"Unsquelch1", &TfrmMain::Unsquelch1Click},
        {"Usurios1", &TfrmMain::Usurios1Click}, {"Canais1", &TfrmMain::Canais1Click},
        {"Hora1", &TfrmMain::Hora1Click},       {"Moderar1", &TfrmMain::Moderar1Click},
        {"Rejoin1", &TfrmMain::Rejoin1Click},   {"Banidos1", &TfrmMain::Banidos1Click},
    };
    for (const auto& item : items) {
        auto handler = item.handler;
        connect(findChild<QAction*>(QLatin1String(item.name)), &QAction::triggered, this,
                guard([this, handler] { (this->*handler)(); }));
    }
    const QList<QAction*> tags = findChild<QMenu*>(QStringLiteral("Tags1"))->actions();
    for (QAction* tag : tags) {
        if (!tag->isSeparator())
            connect(tag, &QAction::triggered, this, guard([this, tag] { D2XP1Click(tag); }));
    }

    const struct
    {
        QToolButton* button;
        void (TfrmMain::*handler)();
    } buttons[] = {
        {m_chatColumn->btnTopGames, &TfrmMain::btnTopGamesClick},
        {m_chatColumn->btnTopGamesNorm, &TfrmMain::btnTopGamesNormClick},
        {m_chatColumn->btnTopGamesNM, &TfrmMain::btnTopGamesNMClick},
        {m_chatColumn->btnTopGamesHell, &TfrmMain::btnTopGamesHellClick},
        {m_chatColumn->btnTopCon, &TfrmMain::btnTopConClick},
        {m_chatColumn->btnTopConAll, &TfrmMain::btnTopConAllClick},
    };
    for (const auto& button : buttons) {
        auto handler = button.handler;
        connect(button.button, &QToolButton::clicked, this,
                guard([this, handler] { (this->*handler)(); }));
    }
    // A double click only: Enter in the list belongs to the default button.
    connect(m_userColumn->lstUsers, &QAbstractItemView::doubleClicked, this,
            guard([this] { lstUsersDblClick(); }));
}

void TfrmMain::enterOpMode()
{
    if (FOpMode)
        return;
    setWindowTitle(windowTitle() + QStringLiteral(" - [OP MODE]"));
    FOpMode = true;
    m_chatColumn->btnTopCon->show();
    m_chatColumn->btnTopConAll->show();
    m_userColumn->setCustomListVisible(true);
    for (const char* name : OperatorItems) {
        for (QAction* item : findChildren<QAction*>(QLatin1String(name)))
            item->setVisible(true);
    }
}

// The account selected in the user list; empty when none is.
QString TfrmMain::selectedUser() const
{
    const QModelIndexList rows =
        m_userColumn->lstUsers->selectionModel()->selectedRows(UserListModel::AccountColumn);
    if (rows.isEmpty())
        return QString();
    return m_users->at(rows.first().row()).account;
}

void TfrmMain::sendAboutUser(const QString& command)
{
    const QString user = selectedUser();
    if (!user.isEmpty())
        sendLine(command + QLatin1Char(' ') + user + QLatin1Char('\r'));
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::sendWithReason(const QString& command, const QString& title, const QString& prompt)
{
    const QString user = selectedUser();
    if (!user.isEmpty()) {
        const std::optional<QString> reason = m_prompts->inputBox(this, title, prompt, QString());
        if (reason && !reason->isEmpty())
            sendLine(command + QLatin1Char(' ') + user + QLatin1Char(' ') + oneLine(*reason) +
                     QLatin1Char('\r'));
    }
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::sendWhenLoggedIn(const QString& line, bool operatorOnly)
{
    if (loggedIn() && (FOpMode || !operatorOnly))
        sendLine(line);
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::Kickar1Click()
{
    sendAboutUser(QStringLiteral("/kick"));
}

void TfrmMain::KickMotivo1Click()
{
    sendWithReason(QStringLiteral("/kick"), QStringLiteral("Kick com motivo"),
                   QStringLiteral("Digite o motivo do kick:"));
}

void TfrmMain::Banir1Click()
{
    sendAboutUser(QStringLiteral("/ban"));
}

void TfrmMain::BanMotivo1Click()
{
    sendWithReason(QStringLiteral("/ban"), QStringLiteral("Ban com motivo"),
                   QStringLiteral("Digite o motivo do ban:"));
}

void TfrmMain::Kill1Click()
{
    const QString user = selectedUser();
    if (!user.isEmpty() && FOpMode &&
        m_prompts->question(this, QString(),
                            QStringLiteral("Esta ação irá desconectar o usuário do servidor.\n"
                                           "Tem certeza que deseja prosseguir?")))
        sendLine(QStringLiteral("/kill ") + user + QLatin1Char('\r'));
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::Whois1Click()
{
    sendAboutUser(QStringLiteral("/whois"));
}

void TfrmMain::voiceClick()
{
    if (FOpMode)
        sendAboutUser(QStringLiteral("/voice"));
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::devoiceClick()
{
    if (FOpMode)
        sendAboutUser(QStringLiteral("/devoice"));
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::Squelch1Click()
{
    sendAboutUser(QStringLiteral("/squelch"));
}

void TfrmMain::Unsquelch1Click()
{
    sendAboutUser(QStringLiteral("/unsquelch"));
}

// One handler for every "Tags" item: the menu may have given the caption an accelerator mark.
void TfrmMain::D2XP1Click(QAction* item)
{
    if (FOpMode)
        sendLine(QStringLiteral("/tag ") + item->text().remove(QLatin1Char('&')) +
                 QLatin1Char('\r'));
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::Usurios1Click()
{
    sendWhenLoggedIn(QStringLiteral("/users\r"));
}

void TfrmMain::Canais1Click()
{
    sendWhenLoggedIn(QStringLiteral("/chs all\r"));
}

void TfrmMain::Hora1Click()
{
    sendWhenLoggedIn(QStringLiteral("/time\r"));
}

void TfrmMain::Moderar1Click()
{
    sendWhenLoggedIn(QStringLiteral("/moderate\r"), true);
}

void TfrmMain::Rejoin1Click()
{
    sendWhenLoggedIn(QStringLiteral("/rejoin\r"));
}

void TfrmMain::Banidos1Click()
{
    sendWhenLoggedIn(QStringLiteral("/lusers\r"));
}

void TfrmMain::btnTopGamesClick()
{
    sendWhenLoggedIn(QStringLiteral("/games d2xp\r"));
}

void TfrmMain::btnTopGamesNormClick()
{
    sendWhenLoggedIn(QStringLiteral("/games d2xp norm\r"));
}

void TfrmMain::btnTopGamesNMClick()
{
    sendWhenLoggedIn(QStringLiteral("/games d2xp night\r"));
}

void TfrmMain::btnTopGamesHellClick()
{
    sendWhenLoggedIn(QStringLiteral("/games d2xp hell\r"));
}

void TfrmMain::btnTopConClick()
{
    sendWhenLoggedIn(QStringLiteral("/con\r"), true);
}

void TfrmMain::btnTopConAllClick()
{
    sendWhenLoggedIn(QStringLiteral("/con all\r"), true);
}

void TfrmMain::lstUsersDblClick()
{
    QLineEdit* txtMsg = m_bottomStrip->txtMsg;
    const QString user = selectedUser();
    if (QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier) && !user.isEmpty()) {
        txtMsg->setText(txtMsg->text() + user);
    } else if (!user.isEmpty()) {
        // Exact values only; anything else, a missing key included, squelches.
        const QString action = Settings::read(*FIni, Keys::Geral::User2x);
        if (action == QLatin1String("Kick"))
            Kickar1Click();
        else if (action == QLatin1String("Ban"))
            Banir1Click();
        else if (action == QLatin1String("Whois"))
            Whois1Click();
        else if (action == QLatin1String("KickMot"))
            KickMotivo1Click();
        else if (action == QLatin1String("BanMot"))
            BanMotivo1Click();
        else
            Squelch1Click();
    }
    txtMsg->setFocus();
    txtMsg->end(false);
}
