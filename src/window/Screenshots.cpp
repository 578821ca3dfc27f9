#include "window/Screenshots.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "tools/JpegWriter.h"
#include "tools/ScreenshotFiles.h"
#include "window/WindowContext.h"

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

Screenshots::Screenshots(WindowContext& ctx, QWidget* window, QToolButton* btnScreen,
                         QObject* parent)
    : QObject(parent), m_ctx(ctx), m_window(window)
{
    setObjectName(QStringLiteral("Screenshots"));
    connect(btnScreen, &QToolButton::clicked, this, m_ctx.guard([this] { btnScreenClick(); }));
}

void Screenshots::btnScreenClick()
{
    const QImage shot = capturaTela();
    if (Settings::read(*m_ctx.settings(), Keys::Geral::SalvarSS)) {
        const QString folder = Settings::read(*m_ctx.settings(), Keys::Geral::CaminhoSS);
        if (folder.isEmpty()) {
            m_ctx.prompts().errorBox(
                m_ctx.dialogParent(),
                QStringLiteral("Você deve definir a pasta onde deve ser salva as screenshots!"));
        } else {
            salvaScreen(shot, ScreenshotFiles::numberedName(folder));
        }
    } else {
        // The dialog starts with an empty name each time; it asks before replacing a file.
        const QString name =
            m_ctx.prompts().saveFileName(m_ctx.dialogParent(), QStringLiteral("Salvar screenshot"),
                                         QStringLiteral("Imagem JPG (*.jpg)"), nullptr, true);
        if (!name.isEmpty())
            salvaScreen(shot, name);
    }
    m_ctx.focusInputLine();
}

QImage Screenshots::capturaTela()
{
    const QRect frame = m_window->frameGeometry();
    QScreen* screen = m_window->windowHandle() ? m_window->windowHandle()->screen()
                                               : QGuiApplication::primaryScreen();
    QPixmap shot;
    if (screen && !screenGrabRefused()) {
        const QPoint at = frame.topLeft() - screen->geometry().topLeft();
        shot = screen->grabWindow(0, at.x(), at.y(), frame.width(), frame.height());
    }
    if (shot.isNull() || shot.size().isEmpty())
        shot = m_window->grab();
    return shot.toImage();
}

void Screenshots::salvaScreen(const QImage& image, const QString& name)
{
    const QString file = ScreenshotFiles::withJpgExtension(name);
    JpegWriter writer;
    if (!writer.write(image, file)) {
        m_ctx.prompts().errorBox(m_ctx.dialogParent(),
                                 QStringLiteral("Não foi possível salvar a screenshot %1: %2")
                                     .arg(QDir::toNativeSeparators(file), writer.errorString()));
    }
}
