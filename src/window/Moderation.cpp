#include "window/Moderation.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QTreeView>

#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "window/ChatColumn.h"
#include "window/UserColumn.h"
#include "window/WindowContext.h"
#include "window/WindowTitle.h"

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

Moderation::Moderation(WindowContext& ctx, QWidget* window, WindowTitle* title, QMenu* popUsers,
                       QMenu* popChat, ChatColumn* chatColumn, UserColumn* userColumn,
                       QLineEdit* txtMsg)
    : QObject(window), m_ctx(ctx), m_title(title), popUsers(popUsers), popChat(popChat),
      m_chatColumn(chatColumn), m_userColumn(userColumn), txtMsg(txtMsg)
{
    setObjectName(QStringLiteral("Moderation"));
    setupModeration();
}

// The item of either menu by its name.
QAction* Moderation::item(const char* name) const
{
    if (auto* found = popUsers->findChild<QAction*>(QLatin1String(name)))
        return found;
    return popChat->findChild<QAction*>(QLatin1String(name));
}

void Moderation::setupModeration()
{
    const struct
    {
        const char* name;
        void (Moderation::*handler)();
    } items[] = {
        {"Kickar1", &Moderation::Kickar1Click},   {"KickMotivo1", &Moderation::KickMotivo1Click},
        {"Banir1", &Moderation::Banir1Click},     {"BanMotivo1", &Moderation::BanMotivo1Click},
        {"Kill1", &Moderation::Kill1Click},       {"Whois1", &Moderation::Whois1Click},
        {"voice", &Moderation::voiceClick},       {"devoice", &Moderation::devoiceClick},
        {"Squelch1", &Moderation::Squelch1Click}, {"Unsquelch1", &Moderation::Unsquelch1Click},
        {"Usurios1", &Moderation::Usurios1Click}, {"Canais1", &Moderation::Canais1Click},
        {"Hora1", &Moderation::Hora1Click},       {"Moderar1", &Moderation::Moderar1Click},
        {"Rejoin1", &Moderation::Rejoin1Click},   {"Banidos1", &Moderation::Banidos1Click},
    };
    for (const auto& entry : items) {
        auto handler = entry.handler;
        connect(item(entry.name), &QAction::triggered, this,
                m_ctx.guard([this, handler] { (this->*handler)(); }));
    }
    const QList<QAction*> tags = popUsers->findChild<QMenu*>(QStringLiteral("Tags1"))->actions();
    for (QAction* tag : tags) {
        if (!tag->isSeparator())
            connect(tag, &QAction::triggered, this, m_ctx.guard([this, tag] { D2XP1Click(tag); }));
    }

    const struct
    {
        QToolButton* button;
        void (Moderation::*handler)();
    } buttons[] = {
        {m_chatColumn->btnTopGames, &Moderation::btnTopGamesClick},
        {m_chatColumn->btnTopGamesNorm, &Moderation::btnTopGamesNormClick},
        {m_chatColumn->btnTopGamesNM, &Moderation::btnTopGamesNMClick},
        {m_chatColumn->btnTopGamesHell, &Moderation::btnTopGamesHellClick},
        {m_chatColumn->btnTopCon, &Moderation::btnTopConClick},
        {m_chatColumn->btnTopConAll, &Moderation::btnTopConAllClick},
    };
    for (const auto& button : buttons) {
        auto handler = button.handler;
        connect(button.button, &QToolButton::clicked, this,
                m_ctx.guard([this, handler] { (this->*handler)(); }));
    }
    // A double click only: Enter in the list belongs to the default button.
    connect(m_userColumn->lstUsers, &QAbstractItemView::doubleClicked, this,
            m_ctx.guard([this] { lstUsersDblClick(); }));
}

void Moderation::enterOpMode()
{
    if (FOpMode)
        return;
    m_title->setOpMode();
    FOpMode = true;
    m_chatColumn->btnTopCon->show();
    m_chatColumn->btnTopConAll->show();
    m_userColumn->setCustomListVisible(true);
    for (const char* name : OperatorItems) {
        for (QMenu* menu : {popUsers, popChat}) {
            for (QAction* found : menu->findChildren<QAction*>(QLatin1String(name)))
                found->setVisible(true);
        }
    }
}

void Moderation::sendAboutUser(const QString& command)
{
    const QString user = m_ctx.selectedUser();
    if (!user.isEmpty())
        m_ctx.sendLine(command + QLatin1Char(' ') + user + QLatin1Char('\r'));
    txtMsg->setFocus();
}

