#include "window/BottomStrip.h"

#include <limits>

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "window/LockedWhisperPanel.h"
#include "window/SingleLineValidator.h"
#include "window/WidgetKit.h"

using namespace WidgetKit;

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
