#pragma once

#include <QObject>

class QTimer;
class WindowContext;

// The synchronized messages: owns the timer tmrSinc and the rotation through the stored messages
// (Timers in confs.ini). It sends through the window's gate and shows what it sent in the channel
// pane; it touches nothing else of the window.
class SyncMessages final : public QObject
{
    Q_OBJECT
public:
    static constexpr int MinSyncPeriod = 120; // seconds

    SyncMessages(WindowContext& ctx, QObject* parent);

    void tmrSincTimer();

    // Started (a running countdown goes on), stopped, and set again from the settings after the
    // options dialog's "OK".
    void startSyncMessages();
    void stopSyncMessages();
    // Once the server has taken the login: started when switched on and there is a message.
    void loginAccepted();
    void applySyncOptions();
    // At start-up: the stored period, a period below the minimum written back as the minimum.
    void loadSyncPeriod();
    // Tests shorten the period: Timers/STempo then counts in units of ms instead of seconds.
    void setSyncSecondForTests(int ms);

private:
    void setSyncPeriod(int seconds);

    WindowContext& m_ctx;
    QTimer* tmrSinc = nullptr;
    int FSincIndex = 1;
    int m_syncSecondMs = 1000;
};
