#include "Member.h"

namespace {

QString folded(const QString& name)
{
    return name.toCaseFolded();
}

} // namespace

Member::Member(const QString& name, const QString& tag, int plainFlags)
    : m_name(name), m_tag(tag), m_plainFlags(plainFlags)
{
}

Member::~Member() = default;

int Member::flags() const
{
    if (m_privilege != 0)
        return m_privilege;
    return m_voiced ? VoiceFlag : m_plainFlags;
}

bool Member::hasSquelched(const QString& name) const
{
    return m_squelched.contains(folded(name));
}

bool Member::squelch(const QString& name)
{
    if (m_squelched.size() >= MaxSquelches && !hasSquelched(name))
        return false;
    m_squelched.insert(folded(name));
    return true;
}

void Member::unsquelch(const QString& name)
{
    m_squelched.remove(folded(name));
}

bool Member::isFriend(const QString& name) const
{
    return m_friends.contains(name, Qt::CaseInsensitive);
}

bool Member::addFriend(const QString& name)
{
    if (isFriend(name) || m_friends.size() >= MaxFriends)
        return false;
    m_friends.append(name);
    return true;
}

bool Member::removeFriend(const QString& name)
{
    for (qsizetype i = 0; i < m_friends.size(); ++i) {
        if (m_friends.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            m_friends.removeAt(i);
            return true;
        }
    }
    return false;
}
