#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "foundation/SystemDatabase.h"
#include "foundation/links/MainWindowLink.h"
#include "foundation/windows/frmDBSel.h"
#include "platform/db/Connection.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

// The login window's look: what a missing skin, icon or picture does, the
// mode's check box and the login-done marker. One window per process, so the
// cases run in order on one installation.
TEST(LoginWindowLook, MissingLookFilesAreReportedTheMarkerIsTheBlueBoxAndCheck1FollowsTheMode)
{
    resetStartupState();
    TempHome home;
    home.copyLook();
    QFile::remove(home.file(QStringLiteral("Skin/Ziduver.qss")));
    QFile::remove(home.file(QStringLiteral("Icons/LoginBgMultUser.jpg")));
    RecordingUiHooks ui;
    home.write(QStringLiteral("setup.xml"), startupSetupXml());
    ExamDbFixture fixture(home);
    ExamDbOptions exam;
    exam.examCode = QStringLiteral("EX1");
    exam.examName = QStringLiteral("Exam One");
    fixture.createDataExam(QStringLiteral("exam1"), QStringLiteral("exam1.qzr"), exam);
    {
        SystemDatabase().addUser({QStringLiteral("ADMIN"), QStringLiteral("Secret")});
    }
    resetStartupState();
    int shown = 0;
    MainWindowLink::wire([&shown](const QString&) { ++shown; });

    FakeStartupEnvironment environment;
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin);
    ASSERT_TRUE(frmDBSel::showLogin()) << "a missing look file never stops the load";
    frmDBSel& window = frmDBSel::instance();

    // Each missing file named for what it is, and the line in the log
    // although debugging is off.
    const QString skin = home.file(QStringLiteral("Skin/Ziduver.qss"));
    const QString picture = home.file(QStringLiteral("Icons/LoginBgMultUser.jpg"));
    EXPECT_EQ(ui.messageTexts(),
              QStringList({QStringLiteral("The skin file %1 was not found.").arg(skin),
                           QStringLiteral("The picture %1 was not found.").arg(picture)}));
    for (const auto& message : ui.messages())
        EXPECT_EQ(message.owner, &window);
    ASSERT_TRUE(QFileInfo::exists(debugLogPath()));
    const QString logged = readDebugLog();
    EXPECT_TRUE(logged.contains(QStringLiteral("Load problem! : Form_load : frmDBSel: File not found: ") + skin))
        << logged.toStdString();
    EXPECT_EQ(window.grdExamList->rowCount(), 1) << "the load went on to the exam list";

    // Multi-user mode shows the check box; the marker is not set yet.
    EXPECT_TRUE(window.Check1->isVisible());
    EXPECT_FALSE(window.loginDone());
    EXPECT_NE(window.txtPassWord->palette().color(QPalette::Base), QColor(0, 0, 255));

    window.txtUser->setText(QStringLiteral("admin"));
    window.txtPassWord->setText(QStringLiteral("secret"));
    window.Command1->click();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(window.loginDone());
    EXPECT_EQ(window.txtPassWord->palette().color(QPalette::Base), QColor(0, 0, 255))
        << "a successful login turns the password box blue for the rest of the run";

    // Shown again (Change Exam): "Login" does nothing while the marker is set.
    window.show();
    window.txtUser->setText(QStringLiteral("admin"));
    window.txtPassWord->setText(QStringLiteral("secret"));
    window.image1->click();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(window.isVisible());
    window.hide();

    MainWindowLink::wire(nullptr);
}

} // namespace
