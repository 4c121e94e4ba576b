// The attach panel of the administration window: attaching exam databases
// from any folder, the rights to an attached exam, and detaching.
#include "admin/AdminTexts.h"
#include "admin/ExamAttach.h"
#include "admin/ExamRights.h"
#include "admin/UserLists.h"
#include "admin/windows/frmAdminPref.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "foundation/UiHooks.h"
#include "foundation/windows/frmDBSel.h"
#include "platform/ui/WholeTextTips.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* shownBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    ShowWholeTextTip(box);
    return box;
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QTreeWidgetItem* itemWithCode(QTreeWidget* list, const QString& code)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0).trimmed() == code.trimmed())
            return list->topLevelItem(i);
    return nullptr;
}

void setTick(QTreeWidgetItem* item, bool ticked)
{
    const QSignalBlocker block(item->treeWidget());
    item->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

void debugStep(const QString& step, const char* procedure)
{
    if (gStartup.gDebug == 1)
        WriteLog(step + QStringLiteral(" : ") + QLatin1String(procedure) + QStringLiteral(" : frmAdminPref ")
                 + logDate());
}

} // namespace

void frmAdminPref::buildAttachPanel()
{
    Command11 = button(QStringLiteral("&Browse"), "Command11", fraAttachExam);
    txtNewDataPath = shownBox("txtNewDataPath", fraAttachExam);
    lblExamCode = shownBox("lblExamCode", fraAttachExam);
    lblExamDesc = shownBox("lblExamDesc", fraAttachExam);

    PicAttach = new QFrame(fraAttachExam);
    PicAttach->setObjectName(QStringLiteral("PicAttach"));
    PicAttach->setFrameShape(QFrame::Box);
    auto* warning = new QLabel(QString::fromLatin1(adminText::IncompleteExam), PicAttach);
    warning->setObjectName(QStringLiteral("lblAttachWarning"));
    warning->setWordWrap(true);
    warning->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* warningLayout = new QVBoxLayout(PicAttach);
    warningLayout->addWidget(warning);
    PicAttach->hide();

    auto* details = new QGridLayout;
    details->addWidget(new QLabel(QStringLiteral("Exam DB"), fraAttachExam), 0, 0);
    details->addWidget(txtNewDataPath, 0, 1);
    details->addWidget(Command11, 0, 2);
    details->addWidget(new QLabel(QStringLiteral("Exam Code"), fraAttachExam), 1, 0);
    details->addWidget(lblExamCode, 1, 1);
    details->addWidget(new QLabel(QStringLiteral("Description"), fraAttachExam), 2, 0);
    details->addWidget(lblExamDesc, 2, 1);
    details->addWidget(PicAttach, 3, 0, 1, 3);

    grdUserList = new QTreeView(fraAttachExam);
    grdUserList->setObjectName(QStringLiteral("grdUserList"));
    m_userTicks = new UserTickModel([this]() -> db::Connection& { return connection(); }, logListRead("RefillUserList"),
                                    grdUserList);
    grdUserList->setModel(m_userTicks);
    grdUserList->setRootIsDecorated(false);
    // One row height for all: the list never measures rows it does not show.
    grdUserList->setUniformRowHeights(true);
    grdUserList->header()->setResizeContentsPrecision(kFittedRows);
    FitTextsWithTips(grdUserList);
    // The toggle recognises exactly its two captions; the list starts ticked.
    cmdSelectAll = button(QStringLiteral("DeSelect &All"), "cmdSelectAll", fraAttachExam);
    cmdSetUserRights = button(QStringLiteral("A&ttach"), "cmdSetUserRights", fraAttachExam);
    cmdSelectAll->setEnabled(false);
    cmdSetUserRights->setEnabled(false);
    auto* userButtons = new QHBoxLayout;
    userButtons->addWidget(cmdSelectAll);
    userButtons->addStretch(1);
    userButtons->addWidget(cmdSetUserRights);

    auto* examsGroup = new QGroupBox(QStringLiteral("List of Exams "), fraAttachExam);
    grdListExams = new QTreeWidget(examsGroup);
    grdListExams->setObjectName(QStringLiteral("grdListExams"));
    grdListExams->setHeaderLabels(
        {QStringLiteral("Exam Code"), QStringLiteral("Exam Name"), QStringLiteral("Exam Path")});
    grdListExams->setRootIsDecorated(false);
    FitTextsWithTips(grdListExams);
    auto* examsLayout = new QVBoxLayout(examsGroup);
    examsLayout->addWidget(grdListExams);

    auto* left = new QVBoxLayout;
    left->addLayout(details);
    left->addWidget(grdUserList, 1);
    left->addLayout(userButtons);
    auto* panel = new QHBoxLayout(fraAttachExam);
    panel->addLayout(left, 1);
    panel->addWidget(examsGroup, 1);
}

