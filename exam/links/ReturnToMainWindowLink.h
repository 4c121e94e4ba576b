#pragma once

#include "foundation/WindowLink.h"

// Shows the main window again as it was left; the exam window opens it once
// it has unloaded.
struct ReturnToMainWindowLink : WindowLink<ReturnToMainWindowLink, void()> {
    static constexpr const char* window = "The main window";
};
