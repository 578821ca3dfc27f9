#pragma once

#include <QObject>

class QTimer;
class QWidget;
class WindowContext;

// The last line read in the channel pane. Owns the timer tmrLido and the away flag; touches only
// the channel pane (through the context) and asks the window whether it or one of its dialogs is
// active. The window calls readMarkerActivationChanged from its activation change.
class ReadMarker final : public QObject
{
    Q_OBJECT
public:
    // window is the main window: its activity, and the parent of its dialogs.
    ReadMarker(WindowContext& ctx, QWidget* window, QObject* parent);

    // Marks the last line when the window loses the focus, starts the clearing wait when it gets
    // it.
    void readMarkerActivationChanged();
    // Marks the last paragraph of the channel pane, once per time away.
    void rememberLastRead();
    // The line is removed once the window has had the focus this long.
    void setReadMarkerDelayForTests(int ms);

private:
    WindowContext& m_ctx;
    QWidget* m_window = nullptr;
    QTimer* tmrLido = nullptr;
    // The window is away (unfocused or in the tray) since its place was remembered.
    bool m_readAway = false;
};
