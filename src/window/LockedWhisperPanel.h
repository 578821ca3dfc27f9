#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// One locked whisper line of the bottom strip: "TO:", the locked account, the edit and its
// "Whispar" and "X" buttons. Its number N (1 for the line right above the input line) ends the
// name of each control and is the Tag property of each, by which shared handlers tell the lines
// apart. Hidden until a lock opens it.
class LockedWhisperPanel final : public QWidget
{
    Q_OBJECT
public:
    LockedWhisperPanel(int number, QWidget* parent);

    int number() const { return m_number; }

    // Places the edit and the buttons for a window this wide (outer width).
    void followWidth(int outerWidth);
    // Sets the account in bold while the edit has the keyboard.
    void showKeyboard(bool has);

    // The controls, by their names without the number; set once by the constructor.
    QLabel* lblTo = nullptr;
    QLabel* lblAccWhisp = nullptr;
    QLineEdit* txtWhisp = nullptr;
    QPushButton* btnWhispar = nullptr;
    QPushButton* btnFecharWhispLock = nullptr;

private:
    int m_number;
};
