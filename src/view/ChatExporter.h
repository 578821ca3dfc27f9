#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

#include "view/ChatDocument.h"

class QIODevice;
class StyleTable;

// Writes a range of a pane's content as plain text, an HTML page or an RTF document. Everything
// a peer typed is escaped, and nothing outside Windows-1252 is lost in the HTML and RTF files.
class ChatExporter
{
public:
    // One line per paragraph ending in CR LF, tabs as tab characters, Windows-1252 bytes.
    static bool writeText(QIODevice& out, const ChatDocument& document, const ChatRange& range);
    // A page declared windows-1252; characters outside it are numeric character references.
    static bool writeHtml(QIODevice& out, const ChatDocument& document, const StyleTable& styles,
                          const ChatRange& range, const QString& title, const QColor& background);
    // The same page for the clipboard, as Unicode text declared utf-8.
    static QString html(const ChatDocument& document, const StyleTable& styles,
                        const ChatRange& range, const QString& title, const QColor& background);
    static bool writeRtf(QIODevice& out, const ChatDocument& document, const StyleTable& styles,
                         const ChatRange& range);
    static QByteArray rtf(const ChatDocument& document, const StyleTable& styles,
                          const ChatRange& range);

    // Writes the file through a temporary one, so a failed save leaves no half file; false
    // when it cannot be written.
    enum class Format
    {
        Text,
        Html,
        Rtf
    };
    static bool save(const QString& fileName, Format format, const ChatDocument& document,
                     const StyleTable& styles, const ChatRange& range, const QString& title,
                     const QColor& background);
};
