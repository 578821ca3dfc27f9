#include "window/TfrmMain.h"

#include <QLabel>

#include "window/TfrmConectar.h"
#include "chat/UserListModel.h"

void TfrmMain::GatewayChat1ShowUser(const QString& User, const QString& Flags,
                                    const QString& UserType)
{
    m_users->addUser(User, Flags, UserType);
    atualizaCanal();
}

void TfrmMain::GatewayChat1Join(const QString& User, const QString& Flags, const QString& UserType)
{
    m_users->addUser(User, Flags, UserType);
    atualizaCanal();
}

void TfrmMain::GatewayChat1Leave(const QString& User, const QString&, const QString&)
{
    if (m_users->removeUser(User))
        atualizaCanal();
}

void TfrmMain::GatewayChat1UserFlags(const QString& User, const QString& Flags)
{
    m_users->setUserFlags(User, Flags);
}

void TfrmMain::atualizaCanal()
{
    lblChannel->setText(FCanal + QStringLiteral(" (") + QString::number(m_users->count()) +
                        QLatin1Char(')'));
}

QString TfrmMain::randomUser() const
{
    return m_users->randomUser();
}
