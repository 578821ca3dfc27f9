#include "window/Panes.h"

#include <utility>

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "chat/TFastNicks.h"
#include "chat/UserListModel.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/ChatColumn.h"
#include "window/WindowContext.h"

namespace {
// An information line is scrolled into view this many times, one tick apart.
constexpr int ScrollTicks = 5;
} // namespace

Panes::Panes(WindowContext& context, ChatColumn* column, UserListModel* users, TFastNicks* nicks,
             QWidget* window, QAction* mnuLimpaTelaChat, QAction* mnuLimpaTelaWhisps,
             QAction* Limpartela1)
    : QObject(window), m_ctx(context), m_column(column), m_users(users), m_nicks(nicks),
      m_window(window), tmrScroll(new QTimer(this))
{
    setObjectName(QStringLiteral("Panes"));
    tmrScroll->setObjectName(QStringLiteral("tmrScroll"));
    tmrScroll->setInterval(100);
    connect(tmrScroll, &QTimer::timeout, this, m_ctx.guard([this] { tmrScrollTimer(); }));
    connect(mnuLimpaTelaChat, &QAction::triggered, this,
            m_ctx.guard([this] { mnuLimpaTelaChatClick(); }));
    connect(mnuLimpaTelaWhisps, &QAction::triggered, this,
            m_ctx.guard([this] { mnuLimpaTelaWhispsClick(); }));
    connect(Limpartela1, &QAction::triggered, this, m_ctx.guard([this] { Limpartela1Click(); }));
    m_column->lblAutoScroll->installEventFilter(this);
}

void Panes::applyOptions()
{
    FHorario = Settings::read(*m_ctx.settings(), Keys::Aparencia::HorarioMsg);
}

// "Auto-Rolagem" is clicked like a check box: by the left button, released over it. A double
// click is one click: its first release toggled already, the one after the double click does not.
void Panes::autoScrollMouse(const QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (event->type() == QEvent::MouseButtonDblClick) {
        m_autoScrollDoubleClick = true;
        return;
    }
    if (std::exchange(m_autoScrollDoubleClick, false))
        return;
    if (m_column->lblAutoScroll->rect().contains(event->position().toPoint()))
        lblAutoScrollClick();
}

bool Panes::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick) &&
        watched == m_column->lblAutoScroll)
        m_ctx.guarded([this, event] { autoScrollMouse(static_cast<QMouseEvent*>(event)); });
    return QObject::eventFilter(watched, event);
}

QString Panes::horarioTexto() const
{
    if (!FHorario)
        return QString();
    return m_horarioTexto.text();
}

int Panes::rankOf(const QString& account) const
{
    const UserEntry* entry = m_users->find(account);
    if (!entry)
        return -1;
    const QChar order = entry->order;
    if (order >= QLatin1Char('0') && order <= QLatin1Char('3'))
        return order.unicode() - '0';
    return -1;
}

void Panes::scrollPane(ChatView* pane)
{
    pane->reformat();
    if (m_column->chkAutoScroll->isChecked())
        pane->scrollToBottom();
}

void Panes::mensagem(const QString& account, const QString& text)
{
    const int rank = rankOf(account);
    if (rank >= 0) {
        writeTalk(account, text, rank);
        return;
    }
    ChatView* txtChat = m_column->txtChat;
    txtChat->appendLine(QString(), -1);
    txtChat->appendText(horarioTexto(), StyleTable::Horario);
    txtChat->appendText(speakerPiece(account), StyleTable::Acc);
    txtChat->appendText(text, StyleTable::Usuario);
    scrollPane(txtChat);
}

void Panes::emote(const QString& account, const QString& text)
{
    writeEmote(account, text, StyleTable::Emote);
}

void Panes::mencao(const QString& account, const QString& text, bool emote)
{
    if (emote)
        writeEmote(account, text, StyleTable::Mencao);
    else
        writeTalk(account, text, StyleTable::Mencao);
}

// A talk line in one style, as a ranked speaker's.
void Panes::writeTalk(const QString& account, const QString& text, int style)
{
    ChatView* txtChat = m_column->txtChat;
    txtChat->appendLine(QString(), -1);
    txtChat->appendText(horarioTexto(), style);
    txtChat->appendText(speakerPiece(account, text), style);
    scrollPane(txtChat);
}

const QString& Panes::speakerPiece(const QString& account, const QString& text)
{
    // Cutting the size keeps the capacity.
    m_piece.resize(0);
    m_piece += QLatin1Char('<');
    m_piece += account;
    m_piece += QLatin1String("> ");
    m_piece += text;
    return m_piece;
}

void Panes::writeEmote(const QString& account, const QString& text, int style)
{
    ChatView* txtChat = m_column->txtChat;
    txtChat->appendLine(horarioTexto() + QLatin1Char('<') + account + QLatin1Char(' ') + text +
                            QStringLiteral("> "),
                        style);
    scrollPane(txtChat);
}

void Panes::info(const QString& text)
{
    ChatView* txtChat = m_column->txtChat;
    txtChat->appendLine(text, StyleTable::Info);
    txtChat->reformat();
    FScrollCount = 0;
    // A timer already running keeps its beat: restarting it at every line would hold the
    // scrolling back for as long as information lines keep arriving less than a tick apart.
    if (!tmrScroll->isActive())
        tmrScroll->start();
}

void Panes::erro(const QString& text)
{
    ChatView* txtChat = m_column->txtChat;
    txtChat->appendLine(text, StyleTable::Erro);
    scrollPane(txtChat);
}

void Panes::whisp(int direction, const QString& account, const QString& text)
{
    ChatView* txtWhisps = m_column->txtWhisps;
    if (direction == 1) {
        txtWhisps->appendLine(horarioTexto() + QStringLiteral("<TO: ") + account +
                                  QStringLiteral("> "),
                              StyleTable::WTO);
        txtWhisps->appendText(text, StyleTable::WmTO);
    } else {
        m_nicks->addLastUser(account);
        txtWhisps->appendLine(horarioTexto() + QStringLiteral("<FROM: ") + account +
                                  QStringLiteral("> "),
                              StyleTable::WFROM);
        txtWhisps->appendText(text, StyleTable::WmFROM);
    }
    scrollPane(txtWhisps);
}

void Panes::lblAutoScrollClick()
{
    m_column->chkAutoScroll->setChecked(!m_column->chkAutoScroll->isChecked());
}

void Panes::tmrScrollTimer()
{
    if (FScrollCount >= ScrollTicks) {
        tmrScroll->stop();
        return;
    }
    if (m_column->chkAutoScroll->isChecked())
        m_column->txtChat->scrollToBottom();
    ++FScrollCount;
}

void Panes::mnuLimpaTelaChatClick()
{
    ChatView* txtChat = m_column->txtChat;
    txtChat->clearView();
    txtChat->reformat();
    m_ctx.focusInputLine();
}

void Panes::mnuLimpaTelaWhispsClick()
{
    ChatView* txtWhisps = m_column->txtWhisps;
    txtWhisps->clearView();
    txtWhisps->reformat();
    m_ctx.focusInputLine();
}

void Panes::Limpartela1Click()
{
    if (m_window->focusWidget() == m_column->txtWhisps)
        mnuLimpaTelaWhispsClick();
    else
        mnuLimpaTelaChatClick();
}
