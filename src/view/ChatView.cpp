#include "view/ChatView.h"

#include <algorithm>
#include <utility>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextLayout>
#include <QWheelEvent>

#include "view/ChatExporter.h"
#include "view/ChatLayout.h"
#include "view/ChatMimeData.h"
#include "view/LinkFinder.h"
#include "view/StyleTable.h"

namespace {

// Appends show at most once a frame, however fast lines arrive.
constexpr int RefreshInterval = 16;
constexpr int AutoScrollInterval = 50;

} // namespace

ChatView::ChatView(StyleTable* styles, QWidget* parent)
    : QAbstractScrollArea(parent), m_styles(styles)
{
    if (!m_styles) {
        m_ownStyles = std::make_unique<StyleTable>();
        m_styles = m_ownStyles.get();
    }
    m_document = std::make_unique<ChatDocument>();
    m_layout = std::make_unique<ChatLayout>(*m_document, *m_styles);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always shown, so that the first line that overflows does not narrow and re-wrap the text.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    // Dead keys (an accent, then the letter) compose through the input method, and only for a
    // widget that takes one; see inputMethodEvent.
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(RefreshInterval);
    connect(&m_refreshTimer, &QTimer::timeout, this, &ChatView::refresh);
    m_autoScrollTimer.setInterval(AutoScrollInterval);
    connect(&m_autoScrollTimer, &QTimer::timeout, this, &ChatView::autoScrollTick);
    connect(m_styles, &StyleTable::changed, this, &ChatView::stylesChanged);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            &ChatView::scrollBarAction);
    m_layout->setWidth(layoutWidth());
    viewport()->setMouseTracking(true);
    m_linkTimer.setSingleShot(true);
    connect(&m_linkTimer, &QTimer::timeout, this, [this] { Q_EMIT linkActivated(m_clickedLink); });
}

ChatView::~ChatView() = default;

void ChatView::appendLine(const QString& text, int style)
{
    if (m_document->paragraphCount() >= m_document->maxParagraphs())
        Q_EMIT paragraphsLeaving();
    const int dropped = m_document->appendLine(text, style);
    if (dropped > 0)
        forgetOldest(dropped);
    Q_EMIT paragraphStarted();
}

void ChatView::insertHistory(const QStringList& lines, int style)
{
    const int before = m_document->historyCount();
    m_document->insertHistory(lines, style);
    const int count = m_document->historyCount() - before;
    if (count == 0)
        return;
    m_layout->clear();
    // Whatever pointed at a paragraph keeps pointing at it, now further down.
    const auto shifted = [count, before](ChatPosition position) {
        return position.paragraph < before
                   ? position
                   : ChatPosition{position.paragraph + count, position.offset};
    };
    m_anchor = shifted(m_anchor);
    m_cursor = shifted(m_cursor);
    const auto moved = [count, before](int& paragraph) {
        if (paragraph >= before)
            paragraph += count;
    };
    moved(m_position.paragraph);
    moved(m_bottomAnchor);
    moved(m_pinned);
    moved(m_readMarker);
    scheduleRefresh();
}

void ChatView::forgetOldest(int count)
{
    m_layout->removeFirst(count);
    // Whatever pointed into dropped text now points at the start of what remains.
    const auto shifted = [count](ChatPosition position) {
        return position.paragraph < count
                   ? ChatPosition{}
                   : ChatPosition{position.paragraph - count, position.offset};
    };
    m_anchor = shifted(m_anchor);
    m_cursor = shifted(m_cursor);
    if (m_position.paragraph < count)
        m_position = {};
    else
        m_position.paragraph -= count;
    if (m_bottomAnchor >= 0)
        m_bottomAnchor = std::max(m_bottomAnchor - count, 0);
    if (m_pinned >= 0)
        m_pinned = m_pinned >= count ? m_pinned - count : -1;
    if (m_readMarker >= 0)
        m_readMarker = m_readMarker >= count ? m_readMarker - count : -1;
    // The bar counts paragraphs: renumber it now, so that a drag of it does not land on old
    // numbers, but without laying out the last lines (the next refresh does that).
    QScopedValueRollback<bool> guard(m_syncingScrollBar, true);
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    bar->setMaximum(std::max(bar->maximum() - count, 0));
    bar->setValue(atEnd ? bar->maximum() : std::max(bar->value() - count, 0));
    scheduleRefresh();
}

