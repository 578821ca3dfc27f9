#pragma once

#include <QObject>

class QImage;
class QString;
class QToolButton;
class QWidget;
class WindowContext;

// The screenshot button: a picture of the window, saved as a numbered file in the folder the
// settings name or under a name the user chooses. Owns only the handler; reads the window's
// frame and touches the settings and the prompts through the window.
class Screenshots final : public QObject
{
    Q_OBJECT
public:
    // window: the window the picture shows; btnScreen: the toolbar's button. Neither is owned.
    Screenshots(WindowContext& ctx, QWidget* window, QToolButton* btnScreen, QObject* parent);

    void btnScreenClick();

private:
    // The screen area of the window's frame, as the screen shows it.
    QImage capturaTela();
    void salvaScreen(const QImage& image, const QString& name);

    WindowContext& m_ctx;
    QWidget* m_window = nullptr;
};
