#pragma once

class QFrame;
class QLabel;
class QString;
class QWidget;
struct QuestionHeading;

// The question header of the note windows: the exam, category and chapter
// labels on a light grey panel, the chapter label framed by two lines and a
// shape.
struct NoteHeaderControls {
    QFrame* panel = nullptr;
    QLabel* lblExamID = nullptr; // design caption "Exam"
    QLabel* lblCategory = nullptr;
    QLabel* lblChapter = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QFrame* Shape1 = nullptr;
};

// Makes the controls on a panel named `panelName`, child of `parent`.
NoteHeaderControls buildNoteHeader(QWidget* parent, const QString& panelName);
// The panel's own background, RGB 239,239,239; set after the skin so the
// skin does not cover it.
void paintNoteHeaderPanel(const NoteHeaderControls& header);
// Shows the chapter frame, then fills the labels from the heading (both ""
// for a question not found) and hides the frame when the heading says so.
void showNoteHeading(const NoteHeaderControls& header, const QuestionHeading& heading);
void setChapterFrameVisible(const NoteHeaderControls& header, bool visible);
// Appends a caption suffix as given (" - " and a code); nothing for "".
void appendCaption(QLabel* label, const QString& suffix);
