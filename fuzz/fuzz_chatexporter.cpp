// The three exporters on a document built from fuzz input: styled lines, pieces and tabs of any
// text, font names and a page title of any text, a small paragraph ceiling now and then, any
// range. Each file is read back by a reader written to the formats' own rules (an HTML reader
// that knows only the page's fixed markup, a CSS string reader, an RTF reader): a peer's text
// never turns into markup, and every character comes back (in the HTML file, those the page
// cannot carry come back as U+FFFD; in the text file, those outside the code page as "?").

#include <cstdint>

#include <fuzzer/FuzzedDataProvider.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QStringList>

#include "FuzzCheck.h"
#include "core/Cp1252.h"
#include "view/ChatDocument.h"
#include "view/ChatExporter.h"
#include "view/StyleTable.h"

namespace {

constexpr int MaxOperations = 48;

QString consumeText(FuzzedDataProvider& in, size_t maxLength)
{
    const std::string bytes = in.ConsumeRandomLengthString(maxLength);
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return Cp1252::decode(bytes.data(), qsizetype(bytes.size()));
    case 1:
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    default:
        // Raw code units: lone surrogates and pairs cut in two.
        return QString(reinterpret_cast<const QChar*>(bytes.data()), qsizetype(bytes.size() / 2));
    }
}

// The document's paragraphs as plain strings, kept beside it.
class Model
{
public:
    void appendLine(ChatDocument& doc, const QString& text, int style)
    {
        m_paragraphs.append(text);
        m_paragraphs.remove(0, doc.appendLine(text, style));
    }
    void appendText(ChatDocument& doc, const QString& text, int style)
    {
        if (text.isEmpty())
            return;
        if (m_paragraphs.isEmpty())
            m_paragraphs.append(QString());
        m_paragraphs.last() += text;
        doc.appendText(text, style);
    }
    void appendTab(ChatDocument& doc, int style)
    {
        if (m_paragraphs.isEmpty())
            m_paragraphs.append(QString());
        m_paragraphs.last() += QLatin1Char('\t');
        doc.appendTab(style);
    }

    void check(const ChatDocument& doc) const
    {
        FUZZ_CHECK_EQUAL(doc.paragraphCount(), m_paragraphs.size());
        for (int p = 0; p < doc.paragraphCount(); ++p) {
            FUZZ_CHECK_EQUAL(doc.paragraphText(p), m_paragraphs[p]);
            FUZZ_CHECK_EQUAL(doc.paragraphLength(p), m_paragraphs[p].size());
            int end = 0;
            for (int i = 0; i < doc.runCount(p); ++i) {
                const ChatRun r = doc.run(p, i);
                FUZZ_CHECK_EQUAL(r.start, end);
                FUZZ_CHECK(r.length > 0);
                end += r.length;
            }
            FUZZ_CHECK_EQUAL(end, m_paragraphs[p].size());
        }
    }

    // The range's part of each paragraph it touches.
    QStringList slices(const ChatDocument& doc, const ChatRange& range) const
    {
        const ChatPosition start = doc.clamped(range.start);
        const ChatPosition stop = doc.clamped(range.end);
        QStringList out;
        if (!(start < stop))
            return out;
        for (int p = start.paragraph; p <= stop.paragraph; ++p) {
            const int from = p == start.paragraph ? start.offset : 0;
            const int to = p == stop.paragraph ? stop.offset : int(m_paragraphs[p].size());
            out.append(m_paragraphs[p].mid(from, to - from));
        }
        return out;
    }

private:
    QStringList m_paragraphs;
};

// What a page declared windows-1252 can carry of the text: characters the code page lacks go as
// numeric references, except the C1 controls it lacks, which a browser would read as the code
// page's characters and which come back as U+FFFD.
enum class Page
{
    File,
    Clipboard
};

QString carried(QStringView text, Page page)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += text.mid(i, 2);
            ++i;
        } else if (QChar::isSurrogate(ch) || ch == 0) {
            out += QChar(0xFFFD);
        } else if (page == Page::File && ch >= 0x80 && ch <= 0x9F && Cp1252::byteOf(ch) < 0) {
            out += QChar(0xFFFD);
        } else {
            out += QChar(ch);
        }
    }
    return out;
}

QString fromCodePoint(char32_t code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return QString(QChar(0xFFFD));
    // Not QString::fromUcs4, which takes a leading U+FEFF for a byte order mark and drops it.
    if (!QChar::requiresSurrogates(code))
        return QString(QChar(char16_t(code)));
    const QChar pair[] = {QChar(QChar::highSurrogate(code)), QChar(QChar::lowSurrogate(code))};
    return QString(pair, 2);
}

bool isHexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Reads a page's fixed markup and the escaped text between it; any other markup fails the run.
class PageReader
{
public:
    explicit PageReader(QString page) : m_page(std::move(page)) {}

