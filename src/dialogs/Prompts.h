#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QDialog;
class QWidget;

// Every modal question, message box and file, colour, font or folder dialog of the program goes
// through this interface, so tests can answer without blocking. Filters use Qt's form:
// "Imagem Bitmap (*.bmp);;Todos (*)".
class Prompts
{
public:
    virtual ~Prompts();

    // The box that reports an error a handler raised.
    virtual void errorBox(QWidget* parent, const QString& message) = 0;
    virtual void messageBox(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual void warningBox(QWidget* parent, const QString& text) = 0;
    // A yes/no question; true for yes.
    virtual bool question(QWidget* parent, const QString& title, const QString& text) = 0;
    // Nothing when the user cancels.
    virtual std::optional<QString> inputBox(QWidget* parent, const QString& title,
                                            const QString& label, const QString& text) = 0;
    // Empty when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // Empty when the user cancels; selectedFilter receives the filter chosen. With
    // askBeforeReplacing the dialog asks before it takes the name of an existing file.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 QString* selectedFilter, bool askBeforeReplacing) = 0;
    virtual QString folderName(QWidget* parent, const QString& title, const QString& start) = 0;
    virtual std::optional<QColor> color(QWidget* parent, const QColor& initial) = 0;
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
    // Shows one of our own dialogs modally and returns its result (QDialog::Accepted or
    // QDialog::Rejected).
    virtual int exec(QDialog& dialog) = 0;
};

// The real dialogs of Qt.
class QtPrompts final : public Prompts
{
public:
    void errorBox(QWidget* parent, const QString& message) override;
    void messageBox(QWidget* parent, const QString& title, const QString& text) override;
    void warningBox(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> inputBox(QWidget* parent, const QString& title, const QString& label,
                                    const QString& text) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                         QString* selectedFilter, bool askBeforeReplacing) override;
    QString folderName(QWidget* parent, const QString& title, const QString& start) override;
    std::optional<QColor> color(QWidget* parent, const QColor& initial) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
    int exec(QDialog& dialog) override;
};
