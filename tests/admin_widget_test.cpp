#include "admin/AdminTexts.h"
#include "admin/links/UnloadMainWindowLink.h"
#include "admin/windows/frmAdminPref.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "foundation/UserRights.h"
#include "foundation/windows/frmDBSel.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"
#include "tests/support/TempSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QKeyEvent>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The lists read through their models: the texts of a column, the texts of
// the ticked rows.
QStringList texts(const QAbstractItemView* list, int column = 0)
{
    QStringList out;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->index(row, column).data().toString();
    return out;
}

QStringList ticked(const QAbstractItemView* list)
{
    QStringList out;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked)
            out << model->index(row, 0).data().toString();
    return out;
}

QStringList logins(const QAbstractItemView* grid)
{
    return texts(grid, 0);
}

// The administrator picks a row of the user list.
void pickRow(QAbstractItemView* grid, int row)
{
    grid->setCurrentIndex(grid->model()->index(row, 0));
}

// "add edit delete save cancel login" as 1/0.
std::string buttons(const frmAdminPref& w)
{
    std::string out;
    for (const QWidget* control :
         {static_cast<QWidget*>(w.cmdAdd), static_cast<QWidget*>(w.cmdEdit), static_cast<QWidget*>(w.cmdDelete),
          static_cast<QWidget*>(w.cmdOK), static_cast<QWidget*>(w.Command1), static_cast<QWidget*>(w.txtLogID)})
        out += control->isEnabled() ? '1' : '0';
    return out;
}

// The administrator's tick on a list item, and the queued handler it runs.
void tick(QTreeWidgetItem* item, bool on)
{
    item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    settle(20);
}

// The same on a row of a list with a model, as the view sets it.
void tick(QAbstractItemView* list, int row, bool on)
{
    list->model()->setData(list->model()->index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    settle(20);
}

class AdminWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        fixture = std::make_unique<ExamDbFixture>(home);
        gLogin.gAppName = QStringLiteral("Ziduver Test");
        gLogin.gLoginId = QStringLiteral("ADMIN");
        gLogin.gUserCode = QStringLiteral("0");
        system = fixture->openSystem();
        SystemDatabase rows(system);
        admin = rows.addUser({QStringLiteral("Admin"), QStringLiteral("ADMIN")});
        ann = rows.addUser({QStringLiteral("ann"), QStringLiteral("pa"), QStringLiteral("Ann")});
        bob = rows.addUser({QStringLiteral("bob"), QStringLiteral("pb"), QStringLiteral("Bob")});
        examA = attach("EXA", "Zeta exam", QStringLiteral("Data/a/a.qzr"));
        examB = attach("EXB", "Alpha exam", QStringLiteral("Data/b/b.qzr"));
        rows.addExam(home.file(QStringLiteral("Data/g/gone.qzr")), QStringLiteral("EXG"), QStringLiteral("Gone"));
        QString error;
        ASSERT_TRUE(Gen_UpdateRights(ann, true, examA, QStringLiteral("EXA"), error, QStringLiteral("ann")));
    }
    void TearDown() override { frmAdminPref::setFileChooser({}); }

    QString attach(const char* code, const char* name, const QString& relative)
    {
        ExamDbOptions options;
        options.examCode = QString::fromLatin1(code);
        options.examName = QString::fromLatin1(name);
        const QString path = fixture->createExam(relative, options);
        SystemDatabase(system).addExam(path, options.examCode, options.examName);
        return path;
    }
    QStringList rightsOf(int user)
    {
        QStringList out;
        for (const db::Row& row : system.query(QStringLiteral("SELECT Bue_Exam, Bue_HaveRight FROM Bq_User_vs_Exams "
                                                              "WHERE Bue_User = ? ORDER BY Bue_Exam"),
                                               {user}))
            out << row.text(0) + QLatin1Char('=') + row.text(1);
        return out;
    }
    void chooseFile(const QString& path)
    {
        frmAdminPref::setFileChooser([path](QWidget*, const QString&, const QString&) { return path; });
    }

    // Runs the window modally as the program does; the body works in it, and
    // the window is closed afterwards if it is still open.
    void runWindow(const std::function<void(frmAdminPref&)>& body)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            frmAdminPref* window = frmAdminPref::current();
            if (!window) {
                ADD_FAILURE() << "the window did not load: " << ui.messageTexts().join('|').toStdString();
                return;
            }
            struct CloseAfter {
                frmAdminPref* w;
                ~CloseAfter()
                {
                    if (frmAdminPref::current() == w && w->isVisible())
                        w->done(QDialog::Rejected);
                }
            } closeAfter{window};
            body(*window);
            ran = true;
        });
        frmAdminPref::showModal(nullptr);
        EXPECT_TRUE(ran);
        settle(20);
        EXPECT_EQ(frmAdminPref::current(), nullptr) << "unloaded once it closes";
    }

    TempHome home;
    TempSettings settings;
    RecordingUiHooks ui;
    std::unique_ptr<ExamDbFixture> fixture;
    db::Connection system;
    int admin = 0, ann = 0, bob = 0;
    QString examA, examB;
};

