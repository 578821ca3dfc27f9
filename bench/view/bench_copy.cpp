// Copying a whole pane at its ceiling: building every clipboard format at once (the baseline,
// as the pane did before) against the selection kept as it is and each format rendered when a
// program asks for it. Run with QT_QPA_PLATFORM=offscreen. Memory is the peak of the resident
// set above what it was before each step (Linux: VmHWM after resetting it through clear_refs).
#include <malloc.h>

#include <cstdio>
#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>

#include "view/ChatExporter.h"
#include "view/ChatMimeData.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"

namespace {

constexpr int Lines = ChatDocument::MaxParagraphs;

QString stamp(int i)
{
    return QStringLiteral("[%1:%2:%3] ")
        .arg(21, 2, 10, QLatin1Char('0'))
        .arg((i / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'));
}

// Kilobytes of a field of /proc/self/status ("VmRSS", "VmHWM").
long statusKb(const char* field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

struct Step
{
    double ms = 0;
    double peakMb = 0;
};

// Time and peak resident growth of `op`, with freed memory handed back to the system before.
Step measure(const std::function<void()>& op)
{
    malloc_trim(0);
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
    refs.close();
    const long before = statusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    op();
    Step step;
    step.ms = timer.nsecsElapsed() / 1e6;
    step.peakMb = (statusKb("VmHWM") - before) / 1024.0;
    return step;
}

// The pane's copy as it was: text, HTML and RTF built at once.
QMimeData* eagerCopy(const ChatView& view, const ChatRange& range)
{
    const ChatDocument& doc = view.document();
    auto* mime = new QMimeData;
    mime->setText(doc.text(range));
    mime->setHtml(
        ChatExporter::html(doc, *view.styles(), range, QString(), view.backgroundColor()));
    const QByteArray rtf = ChatExporter::rtf(doc, *view.styles(), range);
    mime->setData(QStringLiteral("text/rtf"), rtf);
    mime->setData(QStringLiteral("application/rtf"), rtf);
    mime->setData(QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\""), rtf);
    return mime;
}

// A clipboard manager taking every format offered, one after the other, as at exit; returns the
// longest it waited for one.
double readEveryFormat(const QMimeData* mime)
{
    double longest = 0;
    QElapsedTimer timer;
    for (const QString& format : mime->formats()) {
        timer.start();
        const QByteArray bytes = mime->data(format);
        longest = std::max(longest, timer.nsecsElapsed() / 1e6);
        if (bytes.isEmpty())
            std::printf("  (format %s came out empty!)\n", qPrintable(format));
    }
    return longest;
}

void print(const char* what, double value, const char* unit)
{
    std::printf("  %-58s %12.2f %s\n", what, value, unit);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    StyleTable styles;
    ChatView view(&styles);
    for (int i = 0; i < Lines; ++i) {
        view.appendLine(stamp(i), StyleTable::Horario);
        view.appendText(QStringLiteral("<user%1> ").arg(i % 100), StyleTable::Acc);
        view.appendText(QStringLiteral("hello there, message %1").arg(i), StyleTable::Usuario);
    }
    view.selectAll();
    const ChatRange range = view.document().wholeRange();
    const double textMb = view.document().text(range).toUtf8().size() / 1e6;
    QClipboard* clipboard = QGuiApplication::clipboard();
    std::printf("Copying a whole pane at its ceiling: %d lines, %.1f MB of text (UTF-8)\n", Lines,
                textMb);

    // Each copy is measured alone, then again followed by a program reading every format.
    const Step eager = measure([&] { clipboard->setMimeData(eagerCopy(view, range)); });
    clipboard->clear();
    double eagerLongest = 0;
    const Step eagerRead = measure([&] {
        clipboard->setMimeData(eagerCopy(view, range));
        eagerLongest = readEveryFormat(clipboard->mimeData());
    });
    clipboard->clear();

    const Step now = measure([&] { view.copySelection(); });
    clipboard->clear();
    double nowLongest = 0;
    const Step nowRead = measure([&] {
        view.copySelection();
        nowLongest = readEveryFormat(clipboard->mimeData());
    });
    const QStringList offered = clipboard->mimeData()->formats();
    clipboard->clear();

    std::printf("\nThe copy itself (the window waits for it)\n");
    print("baseline: every format built at once", eager.ms, "ms");
    print("now: the selection kept, nothing rendered", now.ms, "ms");
    print("time ratio now / baseline", now.ms / eager.ms, "x");
    print("baseline: peak memory growth", eager.peakMb, "MB");
    print("now: peak memory growth", now.peakMb, "MB");
    print("memory ratio now / baseline", now.peakMb / std::max(eager.peakMb, 0.01), "x");

    std::printf("\nA program then reads every format offered, one after the other\n");
    std::printf("  offered now: %s\n", qPrintable(offered.join(QStringLiteral(", "))));
    print("baseline: longest wait for one format", eagerLongest, "ms");
    print("now: longest wait for one format (rendered then)", nowLongest, "ms");
    print("baseline: peak memory growth, copy and read", eagerRead.peakMb, "MB");
    print("now: peak memory growth, copy and read", nowRead.peakMb, "MB");
    print("baseline: that growth over the text copied", eagerRead.peakMb / textMb, "x");
    print("now: that growth over the text copied (goal <= 2)", nowRead.peakMb / textMb, "x");
    print("memory ratio now / baseline", nowRead.peakMb / eagerRead.peakMb, "x");
    print("longest the window waits, ratio now / baseline",
          std::max(now.ms, nowLongest) / std::max(eager.ms, eagerLongest), "x");
    return 0;
}
