#pragma once

#include "admin/ExamAttach.h"
#include "admin/ProfileButtons.h"
#include "platform/db/Connection.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedLayout;
class QTabBar;
class QTableView;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class UserGridModel;
class UserTickModel;
template <typename Window> class DefaultInstance;

// The administrator's window: user accounts and their rights per exam,
// administrative settings, and attaching and detaching exam databases. The
// rules live in the admin logic (UserAccounts, ExamRights, ExamAttach,
// AdminSettingsRules, UserPurge); this window holds the controls and runs
// them. It keeps one connection to the system database while it is loaded.
class frmAdminPref : public QDialog {
    Q_OBJECT
public:
    // Loads the window afresh and runs it modally over the owner; returns
    // once it has closed (after an attach with "Change Exam now?" answered
    // Yes, with the main window unloaded and the login window shown).
    static void showModal(QWidget* owner);
    // The loaded window, or null.
    static frmAdminPref* current();

    // Picks an existing file to open: (parent, title, name filter) -> path, ""
    // when cancelled. The program uses a file dialog; tests put their own.
    using FileChooser = std::function<QString(QWidget* parent, const QString& title, const QString& filter)>;
    static void setFileChooser(FileChooser chooser);

    // ---- frame ----
    QTabBar* tabPreference;
    QFrame* fraUserSettings;
    QFrame* fraAdminSettings;
    QFrame* fraAttachExam;
    QLabel* lblIndicater;
    QPushButton* Command2; // Close

    // ---- users ----
    QTableView* flexUser; // login, first name, code (hidden)
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QTabBar* stabUser;
    QFrame* fraEditUser;
    QFrame* fraGrantDeny;
    QLineEdit* txtLogID;
    QLineEdit* txtPassWord;
    QLineEdit* txtConfirmPass;
    QLineEdit* txtFirstName;
    QLineEdit* txtMidName;
    QLineEdit* txtLastName;
    QLineEdit* txtEMail;
    QLineEdit* txtAdd1;
    QLineEdit* txtAdd2;
    QLineEdit* txtState;
    QLineEdit* txtZip;
    QLineEdit* txtPhone;
    QCheckBox* chkDefault;
    QPushButton* cmdOK;    // Save
    QPushButton* Command1; // Cancel
    QTreeWidget* grdPermission;

    // ---- administrative settings ----
    QComboBox* cmbCheatKey;
    QCheckBox* chkEnableCheatKey;
    QPushButton* cmdCheatKeySet;
    QLineEdit* txtOldPass;
    QLineEdit* txtNewPass;
    QLineEdit* txtConfirmPassAdmin;
    QPushButton* cmdSavePassWord;
    QRadioButton* optSglUse;
    QRadioButton* optMultiUse;
    QLineEdit* lblCurrebtDB;
    QPushButton* Command4; // Browse for a root database
    QPushButton* Command5; // Set
    QFrame* shapeIndicater;
    QPushButton* cmdUpdateExamUsers;
    QProgressBar* prgUpdateUsers;

    // ---- attach ----
    QPushButton* Command11; // Browse for an exam database
    QLineEdit* txtNewDataPath;
    QLineEdit* lblExamCode;
    QLineEdit* lblExamDesc;
    QFrame* PicAttach;
    QPushButton* cmdSetUserRights; // Attach
    QPushButton* cmdSelectAll;
    QTreeView* grdUserList;
    QTreeWidget* grdListExams;

    // Save mode of the profile: "EDIT" updates the shown user, anything
    // else adds a new one.
    QString saveMode() const { return m_saveMode; }
    // True while a long loop (purge, attach) runs with the window disabled.
    bool busy() const { return m_busy; }

    // The rows of flexUser and grdUserList.

    // Refills the attach panel's user list.
    void RefillUserList();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class DefaultInstance<frmAdminPref>;
    // The user lists fit their columns to the texts of this many rows, about
    // a screenful, from those on screen: measuring every user's text would
    // cost the window's opening more than all else, and a text cut short
    // shows whole as its tip.
    static constexpr int kFittedRows = 30;
    frmAdminPref();
    static FileChooser& fileChooser();
    void buildUserPanel();
    void buildSettingsPanel();
    void buildAttachPanel();
    void connectHandlers();
    // The designed size where the screen has room for it, centred.
    void sizeToScreen();

    // frame
    void Form_Load();
    void tabPreference_Click(int index);
    void stabUser_Click(int index);
    db::Connection& connection();
    void reopenConnection();
    // Runs a handler; an error is logged and shown, never passed on (false).
    bool guarded(const char* procedure, const std::function<void()>& work);
    void setBusy(bool busy);
    void letEventsRun();

    // users
    void FillUserSettingsOnformLoad();
    void ShowUsers();
    // Where a list fails to read the rows it draws: the debug log (a message
    // box cannot open in the middle of drawing).
    std::function<void(const std::exception&)> logListRead(const char* procedure) const;
    void blankScreen();
    void showData(const QString& login);
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdOK_Click();
    void Command1_Click();
    void cmdDelete_Click();
    void flexUser_DblClick();
    void flexUser_RowColChange();
    void cmdSelectAll_Click();
    void DeleteFromUsergridinAttachExam(int userCode);
    void applyButtons(const ProfileButtonStates& states);
    bool usersListed() const;
    void selectUserRow(int row);
    QList<QLineEdit*> textBoxes() const;

    // rights
    void FillPermissionGrid();
    void ShowPermissions();
    // The rights' tick boxes take input only while a save can follow (after
    // Add or Edit), so a tick on screen is always one that is stored or
    // about to be; an item of the list gets its flags here.
    void openRights(bool open);
    void setRightsItemFlags(QTreeWidgetItem* item) const;

    // attach
    void Command11_Click();
    bool FillAttachInfo(const BrowsedExam& exam);
    void cmdSetUserRights_Click();
    void FillExistingExamsInList();
    void grdListExams_ItemClick(QTreeWidgetItem* item);
    void grdListExams_ItemCheck(const QString& examCode);
    void grdUserList_ItemCheck(int userCode);
    void DeleteExamFromPermissionList(const QString& examCode);
    void endAttach();

    // settings and purge
    void cmdCheatKeySet_Click();
    void cmdSavePassWord_Click();
    void Command4_Click();
    void Command5_Click();
    void Command2_Click();
    void chkApplicationType();
    void cmdUpdateExamUsers_Click();
    void showStoredUserMode();

    UserGridModel* m_userGrid;
    UserTickModel* m_userTicks;
    QStackedLayout* m_panels;     // the three panels of tabPreference
    QStackedLayout* m_userPanels; // the profile and the rights of stabUser
    std::optional<db::Connection> m_conn;
    QList<QWidget*> m_busyParts; // disabled while a long loop runs
    QString m_saveMode;
    int m_shownUserCode = 0;
    QString m_rootChoice;
    bool m_busy = false;
    bool m_rightsOpen = false;
    bool m_changeExam = false;
    bool m_quietRowChange = false; // the window moves flexUser's row itself
};
