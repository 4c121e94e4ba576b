#include "foundation/LoginRules.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "foundation/SystemDatabase.h"
#include "foundation/UserWrite.h"
#include "foundation/links/MainWindowLink.h"
#include "foundation/windows/frmDBSel.h"
#include "mainwindow/links/LoginAgainLink.h"
#include "mainwindow/windows/frmmain.h"
#include "notes/NoteStore.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

void pressEnter(QWidget* widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(widget, &release);
}

// A multi-user installation with one exam, EX1 "Exam One", the
// administrator and alice, who has the right to EX1. Returns the exam's path.
QString installExamAndAlice(TempHome& home, ExamDbFixture& fixture, int* aliceCode = nullptr)
{
    home.copyLook();
    home.write(QStringLiteral("setup.xml"), startupSetupXml());
    ExamDbOptions exam;
    exam.examCode = QStringLiteral("EX1");
    exam.examName = QStringLiteral("Exam One");
    const QString examPath = fixture.createDataExam(QStringLiteral("exam1"), QStringLiteral("exam1.qzr"), exam);
    SystemDatabase system;
    system.addUser({QStringLiteral("ADMIN"), QStringLiteral("Secret")});
    const int alice = system.addUser({QStringLiteral("alice"), QStringLiteral("Pw1")});
    system.addRight(alice, QStringLiteral("EX1"), true);
    if (aliceCode)
        *aliceCode = alice;
    return examPath;
}

