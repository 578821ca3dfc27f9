// The panes' view against QPlainTextEdit on the same chat workload, measured in one run.
// Run with QT_QPA_PLATFORM=offscreen. Memory is the growth of the heap in use (glibc mallinfo2:
// arena bytes in use plus mmapped blocks).
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>

#include "view/ChatView.h"
#include "view/StyleTable.h"

namespace {

constexpr int BaselineLines = 100000;
constexpr int Lines = 1000000;
constexpr int SmallLines = 1000;
// The pane's ceiling lowered for the benchmark, so that it is reached quickly.
constexpr int CeilingLines = 100000;
constexpr int CeilingSlice = 10000;
constexpr int CeilingSlices = 60;
constexpr int LinkSlices = 40;
// Both panes of the address run are emptied this often, so that neither grows large.
constexpr int LinkSlicesPerFill = 10;
constexpr int Width = 500;

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

QString stamp(int i)
{
    return QStringLiteral("[%1:%2:%3] ")
        .arg(21, 2, 10, QLatin1Char('0'))
        .arg((i / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'));
}

QString user(int i)
{
    return QStringLiteral("<user%1> ").arg(i % 100);
}

QString message(int i)
{
    return QStringLiteral("hello there, message %1").arg(i % 100000);
}

// Every tenth line says a web address instead.
QString linkedMessage(int i)
{
    return i % 10 == 0 ? QStringLiteral("hello there, www.site.com/%1").arg(i % 100000)
                       : message(i);
}

void appendOurs(ChatView& view, int from, int to, bool withLinks = false)
{
    for (int i = from; i < to; ++i) {
        view.appendLine(stamp(i), StyleTable::Horario);
        view.appendText(user(i), StyleTable::Acc);
        view.appendText(withLinks ? linkedMessage(i) : message(i), StyleTable::Usuario);
        view.reformat();
        if ((i + 1) % 1000 == 0) {
            view.scrollToBottom();
            QCoreApplication::processEvents();
        }
    }
}

// Gives the viewport the benchmark's visible width.
void sizeView(QAbstractScrollArea& view)
{
    view.resize(Width + view.verticalScrollBar()->sizeHint().width() + 2 * view.frameWidth(), 400);
    view.show();
    QCoreApplication::processEvents();
}

// Mean milliseconds of `op` over `reps` runs; `prepare` runs untimed before each.
double meanMs(int reps, const std::function<void(int)>& prepare, const std::function<void(int)>& op)
{
    qint64 total = 0;
    QElapsedTimer timer;
    for (int r = 0; r < reps; ++r) {
        prepare(r);
        timer.start();
        op(r);
        total += timer.nsecsElapsed();
    }
    return double(total) / reps / 1e6;
}

struct Costs
{
    double paint, bottom, style, resize;
};

Costs measureCosts(ChatView& view, StyleTable& styles)
{
    constexpr int reps = 200;
    Costs c{};
    QWidget* port = view.viewport();
    view.scrollToBottom();
    port->repaint();
    c.paint = meanMs(
        reps, [](int) {}, [port](int) { port->repaint(); });
    QScrollBar* bar = view.verticalScrollBar();
    c.bottom = meanMs(
        reps,
        [bar](int) {
            QCoreApplication::processEvents();
            bar->setValue(bar->maximum() - 40);
        },
        [&view](int) {
            view.scrollToBottom();
            view.topParagraph();
        });
    view.scrollToBottom();
    c.style = meanMs(
        reps, [](int) {},
        [&styles, port](int r) {
            styles.setFont(StyleTable::Usuario, QStringLiteral("Verdana"), r % 2 ? 11 : 10);
            styles.setColor(StyleTable::Acc, r % 2 ? Qt::yellow : Qt::cyan);
            port->repaint();
        });
    const QSize size = view.size();
    c.resize = meanMs(
        reps, [](int) {},
        [&view, port, size](int r) {
            view.resize(size.width() - (r % 2) * 20, size.height());
            port->repaint();
        });
    view.resize(size);
    return c;
}

void print(const char* what, double value, const char* unit)
{
    std::printf("  %-58s %12.3f %s\n", what, value, unit);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::printf("Chat view benchmark: lines like \"%s%s%s\" in three styles, %d px wide\n",
                qPrintable(stamp(12345)), qPrintable(user(12)), qPrintable(message(12345)), Width);

    // Baseline: QPlainTextEdit, one block and three formatted inserts per line.
    double baseRate = 0;
    double baseBytesPerLine = 0;
    {
        const size_t before = heapInUse();
        QPlainTextEdit edit;
        sizeView(edit);
        QTextCharFormat formats[3];
        formats[0].setForeground(QColor(0xAA, 0xAA, 0x55));
        formats[1].setForeground(Qt::yellow);
        formats[2].setForeground(Qt::white);
        for (auto& f : formats)
            f.setFont(QFont(QStringLiteral("Verdana"), 10));
        QTextCursor cursor(edit.document());
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < BaselineLines; ++i) {
            cursor.movePosition(QTextCursor::End);
            cursor.insertBlock();
            cursor.insertText(stamp(i), formats[0]);
            cursor.insertText(user(i), formats[1]);
            cursor.insertText(message(i), formats[2]);
            if ((i + 1) % 1000 == 0) {
                edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
                QCoreApplication::processEvents();
            }
        }
        baseRate = BaselineLines / (timer.nsecsElapsed() / 1e9);
        baseBytesPerLine = double(heapInUse() - before) / BaselineLines;
    }

    // Ours: a million lines, the first hundred thousand timed.
    StyleTable bigStyles;
    const size_t before = heapInUse();
    auto big = std::make_unique<ChatView>(&bigStyles);
    sizeView(*big);
    QElapsedTimer timer;
    timer.start();
    appendOurs(*big, 0, BaselineLines);
    const double ourRate = BaselineLines / (timer.nsecsElapsed() / 1e9);
    appendOurs(*big, BaselineLines, Lines);
    const double ourBytesPerLine = double(heapInUse() - before) / Lines;

    std::printf("\nAppending (append + reformat per line, scroll and events every 1000)\n");
    print("QPlainTextEdit, 100 000 lines", baseRate, "lines/s");
    print("ChatView, 100 000 lines", ourRate, "lines/s");
    print("throughput ratio (goal >= 20)", ourRate / baseRate, "x");

    std::printf("\nMemory per line (heap growth)\n");
    print("QPlainTextEdit, after 100 000 lines", baseBytesPerLine, "bytes");
    print("ChatView, after 1 000 000 lines", ourBytesPerLine, "bytes");
    print("ratio ours / QPlainTextEdit (goal <= 0.2)", ourBytesPerLine / baseBytesPerLine, "");

    StyleTable smallStyles;
    ChatView small(&smallStyles);
    sizeView(small);
    appendOurs(small, 0, SmallLines);
    const Costs a = measureCosts(small, smallStyles);
    const Costs b = measureCosts(*big, bigStyles);
    std::printf("\nCost of one operation, 1 000 000 lines against 1 000 (goal <= 2)\n");
    std::printf("  %-22s %14s %14s %10s\n", "operation", "1 000 (ms)", "1 000 000 (ms)", "ratio");
    const auto row = [](const char* name, double x, double y) {
        std::printf("  %-22s %14.4f %14.4f %10.2f\n", name, x, y, y / x);
    };
    row("paint", a.paint, b.paint);
    row("scrollToBottom", a.bottom, b.bottom);
    row("style change + paint", a.style, b.style);
    row("resize + paint", a.resize, b.resize);

    // The same text as one plain string, for the scans.
    QString plain;
    plain.reserve(qsizetype(Lines) * 50);
    for (int i = 0; i < Lines; ++i)
        plain += stamp(i) + user(i) + message(i) + QLatin1String("\r\n");

    std::printf("\nWhole-document operations over 1 000 000 lines\n");
    big->clearSelection();
    ChatView::FindOptions down;
    timer.start();
    const bool found = big->findText(QStringLiteral("zebra"), down);
    const double findMs = timer.nsecsElapsed() / 1e6;
    timer.start();
    const bool plainFound = plain.indexOf(QStringLiteral("zebra"), 0, Qt::CaseInsensitive) >= 0;
    const double scanMs = timer.nsecsElapsed() / 1e6;
    print(found || plainFound ? "findText (unexpected hit!)"
                              : "findText, absent word, ignoring case",
          findMs, "ms");
    print("plain scan: QString::indexOf over the joined text", scanMs, "ms");
    print("ratio", findMs / scanMs, "x");

    const QString ours = QDir::temp().filePath(QStringLiteral("bench_chatview_ours.txt"));
    const QString theirs = QDir::temp().filePath(QStringLiteral("bench_chatview_plain.txt"));
    timer.start();
    const bool saved = big->saveAsText(ours, 100);
    const double saveMs = timer.nsecsElapsed() / 1e6;
    timer.start();
    QFile file(theirs);
    const bool plainSaved = file.open(QIODevice::WriteOnly) && file.write(plain.toLatin1()) > 0;
    file.close();
    const double writeMs = timer.nsecsElapsed() / 1e6;
    print(saved ? "saveAsText" : "saveAsText (failed!)", saveMs, "ms");
    print(plainSaved ? "plain: encode the joined text and write it" : "plain write (failed!)",
          writeMs, "ms");
    print("ratio", saveMs / writeMs, "x");
    std::printf("  files equal: %s\n",
                [&] {
                    QFile x(ours), y(theirs);
                    return x.open(QIODevice::ReadOnly) && y.open(QIODevice::ReadOnly) &&
                           x.readAll() == y.readAll();
                }()
                    ? "yes"
                    : "no");
    QFile::remove(ours);
    QFile::remove(theirs);
    big.reset();

    // Two panes with the ceiling lowered: one kept full, where every line pushes old ones out,
    // and one kept below it (emptied before it gets there). They take slices of lines in turn,
    // timed in CPU time of this process, so that other load on the machine hits both alike.
    std::printf("\nAppending at the ceiling (lowered to %d lines), slices of %d lines, CPU time\n",
                CeilingLines, CeilingSlice);
    StyleTable fullStyles, belowStyles;
    ChatView full(&fullStyles);
    ChatView below(&belowStyles);
    for (ChatView* view : {&full, &below}) {
        view->setMaxParagraphs(CeilingLines);
        sizeView(*view);
    }
    appendOurs(full, 0, CeilingLines);
    const std::size_t heldAtCeiling = full.document().allocated();
    int fullNext = CeilingLines;
    int belowNext = 0;
    QList<double> atMs, belowMs;
    const auto cpuMs = [] { return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC; };
    for (int slice = 0; slice < CeilingSlices; ++slice) {
        if (below.document().paragraphCount() + CeilingSlice > CeilingLines * 9 / 10) {
            below.clearView();
            QCoreApplication::processEvents();
        }
        double start = cpuMs();
        appendOurs(below, belowNext, belowNext + CeilingSlice);
        belowMs.append(cpuMs() - start);
        belowNext += CeilingSlice;
        start = cpuMs();
        appendOurs(full, fullNext, fullNext + CeilingSlice);
        atMs.append(cpuMs() - start);
        fullNext += CeilingSlice;
    }
    // The median shows the usual slice; the fastest is the one least disturbed by other load.
    const auto median = [](QList<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const auto fastest = [](const QList<double>& values) {
        return *std::min_element(values.begin(), values.end());
    };
    print("below the ceiling, median slice", median(belowMs), "ms");
    print("at the ceiling (oldest lines dropped), median slice", median(atMs), "ms");
    print("ratio of medians at / below (goal <= 1.2)", median(atMs) / median(belowMs), "x");
    print("below the ceiling, fastest slice", fastest(belowMs), "ms");
    print("at the ceiling, fastest slice", fastest(atMs), "ms");
    print("ratio of fastest at / below (goal <= 1.2)", fastest(atMs) / fastest(belowMs), "x");
    std::printf(
        "  full pane: %d lines kept after %d appended; content held %.1f MB at the ceiling, "
        "%.1f MB at the end\n",
        full.document().paragraphCount(), fullNext, heldAtCeiling / 1e6,
        full.document().allocated() / 1e6);

    // Two panes take the same slices in turn, one with a web address in every tenth line.
    std::printf(
        "\nAppending with a web address in every tenth line, slices of %d lines, CPU time\n",
        CeilingSlice);
    StyleTable plainStyles, linkStyles;
    ChatView plainPane(&plainStyles);
    ChatView linkPane(&linkStyles);
    for (ChatView* view : {&plainPane, &linkPane})
        sizeView(*view);
    QList<double> plainMs, linkMs;
    int linksFound = 0;
    int linkedLines = 0;
    for (int slice = 0; slice < LinkSlices; ++slice) {
        if (slice % LinkSlicesPerFill == 0) {
            plainPane.clearView();
            linkPane.clearView();
            QCoreApplication::processEvents();
        }
        const int from = slice * CeilingSlice;
        const int firstParagraph = linkPane.document().paragraphCount();
        // Each goes first in every other slice.
        for (const bool withLinks : {slice % 2 == 0, slice % 2 != 0}) {
            const double start = cpuMs();
            appendOurs(withLinks ? linkPane : plainPane, from, from + CeilingSlice, withLinks);
            (withLinks ? linkMs : plainMs).append(cpuMs() - start);
        }
        for (int p = firstParagraph; p < linkPane.document().paragraphCount(); ++p)
            linksFound += int(linkPane.document().links(p).size());
        linkedLines += CeilingSlice / 10;
    }
    print("no address, median slice", median(plainMs), "ms");
    print("an address in every tenth line, median slice", median(linkMs), "ms");
    print("ratio of medians with / without (goal <= 1.2)", median(linkMs) / median(plainMs), "x");
    print("no address, fastest slice", fastest(plainMs), "ms");
    print("an address in every tenth line, fastest slice", fastest(linkMs), "ms");
    print("ratio of fastest with / without (goal <= 1.2)", fastest(linkMs) / fastest(plainMs), "x");
    std::printf("  addresses found: %d of %d\n", linksFound, linkedLines);
    return 0;
}
