#pragma once

#include "exam/links/NoteWindowRequest.h"
#include "notes/windows/WidgetNoteHeader.h"

#include "foundation/ProgramEnd.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Adds a note of the exam's user to the question on screen. A fresh window
// for every opening, so its header shows that question; a successful save
// closes it, "Close" and the close box close it without saving.
class frmaddNote : public QDialog {
    Q_OBJECT
public:
    frmaddNote(const NoteWindowRequest& request, QWidget* owner = nullptr);

    // The exam window's entry: a new window for the request, its tag set,
    // lblExamID extended with " - " and the exam name and the header labels
    // with the request's suffixes, shown modally; returns when it closes.
    static void open(const NoteWindowRequest& request, QWidget* owner);

    // Header on Picture1.
    QFrame* Picture1;
    QLabel* lblExamID;
    QLabel* lblCategory;
    QLabel* lblChapter;
    QFrame* Line1; // the lines and shape that frame the chapter label
    QFrame* Line2;
    QFrame* Shape1;
    QPlainTextEdit* txtNoteContents;
    QPushButton* Command1;     // "Add Note"
    QPushButton* cmdPrevnotes; // "Previous Note"
    QPushButton* Command2;     // "Close"

    void Command1_Click();
    void Command2_Click();
    void cmdPrevnotes_Click();
    void txtNoteContents_DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    NoteHeaderControls m_header;
    void Form_Load();
    void getCategory(int questCode);
    // The user's earlier notes on the question; "" after a read error (shown).
    QString previousNotesText();

    NoteWindowRequest m_request;
    // The program's end saves the typed text as Add Note would.
    EndingSave m_endingSave{[this] { saveAtProgramEnd(); }};
    void saveAtProgramEnd();
};
