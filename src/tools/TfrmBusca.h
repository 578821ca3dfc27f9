#pragma once

#include <QDialog>
#include <QPointer>

class ChatView;
class QLabel;
class QLineEdit;
class QPushButton;

// The search window: finds a text in the channel pane, from the current place toward the oldest
// lines, and selects each hit. It stays on top without blocking the main window, and deletes
// itself when closed.
class TfrmBusca final : public QDialog
{
    Q_OBJECT
public:
    // pane is the channel pane; not owned.
    TfrmBusca(ChatView* pane, QWidget* parent);

    void btnAcimaClick();
    void txtBuscaChange(const QString& text);
    void btnAbaixoClick();

    QLabel* Label1 = nullptr;
    QLineEdit* txtBusca = nullptr;
    QPushButton* btnAcima = nullptr;
    // Below the visible part of the window: only Esc reaches it.
    QPushButton* btnAbaixo = nullptr;

private:
    QPointer<ChatView> m_pane;
};
