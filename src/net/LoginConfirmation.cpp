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

namespace {
// The code of an event line: four digits then a blank or the end of the line; 0 otherwise.
int eventOf(const QString& line)
{
    if (line.size() > 4 && line.at(4) != QLatin1Char(' '))
        return 0;
    return TGatewayChat::eventCode(line);
}

bool confirms(int code)
{
    using GatewayProtocol::EventCode;
    switch (EventCode(code)) {
    case EventCode::ShowUser:
    case EventCode::Join:
    case EventCode::Leave:
    case EventCode::Whisper:
    case EventCode::Talk:
    case EventCode::Broadcast:
    case EventCode::Channel:
    case EventCode::UserFlags:
    case EventCode::WhisperSent:
    case EventCode::ChannelFull:
    case EventCode::ChannelDoesNotExist:
    case EventCode::ChannelRestricted:
    case EventCode::Info:
    case EventCode::Emote:
    case EventCode::UniqueName:
        return true;
    case EventCode::Error:
    case EventCode::Null:
        return false;
    }
    return false;
}
} // namespace

LoginConfirmation::Step LoginConfirmation::take(const QString& line)
{
    if (m_state != State::Pending)
        return Step::Process;
    const int code = eventOf(line);
    if (code == int(GatewayProtocol::EventCode::Error)) {
        m_state = State::Refused;
        return Step::Refuse;
    }
    if (confirms(code)) {
        m_state = State::Confirmed;
        return Step::Confirm;
    }
    // The null event means nothing; any other line is the server talking to a person.
    if (code == int(GatewayProtocol::EventCode::Null))
        return Step::Process;
    return Step::ShowAsInfo;
}
