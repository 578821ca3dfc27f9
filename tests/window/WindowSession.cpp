#include "WindowSession.h"

#include "net/TGatewayChat.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("Senha=segredo"), QStringLiteral("[Aparencia]"),
                           QStringLiteral("HorarioMsg=0")};
} // namespace

WindowSession::WindowSession(const QString& section, const QStringList& keys)
    : h(Plain + QStringList{section} + keys)
{
    w = h.window.get();
}

bool WindowSession::connect()
{
    if (!h.connectToServer())
        return false;
    h.server.clearReceived(h.server.clientCount() - 1);
    return true;
}

QByteArray WindowSession::sentSoFar()
{
    const int client = h.server.clientCount() - 1;
    const QByteArray mark = "/marca " + QByteArray::number(++m_marks) + "\r";
    w->gatewayChat()->SendLine(QString::fromLatin1(mark));
    if (!h.server.waitForData(mark, 5000, client))
        return "(no marker)";
    QByteArray bytes = h.server.received(client);
    h.server.clearReceived(client);
    return bytes.left(bytes.size() - mark.size());
}
