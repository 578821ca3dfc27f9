// The least a Qt window like ours costs at start: a main window with a toolbar, a text edit, a
// list and a line edit, the baseline of bench_start.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QSplitter>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include "window/FirstFrameReport.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    FirstFrameReport::installIfAsked(&app);

    QMainWindow window;
    QToolBar* toolbar = window.addToolBar(QStringLiteral("Barra"));
    toolbar->addAction(QStringLiteral("Conectar"));
    toolbar->addAction(QStringLiteral("Opções"));

    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->addWidget(new QTextEdit(splitter));
    splitter->addWidget(new QListWidget(splitter));
    layout->addWidget(splitter, 1);
    layout->addWidget(new QLineEdit(central));
    window.setCentralWidget(central);

    window.resize(700, 600);
    window.show();
    return app.exec();
}