TEST_F(AdminWindow, UserSettingsTab)
{
    runWindow([this](frmAdminPref& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Ziduver Test - Admin Preferences"));
        EXPECT_TRUE(w.fraUserSettings->isVisible());
        EXPECT_FALSE(w.fraAdminSettings->isVisible());
        EXPECT_EQ(logins(w.flexUser), (QStringList{"ann", "bob"})) << "the administrator is never listed";
        EXPECT_TRUE(w.flexUser->isColumnHidden(2));
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("ann")) << "row 1 is shown";
        EXPECT_EQ(w.txtConfirmPass->text(), QStringLiteral("pa"));
        EXPECT_EQ(texts(w.grdPermission), (QStringList{"EXA", "EXB"})) << "by code, the missing file left out";
        EXPECT_EQ(ticked(w.grdPermission), QStringList{"EXA"});
        EXPECT_EQ(texts(w.grdUserList), (QStringList{"Ann[ ann ]", "Bob[ bob ]"}));
        EXPECT_EQ(buttons(w), "111000");

        w.stabUser->setCurrentIndex(1);
        EXPECT_TRUE(w.fraGrantDeny->isVisible());
        EXPECT_FALSE(w.fraEditUser->isVisible());
        w.stabUser->setCurrentIndex(0);

        w.cmdAdd->click();
        EXPECT_EQ(buttons(w), "000111");
        EXPECT_TRUE(w.txtFirstName->text().isEmpty());
        EXPECT_TRUE(ticked(w.grdPermission).isEmpty());
        w.txtLogID->setText(QStringLiteral(" ANN "));
        w.txtFirstName->setText(QStringLiteral("Other"));
        w.txtPassWord->setText(QStringLiteral("x"));
        w.txtConfirmPass->setText(QStringLiteral("x"));
        w.cmdOK->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Login ID already exists"});
        EXPECT_TRUE(w.txtLogID->text().isEmpty());
        EXPECT_EQ(w.saveMode(), QStringLiteral("Add"));

        ui.clear();
        w.txtLogID->setText(QStringLiteral(" cara "));
        w.txtPassWord->setText(QStringLiteral("pw"));
        w.txtConfirmPass->setText(QStringLiteral("PW"));
        w.cmdOK->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Passwords does not match. Confirm it.\r\n"});
        w.txtConfirmPass->setText(QStringLiteral("pw"));
        w.grdPermission->topLevelItem(1)->setCheckState(0, Qt::Checked);
        ui.clear();
        w.cmdOK->click();
        EXPECT_TRUE(ui.messageTexts().isEmpty()) << ui.messageTexts().join('|').toStdString();
        EXPECT_EQ(logins(w.flexUser), (QStringList{"ann", "bob", "cara"}));
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("cara"));
        EXPECT_EQ(buttons(w), "111000");
        EXPECT_EQ(w.saveMode(), QStringLiteral("EDIT"));
        EXPECT_EQ(texts(w.grdUserList).size(), 3);
        const int cara = SystemDatabase(system).profileByLogin(QStringLiteral("cara"))->code;
        EXPECT_EQ(rightsOf(cara), (QStringList{"EXA=0", "EXB=1"}));

        // Picking a row shows that user; Edit and Cancel.
        pickRow(w.flexUser, 1);
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("bob"));
        w.cmdEdit->click();
        EXPECT_EQ(buttons(w), "000110");
        w.txtFirstName->setText(QStringLiteral("Robert"));
        w.chkDefault->setChecked(true);
        w.cmdOK->click();
        EXPECT_EQ(SystemDatabase(system).profileOf(bob)->firstName, QStringLiteral("Robert"));
        EXPECT_EQ(SystemDatabase(system).defaultUser()->login, QStringLiteral("bob"));
        w.cmdEdit->click();
        w.Command1->click();
        EXPECT_EQ(buttons(w), "111000");

        // The default user cannot go; an ordinary user goes with his rights
        // and his rows in every exam.
        ui.clear();
        w.cmdDelete->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Default user cannot be deleted!"});
        pickRow(w.flexUser, 0);
        ui.clear();
        ui.answerNext(ResultYes);
        w.cmdDelete->click();
        ASSERT_EQ(ui.messages().size(), 2u) << ui.messageTexts().join('|').toStdString();
        EXPECT_EQ(
            ui.messages()[0].text,
            QStringLiteral("Delete user Ann\r\nThis will clear the user history also.\r\nDo you want to continue?"));
        EXPECT_EQ(ui.messages()[0].style, YesNo);
        EXPECT_EQ(ui.messages()[1].text, QStringLiteral("User tables updated in attached exams"));
        EXPECT_EQ(logins(w.flexUser), (QStringList{"bob", "cara"}));
        EXPECT_EQ(texts(w.grdUserList), (QStringList{"Robert[ bob ]", "Other[ cara ]"}));
        EXPECT_TRUE(rightsOf(ann).isEmpty());
        EXPECT_FALSE(w.prgUpdateUsers->isVisible());
        EXPECT_EQ(db::Connection::openFile(examA).scalar(QStringLiteral("SELECT count(*) FROM Qe_User")).toInt(), 2)
            << "the purge kept the copies of the users that are left";
        EXPECT_TRUE(w.cmdAdd->isEnabled());
    });
}

