#include "ScriptedPrompts.h"

void ScriptedPrompts::errorBox(QWidget*, const QString& message)
{
    errors << message;
}

void ScriptedPrompts::messageBox(QWidget*, const QString&, const QString& text)
{
    messages << text;
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

QString ScriptedPrompts::openFileName(QWidget*, const QString& title, const QString&)
{
    return nextFile(title);
}

QString ScriptedPrompts::saveFileName(QWidget*, const QString& title, const QString&, QString*)
{
    return nextFile(title);
}

QString ScriptedPrompts::folderName(QWidget*, const QString& title, const QString&)
{
    return nextFile(title);
}

std::optional<QColor> ScriptedPrompts::color(QWidget*, const QColor&)
{
    return std::nullopt;
}

std::optional<QFont> ScriptedPrompts::font(QWidget*, const QFont&)
{
    return std::nullopt;
}
