#include "dialogs/Prompts.h"
#include "window/FirstFrameReport.h"
#include "window/TfrmMain.h"
#include "window/TulmoApplication.h"

int main(int argc, char** argv)
{
    TulmoApplication app(argc, argv);
    FirstFrameReport::installIfAsked(&app);
    QCoreApplication::setApplicationName(QStringLiteral("Tulmo Chat"));
    TulmoApplication::registerFonts();
    TulmoApplication::loadQtTranslation(&app);
    QtPrompts prompts;
    app.setPrompts(&prompts);

    TfrmMain window(QString(), &prompts);
    window.show();
    return app.exec();
}
