#pragma once

#include "exam/links/NoteWindowRequest.h"
#include "notes/windows/WidgetNoteHeader.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Shows the user's earlier notes on the question on screen; it only shows
// them. "&Close" and a double-click in the text close it. Its opener fills
// the text; the window reads only the question's header.
class frmPreviousNotes : public QDialog {
    Q_OBJECT
public:
    // Loads the header of request.questCode from the request's exam.
    frmPreviousNotes(const NoteWindowRequest& request, QWidget* owner = nullptr);

    // The exam window's entry: a new window for the request, the text
    // read-only and set to request.notesText, its tag set, lblExamID extended
    // with " - " and the exam name, shown modally; returns when it closes.
    static void open(const NoteWindowRequest& request, QWidget* owner);

    // The earlier-notes text (line breaks as stored, CR LF).
    void setNotesText(const QString& text);

    QFrame* Picture2;
    QLabel* lblExamID;
    QLabel* lblCategory;
    QLabel* lblChapter;
    QFrame* Line1;
    QFrame* Line2;
    QFrame* Shape1;
    QPlainTextEdit* txtDisp;
    QPushButton* Command1; // "&Close"

    void Command1_Click();
    void txtDisp_DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    NoteHeaderControls m_header;
    void Form_Load(const NoteWindowRequest& request);
    void getCategory(const QString& examConnStr, int questCode);
};
