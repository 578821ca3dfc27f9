#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QUrl>
#include <QtMath>

#include "view/ChatLayout.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"

Q_DECLARE_METATYPE(ChatView::BackgroundStyle)

namespace {

constexpr int Left = 2;
constexpr int Top = 2;

void addLines(ChatView& view, int from, int count)
{
    for (int i = from; i < from + count; ++i) {
        view.appendLine(QStringLiteral("linha %1 ").arg(i), StyleTable::Info);
        view.appendText(QStringLiteral("texto"), StyleTable::Usuario);
        view.reformat();
    }
}

// The x of the middle of character `index` of a one-style line.
int middleOf(const QFont& font, const QString& line, int index)
{
    const QFontMetrics metrics(font);
    return Left + metrics.horizontalAdvance(line.left(index)) +
           metrics.horizontalAdvance(line.at(index)) / 2;
}

int firstLineY(const QFont& font)
{
    return Top + QFontMetrics(font).height() / 2;
}

// The longest row of pixels of exactly one colour, as long as an underline and longer than any
// stroke of a letter.
int longestRowOf(const QImage& image, QRgb color)
{
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

// The rows of the picture drawn wholly in the colour across [left, right).
QList<int> rowsOf(const QImage& image, QRgb color, int left, int right)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        bool whole = true;
        for (int x = left; x < right && whole; ++x)
            whole = (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
        if (whole)
            rows.append(y);
    }
    return rows;
}

// How many bands of rows holding text (anything but the background and the colour) lie above
// row `end`: one per line of text.
int textBandsAbove(const QImage& image, int end, QRgb background, QRgb except)
{
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < end; ++y) {
        bool text = false;
        for (int x = 0; x < image.width() && !text; ++x) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            text = pixel != (background & 0xFFFFFF) && pixel != (except & 0xFFFFFF);
        }
        bands += text && !inBand;
        inBand = text;
    }
    return bands;
}

// The texts of the key presses a widget receives.
class KeyRecorder : public QObject
{
public:
    explicit KeyRecorder(QWidget* widget) { widget->installEventFilter(this); }

    QStringList texts;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            texts.append(static_cast<QKeyEvent*>(event)->text());
        return false;
    }
};

// Counts a widget's paint events. Every refresh of the view ends in one, so a test that waits for
// a repaint knows that appended lines, a resize or a style change have been taken in.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) : m_widget(widget)
    {
        widget->installEventFilter(this);
        reset();
    }

    // Paints what is pending now, so that the next paint counted comes from what follows.
    void reset()
    {
        m_widget->repaint();
        paints = 0;
    }

    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }

private:
    QWidget* m_widget;
};

} // namespace

class TestChatView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void tabStops_data();
    void tabStops();
    void linesWrapToTheWidth();
    void appendingKeepsTheScrollPosition();
    void changesKeepTheScrollPosition_data();
    void changesKeepTheScrollPosition();
    void scrollToBottomShowsTheEnd();
    void appendsRepaintOnce();
    void resizeKeepsTheLastLineAtTheBottom();
    void doubleClickSelectsTheWord_data();
    void doubleClickSelectsTheWord();
    void rightClickClearsTheSelectionAndOpensTheMenu();
    void mouseSelectionGoesToTheClipboard();
    void dragBeyondTheEdgeScrollsAndSelects();
    void findTextSelectsAndScrollsTheHitIntoView();
    void styleChangeShowsWithoutRewriting();
    void savedRange_data();
    void savedRange();
    void backgroundPlacement_data();
    void backgroundPlacement();
    void keys();
    void troughClickTurnsOnePage_data();
    void troughClickTurnsOnePage();
    void clearView();
    void ceilingKeepsTheViewOnItsText();
    void ceilingClipsTheSelection();
    void findContinuesAcrossADrop();
    void addressesAreUnderlinedInTheirColours();
    void clicksOnAnAddress_data();
    void clicksOnAnAddress();
    void contextMenuKnowsTheAddress();
    void pointerShowsAnAddress();
    void readMarker_data();
    void readMarker();
    void readMarkerIsOnlyDrawn();
    void composedTextArrivesAsATypedKey();
    void historyIsLeftOutOfTheSavedLogs_data();
    void historyIsLeftOutOfTheSavedLogs();
    void historyIsDrawnDimmed();
    void paragraphsComingAndGoingAreTold();

private:
    StyleTable* m_styles = nullptr;
    ChatView* m_view = nullptr;
};

