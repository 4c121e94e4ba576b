#pragma once

class QObject;
class QKeyEvent;

// Enter and Return press the focused push button in every window of the
// program, as Space does: one filter on the application, installed once at
// start. Only a push button that the key is sent to (the one with the focus)
// is pressed, once per key press (a held key repeats nothing). A line edit,
// a multi-line editor, a list or any other control keeps its own Enter; in
// a dialog the focused button is pressed, not the default one, as Qt's own
// dialogs do for their auto-default buttons. A window's own keys come first:
// a shortcut, or a filter the window installs on the application later
// (the exam window's Enter moves on to the next question).
void PressFocusedButtonsWithEnter();

// The rule itself: true when the key press sent to `receiver` presses it
// (and is used up). A disabled or hidden button, a key with Shift, Ctrl or
// Alt, or any other key is left alone.
bool pressesButton(QObject* receiver, const QKeyEvent& key);
