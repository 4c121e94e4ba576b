#include "admin/AdminSettingsRules.h"
#include "foundation/HotKeySettings.h"
#include "foundation/Schema.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"
#include "tests/support/TempSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

QString stored(const char* key)
{
    const QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ziduver"),
                          QStringLiteral("Ziduver"));
    return store.value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
}

TEST(HotKey, EachEntryStoresItsKeyCodeAndTheSwitchAsText)
{
    TempSettings settings;
    resetSharedState();
    const std::pair<int, const char*> codes[] = {{0, "112"}, {1, "144"}, {2, "145"}, {3, "33"},
                                                 {4, "34"},  {5, "113"}, {6, "114"}};
    for (const auto& [index, code] : codes) {
        EXPECT_TRUE(saveHotKey(index));
        EXPECT_EQ(gAdmin.gHotKey, QLatin1String(code));
        EXPECT_EQ(stored("HotKey"), QLatin1String(code));
        EXPECT_EQ(hotKeyIndex(QString::fromLatin1(code).toInt()), index);
    }
    // No entry chosen: the key stays as it was, the switch is stored anyway.
    EXPECT_TRUE(saveHotKey(-1));
    EXPECT_EQ(gAdmin.gHotKey, QStringLiteral("114"));
    EXPECT_TRUE(saveCheatKeyEnabled(true));
    EXPECT_TRUE(gAdmin.gCheatKeyEnabled);
    EXPECT_TRUE(settings.fileText().contains(QStringLiteral("CheatKeyEnabled=True"))) << "the text, not a bool";
    EXPECT_TRUE(saveCheatKeyEnabled(false));
    EXPECT_EQ(stored("CheatKeyEnabled"), QStringLiteral("False"));
    EXPECT_EQ(hotKeyIndex(65), -1);
}

TEST(HotKey, StoredChoiceIsReadBackAndNeedsAValidKey)
{
    struct Case {
        const char* key; // nullptr: not stored
        const char* enabled;
        const char* hotKey;
        bool cheatKey;
    };
    const Case cases[] = {
        {"33", "True", "33", true},   {" 145 ", "true", "145", true}, {"112", "False", "112", false},
        {"65", "True", "", false},    {"", "True", "", false},        {"abc", "True", "", false},
        {nullptr, "True", "", false}, {"114", nullptr, "114", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key ? c.key : "(none)");
        TempSettings settings;
        {
            QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ziduver"),
                            QStringLiteral("Ziduver"));
            if (c.key)
                store.setValue(QStringLiteral("Settings/HotKey"), QLatin1String(c.key));
            if (c.enabled)
                store.setValue(QStringLiteral("Settings/CheatKeyEnabled"), QLatin1String(c.enabled));
        }
        gAdmin = {QStringLiteral("999"), true};
        readBackHotKey();
        EXPECT_EQ(gAdmin.gHotKey, QLatin1String(c.hotKey));
        EXPECT_EQ(gAdmin.gCheatKeyEnabled, c.cheatKey);
    }
}

// The administrator's choice outlives the run: start-up puts it back.
TEST(HotKey, StartupReadsTheStoredChoiceBack)
{
    TempSettings settings;
    resetStartupState();
    ASSERT_TRUE(saveHotKey(3) && saveCheatKeyEnabled(true));
    resetStartupState();
    TempHome home;
    home.write(QStringLiteral("setup.xml"), startupSetupXml());
    {
        ExamDbFixture fixture(home);
    }
    resetStartupState();
    RecordingUiHooks ui;
    FakeStartupEnvironment environment;
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin);
    EXPECT_EQ(gAdmin.gHotKey, QStringLiteral("33"));
    EXPECT_TRUE(gAdmin.gCheatKeyEnabled);
}

TEST(AdminPassword, ConfirmationIgnoresCaseAndBlanksAreRefused)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"secret", "SECRET", ""},
        {"Sécrèt", "SÉCRÈT", ""},
        {"abc", "abd", "Invalid Password. try again"},
        {"abc ", "abc", "Invalid Password. try again"},
        {"   ", "   ", "Empty Password not allowed"},
        {"", "", "Empty Password not allowed"},
        {"", "x", "Invalid Password. try again"},
    };
    for (const auto& [password, confirmation, refusal] : cases)
        EXPECT_EQ(adminPasswordRefusal(QString::fromUtf8(password), QString::fromUtf8(confirmation)),
                  QString::fromLatin1(refusal))
            << password << "/" << confirmation;
    EXPECT_EQ(storedAdminPassword(QStringLiteral("  new pw ")), QStringLiteral("NEW PW"));
}

