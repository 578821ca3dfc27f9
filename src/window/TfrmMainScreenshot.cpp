#include "window/TfrmMain.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <QWindow>

#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "tools/JpegWriter.h"
#include "tools/ScreenshotFiles.h"
#include "window/BottomStrip.h"
#include "window/TopStrip.h"

namespace {

// Platforms where a program may not read the screen (a Wayland session) or where there is no
// screen to read: the window paints itself into the picture instead.
bool screenGrabRefused()
{
    const QString platform = QGuiApplication::platformName();
    return platform.startsWith(QLatin1String("wayland")) ||
           platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

// The screenshot button and the games menu.
void TfrmMain::setupScreenshotGamesTray()
{
    connect(m_topStrip->btnScreen, &QToolButton::clicked, this,
            guard([this] { btnScreenClick(); }));
    const struct
    {
        const char* name;
        void (TfrmMain::*handler)();
    } games[] = {
        {"popGD2", &TfrmMain::popGD2Click},
        {"popGSC", &TfrmMain::popGSCClick},
        {"popGW3", &TfrmMain::popGW3Click},
        {"popGW3XP", &TfrmMain::popGW3XPClick},
    };
    for (const auto& game : games) {
        auto handler = game.handler;
        connect(popGames->findChild<QAction*>(QLatin1String(game.name)), &QAction::triggered, this,
                guard([this, handler] { (this->*handler)(); }));
    }
}

void TfrmMain::btnScreenClick()
{
    const QImage shot = capturaTela();
    if (Settings::read(*FIni, Keys::Geral::SalvarSS)) {
        const QString folder = Settings::read(*FIni, Keys::Geral::CaminhoSS);
        if (folder.isEmpty()) {
            m_prompts->errorBox(
                this,
                QStringLiteral("Você deve definir a pasta onde deve ser salva as screenshots!"));
        } else {
            salvaScreen(shot, ScreenshotFiles::numberedName(folder));
        }
    } else {
        // The dialog starts with an empty name each time; it asks before replacing a file.
        const QString name =
            m_prompts->saveFileName(this, QStringLiteral("Salvar screenshot"),
                                    QStringLiteral("Imagem JPG (*.jpg)"), nullptr, true);
        if (!name.isEmpty())
            salvaScreen(shot, name);
    }
    m_bottomStrip->txtMsg->setFocus();
}

QImage TfrmMain::capturaTela()
{
    const QRect frame = frameGeometry();
    QScreen* screen = windowHandle() ? windowHandle()->screen() : QGuiApplication::primaryScreen();
    QPixmap shot;
    if (screen && !screenGrabRefused()) {
        const QPoint at = frame.topLeft() - screen->geometry().topLeft();
        shot = screen->grabWindow(0, at.x(), at.y(), frame.width(), frame.height());
    }
    if (shot.isNull() || shot.size().isEmpty())
        shot = grab();
    return shot.toImage();
}

void TfrmMain::salvaScreen(const QImage& image, const QString& name)
{
    const QString file = ScreenshotFiles::withJpgExtension(name);
    JpegWriter writer;
    if (!writer.write(image, file)) {
        m_prompts->errorBox(this, QStringLiteral("Não foi possível salvar a screenshot %1: %2")
                                      .arg(QDir::toNativeSeparators(file), writer.errorString()));
    }
}
