#pragma once

#include "foundation/WindowLink.h"

// Unloads the main window for a change of exam (its ChangingExam set, so
// that unloading it ends nothing); the program goes on with the login
// window. The administration window uses it after an attach.
struct UnloadMainWindowLink : WindowLink<UnloadMainWindowLink, void()> {
    static constexpr const char* window = "The main window";
};