// The user's key press on a list. Key events go to the list itself: the view
// handles them, its viewport not.
void pressKey(QAbstractItemView* list, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = QString())
{
    list->setFocus();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(list, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(list, &release);
    settle(20);
}

// Space on an item: ticks or unticks an item that takes input.
void pressSpaceOn(QAbstractItemView* list, int index)
{
    list->setCurrentIndex(list->model()->index(index, 0));
    pressKey(list, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
}

// A stored user's login cannot be edited, and a tick in the rights list is
// always what is stored: the boxes take input only between Add or Edit and
// Save or Cancel.
TEST_F(AdminWindow, StoredLoginIsLockedAndRightsTakeInputOnlyWhileASaveCanFollow)
{
    runWindow([this](frmAdminPref& w) {
        EXPECT_FALSE(w.txtLogID->isEnabled());
        w.cmdAdd->click();
        EXPECT_TRUE(w.txtLogID->isEnabled());
        w.Command1->click();
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("ann"));
        EXPECT_FALSE(w.txtLogID->isEnabled()) << "Add then Cancel shows a stored user: his login is locked";
        w.cmdEdit->click();
        EXPECT_FALSE(w.txtLogID->isEnabled()) << "an edit never changes a login";
        w.Command1->click();

        // Ticked on the Grant/Deny tab without Edit: refused, nothing stored.
        w.stabUser->setCurrentIndex(1);
        ASSERT_TRUE(w.fraGrantDeny->isVisible());
        EXPECT_EQ(ticked(w.grdPermission), QStringList{"EXA"});
        pressSpaceOn(w.grdPermission, 1);
        EXPECT_EQ(ticked(w.grdPermission), QStringList{"EXA"}) << "the list takes no tick outside an edit";
        pickRow(w.flexUser, 1);
        pickRow(w.flexUser, 0);
        EXPECT_EQ(ticked(w.grdPermission), QStringList{"EXA"});
        EXPECT_EQ(rightsOf(ann), QStringList{"EXA=1"});

        // Edit, tick, Save: stored and shown again after switching users.
        w.cmdEdit->click();
        pressSpaceOn(w.grdPermission, 1);
        EXPECT_EQ(ticked(w.grdPermission), (QStringList{"EXA", "EXB"}));
        w.cmdOK->click();
        EXPECT_EQ(rightsOf(ann), (QStringList{"EXA=1", "EXB=1"}));
        pressSpaceOn(w.grdPermission, 0);
        EXPECT_EQ(ticked(w.grdPermission), (QStringList{"EXA", "EXB"})) << "after the save the list is shut again";
        pickRow(w.flexUser, 1);
        pickRow(w.flexUser, 0);
        EXPECT_EQ(ticked(w.grdPermission), (QStringList{"EXA", "EXB"}));

        // Edit, tick, Cancel: the tick goes with the cancel.
        w.cmdEdit->click();
        pressSpaceOn(w.grdPermission, 0);
        EXPECT_EQ(ticked(w.grdPermission), QStringList{"EXB"});
        w.Command1->click();
        EXPECT_EQ(ticked(w.grdPermission), (QStringList{"EXA", "EXB"}));
        EXPECT_EQ(rightsOf(ann), (QStringList{"EXA=1", "EXB=1"}));
    });
}

// With more users than the lists read at once, keys and ticks reach the
// users far down: Ctrl+End shows the last user, and Space on the last row of an
// exam's users writes his right.
TEST_F(AdminWindow, KeysAndTicksReachTheLastOfManyUsers)
{
    {
        SystemDatabase rows(system);
        db::Transaction transaction(system);
        for (int i = 1; i <= 600; ++i)
            rows.addUser({QStringLiteral("m%1").arg(i), QStringLiteral("pw"), QStringLiteral("Many %1").arg(i)});
        transaction.commit();
    }
    const int last = SystemDatabase(system).profileByLogin(QStringLiteral("m600"))->code;
    runWindow([&](frmAdminPref& w) {
        ASSERT_EQ(w.flexUser->model()->rowCount(), 602);
        pressKey(w.flexUser, Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("m600"));
        EXPECT_EQ(w.txtFirstName->text(), QStringLiteral("Many 600"));
        pressKey(w.flexUser, Qt::Key_Up);
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("m599"));
        pressKey(w.flexUser, Qt::Key_PageUp);
        EXPECT_NE(w.txtLogID->text(), QStringLiteral("m599"));
        pressKey(w.flexUser, Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("ann"));

        w.tabPreference->setCurrentIndex(2);
        ASSERT_EQ(w.lblExamCode->text(), QStringLiteral("EXB"));
        EXPECT_TRUE(ticked(w.grdUserList).isEmpty());
        ui.answerNext(ResultYes);
        pressSpaceOn(w.grdUserList, 601);
        EXPECT_EQ(ui.messageTexts(), QStringList{QString::fromLatin1(adminText::UpdateRightQuestion)});
        EXPECT_EQ(rightsOf(last), QStringList{"EXB=1"});
        EXPECT_EQ(ticked(w.grdUserList), QStringList{"Many 600[ m600 ]"});
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("m600")) << "the user is shown";
    });
}

