#include "TimeStampText.h"

#include <limits>

#include <QDateTime>
#include <QTime>

namespace {

void putTwoDigits(QChar* at, int value)
{
    at[0] = QLatin1Char(char('0' + value / 10));
    at[1] = QLatin1Char(char('0' + value % 10));
}

} // namespace

TimeStampText::TimeStampText(Clock msecsSinceEpoch)
    : m_clock(msecsSinceEpoch ? std::move(msecsSinceEpoch) : &QDateTime::currentMSecsSinceEpoch),
      m_second(std::numeric_limits<qint64>::min()), m_text(QStringLiteral("[00:00:00] "))
{
}

const QString& TimeStampText::text()
{
    const qint64 msecs = m_clock();
    // Rounded down, so the millisecond before the epoch belongs to its own second.
    const qint64 second = msecs / 1000 - (msecs % 1000 < 0 ? 1 : 0);
    // Any change renews the text: a clock set back must not keep showing a later time.
    if (second == m_second)
        return m_text;
    m_second = second;
    const QTime time = QDateTime::fromSecsSinceEpoch(second).time();
    if (!time.isValid())
        return m_text;
    // Writing into the string detaches it from copies handed out for earlier lines.
    QChar* digits = m_text.data();
    putTwoDigits(digits + 1, time.hour());
    putTwoDigits(digits + 4, time.minute());
    putTwoDigits(digits + 7, time.second());
    return m_text;
}
