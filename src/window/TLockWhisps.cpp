#include "window/TLockWhisps.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "dialogs/Prompts.h"
#include "view/ChatView.h"
#include "window/BottomStrip.h"
#include "window/LockedWhisperPanel.h"
#include "window/WindowContext.h"

namespace {
constexpr int LineHeight = 30;
// The input line and the strip's top margin.
constexpr int StripBase = 32;

int tagOf(const QObject* Sender)
{
    return Sender->property("Tag").toInt();
}
} // namespace

TLockWhisps::TLockWhisps(WindowContext& ctx, BottomStrip* strip, QCheckBox* chkAutoScroll,
                         QAction* LockarWhisp1, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_strip(strip), chkAutoScroll(chkAutoScroll)
{
    setObjectName(QStringLiteral("TLockWhisps"));
    for (LockedWhisperPanel* lock : m_strip->lockPanels()) {
        QPushButton* whispar = lock->btnWhispar;
        connect(whispar, &QPushButton::clicked, this,
                m_ctx.guard([this, whispar] { btnWhispar1Click(whispar); }));
        QPushButton* fechar = lock->btnFecharWhispLock;
        connect(fechar, &QPushButton::clicked, this,
                m_ctx.guard([this, fechar] { btnFecharWhispLock1Click(fechar); }));
    }
    connect(LockarWhisp1, &QAction::triggered, this, m_ctx.guard([this] { LockarWhisp1Click(); }));
    for (LockedWhisperPanel* lock : m_strip->lockPanels())
        lock->lblAccWhisp->installEventFilter(this);
}

void TLockWhisps::btnWhispar1Click(QObject* Sender)
{
    whispar(tagOf(Sender));
}

void TLockWhisps::btnFecharWhispLock1Click(QObject* Sender)
{
    delLock(tagOf(Sender));
}

void TLockWhisps::lblAccWhisp1Click(QObject* Sender)
{
    whois(tagOf(Sender));
}

void TLockWhisps::LockarWhisp1Click()
{
    const QString account = m_ctx.selectedUser();
    if (account.isEmpty())
        return;
    addLock(account);
}

LockedWhisperPanel* TLockWhisps::panel(int N) const
{
    return m_strip->lockPanels().at(N - 1);
}

void TLockWhisps::fitStrip()
{
    m_strip->setFixedHeight(LineHeight * FNumLocks + StripBase);
}

void TLockWhisps::addLock(const QString& account)
{
    if (FNumLocks < MaxLocks) {
        const int N = FNumLocks + 1;
        LockedWhisperPanel* lock = panel(N);
        lock->show();
        lock->lblAccWhisp->setText(account);
        FNumLocks = N;
        lock->txtWhisp->setFocus(Qt::OtherFocusReason);
    } else {
        m_ctx.prompts().warningBox(m_ctx.dialogParent(),
                                   QStringLiteral("Numero máximo de lock whisps atingido!"));
    }
    fitStrip();
    if (chkAutoScroll->isChecked())
        m_ctx.chatPane()->scrollToBottom();
}

void TLockWhisps::delLock(int K)
{
    const int n = FNumLocks;
    // Only the "X" of an open line can ask; anything else has nothing to close.
    if (K < 1 || K > n)
        return;
    // A draft stays with the account it was typed for; the closed line's draft goes with it.
    for (int j = K; j < n; ++j) {
        panel(j)->lblAccWhisp->setText(panel(j + 1)->lblAccWhisp->text());
        panel(j)->txtWhisp->setText(panel(j + 1)->txtWhisp->text());
    }
    panel(n)->txtWhisp->clear();
    panel(n)->hide();
    FNumLocks = n - 1;
    m_strip->txtMsg->setFocus(Qt::OtherFocusReason);
    fitStrip();
}

void TLockWhisps::whispar(int N)
{
    if (N < 1 || N > FNumLocks)
        return;
    QLineEdit* edit = panel(N)->txtWhisp;
    if (edit->text().isEmpty())
        return;
    // Held back like a line of the input line while the login awaits its answer.
    if (m_ctx.holdsBackLine()) {
        edit->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_ctx.sendLine(QStringLiteral("/w ") + panel(N)->lblAccWhisp->text() + QLatin1Char(' ') +
                   edit->text() + QLatin1Char('\r'));
    edit->clear();
    edit->setFocus(Qt::OtherFocusReason);
}

void TLockWhisps::selecionaCampo(int N)
{
    m_strip->btnEnviar->setDefault(false);
    for (LockedWhisperPanel* lock : m_strip->lockPanels())
        lock->btnWhispar->setDefault(lock->number() == N);
}

void TLockWhisps::whois(int N)
{
    if (N < 1 || N > FNumLocks || m_ctx.holdsBackLine())
        return;
    m_ctx.sendLine(QStringLiteral("/whois ") + panel(N)->lblAccWhisp->text() + QLatin1Char('\r'));
}

bool TLockWhisps::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    auto* label = qobject_cast<QLabel*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (label && mouse->button() == Qt::LeftButton &&
        label->rect().contains(mouse->position().toPoint()))
        m_ctx.guarded([this, label] { lblAccWhisp1Click(label); });
    return false;
}
