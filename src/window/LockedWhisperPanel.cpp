#include "window/LockedWhisperPanel.h"

#include <algorithm>
#include <limits>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "window/SingleLineValidator.h"
#include "window/WidgetKit.h"

using namespace WidgetKit;

LockedWhisperPanel::LockedWhisperPanel(int number, QWidget* parent)
    : QWidget(parent), m_number(number)
{
    const QString suffix = QString::number(number);
    setObjectName(QStringLiteral("pnlWhispLock") + suffix);
    setFixedHeight(30);
    const QFont tahoma = pixelFont(QStringLiteral("Tahoma"), 11);
    const QColor face = palette().color(QPalette::Window);

    lblTo = named(new QLabel(QStringLiteral("TO:"), this), QStringLiteral("lblTo") + suffix);
    lblTo->setFont(tahoma);
    // Wide enough for its caption where the stand-in font runs wider than the original.
    lblTo->setGeometry(9, 8, std::max(18, lblTo->fontMetrics().horizontalAdvance(lblTo->text())),
                       13);
    setColors(lblTo, face, Qt::black);

    lblAccWhisp = named(new QLabel(this), QStringLiteral("lblAccWhisp") + suffix);
    lblAccWhisp->setGeometry(31, 8, 78, 13);
    lblAccWhisp->setFont(tahoma);
    lblAccWhisp->setCursor(Qt::PointingHandCursor);
    setColors(lblAccWhisp, face, QColor(0x00, 0x80, 0x00));

    txtWhisp = named(new QLineEdit(this), QStringLiteral("txtWhisp") + suffix);
    txtWhisp->setGeometry(112, 5, 457, 22);
    txtWhisp->setFont(pixelFont(QStringLiteral("Tahoma"), 12));
    txtWhisp->setMaxLength(std::numeric_limits<int>::max());
    txtWhisp->setValidator(new SingleLineValidator(txtWhisp));
    txtWhisp->setAccessibleName(QStringLiteral("Whisp travado ") + suffix);
    setColors(txtWhisp, Qt::black, Qt::white);

    btnWhispar = named(new QPushButton(QStringLiteral("Whispar"), this),
                       QStringLiteral("btnWhispar") + suffix);
    btnWhispar->setGeometry(576, 3, 81, 25);
    btnWhispar->setAutoDefault(false);

    btnFecharWhispLock = named(new QPushButton(QStringLiteral("X"), this),
                               QStringLiteral("btnFecharWhispLock") + suffix);
    btnFecharWhispLock->setGeometry(664, 3, 25, 25);
    btnFecharWhispLock->setAutoDefault(false);

    setProperty("Tag", number);
    for (QWidget* child : findChildren<QWidget*>())
        child->setProperty("Tag", number);
    hide();
}

void LockedWhisperPanel::followWidth(int outerWidth)
{
    txtWhisp->resize(outerWidth - btnWhispar->width() - btnFecharWhispLock->width() -
                         txtWhisp->x() - 25,
                     txtWhisp->height());
    const int right = txtWhisp->x() + txtWhisp->width();
    btnWhispar->move(right + 5, btnWhispar->y());
    btnFecharWhispLock->move(right + btnWhispar->width() + 10, btnFecharWhispLock->y());
}

void LockedWhisperPanel::showKeyboard(bool has)
{
    QFont font = lblAccWhisp->font();
    font.setBold(has);
    lblAccWhisp->setFont(font);
}
