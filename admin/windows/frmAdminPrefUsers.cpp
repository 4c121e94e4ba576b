// The user panel of the administration window: the user list, the profile
// and the rights per exam.
#include "admin/AdminTexts.h"
#include "admin/ExamRights.h"
#include "admin/UserAccounts.h"
#include "admin/UserLists.h"
#include "admin/windows/frmAdminPref.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "foundation/UiHooks.h"
#include "platform/ui/WholeTextTips.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* textBox(const char* name, int maxLength, QWidget* parent, bool password = false)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    if (password)
        box->setEchoMode(QLineEdit::Password);
    return box;
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

const QString kLineEnd = QStringLiteral("\r\n");

} // namespace

void frmAdminPref::buildUserPanel()
{
    auto* listGroup = new QGroupBox(QStringLiteral("List of Users"), fraUserSettings);
    flexUser = new QTableView(listGroup);
    flexUser->setObjectName(QStringLiteral("flexUser"));
    m_userGrid =
        new UserGridModel([this]() -> db::Connection& { return connection(); }, logListRead("ShowUsers"), flexUser);
    flexUser->setModel(m_userGrid);
    flexUser->setColumnHidden(UserGridModel::colCode, true);
    flexUser->verticalHeader()->hide();
    flexUser->setSelectionBehavior(QAbstractItemView::SelectRows);
    flexUser->setSelectionMode(QAbstractItemView::SingleSelection);
    flexUser->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flexUser->horizontalHeader()->setStretchLastSection(false);
    flexUser->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    flexUser->horizontalHeader()->setResizeContentsPrecision(kFittedRows);
    FitTextsWithTips(flexUser);
    cmdAdd = button(QStringLiteral("&Add"), "cmdAdd", listGroup);
    cmdEdit = button(QStringLiteral("&Edit"), "cmdEdit", listGroup);
    cmdDelete = button(QStringLiteral("&Delete"), "cmdDelete", listGroup);
    auto* listButtons = new QHBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdEdit, cmdDelete})
        listButtons->addWidget(b);
    auto* listLayout = new QVBoxLayout(listGroup);
    listLayout->addWidget(flexUser, 1);
    listLayout->addLayout(listButtons);

    auto* userSide = new QWidget(fraUserSettings);
    stabUser = new QTabBar(userSide);
    stabUser->setObjectName(QStringLiteral("stabUser"));
    stabUser->addTab(QStringLiteral("Edit User Profile"));
    stabUser->addTab(QStringLiteral("Grant/Deny Permission"));

    fraEditUser = new QFrame(userSide);
    fraEditUser->setObjectName(QStringLiteral("fraEditUser"));
    txtLogID = textBox("txtLogID", 15, fraEditUser);
    txtPassWord = textBox("txtPassWord", 10, fraEditUser, true);
    txtConfirmPass = textBox("txtConfirmPass", 10, fraEditUser, true);
    txtFirstName = textBox("txtFirstName", 50, fraEditUser);
    txtMidName = textBox("txtMidName", 50, fraEditUser);
    txtLastName = textBox("txtLastName", 50, fraEditUser);
    txtEMail = textBox("txtEMail", 50, fraEditUser);
    txtAdd1 = textBox("txtAdd1", 50, fraEditUser);
    txtAdd2 = textBox("txtAdd2", 50, fraEditUser);
    txtState = textBox("txtState", 50, fraEditUser);
    txtZip = textBox("txtZip", 10, fraEditUser);
    txtPhone = textBox("txtPhone", 15, fraEditUser);
    // Only Add opens the login box: an edit never changes a login.
    txtLogID->setEnabled(false);
    chkDefault = new QCheckBox(QStringLiteral("Default User"), fraEditUser);
    chkDefault->setObjectName(QStringLiteral("chkDefault"));
    cmdOK = button(QStringLiteral("&Save"), "cmdOK", fraEditUser);
    Command1 = button(QStringLiteral("Cance&l"), "Command1", fraEditUser);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Login ID"), txtLogID);
    form->addRow(QStringLiteral("Password"), txtPassWord);
    form->addRow(QStringLiteral("Confirm Password"), txtConfirmPass);
    form->addRow(QStringLiteral("First Name"), txtFirstName);
    form->addRow(QStringLiteral("Middle Name"), txtMidName);
    form->addRow(QStringLiteral("Last Name"), txtLastName);
    form->addRow(QStringLiteral("E-mail "), txtEMail);
    form->addRow(QStringLiteral("Address"), txtAdd1);
    form->addRow(QString(), txtAdd2);
    form->addRow(QStringLiteral("State"), txtState);
    form->addRow(QStringLiteral("Zip"), txtZip);
    form->addRow(QStringLiteral("Phone"), txtPhone);
    auto* profileButtons = new QHBoxLayout;
    profileButtons->addWidget(chkDefault);
    profileButtons->addStretch(1);
    profileButtons->addWidget(cmdOK);
    profileButtons->addWidget(Command1);
    auto* profileLayout = new QVBoxLayout(fraEditUser);
    profileLayout->addLayout(form);
    profileLayout->addLayout(profileButtons);

    fraGrantDeny = new QFrame(userSide);
    fraGrantDeny->setObjectName(QStringLiteral("fraGrantDeny"));
    grdPermission = new QTreeWidget(fraGrantDeny);
    grdPermission->setObjectName(QStringLiteral("grdPermission"));
    grdPermission->setHeaderLabels({QStringLiteral("Code"), QStringLiteral("Exam Name"), QStringLiteral("Path")});
    grdPermission->setRootIsDecorated(false);
    FitTextsWithTips(grdPermission);
    auto* grantLayout = new QVBoxLayout(fraGrantDeny);
    grantLayout->addWidget(grdPermission);

    auto* sideLayout = new QVBoxLayout(userSide);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(stabUser);
    // A stack, as the window's panels: switching never changes the size.
    m_userPanels = new QStackedLayout;
    m_userPanels->addWidget(fraEditUser);
    m_userPanels->addWidget(fraGrantDeny);
    sideLayout->addLayout(m_userPanels, 1);

    auto* panel = new QHBoxLayout(fraUserSettings);
    panel->addWidget(listGroup, 2);
    panel->addWidget(userSide, 3);
}

