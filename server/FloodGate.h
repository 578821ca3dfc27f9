#pragma once

#include <QtGlobal>

// The flood limit of one client, as two token buckets on the time the lines arrive. The limit
// lets `burst` lines through at once after a quiet spell, then one per `intervalMs`; a line
// beyond it is dropped. A reserve five times as large, refilled five times as fast, counts every
// line, passed or dropped, and a sender that empties it is disconnected: one that goes on at ten
// times the limit does so within `burst` intervals, as does one that sends more than five times
// its allowance at once.
//
// The sender is told once per flood: the notice is due again only after it kept to the limit long
// enough to regain its whole allowance.
class FloodGate
{
public:
    enum class Verdict
    {
        Pass,
        Drop,
        // Dropped, and the first drop of this flood: tell the sender.
        DropAndNotify,
        Disconnect
    };

    FloodGate(int burst, int intervalMs);

    // The verdict on a line arriving at `nowMs` (a monotonic clock; never earlier than the last).
    Verdict admit(qint64 nowMs);

private:
    struct Bucket
    {
        qint64 capacity = 0;
        qint64 cost = 0;
        qint64 refillPerMs = 0;
        qint64 credit = 0;

        void refill(qint64 elapsedMs);
        bool take();
    };
    static Bucket fullBucket(qint64 capacity, qint64 cost, qint64 refillPerMs);

    Bucket m_allowance;
    Bucket m_reserve;
    qint64 m_lastMs = -1;
    bool m_notified = false;
};
