#include "window/WindowTitle.h"

#include <QEvent>
#include <QWidget>

namespace {
const QString Caption = QStringLiteral("Tulmo Chat v1.5 Light");
const QString OpModeMark = QStringLiteral(" - [OP MODE]");
} // namespace

WindowTitle::WindowTitle(QWidget* window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("WindowTitle"));
    m_window->installEventFilter(this);
    show();
}

void WindowTitle::setOpMode()
{
    m_opMode = true;
    show();
}

void WindowTitle::countUnseen()
{
    ++m_unseen;
    show();
}

bool WindowTitle::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::ActivationChange &&
        m_window->isActiveWindow() && m_unseen > 0) {
        m_unseen = 0;
        show();
    }
    return QObject::eventFilter(watched, event);
}

void WindowTitle::show()
{
    QString title = m_unseen > 0 ? QStringLiteral("(%1) ").arg(m_unseen) : QString();
    title += Caption;
    if (m_opMode)
        title += OpModeMark;
    m_window->setWindowTitle(title);
}
