#include "view/ChatDocument.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include <QStringView>
#include <QVarLengthArray>

#include "core/Cp1252.h"

namespace {

// A paragraph stops growing here; only a runaway writer gets near it.
constexpr quint32 MaxParagraphLength = 1u << 24;

const std::array<char16_t, 256>& cp1252Table()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            t[b] = Cp1252::decode(&byte, 1).at(0).unicode();
        }
        return t;
    }();
    return table;
}

// A piece of a line fits here without a heap block.
constexpr int PieceBuffer = 256;

// Adds the Windows-1252 bytes of the text to `out`; false when a character has none.
bool narrowInto(QStringView text, QVarLengthArray<char, PieceBuffer>& out)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char* bytes = out.data() + at;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        const int b = (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) ? ch : Cp1252::byteOf(ch);
        if (b < 0)
            return false;
        bytes[i] = char(b);
    }
    return true;
}

// Whether the text opens with a time stamp "[hh:mm:ss] " (any two digits in each place).
bool opensWithStamp(QStringView text)
{
    static constexpr char16_t Pattern[] = u"[00:00:00] ";
    if (text.size() < 11)
        return false;
    for (int i = 0; i < 11; ++i) {
        const char16_t ch = text[i].unicode();
        if (Pattern[i] == u'0' ? (ch < u'0' || ch > u'9') : ch != Pattern[i])
            return false;
    }
    return true;
}

// The stamp's pairs of digits as three units of 0 to 99.
std::array<char16_t, 3> stampUnits(QStringView text)
{
    std::array<char16_t, 3> units{};
    for (int i = 0; i < 3; ++i)
        units[i] =
            char16_t((text[1 + 3 * i].unicode() - u'0') * 10 + text[2 + 3 * i].unicode() - u'0');
    return units;
}

// "00" to "99", for writing a stamp's digits without dividing.
constexpr std::array<char, 200> TwoDigits = [] {
    std::array<char, 200> digits{};
    for (int i = 0; i < 100; ++i) {
        digits[2 * i] = char('0' + i / 10);
        digits[2 * i + 1] = char('0' + i % 10);
    }
    return digits;
}();

// Writes the stamp's eleven characters from its three units.
template <typename Ch, typename Out>
void writeStamp(const Ch* units, Out* dst)
{
    dst[0] = Out('[');
    dst[3] = dst[6] = Out(':');
    dst[9] = Out(']');
    dst[10] = Out(' ');
    for (int i = 0; i < 3; ++i) {
        const char* pair = TwoDigits.data() + 2 * int(units[i]);
        dst[1 + 3 * i] = Out(pair[0]);
        dst[2 + 3 * i] = Out(pair[1]);
    }
}

// The first and the last chunk of a pool that some texts live in.
struct ChunkSpan
{
    std::optional<quint64> first;
    std::optional<quint64> last;

    template <typename Ch>
    void include(const TextPool<Ch>& pool, quint64 where)
    {
        const std::size_t index = pool.chunkIndex(where);
        if (!first || index < pool.chunkIndex(*first))
            first = where;
        if (!last || index > pool.chunkIndex(*last))
            last = where;
    }
};

} // namespace

ChatDocument::ChatDocument() = default;
ChatDocument::~ChatDocument() = default;

int ChatDocument::paragraphLength(int p) const
{
    return int(m_paragraphs[p].length);
}

void ChatDocument::setMaxParagraphs(int count)
{
    m_maxParagraphs = std::max(count, 1);
}

int ChatDocument::runEnd(int p) const
{
    return p + 1 < paragraphCount() ? firstRun(p + 1) : int(m_runs.size());
}

int ChatDocument::runCount(int p) const
{
    return runEnd(p) - firstRun(p);
}

ChatRun ChatDocument::run(int p, int i) const
{
    const Paragraph& par = m_paragraphs[p];
    const int index = firstRun(p) + i;
    const Run& r = m_runs[index];
    const quint32 end = index + 1 < runEnd(p) ? m_runs[index + 1].start() : par.length;
    return {int(r.start()), int(end - r.start()), r.style(), r.tab()};
}