// Switching tabs never resizes the window, and it stays on the screen.
TEST_F(AdminWindow, KeepsItsSizeOnTheScreenWhateverTabIsShown)
{
    runWindow([](frmAdminPref& w) {
        settle(20);
        const QSize size = w.size();
        const QRect screen = w.screen()->availableGeometry();
        for (int round = 0; round < 2; ++round) {
            for (int tab : {1, 2, 0, 2, 1, 0}) {
                w.tabPreference->setCurrentIndex(tab);
                settle(10);
                EXPECT_EQ(w.size(), size) << "tab " << tab;
            }
            for (int tab : {1, 0}) {
                w.stabUser->setCurrentIndex(tab);
                settle(10);
                EXPECT_EQ(w.size(), size) << "user tab " << tab;
            }
        }
        EXPECT_TRUE(screen.contains(w.frameGeometry()))
            << w.frameGeometry().width() << "x" << w.frameGeometry().height() << " on " << screen.width() << "x"
            << screen.height();
        // Every panel fits without squeezing its controls below their least size.
        for (QWidget* panel : {static_cast<QWidget*>(w.fraUserSettings), static_cast<QWidget*>(w.fraAdminSettings),
                               static_cast<QWidget*>(w.fraAttachExam)}) {
            EXPECT_GE(panel->height(), panel->minimumSizeHint().height()) << panel->objectName().toStdString();
            EXPECT_GE(panel->width(), panel->minimumSizeHint().width()) << panel->objectName().toStdString();
        }
    });
}

