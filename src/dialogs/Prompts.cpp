#include "dialogs/Prompts.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

Prompts::~Prompts() = default;

namespace {
const QString ProgramTitle = QStringLiteral("Tulmo Chat");
} // namespace

void QtPrompts::errorBox(QWidget* parent, const QString& message)
{
    QMessageBox::critical(parent, ProgramTitle, message);
}

void QtPrompts::messageBox(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title.isEmpty() ? ProgramTitle : title, text);
}

void QtPrompts::warningBox(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, ProgramTitle, text);
}

bool QtPrompts::question(QWidget* parent, const QString& title, const QString& text)
{
    return QMessageBox::question(parent, title.isEmpty() ? ProgramTitle : title, text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::inputBox(QWidget* parent, const QString& title,
                                           const QString& label, const QString& text)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QString QtPrompts::openFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString QtPrompts::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                QString* selectedFilter, bool askBeforeReplacing)
{
    return QFileDialog::getSaveFileName(parent, title, QString(), filter, selectedFilter,
                                        askBeforeReplacing ? QFileDialog::Options()
                                                           : QFileDialog::DontConfirmOverwrite);
}

QString QtPrompts::folderName(QWidget* parent, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}

std::optional<QColor> QtPrompts::color(QWidget* parent, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QFont> QtPrompts::font(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return chosen;
}

int QtPrompts::exec(QDialog& dialog)
{
    return dialog.exec();
}
