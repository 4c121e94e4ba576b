#include "results/windows/frmExamReview.h"

#include "exam/ExamSession.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/windows/WidgetSkinning.h"
#include "platform/ui/DefaultInstance.h"
#include "results/CategoryTable.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <utility>

namespace {

enum ReviewColumn { colNumber, colStatus, colCategory, colType, colMark, kColumns };

void debugLine(const QString& text)
{
    if (gStartup.gDebug == 1)
        WriteLog(text + logDate());
}

QColor statusColour(ReviewStatus status, const QColor& normal)
{
    switch (status) {
    case ReviewStatus::Correct:
        return QColor(0, 255, 0);
    case ReviewStatus::Wrong:
        return QColor(255, 0, 0);
    case ReviewStatus::NotAnswered:
        break;
    }
    return normal;
}

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

ReviewChoice frmExamReview::showReview(const ExamSession& session, QWidget* owner)
{
    frmExamReview& window = load(session, owner);
    window.exec();
    const ReviewChoice choice = window.m_choice;
    window.unload();
    return choice;
}

frmExamReview& frmExamReview::load(const ExamSession& session, QWidget* owner)
{
    // Loaded afresh at each opening.
    if (frmExamReview* previous = DefaultInstance<frmExamReview>::find())
        previous->unload();
    // The list comes up over the exam window: no unexpected activation.
    gGuard.gExamWindowActive = false;
    frmExamReview& window = DefaultInstance<frmExamReview>::get();
    if (owner)
        window.setParent(owner, window.windowFlags() | Qt::Dialog);
    window.Form_Load(session);
    return window;
}

frmExamReview* frmExamReview::loaded()
{
    return DefaultInstance<frmExamReview>::find();
}

frmExamReview::frmExamReview() : QDialog(nullptr)
{
    setObjectName(QStringLiteral("frmExamReview"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    grdQuestions = new QTableWidget(0, kColumns, this);
    grdQuestions->setObjectName(QStringLiteral("grdQuestions"));
    grdQuestions->setHorizontalHeaderLabels({QStringLiteral("Question"), QStringLiteral("Status"),
                                             QStringLiteral("Category"), QStringLiteral("Type"),
                                             QStringLiteral("Marked")});
    grdQuestions->setToolTip(QStringLiteral("Double click to review the question.."));
    grdQuestions->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdQuestions->setSelectionMode(QAbstractItemView::SingleSelection);
    grdQuestions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdQuestions->verticalHeader()->hide();
    grdQuestions->horizontalHeader()->setStretchLastSection(false);
    grdQuestions->horizontalHeader()->setSectionResizeMode(colCategory, QHeaderView::Stretch);
    connect(grdQuestions, &QTableWidget::cellDoubleClicked, this, [this] { GrdQuestions_DblClick(); });
    // The header row is no question.
    connect(grdQuestions->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this] { gotoRow(-1); });

    lblCorrect = new QLabel(QStringLiteral("A - Correct Answer"), this);
    lblCorrect->setObjectName(QStringLiteral("lblCorrect"));
    lblWrong = new QLabel(QStringLiteral("W - Wrong Answer"), this);
    lblWrong->setObjectName(QStringLiteral("lblWrong"));
    lblNotAnswered = new QLabel(QStringLiteral("N - Not Answered"), this);
    lblNotAnswered->setObjectName(QStringLiteral("lblNotAnswered"));
    CheckMarkedOnly = new QCheckBox(QStringLiteral("Marked Questions Only"), this);
    CheckMarkedOnly->setObjectName(QStringLiteral("CheckMarkedOnly"));
    CheckWrongAnswers = new QCheckBox(QStringLiteral("Wrong Answers  Only"), this);
    CheckWrongAnswers->setObjectName(QStringLiteral("CheckWrongAnswers"));
    connect(CheckMarkedOnly, &QCheckBox::clicked, this, &frmExamReview::FillReviewRsult);
    connect(CheckWrongAnswers, &QCheckBox::clicked, this, &frmExamReview::FillReviewRsult);

    cmdOK = new QPushButton(QStringLiteral("Close"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    connect(cmdOK, &QPushButton::clicked, this, &frmExamReview::cmdOK_Click);
    Command1 = new QPushButton(QStringLiteral("Goto Question"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmExamReview::GrdQuestions_DblClick);

    auto* legend = new QHBoxLayout;
    legend->addWidget(lblCorrect);
    legend->addWidget(lblWrong);
    legend->addWidget(lblNotAnswered);
    legend->addStretch();
    auto* filters = new QHBoxLayout;
    filters->addWidget(CheckMarkedOnly);
    filters->addWidget(CheckWrongAnswers);
    filters->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grdQuestions, 1);
    layout->addLayout(legend);
    layout->addLayout(filters);
    layout->addLayout(buttons);
    resize(620, 460);
}

void frmExamReview::Form_Load(const ExamSession& session)
{
    debugLine(QStringLiteral("Loading Form :form_load: frmExamReview "));
    m_session = &session;
    skinWindow(this);
    fitColumnsToTheirTitles();
    m_categoryFailed = false;
    try {
        m_exam = db::Connection::open(session.launch.gQuizConnStr);
    } catch (const std::exception& error) {
        reportError(error, QStringLiteral("form_load"));
        m_categoryFailed = true;
    }
    m_choice = ReviewChoice{};
    FillReviewRsult();
    Fill_Exam_Review();
    const ExamMode mode = session.launch.mode();
    CheckMarkedOnly->setVisible(mode == ExamMode::Test || mode == ExamMode::Simulated);
    setWindowTitle(gLogin.gAppTitle + QStringLiteral(" - Exam Review"));
    debugLine(QStringLiteral("Form Loaded:form_load: frmExamReview "));
}

void frmExamReview::fitColumnsToTheirTitles()
{
    // The design widths, widened where a title needs more in the font in use
    // (the skin's, applied just now).
    ensurePolished();
    QHeaderView* header = grdQuestions->horizontalHeader();
    const std::pair<int, int> designWidths[] = {{colNumber, 70}, {colStatus, 60}, {colType, 140}, {colMark, 60}};
    for (const auto& [column, width] : designWidths)
        grdQuestions->setColumnWidth(column, std::max(width, header->sectionSizeHint(column)));
}

void frmExamReview::FillReviewRsult()
{
    debugLine(QStringLiteral("Entering Fill Review Grid:FillReviewRsult: frmExamReview "));
    grdQuestions->setRowCount(0);
    if (!m_session)
        return;
    ReviewFilters filters;
    filters.markedOnly = CheckMarkedOnly->isChecked();
    filters.wrongOnly = CheckWrongAnswers->isChecked();
    const std::vector<ReviewRow> rows = reviewRows(m_session->msflex, m_session->QuestionsReached, filters,
                                                   [this](int questCode) { return categoryText(questCode); });
    grdQuestions->setRowCount(int(rows.size()));
    const QColor normal = grdQuestions->palette().color(QPalette::Text);
    for (int r = 0; r < int(rows.size()); ++r) {
        const ReviewRow& row = rows[size_t(r)];
        grdQuestions->setItem(r, colNumber, cell(QString::number(row.number)));
        QTableWidgetItem* status = cell(reviewStatusLetter(row.status));
        QFont bold = status->font();
        bold.setBold(true);
        status->setFont(bold);
        status->setForeground(statusColour(row.status, normal));
        grdQuestions->setItem(r, colStatus, status);
        grdQuestions->setItem(r, colCategory, cell(row.category));
        grdQuestions->setItem(r, colType, cell(row.typeName));
        grdQuestions->setItem(r, colMark, cell(row.marked ? QStringLiteral("M") : QString()));
    }
    debugLine(QStringLiteral("End of Fill Review Grid:FillReviewRsult: frmExamReview "));
}

void frmExamReview::Fill_Exam_Review()
{
    if (m_session)
        m_counts = reviewCounts(m_session->msflex, m_session->QuestionsReached);
}

QString frmExamReview::categoryText(int questCode)
{
    // One failure is told once; the rest of the list still fills, without
    // category texts.
    if (m_categoryFailed)
        return QString();
    try {
        CategoryTable table(m_exam);
        return table.description(table.questionCategory(questCode));
    } catch (const std::exception& error) {
        m_categoryFailed = true;
        reportError(error, QStringLiteral("FillReviewRsult"));
        return QString();
    }
}

void frmExamReview::reportError(const std::exception& error, const QString& procedure)
{
    WriteLog(QString::fromUtf8(error.what()) + QLatin1Char(':') + procedure + QStringLiteral(": frmExamReview: Date/Time :")
             + logDateTime());
    const QString path = m_session ? db::Connection::pathFromConnectionString(m_session->launch.gQuizConnStr) : QString();
    ShowMessage(commandFailureText(QStringLiteral("The categories of the review list could not be read."),
                                   DatabaseFile::exam(path), error),
                gLogin.gAppName, OneButton, this);
}

void frmExamReview::GrdQuestions_DblClick()
{
    const QModelIndexList selected = grdQuestions->selectionModel()->selectedRows();
    gotoRow(selected.isEmpty() ? -1 : selected.first().row());
}

void frmExamReview::gotoRow(int row)
{
    if (row >= 0 && row < grdQuestions->rowCount() && grdQuestions->item(row, colNumber)) {
        m_choice.goTo = true;
        m_choice.questionNo = grdQuestions->item(row, colNumber)->text().toInt();
        accept();
        return;
    }
    debugLine(QStringLiteral("Please choose a question to display.:GrdQuestions_DblClick:FrmExamReview "));
    ShowMessage(
        QStringLiteral("Please choose a question to display.\r\nSelection does not appear in current question list."),
        gLogin.gAppName, OneButton, this);
}

void frmExamReview::cmdOK_Click()
{
    // With the exam passed, closing the list ends the exam: the exam window
    // closes itself once this modal call has returned.
    if (m_session && m_session->ExamPassed)
        m_choice.endExam = true;
    accept();
}

void frmExamReview::unload()
{
    hide();
    m_exam.close();
    m_session = nullptr;
    DefaultInstance<frmExamReview>::discard(this);
}
