#pragma once

#include "foundation/WindowLink.h"

// Loads the main window if needed, shows the chosen exam's name in it and
// shows it (not modally). The login window opens it after a login.
struct MainWindowLink : WindowLink<MainWindowLink, void(const QString& examDescription)> {
    static constexpr const char* window = "The main window";
};