void Moderation::sendWithReason(const QString& command, const QString& title, const QString& prompt)
{
    const QString user = m_ctx.selectedUser();
    if (!user.isEmpty()) {
        const std::optional<QString> reason =
            m_ctx.prompts().inputBox(m_ctx.dialogParent(), title, prompt, QString());
        if (reason && !reason->isEmpty())
            m_ctx.sendLine(command + QLatin1Char(' ') + user + QLatin1Char(' ') + oneLine(*reason) +
                           QLatin1Char('\r'));
    }
    txtMsg->setFocus();
}

void Moderation::sendWhenLoggedIn(const QString& line, bool operatorOnly)
{
    if (m_ctx.loggedIn() && (FOpMode || !operatorOnly))
        m_ctx.sendLine(line);
    txtMsg->setFocus();
}

void Moderation::Kickar1Click()
{
    sendAboutUser(QStringLiteral("/kick"));
}

void Moderation::KickMotivo1Click()
{
    sendWithReason(QStringLiteral("/kick"), QStringLiteral("Kick com motivo"),
                   QStringLiteral("Digite o motivo do kick:"));
}

void Moderation::Banir1Click()
{
    sendAboutUser(QStringLiteral("/ban"));
}

void Moderation::BanMotivo1Click()
{
    sendWithReason(QStringLiteral("/ban"), QStringLiteral("Ban com motivo"),
                   QStringLiteral("Digite o motivo do ban:"));
}

void Moderation::Kill1Click()
{
    const QString user = m_ctx.selectedUser();
    if (!user.isEmpty() && FOpMode &&
        m_ctx.prompts().question(m_ctx.dialogParent(), QString(),
                                 QStringLiteral("Esta ação irá desconectar o usuário do servidor.\n"
                                                "Tem certeza que deseja prosseguir?")))
        m_ctx.sendLine(QStringLiteral("/kill ") + user + QLatin1Char('\r'));
    txtMsg->setFocus();
}

void Moderation::Whois1Click()
{
    sendAboutUser(QStringLiteral("/whois"));
}

void Moderation::voiceClick()
{
    if (FOpMode)
        sendAboutUser(QStringLiteral("/voice"));
    txtMsg->setFocus();
}

void Moderation::devoiceClick()
{
    if (FOpMode)
        sendAboutUser(QStringLiteral("/devoice"));
    txtMsg->setFocus();
}

void Moderation::Squelch1Click()
{
    sendAboutUser(QStringLiteral("/squelch"));
}

void Moderation::Unsquelch1Click()
{
    sendAboutUser(QStringLiteral("/unsquelch"));
}

// One handler for every "Tags" item: the menu may have given the caption an accelerator mark.
void Moderation::D2XP1Click(QAction* item)
{
    if (FOpMode)
        m_ctx.sendLine(QStringLiteral("/tag ") + item->text().remove(QLatin1Char('&')) +
                       QLatin1Char('\r'));
    txtMsg->setFocus();
}

void Moderation::Usurios1Click()
{
    sendWhenLoggedIn(QStringLiteral("/users\r"));
}

void Moderation::Canais1Click()
{
    sendWhenLoggedIn(QStringLiteral("/chs all\r"));
}

void Moderation::Hora1Click()
{
    sendWhenLoggedIn(QStringLiteral("/time\r"));
}

void Moderation::Moderar1Click()
{
    sendWhenLoggedIn(QStringLiteral("/moderate\r"), true);
}

void Moderation::Rejoin1Click()
{
    sendWhenLoggedIn(QStringLiteral("/rejoin\r"));
}

void Moderation::Banidos1Click()
{
    sendWhenLoggedIn(QStringLiteral("/lusers\r"));
}

void Moderation::btnTopGamesClick()
{
    sendWhenLoggedIn(QStringLiteral("/games d2xp\r"));
}

void Moderation::btnTopGamesNormClick()
{
    sendWhenLoggedIn(QStringLiteral("/games d2xp norm\r"));
}

void Moderation::btnTopGamesNMClick()
{
    sendWhenLoggedIn(QStringLiteral("/games d2xp night\r"));
}

void Moderation::btnTopGamesHellClick()
{
    sendWhenLoggedIn(QStringLiteral("/games d2xp hell\r"));
}

void Moderation::btnTopConClick()
{
    sendWhenLoggedIn(QStringLiteral("/con\r"), true);
}

void Moderation::btnTopConAllClick()
{
    sendWhenLoggedIn(QStringLiteral("/con all\r"), true);
}

void Moderation::lstUsersDblClick()
{
    const QString user = m_ctx.selectedUser();
    if (QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier) && !user.isEmpty()) {
        txtMsg->setText(txtMsg->text() + user);
    } else if (!user.isEmpty()) {
        // Exact values only; anything else, a missing key included, squelches.
        const QString action = Settings::read(*m_ctx.settings(), Keys::Geral::User2x);
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
