#include "window/TfrmMain.h"

#include <QLabel>

#include "chat/UserListModel.h"
#include "window/TfrmConectar.h"
#include "window/UserColumn.h"

// A line cut short ("1001" alone) names no account: nothing to list.
void TfrmMain::GatewayChat1ShowUser(const QString& User, const QString& Flags,
                                    const QString& UserType)
{
    if (User.isEmpty())
        return;
    m_users->addUser(User, Flags, UserType);
    updateChannelLabel();
}

void TfrmMain::GatewayChat1Join(const QString& User, const QString& Flags, const QString& UserType)
{
    if (User.isEmpty())
        return;
    m_users->addUser(User, Flags, UserType);
    updateChannelLabel();
}

void TfrmMain::GatewayChat1Leave(const QString& User, const QString&, const QString&)
{
    if (m_users->removeUser(User))
        updateChannelLabel();
}

void TfrmMain::GatewayChat1UserFlags(const QString& User, const QString& Flags)
{
    m_users->setUserFlags(User, Flags);
}

void TfrmMain::updateChannelLabel()
{
    m_userColumn->lblChannel->setText(FCanal + QStringLiteral(" (") +
                                      QString::number(m_users->count()) + QLatin1Char(')'));
}

QString TfrmMain::randomUser() const
{
    return m_users->randomUser();
}
