#pragma once

#include "foundation/ExamMode.h"

// The exam window's keyboard: Enter moves on, and in practice the answer
// hot key chosen by the administrator shows the answer. The window sees the
// keys before the control or page that has the focus.

// The key of a stored hot-key code (112 F1, 144 Num Lock, 145 Scroll Lock,
// 33 Page Up, 34 Page Down, 113 F2, 114 F3); 0 for any other code.
int hotKeyOf(int keyCode);

// What the window knows when a key comes.
struct KeyContext {
    ExamMode mode = ExamMode::Other;
    int questType = 0;             // gQuestType; 2 is an essay
    bool alertShown = false;       // the practice alert panel is up
    bool paused = false;           // "Take a break" is ticked
    bool markedPanelShown = false; // the marked-questions panel is open
    bool cheatKeyEnabled = false;  // gQuizCheatKeyEnabled
    int hotKeyCode = 0;            // gQuizHotKey, a stored code
};

enum class KeyCommand {
    None,
    Next,             // lower the alert panel and run Next
    ShowAnswer,       // run Show Answer
    CloseMarkedPanel, // close the marked-questions panel (its Close button)
};

struct KeyDecision {
    KeyCommand command = KeyCommand::None;
    bool consumed = false; // the control or page with the focus never sees the key
};

// The decision for one key press (a Qt key). Enter (Return or Enter) in an
// essay is the page's own line break; elsewhere the window takes it, and it
// moves on except during a break or with the marked panel open. The hot key
// works in practice only, with the hot key switched on and no alert panel.
// Escape closes the marked-questions panel when it is open.
KeyDecision examKeyDown(int key, const KeyContext& context);
