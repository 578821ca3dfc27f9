#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "view/LinkFinder.h"
#include "view/TextPool.h"

// One piece of a paragraph as the writers appended it. A tab's text is "\t".
struct ChatPiece
{
    QString text;
    int style = 0;
    bool isTab = false;
};

// A run as the layout and the exporters read it: characters [start, start + length) of the
// paragraph's text.
struct ChatRun
{
    int start = 0;
    int length = 0;
    int style = 0;
    bool isTab = false;
};

// A place between two characters: a paragraph and an offset into its text (a tab counts one).
struct ChatPosition
{
    int paragraph = 0;
    int offset = 0;

    friend bool operator==(const ChatPosition& a, const ChatPosition& b)
    {
        return a.paragraph == b.paragraph && a.offset == b.offset;
    }
    friend bool operator!=(const ChatPosition& a, const ChatPosition& b) { return !(a == b); }
    friend bool operator<(const ChatPosition& a, const ChatPosition& b)
    {
        return a.paragraph < b.paragraph || (a.paragraph == b.paragraph && a.offset < b.offset);
    }
};

struct ChatRange
{
    ChatPosition start;
    ChatPosition end;

    bool isEmpty() const { return !(start < end); }
};

// The content of one pane: paragraphs of styled runs and tabs, GUI-free. Text is kept as
// Windows-1252 bytes while a paragraph fits that code page (nearly every chat line does) and as
// UTF-16 otherwise; runs and paragraphs are flat arrays, so a line costs a few dozen bytes.
// Web addresses are found once, when a paragraph is complete, and kept beside the paragraphs.
// A server decides how much arrives, so a pane keeps at most MaxParagraphs paragraphs: past
// that the oldest go, a block at a time, and their memory is given back.
class ChatDocument
{
public:
    // About 100 MB of ordinary talk lines.
    static constexpr int MaxParagraphs = 1000000;

    struct FindOptions
    {
        bool matchCase = false;
        bool down = true;
        bool wholeWord = false;
    };

    ChatDocument();
    ~ChatDocument();
    ChatDocument(const ChatDocument&) = delete;
    ChatDocument& operator=(const ChatDocument&) = delete;

    // Tests lower the ceiling to reach it quickly; it applies from the next appendLine.
    void setMaxParagraphs(int count);
    int maxParagraphs() const { return m_maxParagraphs; }

    int paragraphCount() const { return int(m_paragraphs.size()); }
    bool isEmpty() const { return m_paragraphs.empty(); }
    int paragraphLength(int p) const;
    // The pieces joined, a tab as '\t'.
    QString paragraphText(int p) const;
    // Characters [from, to) of the text appended to `out` as Windows-1252 bytes; a character
    // the code page lacks becomes one "?".
    void appendParagraphCp1252(int p, int from, int to, QByteArray& out) const;
    // The same as UTF-8, without going through a string.
    void appendParagraphUtf8(int p, int from, int to, QByteArray& out) const;
    QList<ChatPiece> pieces(int p) const;
    int runCount(int p) const;
    ChatRun run(int p, int i) const;

    // Empty text starts an empty paragraph. Returns how many of the oldest paragraphs were
    // dropped to stay within the ceiling (paragraph numbers shift down by that much).
    int appendLine(const QString& text, int style);
    void appendText(const QString& text, int style);
    void appendTab(int style);
    void clear();

    // Paragraphs started since the document was made, counting those dropped or cleared since
    // and not the history: paragraph `count - 1` is the last of them, and the one started k
    // paragraphs before it is paragraph `paragraphCount() - 1 - k` while that is at least
    // historyCount().
    quint64 appendedCount() const { return m_appended; }
    // History: lines of earlier sessions shown at the head of the document, before everything
    // appended. They go with the oldest paragraphs and with clear, like any other.
    int historyCount() const { return m_historyCount; }
    // Puts the lines, one paragraph each in the style, after any history and before the
    // paragraphs appended so far; as many of the last lines as the ceiling leaves room for.
    void insertHistory(const QStringList& lines, int style);
    // Everything after the history.
    ChatRange sessionRange() const;

    ChatPosition endPosition() const;
    ChatRange wholeRange() const { return {ChatPosition{}, endPosition()}; }
    // The web addresses in paragraph p, in order (see LinkFinder).
    QList<TextSpan> links(int p) const;
    // The address holding the character at `position`, if any.
    std::optional<TextSpan> linkAt(ChatPosition position) const;

    // A position moved inside the content.
    ChatPosition clamped(ChatPosition position) const;
    // The text of the range, paragraphs separated by '\n'.
    QString text(const ChatRange& range) const;

    static bool isWordDelimiter(QChar ch);
    // The word holding the character at `position`; a delimiter there is a word of its own.
    ChatRange wordAt(ChatPosition position) const;

