#include "ScriptedPrompts.h"

#include <QDialog>

void ScriptedPrompts::errorBox(QWidget*, const QString& message)
{
    errors << message;
}

void ScriptedPrompts::messageBox(QWidget*, const QString&, const QString& text)
{
    messages << text;
}

void ScriptedPrompts::warningBox(QWidget*, const QString& text)
{
    warnings << text;
}

bool ScriptedPrompts::question(QWidget*, const QString&, const QString& text)
{
    messages << text;
    return answer;
}

std::optional<QString> ScriptedPrompts::inputBox(QWidget*, const QString& title,
                                                 const QString& label, const QString& text)
{
    inputs << title + QLatin1Char('|') + label + QLatin1Char('|') + text;
    if (files.isEmpty())
        return std::nullopt;
    return files.dequeue();
}

QString ScriptedPrompts::nextFile(const QString& title)
{
    fileTitles << title;
    return files.isEmpty() ? QString() : files.dequeue();
}

QString ScriptedPrompts::openFileName(QWidget*, const QString& title, const QString& filter)
{
    openFilters << filter;
    return nextFile(title);
}

QString ScriptedPrompts::saveFileName(QWidget*, const QString& title, const QString& filter,
                                      QString* selectedFilter, bool askBeforeReplacing)
{
    saveFilters << filter;
    saveAsks << askBeforeReplacing;
    filterStarts << (selectedFilter ? *selectedFilter : QString());
    const QString chosen = chosenFilters.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0)
                                                   : chosenFilters.dequeue();
    if (selectedFilter)
        *selectedFilter = chosen;
    return nextFile(title);
}

QString ScriptedPrompts::folderName(QWidget*, const QString& title, const QString& start)
{
    folderStarts << start;
    return nextFile(title);
}

std::optional<QColor> ScriptedPrompts::color(QWidget*, const QColor& initial)
{
    colorStarts << initial;
    return colors.isEmpty() ? std::nullopt : colors.dequeue();
}

std::optional<QFont> ScriptedPrompts::font(QWidget*, const QFont& initial)
{
    fontStarts << initial;
    return fonts.isEmpty() ? std::nullopt : fonts.dequeue();
}

int ScriptedPrompts::exec(QDialog& dialog)
{
    dialogTitles << dialog.windowTitle();
    if (dialogs.isEmpty())
        return QDialog::Rejected;
    return dialogs.dequeue()(dialog);
}