void ChatView::appendText(const QString& text, int style)
{
    const quint64 appended = m_document->appendedCount();
    m_document->appendText(text, style);
    m_layout->invalidate(m_document->paragraphCount() - 1);
    if (m_document->appendedCount() != appended)
        Q_EMIT paragraphStarted();
}

void ChatView::appendTab(int style)
{
    const quint64 appended = m_document->appendedCount();
    m_document->appendTab(style);
    m_layout->invalidate(m_document->paragraphCount() - 1);
    if (m_document->appendedCount() != appended)
        Q_EMIT paragraphStarted();
}

void ChatView::reformat()
{
    scheduleRefresh();
}

void ChatView::scheduleRefresh()
{
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void ChatView::refresh()
{
    m_refreshTimer.stop();
    settle();
    syncScrollBar();
    viewport()->update();
}

void ChatView::scrollToBottom()
{
    // Settled when next needed, so a writer that scrolls after every line lays out nothing.
    m_bottomAnchor = m_document->paragraphCount() - 1;
    scheduleRefresh();
}

void ChatView::clearView()
{
    Q_EMIT paragraphsLeaving();
    m_document->clear();
    m_layout->clear();
    m_position = {};
    m_bottomAnchor = -1;
    m_pinned = -1;
    m_readMarker = -1;
    m_hasSelection = false;
    m_dragging = false;
    m_autoScrollTimer.stop();
    scheduleRefresh();
}

void ChatView::selectAll()
{
    if (m_document->isEmpty()) {
        clearSelection();
        return;
    }
    setSelection(ChatPosition{}, m_document->endPosition());
}

void ChatView::clearSelection()
{
    m_hasSelection = false;
    viewport()->update();
}

bool ChatView::hasSelection() const
{
    return m_hasSelection && m_anchor != m_cursor;
}

std::optional<ChatRange> ChatView::selection() const
{
    if (!hasSelection())
        return std::nullopt;
    return searchStart();
}

std::optional<ChatRange> ChatView::searchStart() const
{
    // An empty selection is a place: where the user clicked, or the start of what remains when
    // the selected text was dropped (an upward search then has nothing older to find).
    if (!m_hasSelection)
        return std::nullopt;
    return m_anchor < m_cursor ? ChatRange{m_anchor, m_cursor} : ChatRange{m_cursor, m_anchor};
}

void ChatView::setSelection(ChatPosition anchor, ChatPosition cursor)
{
    m_anchor = m_document->clamped(anchor);
    m_cursor = m_document->clamped(cursor);
    m_hasSelection = true;
    viewport()->update();
}

QString ChatView::selectedText() const
{
    const auto range = selection();
    return range ? m_document->text(*range) : QString();
}

void ChatView::copySelection()
{
    const auto range = selection();
    if (!range)
        return;
    // Cheap however much is selected: each format is rendered when a program asks for it.
    auto* mime = new ChatMimeData(*m_document, *m_styles, *range, m_backgroundColor);
    QGuiApplication::clipboard()->setMimeData(mime);
}

bool ChatView::findText(const QString& text, const FindOptions& options)
{
    const auto found = m_document->find(text, options, searchStart());
    if (!found)
        return false;
    setSelection(found->start, found->end);
    ensureVisible(found->start);
    return true;
}

bool ChatView::saveAsText(const QString& fileName, int) const
{
    // The line width only sizes separator rules, which the panes never hold.
    return ChatExporter::save(fileName, ChatExporter::Format::Text, *m_document, *m_styles,
                              m_document->sessionRange(), QString(), m_backgroundColor);
}

bool ChatView::saveAsHtml(const QString& fileName, const QString& title, const QString&, bool) const
{
    // The image prefix and overwrite switch concern pictures, and the saved page holds none.
    return ChatExporter::save(fileName, ChatExporter::Format::Html, *m_document, *m_styles,
                              m_document->sessionRange(), title, m_backgroundColor);
}

bool ChatView::saveAsRtf(const QString& fileName, bool selectionOnly) const
{
    ChatRange range = m_document->sessionRange();
    if (selectionOnly) {
        const auto selected = selection();
        range = selected ? *selected : ChatRange{};
    }
    return ChatExporter::save(fileName, ChatExporter::Format::Rtf, *m_document, *m_styles, range,
                              QString(), m_backgroundColor);
}

QPixmap ChatView::BackgroundBitmap() const
{
    return m_background;
}

void ChatView::setBackgroundBitmap(const QPixmap& picture)
{
    m_background = picture;
    viewport()->update();
}

ChatView::BackgroundStyle ChatView::backgroundStyle() const
{
    return m_backgroundStyle;
}

void ChatView::setBackgroundStyle(BackgroundStyle style)
{
    m_backgroundStyle = style;
    viewport()->update();
}

QColor ChatView::backgroundColor() const
{
    return m_backgroundColor;
}

void ChatView::setBackgroundColor(const QColor& color)
{
    if (!color.isValid())
        return;
    m_backgroundColor = color;
    viewport()->update();
}

void ChatView::setTextMargins(int left, int top, int right, int bottom)
{
    m_margins =
        QMargins(std::max(left, 0), std::max(top, 0), std::max(right, 0), std::max(bottom, 0));
    m_layout->setWidth(layoutWidth());
    keepBottomPinned();
    scheduleRefresh();
}

void ChatView::setPopupMenu(QMenu* menu)
{
    m_popupMenu = menu;
}

const ChatDocument& ChatView::document() const
{
    return *m_document;
}

void ChatView::setMaxParagraphs(int count)
{
    m_document->setMaxParagraphs(count);
}

StyleTable* ChatView::styles() const
{
    return m_styles;
}

int ChatView::topParagraph() const
{
    settle();
    return m_position.paragraph;
}

int ChatView::topOffset() const
{
    settle();
    return m_position.offset;
}

bool ChatView::isAtBottom() const
{
    settle();
    const ScrollPosition bottom = bottomPosition(m_document->paragraphCount() - 1);
    return m_position.paragraph > bottom.paragraph ||
           (m_position.paragraph == bottom.paragraph && m_position.offset >= bottom.offset);
}

int ChatView::layoutWidth() const
{
    return viewport()->width() - m_margins.left() - m_margins.right();
}

int ChatView::contentHeight() const
{
    return std::max(1, viewport()->height() - m_margins.top() - m_margins.bottom());
}

int ChatView::lineStep() const
{
    return std::max(1, QFontMetrics(m_styles->font(0)).height());
}

int ChatView::pageHeight() const
{
    // One line of the old page stays in view.
    return std::max(lineStep(), contentHeight() - lineStep());
}

void ChatView::settle() const
{
    if (m_bottomAnchor >= 0) {
        const int anchor = std::min(m_bottomAnchor, m_document->paragraphCount() - 1);
        m_bottomAnchor = -1;
        m_position = bottomPosition(anchor);
        m_pinned = anchor;
    }
    m_position = clampedPosition(m_position);
}

ChatView::ScrollPosition ChatView::bottomPosition(int lastParagraph) const
{
    const int available = contentHeight();
    int height = 0;
    for (int p = lastParagraph; p >= 0; --p) {
        height += m_layout->height(p);
        if (height >= available)
            return {p, height - available};
    }
    return {};
}

ChatView::ScrollPosition ChatView::clampedPosition(ScrollPosition position) const
{
    const int count = m_document->paragraphCount();
    if (count == 0)
        return {};
    position.paragraph = std::clamp(position.paragraph, 0, count - 1);
    position.offset = std::clamp(position.offset, 0, m_layout->height(position.paragraph) - 1);
    const ScrollPosition bottom = bottomPosition(count - 1);
    if (position.paragraph > bottom.paragraph ||
        (position.paragraph == bottom.paragraph && position.offset > bottom.offset))
        return bottom;
    return position;
}

void ChatView::setPosition(ScrollPosition position)
{
    m_bottomAnchor = -1;
    m_position = clampedPosition(position);
    const int last = m_document->paragraphCount() - 1;
    const ScrollPosition bottom = bottomPosition(last);
    const bool atBottom =
        m_position.paragraph == bottom.paragraph && m_position.offset == bottom.offset;
    m_pinned = atBottom && last >= 0 ? last : -1;
    syncScrollBar();
    viewport()->update();
}

void ChatView::keepBottomPinned()
{
    if (m_pinned >= 0 && m_bottomAnchor < 0)
        m_bottomAnchor = std::min(m_pinned, m_document->paragraphCount() - 1);
}

void ChatView::syncScrollBar()
{
    // The bar counts paragraphs, so keeping it current never needs the whole document's height.
    const ScrollPosition bottom = bottomPosition(m_document->paragraphCount() - 1);
    QScopedValueRollback<bool> guard(m_syncingScrollBar, true);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, bottom.paragraph + (bottom.offset > 0 ? 1 : 0));
    bar->setPageStep(std::max(1, contentHeight() / lineStep()));
    const bool atBottom =
        m_position.paragraph == bottom.paragraph && m_position.offset == bottom.offset;
    bar->setValue(atBottom ? bar->maximum() : m_position.paragraph);
}