void TestChatView::init()
{
    m_styles = new StyleTable;
    m_view = new ChatView(m_styles);
    m_view->setTextMargins(Left, Top, 2, 10);
    m_view->resize(320, 200);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestChatView::cleanup()
{
    delete m_view;
    delete m_styles;
}

void TestChatView::tabStops_data()
{
    QTest::addColumn<int>("widthBefore"); // at least this many pixels of text before the tabs
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("x");
    // clang-format off
    QTest::newRow("at the line start")              << 0 << 1 << 48;
    QTest::newRow("after short text")               << 10 << 1 << 48;
    QTest::newRow("after text past the first stop") << 49 << 1 << 96;
    QTest::newRow("two tabs")                       << 10 << 2 << 96;
    QTest::newRow("far along")                      << 150 << 1 << 192;
    // clang-format on
}

void TestChatView::tabStops()
{
    QFETCH(int, widthBefore);
    QFETCH(int, tabs);
    QFETCH(int, x);
    ChatDocument doc;
    StyleTable styles;
    ChatLayout layout(doc, styles);
    layout.setWidth(600);
    const QFontMetrics metrics(styles.font(StyleTable::Info));
    QString before;
    while (metrics.horizontalAdvance(before) < widthBefore)
        before += u'i';
    doc.appendLine(before, StyleTable::Info);
    for (int i = 0; i < tabs; ++i)
        doc.appendTab(StyleTable::Info);
    doc.appendText(QStringLiteral("depois"), StyleTable::Usuario);
    const auto laidOut = layout.layout(0);
    QCOMPARE(laidOut->lineCount(), 1);
    QCOMPARE(qRound(laidOut->lineAt(0).cursorToX(int(before.size()) + tabs)), x);
}

void TestChatView::linesWrapToTheWidth()
{
    ChatDocument doc;
    StyleTable styles;
    ChatLayout layout(doc, styles);
    doc.appendLine(QStringLiteral("palavra ").repeated(40), StyleTable::Usuario);
    doc.appendLine(QStringLiteral("x").repeated(300), StyleTable::Usuario);
    int previousLines[2] = {1000, 1000};
    for (const int width : {200, 400}) {
        layout.setWidth(width);
        for (int p = 0; p < 2; ++p) {
            const auto laidOut = layout.layout(p);
            QVERIFY(laidOut->lineCount() > 1);
            // Wider lines: the paragraph is laid out again in fewer of them.
            QVERIFY(laidOut->lineCount() < previousLines[p]);
            previousLines[p] = laidOut->lineCount();
            qreal bottom = 0;
            for (int i = 0; i < laidOut->lineCount(); ++i) {
                const QTextLine line = laidOut->lineAt(i);
                QVERIFY(line.naturalTextWidth() <= width);
                // Words are kept whole; a word longer than the line is cut anywhere.
                if (p == 0 && i + 1 < laidOut->lineCount())
                    QCOMPARE(doc.paragraphText(p).at(line.textStart() + line.textLength() - 1),
                             u' ');
                bottom = line.y() + line.height();
            }
            QCOMPARE(layout.height(p), qCeil(bottom));
        }
    }
}

void TestChatView::appendingKeepsTheScrollPosition()
{
    addLines(*m_view, 0, 200);
    m_view->scrollToBottom();
    QVERIFY(m_view->isAtBottom());
    // A user reading older lines drags the bar once it counts every line.
    QTRY_VERIFY(m_view->verticalScrollBar()->maximum() > 150);
    m_view->verticalScrollBar()->setValue(120);
    QCOMPARE(m_view->topParagraph(), 120);
    QTest::keyClick(m_view, Qt::Key_Down);
    const int top = m_view->topParagraph();
    const int offset = m_view->topOffset();
    QVERIFY(top != 120 || offset != 0);

    PaintCounter counter(m_view->viewport());
    addLines(*m_view, 200, 500);
    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(m_view->topParagraph(), top);
    QCOMPARE(m_view->topOffset(), offset);
    QVERIFY(!m_view->isAtBottom());

    // At the bottom, appended lines stay below until the writer scrolls.
    m_view->scrollToBottom();
    const int bottomTop = m_view->topParagraph();
    counter.reset();
    addLines(*m_view, 700, 5);
    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(m_view->topParagraph(), bottomTop);
    QVERIFY(!m_view->isAtBottom());
}

void TestChatView::changesKeepTheScrollPosition_data()
{
    QTest::addColumn<int>("change");
    // clang-format off
    QTest::newRow("reformat")          << 0;
    QTest::newRow("narrower")          << 1;
    QTest::newRow("wider and shorter") << 2;
    QTest::newRow("larger font")       << 3;
    QTest::newRow("colour")            << 4;
    QTest::newRow("margins")           << 5;
    // clang-format on
}

void TestChatView::changesKeepTheScrollPosition()
{
    QFETCH(int, change);
    const auto apply = [this, change] {
        switch (change) {
        case 0:
            m_view->reformat();
            break;
        case 1:
            m_view->resize(140, 200);
            break;
        case 2:
            m_view->resize(600, 120);
            break;
        case 3:
            m_styles->setFont(StyleTable::Usuario, QStringLiteral("Verdana"), 18);
            break;
        case 4:
            m_styles->setColor(StyleTable::Info, Qt::cyan);
            break;
        case 5:
            m_view->setTextMargins(30, 20, 30, 20);
            break;
        }
        // The second time a change may be none (the same size again): a reformat makes sure a
        // refresh follows, and its repaint tells the test that the change was taken in.
        m_view->reformat();
    };
    PaintCounter counter(m_view->viewport());
    addLines(*m_view, 0, 300);
    m_view->scrollToBottom();
    QTRY_VERIFY(m_view->verticalScrollBar()->maximum() > 200);

    // A user reading older lines keeps the same line at the top.
    m_view->verticalScrollBar()->setValue(120);
    counter.reset();
    apply();
    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(m_view->topParagraph(), 120);
    QCOMPARE(m_view->topOffset(), 0);
    QVERIFY(!m_view->isAtBottom());

    // A user at the end stays there.
    m_view->scrollToBottom();
    QVERIFY(m_view->isAtBottom());
    counter.reset();
    apply();
    QTRY_VERIFY(counter.paints > 0);
    QVERIFY(m_view->isAtBottom());
}

void TestChatView::scrollToBottomShowsTheEnd()
{
    addLines(*m_view, 0, 3);
    m_view->scrollToBottom();
    // Short content is not scrolled at all.
    QCOMPARE(m_view->topParagraph(), 0);
    QCOMPARE(m_view->topOffset(), 0);
    QVERIFY(m_view->isAtBottom());

    addLines(*m_view, 3, 1000);
    m_view->scrollToBottom();
    QVERIFY(m_view->isAtBottom());
    const int lineHeight = QFontMetrics(m_styles->font(StyleTable::Info)).height();
    const int visible = (m_view->viewport()->height() - Top - 10) / lineHeight;
    QVERIFY2(qAbs(m_view->topParagraph() - (1003 - visible)) <= 1,
             qPrintable(QString::number(m_view->topParagraph())));
    QTRY_COMPARE(m_view->verticalScrollBar()->value(), m_view->verticalScrollBar()->maximum());
}

void TestChatView::appendsRepaintOnce()
{
    // The refresh pending since the set-up comes first.
    PaintCounter counter(m_view->viewport());
    m_view->reformat();
    QTRY_VERIFY(counter.paints > 0);
    counter.reset();
    // A burst of lines, each laid out and scrolled to as the writers do, costs one repaint.
    for (int i = 0; i < 500; ++i) {
        m_view->appendLine(QStringLiteral("linha %1").arg(i), StyleTable::Info);
        m_view->reformat();
        m_view->scrollToBottom();
    }
    QCOMPARE(counter.paints, 0);
    QTRY_COMPARE(counter.paints, 1);
    // A short settle: nothing else is to come.
    QTest::qWait(50);
    QCOMPARE(counter.paints, 1);
    QVERIFY(m_view->isAtBottom());
}

void TestChatView::resizeKeepsTheLastLineAtTheBottom()
{
    addLines(*m_view, 0, 300);
    m_view->scrollToBottom();
    QVERIFY(m_view->isAtBottom());
    m_view->resize(200, 300);
    QVERIFY(m_view->isAtBottom());
    m_view->resize(600, 120);
    QVERIFY(m_view->isAtBottom());
}

void TestChatView::doubleClickSelectsTheWord_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("word");
    // "<ana> olá, mundo!"
    // clang-format off
    QTest::newRow("name inside brackets")            << 2 << QStringLiteral("ana");
    QTest::newRow("word before a comma")             << 7 << QStringLiteral("olá");
    QTest::newRow("word before an exclamation mark") << 13 << QStringLiteral("mundo");
    QTest::newRow("a delimiter alone")               << 9 << QStringLiteral(",");
    // clang-format on
}

