#pragma once

#include <QString>

class QObject;

// What the logic needs of the screen, so that it builds and runs without
// one. The window layer installs the real implementation at start; tests
// install a recording one.
class UiHooks {
public:
    virtual ~UiHooks() = default;
    // Shows the program's modal message box; returns the value for gMsgResult
    // (the style itself when the box was closed without a button).
    virtual int messageBox(const QString& text, const QString& title, int style, QObject* owner) = 0;
    // Shows a page in the modal HTML message window.
    virtual void htmlMessage(const QString& page) = 0;
    // The hourglass pointer on or off.
    virtual void setBusy(bool busy) = 0;
    // Lets the window system handle pending events.
    virtual void processEvents() = 0;
};

// The hooks in force; before any are installed, a silent set that answers
// every message box as if it were closed.
UiHooks& uiHooks();
void installUiHooks(UiHooks* hooks);