QList<QLineEdit*> frmAdminPref::textBoxes() const
{
    return {txtLogID,     txtPassWord,    txtConfirmPass, txtFirstName, txtMidName,
            txtLastName,  txtEMail,       txtAdd1,        txtAdd2,      txtState,
            txtZip,       txtPhone,       txtOldPass,     txtNewPass,   txtConfirmPassAdmin,
            lblCurrebtDB, txtNewDataPath, lblExamCode,    lblExamDesc};
}

bool frmAdminPref::usersListed() const
{
    return m_userGrid->rowCount() > 0;
}

void frmAdminPref::selectUserRow(int row)
{
    const QScopedValueRollback quiet(m_quietRowChange, true);
    flexUser->setCurrentIndex(m_userGrid->index(row, UserGridModel::colLogin));
}

std::function<void(const std::exception&)> frmAdminPref::logListRead(const char* procedure) const
{
    return [procedure](const std::exception& error) {
        WriteLog(describeError(error) + QStringLiteral(" : AdminPref:") + QLatin1String(procedure) + QStringLiteral(":")
                 + logDate());
    };
}

void frmAdminPref::applyButtons(const ProfileButtonStates& states)
{
    const std::pair<QWidget*, std::optional<bool>> controls[] = {
        {cmdAdd, states.add}, {cmdEdit, states.edit},    {cmdDelete, states.remove},
        {cmdOK, states.save}, {Command1, states.cancel}, {txtLogID, states.loginBox}};
    for (const auto& [control, enabled] : controls)
        if (enabled)
            control->setEnabled(*enabled);
    if (states.save)
        openRights(*states.save);
}

void frmAdminPref::openRights(bool open)
{
    m_rightsOpen = open;
    const QSignalBlocker block(grdPermission);
    for (int i = 0; i < grdPermission->topLevelItemCount(); ++i)
        setRightsItemFlags(grdPermission->topLevelItem(i));
}

void frmAdminPref::setRightsItemFlags(QTreeWidgetItem* item) const
{
    // Shut items are drawn greyed; the list itself still scrolls.
    const Qt::ItemFlags input = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;
    item->setFlags(m_rightsOpen ? item->flags() | input : item->flags() & ~input);
}

void frmAdminPref::FillUserSettingsOnformLoad()
{
    ShowUsers();
    FillPermissionGrid();
    if (usersListed()) {
        selectUserRow(0);
        flexUser_RowColChange();
    }
}

void frmAdminPref::ShowUsers()
{
    {
        // The list reads the rows it shows, when it shows them.
        const QScopedValueRollback quiet(m_quietRowChange, true);
        m_userGrid->refill();
    }
    if (!usersListed()) {
        blankScreen();
        // The exam being attached and the new administrator password keep
        // their boxes.
        for (QLineEdit* box : textBoxes())
            if (box != txtNewDataPath && box != txtConfirmPassAdmin && box != txtNewPass && box != lblExamCode
                && box != lblExamDesc)
                box->setEnabled(false);
    }
}