void TestChatView::doubleClickSelectsTheWord()
{
    QFETCH(int, index);
    QFETCH(QString, word);
    const QString line = QStringLiteral("<ana> olá, mundo!");
    m_view->appendLine(line, StyleTable::Usuario);
    m_view->reformat();
    const QFont font = m_styles->font(StyleTable::Usuario);
    QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, {},
                       QPoint(middleOf(font, line, index), firstLineY(font)));
    QCOMPARE(m_view->selectedText(), word);
    QCOMPARE(QGuiApplication::clipboard()->text(), word);
}

void TestChatView::rightClickClearsTheSelectionAndOpensTheMenu()
{
    addLines(*m_view, 0, 5);
    QMenu menu;
    menu.addAction(QStringLiteral("Limpar tela"));
    m_view->setPopupMenu(&menu);
    m_view->selectAll();
    QVERIFY(m_view->hasSelection());
    const QPoint at(40, 20);
    // Through the window, as the platform delivers it, so the context menu event follows.
    QTest::mouseClick(m_view->windowHandle(), Qt::RightButton, {},
                      m_view->viewport()->mapTo(m_view, at));
    QVERIFY(!m_view->hasSelection());
    QTRY_VERIFY(menu.isVisible());
    menu.hide();
}

void TestChatView::mouseSelectionGoesToTheClipboard()
{
    const QString line = QStringLiteral("<ana> olá");
    m_view->appendLine(QStringLiteral("<ana> "), StyleTable::Acc);
    m_view->appendText(QStringLiteral("olá"), StyleTable::Usuario);
    m_view->appendLine(QStringLiteral("segunda"), StyleTable::Info);
    m_view->reformat();
    QGuiApplication::clipboard()->clear();
    const QFont font = m_styles->font(StyleTable::Acc);
    const int y = firstLineY(font);
    // From the left edge of "ana" to just past the line's end, on the first line.
    const QPoint from(Left + QFontMetrics(font).horizontalAdvance(u'<') + 1, y);
    const QPoint to(m_view->viewport()->width() - 5, y);
    QTest::mousePress(m_view->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(m_view->viewport(), to);
    QTest::mouseRelease(m_view->viewport(), Qt::LeftButton, {}, to);
    QCOMPARE(m_view->selectedText(), QStringLiteral("ana> olá"));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime);
    QCOMPARE(mime->text(), QStringLiteral("ana> olá"));
    QVERIFY(mime->hasHtml());
    QVERIFY(mime->html().contains(QStringLiteral("ana&gt; </span><span class=\"s5\">olá")));
    QVERIFY(mime->data(QStringLiteral("text/rtf")).contains("ana> }{"));
    QVERIFY(mime->hasFormat(QStringLiteral("application/rtf")));
    QVERIFY(mime->hasFormat(
        QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\"")));
}

