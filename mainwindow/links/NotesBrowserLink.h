#pragma once

#include "foundation/WindowLink.h"

class QWidget;

// Opens the notes browser frmViewNote modally over the main window; returns when it closes.
struct NotesBrowserLink : WindowLink<NotesBrowserLink, void(QWidget* owner)> {
    static constexpr const char* window = "Notes";
};