void ChatView::scrollContentsBy(int, int)
{
    if (m_syncingScrollBar)
        return;
    const QScrollBar* bar = verticalScrollBar();
    if (bar->value() >= bar->maximum())
        setPosition(bottomPosition(m_document->paragraphCount() - 1));
    else
        setPosition({bar->value(), 0});
}

void ChatView::scrollBarAction(int action)
{
    // The bar counts paragraphs, and a page of them can be several screens of wrapped lines:
    // a click in the trough turns a page as Page Up/Down do. Setting the position also sets the
    // bar's value, which the bar then keeps.
    if (action == QAbstractSlider::SliderPageStepAdd)
        scrollByPixels(pageHeight());
    else if (action == QAbstractSlider::SliderPageStepSub)
        scrollByPixels(-pageHeight());
}

void ChatView::scrollByPixels(int pixels)
{
    settle();
    ScrollPosition position = m_position;
    const int count = m_document->paragraphCount();
    if (count == 0)
        return;
    position.offset += pixels;
    if (pixels > 0) {
        // Stop once past the bottom; clamping brings the position back to it.
        while (position.paragraph < count - 1 &&
               position.offset >= m_layout->height(position.paragraph)) {
            position.offset -= m_layout->height(position.paragraph);
            ++position.paragraph;
        }
    } else {
        while (position.offset < 0 && position.paragraph > 0) {
            --position.paragraph;
            position.offset += m_layout->height(position.paragraph);
        }
        position.offset = std::max(position.offset, 0);
    }
    setPosition(position);
}

