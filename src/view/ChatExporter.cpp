#include "view/ChatExporter.h"

#include <algorithm>
#include <functional>

#include <QBuffer>
#include <QList>

#include "core/AtomicFile.h"
#include "core/Cp1252.h"
#include "view/StyleTable.h"

namespace {

// Output is handed on in blocks of about this size, so a million lines never sit in memory twice.
constexpr qsizetype Block = 1 << 16;

// Calls `piece(p, run, text)` for every run of the range, cut to it, and `end(p)` after each
// paragraph. Returns false as soon as a callback does.
bool forEachRun(const ChatDocument& document, const ChatRange& range,
                const std::function<bool(int, const ChatRun&, QStringView)>& piece,
                const std::function<bool(int)>& end)
{
    const ChatPosition start = document.clamped(range.start);
    const ChatPosition stop = document.clamped(range.end);
    if (!(start < stop))
        return true;
    QString text;
    for (int p = start.paragraph; p <= stop.paragraph; ++p) {
        const int from = p == start.paragraph ? start.offset : 0;
        const int to = p == stop.paragraph ? stop.offset : document.paragraphLength(p);
        text = document.paragraphText(p);
        for (int i = 0; i < document.runCount(p); ++i) {
            ChatRun r = document.run(p, i);
            const int a = std::max(r.start, from);
            const int b = std::min(r.start + r.length, to);
            if (a >= b)
                continue;
            r.start = a;
            r.length = b - a;
            if (!piece(p, r, QStringView(text).mid(a, b - a)))
                return false;
        }
        if (!end(p))
            return false;
    }
    return true;
}

// Whether each style is listed in a saved log of the range: every style before
// StyleTable::AlwaysListed, and a later one only when a run of the range uses it. Only the runs
// are looked at, not their text.
QList<bool> listedStyles(const ChatDocument& document, const StyleTable& styles,
                         const ChatRange& range)
{
    QList<bool> listed(styles.count(), false);
    for (int s = 0; s < std::min<int>(styles.count(), StyleTable::AlwaysListed); ++s)
        listed[s] = true;
    const ChatPosition start = document.clamped(range.start);
    const ChatPosition stop = document.clamped(range.end);
    if (!(start < stop))
        return listed;
    for (int p = start.paragraph; p <= stop.paragraph; ++p) {
        const int from = p == start.paragraph ? start.offset : 0;
        const int to = p == stop.paragraph ? stop.offset : document.paragraphLength(p);
        for (int i = 0; i < document.runCount(p); ++i) {
            const ChatRun r = document.run(p, i);
            if (r.style >= StyleTable::AlwaysListed && r.style < styles.count() &&
                std::max(r.start, from) < std::min(r.start + r.length, to))
                listed[r.style] = true;
        }
    }
    return listed;
}

QString hexColor(const QColor& color)
{
    return color.name(QColor::HexRgb);
}

bool isHexDigit(char16_t ch)
{
    return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F');
}

// A font family as a quoted CSS string that every reader takes back unchanged, whatever the page's
// code page. A quote and a backslash are escaped by a backslash; markup characters, controls and
// everything outside ASCII are six-digit hex escapes. A reader may take one blank after a hex
// escape as its end, and Qt's reader does not, so a blank right after one is a hex escape too; so
// is a hex digit after an escaped backslash, which Qt's reader would take for a hex escape.
QString cssString(const QString& text)
{
    QString out = QStringLiteral("\"");
    enum class Last
    {
        Plain,
        HexEscape,
        Backslash
    } last = Last::Plain;
    const auto hex = [&out, &last](char32_t code) {
        out += QStringLiteral("\\%1").arg(quint32(code), 6, 16, QLatin1Char('0'));
        last = Last::HexEscape;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text.at(i).unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            hex(QChar::surrogateToUcs4(ch, text.at(i + 1).unicode()));
            ++i;
        } else if (ch == 0 || QChar::isSurrogate(ch)) {
            hex(0xFFFD);
        } else if (ch == u'"' || ch == u'\\') {
            out += u'\\';
            out += QChar(ch);
            last = ch == u'\\' ? Last::Backslash : Last::Plain;
        } else if (ch < 0x20 || ch >= 0x7F || ch == u'<' || ch == u'>' || ch == u'&' ||
                   (last == Last::HexEscape && ch == u' ') ||
                   (last == Last::Backslash && isHexDigit(ch))) {
            hex(ch);
        } else {
            out += QChar(ch);
            last = Last::Plain;
        }
    }
    return out + QLatin1Char('"');
}

class HtmlWriter
{
public:
    HtmlWriter(bool forFile, std::function<bool(const QString&)> flush)
        : m_forFile(forFile), m_flush(std::move(flush))
    {
    }

    void raw(QStringView text) { m_out += text; }

