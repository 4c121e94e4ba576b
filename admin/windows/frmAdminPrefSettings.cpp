// The administrative settings panel of the administration window: the
// answer hot key, the administrator password, the user mode, the root
// database check, the purge of deleted users' data, and Close.
#include "admin/AdminSettingsRules.h"
#include "admin/AdminTexts.h"
#include "admin/UserPurge.h"
#include "admin/windows/frmAdminPref.h"
#include "foundation/HotKeySettings.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "foundation/UiHooks.h"
#include "foundation/UserRights.h"
#include "platform/ui/WholeTextTips.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QLineEdit* passwordBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setEchoMode(QLineEdit::Password);
    return box;
}

void fill(QFrame* shape, const QColor& colour)
{
    shape->setProperty("FillColor", colour);
    shape->setStyleSheet(QStringLiteral("background-color: %1").arg(colour.name()));
}

} // namespace

void frmAdminPref::buildSettingsPanel()
{
    auto* cheatGroup = new QGroupBox(QStringLiteral("Cheat key Options"), fraAdminSettings);
    cmbCheatKey = new QComboBox(cheatGroup);
    cmbCheatKey->setObjectName(QStringLiteral("cmbCheatKey"));
    chkEnableCheatKey = new QCheckBox(QStringLiteral("Enable Cheat Key"), cheatGroup);
    chkEnableCheatKey->setObjectName(QStringLiteral("chkEnableCheatKey"));
    cmdCheatKeySet = button(QStringLiteral("Set "), "cmdCheatKeySet", cheatGroup);
    auto* cheatLayout = new QHBoxLayout(cheatGroup);
    cheatLayout->addWidget(cmbCheatKey, 1);
    cheatLayout->addWidget(chkEnableCheatKey);
    cheatLayout->addWidget(cmdCheatKeySet);

    auto* passwordGroup = new QGroupBox(QStringLiteral("Administrative password"), fraAdminSettings);
    txtOldPass = passwordBox("txtOldPass", passwordGroup);
    txtOldPass->setReadOnly(true);
    txtNewPass = passwordBox("txtNewPass", passwordGroup);
    txtNewPass->setMaxLength(10);
    txtConfirmPassAdmin = passwordBox("txtConfirmPassAdmin", passwordGroup);
    txtConfirmPassAdmin->setMaxLength(10);
    cmdSavePassWord = button(QStringLiteral("&Save New Password"), "cmdSavePassWord", passwordGroup);
    auto* passwordLayout = new QFormLayout(passwordGroup);
    passwordLayout->addRow(QStringLiteral("Current Password"), txtOldPass);
    passwordLayout->addRow(QStringLiteral("New Password"), txtNewPass);
    passwordLayout->addRow(QStringLiteral("Confirm Password"), txtConfirmPassAdmin);
    passwordLayout->addRow(QString(), cmdSavePassWord);

    auto* modeGroup = new QGroupBox(QStringLiteral("User Mode"), fraAdminSettings);
    optSglUse = new QRadioButton(QStringLiteral("Single User"), modeGroup);
    optSglUse->setObjectName(QStringLiteral("optSglUse"));
    optMultiUse = new QRadioButton(QStringLiteral("Multi User"), modeGroup);
    optMultiUse->setObjectName(QStringLiteral("optMultiUse"));
    auto* modeLayout = new QHBoxLayout(modeGroup);
    modeLayout->addWidget(optSglUse);
    modeLayout->addWidget(optMultiUse);
    modeLayout->addStretch(1);

    auto* rootGroup = new QGroupBox(QStringLiteral("Basic Information Database"), fraAdminSettings);
    lblCurrebtDB = new QLineEdit(rootGroup);
    lblCurrebtDB->setObjectName(QStringLiteral("lblCurrebtDB"));
    lblCurrebtDB->setReadOnly(true);
    ShowWholeTextTip(lblCurrebtDB);
    Command4 = button(QStringLiteral("&Browse"), "Command4", rootGroup);
    Command5 = button(QStringLiteral("Set "), "Command5", rootGroup);
    shapeIndicater = new QFrame(rootGroup);
    shapeIndicater->setObjectName(QStringLiteral("shapeIndicater"));
    shapeIndicater->setFixedSize(16, 16);
    fill(shapeIndicater, QColor(0, 160, 0));
    auto* rootLayout = new QHBoxLayout(rootGroup);
    rootLayout->addWidget(lblCurrebtDB, 1);
    rootLayout->addWidget(Command4);
    rootLayout->addWidget(Command5);
    rootLayout->addWidget(shapeIndicater);

    auto* purgeGroup = new QGroupBox(QStringLiteral("Update All Exam Databases with current users"), fraAdminSettings);
    cmdUpdateExamUsers = button(QStringLiteral("&Update Users"), "cmdUpdateExamUsers", purgeGroup);
    cmdUpdateExamUsers->setToolTip(QStringLiteral("Click to update user related data in all exam databases"));
    prgUpdateUsers = new QProgressBar(purgeGroup);
    prgUpdateUsers->setObjectName(QStringLiteral("prgUpdateUsers"));
    prgUpdateUsers->setRange(0, 100);
    prgUpdateUsers->hide();
    auto* purgeLayout = new QHBoxLayout(purgeGroup);
    purgeLayout->addWidget(cmdUpdateExamUsers);
    purgeLayout->addWidget(prgUpdateUsers, 1);

    auto* panel = new QGridLayout(fraAdminSettings);
    panel->addWidget(cheatGroup, 0, 0);
    panel->addWidget(modeGroup, 0, 1);
    panel->addWidget(passwordGroup, 1, 0);
    panel->addWidget(rootGroup, 1, 1);
    panel->addWidget(purgeGroup, 2, 0, 1, 2);
    panel->setRowStretch(3, 1);

    m_busyParts << cheatGroup << passwordGroup << modeGroup << rootGroup << cmdUpdateExamUsers;
}

