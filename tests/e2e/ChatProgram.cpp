#include "ChatProgram.h"

#include <csignal>

#include <sys/prctl.h>

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTest>

#include "core/Cp1252.h"

namespace {

constexpr int ToolTimeoutMs = 10000;
// Keys typed one after another: a pause between them lets the program keep pace.
const QString KeyDelayMs = QStringLiteral("8");
const QString MainWindowTitle = QStringLiteral("^Tulmo Chat v1\\.5");
const QString ConnectDialogTitle = QStringLiteral("^Conectando \\.\\.\\.$");

} // namespace

ChatProgram::ChatProgram(const QStringList& confs) : m_confs(confs)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    // A suite that dies on the way takes its programs along instead of leaving them running.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

ChatProgram::~ChatProgram()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(ToolTimeoutMs);
    }
}

// TULMO_E2E_PROGRAM runs the suite against another build, an earlier one for instance.
QString ChatProgram::executable()
{
    const QString other = qEnvironmentVariable("TULMO_E2E_PROGRAM");
    return other.isEmpty() ? QStringLiteral(TULMO_CHAT_EXECUTABLE) : other;
}

QString ChatProgram::missingTools()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return QStringLiteral("no X display: run the suite under xvfb-run");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("xdotool is not installed");
    if (!QFileInfo(executable()).isExecutable())
        return QStringLiteral("the program is not built: ") + executable();
    return QString();
}

bool ChatProgram::start()
{
    if (!m_dir.isValid())
        return false;
    const QString copy = m_dir.filePath(QStringLiteral("tulmo-chat"));
    if (!QFile::copy(executable(), copy))
        return false;
    QFile::setPermissions(copy, QFile::permissions(executable()));
    QFile confs(m_dir.filePath(QStringLiteral("confs.ini")));
    if (!confs.open(QIODevice::WriteOnly))
        return false;
    for (const QString& line : std::as_const(m_confs))
        confs.write(Cp1252::encode(line) + "\r\n");
    confs.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_process.setProcessEnvironment(env);
    m_process.setWorkingDirectory(m_dir.path());
    m_process.start(copy, QStringList());
    if (!m_process.waitForStarted(ToolTimeoutMs))
        return false;
    if (!QTest::qWaitFor(
            [this] {
                const QStringList windows = visibleWindows(MainWindowTitle);
                if (windows.size() == 1)
                    m_window = windows.first();
                return !m_window.isEmpty() || !running();
            },
            ToolTimeoutMs))
        return false;
    m_target = m_window;
    return !m_window.isEmpty();
}

bool ChatProgram::useWindow(const QString& titlePattern)
{
    const QStringList windows = visibleWindows(titlePattern);
    if (windows.size() != 1)
        return false;
    m_target = windows.first();
    return true;
}

bool ChatProgram::running() const
{
    return m_process.state() == QProcess::Running;
}

bool ChatProgram::key(const QStringList& keys)
{
    return xdo(QStringList{QStringLiteral("windowfocus"), QStringLiteral("--sync"), m_target,
                           QStringLiteral("key"), QStringLiteral("--delay"), KeyDelayMs} +
               keys);
}

bool ChatProgram::clickFromBottom(double xFraction, int aboveBottom, int button)
{
    QByteArray shell;
    if (!xdo({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), m_target}, &shell))
        return false;
    int width = 0;
    int height = 0;
    for (const QByteArray& line : shell.split('\n')) {
        if (line.startsWith("WIDTH="))
            width = line.mid(6).toInt();
        else if (line.startsWith("HEIGHT="))
            height = line.mid(7).toInt();
    }
    if (width <= 0 || height <= aboveBottom)
        return false;
    // Not --sync: it waits for the pointer to move, forever when it already stands there. The
    // click follows the move in order on the one connection to the X server anyway.
    return xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), m_target,
                QString::number(int(width * xFraction)), QString::number(height - aboveBottom),
                QStringLiteral("click"), QString::number(button)});
}

bool ChatProgram::type(const QString& text)
{
    return xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), m_target,
                QStringLiteral("type"), QStringLiteral("--delay"), KeyDelayMs, QStringLiteral("--"),
                text});
}

bool ChatProgram::sendLine(const QString& text)
{
    return type(text) && key(QStringLiteral("Return"));
}

bool ChatProgram::pressConnect()
{
    return key(QStringLiteral("ctrl+n"));
}

bool ChatProgram::waitForConnectDialogToClose()
{
    return waitForWindow(ConnectDialogTitle, false, 20000);
}

bool ChatProgram::settle()
{
    // The first Escape closes the menu, the second takes the keys back from the menu bar.
    return key(QStringLiteral("alt+a")) && waitForPopup(true) &&
           key({QStringLiteral("Escape"), QStringLiteral("Escape")}) && waitForPopup(false);
}

// A menu's window has no title that xdotool matches: it is any window besides the others.
bool ChatProgram::waitForPopup(bool shown, int windows)
{
    return QTest::qWaitFor(
               [&] { return (visibleWindows(QString()).size() > windows) == shown || !running(); },
               ToolTimeoutMs) &&
           running();
}

bool ChatProgram::waitForWindow(const QString& titlePattern, bool shown, int timeoutMs)
{
    return QTest::qWaitFor(
               [&] { return visibleWindows(titlePattern).isEmpty() != shown || !running(); },
               timeoutMs) &&
           running();
}

bool ChatProgram::quit(int timeoutMs)
{
    // The menu opened from the keyboard has its first item current; one step up wraps to "Sair".
    if (!key(QStringLiteral("alt+a")) || !waitForPopup(true) ||
        !key({QStringLiteral("Up"), QStringLiteral("Return")}))
        return false;
    return QTest::qWaitFor([this] { return !running(); }, timeoutMs);
}

QByteArray ChatProgram::diagnostics()
{
    m_stderr += m_process.readAllStandardError();
    return m_stderr;
}

bool ChatProgram::xdo(const QStringList& args, QByteArray* out) const
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), args);
    if (!tool.waitForStarted(ToolTimeoutMs))
        return false;
    if (!QTest::qWaitFor([&tool] { return tool.state() == QProcess::NotRunning; }, ToolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished();
        return false;
    }
    if (out)
        *out = tool.readAllStandardOutput();
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QStringList ChatProgram::visibleWindows(const QString& titlePattern) const
{
    QByteArray out;
    // xdotool reports no match by its exit code; the list is then empty. Without --all it would
    // take windows that meet any one of the conditions.
    QStringList args{QStringLiteral("search"), QStringLiteral("--all"),
                     QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(m_process.processId())};
    if (!titlePattern.isEmpty())
        args << QStringLiteral("--name") << titlePattern;
    xdo(args, &out);
    return QString::fromLatin1(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
