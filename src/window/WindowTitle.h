#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The main window's title, built from its parts each time one changes: the count of whispers and
// mentions that arrived while the window was away ("(3) "), the caption, and operator mode's
// mark (" - [OP MODE]"). Owns the parts; touches only the window's title, and watches the window
// to clear the count when the user comes back to it.
class WindowTitle final : public QObject
{
    Q_OBJECT
public:
    // window is the main window, which parents the feature.
    explicit WindowTitle(QWidget* window);

    // Operator mode marks the title for good.
    void setOpMode();
    // One more whisper or mention arrived unseen.
    void countUnseen();
    int unseen() const { return m_unseen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show();

    QWidget* m_window;
    bool m_opMode = false;
    int m_unseen = 0;
};
