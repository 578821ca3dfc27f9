#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// Everything the command line can change; the tests build one directly.
struct ServerOptions
{
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 6112;
    // Accounts (compared ignoring case) that receive privileged flags when they log in.
    QStringList admins;
    QStringList moderators;
    QStringList operators;
    bool simulatedUsers = true;
    // Most accounts in one channel; 0 means no limit. The void channel is never full.
    int channelLimit = 0;
    QString homeChannel = QStringLiteral("Chat");
    // A client line longer than this is dropped whole.
    qsizetype maxLineBytes = 4096;
    // A client that lets more than this pile up unread is disconnected.
    qint64 maxPendingOutput = 1024 * 1024;
    // Logged-in clients served at once.
    int maxClients = 200;
    // Connections that have not logged in get a cap of their own and a short deadline, so that
    // idle or slow connections cannot keep anyone who has logged in from being served.
    int maxAnonymous = 50;
    // Connections not logged in yet from one address, so that one address cannot take the whole
    // anonymous cap by reopening what the deadline closes. Logged-in clients are not counted per
    // address: many players may share one.
    int maxAnonymousPerAddress = 4;
    int loginTimeoutMs = 10000;
    // Lines a logged-in client may send: floodBurst at once after a quiet spell, then one per
    // floodIntervalMs; the client paces itself at one per 1500 ms after a first immediate one.
    bool floodLimit = true;
    int floodBurst = 10;
    int floodIntervalMs = 1000;
    // Pace of the simulated accounts: one action per interval.
    int botIntervalMs = 12000;
};
