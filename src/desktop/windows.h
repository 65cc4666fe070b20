// The program's two windows. Each is made in its own folder (the main window in mainwindow/, the
// plot window in plotview/); main.cpp makes both through these functions and connects them, so
// that no file of this folder includes either window's class.
#pragma once

#include <QStringList>
#include <memory>

class QMainWindow;

namespace tarvik::desktop {

class Dialogs;
class PlotWindow;

// The plot window: its own top-level window, hidden until the main window shows it.
std::unique_ptr<PlotWindow> makePlotWindow(Dialogs& dialogs);

// The main window, scanning into plotWindow, which must outlive it. arguments: the command line
// after the program's name.
std::unique_ptr<QMainWindow> makeMainWindow(Dialogs& dialogs, PlotWindow& plotWindow, const QStringList& arguments);

}  // namespace tarvik::desktop
