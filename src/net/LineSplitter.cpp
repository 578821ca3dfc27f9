#include "LineSplitter.h"

namespace {

const char* findTerminator(const char* from, const char* end)
{
    for (; from != end; ++from) {
        // One comparison rules out nearly every byte of a line.
        if (static_cast<unsigned char>(*from) <= '\r' && (*from == '\n' || *from == '\r'))
            return from;
    }
    return nullptr;
}

} // namespace

LineSplitter::LineSplitter(qsizetype maxLineLength) : m_maxLineLength(maxLineLength) {}

void LineSplitter::append(const char* data, qsizetype size)
{
    if (m_pos < m_input.size()) {
        // The previous chunk was not cut to its end: keep its rest in front of the new bytes.
        m_input.remove(0, m_pos);
    } else {
        m_input.resize(0);
    }
    m_pos = 0;
    m_input.append(data, size);
}

bool LineSplitter::takeLine(QByteArrayView& line)
{
    const char* data = m_input.constData();
    const qsizetype size = m_input.size();
    while (m_pos < size) {
        if (m_afterCr) {
            m_afterCr = false;
            if (data[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        const char* start = data + m_pos;
        const char* terminator = findTerminator(start, data + size);
        if (!terminator) {
            const qsizetype rest = size - m_pos;
            m_pos = size;
            if (m_discarding)
                return false;
            if (m_partial.size() + rest > m_maxLineLength) {
                m_partial.clear();
                m_discarding = true;
                ++m_dropped;
            } else {
                m_partial.append(start, rest);
            }
            return false;
        }
        const qsizetype length = terminator - start + 1;
        m_pos += length;
        m_afterCr = *terminator == '\r';
        if (m_discarding) {
            m_discarding = false;
            continue;
        }
        if (m_partial.size() + length - 1 > m_maxLineLength) {
            m_partial.clear();
            ++m_dropped;
            continue;
        }
        if (m_partial.isEmpty()) {
            line = QByteArrayView(start, length);
            return true;
        }
        m_partial.append(start, length);
        m_line.swap(m_partial);
        m_partial.resize(0);
        line = QByteArrayView(m_line);
        return true;
    }
    return false;
}

int LineSplitter::takeDropped()
{
    const int dropped = m_dropped;
    m_dropped = 0;
    return dropped;
}

void LineSplitter::clear()
{
    m_input.clear();
    m_pos = 0;
    m_partial.clear();
    m_line.clear();
    m_afterCr = false;
    m_discarding = false;
}

QByteArrayView LineSplitter::stripTerminator(QByteArrayView line, bool noLineFeed, bool noReturn)
{
    if (line.isEmpty())
        return line;
    const char last = line.at(line.size() - 1);
    if ((last == '\n' && noLineFeed) || (last == '\r' && noReturn))
        return line.first(line.size() - 1);
    return line;
}