void ChatDocument::fillText(int p, QString& out) const
{
    const Paragraph& par = m_paragraphs[p];
    out.resize(par.length);
    auto* dst = reinterpret_cast<char16_t*>(out.data());
    quint32 count = storedLength(par);
    const int skip = par.place & Stamped ? StampUnits : 0;
    count -= quint32(skip);
    if (par.place & Wide) {
        const char16_t* src = m_wide.data(par.place & ~Flags);
        if (skip) {
            writeStamp(src, dst);
            dst += StampLength;
        }
        std::copy(src + skip, src + skip + count, dst);
        return;
    }
    const auto& table = cp1252Table();
    const char* src = m_narrow.data(par.place & ~Flags);
    if (skip) {
        writeStamp(src, dst);
        dst += StampLength;
        src += skip;
    }
    for (quint32 i = 0; i < count; ++i)
        dst[i] = table[static_cast<unsigned char>(src[i])];
}

QString ChatDocument::paragraphText(int p) const
{
    QString text;
    fillText(p, text);
    return text;
}

template <typename Append>
void ChatDocument::appendWithStamp(const Paragraph& par, int from, int to, QByteArray& out,
                                   Append rest) const
{
    char stamp[StampLength];
    if (par.place & Wide)
        writeStamp(m_wide.data(par.place & ~Flags), stamp);
    else
        writeStamp(m_narrow.data(par.place & ~Flags), stamp);
    const int stampEnd = std::min(to, int(StampLength));
    if (from < stampEnd)
        out.append(stamp + from, stampEnd - from);
    constexpr int shift = StampLength - StampUnits;
    if (to > StampLength)
        rest(std::max(from, int(StampLength)) - shift, to - shift);
}

void ChatDocument::appendParagraphCp1252(int p, int from, int to, QByteArray& out) const
{
    const Paragraph& par = m_paragraphs[p];
    from = std::clamp(from, 0, int(par.length));
    to = std::clamp(to, from, int(par.length));
    if (!(par.place & Stamped)) {
        appendStoredCp1252(par, from, to, out);
        return;
    }
    if (!(par.place & Wide)) {
        // Nearly every line saved: grown once, then written in place.
        const char* text = m_narrow.data(par.place & ~Flags);
        const qsizetype at = out.size();
        out.resize(at + (to - from));
        char* dst = out.data() + at;
        char stamp[StampLength];
        writeStamp(text, stamp);
        const int stampEnd = std::min(to, int(StampLength));
        for (int i = from; i < stampEnd; ++i)
            *dst++ = stamp[i];
        const int restFrom = std::max(from, int(StampLength));
        if (to > restFrom)
            std::memcpy(dst, text + restFrom - (StampLength - StampUnits),
                        std::size_t(to - restFrom));
        return;
    }
    appendWithStamp(par, from, to, out, [&](int a, int b) { appendStoredCp1252(par, a, b, out); });
}

void ChatDocument::appendParagraphUtf8(int p, int from, int to, QByteArray& out) const
{
    const Paragraph& par = m_paragraphs[p];
    from = std::clamp(from, 0, int(par.length));
    to = std::clamp(to, from, int(par.length));
    if (!(par.place & Stamped)) {
        appendStoredUtf8(par, from, to, out);
        return;
    }
    appendWithStamp(par, from, to, out, [&](int a, int b) { appendStoredUtf8(par, a, b, out); });
}

void ChatDocument::appendStoredCp1252(const Paragraph& par, int from, int to, QByteArray& out) const
{
    if (!(par.place & Wide)) {
        out.append(m_narrow.data(par.place & ~Flags) + from, qsizetype(to - from));
        return;
    }
    const char16_t* text = m_wide.data(par.place & ~Flags);
    for (int i = from; i < to; ++i) {
        const char16_t ch = text[i];
        // Two UTF-16 units of one character give one "?".
        if (QChar::isHighSurrogate(ch) && i + 1 < to && QChar::isLowSurrogate(text[i + 1]))
            ++i;
        const int b = Cp1252::byteOf(ch);
        out += char(b < 0 ? '?' : b);
    }
}