TEST_F(AdminWindow, AdministrativeSettingsTab)
{
    SystemDatabase(system).addRegistration(true);
    gAdmin = {QStringLiteral("33"), true};
    runWindow([this](frmAdminPref& w) {
        w.tabPreference->setCurrentIndex(1);
        EXPECT_TRUE(w.fraAdminSettings->isVisible());
        EXPECT_EQ(w.cmbCheatKey->count(), 7);
        EXPECT_EQ(w.cmbCheatKey->itemText(6), QStringLiteral("F3 Key"));
        EXPECT_EQ(w.cmbCheatKey->currentIndex(), 3) << "the key in force is shown";
        EXPECT_TRUE(w.chkEnableCheatKey->isChecked());
        EXPECT_EQ(w.lblCurrebtDB->text(), gStartup.gSysDbPath);
        EXPECT_EQ(w.txtOldPass->text(), QStringLiteral("ADMIN"));
        EXPECT_TRUE(w.optMultiUse->isChecked());

        w.cmbCheatKey->setCurrentIndex(1);
        w.chkEnableCheatKey->setChecked(false);
        w.cmdCheatKeySet->click();
        EXPECT_EQ(gAdmin.gHotKey, QStringLiteral("144"));
        EXPECT_FALSE(gAdmin.gCheatKeyEnabled);
        EXPECT_TRUE(settings.fileText().contains(QStringLiteral("HotKey=144")));
        EXPECT_TRUE(settings.fileText().contains(QStringLiteral("CheatKeyEnabled=False")));

        w.txtNewPass->setText(QStringLiteral("abc"));
        w.txtConfirmPassAdmin->setText(QStringLiteral("abd"));
        w.cmdSavePassWord->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Invalid Password. try again"});
        w.txtNewPass->setText(QStringLiteral(" new "));
        w.txtConfirmPassAdmin->setText(QStringLiteral(" NEW "));
        w.cmdSavePassWord->click();
        EXPECT_EQ(ui.messages().size(), 1u);
        EXPECT_FALSE(w.cmdSavePassWord->isEnabled());
        EXPECT_EQ(gLogin.gUserPassword, QStringLiteral("NEW"));
        EXPECT_EQ(SystemDatabase(system).passwordOf(QStringLiteral("Admin")), QStringLiteral("NEW"));
        EXPECT_EQ(SystemDatabase(system).passwordOf(QStringLiteral("ann")), QStringLiteral("pa"));

        ui.clear();
        const QString other = home.file(QStringLiteral("Other.QZR"));
        chooseFile(other);
        w.Command4->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Please select Ziduver.QZR"});
        EXPECT_EQ(w.lblCurrebtDB->text(), gStartup.gSysDbPath);
        w.Command5->click();
        EXPECT_EQ(w.shapeIndicater->property("FillColor").value<QColor>(), QColor(255, 0, 0));
        chooseFile(fixture->systemDbPath());
        ui.clear();
        w.Command4->click();
        EXPECT_TRUE(ui.messageTexts().isEmpty()) << ui.messageTexts().join('|').toStdString();
        EXPECT_EQ(w.lblCurrebtDB->text(), fixture->systemDbPath());

        ui.clear();
        w.cmdUpdateExamUsers->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"User tables updated in attached exams"});
        EXPECT_FALSE(w.prgUpdateUsers->isVisible());
        EXPECT_EQ(w.prgUpdateUsers->value(), 100);
        EXPECT_TRUE(w.cmdUpdateExamUsers->isEnabled());
        EXPECT_FALSE(w.cmdSavePassWord->isEnabled()) << "a button off before the purge stays off";
        EXPECT_GT(ui.processEventsCalls(), 0) << "the window stays responsive during the purge";

        // Single user without a default user: refused on Close, the window
        // closes all the same.
        ui.clear();
        w.optSglUse->setChecked(true);
        ui.answerNext(ResultYes);
        w.Command2->click();
        EXPECT_EQ(ui.messageTexts(),
                  (QStringList{"Do you want to change to Single User System",
                               "Change to Single user failed!\r\nNo default user selected"}));
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_EQ(SystemDatabase(system).multiUserFlag(), true);
}

