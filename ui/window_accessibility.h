#pragma once
// Our windows announce themselves to screen readers as windows.
//
// Why they do not by themselves: a window of ours is a class derived directly from QWidget,
// made top-level with the Qt::Window flag. Qt's accessibility factory picks an interface by
// class name, walking up the class chain; it has window roles only for QDialog (Dialog),
// QMainWindow (Window) and QMessageBox (AlertMessage). Our class is not known to it, so the
// walk reaches "QWidget", whose interface has the generic Client role whatever the widget's
// flags, and the AT-SPI bridge presents a Client as a "filler" panel. The window flag changes
// nothing there.
//
// The mend: a factory, asked before Qt's own, that gives a top-level window of ours (a class
// in namespace sw made straight from QWidget, with the Qt::Window flag) the generic interface
// with the Window role. Its
// name stays its title, its children and their states are untouched.

namespace sw {

// Installs the factory; calling it again does nothing. Call it before the first window of ours
// is shown (the interface of an object is made once and cached).
void announceWindowsAsWindows();

} // namespace sw
