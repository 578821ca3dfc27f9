#pragma once

#include <QApplication>
#include <QString>

class Prompts;

// The program's application object: shows an exception that reaches an event handler in the
// error box instead of ending the program.
class TulmoApplication final : public QApplication
{
    Q_OBJECT
public:
    TulmoApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Not owned; the error box of uncaught handler errors.
    void setPrompts(Prompts* prompts) { m_prompts = prompts; }

    // The families the program names but Linux lacks are drawn with look-alikes; where the real
    // fonts exist they are used. The window is laid out for Tahoma: without it, the copy with
    // the same metrics that Wine ships in wineFonts is loaded. The first call decides.
    static void registerFonts(const QString& wineFonts = QStringLiteral("/usr/share/wine/fonts"));
    // Qt's own dialogs and buttons in Brazilian Portuguese; false when the file is missing.
    static bool loadQtTranslation(QCoreApplication* app);

private:
    Prompts* m_prompts = nullptr;
};