    void expect(QStringView markup)
    {
        if (!QStringView(m_page).mid(m_pos).startsWith(markup))
            fuzzFailure("page markup", __FILE__, __LINE__, m_page.mid(m_pos, 80),
                        markup.toString());
        m_pos += markup.size();
    }
    bool next(QStringView markup) const
    {
        return QStringView(m_page).mid(m_pos).startsWith(markup);
    }
    bool atEnd() const { return m_pos == m_page.size(); }

    // Text up to the next '<', with its references resolved as a browser does.
    QString text()
    {
        QString out;
        while (m_pos < m_page.size() && m_page[m_pos] != QLatin1Char('<')) {
            const QChar ch = m_page[m_pos++];
            FUZZ_CHECK(ch != QLatin1Char('>') && ch != QLatin1Char('"'));
            if (ch != QLatin1Char('&')) {
                out += ch;
                continue;
            }
            const qsizetype semicolon = m_page.indexOf(QLatin1Char(';'), m_pos);
            FUZZ_CHECK(semicolon > m_pos);
            const QString name = m_page.mid(m_pos, semicolon - m_pos);
            m_pos = semicolon + 1;
            if (name == QLatin1String("amp"))
                out += QLatin1Char('&');
            else if (name == QLatin1String("lt"))
                out += QLatin1Char('<');
            else if (name == QLatin1String("gt"))
                out += QLatin1Char('>');
            else if (name == QLatin1String("quot"))
                out += QLatin1Char('"');
            else
                out += numericReference(name);
        }
        return out;
    }

    // A quoted CSS string. A reader takes up to six hex digits after a backslash, and by the
    // standard one blank after them as the escape's end; Qt's reader does not, so the string
    // must read the same both ways.
    QString cssString(bool blankEndsEscape)
    {
        expect(u"\"");
        QString out;
        for (;;) {
            FUZZ_CHECK(m_pos < m_page.size());
            const QChar ch = m_page[m_pos++];
            FUZZ_CHECK(ch != QLatin1Char('\n') && ch != QLatin1Char('<'));
            if (ch == QLatin1Char('"'))
                return out;
            if (ch != QLatin1Char('\\')) {
                out += ch;
                continue;
            }
            FUZZ_CHECK(m_pos < m_page.size());
            if (!isHexDigit(m_page[m_pos])) {
                out += m_page[m_pos++];
                continue;
            }
            char32_t code = 0;
            for (int digits = 0; digits < 6 && m_pos < m_page.size() && isHexDigit(m_page[m_pos]);
                 ++digits)
                code = code * 16 + char32_t(QString(m_page[m_pos++]).toUInt(nullptr, 16));
            if (blankEndsEscape && m_pos < m_page.size() &&
                (m_page[m_pos] == QLatin1Char(' ') || m_page[m_pos] == QLatin1Char('\t')))
                ++m_pos;
            out += fromCodePoint(code);
        }
    }

    qsizetype position() const { return m_pos; }
    void seek(qsizetype pos) { m_pos = pos; }
    // Up to the next occurrence of `stop`, which must come.
    QString until(QStringView stop)
    {
        const qsizetype at = m_page.indexOf(stop, m_pos);
        FUZZ_CHECK(at >= 0);
        const QString out = m_page.mid(m_pos, at - m_pos);
        m_pos = at;
        return out;
    }

private:
    static QString numericReference(const QString& name)
    {
        FUZZ_CHECK(name.size() >= 2 && name[0] == QLatin1Char('#'));
        bool ok = false;
        const uint code = name.mid(1).toUInt(&ok, 10);
        FUZZ_CHECK(ok);
        if (code >= 0x80 && code <= 0x9F) {
            const char byte = char(code);
            return Cp1252::decode(&byte, 1);
        }
        return fromCodePoint(code);
    }

    QString m_page;
    qsizetype m_pos = 0;
};

