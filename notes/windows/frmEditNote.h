#pragma once

#include "foundation/ProgramEnd.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Edits the text of one note that the notes browser lists. The text is
// locked until Edit (or a key pressed in it) starts editing; Save stores it
// and refreshes the browser's list; Close (Escape, the title bar's close)
// with unsaved changes asks whether to save, discard them or go back.
class frmEditNote : public QDialog {
    Q_OBJECT
public:
    explicit frmEditNote(QWidget* owner = nullptr);

    // What the browser fills before it shows the window.
    struct Note {
        QString nodeText; // the browser's selected node
        QString examCode; // the exam logged into
        QString examPath; // the note's exam database
        qint64 noteId = 0;
        int questCode = 0;
        QString text; // as stored
    };
    void setNote(const Note& note);
    // Run after every save (the browser refreshes its list).
    void setRefresh(std::function<void()> refresh) { m_refresh = std::move(refresh); }

    QLabel* lblExamID;
    QLabel* lblCategory;
    QLabel* lblExamPath;
    QLineEdit* txtNoteID;
    QLineEdit* txtQuestion;
    QPlainTextEdit* txtNoteContents;
    QPushButton* cmdEdit;   // "&Edit"
    QPushButton* cmdSave;   // "&Save"
    QPushButton* cmdCancel; // "&Close"

    void cmdEdit_Click();
    void cmdSave_Click();
    void cmdCancel_Click();

    // Closes the window unless the user goes back to unsaved changes.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    // Unlocks the text for editing.
    void startEditing();
    // True when the text is stored.
    bool save();

    QString m_storedText; // the text as the store holds it, as the box shows it
    std::function<void()> m_refresh;
    // The program's end saves an unsaved edit as Save would.
    EndingSave m_endingSave{[this] { saveAtProgramEnd(); }};
    void saveAtProgramEnd();
};
