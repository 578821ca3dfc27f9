#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The words the user added to the dictionary, kept in a UTF-8 file of one word a line. Adding
// reads the file again first, so that a word another window of the program added meanwhile
// stays in it.
class PersonalWords
{
public:
    explicit PersonalWords(const QString& path);

    // Reads the file; a missing file holds no words. False when the file exists but cannot be
    // read (the list is then empty).
    bool load();
    // Whether the word is on the list as written, or as a listed word written with a capital
    // first letter or in capitals ("tulmo" allows "Tulmo" and "TULMO"; "Tulmo" not "tulmo").
    bool contains(const QString& word) const;
    // Puts the word on the list and writes the file whole, with the words the file holds now and
    // those this list had; false when the file could not be read or written (the word then
    // counts for this session only).
    bool add(const QString& word);

    const QStringList& words() const { return m_words; }
    QString path() const { return m_path; }

private:
    void insert(const QString& word);

    QString m_path;
    QStringList m_words;
    QSet<QString> m_set;
};
