#pragma once

#include <QByteArray>
#include <QList>

// Cuts a client's byte stream into lines. A line ends at CR, at LF or at CR LF (one end, even when
// the LF comes in the next chunk); empty lines are kept, since an empty password is one. A line
// that grows past the limit before its end is dropped whole, so a peer that never ends its line
// holds at most the limit in memory; each chunk is scanned once.
class LineFramer
{
public:
    explicit LineFramer(qsizetype maxLine);

    // The lines completed by these bytes, without their ends.
    QList<QByteArray> feed(const QByteArray& bytes);
    // Bytes held of the line not yet ended.
    qsizetype pending() const { return m_partial.size(); }
    // Lines dropped for length since the last call.
    int takeDropped();

private:
    qsizetype m_maxLine;
    QByteArray m_partial;
    bool m_afterCr = false;
    bool m_overflow = false;
    int m_dropped = 0;
};
