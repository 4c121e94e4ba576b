#pragma once

#include <QString>
#include <array>

// The answer hot key the administrator chooses and its switch, kept in the
// settings store (section "Settings": "HotKey" the key code as decimal text,
// "CheatKeyEnabled" "True" or "False") and in gAdmin, which the next exam
// launch copies.
struct HotKeyChoice {
    const char* name;
    int keyCode;
};
// The choices in list order.
const std::array<HotKeyChoice, 7>& hotKeyChoices();
// The list index of a key code, -1 when it is none of the choices.
int hotKeyIndex(int keyCode);

// Stores the key of a list entry and keeps it in gAdmin.gHotKey; an index
// outside the list changes nothing. False when the store failed.
bool saveHotKey(int index);
// Stores the switch and keeps it in gAdmin.gCheatKeyEnabled. False when the
// store failed.
bool saveCheatKeyEnabled(bool enabled);

// Puts the stored choice back into gAdmin at start. A stored key that is
// none of the choices reads as no key, and the switch is then off: an exam
// launched with the switch on needs a key.
void readBackHotKey();