TEST_F(AdminWindow, AttachNewExamTab)
{
    gLogin.gExamCode = QStringLiteral("EXA");
    QTableWidget* loginGrid = frmDBSel::instance().grdExamList;
    loginGrid->setRowCount(0);
    for (const char* code : {"EXB", "EXA"}) {
        const int row = loginGrid->rowCount();
        loginGrid->insertRow(row);
        loginGrid->setItem(row, 0, new QTableWidgetItem(QString::fromLatin1(code)));
    }
    int mainWindowUnloads = 0;
    UnloadMainWindowLink::wire([&mainWindowUnloads] { ++mainWindowUnloads; });
    ExamDbOptions fresh;
    fresh.examCode = QStringLiteral("NEW");
    fresh.examName = QStringLiteral("New exam");
    const QString newExam = fixture->createExam(QStringLiteral("network/share/new.qzr"), fresh);

    runWindow([&](frmAdminPref& w) {
        w.tabPreference->setCurrentIndex(2);
        EXPECT_TRUE(w.fraAttachExam->isVisible());
        EXPECT_EQ(texts(w.grdListExams), (QStringList{"EXB", "EXA"})) << "by description, all ticked";
        EXPECT_EQ(ticked(w.grdListExams).size(), 2);
        EXPECT_EQ(w.lblExamCode->text(), QStringLiteral("EXB")) << "the first exam is shown";
        EXPECT_TRUE(ticked(w.grdUserList).isEmpty()) << "nobody has the right to EXB";
        EXPECT_FALSE(w.cmdSetUserRights->isEnabled());

        // The exam logged in cannot be detached; a declined detach keeps
        // the exam; a detach removes it everywhere.
        tick(w.grdListExams->topLevelItem(1), false);
        EXPECT_EQ(ui.messageTexts(), QStringList{"Cannot delete current exam"});
        EXPECT_EQ(ticked(w.grdListExams).size(), 2);
        ui.clear();
        ui.answerNext(ResultNoOrCancel);
        tick(w.grdListExams->topLevelItem(0), false);
        EXPECT_EQ(
            ui.messageTexts(),
            QStringList{"This will remove the exam from base ziduver database.\r\nDo you want to dettach EXB exam?"});
        EXPECT_EQ(ticked(w.grdListExams).size(), 2);
        ui.answerNext(ResultYes);
        tick(w.grdListExams->topLevelItem(0), false);
        EXPECT_EQ(texts(w.grdListExams), QStringList{"EXA"});
        EXPECT_EQ(texts(w.grdPermission), QStringList{"EXA"});
        EXPECT_EQ(logins(loginGrid), QStringList{"EXA"});
        EXPECT_EQ(w.lblExamCode->text(), QStringLiteral("EXA"));
        EXPECT_EQ(ticked(w.grdUserList), QStringList{"Ann[ ann ]"});

        // A tick on a shown exam writes at once.
        ui.clear();
        ui.answerNext(ResultYes);
        tick(w.grdUserList, 1, true);
        EXPECT_EQ(ui.messageTexts(), QStringList{"Do you want to update user permissions for the selected exam?"});
        EXPECT_EQ(rightsOf(bob), QStringList{"EXA=1"});
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("bob")) << "the user is shown";

        // Browse and attach with some users unticked.
        ui.clear();
        chooseFile(newExam);
        w.Command11->click();
        EXPECT_TRUE(ui.messageTexts().isEmpty()) << ui.messageTexts().join('|').toStdString();
        EXPECT_EQ(w.txtNewDataPath->text(), newExam);
        EXPECT_EQ(w.lblExamCode->text(), QStringLiteral("NEW"));
        EXPECT_EQ(w.lblExamDesc->text(), QStringLiteral("New exam"));
        EXPECT_EQ(ticked(w.grdUserList).size(), 2);
        EXPECT_TRUE(w.cmdSetUserRights->isEnabled());
        w.cmdSelectAll->click();
        EXPECT_TRUE(ticked(w.grdUserList).isEmpty());
        EXPECT_EQ(w.cmdSelectAll->text(), QStringLiteral("Select &All"));
        w.cmdSetUserRights->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"No user has been given permission to write  exam"});
        EXPECT_TRUE(w.cmdSetUserRights->isEnabled());
        w.cmdSelectAll->click();
        tick(w.grdUserList, 1, false);
        EXPECT_EQ(ui.messages().size(), 1u) << "a tick while an exam waits asks nothing";
        ui.clear();
        ui.answerNext(ResultYes);
        w.cmdSetUserRights->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Finished attaching the exam. Change Exam now?"});
    });
    EXPECT_EQ(rightsOf(ann), (QStringList{"EXA=1", "NEW=1"}));
    EXPECT_EQ(rightsOf(bob), (QStringList{"EXA=1", "NEW=0"}));
    EXPECT_EQ(fixture->attachedExams().size(), 3);
    EXPECT_EQ(logins(loginGrid), (QStringList{"EXA", "NEW"}));
    EXPECT_EQ(mainWindowUnloads, 1);
    EXPECT_TRUE(frmDBSel::instance().isVisible()) << "the user logs in again";
    EXPECT_EQ(frmDBSel::instance().Relogin, QStringLiteral("Yes"));
    frmDBSel::instance().hide();

    // The same file again is refused; the window opens afresh.
    runWindow([&](frmAdminPref& w) {
        ui.clear();
        chooseFile(newExam);
        w.Command11->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Database already attached"});
    });
    UnloadMainWindowLink::wire({});
}

