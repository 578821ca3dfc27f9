#include "TGatewayChat.h"

#include <QTimer>

#include "net/GatewayProtocol.h"
#include "net/TChatInterface.h"

// The wire and its event codes are described in GatewayProtocol.h.

namespace {

using GatewayProtocol::EventCode;

// Up to `count` characters from the 1-based position `from`; a start before the line starts at
// its first character and still takes up to `count`, a copy past the end stops at the end.
QString copyAt(const QString& line, qsizetype from, qsizetype count)
{
    if (from < 1)
        from = 1;
    return line.mid(from - 1, count);
}

} // namespace

// Exactly four ASCII digits make a code; anything else (blanks, signs, other digits, a shorter
// line) is 0, which no event claims.
int TGatewayChat::eventCode(const QString& line)
{
    if (line.size() < 4)
        return 0;
    int code = 0;
    for (qsizetype i = 0; i < 4; ++i) {
        const char16_t ch = line.at(i).unicode();
        if (ch < u'0' || ch > u'9')
            return 0;
        code = code * 10 + (ch - u'0');
    }
    return code;
}

TGatewayChat::TGatewayChat(QObject* parent)
    : tBaseInterpreter(parent), m_floodTimer(new QTimer(this))
{
    // A coarse timer may fire up to 5% early, which would pace lines faster than the server allows.
    m_floodTimer->setTimerType(Qt::PreciseTimer);
    m_floodTimer->setInterval(1500);
    connect(m_floodTimer, &QTimer::timeout, this, &TGatewayChat::FloodTimerTick);
    m_floodTimer->start();
}

TGatewayChat::~TGatewayChat() = default;

int TGatewayChat::FloodInterval() const
{
    return m_floodTimer->interval();
}

void TGatewayChat::setFloodInterval(int ms)
{
    m_floodTimer->setInterval(qMax(0, ms));
}

bool TGatewayChat::Login()
{
    if (!ChatInterface)
        return false;
    // A new session: lines queued for an earlier connection, or while there was none, would
    // reach this server before it has taken the login. The tick that drops them while the
    // connection is down may not have come yet.
    m_queue.clear();
    ChatInterface->LoginScript.clear();
    ChatInterface->LoginScript.append(QString(GatewayProtocol::LoginPrefix) + UserName +
                                      QLatin1Char('\r') + Password + QLatin1Char('\r'));
    return ChatInterface->RunLoginScript();
}

QString TGatewayChat::ExtractUser(const QString& line) const
{
    // The third space-separated field: skip to the first space after the code's, then take the
    // characters up to the next space.
    QString user;
    bool inField = false;
    for (qsizetype i = 5; i < line.size(); ++i) {
        const QChar ch = line.at(i);
        if (ch == QLatin1Char(' ')) {
            if (inField)
                break;
            inField = true;
        } else if (inField) {
            user.append(ch);
        }
    }
    return user;
}

QString TGatewayChat::ExtractMess(const QString& line) const
{
    // Everything after the first quote but the line's last character, the closing quote; inner
    // quotes stay.
    const qsizetype quote = line.indexOf(QLatin1Char('"'));
    if (quote < 0)
        return QString();
    const qsizetype length = line.size() - 1 - (quote + 1);
    return length > 0 ? line.mid(quote + 1, length) : QString();
}

QString TGatewayChat::ExtractFlags(const QString& line) const
{
    const qsizetype n = line.size();
    if (n > 0 && line.at(n - 1) == QLatin1Char(']'))
        return copyAt(line, n - 10, 4);
    return copyAt(line, n - 3, 4);
}

QString TGatewayChat::ExtractUserType(const QString& line) const
{
    return copyAt(line, line.size() - 4, 4);
}

void TGatewayChat::ProcessLine(const QString& line)
{
    const int code = eventCode(line);
    const QString user = ExtractUser(line);
    const QString mess = ExtractMess(line);
    const QString flags = ExtractFlags(line);
    const QString userType = ExtractUserType(line);

    auto talk = [&](const tTalkEvent& event) {
        if (event)
            event(user, mess);
    };
    auto userTyped = [&](const tUserTypeEvent& event) {
        if (event)
            event(user, flags, userType);
    };
    auto text = [&](const tBaseEvent& event) {
        if (event)
            event(mess);
    };

    switch (static_cast<EventCode>(code)) {
    case EventCode::ShowUser:
        userTyped(OnShowUser);
        break;
    case EventCode::Join:
        userTyped(OnJoin);
        break;
    case EventCode::Leave:
        userTyped(OnLeave);
        break;
    case EventCode::Whisper:
        talk(OnWhisper);
        break;
    case EventCode::Talk:
        talk(OnTalk);
        break;
    case EventCode::Broadcast:
        text(OnBroadcast);
        break;
    case EventCode::Channel:
        text(OnChannel);
        break;
    case EventCode::UserFlags:
        if (OnUserFlags)
            OnUserFlags(user, flags);
        break;
    case EventCode::WhisperSent:
        talk(OnWhisperSent);
        break;
    case EventCode::ChannelFull:
        text(OnChannelFull);
        break;
    case EventCode::ChannelDoesNotExist:
        text(OnChanNotExist);
        break;
    case EventCode::ChannelRestricted:
        text(OnRestricted);
        break;
    case EventCode::Info:
        text(OnInfo);
        break;
    case EventCode::Error:
        text(OnError);
        break;
    case EventCode::Emote:
        talk(OnEmote);
        break;
    case EventCode::Null:
        // The server's null event: consumed, it means nothing to us.
        break;
    case EventCode::UniqueName:
        if (OnUniqueName)
            OnUniqueName(user);
        break;
    default:
        if (OnUnHandled)
            OnUnHandled(line);
        break;
    }
}

void TGatewayChat::SendLine(const QString& line)
{
    if (!ChatInterface || (OnHoldLine && OnHoldLine(line)))
        return;
    if (m_canSend && m_queue.isEmpty()) {
        // The first line after a quiet period goes at once; its result is the connection's.
        ChatInterface->SendData(line);
        m_canSend = false;
        return;
    }
    m_queue.enqueue(line);
}

void TGatewayChat::FloodTimerTick()
{
    if (!ChatInterface)
        return;
    if (!ChatInterface->Connected())
        m_queue.clear();
    if (m_queue.isEmpty()) {
        m_canSend = true;
        return;
    }
    // A failed send is not retried; the connection reports it.
    ChatInterface->SendData(m_queue.dequeue());
}
