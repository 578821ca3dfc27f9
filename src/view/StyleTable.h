#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>
#include <QVector>

struct TextStyle
{
    QString name;
    QString fontName;
    int size = 10; // points
    QColor color;
    bool bold = false;
    bool italic = false;
};

// The text styles shared by both panes. Every piece of pane text names a style by number; the
// views look styles up when they lay out and paint, so a change shows without touching content.
class StyleTable : public QObject
{
    Q_OBJECT
public:
    enum StyleNo
    {
        MOD = 0,
        ADM = 1,
        OP = 2,
        VOICE = 3,
        Acc = 4,
        Usuario = 5,
        Emote = 6,
        Info = 7,
        Erro = 8,
        WTO = 9,
        WFROM = 10,
        WmTO = 11,
        WmFROM = 12,
        Horario = 13,
        // A channel line that mentions the user.
        Mencao = 14,
        Count = 15
    };
    // Saved logs list the styles before this one whether they are used or not; a later style
    // only when the saved text uses it, so a log without such text keeps its bytes.
    static constexpr int AlwaysListed = Mencao;

    // The initial table: fonts, colours and size 10 of every style.
    explicit StyleTable(QObject* parent = nullptr);

    int count() const { return int(m_styles.size()); }
    const TextStyle& style(int no) const;
    // The font to draw style `no` with (family, point size, bold, italic).
    QFont font(int no) const;
    QColor color(int no) const { return style(no).color; }

    void setFont(int no, const QString& family, int pointSize);
    void setColor(int no, const QColor& color);
    // Takes every style of `other` as it is now.
    void assign(const StyleTable& other);

    // "Paragraph Style" (left-aligned, used by every line) and "Centered".
    static QString paragraphStyleName(int no);

Q_SIGNALS:
    void changed();

private:
    QVector<TextStyle> m_styles;
};
