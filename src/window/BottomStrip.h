#pragma once

#include <QList>
#include <QWidget>

class LockedWhisperPanel;
class QEvent;
class QLineEdit;
class QPushButton;

// The bottom strip of the main window: the input line with "Enviar" and "E&mote", and above it
// the locked whisper lines, number 1 nearest to the input line. The strip grows by one line's
// height for each locked line shown.
class BottomStrip final : public QWidget
{
    Q_OBJECT
public:
    // How many locked whisper lines the strip holds.
    static constexpr int LockPanelCount = 5;

    explicit BottomStrip(QWidget* parent);

    // The locked whisper lines, panel 1 first.
    const QList<LockedWhisperPanel*>& lockPanels() const { return m_lockPanels; }
    // The input line or the edit of a locked whisper line.
    bool isInputLine(const QObject* object) const;

    // Places the edits and buttons for a window this wide (outer width).
    void followWidth(int outerWidth);

    // The name of the property the edit that has the keyboard carries as true; its border
    // shows it.
    static const char* const KeyboardProperty;

    // The input line's controls, by their names; set once by the constructor.
    QWidget* pnlMsg = nullptr;
    QLineEdit* txtMsg = nullptr;
    QPushButton* btnEnviar = nullptr;
    QPushButton* btnEmote = nullptr;

protected:
    // Moves the cue of where Enter sends to the edit that takes the keyboard.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<LockedWhisperPanel*> m_lockPanels;
};
