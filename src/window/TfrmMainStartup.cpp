#include "window/TfrmMain.h"

#include <algorithm>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>

#include "chat/TFastNicks.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsLocation.h"
#include "settings/TIniFile.h"
#include "window/Appearance.h"
#include "window/AutoLogs.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/ConnectionControl.h"
#include "window/CustomList.h"
#include "window/Favorites.h"
#include "window/InputLine.h"
#include "window/Logs.h"
#include "window/Mentions.h"
#include "window/Panes.h"
#include "window/ReplySender.h"
#include "window/SpellCheck.h"
#include "window/SyncMessages.h"
#include "window/TopStrip.h"
#include "window/TrayIcon.h"
#include "window/UserColumn.h"

namespace {
// The window never starts smaller than this, outer size.
constexpr int MinWidth = 700;
constexpr int MinHeight = 600;
// A size typed into confs.ini by hand is kept within what a desktop can show.
constexpr int MaxExtent = 8192;
// A position typed by hand stays where window coordinates can still add a size to it.
constexpr int MaxPosition = 32767;

// A geometry stored on another monitor, or at another scale, is brought inside the screen that
// holds its top-left corner (its centre, or the main screen, when none does). The window's
// minimum size wins over a smaller screen, which then shows its top-left part.
QRect onScreen(QRect outer)
{
    QScreen* screen = QGuiApplication::screenAt(outer.topLeft());
    if (!screen)
        screen = QGuiApplication::screenAt(outer.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return outer;
    const QRect room = screen->availableGeometry();
    outer.setSize(outer.size().boundedTo(room.size()).expandedTo(QSize(MinWidth, MinHeight)));
    outer.moveTo(std::clamp(outer.x(), room.left(),
                            std::max(room.left(), room.left() + room.width() - outer.width())),
                 std::clamp(outer.y(), room.top(),
                            std::max(room.top(), room.top() + room.height() - outer.height())));
    return outer;
}
} // namespace

QString TfrmMain::defaultSettingsFolder()
{
    return SettingsLocation::folderFor(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/tulmo-chat/"));
}

void TfrmMain::FormCreate()
{
    FIni = std::make_unique<TIniFile>(m_folder + QStringLiteral("confs.ini"));
    FFastNicks = std::make_unique<TFastNicks>(m_users, [this](const QString& text) {
        m_bottomStrip->txtMsg->setText(text);
        m_bottomStrip->txtMsg->setCursorPosition(int(text.size()));
    });
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    guarded([this] { FormShow(); });
}

void TfrmMain::FormShow()
{
    m_favorites->loadFavoriteChannels();

    const int width = Settings::read(*FIni, Keys::Form::Width);
    const int height = Settings::read(*FIni, Keys::Form::Height);
    const QRect outer = onScreen(
        QRect(std::clamp(Settings::read(*FIni, Keys::Form::X), -MaxPosition, MaxPosition),
              std::clamp(Settings::read(*FIni, Keys::Form::Y), -MaxPosition, MaxPosition),
              std::clamp(width, MinWidth, MaxExtent), std::clamp(height, MinHeight, MaxExtent)));
    m_outerPending = outer.size();
    move(outer.topLeft());
    applyGeometry();
    if (Settings::read(*FIni, Keys::Form::Max))
        setWindowState(windowState() | Qt::WindowMaximized);

    const int ulw = std::clamp(Settings::read(*FIni, Keys::Form::ULW), 0, MaxExtent);
    const QList<int> sizes = Splitter1->sizes();
    const int total = std::max(sizes.value(0) + sizes.value(1), ulw + 150);
    Splitter1->setSizes({total - ulw, ulw});

    // A picture that fails to load is reported; the rest of the start-up still runs.
    guarded([this] { m_appearance->carregaAparencia(); });

    m_customList->loadSuspects();

    m_trayIcon->startUp();

    m_connection->showStartLine();

    m_replies->applyOptions();
    m_panes->applyOptions();
    m_mentions->applyOptions();

    m_sync->loadSyncPeriod();

    m_autoLogs->startUp();

    m_bottomStrip->txtMsg->setFocus();

    m_spellCheck->startUp();
}

QSize TfrmMain::frameExtra() const
{
    const QRect frame = frameGeometry();
    return QSize(frame.width() - width(), frame.height() - height());
}

void TfrmMain::applyGeometry()
{
    const QSize extra = frameExtra();
    m_frameApplied = extra;
    setMinimumSize(MinWidth - extra.width(), MinHeight - extra.height());
    if (m_outerPending.isValid())
        resize(m_outerPending - extra);
}

// The window frame is known only once the window manager has decorated the window; the stored
// outer size is applied again then, so closing and reopening never grows the window.
void TfrmMain::followFrame()
{
    const QSize extra = frameExtra();
    if (extra == m_frameApplied || isMaximized() || isFullScreen())
        return;
    applyGeometry();
    m_outerPending = QSize();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_chatColumn->pnlTopChat && event->type() == QEvent::Resize)
        guarded([this] { FormResize(); });
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    guarded([this] {
        followFrame();
        FormResize();
    });
}

void TfrmMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    guarded([this] { followFrame(); });
}

void TfrmMain::FormResize()
{
    const int outer = frameGeometry().width();
    m_topStrip->followWidth(outer);
    m_chatColumn->followBarWidth();
    m_bottomStrip->followWidth(outer);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormClose(); });
    guarded([this] { m_logs->releaseNotepadFile(); });
    QMainWindow::closeEvent(event);
}

void TfrmMain::FormClose()
{
    Settings::write(*FIni, Keys::Form::ULW, m_userColumn->width());
    if (isMaximized()) {
        Settings::write(*FIni, Keys::Form::Max, true);
        return;
    }
    Settings::write(*FIni, Keys::Form::Max, false);
    const QRect outer = frameGeometry();
    Settings::write(*FIni, Keys::Form::Width, outer.width());
    Settings::write(*FIni, Keys::Form::Height, outer.height());
    Settings::write(*FIni, Keys::Form::X, outer.x());
    Settings::write(*FIni, Keys::Form::Y, outer.y());
}
