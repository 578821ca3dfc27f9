#pragma once

#include <functional>

#include <QString>
#include <QtGlobal>

// The time stamp put before a line, "[HH:mm:ss] " in local time. Every line of a flood asks for
// it, so the text is built once per second: each call reads only the clock (milliseconds since
// the epoch), and the local time is worked out and written again only when the second changed.
class TimeStampText
{
public:
    using Clock = std::function<qint64()>;

    // The clock defaults to the system's wall clock.
    explicit TimeStampText(Clock msecsSinceEpoch = {});

    const QString& text();

private:
    Clock m_clock;
    qint64 m_second;
    QString m_text;
};
