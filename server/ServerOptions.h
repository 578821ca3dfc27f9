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
    int maxClients = 200;
    int loginTimeoutMs = 60000;
    // Pace of the simulated accounts: one action per interval.
    int botIntervalMs = 12000;
};
