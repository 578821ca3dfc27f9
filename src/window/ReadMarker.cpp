#include "window/ReadMarker.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "view/ChatView.h"
#include "window/WindowContext.h"

// When the user looks away (the program loses the focus or goes to the tray), the channel pane
// marks its last paragraph, so that lines arriving meanwhile stand out below a thin line. The
// line stays until the window has had the focus for ReadMarkerDelayMs without a break: a glance
// at the window does not take it away. A dialog of the window taking the focus (the connect
// dialog, the options, a message box) is no looking away: the user is still with the program.

namespace {
constexpr int ReadMarkerDelayMs = 3000;

// The active window is the main window or one of its own dialogs.
bool userStaysWith(const QWidget* window)
{
    for (const QWidget* active = QApplication::activeWindow(); active;
         active = active->parentWidget()) {
        if (active == window)
            return true;
    }
    return false;
}
} // namespace

ReadMarker::ReadMarker(WindowContext& ctx, QWidget* window, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_window(window)
{
    setObjectName(QStringLiteral("ReadMarker"));
    tmrLido = new QTimer(this);
    tmrLido->setObjectName(QStringLiteral("tmrLido"));
    tmrLido->setSingleShot(true);
    tmrLido->setInterval(ReadMarkerDelayMs);
    connect(tmrLido, &QTimer::timeout, this, m_ctx.guard([this] {
        if (m_window->isActiveWindow())
            m_ctx.chatPane()->clearReadMarker();
    }));
    // From one of its dialogs the user may go to another program without the window seeing it.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, m_ctx.guard([this] {
        if (!userStaysWith(m_window))
            rememberLastRead();
    }));
}

void ReadMarker::readMarkerActivationChanged()
{
    m_ctx.guarded([this] {
        if (m_window->isActiveWindow()) {
            m_readAway = false;
            tmrLido->start();
        } else {
            tmrLido->stop();
            if (!userStaysWith(m_window))
                rememberLastRead();
        }
    });
}

// Once away, the place stays where the user left: hiding an unfocused window to the tray, or
// leaving again after a glance, does not move a line still drawn past lines nobody has read.
void ReadMarker::rememberLastRead()
{
    if (m_readAway)
        return;
    m_readAway = true;
    if (!m_ctx.chatPane()->isReadMarkerShown())
        m_ctx.chatPane()->setReadMarker();
}

void ReadMarker::setReadMarkerDelayForTests(int ms)
{
    tmrLido->setInterval(ms);
}