void ChatDocument::appendStoredUtf8(const Paragraph& par, int from, int to, QByteArray& out) const
{
    if (par.place & Wide) {
        const auto* text = reinterpret_cast<const QChar*>(m_wide.data(par.place & ~Flags));
        out += QStringView(text + from, to - from).toUtf8();
        return;
    }
    const char* text = m_narrow.data(par.place & ~Flags);
    const auto& table = cp1252Table();
    int i = from;
    while (i < to) {
        // Runs of ASCII, nearly all of a chat line, go as they are.
        int ascii = i;
        while (ascii < to && static_cast<unsigned char>(text[ascii]) < 0x80)
            ++ascii;
        out.append(text + i, ascii - i);
        if (ascii == to)
            break;
        // The code page's other characters all lie in the Basic Multilingual Plane.
        const char16_t ch = table[static_cast<unsigned char>(text[ascii])];
        if (ch < 0x800) {
            out += char(0xC0 | (ch >> 6));
        } else {
            out += char(0xE0 | (ch >> 12));
            out += char(0x80 | ((ch >> 6) & 0x3F));
        }
        out += char(0x80 | (ch & 0x3F));
        i = ascii + 1;
    }
}

QList<ChatPiece> ChatDocument::pieces(int p) const
{
    const QString text = paragraphText(p);
    QList<ChatPiece> result;
    const int count = runCount(p);
    result.reserve(count);
    for (int i = 0; i < count; ++i) {
        const ChatRun r = run(p, i);
        result.append({text.mid(r.start, r.length), r.style, r.isTab});
    }
    return result;
}

int ChatDocument::appendLine(const QString& text, int style)
{
    // The last paragraph is complete: its addresses are found once, now.
    if (!m_paragraphs.empty() && !m_lastLinksFound)
        findLinksInLast();
    Paragraph par{m_narrow.append(nullptr, 0), 0, m_firstRunNumber + quint32(m_runs.size())};
    m_paragraphs.push_back(par);
    ++m_appended;
    if (!text.isEmpty())
        addToLast(text, style, false);
    if (paragraphCount() <= m_maxParagraphs)
        return 0;
    // A sixteenth of the ceiling at a time: the cost of dropping spreads over the lines that
    // arrive until the next drop, and the pane still holds at least 15/16 of its ceiling.
    const int block = std::max(1, m_maxParagraphs / 16);
    const int count = paragraphCount() - m_maxParagraphs + block - 1;
    dropOldest(count);
    return count;
}

void ChatDocument::dropOldest(int count)
{
    for (int p = 0; p < count; ++p) {
        const quint64 place = m_paragraphs[p].place;
        if (place & Wide)
            m_wide.release(place & ~Flags);
        else
            m_narrow.release(place & ~Flags);
    }
    m_links.erase(m_links.cbegin(), firstLink(count));
    m_firstParagraphNumber += quint32(count);
    const int runs = firstRun(count);
    m_runs.erase(m_runs.begin(), m_runs.begin() + runs);
    m_firstRunNumber += quint32(runs);
    m_paragraphs.erase(m_paragraphs.begin(), m_paragraphs.begin() + count);
    m_historyCount = std::max(0, m_historyCount - count);
}

// The history arrives once, shortly after the window is shown, when the document holds a few
// paragraphs of its own: those are laid down again after it.
void ChatDocument::insertHistory(const QStringList& lines, int style)
{
    const int count = paragraphCount();
    const int room = std::max(0, m_maxParagraphs - count);
    const QStringList taken = lines.mid(std::max(qsizetype(0), lines.size() - room));
    if (taken.isEmpty())
        return;
    QList<QList<ChatPiece>> kept;
    kept.reserve(count);
    for (int p = 0; p < count; ++p)
        kept.append(pieces(p));
    const quint64 appended = m_appended;
    const int history = m_historyCount;
    clear();
    const auto layDown = [this](const QList<ChatPiece>& paragraph) {
        appendLine(QString(), -1);
        for (const ChatPiece& piece : paragraph)
            addToLast(piece.text, piece.style, piece.isTab);
    };
    for (int p = 0; p < history; ++p)
        layDown(kept[p]);
    for (const QString& line : taken)
        appendLine(line, style);
    for (int p = history; p < count; ++p)
        layDown(kept[p]);
    m_appended = appended;
    m_historyCount = history + int(taken.size());
}

