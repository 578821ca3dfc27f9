#include "Hub.h"

#include "Channel.h"
#include "Member.h"
#include "Protocol.h"

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

Hub::Hub(const ServerOptions& options) : m_options(options)
{
    m_channels.push_back(std::make_unique<Channel>(m_options.homeChannel));
}

Hub::~Hub() = default;

QString Hub::voidChannelName()
{
    return QStringLiteral("Vazio");
}

void Hub::addMember(Member* member)
{
    if (!m_members.contains(member))
        m_members.append(member);
}

void Hub::removeMember(Member* member)
{
    leaveChannel(member);
    m_members.removeAll(member);
}

Member* Hub::find(const QString& name) const
{
    for (Member* member : m_members) {
        if (sameName(member->name(), name))
            return member;
    }
    return nullptr;
}

QList<Channel*> Hub::channels() const
{
    QList<Channel*> list;
    for (const auto& channel : m_channels)
        list.append(channel.get());
    return list;
}

Channel* Hub::findChannel(const QString& name) const
{
    for (const auto& channel : m_channels) {
        if (sameName(channel->name(), name))
            return channel.get();
    }
    return nullptr;
}

Channel* Hub::channelFor(const QString& name)
{
    if (Channel* existing = findChannel(name))
        return existing;
    m_channels.push_back(std::make_unique<Channel>(name));
    return m_channels.back().get();
}