void frmAdminPref::blankScreen()
{
    // The exam being attached stays with its path, and so do the root
    // database and the administrator's current password.
    for (QLineEdit* box : textBoxes())
        if (box != txtNewDataPath && box != lblCurrebtDB && box != txtOldPass && box != lblExamCode
            && box != lblExamDesc)
            box->clear();
    const QSignalBlocker block(grdPermission);
    for (int i = 0; i < grdPermission->topLevelItemCount(); ++i)
        grdPermission->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
}

void frmAdminPref::showData(const QString& login)
{
    reopenConnection();
    m_saveMode = QStringLiteral("EDIT");
    QString wanted = login;
    if (wanted.isEmpty())
        wanted = m_userGrid->user(flexUser->currentIndex().row()).login;
    if (wanted.isEmpty())
        return;
    SystemDatabase system(connection());
    const std::optional<SystemDatabase::Profile> user = system.profileByLogin(wanted);
    if (!user)
        return;
    m_shownUserCode = user->code;
    txtAdd1->setText(user->address1);
    txtAdd2->setText(user->address2);
    txtFirstName->setText(user->firstName);
    txtLastName->setText(user->lastName);
    txtMidName->setText(user->middleName);
    txtEMail->setText(user->email);
    txtLogID->setText(user->login);
    // A stored user's login is never edited: a changed one would reach the
    // default user and the exam databases' copies but not the user row.
    txtLogID->setEnabled(false);
    txtPassWord->setText(user->password);
    txtConfirmPass->setText(user->password);
    txtZip->setText(user->zip);
    txtState->setText(user->state);
    txtPhone->setText(user->phone);
    chkDefault->setChecked(chkDefaultUser(system, user->login) == 1);
    FillPermissionGrid();
    ShowPermissions();
}

void frmAdminPref::cmdAdd_Click()
{
    for (QLineEdit* box : textBoxes())
        if (box != txtNewDataPath && box != lblCurrebtDB && box != txtOldPass)
            box->setEnabled(true);
    chkDefault->setChecked(false);
    m_saveMode = QStringLiteral("ADD");
    blankScreen();
    applyButtons(profileButtonsAfter(ProfileStep::Add, usersListed(), false));
    txtFirstName->setFocus();
}

void frmAdminPref::cmdEdit_Click()
{
    flexUser_DblClick();
    applyButtons(profileButtonsAfter(ProfileStep::Edit, usersListed(), false));
}

void frmAdminPref::flexUser_DblClick()
{
    if (usersListed())
        showData(QString());
}

void frmAdminPref::flexUser_RowColChange()
{
    if (usersListed())
        showData(QString());
}

void frmAdminPref::cmdOK_Click()
{
    SaveRequest request;
    request.profile = {txtLogID->text(),   txtPassWord->text(), txtConfirmPass->text(), txtFirstName->text(),
                       txtMidName->text(), txtLastName->text(), txtEMail->text(),       txtAdd1->text(),
                       txtAdd2->text(),    txtState->text(),    txtZip->text(),         txtPhone->text()};
    QString message;
    if (!ValdateData(request.profile, message)) {
        if (!message.isEmpty())
            ShowMessage(message, gLogin.gAppName, OneButton, this);
        return;
    }
    reopenConnection();
    request.editing = m_saveMode == QLatin1String("EDIT");
    request.userCode = m_shownUserCode;
    request.makeDefault = chkDefault->isChecked();
    for (int i = 0; i < grdPermission->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = grdPermission->topLevelItem(i);
        request.rights.push_back({item->text(0), item->text(2), item->checkState(0) == Qt::Checked});
    }
    SaveOutcome outcome;
    {
        BusyPointer busy;
        outcome = saveUser(connection(), request);
    }
    switch (outcome.status) {
    case SaveOutcome::Status::Invalid:
        ShowMessage(outcome.message, gLogin.gAppName, OneButton, this);
        return;
    case SaveOutcome::Status::LoginTaken:
        m_saveMode = QStringLiteral("Add");
        ShowMessage(outcome.message, gLogin.gAppName, OneButton, this);
        txtLogID->clear();
        txtLogID->setFocus();
        return;
    case SaveOutcome::Status::Failed:
        // Nothing was written: the profile stays open for another try.
        if (gStartup.gDebug == 1)
            WriteLog(outcome.message + QStringLiteral(" : cmdOK_Click : frmAdminPref ") + logDate());
        ShowMessage(outcome.message, gLogin.gAppName, OneButton, this);
        return;
    case SaveOutcome::Status::Saved:
        break;
    }
    m_saveMode = QStringLiteral("EDIT");
    m_shownUserCode = outcome.userCode;
    txtLogID->setText(outcome.login);
    for (const CopyFailure& failure : outcome.copyFailures) {
        ShowMessage(failure.message, gLogin.gAppName, OneButton, this);
        const QSignalBlocker block(grdPermission);
        for (int i = 0; i < grdPermission->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = grdPermission->topLevelItem(i);
            if (item->text(0) == failure.examCode) {
                item->setCheckState(0, failure.storedRight ? Qt::Checked : Qt::Unchecked);
                break;
            }
        }
    }

    ShowUsers();
    if (const int row = m_userGrid->rowOf(outcome.userCode); row >= 0)
        selectUserRow(row);
    RefillUserList();
    FillExistingExamsInList();
    applyButtons(profileButtonsAfter(ProfileStep::SaveDone, usersListed(), true));
}