ChatRange ChatDocument::sessionRange() const
{
    if (m_historyCount >= paragraphCount())
        return {endPosition(), endPosition()};
    return {ChatPosition{m_historyCount, 0}, endPosition()};
}

void ChatDocument::appendText(const QString& text, int style)
{
    if (text.isEmpty())
        return;
    if (m_paragraphs.empty())
        appendLine(QString(), -1);
    addToLast(text, style, false);
}

void ChatDocument::appendTab(int style)
{
    if (m_paragraphs.empty())
        appendLine(QString(), -1);
    addToLast(QStringLiteral("\t"), style, true);
}

void ChatDocument::widenLast()
{
    Paragraph& par = m_paragraphs.back();
    const quint32 count = storedLength(par);
    const char* bytes = m_narrow.data(par.place & ~Flags);
    // A stamp's units (0 to 99) are the same in either table.
    std::u16string units(count, u'\0');
    const auto& table = cp1252Table();
    for (quint32 i = 0; i < count; ++i)
        units[i] = table[static_cast<unsigned char>(bytes[i])];
    m_narrow.dropLast(par.place & ~Flags, count);
    par.place = m_wide.append(units.data(), count) | Wide | (par.place & Stamped);
}

void ChatDocument::addToLast(const QString& text, int style, bool tab)
{
    Paragraph& par = m_paragraphs.back();
    const quint32 room = MaxParagraphLength - par.length;
    const QStringView piece =
        quint32(text.size()) > room ? QStringView(text).left(room) : QStringView(text);
    if (piece.isEmpty())
        return;
    m_runs.push_back({par.length, std::clamp(style, -1, MaxStoredStyle), tab});
    // A stamp opening the paragraph is kept as its digits.
    const bool stamp = par.length == 0 && opensWithStamp(piece);
    const QStringView rest = stamp ? piece.mid(StampLength) : piece;
    const quint32 stored = storedLength(par);
    const quint64 stampFlag = stamp ? Stamped : 0;
    if (!(par.place & Wide)) {
        QVarLengthArray<char, PieceBuffer> bytes;
        if (stamp) {
            const std::array<char16_t, 3> digits = stampUnits(piece);
            for (const char16_t digit : digits)
                bytes.append(char(digit));
        }
        if (narrowInto(rest, bytes))
            par.place = m_narrow.extendLast(par.place & ~Flags, stored, bytes.constData(),
                                            std::size_t(bytes.size())) |
                        (par.place & Flags) | stampFlag;
        else
            widenLast();
    }
    if (par.place & Wide) {
        QVarLengthArray<char16_t, PieceBuffer> units;
        if (stamp) {
            const std::array<char16_t, 3> digits = stampUnits(piece);
            units.append(digits.data(), digits.size());
        }
        units.append(reinterpret_cast<const char16_t*>(rest.data()), rest.size());
        par.place = m_wide.extendLast(par.place & ~Flags, stored, units.constData(),
                                      std::size_t(units.size())) |
                    (par.place & Flags) | stampFlag;
    }
    par.length += quint32(piece.size());
    m_lastLinksFound = false;
}

void ChatDocument::findLinksInLast() const
{
    m_lastLinksFound = true;
    const int last = paragraphCount() - 1;
    while (!m_links.empty() && paragraphOf(m_links.back()) == last)
        m_links.pop_back();
    const Paragraph& par = m_paragraphs.back();
    // A stamp ends in "] ", so no address mark runs from it into the rest: only the rest is looked
    // at.
    const int skip = par.place & Stamped ? StampUnits : 0;
    const qsizetype count = qsizetype(storedLength(par)) - skip;
    const bool mayHoldLink =
        par.place & Wide ? LinkFinder::mayHoldLink(m_wide.data(par.place & ~Flags) + skip, count)
                         : LinkFinder::mayHoldLink(m_narrow.data(par.place & ~Flags) + skip, count);
    if (!mayHoldLink)
        return;
    for (const TextSpan& link : LinkFinder::find(paragraphText(last)))
        m_links.push_back(
            {m_firstParagraphNumber + quint32(last), quint32(link.start), quint32(link.length)});
}