bool Hub::isPossibleChannelName(const QString& name)
{
    if (name.isEmpty() || name.size() > MaxChannelName || sameName(name, voidChannelName()))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

bool Hub::isOperatorChannelName(const QString& name)
{
    return name.startsWith(QStringLiteral("Op "), Qt::CaseInsensitive);
}

Hub::JoinResult Hub::checkJoin(Member* member, const QString& name, Channel* existing) const
{
    if (!isPossibleChannelName(name))
        return JoinResult::DoesNotExist;
    if (isOperatorChannelName(name) && !member->isOperator())
        return JoinResult::Restricted;
    if (existing && existing->isBanned(member->name()))
        return JoinResult::Banned;
    if (existing && m_options.channelLimit > 0 && existing->size() >= m_options.channelLimit)
        return JoinResult::Full;
    return JoinResult::Joined;
}

Hub::JoinResult Hub::join(Member* member, const QString& name)
{
    Channel* existing = findChannel(name);
    if (existing && existing == member->channel()) {
        listChannel(member);
        return JoinResult::Joined;
    }
    const JoinResult result = checkJoin(member, name, existing);
    switch (result) {
    case JoinResult::Joined:
        break;
    case JoinResult::DoesNotExist:
        member->deliver(Protocol::channelDoesNotExist(QStringLiteral("Esse canal não existe.")));
        return result;
    case JoinResult::Restricted:
        member->deliver(Protocol::channelRestricted(QStringLiteral("Esse canal é restrito.")));
        return result;
    case JoinResult::Banned:
        member->deliver(
            Protocol::error(QStringLiteral("Você está banido do canal %1.").arg(existing->name())));
        return result;
    case JoinResult::Full:
        member->deliver(Protocol::channelFull(QStringLiteral("O canal está cheio.")));
        return result;
    }
    leaveChannel(member);
    enter(member, channelFor(name));
    return result;
}

void Hub::enterVoid(Member* member)
{
    const QString name = voidChannelName();
    if (member->channel() && sameName(member->channel()->name(), name)) {
        listChannel(member);
        return;
    }
    leaveChannel(member);
    enter(member, channelFor(name));
}

void Hub::enter(Member* member, Channel* channel)
{
    channel->add(member);
    member->setChannel(channel);
    listChannel(member);
    for (Member* other : channel->members()) {
        if (other != member)
            other->deliver(
                Protocol::join(member->name(), flagsSeenBy(*other, *member), member->tag()));
    }
    if (channel->isModerated())
        member->deliver(Protocol::info(QStringLiteral("Este canal está moderado.")));
    if (OnJoined)
        OnJoined(member, channel);
}

void Hub::listChannel(Member* member)
{
    Channel* channel = member->channel();
    if (!channel)
        return;
    member->deliver(Protocol::channel(channel->name()));
    for (Member* present : channel->members())
        member->deliver(
            Protocol::user(present->name(), flagsSeenBy(*member, *present), present->tag()));
}

void Hub::leaveChannel(Member* member)
{
    Channel* channel = member->channel();
    if (!channel)
        return;
    channel->remove(member);
    member->setChannel(nullptr);
    for (Member* other : channel->members())
        other->deliver(Protocol::leave(member->name(), flagsSeenBy(*other, *member)));
    if (channel->size() == 0 && !sameName(channel->name(), m_options.homeChannel)) {
        for (auto it = m_channels.begin(); it != m_channels.end(); ++it) {
            if (it->get() == channel) {
                m_channels.erase(it);
                break;
            }
        }
    }
}

void Hub::rejoin(Member* member)
{
    Channel* channel = member->channel();
    if (!channel)
        return;
    channel->remove(member);
    for (Member* other : channel->members())
        other->deliver(Protocol::leave(member->name(), flagsSeenBy(*other, *member)));
    enter(member, channel);
}

Channel* Hub::channelToSpeakIn(Member* speaker) const
{
    Channel* channel = speaker->channel();
    if (!channel) {
        speaker->deliver(Protocol::error(QStringLiteral("Você não está em nenhum canal.")));
        return nullptr;
    }
    if (channel->isModerated() && !speaker->mayTalkInModeratedChannel()) {
        speaker->deliver(Protocol::error(QStringLiteral("Este canal está moderado.")));
        return nullptr;
    }
    return channel;
}

void Hub::talk(Member* speaker, const QString& text)
{
    Channel* channel = channelToSpeakIn(speaker);
    if (!channel)
        return;
    for (Member* other : channel->members()) {
        if (other != speaker && !other->hasSquelched(speaker->name()))
            other->deliver(Protocol::talk(speaker->name(), flagsSeenBy(*other, *speaker), text));
    }
}

void Hub::emote(Member* speaker, const QString& text)
{
    Channel* channel = channelToSpeakIn(speaker);
    if (!channel)
        return;
    for (Member* other : channel->members()) {
        if (other == speaker || !other->hasSquelched(speaker->name()))
            other->deliver(Protocol::emote(speaker->name(), flagsSeenBy(*other, *speaker), text));
    }
}

void Hub::whisper(Member* from, const QString& to, const QString& text)
{
    Member* target = find(to);
    if (!target) {
        from->deliver(Protocol::error(QStringLiteral("Esse usuário não está conectado.")));
        return;
    }
    if (!target->dndMessage().isEmpty()) {
        from->deliver(Protocol::error(QStringLiteral("%1 não quer ser incomodado: %2")
                                          .arg(target->name(), target->dndMessage())));
        return;
    }
    if (!target->hasSquelched(from->name())) {
        target->deliver(Protocol::whisperFrom(from->name(), flagsSeenBy(*target, *from), text));
        if (target->isSimulated() && OnSimulatedWhispered)
            OnSimulatedWhispered(target, from, text);
    }
    from->deliver(Protocol::whisperTo(target->name(), flagsSeenBy(*from, *target), text));
    if (!target->awayMessage().isEmpty())
        from->deliver(Protocol::info(
            QStringLiteral("%1 está ausente: %2").arg(target->name(), target->awayMessage())));
}

void Hub::whisperFriends(Member* from, const QString& text)
{
    int reached = 0;
    for (const QString& name : from->friends()) {
        Member* target = find(name);
        if (!target || target == from || !target->dndMessage().isEmpty() ||
            target->hasSquelched(from->name()))
            continue;
        target->deliver(Protocol::whisperFrom(from->name(), flagsSeenBy(*target, *from), text));
        ++reached;
    }
    from->deliver(Protocol::whisperToFriends(text));
    if (reached == 0)
        from->deliver(Protocol::info(QStringLiteral("Nenhum amigo seu está conectado.")));
}

void Hub::announceFlags(Member* subject)
{
    Channel* channel = subject->channel();
    if (!channel)
        return;
    for (Member* viewer : channel->members())
        viewer->deliver(Protocol::flagsChanged(subject->name(), flagsSeenBy(*viewer, *subject)));
}

void Hub::infoToChannel(Channel* channel, const QString& text)
{
    if (!channel)
        return;
    for (Member* member : channel->members())
        member->deliver(Protocol::info(text));
}

void Hub::broadcast(const QString& text)
{
    for (Member* member : m_members)
        member->deliver(Protocol::broadcast(text));
}

int Hub::flagsSeenBy(const Member& viewer, const Member& subject) const
{
    const int squelched = viewer.hasSquelched(subject.name()) ? Member::SquelchedFlag : 0;
    return subject.flags() | squelched;
}