void frmAdminPref::Command11_Click()
{
    const QString path =
        fileChooser()(this, QStringLiteral("Select a Network Database"), QStringLiteral("Exam Database (*.qzr *.QZR)"));
    if (path.isEmpty())
        return;
    debugStep(QStringLiteral("Checking the chosen exam database"), "Command11_Click");
    QStringList listed;
    for (int i = 0; i < grdListExams->topLevelItemCount(); ++i)
        listed << grdListExams->topLevelItem(i)->text(0);
    BrowsedExam exam;
    {
        BusyPointer busy;
        SystemDatabase system(connection());
        exam = checkBrowsedExam(system, path, listed);
    }
    switch (exam.status) {
    case BrowsedExam::Status::Refused:
        // A file that is no database says nothing of its own.
        if (!exam.problem.isEmpty())
            ShowMessage(exam.problem, gLogin.gAppName, OneButton, this);
        else if (!exam.messageShown)
            ShowMessage(QString::fromLatin1(adminText::InvalidExam), gLogin.gAppName, OneButton, this);
        return;
    case BrowsedExam::Status::AlreadyAttached:
        ShowMessage(QString::fromLatin1(adminText::AlreadyAttached), gLogin.gAppName, OneButton, this);
        return;
    case BrowsedExam::Status::Invalid:
        ShowMessage(QString::fromLatin1(adminText::InvalidExam), gLogin.gAppName, OneButton, this);
        return;
    case BrowsedExam::Status::NoExamRow:
    case BrowsedExam::Status::Ready:
        break;
    }
    txtNewDataPath->setText(path);
    if (FillAttachInfo(exam)) {
        const bool anyUser = m_userTicks->rowCount() > 0;
        cmdSelectAll->setEnabled(anyUser);
        cmdSetUserRights->setEnabled(anyUser);
        if (anyUser)
            grdUserList->setEnabled(true);
    }
}

bool frmAdminPref::FillAttachInfo(const BrowsedExam& exam)
{
    lblExamCode->clear();
    lblExamDesc->clear();
    PicAttach->hide();
    if (exam.status != BrowsedExam::Status::Ready) {
        PicAttach->show();
        return false;
    }
    lblExamCode->setText(exam.code);
    lblExamDesc->setText(exam.description);
    // Every user gets the right unless the administrator unticks him.
    m_userTicks->tickAll(true);
    cmdSelectAll->setText(QStringLiteral("DeSelect &All"));
    return true;
}

void frmAdminPref::endAttach()
{
    grdUserList->setEnabled(false);
    cmdSetUserRights->setEnabled(false);
    cmdSelectAll->setEnabled(false);
}

void frmAdminPref::cmdSetUserRights_Click()
{
    if (txtNewDataPath->text().isEmpty()) {
        ShowMessage(QString::fromLatin1(adminText::NoExamSelected), gLogin.gAppName, OneButton, this);
        endAttach();
        return;
    }
    if (lblExamCode->text().isEmpty() || !PicAttach->isHidden()) {
        endAttach();
        return;
    }
    endAttach();
    const QString path = txtNewDataPath->text();
    const QString code = lblExamCode->text().trimmed();
    const std::vector<AttachUser> users = m_userTicks->ticks();
    debugStep(QStringLiteral("Attaching exam ") + code, "cmdSetUserRights_Click");
    QString errorText;
    AttachResult result;
    setBusy(true);
    {
        BusyPointer busy;
        result =
            AttachDatabase(connection(), path, code, lblExamDesc->text(), users, errorText, [this] { letEventsRun(); });
    }
    setBusy(false);
    if (result != AttachResult::Attached) {
        if (result == AttachResult::NoUserGranted)
            ShowMessage(QString::fromLatin1(adminText::NoUserGranted), gLogin.gAppName, OneButton, this);
        else {
            debugStep(QStringLiteral("Attach failed: ") + errorText, "cmdSetUserRights_Click");
            if (!errorText.isEmpty())
                ShowMessage(errorText, gLogin.gAppName, OneButton, this);
        }
        cmdSetUserRights->setEnabled(true);
        cmdSelectAll->setEnabled(true);
        grdUserList->setEnabled(true);
        return;
    }
    RefillUserList();
    grdUserList->setEnabled(true);

    const QString description = lblExamDesc->text().trimmed();
    const QString trimmedPath = path.trimmed();
    {
        const QSignalBlocker block(grdPermission);
        auto* item = new QTreeWidgetItem(grdPermission);
        item->setData(0, Qt::UserRole, QStringLiteral("ExamCode:") + code);
        item->setText(0, code);
        item->setText(1, description);
        item->setText(2, trimmedPath);
        setRightsItemFlags(item);
        item->setCheckState(0, Qt::Unchecked);
    }
    if (frmDBSel::exists()) {
        QTableWidget* grid = frmDBSel::instance().grdExamList;
        bool listed = false;
        for (int row = 0; row < grid->rowCount() && !listed; ++row)
            listed = grid->item(row, 0) && grid->item(row, 0)->text() == code;
        if (!listed) {
            const int row = grid->rowCount();
            grid->insertRow(row);
            grid->setItem(row, 0, new QTableWidgetItem(code));
            grid->setItem(row, 1, new QTableWidgetItem(description));
            grid->setItem(row, 2, new QTableWidgetItem(trimmedPath));
        }
    }
    FillExistingExamsInList();
    showData(QString());
    debugStep(QStringLiteral("Exam attached ") + code, "cmdSetUserRights_Click");

    m_changeExam =
        ShowMessage(QString::fromLatin1(adminText::ChangeExamNow), gLogin.gAppName, YesNo, this) == ResultYes;
    accept();
}

