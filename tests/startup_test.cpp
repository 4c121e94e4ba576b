#include "foundation/DisplayRoutines.h"
#include "foundation/Messages.h"
#include "foundation/ProgramFolder.h"
#include "foundation/Schema.h"
#include "foundation/SharedState.h"
#include "foundation/Startup.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString kResolutionWarning = QStringLiteral(
    "This application may not work properly with your current graphical settings. It is optimised for 1024x768 / "
    "800x600  resolution. For better performance change to any of these settings.");

// A program folder with a setup.xml and an empty system database, the shared
// state as at program start and a screen that records what it is shown.
class Startup : public ::testing::Test {
public:
    Startup()
    {
        resetStartupState();
        writeSetup();
        db::Connection system = db::Connection::create(systemDb());
        schema::createSystemDatabase(system);
    }

    QString systemDb() const { return home.file(QStringLiteral("Ziduver.QZR")); }
    void writeSetup(const SetupChanges& changes = {}) const
    {
        home.write(QStringLiteral("setup.xml"), startupSetupXml(changes));
    }
    void systemExec(const QString& sql, const db::Params& params = {}) const
    {
        db::Connection system = db::Connection::openFile(systemDb());
        system.exec(sql, params);
    }
    // The one failure page start-up showed, by its text.
    void expectOnlyFailurePage(const QString& text) const
    {
        EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
        ASSERT_EQ(ui.htmlPages().size(), 1);
        EXPECT_EQ(gMessage.gDbMessageText, text);
        EXPECT_EQ(ui.htmlPages().first(), dbMessagePage(text));
    }

    TempHome home;
    RecordingUiHooks ui;
    FakeStartupEnvironment environment;
};

TEST_F(Startup, GoodStartSetsTheStartupState)
{
    gStartup.gDisplayBits = 32;
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.htmlPages().empty());
    EXPECT_EQ(gStartup.gDisplayBits, 0);
    EXPECT_EQ(gStartup.gSkinFile, QStringLiteral("Skin/Ziduver.qss"))
        << "the raw setting; the login window adds the separator";
    EXPECT_EQ(gStartup.gDbPassword, QStringLiteral("TORVILKE"));
    EXPECT_EQ(gStartup.gSysDbPath, systemDb());
    EXPECT_EQ(db::Connection::pathFromConnectionString(gStartup.gSysConnStr), gStartup.gSysDbPath);
    EXPECT_TRUE(gStartup.gSysConnStr.endsWith(QStringLiteral("pwd= TORVILKE")));
    EXPECT_EQ(gStartup.gScreenMode, 1);
    EXPECT_TRUE(gStartup.gMultiUser);
    EXPECT_EQ(environment.instanceChecks, 1);
    EXPECT_TRUE(debugLogLines().isEmpty()) << "debug 0 writes no line";
}

TEST_F(Startup, LargeFontsRefuseBeforeAnythingElseIsRead)
{
    // The refusal comes before the debug and failure-text keys are read, and
    // before the second-copy check.
    for (const bool withKeys : {true, false}) {
        SCOPED_TRACE(withKeys ? "all keys" : "no debug or failure-text key");
        resetStartupState();
        ui.clear();
        environment.instanceChecks = 0;
        if (withKeys)
            writeSetup({{QStringLiteral("debug"), QStringLiteral("1")}});
        else
            writeSetup(
                {{QStringLiteral("debug"), std::nullopt}, {QStringLiteral("OpenDatabaseErrorMsg"), std::nullopt}});
        environment.largeFonts = true;

        EXPECT_EQ(Main(environment), StartupResult::Refused);
        expectOnlyFailurePage(QString::fromLatin1(kStartupDpiText));
        EXPECT_EQ(environment.instanceChecks, 0);
        EXPECT_TRUE(gStartup.gSysDbPath.isEmpty());
        EXPECT_EQ(gStartup.gDebug, 0);
        EXPECT_TRUE(debugLogLines().isEmpty());
    }
}

