#include "WindowHarness.h"

#include <QFile>
#include <QSystemTrayIcon>
#include <QTest>

#include "core/Cp1252.h"
#include "net/GatewayProtocol.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"
#include "view/ChatDocument.h"
#include "view/ChatView.h"
#include "window/AutoLogs.h"
#include "window/ConnectionControl.h"
#include "window/TfrmConectar.h"
#include "window/TfrmMain.h"
#include "window/TulmoApplication.h"

WindowHarness::WindowHarness(const QStringList& ini)
{
    TulmoApplication::registerFonts();
    if (!ini.isEmpty()) {
        QFile file(path(QStringLiteral("confs.ini")));
        if (file.open(QIODevice::WriteOnly))
            file.write((ini.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    }
    QObject::connect(&server, &FakeServer::bytesReceived, [this](int i) { confirmLogin(i); });
    open();
}

void WindowHarness::confirmLogin(int client)
{
    if (!confirmLogins || m_confirmed.contains(client))
        return;
    // The login is 0x03 0x04 name CR password CR CR, in one send.
    const QByteArray bytes = server.received(client);
    const QByteArray prefix = QByteArray(GatewayProtocol::LoginPrefix.data());
    if (!bytes.startsWith(prefix) || bytes.count('\r') < 3)
        return;
    m_confirmed << client;
    const QByteArray name = bytes.mid(prefix.size(), bytes.indexOf('\r') - prefix.size());
    server.sendLine(QStringLiteral("2010 NAME ") + Cp1252::decode(name.data(), name.size()),
                    client);
}

WindowHarness::~WindowHarness()
{
    window.reset();
}

void WindowHarness::open()
{
    window = std::make_unique<TfrmMain>(dir.path(), &prompts);
    window->setShell(&shell);
    window->chatInterface()->Port = server.port();
    window->gatewayChat()->setFloodInterval(20);
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the main window was not exposed");
    // Lines of earlier windows on the folder come back at the head of the panes once read; like
    // the start lines, they are none of what a test causes.
    const AutoLogs* logs = window->feature<AutoLogs>();
    if (!QTest::qWaitFor([logs] { return !logs->historyPending(); }))
        qWarning("the automatic logs did not read their history");
    startLines.clear();
    ChatView* chat = window->chatPane();
    for (int back = paragraphs(chat) - chat->document().historyCount() - 1; back >= 0; --back)
        startLines << lastPieces(chat, back);
    chat->clearView();
    if (window->whisperPane()->document().historyCount() > 0)
        window->whisperPane()->clearView();
}

void WindowHarness::close()
{
    window->close();
    window.reset();
}

bool WindowHarness::connectToServer()
{
    const int clients = server.clientCount();
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    if (!server.waitForClient(clients + 1))
        return false;
    if (!server.waitForBytes(2, 5000, clients) ||
        !QTest::qWaitFor([this] { return window->loggedIn(); }))
        return false;
    // The waiting dialog closes at its next tick and gives the window back its input.
    if (!QTest::qWaitFor(
            [this] { return window->feature<ConnectionControl>()->connectDialog() == nullptr; },
            3000))
        return false;
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    return QTest::qWaitForWindowActive(window.get());
}

bool WindowHarness::serverLine(const QString& line)
{
    const int client = server.clientCount() - 1;
    const QString mark = QStringLiteral("marca %1").arg(++m_marks);
    server.sendLine(line, client);
    server.sendLine(QStringLiteral("1018 INFO \"%1\"").arg(mark), client);
    return QTest::qWaitFor([&] { return lastText(window->chatPane()) == mark; });
}

QString WindowHarness::path(const QString& name) const
{
    return dir.filePath(name);
}

QString WindowHarness::iniText() const
{
    QFile file(path(QStringLiteral("confs.ini")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll());
}

int WindowHarness::paragraphs(const ChatView* pane)
{
    return pane->document().paragraphCount();
}

QString WindowHarness::lastText(const ChatView* pane, int back)
{
    const int p = paragraphs(pane) - 1 - back;
    return p < 0 ? QString() : pane->document().paragraphText(p);
}

QStringList WindowHarness::lastPieces(const ChatView* pane, int back)
{
    QStringList result;
    const int p = paragraphs(pane) - 1 - back;
    if (p < 0)
        return result;
    for (const ChatPiece& piece : pane->document().pieces(p)) {
        if (!piece.text.isEmpty())
            result << piece.text + QLatin1Char('|') + QString::number(piece.style);
    }
    return result;
}

bool WindowHarness::settle(TfrmMain* window)
{
    bool reached = false;
    QMetaObject::invokeMethod(
        window, [&reached] { reached = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([&reached] { return reached; });
}

QSystemTrayIcon* WindowHarness::trayIcon(TfrmMain* window)
{
    return window->findChild<QSystemTrayIcon*>(QStringLiteral("Tray"));
}
