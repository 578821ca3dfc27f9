#include "window/TLockWhisps.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "dialogs/Prompts.h"
#include "view/ChatView.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/LockedWhisperPanel.h"
#include "window/TfrmMain.h"

namespace {
constexpr int LineHeight = 30;
// The input line and the strip's top margin.
constexpr int StripBase = 32;
} // namespace

TLockWhisps::TLockWhisps(TfrmMain* window) : QObject(window), m_window(window)
{
    for (LockedWhisperPanel* lock : m_window->m_bottomStrip->lockPanels())
        lock->lblAccWhisp->installEventFilter(this);
}

LockedWhisperPanel* TLockWhisps::panel(int N) const
{
    return m_window->m_bottomStrip->lockPanels().at(N - 1);
}

void TLockWhisps::fitStrip()
{
    m_window->m_bottomStrip->setFixedHeight(LineHeight * FNumLocks + StripBase);
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
        m_window->m_prompts->warningBox(m_window,
                                        QStringLiteral("Numero máximo de lock whisps atingido!"));
    }
    fitStrip();
    if (m_window->m_chatColumn->chkAutoScroll->isChecked())
        m_window->m_chatColumn->txtChat->scrollToBottom();
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
    m_window->m_bottomStrip->txtMsg->setFocus(Qt::OtherFocusReason);
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
    if (m_window->holdsBackLine()) {
        edit->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_window->sendLine(QStringLiteral("/w ") + panel(N)->lblAccWhisp->text() + QLatin1Char(' ') +
                       edit->text() + QLatin1Char('\r'));
    edit->clear();
    edit->setFocus(Qt::OtherFocusReason);
}

void TLockWhisps::selecionaCampo(int N)
{
    m_window->m_bottomStrip->btnEnviar->setDefault(false);
    for (LockedWhisperPanel* lock : m_window->m_bottomStrip->lockPanels())
        lock->btnWhispar->setDefault(lock->number() == N);
}

void TLockWhisps::whois(int N)
{
    if (N < 1 || N > FNumLocks || m_window->holdsBackLine())
        return;
    m_window->sendLine(QStringLiteral("/whois ") + panel(N)->lblAccWhisp->text() +
                       QLatin1Char('\r'));
}

bool TLockWhisps::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    auto* label = qobject_cast<QLabel*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (label && mouse->button() == Qt::LeftButton &&
        label->rect().contains(mouse->position().toPoint()))
        m_window->guarded([this, label] { m_window->lblAccWhisp1Click(label); });
    return false;
}
