#include "window/SyncMessages.h"

#include <algorithm>
#include <climits>

#include <QTimer>

#include "settings/NumberedList.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/WidgetKit.h"
#include "window/WindowContext.h"

SyncMessages::SyncMessages(WindowContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("SyncMessages"));
    tmrSinc = WidgetKit::named(new QTimer(this), QStringLiteral("tmrSinc"));
    connect(tmrSinc, &QTimer::timeout, this, m_ctx.guard([this] { tmrSincTimer(); }));
}

// Sends the stored message at FSincIndex and moves on; an empty or missing message sends
// nothing and takes the rotation back to the first.
void SyncMessages::tmrSincTimer()
{
    TIniFile& ini = *m_ctx.settings();
    const QString text = Settings::read(ini, Keys::Timers::STimer(FSincIndex));
    if (text.isEmpty()) {
        FSincIndex = 1;
        return;
    }
    m_ctx.sendLine(text + QLatin1Char('\r'));
    if (!text.startsWith(QLatin1Char('/')))
        m_ctx.mensagem(m_ctx.login(), text);
    if (NumberedList::synchronizedMessages().count(ini) == FSincIndex)
        FSincIndex = 1;
    else
        ++FSincIndex;
}

// QTimer::start restarts a running countdown; a running timer keeps its beat instead.
void SyncMessages::startSyncMessages()
{
    if (!tmrSinc->isActive())
        tmrSinc->start();
}

void SyncMessages::loginAccepted()
{
    if (Settings::read(*m_ctx.settings(), Keys::Timers::TimersOn) &&
        NumberedList::synchronizedMessages().count(*m_ctx.settings()) > 0)
        startSyncMessages();
}

void SyncMessages::stopSyncMessages()
{
    tmrSinc->stop();
}

// After the options dialog's "OK". A period below the minimum (a hand-edited file) is taken as
// the minimum: a period of 0 would send a message at every pass of the event loop.
void SyncMessages::applySyncOptions()
{
    TIniFile& ini = *m_ctx.settings();
    setSyncPeriod(std::max(MinSyncPeriod, Settings::read(ini, Keys::Timers::STempo)));
    if (m_ctx.loggedIn() && Settings::read(ini, Keys::Timers::TimersOn))
        startSyncMessages();
    else
        stopSyncMessages();
}

void SyncMessages::loadSyncPeriod()
{
    int period = Settings::read(*m_ctx.settings(), Keys::Timers::STempo);
    if (period < MinSyncPeriod) {
        period = MinSyncPeriod;
        m_ctx.guarded(
            [this] { Settings::write(*m_ctx.settings(), Keys::Timers::STempo, MinSyncPeriod); });
    }
    setSyncPeriod(period);
}

// Only a different period is set, since setting one restarts the countdown.
void SyncMessages::setSyncPeriod(int seconds)
{
    const int ms = int(std::min<qint64>(qint64(seconds) * m_syncSecondMs, INT_MAX));
    if (tmrSinc->interval() != ms)
        tmrSinc->setInterval(ms);
}

void SyncMessages::setSyncSecondForTests(int ms)
{
    m_syncSecondMs = ms;
    setSyncPeriod(std::max(MinSyncPeriod, Settings::read(*m_ctx.settings(), Keys::Timers::STempo)));
}
