#pragma once

#include "window/Prompts.h"

#include <QQueue>
#include <QStringList>

// Answers the window's modal questions from a script and records what it was shown.
class ScriptedPrompts final : public Prompts
{
public:
    QStringList errors;
    QStringList messages;
    QQueue<QString> files; // answers of the file and folder dialogs; empty text cancels
    QStringList fileTitles;
    QStringList inputs; // every input box shown, as "title|label|default text"
    bool answer = true;

    void errorBox(QWidget* parent, const QString& message) override;
    void messageBox(QWidget* parent, const QString& title, const QString& text) override;
    bool question(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> inputBox(QWidget* parent, const QString& title, const QString& label,
                                    const QString& text) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                         QString* selectedFilter) override;
    QString folderName(QWidget* parent, const QString& title, const QString& start) override;
    std::optional<QColor> color(QWidget* parent, const QColor& initial) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;

private:
    QString nextFile(const QString& title);
};
