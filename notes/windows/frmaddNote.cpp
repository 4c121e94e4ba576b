#include "notes/windows/frmaddNote.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/UserWrite.h"
#include "foundation/WindowTag.h"
#include "foundation/windows/WidgetSkinning.h"
#include "notes/NoteStore.h"
#include "notes/windows/frmPreviousNotes.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

namespace {

void debugLine(const char* text)
{
    if (gStartup.gDebug == 1)
        WriteLog(QString::fromUtf8(text) + logDate());
}

QString describe(const std::exception& error)
{
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error))
        return dbError->message();
    return QString::fromUtf8(error.what());
}

} // namespace

frmaddNote::frmaddNote(const NoteWindowRequest& request, QWidget* owner) : QDialog(owner), m_request(request)
{
    buildControls();
    Form_Load();
}

void frmaddNote::buildControls()
{
    setObjectName(QStringLiteral("frmaddNote"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    m_header = buildNoteHeader(this, QStringLiteral("Picture1"));
    Picture1 = m_header.panel;
    lblExamID = m_header.lblExamID;
    lblCategory = m_header.lblCategory;
    lblChapter = m_header.lblChapter;
    Line1 = m_header.Line1;
    Line2 = m_header.Line2;
    Shape1 = m_header.Shape1;

    txtNoteContents = new QPlainTextEdit(this);
    txtNoteContents->setObjectName(QStringLiteral("txtNoteContents"));
    txtNoteContents->setTabChangesFocus(true);
    txtNoteContents->viewport()->installEventFilter(this);

    Command1 = new QPushButton(QStringLiteral("Add Note"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    cmdPrevnotes = new QPushButton(QStringLiteral("Previous Note"), this);
    cmdPrevnotes->setObjectName(QStringLiteral("cmdPrevnotes"));
    Command2 = new QPushButton(QStringLiteral("Close"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    // Enter belongs to the note text; no button takes it from there.
    for (QPushButton* button : {Command1, cmdPrevnotes, Command2})
        button->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmaddNote::Command1_Click);
    connect(cmdPrevnotes, &QPushButton::clicked, this, &frmaddNote::cmdPrevnotes_Click);
    connect(Command2, &QPushButton::clicked, this, &frmaddNote::Command2_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPrevnotes);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(Picture1);
    layout->addWidget(txtNoteContents, 1);
    layout->addLayout(buttons);
    resize(480, 360);
    txtNoteContents->setFocus();
}

void frmaddNote::Form_Load()
{
    debugLine("Loading....:Form_Load:frmAddNote");
    setWindowTitle(m_request.launch.gAppTitle);
    getCategory(m_request.questCode);
    skinWindow(this);
    paintNoteHeaderPanel(m_header);
    debugLine("Got Catagories and Skinning form....:Form_Load:frmAddNote");
}

void frmaddNote::getCategory(int questCode)
{
    setChapterFrameVisible(m_header, true);
    try {
        showNoteHeading(m_header, notestore::getCategory(m_request.launch.gQuizConnStr, questCode, true));
    } catch (const std::exception& error) {
        // The header stays empty; the note can still be written.
        WriteLog(describe(error) + QStringLiteral(":getCategory:frmAddNote: ") + logDateTime());
    }
}

void frmaddNote::open(const NoteWindowRequest& request, QWidget* owner)
{
    // On the heap: an owner that goes while the window is open takes it along.
    QPointer<frmaddNote> window = new frmaddNote(request, owner);
    setWindowTag(window, request.tag);
    window->lblExamID->setText(window->lblExamID->text() + QStringLiteral(" - ") + request.examName);
    appendCaption(window->lblCategory, request.categorySuffix);
    appendCaption(window->lblChapter, request.chapterSuffix);
    window->exec();
    if (window) {
        setWindowTag(window, QString());
        delete window.data();
    }
}

void frmaddNote::Command1_Click()
{
    debugLine("Entering Save note:Command1_Click:frmAddNote");
    QString message;
    const UserAccount account{m_request.launch.gQuizUserCode, m_request.launch.gQuizSysConnStr};
    if (notestore::SaveNote(m_request.launch.gQuizConnStr, account, m_request.questCode, txtNoteContents->toPlainText(),
                            QDate::currentDate(), message)) {
        accept();
        return;
    }
    debugLine("Save failed:Command1_Click:frmAddNote");
    if (!message.isEmpty()) {
        if (gStartup.gDebug == 1)
            WriteLog(message);
        ShowMessage(message, gLogin.gAppName, OneButton, this);
    }
}

void frmaddNote::saveAtProgramEnd()
{
    // Nobody is left to be told: an empty box saves nothing, a failure is
    // logged by the store.
    const QString text = txtNoteContents->toPlainText();
    if (text.trimmed().isEmpty())
        return;
    QString message;
    const UserAccount account{m_request.launch.gQuizUserCode, m_request.launch.gQuizSysConnStr};
    if (!notestore::SaveNote(m_request.launch.gQuizConnStr, account, m_request.questCode, text, QDate::currentDate(),
                             message))
        WriteLog(message + QStringLiteral(":saveAtProgramEnd:frmAddNote: ") + logDateTime());
    else
        txtNoteContents->clear();
}

void frmaddNote::Command2_Click()
{
    debugLine("Unloading....:Command2_Click:frmAddNote");
    reject();
}

void frmaddNote::cmdPrevnotes_Click()
{
    debugLine("Preview Note clicked:cmdPrevNotes_Click:frmAddNote");
    QPointer<frmPreviousNotes> window = new frmPreviousNotes(m_request, this);
    setWindowTag(window, QStringLiteral("L"));
    window->txtDisp->setReadOnly(true);
    window->setWindowTitle(QStringLiteral("Previous Notes for this questions"));
    debugLine("Setting data:cmdPrevNotes_Click:frmAddNote");
    window->setNotesText(previousNotesText());
    window->exec();
    if (window)
        setWindowTag(window, QString());
    delete window.data();
    debugLine("unloading Previous notes:cmdPrevNotes_Click:frmAddNote");
}

void frmaddNote::txtNoteContents_DblClick()
{
    debugLine("Dopuble clicking on the TextBox :txtNoteContents_DblClick:frmAddNote");
    QPointer<frmPreviousNotes> window = new frmPreviousNotes(m_request, this);
    window->setNotesText(previousNotesText());
    window->exec();
    delete window.data();
}

QString frmaddNote::previousNotesText()
{
    try {
        return notestore::AnyNotesForThisQuestion(m_request.launch.gQuizConnStr, m_request.launch.gQuizUserCode,
                                                  m_request.questCode);
    } catch (const std::exception& error) {
        // The read has no handling of its own: logged and shown, and the
        // window shows no notes.
        const QString description = describe(error);
        WriteLog(description + QStringLiteral(":AnyNotesForThisQuestion:frmAddNote: ") + logDateTime());
        ShowMessage(commandFailureText(QStringLiteral("The earlier notes of this question could not be read."),
                                       DatabaseFile::exam(db::Connection::pathFromConnectionString(
                                           m_request.launch.gQuizConnStr)),
                                       error),
                    gLogin.gAppName, OneButton, this);
        return QString();
    }
}

bool frmaddNote::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtNoteContents->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // After the box's own handling (the word under the pointer selected).
        QMetaObject::invokeMethod(this, &frmaddNote::txtNoteContents_DblClick, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}
