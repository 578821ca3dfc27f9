#include "dialogs/ReplyListGroup.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <utility>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/EntryListBox.h"
#include "dialogs/Prompts.h"
#include "settings/TIniFile.h"

// Row r of the list is entry r + 1 of the file. Every change is written first and shown after,
// so a write the file refuses leaves the list as the file has it.

namespace {

// The parts of an entry: its text, replies 1 to 3, then its reply count.
constexpr int TextPart = 0;
constexpr int CountPart = 4;
constexpr int MaxReplyLength = 159;

// How many replies the automatic replies choose from: reply 1 always, reply 2 when there is one,
// reply 3 only after a reply 2.
int replyCount(const QString& second, const QString& third)
{
    if (second.isEmpty())
        return 1;
    return third.isEmpty() ? 2 : 3;
}

// The limit is for typing only: a stored reply longer than it (a hand edit) is shown and kept
// whole, and typing may not make it longer than it was.
void showReply(QLineEdit* field, const QString& text)
{
    field->setMaxLength(std::max(MaxReplyLength, int(text.size())));
    field->setText(text);
}

QLineEdit* addLabelledField(QVBoxLayout* layout, const QString& name, const QString& caption)
{
    auto* label = new QLabel(caption);
    auto* field = new QLineEdit;
    field->setObjectName(name);
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field);
    return field;
}

} // namespace

ReplyListGroup::ReplyListGroup(TIniFile& ini, Prompts* prompts, Setup setup, QWidget* parent)
    : QGroupBox(parent), FIni(ini), m_prompts(prompts), m_setup(std::move(setup))
{
    setObjectName(m_setup.group);
    auto* layout = new QVBoxLayout(this);

    m_answering = new QCheckBox(m_setup.answeringCaption);
    m_answering->setObjectName(m_setup.answeringBox);
    m_answering->setChecked(Settings::read(FIni, m_setup.answering));
    layout->addWidget(m_answering);

    m_entries = new EntryListBox(m_setup.entries);
    m_entries->fill(FIni, m_setup.list);
    m_entries->setAccessibleName(m_setup.entriesCaption);
    layout->addWidget(m_entries, 1);

    m_delete = new QPushButton(QStringLiteral("Deletar"));
    m_delete->setObjectName(m_setup.deleteButton);
    layout->addWidget(m_delete, 0, Qt::AlignRight);

    m_text = addLabelledField(layout, m_setup.text, m_setup.textCaption);
    for (int k = 0; k < 3; ++k) {
        m_replies[k] =
            addLabelledField(layout, m_setup.replies[k], QStringLiteral("Resposta %1:").arg(k + 1));
        m_replies[k]->setMaxLength(MaxReplyLength);
    }

    m_add = new QPushButton(QStringLiteral("Adicionar"));
    m_add->setObjectName(m_setup.addButton);
    layout->addWidget(m_add, 0, Qt::AlignRight);

    connect(m_add, &QPushButton::clicked, this, guard([this] { addClick(); }));
    connect(m_delete, &QPushButton::clicked, this, guard([this] { deleteClick(); }));
    // Mouse and keyboard alike move the selection.
    connect(m_entries, &QListWidget::itemSelectionChanged, this, guard([this] { listClick(); }));
    // What the user types, not what the dialog puts there: showing an entry writes nothing.
    connect(m_text, &QLineEdit::textEdited, this, guard([this] { textChange(); }));
    for (int k = 0; k < 3; ++k)
        connect(m_replies[k], &QLineEdit::textEdited, this,
                guard([this, k] { replyChange(k + 1); }));
}

void ReplyListGroup::store()
{
    Settings::write(FIni, m_setup.answering, m_answering->isChecked());
}

// The new entry is numbered after the stored count, its reply count included, also when the list
// on screen has another number of rows (a file changed behind the dialog's back): one entry's
// count never lands on another.
void ReplyListGroup::addClick()
{
    const int count = m_setup.list.count(FIni);
    // A count at the top of the integers (a hand edit) has no number after it.
    if (count == std::numeric_limits<int>::max())
        return;
    const int entry = count + 1;
    {
        TIniFile::Batch batch(FIni);
        FIni.WriteInteger(m_setup.list.section(), m_setup.list.countKey(), entry);
        write(CountPart, entry,
              QString::number(replyCount(m_replies[1]->text(), m_replies[2]->text())));
        write(TextPart, entry, m_text->text());
        for (int k = 1; k <= 3; ++k)
            write(k, entry, m_replies[k - 1]->text());
        batch.commit();
    }
    // Let go of the selected entry before the fields are emptied, so that it keeps its texts.
    m_entries->dropSelection();
    m_entries->addItem(read(TextPart, entry));
    emptyFields();
}

// The moved entries get their reply counts afresh from their replies, in the same write as the
// move. A row past the stored count (the file changed behind the dialog's back) is no stored
// entry: the file is left alone and only the row goes.
void ReplyListGroup::deleteClick()
{
    const int row = m_entries->selectedRow();
    if (row < 0)
        return;
    {
        TIniFile::Batch batch(FIni);
        const int count = m_setup.list.count(FIni);
        if (m_setup.list.remove(FIni, row + 1)) {
            for (const int moved : m_setup.list.storedEntries(FIni, row + 1, count - 1))
                write(CountPart, moved,
                      QString::number(replyCount(read(2, moved), read(3, moved))));
        }
        batch.commit();
    }
    m_entries->removeRow(row);
    emptyFields();
}

void ReplyListGroup::listClick()
{
    const int row = m_entries->selectedRow();
    if (row < 0)
        return;
    m_text->setText(read(TextPart, row + 1));
    for (int k = 1; k <= 3; ++k)
        showReply(m_replies[k - 1], read(k, row + 1));
}

// Edits in place never touch the reply count: only adding and moving an entry set it.
void ReplyListGroup::textChange()
{
    const int row = m_entries->selectedRow();
    if (row < 0)
        return;
    write(TextPart, row + 1, m_text->text());
    // As the file keeps it (blanks around it trimmed), so the next opening shows the same.
    m_entries->item(row)->setText(read(TextPart, row + 1));
}

void ReplyListGroup::replyChange(int reply)
{
    const int row = m_entries->selectedRow();
    if (row < 0)
        return;
    write(reply, row + 1, m_replies[reply - 1]->text());
}

QString ReplyListGroup::read(int part, int entry) const
{
    return FIni.ReadString(m_setup.list.section(), m_setup.list.key(part, entry), QString());
}

void ReplyListGroup::write(int part, int entry, const QString& value)
{
    FIni.WriteString(m_setup.list.section(), m_setup.list.key(part, entry), value);
}

void ReplyListGroup::emptyFields()
{
    m_text->clear();
    for (QLineEdit* reply : m_replies)
        showReply(reply, QString());
}

// The dialog is not the main window: its handlers show their errors themselves.
std::function<void()> ReplyListGroup::guard(std::function<void()> handler)
{
    return [this, handler = std::move(handler)] {
        try {
            handler();
        } catch (const std::exception& e) {
            m_prompts->errorBox(this, QString::fromUtf8(e.what()));
        }
    };
}