void ChatView::ensureVisible(ChatPosition target)
{
    settle();
    const int p = target.paragraph;
    const auto layout = m_layout->layout(p);
    const QTextLine line = layout->lineForTextPosition(target.offset);
    const int lineTop = line.isValid() ? int(line.y()) : 0;
    const int lineBottom = line.isValid() ? int(line.y() + line.height()) : m_layout->height(p);
    if (p < m_position.paragraph || (p == m_position.paragraph && lineTop < m_position.offset)) {
        setPosition({p, lineTop});
        return;
    }
    const int available = contentHeight();
    int y = -m_position.offset;
    for (int q = m_position.paragraph; q < p && y <= available; ++q)
        y += m_layout->height(q);
    if (y + lineBottom <= available)
        return;
    // Below the view: bring the line up to the bottom edge.
    int height = lineBottom;
    ScrollPosition position{p, std::max(0, height - available)};
    for (int q = p - 1; q >= 0 && height < available; --q) {
        height += m_layout->height(q);
        position = {q, std::max(0, height - available)};
    }
    setPosition(position);
}

ChatPosition ChatView::positionAt(QPoint point, bool onCharacter) const
{
    settle();
    const int count = m_document->paragraphCount();
    if (count == 0)
        return {};
    int y = m_margins.top() - m_position.offset;
    if (point.y() < y)
        return {m_position.paragraph, 0};
    for (int p = m_position.paragraph; p < count; ++p) {
        const int height = m_layout->height(p);
        if (point.y() < y + height) {
            const QPointF local(point.x() - m_margins.left(), point.y() - y);
            return {p, m_layout->offsetAt(p, local, onCharacter)};
        }
        y += height;
    }
    return m_document->endPosition();
}

