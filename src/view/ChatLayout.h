#pragma once

#include <deque>
#include <memory>

#include <QHash>
#include <QPointF>
#include <QTextLayout>

class ChatDocument;
class StyleTable;

// Line breaking of single paragraphs at one width, on demand. Heights of paragraphs laid out
// once are kept (a few bytes each) until the width or the styles change; full layouts are kept
// only for the few paragraphs recently shown. Nothing here ever walks the whole document.
class ChatLayout
{
public:
    static constexpr int TabStop = 48;

    ChatLayout(const ChatDocument& document, const StyleTable& styles);
    ~ChatLayout();
    ChatLayout(const ChatLayout&) = delete;
    ChatLayout& operator=(const ChatLayout&) = delete;

    int width() const { return m_width; }
    void setWidth(int width);
    // The styles changed: every paragraph is laid out again when next needed.
    void invalidateAll();
    // Paragraph p changed (text was added to it).
    void invalidate(int p);
    // The document was emptied.
    void clear();
    // The document dropped its first `count` paragraphs.
    void removeFirst(int count);

    int height(int p);
    std::shared_ptr<const QTextLayout> layout(int p);
    // The offset of the cursor place nearest to `point` (relative to the paragraph's top left);
    // with `onCharacter`, the character under it instead.
    int offsetAt(int p, QPointF point, bool onCharacter);
    // The offset of the character drawn at `point`, or -1 when there is none (beside or past the
    // text of a line).
    int characterAt(int p, QPointF point);

private:
    struct Height
    {
        qint32 height;
        quint32 generation;
    };

    std::unique_ptr<QTextLayout> build(int p) const;

    const ChatDocument& m_document;
    const StyleTable& m_styles;
    int m_width = 1;
    quint32 m_generation = 1;
    std::deque<Height> m_heights;
    QHash<int, std::shared_ptr<const QTextLayout>> m_cache;
};