std::deque<ChatDocument::Link>::const_iterator ChatDocument::firstLink(int p) const
{
    return std::lower_bound(
        m_links.cbegin(), m_links.cend(), p,
        [this](const Link& link, int paragraph) { return paragraphOf(link) < paragraph; });
}

QList<TextSpan> ChatDocument::links(int p) const
{
    // The last paragraph may still grow; when it is shown meanwhile, what it holds so far is
    // looked at.
    if (p == paragraphCount() - 1 && !m_lastLinksFound)
        findLinksInLast();
    QList<TextSpan> result;
    for (auto it = firstLink(p); it != m_links.cend() && paragraphOf(*it) == p; ++it)
        result.append({int(it->start), int(it->length)});
    return result;
}

std::optional<TextSpan> ChatDocument::linkAt(ChatPosition position) const
{
    if (position.paragraph < 0 || position.paragraph >= paragraphCount())
        return std::nullopt;
    for (const TextSpan& link : links(position.paragraph)) {
        if (link.start <= position.offset && position.offset < link.end())
            return link;
    }
    return std::nullopt;
}

void ChatDocument::clear()
{
    m_paragraphs.clear();
    m_paragraphs.shrink_to_fit();
    m_runs.clear();
    m_runs.shrink_to_fit();
    m_firstRunNumber = 0;
    m_links.clear();
    m_links.shrink_to_fit();
    m_firstParagraphNumber = 0;
    m_lastLinksFound = false;
    m_historyCount = 0;
    m_narrow.clear();
    m_wide.clear();
}

ChatPosition ChatDocument::endPosition() const
{
    if (m_paragraphs.empty())
        return {};
    return {paragraphCount() - 1, int(m_paragraphs.back().length)};
}

ChatPosition ChatDocument::clamped(ChatPosition position) const
{
    if (m_paragraphs.empty())
        return {};
    if (position.paragraph < 0)
        return {};
    if (position.paragraph >= paragraphCount())
        return endPosition();
    position.offset = std::clamp(position.offset, 0, paragraphLength(position.paragraph));
    return position;
}

QString ChatDocument::text(const ChatRange& range) const
{
    const ChatPosition start = clamped(range.start);
    const ChatPosition end = clamped(range.end);
    QString result;
    if (!(start < end))
        return result;
    qsizetype length = end.paragraph - start.paragraph - start.offset + end.offset;
    for (int p = start.paragraph; p < end.paragraph; ++p)
        length += paragraphLength(p);
    result.reserve(length);
    QString text;
    for (int p = start.paragraph; p <= end.paragraph; ++p) {
        const int from = p == start.paragraph ? start.offset : 0;
        const int to = p == end.paragraph ? end.offset : paragraphLength(p);
        if (p != start.paragraph)
            result += QLatin1Char('\n');
        fillText(p, text);
        result += QStringView(text).mid(from, to - from);
    }
    return result;
}

std::unique_ptr<ChatDocument> ChatDocument::snapshot(int first, int last) const
{
    auto copy = std::make_unique<ChatDocument>();
    first = std::max(first, 0);
    last = std::min(last, paragraphCount() - 1);
    if (first > last)
        return copy;
    // The chunks of each pool that hold the paragraphs' texts, from the first to the last.
    ChunkSpan narrow, wide;
    for (int p = first; p <= last; ++p) {
        const quint64 place = m_paragraphs[p].place;
        if (place & Wide)
            wide.include(m_wide, place & ~Flags);
        else
            narrow.include(m_narrow, place & ~Flags);
    }
    if (narrow.first)
        copy->m_narrow = m_narrow.shared(*narrow.first, *narrow.last);
    if (wide.first)
        copy->m_wide = m_wide.shared(*wide.first, *wide.last);
    copy->m_paragraphs.assign(m_paragraphs.cbegin() + first, m_paragraphs.cbegin() + last + 1);
    copy->m_runs.assign(m_runs.cbegin() + firstRun(first), m_runs.cbegin() + runEnd(last));
    copy->m_firstRunNumber = m_paragraphs[first].firstRun;
    copy->m_links.assign(firstLink(first), firstLink(last + 1));
    copy->m_firstParagraphNumber = m_firstParagraphNumber + quint32(first);
    // The addresses of a last paragraph still growing are found when asked for.
    copy->m_lastLinksFound = last + 1 < paragraphCount() || m_lastLinksFound;
    copy->m_maxParagraphs = std::max(m_maxParagraphs, last - first + 1);
    return copy;
}

