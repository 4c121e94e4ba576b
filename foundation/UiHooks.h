#pragma once

#include <QString>

class QObject;

// What the logic needs of the screen, so that it builds and runs without
// one. The window layer installs the real implementation at start; tests
// install a recording one.
class UiHooks {
public:
    virtual ~UiHooks() = default;
    // Shows the program's modal message box; returns the value for gMessage.gMsgResult
    // (the style itself when the box was closed without a button).
    virtual int messageBox(const QString& text, const QString& title, int style, QObject* owner) = 0;
    // Shows a page in the modal HTML message window.
    virtual void htmlMessage(const QString& page) = 0;
    // The hourglass pointer on or off. The state nests: every "on" needs its
    // own "off" (use BusyPointer rather than calling this directly).
    virtual void setBusy(bool busy) = 0;
    // Lets the window system handle pending events.
    virtual void processEvents() = 0;
};

// The hooks in force; before any are installed, a silent set that answers
// every message box as if it were closed.
UiHooks& uiHooks();
void installUiHooks(UiHooks* hooks);

// The hourglass for the life of the guard: on when made, off when it goes,
// so every way out of a scope, an exception included, switches it off once.
class BusyPointer {
public:
    BusyPointer() : m_hooks(uiHooks()) { m_hooks.setBusy(true); }
    ~BusyPointer() { m_hooks.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    UiHooks& m_hooks; // the same hooks get the "off" as got the "on"
};
