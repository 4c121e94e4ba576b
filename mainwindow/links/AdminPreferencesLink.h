#pragma once

#include "foundation/WindowLink.h"

class QWidget;

// Opens the administration window frmAdminPref modally over the main window; returns when it closes.
struct AdminPreferencesLink : WindowLink<AdminPreferencesLink, void(QWidget* owner)> {
    static constexpr const char* window = "Admin Preferences";
};
