#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The lines of a settings file, parsed once and then edited key by key in memory: each change
// costs about the same whatever the size of the file, so a thousand changes are one pass over the
// file, not a thousand. The bytes come out as if each change had been made to the file in turn
// (see TIniFile for the rules), except that a change undone later leaves no trace: a new section
// whose keys are all deleted again is not written.
//
// Names are those TIniFile accepts (trimmed, storable); values hold no line break.
class IniDocument final
{
public:
    // What a reader finds in one section.
    struct Section
    {
        // lower-case key -> value as read; the first line of a key wins
        QHash<QString, QString> values;
        // each key once, spelled as on its first line, in the order of the file
        QStringList names;
    };
    // By lower-case section name; keys before any section belong to none.
    using Contents = QHash<QString, Section>;

    explicit IniDocument(const QByteArray& data);

    void setValue(const QString& section, const QString& key, const QString& value);
    void removeKey(const QString& section, const QString& key);

    // The file's new bytes, or nothing when the changes leave it as it was.
    std::optional<QByteArray> changedBytes() const;
    Contents contents() const;

    // The value a reader takes from the text after a key's "=".
    static QString readValue(const QString& raw);
    // The text without the blanks and tabs around it, as names and values are read.
    static QString trimBlanks(const QString& text);

private:
    enum class Kind : quint8
    {
        Other,
        Section,
        Key
    };

    struct Node
    {
        QByteArray text; // without its line end
        const char* eol = "";
        Kind kind = Kind::Other;
        bool live = true;
        bool addedHeader = false; // the header of a section the changes made
        int next = -1;
        QString name;  // section or key name as spelled, trimmed
        QString lower; // the same, lower-case: the form names are compared in
        QString raw;   // text after the first "=" of a key line
    };

    // Where the key lines of one section name lie, over all its headers in the file.
    struct SectionLines
    {
        int header = -1;                 // the first header line of the name
        QList<int> keysOfFirstBlock;     // key lines below that header, dead ones may remain
        QHash<QString, QList<int>> keys; // lower-case key -> its live lines, in file order
    };

    void classify(Node& node, bool first) const;
    QByteArray bytes() const;
    int add(Node node);
    int insertAfter(int at, Node node);
    int append(Node node);
    Node keyLine(const QString& key, const QString& value) const;

    QList<Node> m_nodes;
    int m_head = -1;
    int m_tail = -1;
    QList<SectionLines> m_sections;
    QHash<QString, int> m_sectionIndex; // lower-case name -> index in m_sections
    QByteArray m_original;
    bool m_changed = false;
};
