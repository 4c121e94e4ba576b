#include "notes/windows/frmEditNote.h"

#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/ProgramEnd.h"
#include "foundation/SharedState.h"
#include "foundation/UserWrite.h"
#include "foundation/windows/WidgetSkinning.h"
#include "notes/NoteStore.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void debugLine(const char* text)
{
    if (gStartup.gDebug == 1)
        WriteLog(QString::fromUtf8(text) + logDate());
}

QLabel* label(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* readOnlyBox(const QString& name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

} // namespace

frmEditNote::frmEditNote(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmEditNote"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    lblExamID = label(QStringLiteral("lblExamID"), this);
    lblCategory = label(QStringLiteral("lblCategory"), this);
    lblExamPath = label(QStringLiteral("lblExamPath"), this);
    lblExamPath->setWordWrap(true);
    txtNoteID = readOnlyBox(QStringLiteral("txtNoteID"), this);
    txtQuestion = readOnlyBox(QStringLiteral("txtQuestion"), this);
    txtNoteContents = new QPlainTextEdit(this);
    txtNoteContents->setObjectName(QStringLiteral("txtNoteContents"));
    txtNoteContents->setTabChangesFocus(true);
    txtNoteContents->setReadOnly(true);
    txtNoteContents->installEventFilter(this);

    cmdEdit = new QPushButton(QStringLiteral("&Edit"), this);
    cmdEdit->setObjectName(QStringLiteral("cmdEdit"));
    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setEnabled(false);
    cmdCancel = new QPushButton(QStringLiteral("&Close"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter belongs to the note text; no button takes it from there.
    for (QPushButton* button : {cmdEdit, cmdSave, cmdCancel})
        button->setAutoDefault(false);
    connect(cmdEdit, &QPushButton::clicked, this, &frmEditNote::cmdEdit_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmEditNote::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEditNote::cmdCancel_Click);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Exam:"), lblExamID);
    fields->addRow(QStringLiteral("Category:"), lblCategory);
    fields->addRow(QStringLiteral("Database:"), lblExamPath);
    fields->addRow(QStringLiteral("Note ID:"), txtNoteID);
    fields->addRow(QStringLiteral("Question:"), txtQuestion);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addLayout(fields);
    layout->addWidget(txtNoteContents, 1);
    layout->addLayout(buttons);
    resize(520, 420);

    Form_Load();
}

void frmEditNote::Form_Load()
{
    setWindowTitle(gLogin.gAppName + QStringLiteral(" - Edit Note"));
    skinWindow(this);
}

void frmEditNote::setNote(const Note& note)
{
    lblCategory->setText(note.nodeText);
    lblExamID->setText(note.examCode);
    lblExamPath->setText(note.examPath.trimmed());
    txtNoteID->setText(QString::number(note.noteId));
    txtQuestion->setText(QString::number(note.questCode));
    txtNoteContents->setPlainText(notestore::noteBoxText(note.text));
    m_storedText = txtNoteContents->toPlainText();
}

void frmEditNote::startEditing()
{
    cmdSave->setEnabled(true);
    cmdEdit->setEnabled(false);
    txtNoteContents->setReadOnly(false);
    txtNoteContents->setFocus();
}

void frmEditNote::cmdEdit_Click()
{
    startEditing();
}

void frmEditNote::cmdSave_Click()
{
    save();
}

bool frmEditNote::save()
{
    debugLine("Enter Save option :cmdSave_Click: FrmEditNote ");
    QString message;
    // The store makes the line breaks CR LF.
    // The one editing is the user logged in.
    const UserAccount account{gLogin.gUserCode.toInt(), gStartup.gSysConnStr};
    if (!notestore::updateNoteText(lblExamPath->text(), gStartup.gDbPassword, account, txtNoteID->text().toLongLong(),
                                   txtNoteContents->toPlainText(), message)) {
        // Nothing was stored: the text stays as typed and Save stays on.
        WriteLog(message + QStringLiteral(":cmdSave_Click:FrmEditNote:") + logDate());
        if (!programEnding())
            ShowMessage(message, gLogin.gAppName, OneButton, this);
        return false;
    }
    m_storedText = txtNoteContents->toPlainText();
    // The browser's list is not read again as the program ends.
    if (m_refresh && !programEnding())
        m_refresh();
    cmdSave->setEnabled(false);
    cmdEdit->setEnabled(true);
    debugLine("End of Save option :cmdSave_Click: FrmEditNote ");
    return true;
}

void frmEditNote::saveAtProgramEnd()
{
    if (txtNoteContents->toPlainText() != m_storedText)
        save();
}

void frmEditNote::cmdCancel_Click()
{
    reject();
}

void frmEditNote::reject()
{
    // As the program ends the edit has been saved, or its failure logged:
    // nobody is left to answer.
    if (txtNoteContents->toPlainText() != m_storedText && !programEnding()) {
        const short answer =
            ShowMessage(QStringLiteral("The note has changes that are not saved.\nSave them before the window closes?"),
                        gLogin.gAppName, SaveDiscardCancel, this);
        // A failed save keeps the window open with the text as typed.
        if (answer == ResultYes ? !save() : answer != ResultDiscard)
            return;
    }
    QDialog::reject();
}

bool frmEditNote::eventFilter(QObject* watched, QEvent* event)
{
    // Typing starts editing (also after a save), and the key goes on into
    // the unlocked text.
    if (watched == txtNoteContents && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && (txtNoteContents->isReadOnly() || !cmdSave->isEnabled()))
            startEditing();
    }
    return QDialog::eventFilter(watched, event);
}
