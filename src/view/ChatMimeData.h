#pragma once

#include <memory>

#include <QColor>
#include <QMimeData>
#include <QStringList>

#include "view/ChatDocument.h"

class StyleTable;

// A pane's selection on the clipboard. It keeps what was selected as it was (the paragraphs,
// sharing their characters with the pane, and the styles and background of the moment) and
// renders a format only when a program asks for it, keeping nothing rendered. A selection of
// more than MaxRichLength characters goes as plain text only: its HTML and RTF would be several
// times its size, and a clipboard manager may ask for every format at once, even at exit.
class ChatMimeData : public QMimeData
{
    Q_OBJECT
public:
    // About 4 MB of text.
    static constexpr qsizetype MaxRichLength = 4 * 1024 * 1024;

    ChatMimeData(const ChatDocument& document, const StyleTable& styles, const ChatRange& range,
                 const QColor& background);
    ~ChatMimeData() override;

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

    // Characters of the selected text, paragraphs joined by one line break.
    qsizetype textLength() const { return m_length; }
    // How many times a format has been rendered so far.
    int renderCount() const { return m_renders; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QByteArray utf8Text() const;

    std::unique_ptr<const ChatDocument> m_document;
    std::unique_ptr<StyleTable> m_styles;
    // The selection within m_document.
    ChatRange m_range;
    QColor m_background;
    qsizetype m_length = 0;
    mutable int m_renders = 0;
};
