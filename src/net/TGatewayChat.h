#pragma once

#include "net/tBaseInterpreter.h"

#include <QQueue>

class QTimer;

// The chat gateway protocol: the login line, the four-digit event codes of received lines, and
// flood pacing of every outgoing line (one at once after a quiet period, then one per interval).
class TGatewayChat : public tBaseInterpreter
{
    Q_OBJECT
public:
    explicit TGatewayChat(QObject* parent = nullptr);
    ~TGatewayChat() override;

    QString UserName = QStringLiteral("Guest");
    QString Password;

    int FloodInterval() const;
    void setFloodInterval(int ms);

    // Sends 0x03 0x04 UserName CR Password CR CR in one send; false without a connection. Lines
    // still queued from before are dropped.
    bool Login();

    QString ExtractUser(const QString& line) const override;
    QString ExtractMess(const QString& line) const override;
    QString ExtractFlags(const QString& line) const override;
    QString ExtractUserType(const QString& line) const override;
    void ProcessLine(const QString& line) override;
    // The event code ProcessLine reads from a line's first four characters; 0 when they are not
    // a number, which no event claims.
    static int eventCode(const QString& line);
    // Every line but the login's leaves here. A line that OnHoldLine holds back (it answers
    // true) is dropped, not queued.
    void SendLine(const QString& line) override;
    std::function<bool(const QString& line)> OnHoldLine;

    // The flood timer's tick; public so tests can drive the queue without waiting.
    void FloodTimerTick();

    bool CanSend() const { return m_canSend; }
    int queuedCount() const { return int(m_queue.size()); }

private:
    QTimer* m_floodTimer;
    QQueue<QString> m_queue;
    bool m_canSend = true;
};