    // The next occurrence after `selection` (downward) or before it (upward); with no selection a
    // downward search starts at the beginning and an upward one at the end. Matches lie inside one
    // paragraph. Ignoring case folds each character on its own (Unicode simple case folding):
    // "AÇÃO" finds "ação" and "STRAẞE" finds "straße", but "STRASSE" does not, so a hit always
    // spans as many characters as the needle and selects exactly what matched.
    std::optional<ChatRange> find(const QString& needle, const FindOptions& options,
                                  const std::optional<ChatRange>& selection) const;

    // A read-only copy of paragraphs first..last as they are now, unchanged by whatever happens
    // to this document later. Their characters are shared rather than copied (about a third of
    // what the paragraphs take); only the paragraphs and runs are. Never append to the copy.
    std::unique_ptr<ChatDocument> snapshot(int first, int last) const;

    // Bytes held for the content, used or not.
    std::size_t allocated() const;

private:
    // 16 bytes: the top bit of `place` tells UTF-16 text (in m_wide) from bytes (in m_narrow).
    // A paragraph that opens with a time stamp "[hh:mm:ss] ", as nearly every chat line does, has
    // the next bit set and keeps the stamp as three units holding its pairs of digits (0 to 99),
    // ahead of the rest of its text.
    struct Paragraph
    {
        quint64 place;
        quint32 length;   // characters shown, the whole stamp included
        quint32 firstRun; // counted from the first run ever appended, modulo 2^32
    };
    static constexpr quint64 Wide = quint64(1) << 63;
    static constexpr quint64 Stamped = quint64(1) << 62;
    static constexpr quint64 Flags = Wide | Stamped;
    static constexpr int StampLength = 11;
    static constexpr int StampUnits = 3;
    // 4 bytes: the start in the low 24 bits (a paragraph is shorter than 2^24 characters), the
    // tab flag in bit 24 and the style plus one in the top 7 bits (styles -1 to 126).
    struct Run
    {
        quint32 bits;

        Run(quint32 start, int style, bool tab)
            : bits(start | (tab ? TabBit : 0u) | (quint32(style + 1) << StyleShift))
        {
        }
        quint32 start() const { return bits & StartMask; }
        int style() const { return int(bits >> StyleShift) - 1; }
        bool tab() const { return bits & TabBit; }
    };
    static constexpr quint32 StartMask = (1u << 24) - 1;
    static constexpr quint32 TabBit = 1u << 24;
    static constexpr int StyleShift = 25;
    static constexpr int MaxStoredStyle = 126;

    // 12 bytes for each address; lines without one cost nothing.
    struct Link
    {
        quint32 paragraph; // counted from the first paragraph ever appended, modulo 2^32
        quint32 start;
        quint32 length;
    };

    int firstRun(int p) const { return int(m_paragraphs[p].firstRun - m_firstRunNumber); }
    int paragraphOf(const Link& link) const { return int(link.paragraph - m_firstParagraphNumber); }
    std::deque<Link>::const_iterator firstLink(int p) const;
    void findLinksInLast() const;
    int runEnd(int p) const;
    void dropOldest(int count);
    void addToLast(const QString& text, int style, bool tab);
    void widenLast();
    void fillText(int p, QString& out) const;
    // Units kept for the paragraph: its characters, but three for a stamp.
    quint32 storedLength(const Paragraph& par) const
    {
        return par.length - (par.place & Stamped ? StampLength - StampUnits : 0);
    }
    // Stored units [from, to) appended as Windows-1252 bytes or as UTF-8.
    void appendStoredCp1252(const Paragraph& par, int from, int to, QByteArray& out) const;
    void appendStoredUtf8(const Paragraph& par, int from, int to, QByteArray& out) const;
    // Characters [from, to) of a stamped paragraph: those of the stamp, then through `rest`
    // with stored offsets.
    template <typename Append>
    void appendWithStamp(const Paragraph& par, int from, int to, QByteArray& out,
                         Append rest) const;
    bool isWholeWord(const QString& text, int start, int length) const;

    // Deques: dropping the oldest lines frees their blocks without moving the rest.
    std::deque<Paragraph> m_paragraphs;
    std::deque<Run> m_runs;
    quint32 m_firstRunNumber = 0;
    quint32 m_firstParagraphNumber = 0;
    // Addresses of the last paragraph are found once it is complete, or when it is shown before.
    mutable std::deque<Link> m_links;
    mutable bool m_lastLinksFound = false;
    int m_maxParagraphs = MaxParagraphs;
    quint64 m_appended = 0;
    int m_historyCount = 0;
    TextPool<char> m_narrow;
    TextPool<char16_t> m_wide;
};