TEST_F(Startup, OnlyDebugValueOneWritesTheStartupLines)
{
    struct Case {
        const char* value;
        short debug;
    };
    for (const Case& c : {Case{"1", 1}, Case{"0", 0}, Case{"2", 2}, Case{"1.5", 2}, Case{"0.6", 1}}) {
        SCOPED_TRACE(c.value);
        resetStartupState();
        removeDebugLog();
        writeSetup({{QStringLiteral("debug"), QString::fromLatin1(c.value)}});

        EXPECT_EQ(Main(environment), StartupResult::ShowLogin);
        EXPECT_EQ(gStartup.gDebug, c.debug);
        const QStringList lines = debugLogLines();
        if (c.debug != 1) {
            EXPECT_TRUE(lines.isEmpty()) << lines.join(QLatin1Char('|')).toStdString();
            continue;
        }
        const QStringList expected = {
            QStringLiteral("Reached Main: main :QmodPublic: Date/Time :"),
            QStringLiteral("Pasword set: main :QmodPublic: Date/Time :"),
            QStringLiteral("Before setting: main :QmodPublic: Date/Time :"),
            QStringLiteral("Connect with db success and settings information gathered from registry: main :QmodPublic: "
                           "Date/Time :"),
            QStringLiteral("Gathering Screen mode information: main :QmodPublic: Date/Time :"),
            QStringLiteral("Gathered Screen mode information: main :QmodPublic: Date/Time :"),
            QStringLiteral("Single userid : GetTypeofApplication: :"),
            QStringLiteral("Type of application is True:QmodPublic: Date/Time :"),
        };
        ASSERT_EQ(lines.size(), expected.size()) << lines.join(QLatin1Char('|')).toStdString();
        for (int i = 0; i < expected.size(); ++i)
            EXPECT_TRUE(lines[i].startsWith(expected[i])) << lines[i].toStdString();
    }
}

TEST_F(Startup, SettingErrorsAfterTheFailureTextShowIt)
{
    struct Case {
        const char* key;
        std::optional<QString> value; // left out when empty
    };
    const Case cases[] = {
        {"debug", QString()}, // an empty debug value is a conversion error
        {"debug", QStringLiteral("yes")},
        {"debug", QStringLiteral("99999")}, // beyond a 16-bit integer
        {"debug", std::nullopt},
        {"BlockRightClick", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + (c.value ? " = \"" + c.value->toStdString() + "\"" : " missing"));
        resetStartupState();
        ui.clear();
        writeSetup({{QString::fromLatin1(c.key), c.value}});

        EXPECT_EQ(Main(environment), StartupResult::Refused);
        expectOnlyFailurePage(QString::fromLatin1(kStartupFailureText));
        EXPECT_TRUE(gStartup.gSysDbPath.isEmpty()) << "start-up stopped at the setting";
        EXPECT_EQ(environment.instanceChecks, 0);
    }
}

TEST_F(Startup, BlockRightClickTakesTheLeadingNumber)
{
    struct Case {
        const char* value;
        short expected;
    };
    for (const Case& c : {Case{"1", 1}, Case{"", 0}, Case{"no", 0}, Case{" 1 ", 1}, Case{"0", 0}}) {
        SCOPED_TRACE(c.value);
        resetStartupState();
        writeSetup({{QStringLiteral("BlockRightClick"), QString::fromLatin1(c.value)}});
        EXPECT_EQ(Main(environment), StartupResult::ShowLogin);
        EXPECT_EQ(gStartup.gBlockRightClick, c.expected);
    }
}

TEST_F(Startup, ScreenWidthGivesTheModeAndWarnsOnOthers)
{
    struct Case {
        int width;
        short mode;
        bool warning;
    };
    for (const Case& c :
         {Case{1024, 1, false}, Case{800, 2, false}, Case{640, 3, false}, Case{1280, 1, true}, Case{1366, 1, true}}) {
        SCOPED_TRACE(c.width);
        resetStartupState();
        ui.clear();
        environment.width = c.width;

        EXPECT_EQ(Main(environment), StartupResult::ShowLogin) << "the warning never stops start-up";
        EXPECT_EQ(gStartup.gScreenMode, c.mode);
        EXPECT_TRUE(ui.htmlPages().empty());
        if (!c.warning) {
            EXPECT_TRUE(ui.messages().empty());
            continue;
        }
        ASSERT_EQ(ui.messages().size(), 1u);
        const RecordingUiHooks::Message& warning = ui.messages().front();
        EXPECT_EQ(warning.text, kResolutionWarning);
        EXPECT_EQ(warning.title, QString()) << "the application title is not read yet";
        EXPECT_EQ(warning.style, 1);
        EXPECT_EQ(warning.owner, nullptr);
    }
}

