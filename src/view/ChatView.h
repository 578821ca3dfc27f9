#pragma once

#include <memory>
#include <optional>

#include <QAbstractScrollArea>
#include <QColor>
#include <QMargins>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QUrl>

#include "view/ChatDocument.h"

class ChatLayout;
class StyleTable;
class QMenu;

// One pane of styled chat text: paragraphs of (text, style) runs and tabs, laid out lazily and
// painted only where visible, however long the content grows. Appending never moves the user's
// scroll position; only scrollToBottom does.
class ChatView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    enum class BackgroundStyle
    {
        None,
        Stretched,
        Tiled,
        Centered
    };

    using FindOptions = ChatDocument::FindOptions;

    explicit ChatView(StyleTable* styles, QWidget* parent = nullptr);
    ~ChatView() override;

    // Starts a new paragraph holding the text; empty text (style -1) starts an empty one. Past
    // the pane's ceiling the oldest paragraphs go (see ChatDocument): the view keeps showing the
    // same text, and the selection and the search position keep to what remains.
    void appendLine(const QString& text, int style);
    // Adds the text at the end of the last paragraph.
    void appendText(const QString& text, int style);
    // Adds a tab: what follows starts at the next tab stop (every 48 pixels).
    void appendTab(int style);
    // Brings layout and display up to date with the content (repaints are coalesced).
    void reformat();
    void scrollToBottom();
    void clearView();
    // Lines of earlier sessions, drawn dimmed at the head of the pane, before everything
    // appended (see ChatDocument::insertHistory). The saved logs leave them out; find, select
    // and copy see them.
    void insertHistory(const QStringList& lines, int style);
    static constexpr qreal HistoryOpacity = 0.5;

    void selectAll();
    void clearSelection();
    bool hasSelection() const;
    QString selectedText() const;
    // Puts the selection on the clipboard as plain text, HTML and RTF, each rendered when a
    // program asks for it; more than about 4 MB of text goes as plain text only (ChatMimeData).
    void copySelection();

    // Finds the next occurrence from the current selection (or from the place clicked, when
    // nothing is selected there) and selects it; false when none.
    bool findText(const QString& text, const FindOptions& options);

    // Each returns false when the file cannot be written. The whole pane but its history.
    bool saveAsText(const QString& fileName, int lineWidth) const;
    bool saveAsHtml(const QString& fileName, const QString& title, const QString& imagePrefix,
                    bool overwriteImages) const;
    bool saveAsRtf(const QString& fileName, bool selectionOnly) const;

    QPixmap BackgroundBitmap() const;
    void setBackgroundBitmap(const QPixmap& picture);
    BackgroundStyle backgroundStyle() const;
    void setBackgroundStyle(BackgroundStyle style);
    QColor backgroundColor() const;
    void setBackgroundColor(const QColor& color);
    void setTextMargins(int left, int top, int right, int bottom);

    // The context menu a right click opens (after it removed the selection); not owned.
    void setPopupMenu(QMenu* menu);

    const ChatDocument& document() const;
    // Tests lower the document's ceiling on paragraphs to reach it quickly.
    void setMaxParagraphs(int count);
    StyleTable* styles() const;
    // The paragraph shown at the top and how many pixels of it are scrolled out of view.
    int topParagraph() const;
    int topOffset() const;
    bool isAtBottom() const;

    // The last line read: the pane remembers its last paragraph and draws a thin line under it
    // once paragraphs follow. The line is drawn only; the document, the saved logs and find never
    // see it. It follows the pane when the oldest lines go, and goes with its paragraph or with
    // clearView.
    void setReadMarker();
    void clearReadMarker();
    // The marked paragraph, or -1.
    int readMarker() const;
    // Whether the line is drawn: a paragraph is marked and others follow it.
    bool isReadMarkerShown() const;
    static constexpr QRgb ReadMarkerColor = 0xffd04040;

    // The pane takes input methods, for dead keys; it has no text of its own to offer them.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    // A click on a web address: the button went up where it went down, and no second click
    // followed within the double-click interval.
    void linkActivated(const QUrl& url);
    // The context menu is about to open, over `link` (an address as written) or over none (empty).
    void popupOpening(const QString& link);
    // A paragraph was started: the one before it is complete, and the new one is once the
    // writer that started it has returned.
    void paragraphStarted();
    // Paragraphs are about to go (the pane is cleared, or the oldest go past its ceiling); every
    // paragraph there is complete.
    void paragraphsLeaving();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Where the view is scrolled: the paragraph at the top and the pixels of it above the view.
    struct ScrollPosition
    {
        int paragraph = 0;
        int offset = 0;
    };

    void stylesChanged();
    void refresh();
    void scheduleRefresh();
    // Positions are worked out lazily; these bring them up to date (hence callable when const).
    void settle() const;
    ScrollPosition bottomPosition(int lastParagraph) const;
    ScrollPosition clampedPosition(ScrollPosition position) const;
    void setPosition(ScrollPosition position);
    void scrollByPixels(int pixels);
    void scrollBarAction(int action);
    void syncScrollBar();
    int contentHeight() const;
    int lineStep() const;
    int pageHeight() const;
    void ensureVisible(ChatPosition position);
    ChatPosition positionAt(QPoint point, bool onCharacter) const;
    std::optional<ChatRange> selection() const;
    std::optional<ChatRange> searchStart() const;
    void forgetOldest(int count);
    void setSelection(ChatPosition anchor, ChatPosition cursor);
    void autoScrollTick();
    void keepBottomPinned();
    int layoutWidth() const;
    // The address under a point of the viewport.
    std::optional<ChatRange> linkUnder(QPoint point) const;
    void pressLink(QPoint point);
    void releaseLink(QPoint point);

    StyleTable* m_styles;
    std::unique_ptr<StyleTable> m_ownStyles;
    std::unique_ptr<ChatDocument> m_document;
    std::unique_ptr<ChatLayout> m_layout;
    mutable ScrollPosition m_position;
    // The paragraph whose end scrollToBottom asked to show at the bottom, until settled.
    mutable int m_bottomAnchor = -1;
    // The last paragraph shown when the view was last scrolled to the bottom, while it stays
    // there; a resize or a style change keeps that paragraph at the bottom.
    mutable int m_pinned = -1;
    bool m_hasSelection = false;
    ChatPosition m_anchor;
    ChatPosition m_cursor;
    bool m_dragging = false;
    QPoint m_mousePos;
    QPixmap m_background;
    BackgroundStyle m_backgroundStyle = BackgroundStyle::None;
    QColor m_backgroundColor = Qt::black;
    QMargins m_margins;
    QMenu* m_popupMenu = nullptr;
    int m_readMarker = -1;
    QTimer m_refreshTimer;
    QTimer m_autoScrollTimer;
    bool m_syncingScrollBar = false;
    // The address the left button went down on, and the one a click opens once no second click
    // follows.
    std::optional<ChatRange> m_pressedLink;
    QPoint m_pressPos;
    QUrl m_clickedLink;
    QTimer m_linkTimer;
};
