#include "notes/windows/WidgetNoteHeader.h"

#include "notes/QuestionHeading.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

namespace {

QLabel* headerLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    // Names from the database are data: no mark-up, no accelerators.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QFrame* line(QWidget* parent, const char* name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

} // namespace

NoteHeaderControls buildNoteHeader(QWidget* parent, const QString& panelName)
{
    NoteHeaderControls h;
    h.panel = new QFrame(parent);
    h.panel->setObjectName(panelName);
    h.panel->setFrameShape(QFrame::StyledPanel);
    h.lblExamID = headerLabel(h.panel, "lblExamID", QStringLiteral("Exam"));
    QFont bold = h.lblExamID->font();
    bold.setBold(true);
    h.lblExamID->setFont(bold);
    h.lblCategory = headerLabel(h.panel, "lblCategory", QString());
    h.lblChapter = headerLabel(h.panel, "lblChapter", QString());
    h.Line1 = line(h.panel, "Line1");
    h.Line2 = line(h.panel, "Line2");
    h.Shape1 = new QFrame(h.panel);
    h.Shape1->setObjectName(QStringLiteral("Shape1"));
    h.Shape1->setFrameShape(QFrame::Box);
    h.Shape1->setFixedSize(8, 8);

    auto* grid = new QGridLayout(h.panel);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->addWidget(h.lblExamID, 0, 0, 1, 2);
    grid->addWidget(h.lblCategory, 1, 0, 1, 2);
    grid->addWidget(h.Line1, 2, 0, 1, 2);
    grid->addWidget(h.Shape1, 3, 0, Qt::AlignVCenter);
    grid->addWidget(h.lblChapter, 3, 1);
    grid->addWidget(h.Line2, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return h;
}

void paintNoteHeaderPanel(const NoteHeaderControls& header)
{
    header.panel->setStyleSheet(
        QStringLiteral("QFrame#%1 { background-color: rgb(239, 239, 239); }").arg(header.panel->objectName()));
}

void showNoteHeading(const NoteHeaderControls& header, const QuestionHeading& heading)
{
    setChapterFrameVisible(header, true);
    header.lblCategory->setText(heading.category);
    header.lblChapter->setText(heading.chapter);
    if (!heading.chapterFrameShown())
        setChapterFrameVisible(header, false);
}

void setChapterFrameVisible(const NoteHeaderControls& header, bool visible)
{
    // Hidden, the lines keep their place, so the header does not jump.
    for (QFrame* frame : {header.Line1, header.Line2, header.Shape1}) {
        QSizePolicy policy = frame->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        frame->setSizePolicy(policy);
        frame->setVisible(visible);
    }
}

void appendCaption(QLabel* label, const QString& suffix)
{
    if (!suffix.isEmpty())
        label->setText(label->text() + suffix);
}
