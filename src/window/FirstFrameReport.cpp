#include "window/FirstFrameReport.h"

#include <cstdio>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

FirstFrameReport::FirstFrameReport(QObject* application) : QObject(application) {}

void FirstFrameReport::installIfAsked(QObject* application)
{
    if (qEnvironmentVariableIsSet("TULMO_REPORT_FIRST_FRAME"))
        application->installEventFilter(new FirstFrameReport(application));
}

// A window paints itself and its children in one go before the frame goes to the screen: the
// line is written from the event loop once that has returned.
bool FirstFrameReport::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        QCoreApplication::instance()->removeEventFilter(this);
        QMetaObject::invokeMethod(
            this,
            [this] {
                std::fputs("first frame\n", stdout);
                std::fflush(stdout);
                deleteLater();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