void ChatView::paintEvent(QPaintEvent*)
{
    settle();
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    painter.fillRect(area, m_backgroundColor);
    if (!m_background.isNull()) {
        switch (m_backgroundStyle) {
        case BackgroundStyle::None:
            break;
        case BackgroundStyle::Stretched:
            painter.drawPixmap(area, m_background);
            break;
        case BackgroundStyle::Tiled:
            painter.drawTiledPixmap(area, m_background);
            break;
        case BackgroundStyle::Centered:
            painter.drawPixmap((area.width() - m_background.width()) / 2,
                               (area.height() - m_background.height()) / 2, m_background);
            break;
        }
    }
    const auto range = selection();
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));
    int y = m_margins.top() - m_position.offset;
    const int count = m_document->paragraphCount();
    for (int p = m_position.paragraph; p < count && y < area.height(); ++p) {
        const auto layout = m_layout->layout(p);
        QList<QTextLayout::FormatRange> selections;
        if (range && range->start.paragraph <= p && p <= range->end.paragraph) {
            const int from = p == range->start.paragraph ? range->start.offset : 0;
            const int to =
                p == range->end.paragraph ? range->end.offset : m_document->paragraphLength(p);
            if (to > from)
                selections.append({from, to - from, selected});
        }
        painter.setOpacity(p < m_document->historyCount() ? HistoryOpacity : 1.0);
        layout->draw(&painter, QPointF(m_margins.left(), y), selections);
        painter.setOpacity(1.0);
        y += m_layout->height(p);
        if (p == m_readMarker && isReadMarkerShown())
            painter.fillRect(m_margins.left(), y - 1, layoutWidth(), 1, QColor(ReadMarkerColor));
    }
}

void ChatView::setReadMarker()
{
    m_readMarker = m_document->paragraphCount() - 1;
    viewport()->update();
}

void ChatView::clearReadMarker()
{
    m_readMarker = -1;
    viewport()->update();
}

int ChatView::readMarker() const
{
    return m_readMarker;
}

bool ChatView::isReadMarkerShown() const
{
    return m_readMarker >= 0 && m_readMarker + 1 < m_document->paragraphCount();
}

void ChatView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_layout->setWidth(layoutWidth());
    keepBottomPinned();
    refresh();
}

void ChatView::stylesChanged()
{
    m_layout->invalidateAll();
    keepBottomPinned();
    scheduleRefresh();
}

void ChatView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        clearSelection();
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const ChatPosition at = positionAt(event->position().toPoint(), false);
    if (!(event->modifiers() & Qt::ShiftModifier) || !m_hasSelection)
        m_anchor = at;
    m_cursor = at;
    m_hasSelection = true;
    m_dragging = true;
    m_mousePos = event->position().toPoint();
    pressLink(m_mousePos);
    viewport()->update();
}

void ChatView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        const Qt::CursorShape shape =
            linkUnder(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::IBeamCursor;
        if (viewport()->cursor().shape() != shape)
            viewport()->setCursor(shape);
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    m_mousePos = event->position().toPoint();
    m_cursor = positionAt(m_mousePos, false);
    const bool outside = m_mousePos.y() < 0 || m_mousePos.y() >= viewport()->height();
    if (outside && !m_autoScrollTimer.isActive())
        m_autoScrollTimer.start();
    else if (!outside)
        m_autoScrollTimer.stop();
    viewport()->update();
}

void ChatView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    m_autoScrollTimer.stop();
    if (hasSelection())
        copySelection();
    else
        releaseLink(event->position().toPoint());
}

void ChatView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    m_dragging = false;
    m_autoScrollTimer.stop();
    // The second click of a double click: the first opens nothing.
    m_linkTimer.stop();
    m_pressedLink.reset();
    const ChatRange word = m_document->wordAt(positionAt(event->position().toPoint(), true));
    setSelection(word.start, word.end);
    if (hasSelection())
        copySelection();
}

