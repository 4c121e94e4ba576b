#include "notes/windows/frmPreviousNotes.h"

#include "foundation/DebugLog.h"
#include "foundation/WindowTag.h"
#include "foundation/windows/WidgetSkinning.h"
#include "notes/NoteStore.h"
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

frmPreviousNotes::frmPreviousNotes(const NoteWindowRequest& request, QWidget* owner) : QDialog(owner)
{
    buildControls();
    Form_Load(request);
}

void frmPreviousNotes::buildControls()
{
    setObjectName(QStringLiteral("frmPreviousNotes"));
    setWindowTitle(QStringLiteral("Notes for this question"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    m_header = buildNoteHeader(this, QStringLiteral("Picture2"));
    Picture2 = m_header.panel;
    lblExamID = m_header.lblExamID;
    lblCategory = m_header.lblCategory;
    lblChapter = m_header.lblChapter;
    Line1 = m_header.Line1;
    Line2 = m_header.Line2;
    Shape1 = m_header.Shape1;

    txtDisp = new QPlainTextEdit(this);
    txtDisp->setObjectName(QStringLiteral("txtDisp"));
    txtDisp->setTabChangesFocus(true);
    txtDisp->viewport()->installEventFilter(this);

    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmPreviousNotes::Command1_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(Picture2);
    layout->addWidget(txtDisp, 1);
    layout->addLayout(buttons);
    resize(480, 360);
}

void frmPreviousNotes::Form_Load(const NoteWindowRequest& request)
{
    getCategory(request.launch.gQuizConnStr, request.questCode);
    skinWindow(this);
    paintNoteHeaderPanel(m_header);
}

void frmPreviousNotes::getCategory(const QString& examConnStr, int questCode)
{
    setChapterFrameVisible(m_header, true);
    try {
        showNoteHeading(m_header, notestore::getCategory(examConnStr, questCode, false));
    } catch (const db::DbError& error) {
        // The header stays empty; the notes are shown all the same.
        WriteLog(error.message() + QStringLiteral(":getCategory:frmPreviousNotes: ") + logDateTime());
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(":getCategory:frmPreviousNotes: ") + logDateTime());
    }
}

void frmPreviousNotes::open(const NoteWindowRequest& request, QWidget* owner)
{
    // On the heap: an owner that goes while the window is open takes it along.
    QPointer<frmPreviousNotes> window = new frmPreviousNotes(request, owner);
    window->txtDisp->setReadOnly(true);
    setWindowTag(window, request.tag);
    window->lblExamID->setText(window->lblExamID->text() + QStringLiteral(" - ") + request.examName);
    window->setNotesText(request.notesText);
    window->exec();
    if (window)
        setWindowTag(window, QString());
    delete window.data();
}

void frmPreviousNotes::setNotesText(const QString& text)
{
    txtDisp->setPlainText(notestore::noteBoxText(text));
}

void frmPreviousNotes::Command1_Click()
{
    accept();
}

void frmPreviousNotes::txtDisp_DblClick()
{
    accept();
}

bool frmPreviousNotes::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtDisp->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // Closed once the box has handled the click, never under it.
        QMetaObject::invokeMethod(this, &frmPreviousNotes::txtDisp_DblClick, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}
