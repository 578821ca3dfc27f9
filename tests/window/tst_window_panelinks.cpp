#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QUrl>

#include "WindowSession.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/TfrmMain.h"

namespace {

const QString Said = QStringLiteral("veja www.exemplo.com.br!");
const QString Address = QStringLiteral("www.exemplo.com.br");

// Writes one line holding the address into an emptied pane, as the server's talk or whisper
// would.
ChatView* paneWithAddress(TfrmMain* w, const QString& name)
{
    ChatView* pane = w->findChild<ChatView*>(name);
    pane->clearView();
    if (pane == w->chatPane())
        w->mensagem(QStringLiteral("ana"), Said);
    else
        w->whisp(0, QStringLiteral("bia"), Said);
    return pane;
}

// Where the middle of `text` in the pane's first line is drawn; `margins` are the pane's left
// and top margins.
QPoint pointOf(const ChatView* pane, const QString& text, QPoint margins)
{
    int x = margins.x();
    for (const ChatPiece& piece : pane->document().pieces(0)) {
        const QFontMetrics metrics(pane->styles()->font(piece.style));
        const qsizetype at = piece.text.indexOf(text);
        if (at >= 0)
            return {x + metrics.horizontalAdvance(piece.text.left(at + text.size() / 2)),
                    margins.y() + metrics.height() / 2};
        x += metrics.horizontalAdvance(piece.text);
    }
    qWarning("no %s in the pane", qPrintable(text));
    return {};
}

void rightClick(TfrmMain* w, const ChatView* pane, QPoint at)
{
    QTest::mouseClick(w->windowHandle(), Qt::RightButton, {}, pane->viewport()->mapTo(w, at));
}

} // namespace

class TestWindowPaneLinks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clickOpensTheAddress_data();
    void clickOpensTheAddress();
    void menuCopiesTheAddress_data();
    void menuCopiesTheAddress();
};

void TestWindowPaneLinks::clickOpensTheAddress_data()
{
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QPoint>("margins");
    // clang-format off
    QTest::newRow("channel") << QStringLiteral("txtChat") << QPoint(2, 2);
    QTest::newRow("whispers") << QStringLiteral("txtWhisps") << QPoint(1, 1);
    // clang-format on
}

void TestWindowPaneLinks::clickOpensTheAddress()
{
    QFETCH(QString, pane);
    QFETCH(QPoint, margins);
    WindowSession s(QStringLiteral("[Timers]"), {});
    ChatView* view = paneWithAddress(s.w, pane);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pointOf(view, Address, margins));
    QTRY_COMPARE(s.h.shell.opened, QList<QUrl>{QUrl(QStringLiteral("http://www.exemplo.com.br"))});
    QTRY_COMPARE(QApplication::focusWidget(), s.w->findChild<QLineEdit*>(QStringLiteral("txtMsg")));
    // A click beside it opens nothing more; the one after it opens it again.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      pointOf(view, QStringLiteral("veja"), margins));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pointOf(view, Address, margins));
    QTRY_COMPARE(s.h.shell.opened.size(), 2);
    QCOMPARE(s.h.shell.opened.last(), s.h.shell.opened.first());
    // The line is written as it always was.
    QCOMPARE(WindowHarness::lastText(view).right(Said.size()), Said);
}

void TestWindowPaneLinks::menuCopiesTheAddress_data()
{
    clickOpensTheAddress_data();
}

void TestWindowPaneLinks::menuCopiesTheAddress()
{
    QFETCH(QString, pane);
    QFETCH(QPoint, margins);
    WindowSession s(QStringLiteral("[Timers]"), {});
    ChatView* view = paneWithAddress(s.w, pane);
    auto* popChat = s.w->findChild<QMenu*>(QStringLiteral("popChat"));
    auto* copy = s.w->findChild<QAction*>(QStringLiteral("popCopyAddress"));
    QVERIFY(popChat && copy);
    QGuiApplication::clipboard()->clear();

    rightClick(s.w, view, pointOf(view, Address, margins));
    QTRY_VERIFY(popChat->isVisible());
    QVERIFY(copy->isVisible());
    copy->trigger();
    popChat->hide();
    QCOMPARE(QGuiApplication::clipboard()->text(), Address);

    // Over other text the menu has no such item.
    rightClick(s.w, view, pointOf(view, QStringLiteral("veja"), margins));
    QTRY_VERIFY(popChat->isVisible());
    QVERIFY(!copy->isVisible());
    popChat->hide();
    QVERIFY(s.h.shell.opened.isEmpty());
}

QTEST_MAIN(TestWindowPaneLinks)
#include "tst_window_panelinks.moc"
