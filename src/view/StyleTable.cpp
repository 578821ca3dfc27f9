#include "view/StyleTable.h"

#include <algorithm>

#include <QGuiApplication>
#include <QPalette>

namespace {

// Larger sizes only come from a damaged settings file; they would make every line a screen high.
constexpr int MaxPointSize = 500;

TextStyle makeStyle(const char* name, const char* font, const QColor& color)
{
    TextStyle style;
    style.name = QString::fromLatin1(name);
    style.fontName = QString::fromLatin1(font);
    style.color = color;
    return style;
}

} // namespace

StyleTable::StyleTable(QObject* parent) : QObject(parent)
{
    const QColor windowText = QGuiApplication::palette().color(QPalette::WindowText);
    m_styles = {
        makeStyle("MOD", "Verdana", QColor(128, 128, 128)),
        makeStyle("ADM", "Verdana", QColor(0x00, 0x80, 0xFF)),
        makeStyle("OP", "Verdana", QColor(0x77, 0xBB, 0xFF)),
        makeStyle("VOICE", "Verdana", QColor(0xFF, 0x80, 0x00)),
        makeStyle("Acc", "Verdana", QColor(0xFF, 0xFF, 0x00)),
        makeStyle("Usuario", "Verdana", QColor(0xFF, 0xFF, 0xFF)),
        makeStyle("Emote", "Verdana", QColor(0xFF, 0x00, 0xFF)),
        makeStyle("Info", "Verdana", QColor(0x00, 0xFF, 0x00)),
        makeStyle("Erro", "Verdana", QColor(0xFF, 0x00, 0x00)),
        makeStyle("WTO", "Arial", windowText),
        makeStyle("WFROM", "Arial", windowText),
        makeStyle("WmTO", "Arial", windowText),
        makeStyle("WmFROM", "Arial", windowText),
        makeStyle("Horario", "Arial", QColor(0xAA, 0xAA, 0x55)),
        makeStyle("Mencao", "Verdana", QColor(0x00, 0xFF, 0xFF)),
    };
}

const TextStyle& StyleTable::style(int no) const
{
    // Text of an unknown style (the callers pass -1 for an empty line) is drawn in style 0.
    if (no < 0 || no >= m_styles.size())
        no = 0;
    return m_styles[no];
}

QFont StyleTable::font(int no) const
{
    const TextStyle& s = style(no);
    QFont f(s.fontName);
    f.setPointSize(s.size);
    f.setBold(s.bold);
    f.setItalic(s.italic);
    return f;
}

void StyleTable::setFont(int no, const QString& family, int pointSize)
{
    if (no < 0 || no >= m_styles.size())
        return;
    TextStyle& s = m_styles[no];
    s.fontName = family;
    if (pointSize > 0)
        s.size = std::min(pointSize, MaxPointSize);
    Q_EMIT changed();
}

void StyleTable::setColor(int no, const QColor& color)
{
    if (no < 0 || no >= m_styles.size() || !color.isValid())
        return;
    m_styles[no].color = color;
    Q_EMIT changed();
}

void StyleTable::assign(const StyleTable& other)
{
    m_styles = other.m_styles;
    Q_EMIT changed();
}

QString StyleTable::paragraphStyleName(int no)
{
    return no == 1 ? QStringLiteral("Centered") : QStringLiteral("Paragraph Style");
}