void TestChatView::dragBeyondTheEdgeScrollsAndSelects()
{
    PaintCounter counter(m_view->viewport());
    addLines(*m_view, 0, 300);
    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(m_view->topParagraph(), 0);
    QGuiApplication::clipboard()->clear();
    const QPoint from(Left, Top + 1);
    const QPoint below(40, m_view->viewport()->height() + 30);
    QTest::mousePress(m_view->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(m_view->viewport(), below);
    // Held below the bottom edge, the view keeps scrolling down and the selection follows.
    QTRY_VERIFY(m_view->topParagraph() > 40);
    QTest::mouseRelease(m_view->viewport(), Qt::LeftButton, {}, below);
    const int top = m_view->topParagraph();
    // A short settle: once the button is up the view stops scrolling.
    QTest::qWait(120);
    QCOMPARE(m_view->topParagraph(), top);
    const QString selected = m_view->selectedText();
    QVERIFY(selected.startsWith(QStringLiteral("linha 0 texto\nlinha 1 texto\n")));
    QVERIFY(selected.count(u'\n') > 40);
    QCOMPARE(QGuiApplication::clipboard()->text(), selected);
}

void TestChatView::findTextSelectsAndScrollsTheHitIntoView()
{
    addLines(*m_view, 0, 40);
    m_view->appendLine(QStringLiteral("procure AÇÃO aqui"), StyleTable::Info);
    addLines(*m_view, 41, 500);
    m_view->appendLine(QStringLiteral("outra ação"), StyleTable::Info);
    addLines(*m_view, 542, 40);
    m_view->scrollToBottom();

    ChatView::FindOptions up;
    up.down = false;
    QVERIFY(m_view->findText(QStringLiteral("ação"), up));
    QCOMPARE(m_view->selectedText(), QStringLiteral("ação"));
    QVERIFY(m_view->topParagraph() <= 541);
    QVERIFY(m_view->topParagraph() > 541 - 20);

    QVERIFY(m_view->findText(QStringLiteral("ação"), up));
    QCOMPARE(m_view->selectedText(), QStringLiteral("AÇÃO"));
    QCOMPARE(m_view->topParagraph(), 40);
    QVERIFY(!m_view->findText(QStringLiteral("ação"), up));
    // A failed search leaves the last hit selected.
    QCOMPARE(m_view->selectedText(), QStringLiteral("AÇÃO"));

    ChatView::FindOptions down;
    down.matchCase = true;
    QVERIFY(m_view->findText(QStringLiteral("ação"), down));
    QVERIFY(m_view->topParagraph() > 40);
    QVERIFY(m_view->topParagraph() <= 541);
}

void TestChatView::styleChangeShowsWithoutRewriting()
{
    m_view->setBackgroundColor(Qt::black);
    m_view->appendLine(QStringLiteral("MMMM"), StyleTable::Info);
    m_styles->setFont(StyleTable::Info, QStringLiteral("Verdana"), 30);
    m_view->reformat();
    const auto count = [this](QRgb color) {
        const QImage image = m_view->viewport()->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
        }
        return n;
    };
    QVERIFY(count(qRgb(0, 255, 0)) > 0);
    m_styles->setColor(StyleTable::Info, QColor(255, 0, 255));
    QCOMPARE(count(qRgb(0, 255, 0)), 0);
    QVERIFY(count(qRgb(255, 0, 255)) > 0);
    QCOMPARE(m_view->document().paragraphText(0), QStringLiteral("MMMM"));
}

void TestChatView::savedRange_data()
{
    QTest::addColumn<int>("format"); // 0 text, 1 HTML, 2 RTF, 3 RTF of the selection only
    QTest::addColumn<bool>("select");
    QTest::addColumn<bool>("hasFirst");
    QTest::addColumn<bool>("hasHit");
    // clang-format off
    QTest::newRow("text ignores the selection")           << 0 << true << true << true;
    QTest::newRow("html ignores the selection")           << 1 << true << true << true;
    QTest::newRow("rtf whole content")                    << 2 << true << true << true;
    QTest::newRow("rtf selection only")                   << 3 << true << false << true;
    QTest::newRow("rtf selection only, nothing selected") << 3 << false << false << false;
    // clang-format on
}

void TestChatView::savedRange()
{
    QFETCH(int, format);
    QFETCH(bool, select);
    QFETCH(bool, hasFirst);
    QFETCH(bool, hasHit);
    m_view->appendLine(QStringLiteral("primeira"), StyleTable::Info);
    m_view->appendLine(QStringLiteral("<ana> "), StyleTable::Acc);
    m_view->appendText(QStringLiteral("achado aqui"), StyleTable::Usuario);
    m_view->reformat();
    if (select)
        QVERIFY(m_view->findText(QStringLiteral("achado"), {}));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log"));
    switch (format) {
    case 0:
        QVERIFY(m_view->saveAsText(path, 100));
        break;
    case 1:
        QVERIFY(m_view->saveAsHtml(path, QStringLiteral("LOG"), QString(), true));
        break;
    default:
        QVERIFY(m_view->saveAsRtf(path, format == 3));
        break;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written.contains("primeira"), hasFirst);
    QCOMPARE(written.contains("achado"), hasHit);
    QCOMPARE(written.contains("aqui"), hasFirst);
    // Saving never changes what is selected.
    QCOMPARE(m_view->selectedText(), select ? QStringLiteral("achado") : QString());
    QVERIFY(!m_view->saveAsRtf(dir.filePath(QStringLiteral("missing/log.rtf")), format == 3));
}

void TestChatView::backgroundPlacement_data()
{
    QTest::addColumn<ChatView::BackgroundStyle>("style");
    QTest::addColumn<bool>("corner");
    QTest::addColumn<bool>("centre");
    QTest::addColumn<bool>("besideCentre");
    // clang-format off
    QTest::newRow("none")      << ChatView::BackgroundStyle::None << false << false << false;
    QTest::newRow("stretched") << ChatView::BackgroundStyle::Stretched << true << true << true;
    QTest::newRow("tiled")     << ChatView::BackgroundStyle::Tiled << true << true << true;
    QTest::newRow("centred")   << ChatView::BackgroundStyle::Centered << false << true << false;
    // clang-format on
}

void TestChatView::backgroundPlacement()
{
    QFETCH(ChatView::BackgroundStyle, style);
    QFETCH(bool, corner);
    QFETCH(bool, centre);
    QFETCH(bool, besideCentre);
    QPixmap picture(20, 20);
    picture.fill(Qt::red);
    m_view->setBackgroundColor(Qt::blue);
    m_view->setBackgroundBitmap(picture);
    m_view->setBackgroundStyle(style);
    QCOMPARE(m_view->backgroundStyle(), style);
    const QImage image = m_view->viewport()->grab().toImage();
    const QPoint middle(image.width() / 2, image.height() / 2);
    const auto isPicture = [&image](QPoint at) {
        return QColor(image.pixel(at)) == QColor(Qt::red);
    };
    QCOMPARE(isPicture(QPoint(1, 1)), corner);
    QCOMPARE(isPicture(middle), centre);
    QCOMPARE(isPicture(middle + QPoint(16, 0)), besideCentre);
    QCOMPARE(QColor(image.pixel(1, 1)), corner ? QColor(Qt::red) : QColor(Qt::blue));
}

