#pragma once

#include <QString>

#include <functional>

class QWidget;
class TfrmMain;
class WindowHarness;

// Walks the main window and each of its dialogs for the tests that look at every control: what
// an inspection finds, over every page of the tab controls, one finding a line.
namespace WindowWalk {
using Inspection = std::function<QString(QWidget* shown)>;

// Operator mode on and a locked whisper line open, so every control the window has is shown.
void showEveryControl(TfrmMain* window);
// Inspects top, then each page of its tab controls in turn.
QString onEveryPage(QWidget* top, const Inspection& inspect);
// The "item" column and a row per dialog a menu item opens.
void addDialogRows();
// Opens the dialog of the menu item and inspects it on every page.
QString inDialog(WindowHarness& h, const QString& item, const Inspection& inspect);
// The connect-wait window, then, connected, the search window.
QString inConnectAndSearchWindows(WindowHarness& h, const Inspection& inspect);
} // namespace WindowWalk