// The login window is one instance for the whole run; each test loads it
// anew for its own installation, and within a test the cases run in order,
// as a user would meet them.
TEST(LoginWindow, RefusesWrongLoginsThenLogsInAndHandsOverToTheMainWindow)
{
    resetStartupState();
    TempHome home;
    RecordingUiHooks ui;
    ExamDbFixture fixture(home);
    int aliceCode = 0;
    const QString examPath = installExamAndAlice(home, fixture, &aliceCode);
    // Start-up sets the system database itself.
    resetStartupState();

    QStringList shownMainWindows;
    MainWindowLink::wire([&shownMainWindows](const QString& description) { shownMainWindows << description; });

    FakeStartupEnvironment environment;
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin) << ui.htmlPages().join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(frmDBSel::showLogin()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    frmDBSel& window = frmDBSel::instance();
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString::fromLatin1(kStartupAppName));
    EXPECT_TRUE(window.txtUser->isVisible()) << "multi-user mode asks for login and password";
    EXPECT_EQ(window.txtUser->text(), QStringLiteral("ADMIN")) << "no last user yet";
    ASSERT_EQ(window.grdExamList->rowCount(), 1);
    EXPECT_EQ(window.grdExamList->item(0, 1)->text(), QStringLiteral("Exam One"));
    EXPECT_EQ(window.grdExamList->currentRow(), 0) << "the first exam is chosen";

    // A wrong password: refused, the window stays, the password box is emptied.
    const bool doneBefore = window.loginDone(); // set for good by an earlier test's login
    window.txtUser->setText(QStringLiteral("  alice "));
    window.txtPassWord->setText(QStringLiteral("wrong"));
    pressEnter(window.txtPassWord);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Invalid user name / password"));
    EXPECT_EQ(ui.messages()[0].title, QString::fromLatin1(kStartupAppName));
    EXPECT_EQ(ui.messages()[0].style, 1);
    EXPECT_EQ(ui.messages()[0].owner, &window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.txtPassWord->text().isEmpty());
    EXPECT_EQ(window.txtUser->text(), QStringLiteral("  alice ")) << "the login box stays as typed";
    EXPECT_TRUE(shownMainWindows.isEmpty());
    EXPECT_EQ(window.loginDone(), doneBefore);
    // Written before the check, and left so by the refusal.
    EXPECT_EQ(gLogin.gLoginId, QStringLiteral("ALICE"));
    EXPECT_EQ(gLogin.gUserPassword, QStringLiteral("WRONG"));
    EXPECT_EQ(gLogin.gExamCode, QStringLiteral("EX1"));
    EXPECT_EQ(gLogin.gUserCode, QStringLiteral("0"));

    // Typed text is never SQL: an apostrophe or an injection is just a wrong login.
    ui.clear();
    window.txtUser->setText(QStringLiteral("o'brien"));
    window.txtPassWord->setText(QStringLiteral("' OR '1'='1"));
    pressEnter(window.txtPassWord);
    EXPECT_EQ(ui.messageTexts(), QStringList({QStringLiteral("Invalid user name / password")}));
    EXPECT_TRUE(window.isVisible());
    window.txtUser->setText(QStringLiteral("admin"));
    window.txtPassWord->setText(QStringLiteral("' OR ''='"));
    pressEnter(window.txtPassWord);
    EXPECT_EQ(ui.messageTexts(),
              QStringList({QStringLiteral("Invalid user name / password"),
                           QStringLiteral("Invalid Administrator password specified")}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(shownMainWindows.isEmpty());

    // The right password, typed in another case.
    ui.clear();
    window.txtUser->setText(QStringLiteral("alice"));
    window.txtPassWord->setText(QStringLiteral("pW1"));
    pressEnter(window.txtPassWord);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(shownMainWindows, QStringList({QStringLiteral("Exam One")}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.loginDone());
    EXPECT_TRUE(window.txtPassWord->text().isEmpty());
    EXPECT_EQ(gLogin.gExamCode, QStringLiteral("EX1"));
    EXPECT_EQ(gLogin.gExamDesc, QStringLiteral("Exam One"));
    EXPECT_EQ(gLogin.gExamDbPath, examPath);
    EXPECT_EQ(db::Connection::pathFromConnectionString(gLogin.gExamConnStr), examPath);
    EXPECT_EQ(gLogin.gLoginId, QStringLiteral("ALICE"));
    EXPECT_EQ(gLogin.gUserPassword, QStringLiteral("PW1"));
    EXPECT_EQ(gLogin.gUserCode, QString::number(aliceCode));
    EXPECT_EQ(lastUserLogin(), QStringLiteral("ALICE"));

    // Change Exam: shown again as it was left, the user handed back in
    // read-only boxes; Enter in the password box logs in with them and makes
    // the boxes editable again.
    window.showForChangeExam(gLogin.gLoginId, gLogin.gUserPassword);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.txtUser->text(), QStringLiteral("ALICE"));
    EXPECT_EQ(window.txtPassWord->text(), QStringLiteral("PW1"));
    EXPECT_TRUE(window.txtUser->isReadOnly());
    EXPECT_TRUE(window.txtPassWord->isReadOnly());
    EXPECT_TRUE(window.loginDone()) << "the marker stays";
    EXPECT_EQ(window.grdExamList->rowCount(), 1) << "the list stays";
    pressEnter(window.txtPassWord);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(shownMainWindows, QStringList({QStringLiteral("Exam One"), QStringLiteral("Exam One")}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.txtUser->isReadOnly());
    EXPECT_FALSE(window.txtPassWord->isReadOnly());

    MainWindowLink::wire(nullptr);
}

// A single-user installation: no login boxes, the default user is filled in
// on showing and holds a right to exactly the listed exams after the load.
TEST(LoginWindow, SingleUserLogsTheDefaultUserIntoTheChosenExam)
{
    resetStartupState();
    TempHome home;
    home.copyLook();
    RecordingUiHooks ui;
    home.write(QStringLiteral("setup.xml"), startupSetupXml());
    ExamDbFixture fixture(home);
    ExamDbOptions first;
    first.examCode = QStringLiteral("EX1");
    first.examName = QStringLiteral("Beta exam");
    fixture.createDataExam(QStringLiteral("one"), QStringLiteral("one.qzr"), first);
    ExamDbOptions second;
    second.examCode = QStringLiteral("EX2");
    second.examName = QStringLiteral("Alpha exam");
    fixture.createDataExam(QStringLiteral("two"), QStringLiteral("two.qzr"), second);
    int soloCode = 0;
    {
        SystemDatabase system;
        system.addRegistration(false);
        system.addDefaultUser(QStringLiteral("Solo"), QStringLiteral("Pw"));
        soloCode = system.addUser({QStringLiteral("SOLO"), QStringLiteral("pw")});
        system.addRight(soloCode, QStringLiteral("OLD"), true);
    }
    resetStartupState();

    QStringList shownMainWindows;
    MainWindowLink::wire([&shownMainWindows](const QString& description) { shownMainWindows << description; });
    FakeStartupEnvironment environment;
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin) << ui.htmlPages().join(QLatin1Char('|')).toStdString();
    ASSERT_FALSE(gStartup.gMultiUser);
    ASSERT_TRUE(frmDBSel::showLogin()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    frmDBSel& window = frmDBSel::instance();
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(window.txtUser->isVisible());
    EXPECT_FALSE(window.txtPassWord->isVisible());
    EXPECT_FALSE(window.Check1->isVisible()) << "hidden in single-user mode only";
    EXPECT_EQ(window.txtUser->text(), QStringLiteral("Solo"));
    EXPECT_EQ(window.txtPassWord->text(), QStringLiteral("Pw"));
    ASSERT_EQ(window.grdExamList->rowCount(), 2);
    EXPECT_EQ(window.grdExamList->item(0, 1)->text(), QStringLiteral("Alpha exam")) << "listed by description";
    QStringList rights;
    for (const db::Row& row : fixture.openSystem().query(
             QStringLiteral("SELECT Bue_Exam FROM Bq_User_vs_Exams WHERE Bue_User = ? ORDER BY Bue_Exam"), {soloCode}))
        rights << row.text(0);
    EXPECT_EQ(rights, QStringList({QStringLiteral("EX1"), QStringLiteral("EX2")}));

    // Choosing the second exam with Enter in the list logs the default user in.
    window.grdExamList->selectRow(1);
    pressEnter(window.grdExamList);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(shownMainWindows, QStringList({QStringLiteral("Beta exam")}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(gLogin.gExamCode, QStringLiteral("EX1"));
    EXPECT_EQ(gLogin.gLoginId, QStringLiteral("SOLO"));
    EXPECT_EQ(gLogin.gUserCode, QString::number(soloCode));

    // Change Exam: the handed-back user goes in after the showing has filled
    // in the default user; the chosen exam stays chosen.
    window.showForChangeExam(gLogin.gLoginId, gLogin.gUserPassword);
    EXPECT_EQ(window.txtUser->text(), QStringLiteral("SOLO"));
    EXPECT_EQ(window.txtPassWord->text(), QStringLiteral("PW"));
    EXPECT_TRUE(window.txtPassWord->isReadOnly());
    EXPECT_EQ(window.grdExamList->currentRow(), 1);
    pressEnter(window.grdExamList);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(shownMainWindows, QStringList({QStringLiteral("Beta exam"), QStringLiteral("Beta exam")}));

    MainWindowLink::wire(nullptr);
}

} // namespace

// An exam that cannot be loaded after the login, and No to "Try again?":
// the login window is back as at the start, and its Login button logs in
// once the exam can be read.
TEST(LoginWindow, NoToTryAgainBringsTheLoginWindowBackAsAtTheStart)
{
    resetStartupState();
    TempHome home;
    RecordingUiHooks ui;
    ExamDbFixture fixture(home);
    const QString examPath = installExamAndAlice(home, fixture);
    resetStartupState();

    QStringList shownMainWindows;
    bool loadFails = true;
    MainWindowLink::wire([&](const QString& description) {
        if (loadFails)
            frmmain::instance().showForExam(description);
        else
            shownMainWindows << description;
    });
    LoginAgainLink::wire([] { frmDBSel::instance().showAsAtStart(); });
    FakeStartupEnvironment environment;
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin);
    ASSERT_TRUE(frmDBSel::showLogin());
    frmDBSel& window = frmDBSel::instance();

    const QString away = examPath + QStringLiteral(".away");
    ASSERT_TRUE(QFile::rename(examPath, away));
    ui.answerNext(ResultNoOrCancel);
    window.txtUser->setText(QStringLiteral("alice"));
    window.txtPassWord->setText(QStringLiteral("Pw1"));
    window.image1->click();
    ASSERT_EQ(ui.messages().size(), 1u) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(ui.messages()[0].text.endsWith(QStringLiteral("Try again?"))) << ui.messages()[0].text.toStdString();
    EXPECT_FALSE(frmmain::exists());
    EXPECT_TRUE(window.isVisible());
    for (QLineEdit* box : {window.txtUser, window.txtPassWord}) {
        EXPECT_TRUE(box->isEnabled());
        EXPECT_FALSE(box->isReadOnly());
    }
    EXPECT_EQ(window.txtUser->text(), QStringLiteral("alice")) << "the login stays as typed";
    EXPECT_TRUE(window.txtPassWord->text().isEmpty());
    EXPECT_FALSE(window.loginDone());

    ASSERT_TRUE(QFile::rename(away, examPath));
    loadFails = false;
    ui.clear();
    window.txtPassWord->setText(QStringLiteral("Pw1"));
    window.image1->click();
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(shownMainWindows, QStringList({QStringLiteral("Exam One")})) << "the Login button logs in";
    EXPECT_FALSE(window.isVisible());

    MainWindowLink::wire(nullptr);
    LoginAgainLink::wire(nullptr);
}

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program folder and an exam folder with ";", braces, quotes and spaces in
// their names: start-up checks and attaches the exam, the login finds it, and
// a note goes into exactly that file, never into the decoy "Data/evil" where
// the name would be cut.
TEST(LoginWindow, FoldersWithSemicolonsUseExactlyTheFilesChecked)
{
    resetStartupState();
    TempHome home(QStringLiteral("prog;x {a}} 'q' ="));
    RecordingUiHooks ui;
    ExamDbFixture fixture(home);
    const QString decoy = fixture.createExam(QStringLiteral("Data/evil"));
    home.copyLook();
    home.write(QStringLiteral("setup.xml"), startupSetupXml());
    ExamDbOptions exam;
    exam.questionCount = 2;
    const QString examPath = fixture.createDataExam(QStringLiteral("evil;x"), QStringLiteral("LinuxAdmin.qzr"), exam);
    int alice = 0;
    {
        SystemDatabase system;
        system.addUser({QStringLiteral("ADMIN"), QStringLiteral("Secret")});
        alice = system.addUser({QStringLiteral("alice"), QStringLiteral("Pw1")});
        system.addRight(alice, QStringLiteral("EX1"), true);
    }
    const QByteArray decoyBefore = bytesOf(decoy);
    resetStartupState();

    QStringList shownMainWindows;
    MainWindowLink::wire([&shownMainWindows](const QString& description) { shownMainWindows << description; });
    FakeStartupEnvironment environment;
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin) << ui.htmlPages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(db::Connection::pathFromConnectionString(gStartup.gSysConnStr), fixture.systemDbPath());
    ASSERT_TRUE(frmDBSel::showLogin()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    frmDBSel& window = frmDBSel::instance();
    ASSERT_EQ(window.grdExamList->rowCount(), 1) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    window.txtUser->setText(QStringLiteral("alice"));
    window.txtPassWord->setText(QStringLiteral("Pw1"));
    pressEnter(window.txtPassWord);
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(shownMainWindows, QStringList({QStringLiteral("Exam One")}));
    EXPECT_EQ(db::Connection::pathFromConnectionString(gLogin.gExamConnStr), examPath);

    QString message;
    ASSERT_TRUE(notestore::SaveNote(gLogin.gExamConnStr, UserAccount{alice, gStartup.gSysConnStr}, 1,
                                    QStringLiteral("my note"), QDate(2026, 1, 2), message))
        << message.toStdString();
    EXPECT_EQ(db::Connection::openFile(examPath)
                  .scalar(QStringLiteral("SELECT Qn_noteDesc FROM Qe_UserNotes WHERE Qn_UserCode = ?"), {alice})
                  .toString(),
              QStringLiteral("my note"));
    EXPECT_EQ(bytesOf(decoy), decoyBefore) << "the decoy was never opened for writing";
    EXPECT_EQ(db::Connection::openFile(fixture.systemDbPath())
                  .scalar(QStringLiteral("SELECT LastUser FROM SysInfo"))
                  .toString(),
              QStringLiteral("ALICE"));
}

} // namespace