void frmAdminPref::Command1_Click()
{
    const bool loginShown = !txtLogID->text().trimmed().isEmpty();
    if (loginShown)
        txtLogID->setEnabled(false);
    showData(QString());
    applyButtons(profileButtonsAfter(ProfileStep::Cancel, usersListed(), loginShown));
}

void frmAdminPref::cmdDelete_Click()
{
    const int row = flexUser->currentIndex().row();
    const SystemDatabase::ListedUser shown = m_userGrid->user(row);
    const QString login = shown.login;
    {
        SystemDatabase system(connection());
        const QString refusal = deleteRefusal(system, login, chkDefault->isChecked());
        if (!refusal.isEmpty()) {
            ShowMessage(refusal, gLogin.gAppName, OneButton, this);
            return;
        }
    }
    if (row >= 0
        && ShowMessage(QStringLiteral("Delete user ") + shown.firstName + kLineEnd
                           + QStringLiteral("This will clear the user history also.") + kLineEnd
                           + QStringLiteral("Do you want to continue?"),
                       gLogin.gAppName, YesNo, this)
            == ResultYes) {
        const int code = shown.code;
        reopenConnection();
        deleteUser(connection(), code);
        DeleteFromUsergridinAttachExam(code);
        cmdUpdateExamUsers_Click();
        ShowUsers();
        if (usersListed()) {
            selectUserRow(0);
            flexUser_RowColChange();
        }
        applyButtons(profileButtonsAfter(ProfileStep::DeleteDone, usersListed(), false));
    }
    cmdAdd->setEnabled(true);
}

void frmAdminPref::RefillUserList()
{
    // Every user ticked; the list reads the rows it shows, when it shows them.
    m_userTicks->refill();
}

void frmAdminPref::DeleteFromUsergridinAttachExam(int userCode)
{
    m_userTicks->removeUser(userCode);
}

void frmAdminPref::cmdSelectAll_Click()
{
    const bool deselect = cmdSelectAll->text() == QLatin1String("DeSelect &All");
    m_userTicks->tickAll(!deselect);
    cmdSelectAll->setText(deselect ? QStringLiteral("Select &All") : QStringLiteral("DeSelect &All"));
}

void frmAdminPref::FillPermissionGrid()
{
    const std::vector<SystemDatabase::AttachedExam> exams = [this] {
        SystemDatabase system(connection());
        return permissionExams(system);
    }();
    const QSignalBlocker block(grdPermission);
    grdPermission->clear();
    for (const SystemDatabase::AttachedExam& exam : exams) {
        auto* item = new QTreeWidgetItem(grdPermission);
        item->setData(0, Qt::UserRole, QStringLiteral("ExamCode:") + exam.code);
        item->setText(0, exam.code);
        item->setText(1, exam.description);
        item->setText(2, exam.path);
        setRightsItemFlags(item);
        item->setCheckState(0, Qt::Unchecked);
    }
}

void frmAdminPref::ShowPermissions()
{
    SystemDatabase system(connection());
    const QStringList granted = grantedExamCodes(system, txtLogID->text());
    const QSignalBlocker block(grdPermission);
    for (const QString& code : granted) {
        for (int i = 0; i < grdPermission->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = grdPermission->topLevelItem(i);
            if (item->text(0).compare(code, Qt::CaseInsensitive) == 0) {
                item->setCheckState(0, Qt::Checked);
                break;
            }
        }
    }
}
