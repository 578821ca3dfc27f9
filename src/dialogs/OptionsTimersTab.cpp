#include "dialogs/OptionsTimersTab.h"

#include <exception>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QVBoxLayout>

#include "dialogs/EntryListBox.h"
#include "dialogs/OptionsContext.h"
#include "dialogs/Prompts.h"
#include "settings/NumberedList.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"

namespace {

constexpr int MaxMessageLength = 159;
// A shorter period would flood the channel.
constexpr int MinPeriod = 120;

// The period as a whole number: leading spaces, an optional sign, then decimal digits, or
// hexadecimal ones after "$", "x", "X", "0x" or "0X", nothing after them, within 32 bits.
std::optional<int> periodOf(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == QLatin1Char(' '))
        ++start;
    return TIniFile::parseInteger(text.mid(start));
}

} // namespace

OptionsTimersTab::OptionsTimersTab(TIniFile& ini, const OptionsContext& context, QWidget* parent)
    : QWidget(parent), FIni(ini), m_prompts(context.prompts)
{
    setObjectName(QStringLiteral("tsTimers"));

    grpTimers = new QGroupBox;
    grpTimers->setObjectName(QStringLiteral("grpTimers"));
    // The blanks in front of the caption make room for chkTimers on the frame.
    grpTimerSinc = new QGroupBox(QStringLiteral("        Timer sincronizado  "));
    grpTimerSinc->setObjectName(QStringLiteral("grpTimerSinc"));
    chkTimers = new QCheckBox(grpTimerSinc);
    chkTimers->setObjectName(QStringLiteral("chkTimers"));
    chkTimers->setChecked(Settings::read(FIni, Keys::Timers::TimersOn));

    lstSincTimers = new EntryListBox(QStringLiteral("lstSincTimers"));
    lstSincTimers->fill(FIni, NumberedList::synchronizedMessages());
    lstSincTimers->setAccessibleName(QStringLiteral("Mensagens do timer sincronizado"));
    txtSincTimer = new QLineEdit;
    txtSincTimer->setObjectName(QStringLiteral("txtSincTimer"));
    txtSincTimer->setMaxLength(MaxMessageLength);
    Label8 = new QLabel(QStringLiteral("Tempo (seg):"));
    Label8->setObjectName(QStringLiteral("Label8"));
    txtTempoSinc = new QLineEdit(Settings::read(FIni, Keys::Timers::STempoShown));
    txtTempoSinc->setObjectName(QStringLiteral("txtTempoSinc"));
    Label8->setBuddy(txtTempoSinc);
    btnAddSincTimer = new QPushButton(QStringLiteral("Adicionar"));
    btnAddSincTimer->setObjectName(QStringLiteral("btnAddSincTimer"));
    btnDelSincTimer = new QPushButton(QStringLiteral("Remover"));
    btnDelSincTimer->setObjectName(QStringLiteral("btnDelSincTimer"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(Label8);
    controls->addWidget(txtTempoSinc);
    controls->addStretch();
    controls->addWidget(btnAddSincTimer);
    controls->addWidget(btnDelSincTimer);
    auto* messages = new QVBoxLayout(grpTimerSinc);
    messages->addWidget(lstSincTimers, 1);
    messages->addWidget(txtSincTimer);
    messages->addLayout(controls);
    auto* frame = new QVBoxLayout(grpTimers);
    frame->addWidget(grpTimerSinc);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grpTimers);

    grpTimerSinc->installEventFilter(this);
    placeSwitch();

    connect(btnAddSincTimer, &QPushButton::clicked, this,
            guard([this] { btnAddSincTimerClick(); }));
    connect(btnDelSincTimer, &QPushButton::clicked, this,
            guard([this] { btnDelSincTimerClick(); }));
}

void OptionsTimersTab::store()
{
    Settings::write(FIni, Keys::Timers::TimersOn, chkTimers->isChecked());
    const QString text = txtTempoSinc->text();
    const std::optional<int> period = periodOf(text);
    if (!period)
        throw std::runtime_error(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toUtf8().toStdString());
    if (*period < MinPeriod)
        txtTempoSinc->setText(QString::number(MinPeriod));
    Settings::write(FIni, Keys::Timers::STempoShown, txtTempoSinc->text());
}

void OptionsTimersTab::btnAddSincTimerClick()
{
    const QString text = txtSincTimer->text();
    if (text.isEmpty())
        return;
    const NumberedList messages = NumberedList::synchronizedMessages();
    const int count = messages.count(FIni);
    // A count at the top of the integers (a hand edit) has no number after it.
    if (count == std::numeric_limits<int>::max())
        return;
    {
        TIniFile::Batch batch(FIni);
        Settings::write(FIni, Keys::Timers::nTS, count + 1);
        Settings::write(FIni, Keys::Timers::STimer(count + 1), text);
        batch.commit();
    }
    // As the file keeps it (blanks around it trimmed), so the next opening shows the same.
    lstSincTimers->addItem(Settings::read(FIni, Keys::Timers::STimer(count + 1)));
    txtSincTimer->clear();
}

// A row past the stored count (the file changed behind the dialog's back) is no stored message:
// the file is left alone and only the row goes.
void OptionsTimersTab::btnDelSincTimerClick()
{
    const int row = lstSincTimers->selectedRow();
    if (row < 0)
        return;
    NumberedList::synchronizedMessages().remove(FIni, row + 1);
    lstSincTimers->removeRow(row);
    txtSincTimer->clear();
}

bool OptionsTimersTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grpTimerSinc) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::FontChange:
        case QEvent::StyleChange:
            placeSwitch();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// chkTimers lies on the group's frame, in the blanks in front of the caption.
void OptionsTimersTab::placeSwitch()
{
    QStyleOptionGroupBox option;
    option.initFrom(grpTimerSinc);
    option.text = grpTimerSinc->title();
    option.textAlignment = grpTimerSinc->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.lineWidth = 1;
    const QRect caption = grpTimerSinc->style()->subControlRect(
        QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, grpTimerSinc);
    const QSize size = chkTimers->sizeHint();
    chkTimers->setGeometry(QRect(
        QPoint(caption.left(), caption.top() + (caption.height() - size.height()) / 2), size));
    chkTimers->raise();
}

// The dialog is not the main window: its handlers show their errors themselves.
std::function<void()> OptionsTimersTab::guard(std::function<void()> handler)
{
    return [this, handler = std::move(handler)] {
        try {
            handler();
        } catch (const std::exception& e) {
            m_prompts->errorBox(this, QString::fromUtf8(e.what()));
        }
    };
}
