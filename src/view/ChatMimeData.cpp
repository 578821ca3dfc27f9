#include "view/ChatMimeData.h"

#include "view/ChatExporter.h"
#include "view/StyleTable.h"

namespace {

const QString PlainText = QStringLiteral("text/plain");
const QString Html = QStringLiteral("text/html");
// Windows programs look for RTF only under the clipboard's own name for it.
const QStringList RtfFormats = {
    QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
    QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\"")};

} // namespace

ChatMimeData::ChatMimeData(const ChatDocument& document, const StyleTable& styles,
                           const ChatRange& range, const QColor& background)
    : m_styles(std::make_unique<StyleTable>()), m_background(background)
{
    const ChatPosition start = document.clamped(range.start);
    const ChatPosition end = document.clamped(range.end);
    if (start < end) {
        m_document = document.snapshot(start.paragraph, end.paragraph);
        m_range = {{0, start.offset}, {end.paragraph - start.paragraph, end.offset}};
        m_length = end.paragraph - start.paragraph;
        for (int p = start.paragraph; p <= end.paragraph; ++p)
            m_length += document.paragraphLength(p);
        m_length -= start.offset + (document.paragraphLength(end.paragraph) - end.offset);
    } else {
        m_document = document.snapshot(0, -1);
    }
    m_styles->assign(styles);
}

ChatMimeData::~ChatMimeData() = default;

QStringList ChatMimeData::formats() const
{
    if (m_length > MaxRichLength)
        return {PlainText};
    return QStringList{PlainText, Html} + RtfFormats;
}

bool ChatMimeData::hasFormat(const QString& mimeType) const
{
    return formats().contains(mimeType);
}

QVariant ChatMimeData::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (!hasFormat(mimeType))
        return {};
    ++m_renders;
    const bool asString = type.id() == QMetaType::QString;
    if (mimeType == PlainText)
        return asString ? QVariant(m_document->text(m_range)) : QVariant(utf8Text());
    if (mimeType == Html) {
        const QString page =
            ChatExporter::html(*m_document, *m_styles, m_range, QString(), m_background);
        return asString ? QVariant(page) : QVariant(page.toUtf8());
    }
    return ChatExporter::rtf(*m_document, *m_styles, m_range);
}

// The text as UTF-8 without passing through one string of it all, which would take twice
// the room of the bytes.
QByteArray ChatMimeData::utf8Text() const
{
    QByteArray out;
    if (m_length == 0)
        return out;
    out.reserve(m_length);
    const ChatPosition start = m_range.start;
    const ChatPosition end = m_range.end;
    for (int p = start.paragraph; p <= end.paragraph; ++p) {
        const int from = p == start.paragraph ? start.offset : 0;
        const int to = p == end.paragraph ? end.offset : m_document->paragraphLength(p);
        if (p != start.paragraph)
            out += '\n';
        m_document->appendParagraphUtf8(p, from, to, out);
    }
    return out;
}
