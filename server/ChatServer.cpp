#include "ChatServer.h"

#include <algorithm>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include "CommandInterpreter.h"
#include "Hub.h"
#include "Protocol.h"
#include "Session.h"
#include "SimulatedUsers.h"
#include "net/GatewayProtocol.h"

namespace {

constexpr int MaxNameLength = 24;

const QString ServerFull = QStringLiteral("O servidor está lotado; tente mais tarde.");

// A name travels as one blank-separated field, so blanks, quotes and control characters would
// break every line that carries it.
bool validName(const QString& name)
{
    if (name.isEmpty() || name.size() > MaxNameLength)
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u == 0x7f || u == '"' || (u >= 0x80 && u < 0xa0))
            return false;
    }
    return true;
}

} // namespace

ChatServer::ChatServer(const ServerOptions& options, QObject* parent)
    : QObject(parent), m_options(options), m_server(new QTcpServer(this)),
      m_hub(std::make_unique<Hub>(options)),
      m_commands(std::make_unique<CommandInterpreter>(*m_hub))
{
    m_clock.start();
    connect(m_server, &QTcpServer::newConnection, this, &ChatServer::acceptClients);
}

ChatServer::~ChatServer()
{
    m_simulated.reset();
    for (Session* session : m_sessions) {
        session->OnClosed = nullptr;
        m_hub->removeMember(session);
    }
}

bool ChatServer::listen()
{
    if (!m_server->listen(m_options.address, m_options.port))
        return false;
    if (m_options.simulatedUsers && !m_simulated) {
        m_simulated = std::make_unique<SimulatedUsers>(*m_hub, m_options.botIntervalMs);
        m_simulated->start();
    }
    return true;
}

QString ChatServer::errorString() const
{
    return m_server->errorString();
}

quint16 ChatServer::port() const
{
    return m_server->serverPort();
}

void ChatServer::acceptClients()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        // Counted before the newcomer joins the list, which holds it as logging in.
        const bool full = loggedInCount() >= m_options.maxClients;
        const bool crowded = loggingInCount() >= m_options.maxAnonymous;
        const bool crowdedHere =
            loggingInCountFrom(socket->peerAddress()) >= m_options.maxAnonymousPerAddress;
        auto* session = new Session(socket, m_options, this);
        session->OnLine = [this](Session* s, const QString& line) { lineFrom(s, line); };
        session->OnLinesDropped = [this](Session* s, int count) { linesDropped(s, count); };
        session->OnClosed = [this](Session* s) { sessionClosed(s); };
        m_sessions.append(session);
        if (full)
            session->closeWithError(ServerFull);
        else if (crowded)
            session->closeWithError(
                QStringLiteral("Conexões demais aguardando login; tente mais tarde."));
        else if (crowdedHere)
            session->closeWithError(QStringLiteral(
                "Conexões demais aguardando login deste endereço; tente mais tarde."));
    }
}

int ChatServer::loggedInCount() const
{
    return int(std::count_if(m_sessions.cbegin(), m_sessions.cend(), [](const Session* s) {
        return s->state() == Session::State::LoggedIn;
    }));
}

int ChatServer::loggingInCount() const
{
    return int(std::count_if(m_sessions.cbegin(), m_sessions.cend(),
                             [](const Session* s) { return s->isLoggingIn(); }));
}

int ChatServer::loggingInCountFrom(const QHostAddress& host) const
{
    return int(std::count_if(m_sessions.cbegin(), m_sessions.cend(), [&host](const Session* s) {
        return s->isLoggingIn() && s->peerHost() == host;
    }));
}

void ChatServer::lineFrom(Session* session, const QString& line)
{
    switch (session->state()) {
    case Session::State::AwaitingName:
        takeName(session, line);
        break;
    case Session::State::AwaitingPassword:
        // Any password is accepted.
        finishLogin(session);
        break;
    case Session::State::LoggedIn:
        if (admitLine(session))
            m_commands->run(session, line);
        break;
    case Session::State::Closed:
        break;
    }
}

bool ChatServer::admitLine(Session* session)
{
    switch (session->admitLine(m_clock.elapsed())) {
    case FloodGate::Verdict::Pass:
        return true;
    case FloodGate::Verdict::Drop:
        return false;
    case FloodGate::Verdict::DropAndNotify:
        session->deliver(Protocol::error(QStringLiteral(
            "Linhas demais em pouco tempo; as excedentes estão sendo descartadas.")));
        return false;
    case FloodGate::Verdict::Disconnect:
        session->closeWithError(QStringLiteral("Desconectado por excesso de linhas (flood)."));
        return false;
    }
    return false;
}

void ChatServer::linesDropped(Session* session, int count)
{
    if (session->state() != Session::State::LoggedIn) {
        session->closeWithError(QStringLiteral("Login inválido."));
        return;
    }
    session->deliver(
        Protocol::error(QStringLiteral("Linha longa demais (mais de %1 bytes); %2 descartada(s).")
                            .arg(m_options.maxLineBytes)
                            .arg(count)));
}

void ChatServer::takeName(Session* session, const QString& line)
{
    // The login opens with the bytes 0x03 0x04 (they may be left out).
    const QString name = line.startsWith(GatewayProtocol::LoginPrefix)
                             ? line.mid(GatewayProtocol::LoginPrefix.size())
                             : line;
    if (name.isEmpty()) {
        session->closeWithError(QStringLiteral("Nome de conta vazio."));
        return;
    }
    if (!validName(name)) {
        session->closeWithError(QStringLiteral("Nome de conta inválido."));
        return;
    }
    if (m_hub->find(name)) {
        session->closeWithError(QStringLiteral("A conta %1 já está conectada.").arg(name));
        return;
    }
    session->setName(name);
    session->setState(Session::State::AwaitingPassword);
}

void ChatServer::finishLogin(Session* session)
{
    // Several connections may have been let in while places were free.
    if (loggedInCount() >= m_options.maxClients) {
        session->closeWithError(ServerFull);
        return;
    }
    // Two logins with one name may both have passed the name check.
    if (m_hub->find(session->name())) {
        session->closeWithError(
            QStringLiteral("A conta %1 já está conectada.").arg(session->name()));
        return;
    }
    session->setState(Session::State::LoggedIn);
    session->setPrivilege(privilegeFor(session->name()));
    m_hub->addMember(session);
    session->deliver(Protocol::uniqueName(session->name()));
    if (m_hub->join(session, m_options.homeChannel) != Hub::JoinResult::Joined)
        m_hub->enterVoid(session);
    session->deliver(
        Protocol::info(QStringLiteral("Bem-vindo ao servidor de teste do Tulmo Chat!")));
    session->deliver(Protocol::info(QStringLiteral("Digite /help para ver os comandos.")));
}

void ChatServer::sessionClosed(Session* session)
{
    m_hub->removeMember(session);
    m_sessions.removeAll(session);
    session->dispose();
}

int ChatServer::privilegeFor(const QString& name) const
{
    if (m_options.admins.contains(name, Qt::CaseInsensitive))
        return Member::AdminFlag;
    if (m_options.moderators.contains(name, Qt::CaseInsensitive))
        return Member::ModeratorFlag;
    if (m_options.operators.contains(name, Qt::CaseInsensitive))
        return Member::OperatorFlag;
    return 0;
}
