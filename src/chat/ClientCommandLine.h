#pragma once

#include <QString>
#include <QStringList>

// Reads a line typed into the input line as one of the client's own commands, which never go
// to the server. Only the first word decides, its ASCII letters upper-cased: "/Lock" is "/LOCK",
// "/lockx" is no command.
class ClientCommandLine
{
public:
    enum class Command
    {
        None,
        Lock,
        AScroll,
        AcSet,
        OpMode,
        AcHelp,
    };

    // The line trimmed of trailing blanks and control characters, cut into words.
    static ClientCommandLine parse(const QString& line);

    // Words are separated by runs of blanks and control characters. A word that begins with a
    // double quote runs to the closing one (or to the end of the line) and loses its quotes; a
    // doubled double quote inside it stands for one. Text right after a closing quote starts the
    // next word.
    static QStringList separaTokens(const QString& line);

    // Nothing but blanks and control characters (an empty line too).
    static bool isBlank(const QString& line);

    // Word i upper-cased (ASCII letters only); empty when there are fewer words.
    static QString upperWord(const QStringList& words, int i);

    Command command() const { return m_command; }
    // Every word, the command word first.
    const QStringList& words() const { return m_words; }

private:
    Command m_command = Command::None;
    QStringList m_words;
};