    void escaped(QStringView text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t ch = text[i].unicode();
            switch (ch) {
            case u'&':
                m_out += QLatin1String("&amp;");
                continue;
            case u'<':
                m_out += QLatin1String("&lt;");
                continue;
            case u'>':
                m_out += QLatin1String("&gt;");
                continue;
            case u'"':
                m_out += QLatin1String("&quot;");
                continue;
            case u'\'':
                m_out += QLatin1String("&#39;");
                continue;
            default:
                break;
            }
            if (QChar::isHighSurrogate(ch) && i + 1 < text.size() &&
                QChar::isLowSurrogate(text[i + 1].unicode())) {
                const char32_t code = QChar::surrogateToUcs4(ch, text[i + 1].unicode());
                ++i;
                if (m_forFile)
                    reference(code);
                else
                    m_out += QStringView(text).mid(i - 1, 2);
                continue;
            }
            if (QChar::isSurrogate(ch))
                reference(0xFFFD);
            else if ((ch < 0x20 && ch != u'\t') || ch == 0x7F)
                reference(ch);
            else if (m_forFile && Cp1252::byteOf(ch) < 0)
                // Browsers read references to 0x80-0x9F as the code page's characters (&#128; is
                // the euro sign), so the C1 controls it lacks have no faithful reference.
                reference(ch >= 0x80 && ch <= 0x9F ? 0xFFFD : ch);
            else
                m_out += QChar(ch);
        }
    }

    bool flushIfFull() { return m_out.size() < Block || flush(); }

    bool flush()
    {
        const bool ok = m_flush(m_out);
        m_out.resize(0);
        return ok;
    }

private:
    void reference(char32_t code) { m_out += QStringLiteral("&#%1;").arg(quint32(code)); }

    bool m_forFile;
    std::function<bool(const QString&)> m_flush;
    QString m_out;
};

