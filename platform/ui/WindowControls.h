#pragma once

class QWidget;

// Takes the close command away from a window's title bar. Closing requests
// that still arrive (the keyboard, the desktop) reach the window's close
// handler, which decides.
void DisableCloseMenu(QWidget* window);

// Esc closes the window wherever its focus is, a page of a browser view
// included (the page keeps the key to itself otherwise): a dialog is
// rejected (its own reject() decides), any other window is asked to close.
void CloseOnEscape(QWidget* window);
