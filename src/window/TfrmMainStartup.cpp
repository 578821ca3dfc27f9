#include "window/TfrmMain.h"

#include <algorithm>
#include <climits>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include "chat/TFastNicks.h"
#include "chat/UserListModel.h"
#include "net/TChatInterface.h"
#include "settings/NumberedList.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsLocation.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "window/Appearance.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/TComandos.h"
#include "window/TLockWhisps.h"
#include "window/TfrmConectar.h"
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
// Guards start-up against a count typed by hand that no file could hold.
constexpr int MaxSuspects = 100000;

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
    FComandos = std::make_unique<TComandos>(this);
    FLockWhisps = new TLockWhisps(this);
    FLogin = Settings::read(*FIni, Keys::Geral::Login);
    FSenha = Settings::read(*FIni, Keys::Geral::Senha);
    FOpMode = false;
    FSincIndex = 1;
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
    loadFavoriteChannels();

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

    const int suspects = std::min(NumberedList::suspectAccounts().count(*FIni), MaxSuspects);
    for (int i = 1; i <= suspects; ++i)
        new QTreeWidgetItem(m_userColumn->lstCustom, {Settings::read(*FIni, Keys::Lista::Acc(i)),
                                                      Settings::read(*FIni, Keys::Lista::Mot(i))});
    m_userColumn->lstCustom->header()->setStretchLastSection(false);
    m_userColumn->lstCustom->header()->setSectionResizeMode(0, QHeaderView::Stretch);

    m_trayIcon->startUp();

    ChatInterface1->Address = Settings::read(*FIni, Keys::Geral::Servidor);
    // Until the first connection the channel pane says how to make it.
    info(QStringLiteral("Para conectar a %1, clique em Conectar (Ctrl+N).")
             .arg(ChatInterface1->Address));

    FRespFrase = Settings::read(*FIni, Keys::Respostas::RespFrase);
    FRespWhisp = Settings::read(*FIni, Keys::Respostas::RespWhisp);
    FHorario = Settings::read(*FIni, Keys::Aparencia::HorarioMsg);

    int period = Settings::read(*FIni, Keys::Timers::STempo);
    if (period < MinSyncPeriod) {
        period = MinSyncPeriod;
        guarded([this] { Settings::write(*FIni, Keys::Timers::STempo, MinSyncPeriod); });
    }
    setSyncPeriod(period);

    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::joinCanal(QAction* item)
{
    QString name = item->text();
    name.remove(QLatin1Char('&'));
    sendLine(QStringLiteral("/join ") + name + QLatin1Char('\r'));
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
    guarded([this] { releaseNotepadFile(); });
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
