#include "window/TfrmMain.h"

#include <algorithm>
#include <climits>

#include <QTimer>

#include "settings/NumberedList.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"

// Sends the stored message at FSincIndex and moves on; an empty or missing message sends
// nothing and takes the rotation back to the first.
void TfrmMain::tmrSincTimer()
{
    const QString text = Settings::read(*FIni, Keys::Timers::STimer(FSincIndex));
    if (text.isEmpty()) {
        FSincIndex = 1;
        return;
    }
    sendLine(text + QLatin1Char('\r'));
    if (!text.startsWith(QLatin1Char('/')))
        mensagem(login(), text);
    if (NumberedList::synchronizedMessages().count(*FIni) == FSincIndex)
        FSincIndex = 1;
    else
        ++FSincIndex;
}

// QTimer::start restarts a running countdown; a running timer keeps its beat instead.
void TfrmMain::startSyncMessages()
{
    if (!tmrSinc->isActive())
        tmrSinc->start();
}

void TfrmMain::stopSyncMessages()
{
    tmrSinc->stop();
}

// After the options dialog's "OK". A period below the minimum (a hand-edited file) is taken as
// the minimum: a period of 0 would send a message at every pass of the event loop.
void TfrmMain::applySyncOptions()
{
    setSyncPeriod(std::max(MinSyncPeriod, Settings::read(*FIni, Keys::Timers::STempo)));
    if (loggedIn() && Settings::read(*FIni, Keys::Timers::TimersOn))
        startSyncMessages();
    else
        stopSyncMessages();
}

// Only a different period is set, since setting one restarts the countdown.
void TfrmMain::setSyncPeriod(int seconds)
{
    const int ms = int(std::min<qint64>(qint64(seconds) * m_syncSecondMs, INT_MAX));
    if (tmrSinc->interval() != ms)
        tmrSinc->setInterval(ms);
}

void TfrmMain::setSyncSecondForTests(int ms)
{
    m_syncSecondMs = ms;
    setSyncPeriod(std::max(MinSyncPeriod, Settings::read(*FIni, Keys::Timers::STempo)));
}
