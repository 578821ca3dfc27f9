#pragma once

#include "dialogs/Prompts.h"

#include <QQueue>
#include <QStringList>

#include <functional>

// Answers the program's modal questions from a script and records what it was shown.
class ScriptedPrompts final : public Prompts
{
public:
    QStringList errors;
    QStringList messages;
    QStringList warnings;
    QQueue<QString> files; // answers of the file and folder dialogs; empty text cancels
    QStringList fileTitles;
    QStringList openFilters;  // the filter each open dialog offered
    QStringList folderStarts; // the start folder each folder dialog was given
    // The filter each save dialog offered, and the filter entry it answers with (by default the
    // first entry of the offered filter).
    QStringList saveFilters;
    QList<bool> saveAsks; // whether each save dialog asked before replacing a file
    QQueue<QString> chosenFilters;
    // The filter entry each save dialog was opened with.
    QStringList filterStarts;
    QStringList inputs; // every input box shown, as "title|label|default text"
    bool answer = true;
    // Answers of the colour and font dialogs, in order; nothing (or an empty queue) cancels.
    QQueue<std::optional<QColor>> colors;
    QList<QColor> colorStarts; // the colour each colour dialog started with
    QQueue<std::optional<QFont>> fonts;
    QList<QFont> fontStarts;
    // Our own dialogs: each shown dialog takes the next script, which works the dialog (it may
    // click its buttons) and returns its result; with no script left the dialog is rejected.
    QQueue<std::function<int(QDialog&)>> dialogs;
    QStringList dialogTitles; // the window title of every dialog shown

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

private:
    QString nextFile(const QString& title);
};
