#include "window/TfrmMain.h"

#include <QTimer>

// When the user looks away (the window loses the focus or goes to the tray), the channel pane
// marks its last paragraph, so that lines arriving meanwhile stand out below a thin line. The
// line stays until the window has had the focus for ReadMarkerDelayMs without a break: a glance
// at the window does not take it away.

namespace {
constexpr int ReadMarkerDelayMs = 3000;
}

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
}

void TfrmMain::readMarkerActivationChanged()
{
    guarded([this] {
        if (isActiveWindow()) {
            m_readAway = false;
            tmrLido->start();
        } else {
            tmrLido->stop();
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
