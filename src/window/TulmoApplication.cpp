#include "window/TulmoApplication.h"

#include <exception>

#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

#include "dialogs/Prompts.h"

TulmoApplication::TulmoApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TulmoApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (m_prompts)
            m_prompts->errorBox(activeWindow(), QString::fromUtf8(e.what()));
    }
    return false;
}

void TulmoApplication::registerFonts(const QString& wineFonts)
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    const QString tahoma = QStringLiteral("Tahoma");
    if (!QFontDatabase::families().contains(tahoma)) {
        for (const QString& file : {QStringLiteral("tahoma.ttf"), QStringLiteral("tahomabd.ttf")})
            QFontDatabase::addApplicationFont(wineFonts + QLatin1Char('/') + file);
    }
    const QString sans = QStringLiteral("DejaVu Sans");
    QFont::insertSubstitution(QStringLiteral("Verdana"), sans);
    if (!QFontDatabase::families().contains(tahoma))
        QFont::insertSubstitution(tahoma, sans);
    QFont::insertSubstitution(QStringLiteral("Trebuchet MS"), sans);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

bool TulmoApplication::loadQtTranslation(QCoreApplication* app)
{
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_pt_BR"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    app->installTranslator(translator);
    return true;
}