TEST_F(Startup, RegistrationRowChoosesSingleOrMultiUser)
{
    struct Case {
        const char* name;
        std::optional<QVariant> multiUser; // no row when empty
        bool withDefaultUser;
        bool expectMulti;
    };
    const QVariant null;
    for (const Case& c :
         {Case{"no row", std::nullopt, true, true}, Case{"flag 1", QVariant(1), true, true},
          Case{"flag -1", QVariant(-1), true, true}, Case{"flag 0", QVariant(0), true, false},
          Case{"flag NULL", null, true, false}, Case{"flag 0, no default user", QVariant(0), false, false}}) {
        SCOPED_TRACE(c.name);
        resetStartupState();
        ui.clear();
        systemExec(QStringLiteral("DELETE FROM Bq_Ziduver_Reg_Det"));
        systemExec(QStringLiteral("DELETE FROM Bq_DefaultUser"));
        {
            db::Connection connection = db::Connection::openFile(systemDb());
            SystemDatabase system(connection);
            if (c.multiUser)
                system.addRegistration(*c.multiUser);
            if (c.withDefaultUser)
                system.addDefaultUser(QStringLiteral("Solo"), QStringLiteral("Pass"));
        }
        // Left as they are in multi-user mode, overwritten in single-user mode.
        gStartup.gDefaultLoginId = QStringLiteral("KEPT");
        gStartup.gDefaultPassword = QStringLiteral("KEPT");

        ASSERT_EQ(Main(environment), StartupResult::ShowLogin) << ui.htmlPages().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(gStartup.gMultiUser, c.expectMulti);
        const QString login = c.expectMulti ? QStringLiteral("KEPT")
            : c.withDefaultUser             ? QStringLiteral("Solo")
                                            : QString();
        const QString password = c.expectMulti ? QStringLiteral("KEPT")
            : c.withDefaultUser                ? QStringLiteral("Pass")
                                               : QString();
        EXPECT_EQ(gStartup.gDefaultLoginId, login);
        EXPECT_EQ(gStartup.gDefaultPassword, password);
        EXPECT_TRUE(ui.htmlPages().empty());
    }
}