void frmAdminPref::FillExistingExamsInList()
{
    const std::vector<SystemDatabase::AttachedExam> exams = [this] {
        SystemDatabase system(connection());
        return attachedExamList(system);
    }();
    {
        const QSignalBlocker block(grdListExams);
        grdListExams->clear();
        for (const SystemDatabase::AttachedExam& exam : exams) {
            auto* item = new QTreeWidgetItem(grdListExams);
            item->setData(0, Qt::UserRole, QStringLiteral("ExamCode:") + exam.code);
            item->setText(0, exam.code);
            item->setText(1, exam.description);
            item->setText(2, exam.path);
            item->setCheckState(0, Qt::Checked);
        }
    }
    if (grdListExams->topLevelItemCount() > 0) {
        {
            const QSignalBlocker block(grdListExams);
            grdListExams->setCurrentItem(grdListExams->topLevelItem(0));
        }
        grdListExams_ItemClick(grdListExams->topLevelItem(0));
    } else {
        txtNewDataPath->clear();
        lblExamCode->clear();
        lblExamDesc->clear();
    }
}

void frmAdminPref::grdListExams_ItemClick(QTreeWidgetItem* item)
{
    if (!item || item->data(0, Qt::UserRole).toString().isEmpty())
        return;
    // Showing an attached exam ends the wait of a browsed one: each tick now
    // writes at once.
    cmdSelectAll->setEnabled(false);
    cmdSetUserRights->setEnabled(false);
    PicAttach->hide();
    txtNewDataPath->setText(item->text(2));
    lblExamCode->setText(item->text(0));
    lblExamDesc->setText(item->text(1));
    // Each user's right is read with his row, as the list shows it.
    m_userTicks->tickAdmittedTo(item->text(0).trimmed());
    grdUserList->setEnabled(true);
}

void frmAdminPref::grdListExams_ItemCheck(const QString& examCode)
{
    QTreeWidgetItem* item = itemWithCode(grdListExams, examCode);
    if (!item || item->checkState(0) == Qt::Checked)
        return;
    const QString code = examCode.trimmed();
    if (isCurrentExam(code)) {
        ShowMessage(QString::fromLatin1(adminText::CurrentExam), gLogin.gAppName, OneButton, this);
        setTick(item, true);
        return;
    }
    if (ShowMessage(QStringLiteral("This will remove the exam from base ziduver database.\r\nDo you want to dettach ")
                        + code + QStringLiteral(" exam?"),
                    gLogin.gAppName, YesNo, this)
        != ResultYes) {
        setTick(item, true);
        return;
    }
    // The lists change only once the detach is stored: a failed one leaves
    // the exam listed everywhere, as it is still attached.
    try {
        reopenConnection();
        detachExam(connection(), code);
    } catch (const std::exception& error) {
        WriteLog(describeError(error) + QStringLiteral(" : AdminPref:grdListExams_ItemCheck:") + logDate());
        setTick(item, true);
        ShowMessage(detachProblemText(gStartup.gSysDbPath, error), gLogin.gAppName, OneButton, this);
        return;
    }
    DeleteExamFromPermissionList(code);
    FillExistingExamsInList();
}

void frmAdminPref::grdUserList_ItemCheck(int userCode)
{
    // While a browsed exam waits, a tick only marks the user for the attach.
    if (cmdSelectAll->isEnabled())
        return;
    const int row = m_userTicks->rowOf(userCode);
    if (row < 0)
        return;
    const SystemDatabase::ListedUser user = m_userTicks->user(row);
    const bool granted = m_userTicks->isTicked(row);
    if (ShowMessage(QString::fromLatin1(adminText::UpdateRightQuestion), gLogin.gAppName, YesNo, this) != ResultYes) {
        m_userTicks->setTicked(userCode, !granted);
        return;
    }
    const QString login = user.login;
    const RightChange change = changeRight(connection(), userCode, granted, txtNewDataPath->text().trimmed(),
                                           lblExamCode->text().trimmed(), login, user.firstName);
    // The tick shows what is stored, also when only the exam's copy failed.
    m_userTicks->setTicked(userCode, change.stored);
    if (!change.ok) {
        // The user's profile is left as shown: reading it again would meet the
        // same failure.
        ShowMessage(change.error, gLogin.gAppName, OneButton, this);
        return;
    }
    showData(login);
}

void frmAdminPref::DeleteExamFromPermissionList(const QString& examCode)
{
    if (QTreeWidgetItem* item = itemWithCode(grdPermission, examCode)) {
        const QSignalBlocker block(grdPermission);
        delete item;
    }
    if (!frmDBSel::exists())
        return;
    QTableWidget* grid = frmDBSel::instance().grdExamList;
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (grid->item(row, 0) && grid->item(row, 0)->text() == examCode.trimmed()) {
            grid->removeRow(row);
            return;
        }
    }
}
