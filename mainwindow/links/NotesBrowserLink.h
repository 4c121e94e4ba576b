#pragma once

#include "foundation/WindowLink.h"

#include <QString>

class QWidget;

// Opens the notes browser frmViewNote modally over the main window; returns
// when it closes. Its Export Notes prints in printFontFace, the main
// window's question font.
struct NotesBrowserLink : WindowLink<NotesBrowserLink, void(QWidget* owner, const QString& printFontFace)> {
    static constexpr const char* window = "Notes";
};
