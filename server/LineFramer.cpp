#include "LineFramer.h"

LineFramer::LineFramer(qsizetype maxLine) : m_maxLine(maxLine) {}

QList<QByteArray> LineFramer::feed(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        const bool lfOfCrLf = c == '\n' && m_afterCr && i == start && m_partial.isEmpty();
        m_afterCr = c == '\r';
        if (lfOfCrLf) {
            start = i + 1;
            continue;
        }
        if (m_overflow) {
            m_overflow = false;
            ++m_dropped;
        } else if (m_partial.size() + (i - start) > m_maxLine) {
            ++m_dropped;
        } else {
            m_partial.append(data + start, i - start);
            lines.append(m_partial);
        }
        m_partial.clear();
        start = i + 1;
    }
    if (start < size) {
        m_afterCr = false;
        if (!m_overflow) {
            if (m_partial.size() + (size - start) > m_maxLine) {
                m_partial.clear();
                m_partial.squeeze();
                m_overflow = true;
            } else {
                m_partial.append(data + start, size - start);
            }
        }
    }
    return lines;
}

int LineFramer::takeDropped()
{
    const int dropped = m_dropped;
    m_dropped = 0;
    return dropped;
}