void TestChatView::keys()
{
    addLines(*m_view, 0, 300);
    m_view->scrollToBottom();
    const int bottom = m_view->topParagraph();
    m_view->setFocus();
    QTest::keyClick(m_view, Qt::Key_PageUp);
    QVERIFY(m_view->topParagraph() < bottom);
    QVERIFY(m_view->topParagraph() > bottom - 20);
    QTest::keyClick(m_view, Qt::Key_Home);
    QCOMPARE(m_view->topParagraph(), 0);
    QCOMPARE(m_view->topOffset(), 0);
    QTest::keyClick(m_view, Qt::Key_PageDown);
    QVERIFY(m_view->topParagraph() > 0);
    QTest::keyClick(m_view, Qt::Key_End);
    QVERIFY(m_view->isAtBottom());

    m_view->selectAll();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(
        QStringLiteral("linha 0 texto\nlinha 1 texto\n")));
}

void TestChatView::troughClickTurnsOnePage_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("key");
    // clang-format off
    QTest::newRow("down") << int(QAbstractSlider::SliderPageStepAdd) << int(Qt::Key_PageDown);
    QTest::newRow("up")   << int(QAbstractSlider::SliderPageStepSub) << int(Qt::Key_PageUp);
    // clang-format on
}

void TestChatView::troughClickTurnsOnePage()
{
    QFETCH(int, action);
    QFETCH(int, key);
    // Lines that wrap three or four times: a page holds only a few of them.
    for (int i = 0; i < 300; ++i)
        m_view->appendLine(QStringLiteral("%1 ").arg(i) + QStringLiteral("palavra ").repeated(20),
                           StyleTable::Usuario);
    m_view->reformat();
    QScrollBar* bar = m_view->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 200);
    bar->setValue(150);
    m_view->setFocus();
    QTest::keyClick(m_view, Qt::Key(key));
    const int top = m_view->topParagraph();
    const int offset = m_view->topOffset();
    QVERIFY(qAbs(top - 150) >= 1);
    QVERIFY(qAbs(top - 150) < 8);

    bar->setValue(150);
    bar->triggerAction(QAbstractSlider::SliderAction(action));
    QCOMPARE(m_view->topParagraph(), top);
    QCOMPARE(m_view->topOffset(), offset);
    QCOMPARE(bar->value(), top);
}

void TestChatView::clearView()
{
    addLines(*m_view, 0, 300);
    m_view->scrollToBottom();
    m_view->selectAll();
    m_view->clearView();
    m_view->reformat();
    QCOMPARE(m_view->document().paragraphCount(), 0);
    QVERIFY(!m_view->hasSelection());
    QCOMPARE(m_view->topParagraph(), 0);
    addLines(*m_view, 0, 2);
    QCOMPARE(m_view->document().paragraphText(1), QStringLiteral("linha 1 texto"));
    QCOMPARE(m_view->topParagraph(), 0);
}

void TestChatView::ceilingKeepsTheViewOnItsText()
{
    // 64 lines at most, the oldest 4 going at a time.
    m_view->setMaxParagraphs(64);
    const ChatDocument& doc = m_view->document();
    QScrollBar* bar = m_view->verticalScrollBar();
    addLines(*m_view, 0, 60);
    m_view->scrollToBottom();
    QTRY_VERIFY(bar->maximum() > 40);
    bar->setValue(30);
    QTest::keyClick(m_view, Qt::Key_Down);
    const QString shown = doc.paragraphText(m_view->topParagraph());
    const int offset = m_view->topOffset();

    // A user reading older lines keeps reading them while the oldest are dropped.
    addLines(*m_view, 60, 20);
    QCOMPARE(doc.paragraphCount(), 64);
    QCOMPARE(doc.paragraphText(0), QStringLiteral("linha 16 texto"));
    QCOMPARE(doc.paragraphText(m_view->topParagraph()), shown);
    QCOMPARE(m_view->topOffset(), offset);
    QVERIFY(!m_view->isAtBottom());
    QTRY_COMPARE(bar->value(), m_view->topParagraph());

    // Once those lines are gone too, the view shows the oldest that remain.
    addLines(*m_view, 80, 40);
    QCOMPARE(m_view->topParagraph(), 0);
    QCOMPARE(m_view->topOffset(), 0);
    QCOMPARE(doc.paragraphText(0), QStringLiteral("linha 56 texto"));

    // A view kept at the bottom by its writer stays there across drops.
    m_view->scrollToBottom();
    for (int i = 120; i < 200; ++i) {
        addLines(*m_view, i, 1);
        m_view->scrollToBottom();
        QVERIFY(m_view->isAtBottom());
    }
    QTRY_COMPARE(bar->value(), bar->maximum());
    QCOMPARE(doc.paragraphText(doc.paragraphCount() - 1), QStringLiteral("linha 199 texto"));
}

void TestChatView::ceilingClipsTheSelection()
{
    m_view->setMaxParagraphs(64);
    addLines(*m_view, 0, 64);
    m_view->selectAll();
    // Lines 0-7 go: the selection keeps what remains of it, and no more.
    addLines(*m_view, 64, 8);
    QStringList kept;
    for (int i = 8; i < 64; ++i)
        kept.append(QStringLiteral("linha %1 texto").arg(i));
    QCOMPARE(m_view->selectedText(), kept.join(u'\n'));
    m_view->copySelection();
    QCOMPARE(QGuiApplication::clipboard()->text(), kept.join(u'\n'));

    // A selection wholly in dropped text is gone.
    m_view->clearSelection();
    QVERIFY(m_view->findText(QStringLiteral("linha 9 "), {}));
    addLines(*m_view, 72, 4);
    QVERIFY(!m_view->hasSelection());
    QCOMPARE(m_view->selectedText(), QString());
}

