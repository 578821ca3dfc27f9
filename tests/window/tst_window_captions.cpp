#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <vector>

#include "WindowHarness.h"
#include "WindowWalk.h"
#include "window/TfrmMain.h"
#include "window/TulmoApplication.h"

// Every caption of the main window and its dialogs shows whole, whatever the font and the scale
// factor: a label, check box, radio button or button whose text does not fit, or a control that
// runs into another or out of its parent, is a fault. CTest runs this program once per scale
// factor (Qt reads QT_SCALE_FACTOR at start) with the fonts the program loads, and once per
// factor with the stand-in fonts of a desktop without Tahoma (argument "stand-in").

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante")};

bool useStandInFonts = false;

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// The room a push button's text has, and the room the text takes.
bool pushButtonTextFits(const QPushButton* button, QSize& needs, QSize& has)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    QString text = button->text();
    text.remove(QLatin1Char('&'));
    int width = button->fontMetrics().horizontalAdvance(text);
    if (!button->icon().isNull())
        width += button->iconSize().width() + 4;
    needs = QSize(width, button->fontMetrics().height());
    has = contents.size();
    return needs.width() <= has.width() && needs.height() <= has.height();
}

// A text of w that does not fit in it, as "name: text (needs WxH, has wxh)"; empty when it fits
// or w shows no text.
QString clippedCaption(const QWidget* w)
{
    QString text;
    QSize needs;
    QSize has = w->size();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty())
            return {};
        text = label->text();
        needs = label->wordWrap() ? QSize(w->width(), label->heightForWidth(w->width()))
                                  : label->sizeHint();
    } else if (const auto* push = qobject_cast<const QPushButton*>(w)) {
        if (push->text().isEmpty() || pushButtonTextFits(push, needs, has))
            return {};
        text = push->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        if (button->text().isEmpty())
            return {};
        const auto* tool = qobject_cast<const QToolButton*>(w);
        if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return {};
        text = button->text();
        // A caption on one line is measured by its width: the style's few pixels of height
        // around it are not text.
        needs = w->hasHeightForWidth() ? QSize(w->width(), w->heightForWidth(w->width()))
                                       : QSize(w->sizeHint().width(), w->height());
    } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        text = group->title();
        needs = QSize(w->minimumSizeHint().width(), 0);
    } else {
        return {};
    }
    if (needs.width() <= has.width() && needs.height() <= has.height())
        return {};
    return QStringLiteral("%1: \"%2\" needs %3, has %4")
        .arg(nameOf(w), text, sizeText(needs), sizeText(has));
}

// A control a caption may run into. A label without text is a picture or a background that
// controls are laid over.
bool isControl(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return !label->text().isEmpty();
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QGroupBox*>(w) ||
           qobject_cast<const QTabWidget*>(w) || qobject_cast<const QAbstractScrollArea*>(w);
}

// The connect-wait dialog's countdown stands in the gap its caption leaves for it.
bool laidOver(const QWidget* w, const QWidget* other)
{
    const QStringList pair = {w->objectName(), other->objectName()};
    return pair.contains(QStringLiteral("lblTempo")) && pair.contains(QStringLiteral("lblEspera"));
}

// The parts of a scroll area or a tab control lie over each other by design.
bool ownsItsChildren(const QWidget* w)
{
    return qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QTabWidget*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QLineEdit*>(w);
}

// The faults of the shown controls under parent, and its children's, depth first.
void collectFaults(const QWidget* parent, QStringList& faults)
{
    QList<const QWidget*> controls;
    for (const QObject* object : parent->children()) {
        const auto* w = qobject_cast<const QWidget*>(object);
        if (!w || w->isWindow() || !w->isVisible())
            continue;
        const QString clipped = clippedCaption(w);
        if (!clipped.isEmpty())
            faults << clipped;
        // A control wholly out of its parent's area is out of view by design (the search
        // window's key-only "Fechar"); one partly out is cut.
        if (isControl(w)) {
            if (parent->rect().intersects(w->geometry()) && !parent->rect().contains(w->geometry()))
                faults << QStringLiteral("%1 runs out of %2 (%3 in %4)")
                              .arg(nameOf(w), nameOf(parent),
                                   QStringLiteral("%1,%2 %3")
                                       .arg(w->x())
                                       .arg(w->y())
                                       .arg(sizeText(w->size())),
                                   sizeText(parent->size()));
            for (const QWidget* other : controls) {
                if (other->geometry().intersects(w->geometry()) && !laidOver(w, other))
                    faults << QStringLiteral("%1 overlaps %2").arg(nameOf(w), nameOf(other));
            }
            controls << w;
        }
        if (!ownsItsChildren(w))
            collectFaults(w, faults);
    }
}

// The faults under a shown widget, one a line.
QString captionFaults(QWidget* shown)
{
    QStringList faults;
    collectFaults(shown, faults);
    return faults.join(QLatin1Char('\n'));
}
} // namespace

class TestWindowCaptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void mainWindowShowsEveryCaption();
    void dialogShowsEveryCaption_data();
    void dialogShowsEveryCaption();
    void searchAndConnectWindowsShowEveryCaption();
};

void TestWindowCaptions::initTestCase()
{
    if (useStandInFonts)
        TulmoApplication::registerFonts(QStringLiteral("/nonexistent"));
    TulmoApplication::registerFonts();
    qInfo("scale factor %s, %s fonts", qgetenv("QT_SCALE_FACTOR").constData(),
          useStandInFonts ? "stand-in" : "the program's");
}

// At its smallest, in operator mode, with a locked whisper line open: every control the window
// has is shown.
void TestWindowCaptions::mainWindowShowsEveryCaption()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    WindowWalk::showEveryControl(w);
    w->resize(w->minimumSize());
    QTRY_COMPARE(w->size(), w->minimumSize());
    const QString faults = WindowWalk::onEveryPage(w, captionFaults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults));
}

void TestWindowCaptions::dialogShowsEveryCaption_data()
{
    WindowWalk::addDialogRows();
}

void TestWindowCaptions::dialogShowsEveryCaption()
{
    QFETCH(QString, item);
    WindowHarness h(Plain);
    const QString faults = WindowWalk::inDialog(h, item, captionFaults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults));
}

void TestWindowCaptions::searchAndConnectWindowsShowEveryCaption()
{
    WindowHarness h(Plain);
    const QString faults = WindowWalk::inConnectAndSearchWindows(h, captionFaults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults));
}

int main(int argc, char** argv)
{
    // The font choice is this program's own argument; QTest gets the rest.
    std::vector<char*> testArguments;
    for (int i = 0; i < argc; ++i) {
        if (qstrcmp(argv[i], "stand-in") == 0)
            useStandInFonts = true;
        else
            testArguments.push_back(argv[i]);
    }
    int testArgc = int(testArguments.size());
    QApplication app(testArgc, testArguments.data());
    TestWindowCaptions test;
    return QTest::qExec(&test, testArgc, testArguments.data());
}

#include "tst_window_captions.moc"
