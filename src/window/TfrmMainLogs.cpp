#include "window/TfrmMain.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "dialogs/Prompts.h"
#include "tools/Shell.h"
#include "tools/TfrmBusca.h"
#include "view/ChatView.h"
#include "window/Appearance.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/TopStrip.h"
#include "window/WidgetKit.h"

using WidgetKit::named;

namespace {

// The entries of the save dialog's filter, in the order of the log types.
const QString LogFilter =
    QStringLiteral("Arquivo de Texto (*.txt);;Formato HTML (*.html);;Documento RTF (*.rtf)");
enum LogType
{
    TextLog,
    HtmlLog,
    RtfLog
};
// The line width of a text log, which only sizes separator rules.
constexpr int TextLineWidth = 100;
const QString NotepadFile = QStringLiteral("chat.txt");

LogType logType(const QString& filter)
{
    const int position = int(LogFilter.split(QStringLiteral(";;")).indexOf(filter));
    return position == HtmlLog || position == RtfLog ? LogType(position) : TextLog;
}

QString extension(LogType type)
{
    switch (type) {
    case HtmlLog:
        return QStringLiteral(".html");
    case RtfLog:
        return QStringLiteral(".rtf");
    case TextLog:
        break;
    }
    return QStringLiteral(".txt");
}

QString notSaved(const QString& fileName)
{
    return QStringLiteral("Não foi possível salvar o arquivo %1.")
        .arg(QDir::toNativeSeparators(fileName));
}

QString today()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

// Closing the window ends the wait for the editor: one asked at least this long before has read
// the file by then; one asked later may still need it, so its file waits for the next start.
constexpr int NotepadReadMs = 2000;

// Notepad has read the file within a second; a desktop's editor may have to start first.
int notepadDelay()
{
#ifdef Q_OS_WIN
    return 1000;
#else
    return 10000;
#endif
}

// False when no program could be started for the file.
bool openInTextEditor(Shell& shell, const QString& path)
{
#ifdef Q_OS_WIN
    return shell.startDetached(QStringLiteral("notepad.exe"), {QDir::toNativeSeparators(path)},
                               QString());
#else
    return shell.openUrl(QUrl::fromLocalFile(path));
#endif
}

} // namespace

void TfrmMain::setupLogs()
{
    m_logFilter = LogFilter.section(QStringLiteral(";;"), 0, 0);
    tmrNotepad = named(new QTimer(this), QStringLiteral("tmrNotepad"));
    tmrNotepad->setSingleShot(true);
    tmrNotepad->setInterval(notepadDelay());
    m_notepadReadMs = NotepadReadMs;
    // Left behind by a window closed while an editor was still starting.
    QFile::remove(m_folder + NotepadFile);
    connect(tmrNotepad, &QTimer::timeout, this,
            guard([this] { QFile::remove(m_folder + NotepadFile); }));
    connect(mnuSalvarChat, &QAction::triggered, this, guard([this] { mnuSalvarChatClick(); }));
    connect(mnuSalvarWhisps, &QAction::triggered, this, guard([this] { mnuSalvarWhispsClick(); }));
    connect(findChild<QAction*>(QStringLiteral("SalvarLog1")), &QAction::triggered, this,
            guard([this] { SalvarLog1Click(); }));
    connect(m_topStrip->btnNotepad, &QToolButton::clicked, this,
            guard([this] { btnNotepadClick(); }));
    connect(findChild<QAction*>(QStringLiteral("selectAll")), &QAction::triggered, this,
            guard([this] { selectAllExecute(); }));
    connect(findChild<QAction*>(QStringLiteral("CtrlF")), &QAction::triggered, this,
            guard([this] { CtrlFExecute(); }));
}

// The name typed always gets the extension of the type chosen, even when it ends in one already.
// A log that cannot be written is reported: the user must not take it for saved.
void TfrmMain::salvarLog(ChatView* pane)
{
    const bool channel = pane == m_chatColumn->txtChat;
    const QString title = channel ? QStringLiteral("Salvar LOG da Tela de Chat")
                                  : QStringLiteral("Salvar LOG da Tela de Whisps");
    QString filter = m_logFilter;
    const QString chosen = m_prompts->saveFileName(this, title, LogFilter, &filter, false);
    if (!chosen.isEmpty()) {
        m_logFilter = filter;
        const LogType type = logType(filter);
        const QString fileName = chosen + extension(type);
        bool saved = false;
        if (type == RtfLog) {
            saved = pane->saveAsRtf(fileName, false);
        } else if (type == HtmlLog && channel) {
            pane->setBackgroundStyle(ChatView::BackgroundStyle::None);
            saved = pane->saveAsHtml(fileName,
                                     QStringLiteral("LOG .::. CANAL: ") + FCanal +
                                         QStringLiteral(" - DATA: ") + today(),
                                     QString(), true);
            m_appearance->ajustaFundoChat();
        } else if (type == HtmlLog) {
            saved = pane->saveAsHtml(fileName, QStringLiteral("LOG .::. WHISPS - ") + today(),
                                     QString(), true);
        } else {
            saved = pane->saveAsText(fileName, TextLineWidth);
        }
        if (!saved)
            m_prompts->errorBox(this, notSaved(fileName));
    }
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::mnuSalvarChatClick()
{
    salvarLog(m_chatColumn->txtChat);
}

void TfrmMain::mnuSalvarWhispsClick()
{
    salvarLog(m_chatColumn->txtWhisps);
}

void TfrmMain::SalvarLog1Click()
{
    if (focusWidget() == m_chatColumn->txtWhisps)
        mnuSalvarWhispsClick();
    else
        mnuSalvarChatClick();
}

// The file waits for the editor to read it, and is removed later without holding up the window.
// A later hand-over restarts the wait, so the file is not removed under the newer one.
void TfrmMain::btnNotepadClick()
{
    const QString path = m_folder + NotepadFile;
    if (m_chatColumn->txtChat->saveAsText(path, TextLineWidth)) {
        if (!openInTextEditor(*m_shell, path))
            cannotOpen(QDir::toNativeSeparators(path));
        m_notepadStarted.start();
        tmrNotepad->start();
    } else {
        m_prompts->errorBox(this, notSaved(path));
    }
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::setNotepadDelayForTests(int ms)
{
    tmrNotepad->setInterval(ms);
}

void TfrmMain::setNotepadReadTimeForTests(int ms)
{
    m_notepadReadMs = ms;
}

void TfrmMain::releaseNotepadFile()
{
    if (!tmrNotepad->isActive() || m_notepadStarted.elapsed() < m_notepadReadMs)
        return;
    tmrNotepad->stop();
    QFile::remove(m_folder + NotepadFile);
}

// The action owns Ctrl+A in the whole window; in the input line it does nothing.
void TfrmMain::selectAllExecute()
{
    QWidget* focused = focusWidget();
    for (ChatView* pane : {m_chatColumn->txtChat, m_chatColumn->txtWhisps}) {
        if (focused == pane) {
            pane->selectAll();
            pane->reformat();
            return;
        }
    }
}

// Every press opens a window of its own.
void TfrmMain::CtrlFExecute()
{
    if (!loggedIn())
        return;
    auto* busca = new TfrmBusca(m_chatColumn->txtChat, this);
    busca->show();
}