class UserModeTest : public ::testing::Test {
protected:
    TempHome home;
    ExamDbFixture fixture{home};
    db::Connection system = fixture.openSystem();
};

TEST_F(UserModeTest, CloseAsksOnlyWhenTheChoiceDiffersFromTheStoredMode)
{
    using C = ModeChoice;
    struct Case {
        std::optional<bool> stored;
        ModeChoice chosen;
        const char* question;
        bool toMulti;
        bool noRow;
    };
    const Case cases[] = {
        {true, C::Single, "Do you want to change to Single User System", false, false},
        {false, C::Multi, "Do you want to change to Multi-User System", true, false},
        {true, C::Multi, "", false, false},
        {false, C::Single, "", false, false},
        {true, C::None, "", false, false},
        {std::nullopt, C::Single, "", false, true},
    };
    for (const Case& c : cases) {
        const ModeChange change = userModeChange(c.stored, c.chosen);
        EXPECT_EQ(change.question, QLatin1String(c.question));
        EXPECT_EQ(change.toMulti, c.toMulti);
        EXPECT_EQ(change.noRow, c.noRow);
    }
}

TEST_F(UserModeTest, SingleUserNeedsADefaultUser)
{
    SystemDatabase rows(system);
    rows.addRegistration(true);
    EXPECT_EQ(applyUserMode(rows, false), QStringLiteral("Change to Single user failed!\r\nNo default user selected"));
    EXPECT_EQ(rows.multiUserFlag(), true) << "the installation stays multi-user";

    rows.addDefaultUser(QStringLiteral("ann"), QStringLiteral("pw"));
    EXPECT_EQ(applyUserMode(rows, false), QString());
    EXPECT_EQ(rows.multiUserFlag(), false);
    EXPECT_EQ(applyUserMode(rows, true), QString());
    EXPECT_EQ(rows.multiUserFlag(), true);
}

TEST_F(UserModeTest, RootDatabaseIsRecognisedByNameAndTables)
{
    auto systemDatabaseAt = [this](const QString& relative, const QString& extraSql = {}) {
        const QString path = home.file(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        db::Connection root = db::Connection::create(path);
        schema::createSystemDatabase(root);
        // AUTOINCREMENT keeps SQLite's own counter table.
        root.exec(QStringLiteral("INSERT INTO Bq_User (Qu_LoginId) VALUES ('Admin')"));
        if (!extraSql.isEmpty())
            root.execScript(extraSql);
        return path;
    };
    home.write(QStringLiteral("text/Ziduver.QZR"), "not a database");
    const std::pair<QString, const char*> cases[] = {
        {systemDatabaseAt(QStringLiteral("net/Ziduver.QZR")), ""},
        {systemDatabaseAt(QStringLiteral("lower/ziduver.qzr")), ""},
        {systemDatabaseAt(QStringLiteral("case/ZIDUVER.QZR"),
                          QStringLiteral("ALTER TABLE Bq_Exam RENAME TO zz; ALTER TABLE zz RENAME TO BQ_EXAM")),
         ""},
        {systemDatabaseAt(QStringLiteral("extra/Ziduver.QZR"), QStringLiteral("CREATE TABLE Qe_Exam (x)")),
         "Invalid database format"},
        {home.file(QStringLiteral("text/Ziduver.QZR")), "Invalid database format"},
        {systemDatabaseAt(QStringLiteral("named/Other.QZR")), "Please select Ziduver.QZR"},
        {home.file(QStringLiteral("nowhere/MyZiduver.QZR")), "Please select Ziduver.QZR"},
        {home.file(QStringLiteral("nowhere/Ziduver.QZR")), "Invalid database format"},
    };
    for (const auto& [path, refusal] : cases)
        EXPECT_EQ(rootDatabaseRefusal(path), QLatin1String(refusal)) << path.toStdString();
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("nowhere/Ziduver.QZR")))) << "never created";
}

} // namespace
