#include "Channel.h"

Channel::Channel(const QString& name) : m_name(name) {}

void Channel::add(Member* member)
{
    if (!m_members.contains(member))
        m_members.append(member);
}

void Channel::remove(Member* member)
{
    m_members.removeAll(member);
}

bool Channel::isBanned(const QString& name) const
{
    return m_bans.contains(name, Qt::CaseInsensitive);
}

bool Channel::ban(const QString& name)
{
    if (isBanned(name))
        return true;
    if (m_bans.size() >= MaxBans)
        return false;
    m_bans.append(name);
    return true;
}

bool Channel::unban(const QString& name)
{
    for (qsizetype i = 0; i < m_bans.size(); ++i) {
        if (m_bans.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            m_bans.removeAt(i);
            return true;
        }
    }
    return false;
}