void frmAdminPref::cmdCheatKeySet_Click()
{
    // The switch is stored whether or not a key is chosen.
    const bool keyStored = saveHotKey(cmbCheatKey->currentIndex());
    const bool switchStored = saveCheatKeyEnabled(chkEnableCheatKey->isChecked());
    if (!keyStored || !switchStored)
        ShowMessage(QStringLiteral("The settings could not be stored."), gLogin.gAppName, OneButton, this);
}

void frmAdminPref::cmdSavePassWord_Click()
{
    const QString refusal = adminPasswordRefusal(txtNewPass->text(), txtConfirmPassAdmin->text());
    if (!refusal.isEmpty()) {
        ShowMessage(refusal, gLogin.gAppName, OneButton, this);
        return;
    }
    // Kept in memory as stored, so the session's password is the one the
    // login window accepts.
    const QString stored = storedAdminPassword(txtNewPass->text());
    SetAdminPassword(connection(), stored);
    cmdSavePassWord->setEnabled(false);
    gLogin.gUserPassword = stored;
    txtOldPass->setText(stored);
}

void frmAdminPref::Command4_Click()
{
    const QString path = fileChooser()(this, QStringLiteral("Select a Network Database"),
                                       QStringLiteral("Root Database File(Ziduver.QZR) (*.QZR *.qzr)"));
    if (path.isEmpty())
        return;
    m_rootChoice = path;
    const QString refusal = rootDatabaseRefusal(path);
    if (!refusal.isEmpty()) {
        ShowMessage(refusal, gLogin.gAppName, OneButton, this);
        return;
    }
    lblCurrebtDB->setText(path);
}

void frmAdminPref::Command5_Click()
{
    // Only marked: the system database in use stays the one beside the
    // program.
    if (!m_rootChoice.isEmpty())
        fill(shapeIndicater, QColor(255, 0, 0));
}

void frmAdminPref::Command2_Click()
{
    // A mode that could not be stored keeps the window open with the choice,
    // for another try.
    if (guarded("chkApplicationType", [this] { chkApplicationType(); }))
        accept();
}

void frmAdminPref::showStoredUserMode()
{
    const std::optional<bool> multiUser = SystemDatabase(connection()).multiUserFlag();
    // No registration row is a multi-user installation, as at start.
    if (!multiUser || *multiUser)
        optMultiUse->setChecked(true);
    else
        optSglUse->setChecked(true);
}

void frmAdminPref::chkApplicationType()
{
    SystemDatabase system(connection());
    const ModeChoice choice = optSglUse->isChecked() ? ModeChoice::Single
        : optMultiUse->isChecked()                   ? ModeChoice::Multi
                                                     : ModeChoice::None;
    const ModeChange change = userModeChange(system.multiUserFlag(), choice);
    if (change.noRow) {
        optMultiUse->setChecked(true);
        return;
    }
    if (change.question.isEmpty() || ShowMessage(change.question, gLogin.gAppName, YesNo, this) != ResultYes)
        return;
    const QString refusal = applyUserMode(system, change.toMulti);
    if (!refusal.isEmpty())
        ShowMessage(refusal, gLogin.gAppName, OneButton, this);
}

void frmAdminPref::cmdUpdateExamUsers_Click()
{
    // The window stays responsive with its buttons off, and they come back
    // however the purge ends.
    struct Busy {
        frmAdminPref* window;
        explicit Busy(frmAdminPref* w) : window(w) { window->setBusy(true); }
        ~Busy()
        {
            window->prgUpdateUsers->hide();
            window->setBusy(false);
        }
    };
    PurgeReport report;
    {
        const Busy busy(this);
        const BusyPointer pointer;
        SystemDatabase system(connection());
        report = purgeDeletedUsers(system, [this](int percent) {
            prgUpdateUsers->show();
            prgUpdateUsers->setValue(percent);
            letEventsRun();
        });
    }
    if (report.ran)
        ShowMessage(purgeMessage(report), gLogin.gAppName, OneButton, this);
}