void TestChatView::findContinuesAcrossADrop()
{
    m_view->setMaxParagraphs(64);
    // Every fourth line holds the word searched for.
    const auto add = [this](int from, int to) {
        for (int i = from; i < to; ++i) {
            const QString line = i % 4 ? QStringLiteral("linha %1") : QStringLiteral("alvo %1");
            m_view->appendLine(line.arg(i), StyleTable::Info);
            m_view->reformat();
        }
    };
    const auto hits = [this](bool down) {
        ChatView::FindOptions options;
        options.down = down;
        int n = 0;
        while (m_view->findText(QStringLiteral("alvo"), options))
            ++n;
        return n;
    };
    add(0, 60);
    for (int i = 0; i < 3; ++i)
        QVERIFY(m_view->findText(QStringLiteral("alvo"), {}));
    // The hit on line 8 becomes the first line: the search goes on from there, neither
    // repeating it nor skipping any.
    add(60, 72);
    QCOMPARE(m_view->document().paragraphText(0), QStringLiteral("alvo 8"));
    QCOMPARE(hits(true), 15);  // lines 12 to 68
    QCOMPARE(hits(false), 15); // lines 64 back to 8

    // The last hit (line 8) is dropped: nothing older remains, and a downward search starts at
    // the oldest line kept.
    add(72, 76);
    QCOMPARE(m_view->document().paragraphText(0), QStringLiteral("alvo 12"));
    QVERIFY(!m_view->hasSelection());
    QCOMPARE(hits(false), 0);
    QCOMPARE(hits(true), 16); // lines 12 to 72
}

void TestChatView::addressesAreUnderlinedInTheirColours()
{
    m_view->setBackgroundColor(Qt::black);
    m_styles->setColor(StyleTable::Acc, QColor(255, 0, 0));
    m_styles->setColor(StyleTable::Usuario, QColor(0, 255, 0));
    m_styles->setColor(StyleTable::Emote, QColor(255, 0, 255));
    // The address runs across two pieces of different colours.
    m_view->appendLine(QStringLiteral("<ana> "), StyleTable::Acc);
    m_view->appendText(QStringLiteral("veja www.exemplo"), StyleTable::Usuario);
    m_view->appendText(QStringLiteral(".com.br"), StyleTable::Emote);
    m_view->reformat();
    const QImage image = m_view->viewport()->grab().toImage();
    const auto width = [this](int style, const QString& text) {
        return QFontMetrics(m_styles->font(style)).horizontalAdvance(text);
    };
    const int green = longestRowOf(image, qRgb(0, 255, 0));
    const int linkInGreen = width(StyleTable::Usuario, QStringLiteral("www.exemplo"));
    QVERIFY2(green >= linkInGreen - 2, qPrintable(QString::number(green)));
    // "veja " is not underlined.
    QVERIFY2(green <= linkInGreen + 2, qPrintable(QString::number(green)));
    const int magenta = longestRowOf(image, qRgb(255, 0, 255));
    QVERIFY2(magenta >= width(StyleTable::Emote, QStringLiteral(".com.br")) - 2,
             qPrintable(QString::number(magenta)));
    QVERIFY(longestRowOf(image, qRgb(255, 0, 0)) < width(StyleTable::Acc, QStringLiteral("<ana>")));
}

void TestChatView::clicksOnAnAddress_data()
{
    QTest::addColumn<int>("press");   // a character of the line; -1: past its end
    QTest::addColumn<int>("release"); // the character the button goes up over
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("opened");
    // "veja www.exemplo.com/x, ou não": the address is characters 5 to 21.
    // clang-format off
    QTest::newRow("click on the address")      << 10 << 10 << false << QStringLiteral("http://www.exemplo.com/x");
    QTest::newRow("click on its first letter") << 5 << 5 << false << QStringLiteral("http://www.exemplo.com/x");
    QTest::newRow("click on its last letter")  << 21 << 21 << false << QStringLiteral("http://www.exemplo.com/x");
    QTest::newRow("click on the comma after")  << 22 << 22 << false << QString();
    QTest::newRow("click beside it")           << 2 << 2 << false << QString();
    QTest::newRow("click past the line's end") << -1 << -1 << false << QString();
    QTest::newRow("drag along it")             << 6 << 14 << false << QString();
    QTest::newRow("drag off it")               << 10 << 26 << false << QString();
    QTest::newRow("double click")              << 10 << 10 << true << QString();
    // clang-format on
}

void TestChatView::clicksOnAnAddress()
{
    QFETCH(int, press);
    QFETCH(int, release);
    QFETCH(bool, doubleClick);
    QFETCH(QString, opened);
    const QString line = QStringLiteral("veja www.exemplo.com/x, ou não");
    m_view->appendLine(line, StyleTable::Usuario);
    m_view->appendLine(QStringLiteral("segunda linha"), StyleTable::Info);
    m_view->reformat();
    const QFont font = m_styles->font(StyleTable::Usuario);
    const auto at = [&](int index) {
        return QPoint(index < 0 ? m_view->viewport()->width() - 5 : middleOf(font, line, index),
                      firstLineY(font));
    };
    QSignalSpy spy(m_view, &ChatView::linkActivated);
    QWidget* port = m_view->viewport();
    QGuiApplication::clipboard()->clear();
    QTest::mousePress(port, Qt::LeftButton, {}, at(press));
    if (release != press)
        QTest::mouseMove(port, at(release));
    QTest::mouseRelease(port, Qt::LeftButton, {}, at(release));
    if (doubleClick) {
        QTest::mouseDClick(port, Qt::LeftButton, {}, at(press));
        QTest::mouseRelease(port, Qt::LeftButton, {}, at(press));
        // The second click still selects the word.
        QCOMPARE(m_view->selectedText(), QStringLiteral("exemplo"));
    }
    // Nothing opens while a second click may still come.
    QVERIFY(spy.isEmpty());
    if (!opened.isEmpty()) {
        QVERIFY(spy.wait());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toUrl(), QUrl(opened));
        QVERIFY(!m_view->hasSelection());
        return;
    }
    // An address clicked in another pane opens one double-click interval after its click, by
    // which time anything this pane was to open would have been opened.
    ChatView other(m_styles);
    other.setTextMargins(Left, Top, 2, 10);
    other.resize(320, 200);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    const QString mark = QStringLiteral("www.marca.com");
    other.appendLine(mark, StyleTable::Usuario);
    QSignalSpy otherSpy(&other, &ChatView::linkActivated);
    QTest::mouseClick(other.viewport(), Qt::LeftButton, {},
                      QPoint(middleOf(font, mark, 3), firstLineY(font)));
    QVERIFY(otherSpy.wait());
    QVERIFY(spy.isEmpty());
    // A drag still selects and copies.
    if (release != press)
        QCOMPARE(QGuiApplication::clipboard()->text(), m_view->selectedText());
}