std::size_t ChatDocument::allocated() const
{
    return m_paragraphs.size() * sizeof(Paragraph) + m_runs.size() * sizeof(Run) +
           m_links.size() * sizeof(Link) + m_narrow.allocated() +
           m_wide.allocated() * sizeof(char16_t);
}

bool ChatDocument::isWordDelimiter(QChar ch)
{
    switch (ch.unicode()) {
    case u' ':
    case u'\t':
    case u'.':
    case u';':
    case u',':
    case u':':
    case u'(':
    case u')':
    case u'{':
    case u'}':
    case u'"':
    case u'/':
    case u'\\':
    case u'<':
    case u'>':
    case u'!':
    case u'?':
    case u'[':
    case u']':
    case u'+':
    case u'*':
    case u'=':
    case 0x00A0: // no-break space
    case 0x2018: // ‘
    case 0x2019: // ’
    case 0x201C: // “
    case 0x201D: // ”
        return true;
    default:
        return false;
    }
}

ChatRange ChatDocument::wordAt(ChatPosition position) const
{
    position = clamped(position);
    const int length = m_paragraphs.empty() ? 0 : paragraphLength(position.paragraph);
    if (length == 0)
        return {position, position};
    const QString text = paragraphText(position.paragraph);
    const int at = std::min(position.offset, length - 1);
    if (isWordDelimiter(text.at(at)))
        return {{position.paragraph, at}, {position.paragraph, at + 1}};
    int start = at;
    while (start > 0 && !isWordDelimiter(text.at(start - 1)))
        --start;
    int end = at + 1;
    while (end < length && !isWordDelimiter(text.at(end)))
        ++end;
    return {{position.paragraph, start}, {position.paragraph, end}};
}

bool ChatDocument::isWholeWord(const QString& text, int start, int length) const
{
    const int end = start + length;
    return (start == 0 || isWordDelimiter(text.at(start - 1))) &&
           (end == text.size() || isWordDelimiter(text.at(end)));
}

std::optional<ChatRange> ChatDocument::find(const QString& needle, const FindOptions& options,
                                            const std::optional<ChatRange>& selection) const
{
    if (needle.isEmpty() || m_paragraphs.empty())
        return std::nullopt;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int length = int(needle.size());
    QString text;
    if (options.down) {
        const ChatPosition from = selection ? clamped(selection->end) : ChatPosition{};
        for (int p = from.paragraph; p < paragraphCount(); ++p) {
            if (paragraphLength(p) < length)
                continue;
            fillText(p, text);
            qsizetype at = p == from.paragraph ? from.offset : 0;
            while ((at = text.indexOf(needle, at, cs)) >= 0) {
                if (!options.wholeWord || isWholeWord(text, int(at), length))
                    return ChatRange{{p, int(at)}, {p, int(at) + length}};
                ++at;
            }
        }
        return std::nullopt;
    }
    const ChatPosition limit = selection ? clamped(selection->start) : endPosition();
    for (int p = limit.paragraph; p >= 0; --p) {
        if (paragraphLength(p) < length)
            continue;
        fillText(p, text);
        // The match must end at the limit or before it.
        qsizetype at = (p == limit.paragraph ? limit.offset : int(text.size())) - length;
        while (at >= 0 && (at = QStringView(text).lastIndexOf(QStringView(needle), at, cs)) >= 0) {
            if (!options.wholeWord || isWholeWord(text, int(at), length))
                return ChatRange{{p, int(at)}, {p, int(at) + length}};
            --at;
        }
    }
    return std::nullopt;
}
