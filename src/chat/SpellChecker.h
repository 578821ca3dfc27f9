#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

// A Hunspell dictionary (its .aff and .dic files) asked whether a word is spelled right and for
// suggestions. The words go to the library in the character set the .aff file declares (UTF-8
// or ISO8859-1); a word with a character that set lacks is not in the dictionary. Answers are
// remembered, so a line checked again at every key costs the library only its new words.
// Not thread-safe: one thread at a time, which may be another than the one that opened it.
class SpellChecker
{
public:
    // The most suggestions offered for a word.
    static constexpr int MaxSuggestions = 8;

    // Nothing when either file is missing (the library is not asked then, so it prints nothing)
    // or the dictionary's character set is neither UTF-8 nor ISO8859-1.
    static std::unique_ptr<SpellChecker> open(const QString& affPath, const QString& dicPath);
    // The dictionary named (such as "pt_BR") in the first folder that holds both its files.
    static std::unique_ptr<SpellChecker> find(const QStringList& folders, const QString& name);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    bool isCorrect(const QString& word) const;
    QStringList suggestions(const QString& word) const;
    // The character set the dictionary declares, as its .aff file names it.
    QString encoding() const { return m_encoding; }

private:
    enum class Charset
    {
        Utf8,
        Latin1
    };
    SpellChecker(std::unique_ptr<Hunspell> hunspell, Charset charset, QString encoding);
    bool encode(const QString& word, std::string& bytes) const;
    QString decode(const std::string& bytes) const;

    std::unique_ptr<Hunspell> m_hunspell;
    Charset m_charset;
    QString m_encoding;
    mutable QHash<QString, bool> m_known;
};