// Another program holding the system database: every command of the user
// panel says what could not be done, on which file and why in the program's
// words, stores nothing, and keeps what the administrator typed, so the same
// command goes through once the file is free. A failed detach leaves the
// exam in every list, as it is still attached.
TEST_F(AdminWindow, UnderAnotherProgramsLockUserCommandsSayWhyAndKeepWhatWasTyped)
{
    gLogin.gExamCode = QStringLiteral("EXA");
    QTableWidget* loginGrid = frmDBSel::instance().grdExamList;
    loginGrid->setRowCount(0);
    for (const char* code : {"EXA", "EXB"}) {
        const int row = loginGrid->rowCount();
        loginGrid->insertRow(row);
        loginGrid->setItem(row, 0, new QTableWidgetItem(QString::fromLatin1(code)));
    }
    const QString why = QStringLiteral("\r\nThe system database ") + fixture->systemDbPath()
        + QStringLiteral(" is in use by another program.\r\nClose the other program that uses it, then try again.");
    db::Connection other = db::Connection::openFile(fixture->systemDbPath());
    const auto locked = [&](const std::function<void()>& run) {
        ui.clear();
        other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        run();
        other.exec(QStringLiteral("ROLLBACK"));
        return ui.messageTexts();
    };
    runWindow([&](frmAdminPref& w) {
        // Add: the new user's boxes stay filled, and Save again stores him.
        w.cmdAdd->click();
        w.txtLogID->setText(QStringLiteral("cara"));
        w.txtFirstName->setText(QStringLiteral("Cara"));
        w.txtPassWord->setText(QStringLiteral("pw"));
        w.txtConfirmPass->setText(QStringLiteral("pw"));
        EXPECT_EQ(locked([&] { w.cmdOK->click(); }), QStringList{QStringLiteral("The user could not be saved.") + why});
        EXPECT_EQ(w.txtLogID->text(), QStringLiteral("cara"));
        EXPECT_EQ(w.txtFirstName->text(), QStringLiteral("Cara"));
        EXPECT_EQ(w.txtPassWord->text(), QStringLiteral("pw"));
        EXPECT_EQ(logins(w.flexUser), (QStringList{"ann", "bob"}));
        EXPECT_FALSE(SystemDatabase(system).profileByLogin(QStringLiteral("cara")));
        ui.clear();
        w.cmdOK->click();
        EXPECT_TRUE(ui.messageTexts().isEmpty()) << ui.messageTexts().join('|').toStdString();
        EXPECT_EQ(logins(w.flexUser), (QStringList{"ann", "bob", "cara"}));

        // Edit.
        pickRow(w.flexUser, 0);
        w.cmdEdit->click();
        w.txtFirstName->setText(QStringLiteral("Annie"));
        EXPECT_EQ(locked([&] { w.cmdOK->click(); }), QStringList{QStringLiteral("The user could not be saved.") + why});
        EXPECT_EQ(w.txtFirstName->text(), QStringLiteral("Annie"));
        EXPECT_EQ(SystemDatabase(system).profileOf(ann)->firstName, QStringLiteral("Ann"));
        w.Command1->click();

        // Delete.
        pickRow(w.flexUser, 1);
        EXPECT_EQ(locked([&] { w.cmdDelete->click(); }),
                  QStringList{QStringLiteral("The user could not be deleted.") + why});
        EXPECT_EQ(logins(w.flexUser), (QStringList{"ann", "bob", "cara"}));
        EXPECT_TRUE(SystemDatabase(system).profileOf(bob));

        // A tick on a shown exam: back as stored.
        w.tabPreference->setCurrentIndex(2);
        ASSERT_EQ(w.lblExamCode->text(), QStringLiteral("EXB"));
        const QStringList tickedBefore = ticked(w.grdUserList);
        EXPECT_EQ(locked([&] {
                      ui.answerNext(ResultYes);
                      tick(w.grdUserList, 1, true);
                  }),
                  (QStringList{QString::fromLatin1(adminText::UpdateRightQuestion),
                               QStringLiteral("The right could not be saved.") + why}));
        EXPECT_EQ(ticked(w.grdUserList), tickedBefore);
        EXPECT_EQ(rightsOf(bob), QStringList{});

        // Detach.
        const QStringList detachMessages = locked([&] {
            ui.answerNext(ResultYes);
            tick(w.grdListExams->topLevelItem(0), false);
        });
        ASSERT_EQ(detachMessages.size(), 2);
        EXPECT_TRUE(
            detachMessages[1].startsWith(QStringLiteral("The exam could not be detached.\r\nThe system database ")
                                         + fixture->systemDbPath() + QStringLiteral(" is in use by another program.")))
            << detachMessages[1].toStdString();
        EXPECT_EQ(texts(w.grdListExams), (QStringList{"EXB", "EXA"}));
        EXPECT_EQ(ticked(w.grdListExams).size(), 2);
        EXPECT_EQ(texts(w.grdPermission), (QStringList{"EXA", "EXB"}));
        EXPECT_EQ(logins(loginGrid), (QStringList{"EXA", "EXB"}));
        EXPECT_EQ(fixture->attachedExams().size(), 3);
    });
}