void TestChatView::contextMenuKnowsTheAddress()
{
    const QString line = QStringLiteral("veja https://exemplo.com/ação.");
    m_view->appendLine(line, StyleTable::Usuario);
    m_view->reformat();
    QMenu menu;
    menu.addAction(QStringLiteral("Limpar tela"));
    m_view->setPopupMenu(&menu);
    QSignalSpy spy(m_view, &ChatView::popupOpening);
    const QFont font = m_styles->font(StyleTable::Usuario);
    for (const int index : {10, 2}) {
        const QPoint at(middleOf(font, line, index), firstLineY(font));
        QTest::mouseClick(m_view->windowHandle(), Qt::RightButton, {},
                          m_view->viewport()->mapTo(m_view, at));
        QTRY_VERIFY(menu.isVisible());
        menu.hide();
    }
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("https://exemplo.com/ação"));
    QCOMPARE(spy.at(1).at(0).toString(), QString());
}

void TestChatView::pointerShowsAnAddress()
{
    const QString line = QStringLiteral("veja www.exemplo.com");
    m_view->appendLine(line, StyleTable::Usuario);
    m_view->reformat();
    const QFont font = m_styles->font(StyleTable::Usuario);
    QWidget* port = m_view->viewport();
    const auto hover = [port](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, port->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(port, &move);
        return port->cursor().shape();
    };
    QCOMPARE(hover(QPoint(middleOf(font, line, 10), firstLineY(font))), Qt::PointingHandCursor);
    QCOMPARE(hover(QPoint(middleOf(font, line, 2), firstLineY(font))), Qt::IBeamCursor);
    QCOMPARE(hover(QPoint(port->width() - 5, firstLineY(font))), Qt::IBeamCursor);
}

void TestChatView::readMarker_data()
{
    QTest::addColumn<int>("ceiling"); // 0: the pane's own
    QTest::addColumn<int>("before");  // lines when the place is remembered
    QTest::addColumn<int>("after");   // lines that arrive after it
    QTest::addColumn<bool>("clear");  // the pane is cleared, then two more lines arrive
    QTest::addColumn<QString>("marked");
    QTest::addColumn<bool>("shown");

    QTest::newRow("no lines after") << 0 << 3 << 0 << false << "linha 2 texto" << false;
    QTest::newRow("lines after") << 0 << 3 << 2 << false << "linha 2 texto" << true;
    QTest::newRow("empty pane") << 0 << 0 << 3 << false << QString() << false;
    QTest::newRow("oldest dropped") << 16 << 10 << 8 << false << "linha 9 texto" << true;
    QTest::newRow("marked dropped") << 16 << 3 << 16 << false << QString() << false;
    QTest::newRow("cleared") << 0 << 3 << 2 << true << QString() << false;
}

void TestChatView::readMarker()
{
    QFETCH(int, ceiling);
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(bool, clear);
    QFETCH(QString, marked);
    QFETCH(bool, shown);

    if (ceiling > 0)
        m_view->setMaxParagraphs(ceiling);
    addLines(*m_view, 0, before);
    m_view->setReadMarker();
    addLines(*m_view, before, after);
    if (clear) {
        m_view->clearView();
        addLines(*m_view, 0, 2);
    }
    const ChatDocument& doc = m_view->document();
    const int p = m_view->readMarker();
    QCOMPARE(p >= 0 ? doc.paragraphText(p) : QString(), marked);
    QCOMPARE(m_view->isReadMarkerShown(), shown);

    // The line lies under the marked paragraph: the lines of text above it are those up to it.
    QCOMPARE(m_view->topParagraph(), 0);
    const QImage image = m_view->viewport()->grab().toImage();
    const QList<int> rows = rowsOf(image, ChatView::ReadMarkerColor, Left, image.width() - 2);
    QCOMPARE(rows.size(), shown ? 1 : 0);
    if (shown) {
        QCOMPARE(textBandsAbove(image, rows.first(), qRgb(0, 0, 0), ChatView::ReadMarkerColor),
                 p + 1);
        QVERIFY(textBandsAbove(image, image.height(), qRgb(0, 0, 0), ChatView::ReadMarkerColor) >
                p + 1);
    }
}

