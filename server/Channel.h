#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Member;

// One chat channel: the accounts in it, in the order they entered, its bans and whether only
// voiced and privileged accounts may talk.
class Channel
{
public:
    static constexpr int MaxBans = 100;

    explicit Channel(const QString& name);

    const QString& name() const { return m_name; }
    const QList<Member*>& members() const { return m_members; }
    qsizetype size() const { return m_members.size(); }
    void add(Member* member);
    void remove(Member* member);

    bool isModerated() const { return m_moderated; }
    void setModerated(bool moderated) { m_moderated = moderated; }

    bool isBanned(const QString& name) const;
    // False when the ban list is full.
    bool ban(const QString& name);
    bool unban(const QString& name);
    QStringList bans() const { return m_bans; }

private:
    QString m_name;
    QList<Member*> m_members;
    bool m_moderated = false;
    QStringList m_bans;
};
