#include "window/BottomStrip.h"

#include <limits>

#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "window/LockedWhisperPanel.h"
#include "window/SingleLineValidator.h"
#include "window/WidgetKit.h"

using namespace WidgetKit;

const char* const BottomStrip::KeyboardProperty = "hasKeyboard";

namespace {

// With locked whisper lines open, Enter sends from whichever edit has the keyboard; a bright
// border tells it at a glance on the black fields.
const QString EditStyle = QStringLiteral(
    "QLineEdit { background-color: black; color: white; border: 1px solid #808080; padding: 1px; }"
    "QLineEdit[hasKeyboard=\"true\"] { border: 2px solid #ffb000; padding: 0px; }");

void showKeyboard(QLineEdit* edit, bool has)
{
    if (edit->property(BottomStrip::KeyboardProperty).toBool() == has)
        return;
    edit->setProperty(BottomStrip::KeyboardProperty, has);
    // A style sheet reads dynamic properties only when the widget is polished again.
    edit->style()->unpolish(edit);
    edit->style()->polish(edit);
    edit->update();
}

} // namespace

BottomStrip::BottomStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlRodape"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = columnLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    // Panel 1 sits right above the input line, the later ones above it.
    for (int number = LockPanelCount; number >= 1; --number) {
        auto* lock = new LockedWhisperPanel(number, this);
        m_lockPanels.prepend(lock);
        layout->addWidget(lock);
    }

    pnlMsg = panel(QStringLiteral("pnlMsg"), this);
    pnlMsg->setFixedHeight(30);
    txtMsg = named(new QLineEdit(pnlMsg), QStringLiteral("txtMsg"));
    txtMsg->setGeometry(8, 1, 505, 26);
    txtMsg->setFont(pixelFont(QStringLiteral("Trebuchet MS"), 13));
    // The input line has no length limit; a pasted line is sent whole, its line breaks as blanks.
    txtMsg->setMaxLength(std::numeric_limits<int>::max());
    txtMsg->setValidator(new SingleLineValidator(txtMsg));
    txtMsg->setAccessibleName(QStringLiteral("Mensagem"));
    setColors(txtMsg, Qt::black, Qt::white);
    btnEnviar =
        named(new QPushButton(QStringLiteral("Enviar"), pnlMsg), QStringLiteral("btnEnviar"));
    btnEnviar->setGeometry(526, 2, 83, 25);
    btnEnviar->setAutoDefault(false);
    btnEnviar->setDefault(true);
    btnEmote = named(new QPushButton(QStringLiteral("E&mote"), pnlMsg), QStringLiteral("btnEmote"));
    btnEmote->setGeometry(614, 2, 75, 25);
    btnEmote->setAutoDefault(false);
    layout->addWidget(pnlMsg);
    setTabOrder(txtMsg, btnEnviar);

    for (QLineEdit* edit :
         {txtMsg, m_lockPanels[0]->txtWhisp, m_lockPanels[1]->txtWhisp, m_lockPanels[2]->txtWhisp,
          m_lockPanels[3]->txtWhisp, m_lockPanels[4]->txtWhisp}) {
        edit->setProperty(KeyboardProperty, false);
        edit->setStyleSheet(EditStyle);
        edit->installEventFilter(this);
    }
}

bool BottomStrip::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::FocusIn || type == QEvent::FocusOut) && isInputLine(watched)) {
        // A popup menu over the edit leaves the keyboard where it is.
        const bool popup = type == QEvent::FocusOut &&
                           static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason;
        if (!popup) {
            const bool has = type == QEvent::FocusIn;
            auto* edit = static_cast<QLineEdit*>(watched);
            showKeyboard(edit, has);
            for (LockedWhisperPanel* lock : m_lockPanels) {
                if (lock->txtWhisp == edit)
                    lock->showKeyboard(has);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool BottomStrip::isInputLine(const QObject* object) const
{
    if (object == txtMsg)
        return true;
    for (const LockedWhisperPanel* lock : m_lockPanels) {
        if (object == lock->txtWhisp)
            return true;
    }
    return false;
}

void BottomStrip::followWidth(int outerWidth)
{
    txtMsg->resize(outerWidth - btnEnviar->width() - btnEmote->width() - 30, txtMsg->height());
    btnEnviar->move(txtMsg->x() + txtMsg->width() + 5, btnEnviar->y());
    btnEmote->move(txtMsg->x() + txtMsg->width() + btnEnviar->width() + 10, btnEmote->y());
    for (LockedWhisperPanel* lock : m_lockPanels)
        lock->followWidth(outerWidth);
}
