#include "view/ChatLayout.h"

#include <algorithm>
#include <cmath>

#include <QTextCharFormat>
#include <QTextOption>

#include "view/ChatDocument.h"
#include "view/StyleTable.h"

namespace {

// Full layouts kept: several screens of lines, far fewer than a long session holds.
constexpr int CachedLayouts = 512;

} // namespace

ChatLayout::ChatLayout(const ChatDocument& document, const StyleTable& styles)
    : m_document(document), m_styles(styles)
{
}

ChatLayout::~ChatLayout() = default;

void ChatLayout::setWidth(int width)
{
    width = std::max(width, 1);
    if (width == m_width)
        return;
    m_width = width;
    invalidateAll();
}

void ChatLayout::invalidateAll()
{
    // Stale heights are told apart by their generation, so no pass over all paragraphs is needed.
    ++m_generation;
    m_cache.clear();
}

void ChatLayout::invalidate(int p)
{
    // A paragraph laid out has its height recorded, so one beyond the heights (a line still
    // being appended, as a rule) has no cached layout either.
    if (p < 0 || std::size_t(p) >= m_heights.size())
        return;
    m_heights[std::size_t(p)].generation = 0;
    m_cache.remove(p);
}

void ChatLayout::clear()
{
    m_heights.clear();
    m_heights.shrink_to_fit();
    m_cache.clear();
}

void ChatLayout::removeFirst(int count)
{
    const std::size_t n = std::min(std::size_t(std::max(count, 0)), m_heights.size());
    m_heights.erase(m_heights.begin(), m_heights.begin() + std::ptrdiff_t(n));
    // Cached layouts are keyed by paragraph number: renumber those of the lines that remain.
    QHash<int, std::shared_ptr<const QTextLayout>> kept;
    for (auto it = m_cache.cbegin(); it != m_cache.cend(); ++it) {
        if (it.key() >= count)
            kept.insert(it.key() - count, it.value());
    }
    m_cache.swap(kept);
}

std::unique_ptr<QTextLayout> ChatLayout::build(int p) const
{
    const int runs = m_document.runCount(p);
    const int baseStyle = runs > 0 ? m_document.run(p, 0).style : 0;
    auto layout =
        std::make_unique<QTextLayout>(m_document.paragraphText(p), m_styles.font(baseStyle));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(TabStop);
    layout->setTextOption(option);
    QList<QTextLayout::FormatRange> formats;
    formats.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        const ChatRun r = m_document.run(p, i);
        QTextLayout::FormatRange range;
        range.start = r.start;
        range.length = r.length;
        range.format.setFont(m_styles.font(r.style));
        range.format.setForeground(m_styles.color(r.style));
        formats.append(range);
    }
    // Merged with the runs' formats, so an address keeps their colours and fonts.
    for (const TextSpan& link : m_document.links(p)) {
        QTextLayout::FormatRange range;
        range.start = link.start;
        range.length = link.length;
        range.format.setFontUnderline(true);
        formats.append(range);
    }
    layout->setFormats(formats);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(m_width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

std::shared_ptr<const QTextLayout> ChatLayout::layout(int p)
{
    auto found = m_cache.constFind(p);
    if (found != m_cache.constEnd())
        return *found;
    if (m_cache.size() >= CachedLayouts)
        m_cache.clear();
    std::shared_ptr<const QTextLayout> made = build(p);
    qreal bottom = 0;
    if (made->lineCount() > 0) {
        const QTextLine last = made->lineAt(made->lineCount() - 1);
        bottom = last.y() + last.height();
    }
    if (std::size_t(p) >= m_heights.size())
        m_heights.resize(std::max(std::size_t(p) + 1, std::size_t(m_document.paragraphCount())),
                         Height{0, 0});
    m_heights[std::size_t(p)] = {std::max(1, int(std::ceil(bottom))), m_generation};
    m_cache.insert(p, made);
    return made;
}

int ChatLayout::height(int p)
{
    if (std::size_t(p) < m_heights.size() && m_heights[std::size_t(p)].generation == m_generation)
        return m_heights[std::size_t(p)].height;
    layout(p);
    return m_heights[std::size_t(p)].height;
}

int ChatLayout::offsetAt(int p, QPointF point, bool onCharacter)
{
    const auto l = layout(p);
    if (l->lineCount() == 0 || point.y() < 0)
        return 0;
    for (int i = 0; i < l->lineCount(); ++i) {
        const QTextLine line = l->lineAt(i);
        if (point.y() < line.y() + line.height()) {
            return line.xToCursor(point.x(), onCharacter ? QTextLine::CursorOnCharacter
                                                         : QTextLine::CursorBetweenCharacters);
        }
    }
    return m_document.paragraphLength(p);
}

int ChatLayout::characterAt(int p, QPointF point)
{
    const auto l = layout(p);
    for (int i = 0; i < l->lineCount(); ++i) {
        const QTextLine line = l->lineAt(i);
        if (point.y() < line.y() || point.y() >= line.y() + line.height())
            continue;
        if (point.x() < line.x() || point.x() >= line.x() + line.naturalTextWidth())
            return -1;
        return line.xToCursor(point.x(), QTextLine::CursorOnCharacter);
    }
    return -1;
}