std::optional<ChatRange> ChatView::linkUnder(QPoint point) const
{
    settle();
    const int count = m_document->paragraphCount();
    int y = m_margins.top() - m_position.offset;
    for (int p = m_position.paragraph; p < count && y <= point.y(); ++p) {
        const int height = m_layout->height(p);
        if (point.y() < y + height) {
            const QPointF local(point.x() - m_margins.left(), point.y() - y);
            const int at = m_layout->characterAt(p, local);
            const auto link = at < 0 ? std::nullopt : m_document->linkAt({p, at});
            if (!link)
                return std::nullopt;
            return ChatRange{{p, link->start}, {p, link->end()}};
        }
        y += height;
    }
    return std::nullopt;
}

void ChatView::pressLink(QPoint point)
{
    // A press that follows a click without making a double click still takes the click's place.
    m_linkTimer.stop();
    m_pressedLink = linkUnder(point);
    m_pressPos = point;
}

void ChatView::releaseLink(QPoint point)
{
    const auto pressed = std::exchange(m_pressedLink, std::nullopt);
    if (!pressed || (point - m_pressPos).manhattanLength() >=
                        QGuiApplication::styleHints()->startDragDistance())
        return;
    const auto released = linkUnder(point);
    if (!released || released->start != pressed->start || released->end != pressed->end)
        return;
    // Opened only once the double-click interval has passed without a second click.
    m_clickedLink = LinkFinder::url(m_document->text(*pressed));
    m_linkTimer.start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
}

void ChatView::autoScrollTick()
{
    const int height = viewport()->height();
    const int beyond = m_mousePos.y() < 0 ? m_mousePos.y() : m_mousePos.y() - (height - 1);
    if (beyond == 0) {
        m_autoScrollTimer.stop();
        return;
    }
    // Faster the further the pointer is from the edge, up to a few lines a tick.
    const int step = std::clamp(std::abs(beyond), lineStep() / 2 + 1, 3 * lineStep());
    scrollByPixels(beyond < 0 ? -step : step);
    const QPoint inside(m_mousePos.x(), std::clamp(m_mousePos.y(), 0, height - 1));
    m_cursor = positionAt(inside, false);
    viewport()->update();
}

void ChatView::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_popupMenu) {
        const auto link =
            event->reason() == QContextMenuEvent::Mouse ? linkUnder(event->pos()) : std::nullopt;
        Q_EMIT popupOpening(link ? m_document->text(*link) : QString());
        m_popupMenu->popup(event->globalPos());
        event->accept();
    }
}

void ChatView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageUp:
        scrollByPixels(-pageHeight());
        break;
    case Qt::Key_PageDown:
        scrollByPixels(pageHeight());
        break;
    case Qt::Key_Up:
        scrollByPixels(-lineStep());
        break;
    case Qt::Key_Down:
        scrollByPixels(lineStep());
        break;
    case Qt::Key_Home:
        setPosition({});
        break;
    case Qt::Key_End:
        scrollToBottom();
        refresh();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ChatView::wheelEvent(QWheelEvent* event)
{
    const QPoint pixels = event->pixelDelta();
    const int delta =
        !pixels.isNull() ? -pixels.y() : -event->angleDelta().y() * 3 * lineStep() / 120;
    if (delta != 0)
        scrollByPixels(delta);
    event->accept();
}

// The pane holds no text being edited: what an input method composes (an accented letter from a
// dead key and a letter) arrives as the key press that would have typed it, so whoever takes
// text typed in the pane takes it as well. A composition still in progress is not shown.
void ChatView::inputMethodEvent(QInputMethodEvent* event)
{
    event->accept();
    const QString text = event->commitString();
    if (text.isEmpty())
        return;
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(this, &typed);
}

QVariant ChatView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImCursorRectangle:
        // An input method's window goes at the pane's bottom left, nearest the input lines.
        return QRect(0, std::max(0, height() - 1), 1, 1);
    case Qt::ImSurroundingText:
    case Qt::ImCurrentSelection:
    case Qt::ImTextBeforeCursor:
    case Qt::ImTextAfterCursor:
        return QString();
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
        return 0;
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}
