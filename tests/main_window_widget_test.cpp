#include "foundation/ExamParameters.h"
#include "foundation/SharedState.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/links/ExamWindowLink.h"
#include "mainwindow/links/LoginWindowLink.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace {

void deleteDiscarded()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The main window is one instance; each case starts from whatever the
// earlier ones left, as the program does after a Change Exam.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gLogin.gAppName = gLogin.gAppTitle = QStringLiteral("Ziduver");
        gLogin.gLoginId = QStringLiteral("ALICE");
        gLogin.gUserPassword = QStringLiteral("PW1");
        LoginWindowLink::wire([this](const QString& login, const QString& password) {
            handedBack << login + QLatin1Char('/') + password;
        });
        ExamWindowLink::wire([this](const ExamParameters& record) { launched.push_back(record); });
    }
    void TearDown() override
    {
        frmmain::unload();
        deleteDiscarded();
        LoginWindowLink::wire(nullptr);
        ExamWindowLink::wire(nullptr);
    }

    TempHome home;
    RecordingUiHooks ui;
    QStringList handedBack;
    std::vector<ExamParameters> launched;
};

TEST_F(MainWindowTest, ShownForTheExamThenChangeExamHandsTheUserBackAndUnloadsTheWindow)
{
    frmmain& window = frmmain::instance();
    window.showForExam(QStringLiteral("Exam One"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.lblExamName->text(), QStringLiteral("Exam One"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Ziduver"));
    window.hide();
    window.showAgain();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.lblExamName->text(), QStringLiteral("Exam One")) << "shown again as it was left";

    const QPointer<frmmain> alive(&window);
    window.mnuExam->click();
    EXPECT_EQ(handedBack, QStringList({QStringLiteral("ALICE/PW1")}));
    EXPECT_FALSE(frmmain::exists()) << "unloaded at once";
    ASSERT_TRUE(alive) << "never deleted under its own handler";
    EXPECT_FALSE(alive->isVisible());
    EXPECT_TRUE(alive->ChangingExam);
    deleteDiscarded();
    EXPECT_FALSE(alive);

    // The next showing loads a new window.
    frmmain& next = frmmain::instance();
    EXPECT_FALSE(next.ChangingExam);
    EXPECT_TRUE(next.lblExamName->text().isEmpty());
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(MainWindowTest, UnloadFromAnotherWindowLeavesTheProgramRunningAndDeletesLater)
{
    frmmain& window = frmmain::instance();
    window.showForExam(QStringLiteral("Exam One"));
    const QPointer<frmmain> alive(&window);
    frmmain::unload();
    EXPECT_FALSE(frmmain::exists());
    ASSERT_TRUE(alive);
    EXPECT_TRUE(alive->ChangingExam) << "so that unloading does not end the program";
    EXPECT_FALSE(alive->isVisible());
    deleteDiscarded();
    EXPECT_FALSE(alive);
    frmmain::unload();
    EXPECT_FALSE(frmmain::exists()) << "unloading no window loads none";
}

TEST_F(MainWindowTest, StartHidesTheWindowAndOpensTheExamWindowWithTheLaunchRecord)
{
    ExamBankFixture bank;
    bank.category(1, {}, true).questions(101, 6, 1);
    gLogin.gExamConnStr = bank.connectionString();
    frmmain& window = frmmain::instance();
    window.showForExam(QStringLiteral("Exam One"));

    // The administrator may not sit an exam.
    gLogin.gLoginId = QStringLiteral("ADMIN");
    window.cmdPractice->click();
    EXPECT_EQ(ui.messageTexts(), QStringList({QStringLiteral("ADMIN user cannot write exam")}));
    EXPECT_TRUE(launched.empty());
    EXPECT_TRUE(window.isVisible());

    ui.clear();
    gLogin.gLoginId = QStringLiteral("ALICE");
    gGuard.gExamWindowActive = true;
    window.cmdPractice->click();
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].gExamMode, QStringLiteral("PRACTICE"));
    EXPECT_EQ(launched[0].gQuizQuestionCount, 6);
    EXPECT_EQ(launched[0].gQuizUserName, QStringLiteral("ALICE"));
    EXPECT_FALSE(window.isVisible()) << "hidden for the exam";
    EXPECT_FALSE(gGuard.gExamWindowActive) << "the activation guard is cleared before the launch";
    EXPECT_TRUE(frmmain::exists()) << "it stays loaded for the return";
}

} // namespace