void checkHtml(const QString& page, Page kind, const StyleTable& styles, const QString& title,
               const QStringList& slices)
{
    PageReader r(page);
    r.expect(u"<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"");
    r.expect(kind == Page::File ? u"windows-1252" : u"utf-8");
    r.expect(u"\">\n<title>");
    FUZZ_CHECK_EQUAL(r.text(), carried(title, kind));
    r.expect(u"</title>\n<style>\nbody { background-color: #");
    r.until(u";");
    r.expect(u"; }\np { margin: 0; white-space: pre-wrap; tab-size: 48px; }\n");
    // The styles from AlwaysListed on are listed only where the range uses them.
    QList<bool> listed(styles.count(), false);
    for (int s = 0; s < styles.count(); ++s) {
        const QString head = QStringLiteral(".s%1 { font-family: ").arg(s);
        if (s >= StyleTable::AlwaysListed && !r.next(head))
            continue;
        listed[s] = true;
        r.expect(head);
        const qsizetype start = r.position();
        const QString standard = r.cssString(true);
        r.seek(start);
        const QString qtReading = r.cssString(false);
        const QString expected = carried(styles.style(s).fontName, Page::Clipboard);
        FUZZ_CHECK_EQUAL(standard, expected);
        FUZZ_CHECK_EQUAL(qtReading, expected);
        r.expect(u"; font-size: ");
        const QString rest = r.until(u"\n");
        FUZZ_CHECK(!rest.contains(QLatin1Char('<')) && !rest.contains(QLatin1Char('"')));
        r.expect(u"\n");
    }
    r.expect(u"</style>\n</head>\n<body>\n");
    QStringList paragraphs;
    while (r.next(u"<p>")) {
        r.expect(u"<p>");
        QString paragraph;
        if (r.next(u"<br>")) {
            r.expect(u"<br></p>\n");
            paragraphs.append(paragraph);
            continue;
        }
        do {
            r.expect(u"<span class=\"s");
            const QString number = r.until(u"\"");
            bool ok = false;
            const int style = number.toInt(&ok);
            FUZZ_CHECK(ok && style >= 0 && style < styles.count() && listed[style]);
            r.expect(u"\">");
            const QString text = r.text();
            FUZZ_CHECK(!text.isEmpty());
            paragraph += text;
            r.expect(u"</span>");
        } while (!r.next(u"</p>"));
        r.expect(u"</p>\n");
        paragraphs.append(paragraph);
    }
    r.expect(u"</body>\n</html>\n");
    FUZZ_CHECK(r.atEnd());

    FUZZ_CHECK_EQUAL(paragraphs.size(), slices.size());
    for (qsizetype p = 0; p < slices.size(); ++p)
        FUZZ_CHECK_EQUAL(paragraphs[p], carried(slices[p], kind));
}

// Reads an RTF document as a word processor does: groups, control words and symbols, \'hh in
// Windows-1252, \uN followed by one character to skip. Returns the font table's names and the
// body's paragraphs (each ended by \par).
struct RtfContent
{
    QStringList fonts;
    QStringList paragraphs;
};

RtfContent readRtf(const QByteArray& rtf)
{
    RtfContent content;
    enum class Destination
    {
        Body,
        FontTable,
        ColorTable
    };
    QList<Destination> groups;
    QString font;
    QString paragraph;
    bool fontNamed = false;
    int skip = 0;
    const auto add = [&](QChar ch) {
        if (skip > 0) {
            --skip;
            return;
        }
        if (groups.isEmpty())
            fuzzFailure("text outside the document", __FILE__, __LINE__);
        switch (groups.last()) {
        case Destination::Body:
            paragraph += ch;
            break;
        case Destination::FontTable:
            FUZZ_CHECK(!fontNamed);
            font += ch;
            break;
        case Destination::ColorTable:
            break;
        }
    };
    qsizetype i = 0;
    while (i < rtf.size()) {
        const char c = rtf[i++];
        FUZZ_CHECK(c == '\n' || (c >= 0x20 && c < 0x7F));
        if (c == '{') {
            groups.append(groups.isEmpty() ? Destination::Body : groups.last());
            skip = 0;
            if (groups.size() == 3 && groups.last() == Destination::FontTable) {
                font.clear();
                fontNamed = false;
            }
        } else if (c == '}') {
            FUZZ_CHECK(!groups.isEmpty());
            // Each font of the table ends its name with a ";".
            if (groups.size() == 3 && groups.last() == Destination::FontTable)
                FUZZ_CHECK(fontNamed);
            groups.removeLast();
            if (groups.isEmpty())
                FUZZ_CHECK(rtf.mid(i) == "\n");
        } else if (c == '\n' || c == '\r') {
            continue;
        } else if (c == ';' && !groups.isEmpty() && groups.last() == Destination::FontTable) {
            FUZZ_CHECK(!fontNamed);
            content.fonts.append(font);
            fontNamed = true;
        } else if (c != '\\') {
            add(QLatin1Char(c));
        } else {
            FUZZ_CHECK(i < rtf.size());
            const char s = rtf[i];
            if (s == '\'') {
                FUZZ_CHECK(i + 2 < rtf.size());
                bool ok = false;
                const char byte = char(rtf.mid(i + 1, 2).toUInt(&ok, 16));
                FUZZ_CHECK(ok);
                i += 3;
                add(Cp1252::decode(&byte, 1)[0]);
            } else if ((s >= 'a' && s <= 'z')) {
                qsizetype end = i;
                while (end < rtf.size() && rtf[end] >= 'a' && rtf[end] <= 'z')
                    ++end;
                const QByteArray word = rtf.mid(i, end - i);
                qsizetype numberEnd = end;
                if (numberEnd < rtf.size() && rtf[numberEnd] == '-')
                    ++numberEnd;
                while (numberEnd < rtf.size() && rtf[numberEnd] >= '0' && rtf[numberEnd] <= '9')
                    ++numberEnd;
                const QByteArray number = rtf.mid(end, numberEnd - end);
                i = numberEnd;
                if (i < rtf.size() && rtf[i] == ' ')
                    ++i;
                FUZZ_CHECK(!groups.isEmpty());
                if (word == "fonttbl") {
                    groups.last() = Destination::FontTable;
                } else if (word == "colortbl") {
                    groups.last() = Destination::ColorTable;
                } else if (word == "tab") {
                    add(QLatin1Char('\t'));
                } else if (word == "par") {
                    FUZZ_CHECK(groups.last() == Destination::Body);
                    content.paragraphs.append(paragraph);
                    paragraph.clear();
                } else if (word == "u") {
                    bool ok = false;
                    const int unit = number.toInt(&ok);
                    FUZZ_CHECK(ok && unit >= -32768 && unit <= 32767);
                    add(QChar(char16_t(unit)));
                    skip = 1;
                }
            } else {
                // A control symbol: an escaped brace or backslash is that character.
                ++i;
                FUZZ_CHECK(s == '\\' || s == '{' || s == '}');
                add(QLatin1Char(s));
            }
        }
    }
    FUZZ_CHECK(groups.isEmpty());
    FUZZ_CHECK(paragraph.isEmpty());
    return content;
}

void checkRtf(const QByteArray& rtf, const StyleTable& styles, const QStringList& slices)
{
    const RtfContent content = readRtf(rtf);
    // The fonts of the styles listed always, then those of the later styles the range uses.
    QStringList fonts;
    for (int s = 0; s < styles.count(); ++s) {
        const QString& font = styles.style(s).fontName;
        if (s >= StyleTable::AlwaysListed && !content.fonts.contains(font))
            continue;
        if (!fonts.contains(font))
            fonts.append(font);
    }
    FUZZ_CHECK_EQUAL(content.fonts.size(), fonts.size());
    for (qsizetype f = 0; f < fonts.size(); ++f)
        FUZZ_CHECK_EQUAL(content.fonts[f], fonts[f]);
    FUZZ_CHECK_EQUAL(content.paragraphs.size(), slices.size());
    for (qsizetype p = 0; p < slices.size(); ++p)
        FUZZ_CHECK_EQUAL(content.paragraphs[p], slices[p]);
}

void checkText(const QByteArray& bytes, const QStringList& slices)
{
    QByteArray expected;
    for (const QString& slice : slices)
        expected += Cp1252::encode(slice) + "\r\n";
    FUZZ_CHECK_EQUAL(bytes, expected);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The style table takes the palette's text colour; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    StyleTable styles;
    for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) {
        const int style = in.ConsumeIntegralInRange(0, StyleTable::Count - 1);
        styles.setFont(style, consumeText(in, 24), in.ConsumeIntegralInRange(-1, 600));
    }
    const QString title = consumeText(in, 24);

    ChatDocument doc;
    if (in.ConsumeBool())
        doc.setMaxParagraphs(in.ConsumeIntegralInRange(1, 12));
    Model model;
    for (int op = 0; op < MaxOperations && in.remaining_bytes() > 0; ++op) {
        const int style = in.ConsumeIntegralInRange(-2, StyleTable::Count + 1);
        switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            model.appendLine(doc, consumeText(in, 64), style);
            break;
        case 1:
            model.appendText(doc, consumeText(in, 64), style);
            break;
        default:
            model.appendTab(doc, style);
            break;
        }
    }
    model.check(doc);

    ChatRange range = doc.wholeRange();
    if (in.ConsumeBool()) {
        const int last = doc.paragraphCount();
        range.start = {in.ConsumeIntegralInRange(-1, last), in.ConsumeIntegralInRange(-1, 70)};
        range.end = {in.ConsumeIntegralInRange(-1, last), in.ConsumeIntegralInRange(-1, 70)};
    }
    const QStringList slices = model.slices(doc, range);

    QBuffer text;
    text.open(QIODevice::WriteOnly);
    FUZZ_CHECK(ChatExporter::writeText(text, doc, range));
    checkText(text.data(), slices);

    QBuffer html;
    html.open(QIODevice::WriteOnly);
    FUZZ_CHECK(ChatExporter::writeHtml(html, doc, styles, range, title, QColor(Qt::black)));
    checkHtml(Cp1252::decode(html.data()), Page::File, styles, title, slices);
    checkHtml(ChatExporter::html(doc, styles, range, title, QColor()), Page::Clipboard, styles,
              title, slices);

    checkRtf(ChatExporter::rtf(doc, styles, range), styles, slices);
    return 0;
}
