#pragma once

#include <QString>
#include <QStringList>

class TfrmMain;

// Carries out the client's own commands typed into the input line: "/lock", "/ascroll",
// "/acset", "/opmode" and "/achelp". It has no state of its own and acts on the main window.
class TComandos final
{
public:
    explicit TComandos(TfrmMain* window);

    // True when the line is a client command; it has then been carried out, whatever it reported,
    // and must not reach the server.
    bool analisar(const QString& line);

private:
    void lockaWhisps(const QStringList& words);
    void alteraOpcao(const QStringList& words);
    void ativaOpMode();
    void mostraAjuda(const QStringList& words);

    // A line of its own in the channel pane, laid out at once.
    void report(const QString& text, int style);
    void helpLine(const QString& text);
    // "syntax", tabs to line up the description, then the description, on one line.
    void helpEntry(const QString& syntax, int tabs, const QString& description);

    TfrmMain* m_window;
};
