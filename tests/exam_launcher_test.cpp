#include "foundation/ExamParameters.h"
#include "foundation/SharedState.h"
#include "foundation/clsZiduver.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

// A launcher whose every field holds a value of its own, and a record that
// holds other values before the launch.
struct Launcher : ::testing::Test {
    Launcher()
    {
        resetStartupState();
        writeDebugSetting(QStringLiteral("1"));
        launcher.UserName = QStringLiteral("ALICE");
        launcher.ConnStr = QStringLiteral("DBQ=/exams/one.qzr;");
        launcher.UserCode = 3;
        launcher.DbPassword = QStringLiteral("secret");
        launcher.FontName = QStringLiteral("Serif");
        launcher.FontSize = 14;
        launcher.UnusedInt = 5;
        launcher.ExamMode = QStringLiteral("SIMULATED");
        launcher.QuestionCount = 40;
        launcher.PassScore = 70;
        launcher.Hours = 1;
        launcher.Minutes = 30;
        launcher.ExamDbPath = QStringLiteral("/exams/one.qzr");
        launcher.ExamName = QStringLiteral("Exam One");
        launcher.TimeLimit = 5400;
        launcher.Reserved = 99;
        launcher.SysConnStr = QStringLiteral("DBQ=/sys/Ziduver.QZR;");
        launcher.CheatKeyEnabled = true;
        launcher.HotKey = 113;
        launcher.QuestionsCounted = true;
        launcher.AppPath = QStringLiteral("/opt/ziduver");
        launcher.RandomStart = 2;
        launcher.AppTitle = QStringLiteral("Ziduver Test");
        gGuard.gExamWindowActive = true;
    }
    ~Launcher() override { resetStartupState(); }

    void writeDebugSetting(const std::optional<QString>& value) const
    {
        home.write(QStringLiteral("setup.xml"), startupSetupXml({{QStringLiteral("debug"), value}}));
    }

    TempHome home;
    ExamParameters record;
    struct Shown {
        ExamParameters record;
        bool guard;
        short debug;
    };
    std::vector<Shown> shown;
    clsZiduver launcher{record, [this](const ExamParameters& r) {
                            shown.push_back({r, gGuard.gExamWindowActive, gStartup.gDebug});
                        }};
};

void expectCopied(const ExamParameters& r)
{
    EXPECT_EQ(r.gQuizUserName, "ALICE");
    EXPECT_EQ(r.gQuizConnStr, "DBQ=/exams/one.qzr;");
    EXPECT_EQ(r.gQuizUserCode, 3);
    EXPECT_EQ(r.gQuizDbPassword, "secret");
    EXPECT_EQ(r.gQuizFontName, "Serif");
    EXPECT_EQ(r.gQuizFontSize, 14);
    EXPECT_EQ(r.gQuizUnusedInt, 5);
    EXPECT_EQ(r.gExamMode, "SIMULATED");
    EXPECT_EQ(r.gQuizQuestionCount, 40);
    EXPECT_EQ(r.gQuizPassScore, 70);
    EXPECT_EQ(r.gQuizHours, 1);
    EXPECT_EQ(r.gQuizMinutes, 30);
    EXPECT_EQ(r.gQuizExamDbPath, "/exams/one.qzr");
    EXPECT_EQ(r.gQuizExamName, "Exam One");
    EXPECT_EQ(r.gQuizTimeLimit, 5400);
    EXPECT_EQ(r.gQuizSysConnStr, "DBQ=/sys/Ziduver.QZR;");
    EXPECT_TRUE(r.gQuizCheatKeyEnabled);
    EXPECT_EQ(r.gQuizHotKey, 113);
    EXPECT_TRUE(r.gQuizQuestionsCounted);
    EXPECT_EQ(r.gQuizAppPath, "/opt/ziduver");
    EXPECT_EQ(r.gQuizRandomStart, 2);
    EXPECT_EQ(r.gAppTitle, "Ziduver Test");
}

TEST_F(Launcher, StartCopiesEveryFieldThenShowsTheExamWindowWithTheGuardCleared)
{
    launcher.Start();
    expectCopied(record);
    ASSERT_EQ(shown.size(), 1u);
    expectCopied(shown[0].record);
    EXPECT_FALSE(shown[0].guard);
    EXPECT_EQ(shown[0].debug, 1);
    EXPECT_EQ(record.mode(), ExamMode::Simulated);
}

TEST_F(Launcher, TheDebugFlagIsTheSettingAsAWholeNumber)
{
    for (const auto& [setting, flag] : {std::pair{" 0 ", 0}, {"2.5", 2}, {"3.5", 4}, {"-1", -1}}) {
        SCOPED_TRACE(setting);
        writeDebugSetting(QString::fromLatin1(setting));
        gStartup.gDebug = 9;
        launcher.Start();
        EXPECT_EQ(gStartup.gDebug, flag);
    }
}

TEST_F(Launcher, AMissingOrNonNumericDebugSettingFailsAfterTheCopyAndShowsNothing)
{
    for (const std::optional<QString>& setting :
         {std::optional<QString>(QStringLiteral("yes")), std::optional<QString>(QString()),
          std::optional<QString>(QStringLiteral("40000")), std::optional<QString>()}) {
        SCOPED_TRACE(setting.value_or(QStringLiteral("(missing)")).toStdString());
        writeDebugSetting(setting);
        record = ExamParameters();
        gStartup.gDebug = 9;
        gGuard.gExamWindowActive = true;
        EXPECT_THROW(launcher.Start(), LaunchSettingError);
        expectCopied(record);
        EXPECT_EQ(gStartup.gDebug, 9);
        EXPECT_TRUE(gGuard.gExamWindowActive);
        EXPECT_TRUE(shown.empty());
    }
}

} // namespace
