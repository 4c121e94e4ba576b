#pragma once

class QWidget;

// Takes the close command away from a window's title bar. Closing requests
// that still arrive (the keyboard, the desktop) reach the window's close
// handler, which decides.
void DisableCloseMenu(QWidget* window);
