#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QPixmap>
#include <QString>

class ChatDocument;
class StyleTable;
class QMenu;

// One pane of styled chat text: paragraphs of (text, style) runs and tabs, laid out lazily and
// painted only where visible, however long the content grows. Appending never moves the user's
// scroll position; only scrollToBottom does.
class ChatView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    enum class BackgroundStyle { None, Stretched, Tiled, Centered };

    struct FindOptions
    {
        bool matchCase = false;
        bool down = true;
        bool wholeWord = false;
    };

    explicit ChatView(StyleTable* styles, QWidget* parent = nullptr);
    ~ChatView() override;

    // Starts a new paragraph holding the text; empty text (style -1) starts an empty one.
    void appendLine(const QString& text, int style);
    // Adds the text at the end of the last paragraph.
    void appendText(const QString& text, int style);
    // Adds a tab: what follows starts at the next tab stop (every 48 pixels).
    void appendTab(int style);
    // Brings layout and display up to date with the content (repaints are coalesced).
    void reformat();
    void scrollToBottom();
    void clearView();

    void selectAll();
    void clearSelection();
    bool hasSelection() const;
    QString selectedText() const;
    // Puts the selection on the clipboard as plain text, HTML and RTF.
    void copySelection();

    // Finds the next occurrence from the current selection and selects it; false when none.
    bool findText(const QString& text, FindOptions options);

    // Each returns false when the file cannot be written.
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
    StyleTable* styles() const;
    // The paragraph shown at the top and how many pixels of it are scrolled out of view.
    int topParagraph() const;
    int topOffset() const;
    bool isAtBottom() const;
};
