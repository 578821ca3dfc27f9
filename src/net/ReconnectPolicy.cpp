#include "net/ReconnectPolicy.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {
constexpr int StepCount = int(std::size(ReconnectPolicy::WaitsMs));
} // namespace

ReconnectPolicy::ReconnectPolicy(RandomSource random) : m_random(std::move(random)) {}

std::optional<int> ReconnectPolicy::next(End end, qint64 upMs)
{
    bool retry = false;
    switch (end) {
    case End::ByUser:
    case End::LoginRefused:
        break;
    case End::SessionLost:
    case End::AttemptFailed:
        retry = true;
        break;
    case End::NameNotFound:
        retry = m_running;
        break;
    }
    if (!retry) {
        stop();
        return std::nullopt;
    }
    if (end == End::SessionLost && upMs >= SteadyMs) {
        m_step = 0;
        m_attempts = 0;
    }
    const int base = WaitsMs[std::min(m_step, StepCount - 1)];
    m_step = std::min(m_step + 1, StepCount);
    m_attempts = std::min(m_attempts + 1, std::numeric_limits<int>::max() - 1);
    m_running = true;
    if (!m_random)
        return base;
    // A draw outside [0, 1) from a faulty source must not stretch the wait beyond its spread.
    const double draw = std::clamp(m_random(), 0.0, 1.0);
    const double spread = (2.0 * draw - 1.0) * JitterPercent / 100.0;
    return int(std::lround(base * (1.0 + spread)));
}

void ReconnectPolicy::stop()
{
    m_step = 0;
    m_attempts = 0;
    m_running = false;
}