bool buildHtml(HtmlWriter& w, bool forFile, const ChatDocument& document, const StyleTable& styles,
               const ChatRange& range, const QString& title, const QColor& background)
{
    w.raw(u"<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"");
    w.raw(forFile ? u"windows-1252" : u"utf-8");
    w.raw(u"\">\n<title>");
    w.escaped(title);
    w.raw(u"</title>\n<style>\nbody { background-color: ");
    w.raw(hexColor(background.isValid() ? background : QColor(Qt::black)));
    w.raw(u"; }\np { margin: 0; white-space: pre-wrap; tab-size: 48px; }\n");
    const QList<bool> listed = listedStyles(document, styles, range);
    for (int s = 0; s < styles.count(); ++s) {
        if (!listed[s])
            continue;
        const TextStyle& style = styles.style(s);
        // One arg() for all: chained calls would take a "%0" in a font name for a placeholder.
        w.raw(QStringLiteral(".s%1 { font-family: %2; font-size: %3pt; color: %4;")
                  .arg(QString::number(s), cssString(style.fontName), QString::number(style.size),
                       hexColor(style.color)));
        if (style.bold)
            w.raw(u" font-weight: bold;");
        if (style.italic)
            w.raw(u" font-style: italic;");
        w.raw(u" }\n");
    }
    w.raw(u"</style>\n</head>\n<body>\n");
    bool empty = true;
    const bool ok = forEachRun(
        document, range,
        [&](int, const ChatRun& r, QStringView text) {
            if (empty)
                w.raw(u"<p>");
            empty = false;
            const int style = (r.style >= 0 && r.style < styles.count()) ? r.style : 0;
            w.raw(QStringLiteral("<span class=\"s%1\">").arg(style));
            w.escaped(text);
            w.raw(u"</span>");
            return true;
        },
        [&](int) {
            w.raw(empty ? u"<p><br></p>\n" : u"</p>\n");
            empty = true;
            return w.flushIfFull();
        });
    w.raw(u"</body>\n</html>\n");
    return ok && w.flush();
}

void rtfEscape(QByteArray& out, QStringView text, bool inFontTable)
{
    for (const QChar qc : text) {
        const char16_t ch = qc.unicode();
        if (ch == u'\\' || ch == u'{' || ch == u'}') {
            out += '\\';
            out += char(ch);
        } else if (ch == u'\t') {
            out += "\\tab ";
        } else if (ch >= 0x20 && ch < 0x7F && !(inFontTable && ch == u';')) {
            out += char(ch);
        } else if (const int b = Cp1252::byteOf(ch); b >= 0) {
            out += "\\'";
            out += QByteArray::number(b, 16).rightJustified(2, '0');
        } else {
            // \uc1: one "?" follows for readers without Unicode.
            out += "\\u";
            out += QByteArray::number(qint16(ch));
            out += '?';
        }
    }
}

bool buildRtf(QIODevice& dev, const ChatDocument& document, const StyleTable& styles,
              const ChatRange& range)
{
    QStringList fonts;
    QList<QColor> colors;
    QList<int> fontOf;
    QList<int> colorOf;
    const QList<bool> listed = listedStyles(document, styles, range);
    for (int s = 0; s < styles.count(); ++s) {
        const TextStyle& style = styles.style(s);
        if (!listed[s]) {
            fontOf.append(0);
            colorOf.append(0);
            continue;
        }
        if (!fonts.contains(style.fontName))
            fonts.append(style.fontName);
        if (!colors.contains(style.color))
            colors.append(style.color);
        fontOf.append(int(fonts.indexOf(style.fontName)));
        colorOf.append(int(colors.indexOf(style.color)) + 1);
    }
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720\n{\\fonttbl";
    for (int f = 0; f < fonts.size(); ++f) {
        out += "{\\f" + QByteArray::number(f) + "\\fnil\\fcharset0 ";
        rtfEscape(out, fonts[f], true);
        out += ";}";
    }
    out += "}\n{\\colortbl ;";
    for (const QColor& c : colors) {
        out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
               "\\blue" + QByteArray::number(c.blue()) + ';';
    }
    out += "}\n\\viewkind4\\uc1\\pard\\f0\\fs20\n";
    bool ok = forEachRun(
        document, range,
        [&](int, const ChatRun& r, QStringView text) {
            const int s = (r.style >= 0 && r.style < styles.count()) ? r.style : 0;
            const TextStyle& style = styles.style(s);
            out += "{\\f" + QByteArray::number(fontOf[s]) + "\\fs" +
                   QByteArray::number(style.size * 2) + "\\cf" + QByteArray::number(colorOf[s]);
            if (style.bold)
                out += "\\b";
            if (style.italic)
                out += "\\i";
            out += ' ';
            rtfEscape(out, text, false);
            out += '}';
            return true;
        },
        [&](int) {
            out += "\\par\n";
            if (out.size() < Block)
                return true;
            const bool written = dev.write(out) == out.size();
            out.resize(0);
            return written;
        });
    out += "}\n";
    return ok && dev.write(out) == out.size();
}

} // namespace

bool ChatExporter::writeText(QIODevice& out, const ChatDocument& document, const ChatRange& range)
{
    const ChatPosition start = document.clamped(range.start);
    const ChatPosition stop = document.clamped(range.end);
    if (!(start < stop))
        return true;
    QByteArray block;
    for (int p = start.paragraph; p <= stop.paragraph; ++p) {
        const int from = p == start.paragraph ? start.offset : 0;
        const int to = p == stop.paragraph ? stop.offset : document.paragraphLength(p);
        document.appendParagraphCp1252(p, from, to, block);
        block += "\r\n";
        if (block.size() >= Block) {
            if (out.write(block) != block.size())
                return false;
            block.resize(0);
        }
    }
    return out.write(block) == block.size();
}

bool ChatExporter::writeHtml(QIODevice& out, const ChatDocument& document, const StyleTable& styles,
                             const ChatRange& range, const QString& title, const QColor& background)
{
    HtmlWriter w(true, [&out](const QString& text) {
        const QByteArray bytes = Cp1252::encode(text);
        return out.write(bytes) == bytes.size();
    });
    return buildHtml(w, true, document, styles, range, title, background);
}

QString ChatExporter::html(const ChatDocument& document, const StyleTable& styles,
                           const ChatRange& range, const QString& title, const QColor& background)
{
    QString page;
    HtmlWriter w(false, [&page](const QString& text) {
        page += text;
        return true;
    });
    buildHtml(w, false, document, styles, range, title, background);
    return page;
}

bool ChatExporter::writeRtf(QIODevice& out, const ChatDocument& document, const StyleTable& styles,
                            const ChatRange& range)
{
    return buildRtf(out, document, styles, range);
}

QByteArray ChatExporter::rtf(const ChatDocument& document, const StyleTable& styles,
                             const ChatRange& range)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    buildRtf(buffer, document, styles, range);
    return buffer.data();
}

bool ChatExporter::save(const QString& fileName, Format format, const ChatDocument& document,
                        const StyleTable& styles, const ChatRange& range, const QString& title,
                        const QColor& background)
{
    // A writable file in a folder where no temporary file may be made is still written, in place.
    AtomicFile file(fileName, AtomicFile::InPlace::WhenFolderRefuses);
    if (!file.open())
        return false;
    QIODevice& out = file.device();
    bool ok = false;
    switch (format) {
    case Format::Text:
        ok = writeText(out, document, range);
        break;
    case Format::Html:
        ok = writeHtml(out, document, styles, range, title, background);
        break;
    case Format::Rtf:
        ok = writeRtf(out, document, styles, range);
        break;
    }
    return ok && file.commit();
}
