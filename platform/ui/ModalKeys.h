#pragma once

class QObject;
class QWidget;

// While a modal window is open, the keys of the windows behind it do
// nothing: no shortcut, menu key or button mnemonic of a blocked window
// runs its command, even when the desktop hands that window the keyboard
// (a click on it under a window manager). One filter on the application,
// installed once at start.
void BlockShortcutsBehindModalWindows();

// A shown modal window that blocks `window`, or null. Read from the
// windows themselves: a dialog run with exec() is not always in the
// application's list of modal windows by the time the desktop hands the
// keyboard to a window behind it.
const QWidget* modalWindowOver(const QWidget* window);

// The rule itself: true when a shortcut sent to `receiver` (a widget, an
// action or a shortcut object) belongs to a window that `modal` blocks.
// Without a modal window nothing is blocked; the modal window itself, the
// windows it owns and shortcuts of no window are left alone.
bool shortcutIsBlocked(const QObject* receiver, const QWidget* modal);