TEST_F(Startup, UnusableSystemDatabaseShowsTheFailureTextAndCreatesNothing)
{
    struct Case {
        const char* name;
        void (*prepare)(const Startup&);
        const char* damaged = nullptr; // set: not the configured text, but this cause
    };
    const Case cases[] = {
        {"missing", [](const Startup& t) { QFile::remove(t.systemDb()); }},
        {"text file",
         [](const Startup& t) {
             QFile::remove(t.systemDb());
             t.home.write(QStringLiteral("Ziduver.QZR"), "This is not a database.\r\n");
         },
         "is damaged"},
        {"empty file",
         [](const Startup& t) {
             QFile::remove(t.systemDb());
             t.home.write(QStringLiteral("Ziduver.QZR"), "");
         }},
        {"no registration table",
         [](const Startup& t) { t.systemExec(QStringLiteral("DROP TABLE Bq_Ziduver_Reg_Det")); }},
        {"no default-user table",
         [](const Startup& t) {
             {
                 db::Connection connection = db::Connection::openFile(t.systemDb());
                 SystemDatabase(connection).addRegistration(false);
             }
             t.systemExec(QStringLiteral("DROP TABLE Bq_DefaultUser"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetStartupState();
        ui.clear();
        {
            QFile::remove(systemDb());
            db::Connection system = db::Connection::create(systemDb());
            schema::createSystemDatabase(system);
        }
        c.prepare(*this);
        const bool existed = QFileInfo::exists(systemDb());
        const qint64 size = QFileInfo(systemDb()).size();
        writeSetup({{QStringLiteral("debug"), QStringLiteral("1")}});

        EXPECT_EQ(Main(environment), StartupResult::Refused);
        // The configured text for a file that is missing or lacks what the
        // program needs; either way the file and its cause follow.
        const QString named = QStringLiteral("The system database ") + systemDb() + QLatin1Char(' ');
        EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
        ASSERT_EQ(ui.htmlPages().size(), 1);
        if (c.damaged)
            EXPECT_EQ(gMessage.gDbMessageText,
                      QStringLiteral("The program cannot start.\r\n") + named + QLatin1String(c.damaged)
                          + QLatin1Char('.'));
        else
            EXPECT_TRUE(gMessage.gDbMessageText.startsWith(QString::fromLatin1(kStartupFailureText)
                                                           + QStringLiteral("\r\n") + named))
                << gMessage.gDbMessageText.toStdString();
        EXPECT_EQ(ui.htmlPages().first(), dbMessagePage(gMessage.gDbMessageText));
        EXPECT_EQ(QFileInfo::exists(systemDb()), existed) << "no database is created";
        EXPECT_EQ(QFileInfo(systemDb()).size(), size) << "the file is left as it was";
        // The handler's line names the error after the start-up lines.
        const QStringList lines = debugLogLines();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.last().contains(QStringLiteral(" : main :QmodPublic: Date/Time :")))
            << lines.last().toStdString();
    }
}

// The failure message is a page: a program folder's name that looks like
// markup is shown as its text, never as an element of the page.
TEST(StartupFailurePage, AFolderNameThatLooksLikeMarkupIsShownAsText)
{
    resetStartupState();
    TempHome home(QStringLiteral("<img src=x onerror=alert(1)>&amp;"));
    home.write(QStringLiteral("setup.xml"), startupSetupXml({}));
    RecordingUiHooks ui;
    FakeStartupEnvironment environment;
    EXPECT_EQ(Main(environment), StartupResult::Refused);
    ASSERT_EQ(ui.htmlPages().size(), 1);
    EXPECT_FALSE(gMessage.gDbMessageText.contains(QStringLiteral("<img"))) << gMessage.gDbMessageText.toStdString();
    EXPECT_TRUE(gMessage.gDbMessageText.contains(QStringLiteral("&lt;img src=x onerror=alert(1)&gt;&amp;amp;")))
        << gMessage.gDbMessageText.toStdString();
}

// A system database the user cannot write passes every read, then fails
// the first write of the login window; start-up finds it first.
TEST_F(Startup, UnwritableSystemDatabaseShowsTheFailureTextAndQuits)
{
    QFile file(systemDb());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    // Writable: the check passes and leaves the file as it was.
    writeSetup({{QStringLiteral("debug"), QStringLiteral("1")}});
    ASSERT_EQ(Main(environment), StartupResult::ShowLogin) << ui.htmlPages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(environment.writeChecks, 1);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();
    EXPECT_FALSE(QFileInfo::exists(systemDb() + QStringLiteral("-journal")));

    resetStartupState();
    ui.clear();
    removeDebugLog();
    environment.systemDatabaseReadOnly = true;
    EXPECT_EQ(Main(environment), StartupResult::Refused);
    expectOnlyFailurePage(QString::fromLatin1(kStartupFailureText) + QStringLiteral("\r\nThe system database ")
                          + systemDb() + QStringLiteral(" cannot be written."));
    EXPECT_EQ(gStartup.gScreenMode, 0) << "start-up stopped at the database test";
    const QStringList lines = debugLogLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().contains(QStringLiteral("readonly"))) << lines.last().toStdString();
    EXPECT_TRUE(lines.last().contains(QStringLiteral(" : main :QmodPublic: Date/Time :")))
        << lines.last().toStdString();
    EXPECT_FALSE(lines.join(QLatin1Char('|')).contains(QStringLiteral("Connect with db success")));
}

TEST_F(Startup, FailureBeforeTheFailureTextShowsABuiltInTextNamingTheProblem)
{
    struct Case {
        const char* name;
        bool removeSetup;
        const char* missingKey;
        bool largeFonts;
        const char* named; // what the text must name
    };
    const Case cases[] = {
        {"no setup.xml", true, nullptr, false, "setup.xml"},
        {"no setup.xml, large fonts", true, nullptr, true, "setup.xml"},
        {"no skin key", false, "ActiveSkinFile", false, "ActiveSkinFile"},
        {"no failure-text key", false, "OpenDatabaseErrorMsg", false, "OpenDatabaseErrorMsg"},
        {"no DPI message on a large-font screen", false, "DPIMessage", true, "DPIMessage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetStartupState();
        ui.clear();
        environment.largeFonts = c.largeFonts;
        if (c.removeSetup)
            QFile::remove(home.file(QStringLiteral("setup.xml")));
        else
            writeSetup({{QString::fromLatin1(c.missingKey), std::nullopt}});

        EXPECT_EQ(Main(environment), StartupResult::Refused);
        EXPECT_TRUE(ui.messages().empty());
        ASSERT_EQ(ui.htmlPages().size(), 1);
        EXPECT_FALSE(gMessage.gDbMessageText.trimmed().isEmpty());
        EXPECT_TRUE(gMessage.gDbMessageText.contains(QString::fromLatin1(c.named)))
            << gMessage.gDbMessageText.toStdString();
        EXPECT_FALSE(gMessage.gDbMessageText.contains(QString::fromLatin1(kStartupFailureText)));
        EXPECT_TRUE(gStartup.gSysDbPath.isEmpty());
    }
}

TEST_F(Startup, SecondCopyEndsWithoutAWord)
{
    writeSetup({{QStringLiteral("debug"), QStringLiteral("1")}});
    environment.secondCopy = true;
    EXPECT_EQ(Main(environment), StartupResult::AlreadyRunning);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.htmlPages().empty());
    EXPECT_TRUE(gStartup.gSysDbPath.isEmpty()) << "ended before the system database was touched";
    const QStringList lines = debugLogLines();
    ASSERT_EQ(lines.size(), 1) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(lines.first().startsWith(QStringLiteral("Reached Main: main :QmodPublic: Date/Time :")));
}

// A refused start ends with a failure status a launcher can see; only the
// second copy leaves quietly with 0.
TEST_F(Startup, ExitStatusTellsARefusedStartFromASecondCopy)
{
    struct Case {
        const char* name;
        void (*prepare)(Startup&);
        StartupResult result;
        int status;
    };
    const Case cases[] = {
        {"second copy", [](Startup& t) { t.environment.secondCopy = true; }, StartupResult::AlreadyRunning, 0},
        {"large fonts", [](Startup& t) { t.environment.largeFonts = true; }, StartupResult::Refused, 1},
        {"unreadable settings", [](Startup& t) { QFile::remove(t.home.file(QStringLiteral("setup.xml"))); },
         StartupResult::Refused, 1},
        {"no system database", [](Startup& t) { QFile::remove(t.systemDb()); }, StartupResult::Refused, 1},
        {"unwritable system database", [](Startup& t) { t.environment.systemDatabaseReadOnly = true; },
         StartupResult::Refused, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetStartupState();
        writeSetup();
        environment = FakeStartupEnvironment();
        c.prepare(*this);
        const StartupResult result = Main(environment);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(startupExitStatus(result), c.status);
        if (!QFileInfo::exists(systemDb())) {
            db::Connection system = db::Connection::create(systemDb());
            schema::createSystemDatabase(system);
        }
    }
}

TEST(StartupMessages, MessageBoxStateAndHtmlMessageText)
{
    resetStartupState();
    RecordingUiHooks ui;
    gGuard.gExamWindowActive = true;
    ui.answerNext(100);
    EXPECT_EQ(ShowMessage(QStringLiteral("Sure?"), QStringLiteral("Title"), YesNo), 100);
    EXPECT_EQ(gMessage.gMsgText, QStringLiteral("Sure?"));
    EXPECT_EQ(gMessage.gMsgTitle, QStringLiteral("Title"));
    EXPECT_EQ(gMessage.gMsgResult, 100);
    EXPECT_FALSE(gGuard.gExamWindowActive) << "the exam window must not take the box's return for a re-activation";

    // A box closed without a button leaves the style.
    ui.answerNext(OkCancel);
    EXPECT_EQ(ShowMessage(QStringLiteral("Closed"), QString(), OkCancel), OkCancel);
    EXPECT_EQ(gMessage.gMsgResult, OkCancel);

    ShowDbMessage(QStringLiteral("first\r\nsecond"));
    EXPECT_EQ(gMessage.gDbMessageText, QStringLiteral("first\r\nsecond"));
    ASSERT_EQ(ui.htmlPages().size(), 1);
    EXPECT_TRUE(ui.htmlPages().first().contains(QStringLiteral("first<br>\nsecond<br><br></font>")));
}

TEST(StartupDisplayRoutines, FileExistsWritesItsDebugLineOnlyInDebugMode)
{
    resetStartupState();
    TempHome home;
    home.write(QStringLiteral("exam.qzr"), "x");
    const QString path = home.file(QStringLiteral("exam.qzr"));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(QFileInfo::exists(debugLogPath()));
    gStartup.gDebug = 1;
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(QString())) << "an empty path is no file";
    gStartup.gDebug = 0;
    ASSERT_TRUE(QFileInfo::exists(debugLogPath()));
    const QStringList lines = debugLogLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(path + QStringLiteral(" exist: FileExists: basZiduver: Date/Time :")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral(": FileExists:basZiduver:Date/Time :")));
}

} // namespace
