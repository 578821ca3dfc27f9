#include "ServerFixture.h"

#include <QStringList>

#include "ChatServer.h"
#include "RawClient.h"

ServerOptions ServerFixture::quietOptions()
{
    ServerOptions options;
    options.port = 0;
    options.simulatedUsers = false;
    return options;
}

ServerFixture::ServerFixture() = default;

ServerFixture::~ServerFixture()
{
    m_ana.reset();
    m_bia.reset();
    m_server.reset();
}

bool ServerFixture::start(const ServerOptions& options)
{
    m_server = std::make_unique<ChatServer>(options);
    return m_server->listen();
}

bool ServerFixture::startWithTwo(const ServerOptions& options)
{
    if (!start(options))
        return false;
    m_ana = std::make_unique<RawClient>(port());
    m_bia = std::make_unique<RawClient>(port());
    if (!enter(*m_ana, QStringLiteral("ana")) || !enter(*m_bia, QStringLiteral("bia")))
        return false;
    const QStringList seen = m_ana->linesBeforeSync();
    return seen.size() == 1 && seen.first().startsWith(QStringLiteral("1002 JOIN bia "));
}

quint16 ServerFixture::port() const
{
    return m_server ? m_server->port() : 0;
}

bool ServerFixture::enter(RawClient& client, const QString& name)
{
    if (!client.login(name))
        return false;
    client.linesBeforeSync();
    return true;
}
