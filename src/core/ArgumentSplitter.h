#pragma once

#include <QString>
#include <QStringList>

// Splits one text of command-line parameters into the arguments a program receives. Nothing is
// expanded: no variables, no wildcards, no comments; only blanks, quotes and backslashes count.
// A quote left open runs to the end of the text.
class ArgumentSplitter
{
public:
    // As a Windows program's runtime splits the command line after the program's name: blanks
    // are spaces and tabs; a backslash is literal unless a double quote follows it, where 2n
    // backslashes give n and the quote opens or closes a quoted part, and 2n + 1 give n and a
    // literal quote; "" inside a quoted part is a literal quote that keeps the part open. So
    // C:\Jogos keeps its backslash, and "" is an empty argument.
    static QStringList windows(const QString& text);

    // As a POSIX shell splits words: blanks are spaces, tabs and newlines; inside single quotes
    // everything is literal; inside double quotes a backslash escapes only $ ` " \ and a newline;
    // elsewhere a backslash escapes the next character; a backslash before a newline joins the
    // lines; an empty quoted argument is kept.
    static QStringList posix(const QString& text);
};
