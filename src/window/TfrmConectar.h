#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTimer;
class TChatInterface;
class TIniFile;

// The modal wait while the connection is made: starts the attempt when shown, counts down the
// time-out once a second and closes when the login has been sent, when the attempt failed, or
// when the time runs out. Deletes itself when closed.
class TfrmConectar final : public QDialog
{
    Q_OBJECT
public:
    // Neither argument is owned; both outlive the dialog.
    TfrmConectar(TChatInterface* chat, TIniFile* ini, QWidget* parent);

    // Writes an error line into the channel pane; fires only when assigned.
    std::function<void(const QString& text)> onError;
    // The time ran out before the login was sent, after the error line; fires only when assigned.
    std::function<void()> onTimedOut;

    // The attempt is over before the login held: the server was refused, unreachable, or closed
    // the connection. The dialog closes at its next tick without a time-out message.
    void connectFailed() { m_failed = true; }

    void tmrSegundosTimer();
    void btnCancelarClick();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    TChatInterface* m_chat;
    TIniFile* m_ini;
    QLabel* lblEnd;
    QLabel* lblTempo;
    QPushButton* btnCancelar;
    QTimer* tmrSegundos;
    int FRestante = 0;
    bool m_failed = false;
    bool m_shown = false;
};
