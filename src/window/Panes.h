#pragma once

#include <QObject>
#include <QString>

#include "chat/TimeStampText.h"

class ChatColumn;
class ChatView;
class QAction;
class QMouseEvent;
class QTimer;
class TFastNicks;
class UserListModel;
class WindowContext;

// Writing to the channel and whisper panes. Owns the line styles by rank and of mentions, the time
// stamps (Aparencia/HorarioMsg), following a pane's end ("Auto-Rolagem", information lines scrolled
// into view for a few ticks) and clearing the panes. Touches only the chat column's controls, the
// user list (ranks, read only) and the nick completion's last whisperers.
class Panes final : public QObject
{
    Q_OBJECT
public:
    // The actions are the menus' "Limpar tela do chat", "Limpar tela de whisps" and the panes'
    // "Limpar tela"; window is where the keyboard is looked for. None is owned.
    Panes(WindowContext& context, ChatColumn* column, UserListModel* users, TFastNicks* nicks,
          QWidget* window, QAction* mnuLimpaTelaChat, QAction* mnuLimpaTelaWhisps,
          QAction* Limpartela1);

    void mensagem(const QString& account, const QString& text);
    void emote(const QString& account, const QString& text);
    // A talk (or emote) line of another account that mentions the user: the line mensagem (or
    // emote) would write, time stamp and label included, all in the mention style.
    void mencao(const QString& account, const QString& text, bool emote);
    void info(const QString& text);
    void erro(const QString& text);
    void whisp(int direction, const QString& account, const QString& text);
    void scrollPane(ChatView* pane);
    // "[21:05:09] " while time stamps are on, otherwise empty.
    QString horarioTexto() const;
    bool showsTimes() const { return FHorario; }
    // Time stamps on or off from the settings, at start and after the options dialog.
    void applyOptions();

    void lblAutoScrollClick();
    void tmrScrollTimer();
    void mnuLimpaTelaChatClick();
    void mnuLimpaTelaWhispsClick();
    void Limpartela1Click();

protected:
    // "Auto-Rolagem" is clicked like a check box.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int rankOf(const QString& account) const;
    void writeTalk(const QString& account, const QString& text, int style);
    void writeEmote(const QString& account, const QString& text, int style);
    // The speaker's part of a talk line, "<account> " and what follows, in m_piece.
    const QString& speakerPiece(const QString& account, const QString& text = QString());
    void autoScrollMouse(const QMouseEvent* event);

    WindowContext& m_ctx;
    ChatColumn* m_column;
    UserListModel* m_users;
    TFastNicks* m_nicks;
    QWidget* m_window;
    QTimer* tmrScroll;
    int FScrollCount = 0;
    // The next release of the left button over "Auto-Rolagem" ends a double click.
    bool m_autoScrollDoubleClick = false;
    bool FHorario = true;
    // The text of horarioTexto, renewed once per second.
    mutable TimeStampText m_horarioTexto;
    // Reused for every line of a flood, so that its characters need no heap block each.
    QString m_piece;
};
