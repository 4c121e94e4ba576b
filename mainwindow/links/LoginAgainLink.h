#pragma once

#include "foundation/WindowLink.h"

// Shows the login window as at the start: the login and password boxes
// editable, the password empty and no login done, so the user logs in
// again. A main window whose exam could not be loaded opens it.
struct LoginAgainLink : WindowLink<LoginAgainLink, void()> {
    static constexpr const char* window = "The login window";
};
