#include "window/TfrmMain.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

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

void TfrmMain::setupReadMarker()
{
    tmrLido = new QTimer(this);
    tmrLido->setObjectName(QStringLiteral("tmrLido"));
    tmrLido->setSingleShot(true);
    tmrLido->setInterval(ReadMarkerDelayMs);
    connect(tmrLido, &QTimer::timeout, this, guard([this] {
                if (isActiveWindow())
                    chatPane()->clearReadMarker();
            }));
    // From one of its dialogs the user may go to another program without the window seeing it.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, guard([this] {
                if (!userStaysWith(this))
                    rememberLastRead();
            }));
}

void TfrmMain::readMarkerActivationChanged()
{
    guarded([this] {
        if (isActiveWindow()) {
            m_readAway = false;
            tmrLido->start();
        } else {
            tmrLido->stop();
            if (!userStaysWith(this))
                rememberLastRead();
        }
    });
}

// Once away, the place stays where the user left: hiding an unfocused window to the tray, or
// leaving again after a glance, does not move a line still drawn past lines nobody has read.
void TfrmMain::rememberLastRead()
{
    if (m_readAway)
        return;
    m_readAway = true;
    if (!chatPane()->isReadMarkerShown())
        chatPane()->setReadMarker();
}

void TfrmMain::setReadMarkerDelayForTests(int ms)
{
    tmrLido->setInterval(ms);
}
