#include "window/TfrmMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

#include "chat/AutoReplies.h"
#include "chat/TFastNicks.h"
#include "chat/UserListModel.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/TfrmConectar.h"
#include "window/WhisperNotices.h"

namespace {
// An information line is scrolled into view this many times, one tick apart.
constexpr int ScrollTicks = 5;
// The server repeats a whisper to the friends list with this target.
const QString FriendsTarget = QStringLiteral("\"your");
constexpr int FriendsPrefixLength = 20;
} // namespace

QString TfrmMain::horarioTexto() const
{
    if (!FHorario)
        return QString();
    return m_horarioTexto.text();
}

int TfrmMain::rankOf(const QString& account) const
{
    const UserEntry* entry = m_users->find(account);
    if (!entry)
        return -1;
    const QChar order = entry->order;
    if (order >= QLatin1Char('0') && order <= QLatin1Char('3'))
        return order.unicode() - '0';
    return -1;
}

void TfrmMain::scrollPane(ChatView* pane)
{
    pane->reformat();
    if (m_chatColumn->chkAutoScroll->isChecked())
        pane->scrollToBottom();
}

void TfrmMain::mensagem(const QString& account, const QString& text)
{
    ChatView* txtChat = m_chatColumn->txtChat;
    const int rank = rankOf(account);
    txtChat->appendLine(QString(), -1);
    if (rank >= 0) {
        txtChat->appendText(horarioTexto(), rank);
        txtChat->appendText(QLatin1Char('<') + account + QStringLiteral("> ") + text, rank);
    } else {
        txtChat->appendText(horarioTexto(), StyleTable::Horario);
        txtChat->appendText(QLatin1Char('<') + account + QStringLiteral("> "), StyleTable::Acc);
        txtChat->appendText(text, StyleTable::Usuario);
    }
    scrollPane(txtChat);
}

void TfrmMain::emote(const QString& account, const QString& text)
{
    ChatView* txtChat = m_chatColumn->txtChat;
    txtChat->appendLine(horarioTexto() + QLatin1Char('<') + account + QLatin1Char(' ') + text +
                            QStringLiteral("> "),
                        StyleTable::Emote);
    scrollPane(txtChat);
}

void TfrmMain::info(const QString& text)
{
    ChatView* txtChat = m_chatColumn->txtChat;
    txtChat->appendLine(text, StyleTable::Info);
    txtChat->reformat();
    FScrollCount = 0;
    // A timer already running keeps its beat: restarting it at every line would hold the
    // scrolling back for as long as information lines keep arriving less than a tick apart.
    if (!tmrScroll->isActive())
        tmrScroll->start();
}

void TfrmMain::erro(const QString& text)
{
    ChatView* txtChat = m_chatColumn->txtChat;
    txtChat->appendLine(text, StyleTable::Erro);
    scrollPane(txtChat);
}

void TfrmMain::whisp(int direction, const QString& account, const QString& text)
{
    ChatView* txtWhisps = m_chatColumn->txtWhisps;
    if (direction == 1) {
        txtWhisps->appendLine(horarioTexto() + QStringLiteral("<TO: ") + account +
                                  QStringLiteral("> "),
                              StyleTable::WTO);
        txtWhisps->appendText(text, StyleTable::WmTO);
    } else {
        FFastNicks->addLastUser(account);
        txtWhisps->appendLine(horarioTexto() + QStringLiteral("<FROM: ") + account +
                                  QStringLiteral("> "),
                              StyleTable::WFROM);
        txtWhisps->appendText(text, StyleTable::WmFROM);
    }
    scrollPane(txtWhisps);
}

void TfrmMain::GatewayChat1Talk(const QString& User, const QString& Mess)
{
    mensagem(User, Mess);
    answerTalk(User, Mess);
}

void TfrmMain::GatewayChat1Emote(const QString& User, const QString& Mess)
{
    emote(User, Mess);
}

void TfrmMain::GatewayChat1Whisper(const QString& User, const QString& Mess)
{
    whisp(0, User, Mess);
    answerWhisper(User, Mess);
    m_whisperNotices->noticeWhisper(User, Mess);
}

void TfrmMain::GatewayChat1WhisperSent(const QString& User, const QString& Mess)
{
    QString account = User;
    QString text = Mess;
    if (User == FriendsTarget) {
        account = QStringLiteral("FRIENDS LIST");
        text = Mess.mid(FriendsPrefixLength);
    }
    // Our own answers to a version query are not repeated in the whisper pane.
    if (AutoReplies::hidesEcho(text))
        return;
    whisp(1, account, text);
}

void TfrmMain::lblAutoScrollClick()
{
    m_chatColumn->chkAutoScroll->setChecked(!m_chatColumn->chkAutoScroll->isChecked());
}

void TfrmMain::tmrScrollTimer()
{
    if (FScrollCount >= ScrollTicks) {
        tmrScroll->stop();
        return;
    }
    if (m_chatColumn->chkAutoScroll->isChecked())
        m_chatColumn->txtChat->scrollToBottom();
    ++FScrollCount;
}

void TfrmMain::mnuLimpaTelaChatClick()
{
    ChatView* txtChat = m_chatColumn->txtChat;
    txtChat->clearView();
    txtChat->reformat();
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::mnuLimpaTelaWhispsClick()
{
    ChatView* txtWhisps = m_chatColumn->txtWhisps;
    txtWhisps->clearView();
    txtWhisps->reformat();
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::Limpartela1Click()
{
    if (focusWidget() == m_chatColumn->txtWhisps)
        mnuLimpaTelaWhispsClick();
    else
        mnuLimpaTelaChatClick();
}
