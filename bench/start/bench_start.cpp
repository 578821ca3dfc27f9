// The program at rest after start, beside a minimal Qt window (a main window with a toolbar, a
// text edit, a list and a line edit) started the same way in the same run, alternately:
//  - the time from starting the process until its window has painted its first frame;
//  - the CPU time it has used, and its resident memory, three seconds after start.
// The program runs from a copy in a temporary folder beside a confs.ini that leaves every
// setting at its default (spell checking, the automatic logs with today's files to read back,
// mentions, reconnecting), on the platform QT_QPA_PLATFORM names: xcb under Xvfb is the closest
// to a desktop.
// Usage: bench_start [runs]   (5 of each by default)

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

namespace {

constexpr int AtRestMs = 3000;
constexpr int FirstFrameTimeoutMs = 20000;
// Lines of today's channel and whisper logs that the program reads back at start.
constexpr int ChatLogLines = 400;
constexpr int WhisperLogLines = 40;

struct Sample
{
    double shownMs = 0;
    double cpuMs = 0;
    double rssMiB = 0;
};

struct Figures
{
    QList<Sample> samples;
};

QByteArray procField(qint64 pid, const char* file)
{
    QFile f(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

double residentMiB(qint64 pid)
{
    for (const QByteArray& line : procField(pid, "status").split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// User and system time of every thread, those gone included.
double cpuMs(qint64 pid)
{
    const QByteArray stat = procField(pid, "stat");
    // The fields after the command's name, which may hold spaces, start with the state (field 3).
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

void waitMs(qint64 ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(ms), &loop, &QEventLoop::quit);
    loop.exec();
}

Sample runOnce(const QString& program, const QString& folder)
{
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TULMO_REPORT_FIRST_FRAME"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setStandardErrorFile(QProcess::nullDevice());

    Sample sample;
    QElapsedTimer clock;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, [&] {
        if (process.readAllStandardOutput().contains("first frame")) {
            sample.shownMs = double(clock.nsecsElapsed()) / 1e6;
            loop.quit();
        }
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(FirstFrameTimeoutMs, &loop, &QEventLoop::quit);
    clock.start();
    process.start();
    loop.exec();
    if (sample.shownMs == 0) {
        std::fprintf(stderr, "%s showed no window\n", qPrintable(program));
        std::exit(1);
    }
    waitMs(AtRestMs - clock.elapsed());
    sample.cpuMs = cpuMs(process.processId());
    sample.rssMiB = residentMiB(process.processId());
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
    return sample;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// The folder of our program as a user's: confs.ini at its defaults, and today's logs.
void prepareFolder(const QString& folder)
{
    writeFile(folder + QStringLiteral("/confs.ini"), "[Geral]\r\n");
    QDir(folder + QStringLiteral("/logs")).removeRecursively();
    QDir(folder).mkdir(QStringLiteral("logs"));
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QByteArray chat;
    for (int i = 0; i < ChatLogLines; ++i)
        chat += QStringLiteral("[%1:%2:%3] <jogador%4> vamos jogar mais uma partida no servidor "
                               "de sempre, quem entra?\n")
                    .arg(10 + i / 3600, 2, 10, QLatin1Char('0'))
                    .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 37)
                    .toUtf8();
    writeFile(folder + QStringLiteral("/logs/chat-%1.txt").arg(today), chat);
    QByteArray whispers;
    for (int i = 0; i < WhisperLogLines; ++i)
        whispers += QStringLiteral("[11:%1:00] De amigo%2: você vem hoje à noite?\n")
                        .arg(i % 60, 2, 10, QLatin1Char('0'))
                        .arg(i % 5)
                        .toUtf8();
    writeFile(folder + QStringLiteral("/logs/whisps-%1.txt").arg(today), whispers);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QList<double> column(const Figures& figures, double Sample::*field)
{
    QList<double> values;
    for (const Sample& sample : figures.samples)
        values << sample.*field;
    return values;
}

void printRow(const char* name, const Figures& ours, const Figures& minimal, double Sample::*field,
              const char* unit)
{
    const QList<double> a = column(ours, field);
    const QList<double> b = column(minimal, field);
    std::printf("%-22s ours %7.1f %s (%.1f-%.1f)   minimal %7.1f %s (%.1f-%.1f)   ratio %.2fx\n",
                name, median(a), unit, *std::min_element(a.begin(), a.end()),
                *std::max_element(a.begin(), a.end()), median(b), unit,
                *std::min_element(b.begin(), b.end()), *std::max_element(b.begin(), b.end()),
                median(a) / median(b));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 5;

    QTemporaryDir folder;
    const QString ours = folder.path() + QStringLiteral("/tulmo-chat");
    if (!folder.isValid() || !QFile::copy(QStringLiteral(TULMO_PROGRAM), ours)) {
        std::fprintf(stderr, "cannot copy %s\n", TULMO_PROGRAM);
        return 1;
    }
    const QString minimal = QStringLiteral(MINIMAL_PROGRAM);

    Figures oursFigures;
    Figures minimalFigures;
    std::printf("run  ours: shown ms, CPU ms, MiB   minimal: shown ms, CPU ms, MiB\n");
    for (int run = 0; run < runs; ++run) {
        prepareFolder(folder.path());
        const Sample a = runOnce(ours, folder.path());
        const Sample b = runOnce(minimal, folder.path());
        oursFigures.samples << a;
        minimalFigures.samples << b;
        std::printf("%3d  %6.1f %6.1f %6.1f            %6.1f %6.1f %6.1f\n", run + 1, a.shownMs,
                    a.cpuMs, a.rssMiB, b.shownMs, b.cpuMs, b.rssMiB);
        std::fflush(stdout);
    }
    std::printf("\nmedians (min-max) over %d runs each:\n", runs);
    printRow("first frame shown", oursFigures, minimalFigures, &Sample::shownMs, "ms ");
    printRow("CPU after 3 s", oursFigures, minimalFigures, &Sample::cpuMs, "ms ");
    printRow("resident after 3 s", oursFigures, minimalFigures, &Sample::rssMiB, "MiB");
    const double extra = median(column(oursFigures, &Sample::rssMiB)) -
                         median(column(minimalFigures, &Sample::rssMiB));
    std::printf("resident beyond the minimal window: %.1f MiB (goal: at most 3 MiB)\n", extra);
    std::printf("first frame: %.2fx the minimal window's (goal: at most 1.10x)\n",
                median(column(oursFigures, &Sample::shownMs)) /
                    median(column(minimalFigures, &Sample::shownMs)));
    std::printf("before (the dictionary loaded at start, under Xvfb): 45.4 MiB beyond the minimal "
                "window (77.0 against 31.6), first frame 1.36x, CPU after 3 s 7.1x\n");
    std::printf("before (every icon drawn at five densities at start, under Xvfb): 8.2 MiB beyond "
                "the minimal window (39.9 against 31.6), first frame 1.17x, CPU after 3 s 1.74x\n");
    return 0;
}
