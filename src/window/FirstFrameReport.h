#pragma once

#include <QObject>

// For the start-up benchmark: once a top-level window has painted its first frame, writes the
// line "first frame" to the standard output and stops watching. Installed only when the
// environment variable TULMO_REPORT_FIRST_FRAME is set.
class FirstFrameReport final : public QObject
{
    Q_OBJECT
public:
    // Watches the application's events when the variable is set; does nothing otherwise.
    static void installIfAsked(QObject* application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FirstFrameReport(QObject* application);
};