// The same on the administrative settings: the new password stays typed and
// the chosen user mode keeps the window open; a purge names the exam that
// another program holds.
TEST_F(AdminWindow, UnderAnotherProgramsLockSettingsSayWhyAndKeepWhatWasChosen)
{
    SystemDatabase(system).addRegistration(true);
    const QString why = QStringLiteral(" is in use by another program.\r\nClose the other program that uses it, then "
                                       "try again.");
    const auto locked = [&](const QString& path, const std::function<void()>& run) {
        db::Connection other = db::Connection::openFile(path);
        ui.clear();
        other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        run();
        other.exec(QStringLiteral("ROLLBACK"));
        return ui.messageTexts();
    };
    const QString systemPath = fixture->systemDbPath();
    runWindow([&](frmAdminPref& w) {
        w.tabPreference->setCurrentIndex(1);
        w.txtNewPass->setText(QStringLiteral("new"));
        w.txtConfirmPassAdmin->setText(QStringLiteral("new"));
        EXPECT_EQ(locked(systemPath, [&] { w.cmdSavePassWord->click(); }),
                  QStringList{QStringLiteral("The administrator's password could not be saved.\r\nThe system database ")
                              + systemPath + why});
        EXPECT_EQ(w.txtNewPass->text(), QStringLiteral("new"));
        EXPECT_TRUE(w.cmdSavePassWord->isEnabled());
        EXPECT_EQ(SystemDatabase(system).passwordOf(QStringLiteral("Admin")), QStringLiteral("ADMIN"));

        EXPECT_EQ(locked(examA, [&] { w.cmdUpdateExamUsers->click(); }),
                  QStringList{QStringLiteral("User tables were not updated in 1 of 3 attached exams:\r\nEXA (") + examA
                              + QStringLiteral("): the file") + why});

        w.optSglUse->setChecked(true);
        EXPECT_EQ(locked(systemPath, [&] { w.Command2->click(); }),
                  QStringList{QStringLiteral("The user mode could not be changed.\r\nThe system database ") + systemPath
                              + why});
        EXPECT_TRUE(w.isVisible()) << "the choice stays for another try";
        EXPECT_TRUE(w.optSglUse->isChecked());
        ui.clear();
        ui.answerNext(ResultNoOrCancel);
        w.Command2->click();
        EXPECT_EQ(ui.messageTexts(), QStringList{"Do you want to change to Single User System"});
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_EQ(SystemDatabase(system).multiUserFlag(), true);
}

} // namespace
