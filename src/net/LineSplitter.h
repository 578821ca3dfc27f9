#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Cuts a stream of received bytes into lines at CR or LF, in time linear in the bytes.
//
// A line is handed on as soon as its terminator has arrived, terminator included. The LF of a
// CR LF pair ends nothing of its own and is skipped, also when the pair is split between two
// chunks. A line longer than the bound is dropped whole: everything up to and including its next
// CR or LF is discarded, so no piece of it can pass for a line of its own. The result does not
// depend on how the stream was cut into chunks.
//
// Pull model: append() a chunk, then call takeLine() until it returns false. clear() may be called
// between two takeLine() calls (an owner that closes the connection from inside a line's handler)
// and ends the iteration.
class LineSplitter
{
public:
    explicit LineSplitter(qsizetype maxLineLength);

    void append(const char* data, qsizetype size);
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }

    // The next complete line with its terminator. The view stays valid until the next call of
    // append(), takeLine() or clear().
    bool takeLine(QByteArrayView& line);

    // Forgets the partial line and every byte not yet cut.
    void clear();

    // Bytes held for a line whose end has not arrived yet.
    qsizetype pendingSize() const { return m_partial.size(); }

    // Lines dropped for their length since the last call; a line counts as soon as it outgrows
    // the bound, before its end arrives.
    int takeDropped();

    // The line without its terminator when the flags ask to remove it (a cut line carries at most
    // one CR or LF, its last byte).
    static QByteArrayView stripTerminator(QByteArrayView line, bool noLineFeed, bool noReturn);

private:
    qsizetype m_maxLineLength;
    QByteArray m_input;        // the chunk being cut
    qsizetype m_pos = 0;       // first byte of m_input not yet looked at
    QByteArray m_partial;      // start of a line whose end has not arrived
    QByteArray m_line;         // storage for a line that spans chunks
    bool m_afterCr = false;    // the last byte cut was a CR: a following LF belongs to it
    bool m_discarding = false; // inside a line that outgrew the bound
    int m_dropped = 0;
};
