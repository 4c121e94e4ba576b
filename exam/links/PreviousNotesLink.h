#pragma once

#include "exam/links/NoteWindowRequest.h"
#include "foundation/WindowLink.h"

class QWidget;

// Shows frmPreviousNotes modally with request.notesText, read-only. Returns
// when it closes.
struct PreviousNotesLink : WindowLink<PreviousNotesLink, void(const NoteWindowRequest& request, QWidget* owner)> {
    static constexpr const char* window = "The notes of this question";
};
