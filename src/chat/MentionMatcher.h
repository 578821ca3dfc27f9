#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

// Whether a channel line mentions the user: its text holds the account name the server confirmed
// or one of the user's highlight words as a whole word.
//
// A word is whole when no character that may stand in an account name touches it: an ASCII
// letter or digit, "_", "-", "[", "]" or ".", and also any other letter, digit or combining mark
// (an accented letter next to it makes a longer Portuguese word: "mar" is not mentioned in
// "marés"). Dots right after a word that are followed by no such character end a sentence
// ("tchau rafa."), they are not part of a longer name as in "rafa.bot".
//
// Letter case: the account name ignores the case of the ASCII letters only, as the server does
// with names; a highlight word ignores the case of every letter ("ação" finds "AÇÃO").
class MentionMatcher
{
public:
    // The account name the server confirmed; empty: none.
    void setAccount(const QString& account);
    QString account() const { return m_account.text; }
    // The highlight words as the user types them: separated by commas, blanks around each
    // ignored, empty ones skipped.
    void setHighlightWords(const QString& list);
    QStringList highlightWords() const { return m_words; }

    // A line of speaker mentions the user; the user's own lines never do.
    bool mentions(const QString& speaker, QStringView text) const;

    static QStringList splitWords(const QString& list);
    // c may stand in an account name, or makes a longer word with the letters next to it.
    static bool isWordCharacter(QChar c);

private:
    // A name or word to look for, with the characters that may open it (none listed: too many).
    struct Needle
    {
        QString text;
        QVarLengthArray<QChar, 3> openers;
    };
    static Needle needle(const QString& text);
    static bool containsWord(QStringView text, const Needle& word, bool asciiCaseOnly);

    Needle m_account;
    QStringList m_words;
    QList<Needle> m_wordNeedles;
};
