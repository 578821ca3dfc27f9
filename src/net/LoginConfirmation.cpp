#include "net/LoginConfirmation.h"

#include <algorithm>
#include <limits>

#include "net/GatewayProtocol.h"
#include "net/TGatewayChat.h"

int LoginConfirmation::waitMs(int timeoutSeconds)
{
    const qint64 seconds = std::max<qint64>(timeoutSeconds, MinimumWaitSeconds);
    return int(std::min<qint64>(seconds * 1000, std::numeric_limits<int>::max()));
}

LoginConfirmation::Step LoginConfirmation::take(const QString& line)
{
    if (m_state != State::Pending)
        return Step::Process;
    const int code = TGatewayChat::eventCode(line);
    if (code == 0)
        return Step::ShowAsError;
    if (code == int(GatewayProtocol::EventCode::Error)) {
        m_state = State::Refused;
        return Step::Refuse;
    }
    m_state = State::Confirmed;
    return Step::Confirm;
}
