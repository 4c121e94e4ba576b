#pragma once

#include "exam/links/NoteWindowRequest.h"
#include "foundation/WindowLink.h"

class QWidget;

// Shows frmaddNote modally for the question on screen; the window stores the
// note itself. Returns when it closes.
struct AddNoteLink : WindowLink<AddNoteLink, void(const NoteWindowRequest& request, QWidget* owner)> {
    static constexpr const char* window = "Adding a note";
};
