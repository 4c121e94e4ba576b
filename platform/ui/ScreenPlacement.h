#pragma once

#include <QRect>

class QWidget;

// Every window opens whole on the screen's available area (the screen less
// the desktop's panels), its title bar and frame included.

// Where a window's frame goes: the same rectangle when it lies within the
// available area; otherwise shrunk to the area where it is larger, then
// moved the least way into it.
QRect placedOnScreen(const QRect& frame, const QRect& available);

// Moves (and where it must, shrinks) one window's frame into the available
// area of its screen. Maximised, full-screen and minimised windows are left
// alone.
void keepWindowOnScreen(QWidget* window);

// Watches the whole program: each window, whenever it is shown, is kept on
// its screen until the window system has framed and placed it. Windows
// moved later by the user stay where the user puts them.
void KeepWindowsOnScreen();
