#pragma once

#include "foundation/WindowLink.h"

// Shows the login window again as it was left (its list and login-done
// marker kept), with the current user handed back: the login and password
// boxes hold them and are read-only. The main window's "Change Exam" opens it.
struct LoginWindowLink : WindowLink<LoginWindowLink, void(const QString& login, const QString& password)> {
    static constexpr const char* window = "The login window";
};
