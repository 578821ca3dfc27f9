#include "FloodGate.h"

#include <algorithm>

namespace {

// The reserve's rate and size as multiples of the limit's.
constexpr qint64 ReserveFactor = 5;

} // namespace

void FloodGate::Bucket::refill(qint64 elapsedMs)
{
    // Bounding the time first keeps the product far from overflowing after a long silence.
    const qint64 toFull = (capacity - credit + refillPerMs - 1) / refillPerMs;
    credit = std::min(capacity, credit + std::min(elapsedMs, toFull) * refillPerMs);
}

bool FloodGate::Bucket::take()
{
    if (credit < cost)
        return false;
    credit -= cost;
    return true;
}

FloodGate::Bucket FloodGate::fullBucket(qint64 capacity, qint64 cost, qint64 refillPerMs)
{
    return {capacity, cost, refillPerMs, capacity};
}

// Credit is counted in fifths of a millisecond's worth, so both buckets stay in integers: a line
// costs one interval of the allowance and a fifth of that of the reserve.
FloodGate::FloodGate(int burst, int intervalMs)
{
    const qint64 interval = std::max(1, intervalMs);
    const qint64 lines = std::max(1, burst);
    m_allowance =
        fullBucket(lines * interval * ReserveFactor, interval * ReserveFactor, ReserveFactor);
    m_reserve = fullBucket(ReserveFactor * lines * interval, interval, ReserveFactor);
}

FloodGate::Verdict FloodGate::admit(qint64 nowMs)
{
    const qint64 elapsed = m_lastMs < 0 ? 0 : std::max<qint64>(0, nowMs - m_lastMs);
    m_lastMs = std::max(m_lastMs, nowMs);
    m_allowance.refill(elapsed);
    m_reserve.refill(elapsed);
    if (m_allowance.credit == m_allowance.capacity)
        m_notified = false;
    if (!m_reserve.take())
        return Verdict::Disconnect;
    if (m_allowance.take())
        return Verdict::Pass;
    if (m_notified)
        return Verdict::Drop;
    m_notified = true;
    return Verdict::DropAndNotify;
}