// The line is no paragraph: saved logs are the same with and without it, and find goes from the
// marked paragraph straight to the next.
void TestChatView::readMarkerIsOnlyDrawn()
{
    QTemporaryDir dir;
    const auto saved = [this, &dir] {
        QStringList files;
        const QString text = dir.filePath(QStringLiteral("log.txt"));
        const QString html = dir.filePath(QStringLiteral("log.html"));
        const QString rtf = dir.filePath(QStringLiteral("log.rtf"));
        if (!m_view->saveAsText(text, 100) ||
            !m_view->saveAsHtml(html, QStringLiteral("LOG"), QString(), true) ||
            !m_view->saveAsRtf(rtf, false))
            return QList<QByteArray>();
        QList<QByteArray> contents;
        for (const QString& name : {text, html, rtf}) {
            QFile file(name);
            contents.append(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        return contents;
    };
    addLines(*m_view, 0, 3);
    m_view->setReadMarker();
    addLines(*m_view, 3, 2);
    QVERIFY(m_view->isReadMarkerShown());
    const QList<QByteArray> marked = saved();
    QCOMPARE(marked.size(), 3);
    m_view->clearReadMarker();
    QVERIFY(!m_view->isReadMarkerShown());
    QCOMPARE(saved(), marked);

    m_view->setReadMarker();
    addLines(*m_view, 5, 1);
    QCOMPARE(m_view->readMarker(), 4);
    QVERIFY(m_view->findText(QStringLiteral("linha 4"), {}));
    QVERIFY(m_view->findText(QStringLiteral("texto"), {}));
    QCOMPARE(m_view->selectedText(), QStringLiteral("texto"));
    QVERIFY(m_view->findText(QStringLiteral("linha"), {}));
    QCOMPARE(m_view->selectedText(), QStringLiteral("linha"));
}

// Dead keys compose through the input method: the pane takes one, and what it commits arrives as
// the key press that would have typed it, where the window takes typed text to the input line.
void TestChatView::composedTextArrivesAsATypedKey()
{
    addLines(*m_view, 0, 3);
    m_view->selectAll();
    const QString selected = m_view->selectedText();
    m_view->activateWindow();
    m_view->setFocus();
    QTRY_COMPARE(QGuiApplication::focusObject(), m_view);
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(m_view, &query);
    QVERIFY(query.value(Qt::ImEnabled).toBool());

    KeyRecorder keys(m_view);
    // A composition still in progress shows nothing and types nothing.
    QInputMethodEvent preedit(QStringLiteral("´"), {});
    QCoreApplication::sendEvent(m_view, &preedit);
    QCOMPARE(keys.texts, QStringList());
    for (const QString& text : {QStringLiteral("ó"), QStringLiteral("ção")}) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(m_view, &commit);
    }
    QCOMPARE(keys.texts, (QStringList{QStringLiteral("ó"), QStringLiteral("ção")}));
    // The pane itself is left as it was.
    QCOMPARE(m_view->selectedText(), selected);
    QCOMPARE(m_view->document().paragraphCount(), 3);
}

void TestChatView::historyIsLeftOutOfTheSavedLogs_data()
{
    QTest::addColumn<int>("format"); // 0 text, 1 HTML, 2 RTF
    QTest::newRow("text") << 0;
    QTest::newRow("html") << 1;
    QTest::newRow("rtf") << 2;
}

// Saved logs hold this session's lines only; find, select and copy see the history too.
void TestChatView::historyIsLeftOutOfTheSavedLogs()
{
    QFETCH(int, format);
    m_view->appendLine(QStringLiteral("primeira"), StyleTable::Info);
    m_view->insertHistory({QStringLiteral("antiga um"), QStringLiteral("antiga dois")},
                          StyleTable::Usuario);
    m_view->appendLine(QStringLiteral("segunda"), StyleTable::Info);
    m_view->reformat();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log"));
    switch (format) {
    case 0:
        QVERIFY(m_view->saveAsText(path, 100));
        break;
    case 1:
        QVERIFY(m_view->saveAsHtml(path, QStringLiteral("LOG"), QString(), true));
        break;
    default:
        QVERIFY(m_view->saveAsRtf(path, false));
        break;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY(written.contains("primeira"));
    QVERIFY(written.contains("segunda"));
    QVERIFY(!written.contains("antiga"));
    QVERIFY(written.indexOf("primeira") < written.indexOf("segunda"));
    QVERIFY(m_view->findText(QStringLiteral("antiga dois"), {}));
    m_view->selectAll();
    QCOMPARE(m_view->selectedText(), QStringLiteral("antiga um\nantiga dois\nprimeira\nsegunda"));
}

// The same style is drawn at full strength in a line of the session and dimmed in the history.
void TestChatView::historyIsDrawnDimmed()
{
    m_view->appendLine(QStringLiteral("MMMMMMMM"), StyleTable::Info);
    m_view->insertHistory({QStringLiteral("MMMMMMMM")}, StyleTable::Info);
    m_view->reformat();
    QTRY_COMPARE(m_view->document().paragraphCount(), 2);
    const QImage image = m_view->viewport()->grab().toImage();
    const int line = QFontMetrics(m_styles->font(StyleTable::Info)).height();
    const auto brightest = [&image](int top, int bottom) {
        int most = 0;
        for (int y = top; y < bottom && y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                most = std::max(most, qGreen(image.pixel(x, y)));
        }
        return most;
    };
    const int history = brightest(Top, Top + line);
    const int session = brightest(Top + line, Top + 2 * line);
    QVERIFY2(session > 200, qPrintable(QString::number(session)));
    QVERIFY2(history > 40 && history < 170, qPrintable(QString::number(history)));
}

// A paragraph started is told, however it starts; the pane tells before paragraphs go, while
// they are still there to be read.
void TestChatView::paragraphsComingAndGoingAreTold()
{
    m_view->setMaxParagraphs(16);
    int started = 0;
    QList<int> leaving;
    connect(m_view, &ChatView::paragraphStarted, this, [&] { ++started; });
    connect(m_view, &ChatView::paragraphsLeaving, this,
            [&] { leaving << m_view->document().paragraphCount(); });
    m_view->appendText(QStringLiteral("sem linha"), 0);
    m_view->appendText(QStringLiteral(" ainda"), 0);
    m_view->appendLine(QString(), -1);
    m_view->appendTab(0);
    QCOMPARE(started, 2);
    m_view->clearView();
    QCOMPARE(leaving, QList<int>{2});
    m_view->appendTab(0);
    for (int i = 1; i < 16; ++i)
        m_view->appendLine(QStringLiteral("linha"), 0);
    QCOMPARE(started, 18);
    QCOMPARE(leaving, QList<int>{2});
    m_view->appendLine(QStringLiteral("demais"), 0);
    QCOMPARE(leaving, (QList<int>{2, 16}));
    QCOMPARE(started, 19);
    m_view->insertHistory({QStringLiteral("antiga")}, 0);
    QCOMPARE(started, 19);
}

QTEST_MAIN(TestChatView)
#include "tst_chatview.moc"
