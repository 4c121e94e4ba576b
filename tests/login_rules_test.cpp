#include "foundation/ConnectionString.h"
#include "foundation/LoginRules.h"
#include "foundation/ProgramFolder.h"
#include "foundation/Settings.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

struct FreshState {
    FreshState() { resetStartupState(); }
};

// A system database with users, their rights and a login for each way a
// check can go. Passwords are stored in mixed case; the login window hands
// them over upper-cased.
class LoginRules : public ::testing::Test {
public:
    LoginRules()
    {
        gStartup.gMultiUser = true;
        SystemDatabase system;
        struct User {
            const char* login;
            const char* password;
        };
        for (const User& user : {User{"ADMIN", "Secret"}, User{"alice", "Pw1"}, User{"bob", "bob"}, User{"carol", "c"},
                                 User{"dave", "d"}, User{"erin", "e"}, User{"O'Brien", "Irish"}, User{"solo", "s"}})
            system.addUser({QString::fromUtf8(user.login), QString::fromUtf8(user.password)});
        grant(QStringLiteral("alice"), QStringLiteral("EX1"), 1);
        grant(QStringLiteral("carol"), QStringLiteral("EX1"), 0);
        grant(QStringLiteral("dave"), QStringLiteral("EX1"), QVariant());
        grant(QStringLiteral("erin"), QStringLiteral("EX1"), -1); // a true flag stored as -1
        grant(QStringLiteral("O'Brien"), QStringLiteral("EX'2"), 1);
    }

    int codeOf(const QString& login) const
    {
        return fixture.openSystem()
            .scalar(QStringLiteral("SELECT Qu_UserCode FROM Bq_User WHERE Qu_LoginId = ?"), {login})
            .toInt();
    }
    void grant(const QString& login, const QString& exam, const QVariant& haveRight) const
    {
        SystemDatabase().addRight(codeOf(login), exam, haveRight);
    }
    // "exam=right" per right row of a user, by exam.
    QStringList rightsOf(int userCode) const
    {
        QStringList rights;
        for (const db::Row& row : fixture.openSystem().query(
                 QStringLiteral(
                     "SELECT Bue_Exam, Bue_HaveRight FROM Bq_User_vs_Exams WHERE Bue_User = ? ORDER BY Bue_Exam"),
                 {userCode}))
            rights << row.text(0) + QLatin1Char('=') + (row.isNull(1) ? QStringLiteral("NULL") : row.text(1));
        return rights;
    }
    void attach(const QString& code, const QString& description, const QString& path) const
    {
        SystemDatabase().addExam(path, code, description);
    }

    FreshState fresh;
    TempHome home;
    ExamDbFixture fixture{home};
};

TEST_F(LoginRules, CheckLoginDecidesByPasswordAndRight)
{
    struct Case {
        const char* login; // as the window hands it over: trimmed and upper-cased
        const char* password;
        const char* exam;
        LoginOutcome outcome;
        const char* userOf; // whose code comes back; "" for "0"
    };
    const Case cases[] = {
        {"ADMIN", "SECRET", "EX1", LoginOutcome::Accepted, ""},
        {"ADMIN", "SECRET", "NO SUCH EXAM", LoginOutcome::Accepted, ""}, // no right rows for the administrator
        {"ADMIN", "secret", "EX1", LoginOutcome::Accepted, ""},
        {"ADMIN", "SECRET ", "EX1", LoginOutcome::BadAdminPassword, ""}, // the password is not trimmed
        {"ADMIN", "WRONG", "EX1", LoginOutcome::BadAdminPassword, ""},
        {"ADMIN", "", "EX1", LoginOutcome::BadAdminPassword, ""},
        {"ALICE", "PW1", "EX1", LoginOutcome::Accepted, "alice"},
        {"ALICE", "PW1", " ex1 ", LoginOutcome::Accepted, "alice"}, // exam code trimmed, any case
        {"ALICE", "PW2", "EX1", LoginOutcome::BadUserOrPassword, ""},
        {"ALICE", "PW1", "EX2", LoginOutcome::NoRight, "alice"},
        {"NOBODY", "PW1", "EX1", LoginOutcome::BadUserOrPassword, ""},
        {"", "", "EX1", LoginOutcome::BadUserOrPassword, ""},
        {"BOB", "BOB", "EX1", LoginOutcome::NoRight, "bob"},   // no right row
        {"CAROL", "C", "EX1", LoginOutcome::NoRight, "carol"}, // right row, flag 0
        {"DAVE", "D", "EX1", LoginOutcome::Accepted, "dave"},  // right row, flag NULL
        {"ERIN", "E", "EX1", LoginOutcome::Accepted, "erin"},  // right row, flag -1
        {"O'BRIEN", "IRISH", "EX'2", LoginOutcome::Accepted, "O'Brien"},
        {"O'BRIEN", "IRISH", "EX1", LoginOutcome::NoRight, "O'Brien"},
        // Typed text never becomes SQL.
        {"ALICE", "' OR '1'='1", "EX1", LoginOutcome::BadUserOrPassword, ""},
        {"' OR '1'='1", "' OR '1'='1", "EX1", LoginOutcome::BadUserOrPassword, ""},
        {"ALICE' --", "X", "EX1", LoginOutcome::BadUserOrPassword, ""},
        {"ADMIN", "' OR ''='", "EX1", LoginOutcome::BadAdminPassword, ""},
        {"BOB", "BOB", "EX1' OR '1'='1", LoginOutcome::NoRight, "bob"},
        {"O'", "'", "EX1", LoginOutcome::BadUserOrPassword, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.login) + " / " + c.password + " / " + c.exam);
        const LoginDecision decision =
            checkLogin(QString::fromUtf8(c.login), QString::fromUtf8(c.password), QString::fromUtf8(c.exam));
        EXPECT_EQ(decision.outcome, c.outcome) << decision.message.toStdString();
        const QString expectedCode =
            *c.userOf ? QString::number(codeOf(QString::fromUtf8(c.userOf))) : QStringLiteral("0");
        EXPECT_EQ(decision.userCode, expectedCode);
        const char* expectedMessage = c.outcome == LoginOutcome::BadAdminPassword ? loginText::BadAdminPassword
            : c.outcome == LoginOutcome::BadUserOrPassword                        ? loginText::BadUser
            : c.outcome == LoginOutcome::NoRight                                  ? loginText::NoRight
                                                                                  : "";
        EXPECT_EQ(decision.message, QString::fromLatin1(expectedMessage));
    }
    EXPECT_EQ(QString::fromLatin1(loginText::NoRight),
              QStringLiteral("No Permission to access selected examination. \r\n Contact Administrator"));
}

// Letters beyond ASCII fold like any other: the window upper-cases typed
// text in full, so the stored side must be folded the same way.
TEST_F(LoginRules, NonAsciiLoginsAndPasswordsCompareWithoutRegardToCase)
{
    SystemDatabase system;
    system.addUser({QStringLiteral("jürgen"), QStringLiteral("café")});
    system.addUser({QStringLiteral("ÅSA"), QStringLiteral("straße")});
    grant(QStringLiteral("jürgen"), QStringLiteral("EX1"), 1);
    grant(QStringLiteral("ÅSA"), QStringLiteral("EX1"), 1);

    struct Case {
        const char* login; // as typed; handed over trimmed and upper-cased like the window does
        const char* password;
        LoginOutcome outcome;
    };
    const Case cases[] = {
        {"jürgen", "café", LoginOutcome::Accepted},          {"JÜRGEN", "CAFÉ", LoginOutcome::Accepted},
        {" Jürgen ", "Café", LoginOutcome::Accepted},        {"jÜrgen", "cAfÉ", LoginOutcome::Accepted},
        {"jürgen", "cafe\u0301", LoginOutcome::Accepted}, // the accent as a combining mark
        {"åsa", "STRASSE", LoginOutcome::Accepted},          {"Åsa", "Straße", LoginOutcome::Accepted},
        {"jürgen", "cafe", LoginOutcome::BadUserOrPassword}, {"JÜRGEN", "CAFÈ", LoginOutcome::BadUserOrPassword},
        {"jurgen", "café", LoginOutcome::BadUserOrPassword}, {"asa", "straße", LoginOutcome::BadUserOrPassword},
    };
    for (const Case& c : cases) {
        const QString password = QString::fromUtf8(c.password);
        SCOPED_TRACE(std::string(c.login) + " / " + c.password);
        const LoginDecision decision =
            checkLogin(QString::fromUtf8(c.login).trimmed().toUpper(), password.toUpper(), QStringLiteral("EX1"));
        EXPECT_EQ(decision.outcome, c.outcome) << decision.message.toStdString();
        if (c.outcome == LoginOutcome::Accepted) {
            const QString owner =
                QString::fromUtf8(c.login).trimmed().startsWith(QStringLiteral("j"), Qt::CaseInsensitive)
                ? QStringLiteral("jürgen")
                : QStringLiteral("ÅSA");
            EXPECT_EQ(decision.userCode, QString::number(codeOf(owner)));
        }
    }

    // A login stored in another form of its letters: decomposed accents,
    // a long s, a Kelvin sign, a lower-case letter beside upper-case ones.
    system.addUser({QStringLiteral("rene\u0301"), QStringLiteral("r")});
    system.addUser({QStringLiteral("\u017Fam"), QStringLiteral("s")});
    system.addUser({QStringLiteral("\u212Aim"), QStringLiteral("k")});
    system.addUser({QStringLiteral("ÖzgüR"), QStringLiteral("o")});
    const struct {
        const char* typed;
        const char* password;
        const char* owner; // "" when refused
    } forms[] = {
        {"René", "r", "rene\u0301"}, {"RENE\u0301", "R", "rene\u0301"}, {"Rene", "r", ""},
        {"sam", "s", "\u017Fam"},    {"SAM", "x", ""},                   {"kim", "k", "\u212Aim"},
        {"özgür", "o", "ÖzgüR"},      {"ÖZGÜR", "O", "ÖzgüR"},            {"OZGUR", "o", ""},
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(std::string(form.typed) + " / " + form.password);
        if (*form.owner)
            grant(QString::fromUtf8(form.owner), QStringLiteral("EX1"), 1);
        const LoginDecision decision = checkLogin(QString::fromUtf8(form.typed).toUpper(),
                                                  QString::fromUtf8(form.password).toUpper(), QStringLiteral("EX1"));
        if (!*form.owner) {
            EXPECT_EQ(decision.outcome, LoginOutcome::BadUserOrPassword);
            continue;
        }
        EXPECT_EQ(decision.outcome, LoginOutcome::Accepted) << decision.message.toStdString();
        EXPECT_EQ(decision.userCode, QString::number(codeOf(QString::fromUtf8(form.owner))));
    }

    // The default user of a single-user installation is found in any case too.
    gStartup.gMultiUser = false;
    const int juergen = codeOf(QStringLiteral("jürgen"));
    for (const char* defaultLogin : {"JÜRGEN", "Jürgen", "jürgen"}) {
        SCOPED_TRACE(defaultLogin);
        grant(QStringLiteral("jürgen"), QStringLiteral("STALE"), 1);
        gStartup.gDefaultLoginId = QString::fromUtf8(defaultLogin);
        EXPECT_EQ(clearDefaultUser(), juergen);
        EXPECT_TRUE(rightsOf(juergen).isEmpty());
    }
    gStartup.gDefaultLoginId = QStringLiteral("JURGEN");
    EXPECT_EQ(clearDefaultUser(), 0) << "another letter is another login";
}

TEST(LoginText, SameLoginTextFoldsEveryScript)
{
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    for (const Case& c :
         {Case{"jürgen", "JÜRGEN", true}, Case{"Ωμέγα", "ΩΜΈΓΑ", true}, Case{"straße", "STRASSE", true},
          Case{"café", "cafe", false}, Case{"", "", true}, Case{"a", "a ", false}, Case{"ADMIN", "admin", true}}) {
        EXPECT_EQ(sameLoginText(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.same) << c.a << " / " << c.b;
    }
}

TEST_F(LoginRules, DatabaseErrorRefusesTheLogin)
{
    struct Case {
        const char* name;
        const char* login;
        const char* password;
        void (*breakIt)(const LoginRules&);
    };
    const Case cases[] = {
        {"no rights table", "ALICE", "PW1",
         [](const LoginRules& t) { t.fixture.openSystem().exec(QStringLiteral("DROP TABLE Bq_User_vs_Exams")); }},
        {"no user table, administrator", "ADMIN", "SECRET",
         [](const LoginRules& t) { t.fixture.openSystem().exec(QStringLiteral("DROP TABLE Bq_User")); }},
        {"system database gone", "ADMIN", "SECRET",
         [](const LoginRules& t) { QFile::remove(t.fixture.systemDbPath()); }},
        {"system database is text", "ADMIN", "SECRET",
         [](const LoginRules& t) {
             QFile::remove(t.fixture.systemDbPath());
             t.home.write(QStringLiteral("Ziduver.QZR"), "not a database");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            QFile::remove(fixture.systemDbPath());
            db::Connection system = db::Connection::create(fixture.systemDbPath());
            schema::createSystemDatabase(system);
            SystemDatabase(system).addUser({QStringLiteral("ADMIN"), QStringLiteral("Secret")});
            SystemDatabase(system).addUser({QStringLiteral("alice"), QStringLiteral("Pw1")});
        }
        c.breakIt(*this);
        const bool existed = QFileInfo::exists(fixture.systemDbPath());

        LoginDecision decision;
        EXPECT_NO_THROW(
            decision = checkLogin(QString::fromUtf8(c.login), QString::fromUtf8(c.password), QStringLiteral("EX1")));
        EXPECT_EQ(decision.outcome, LoginOutcome::DatabaseError);
        // The program's words, naming the file and what is wrong with it.
        const QString lead =
            QStringLiteral("The login could not be checked.\r\nThe system database ") + fixture.systemDbPath() + " ";
        EXPECT_TRUE(decision.message.startsWith(lead)) << decision.message.toStdString();
        EXPECT_GT(decision.message.size(), lead.size() + 1) << "the message says what went wrong";
        EXPECT_EQ(QFileInfo::exists(fixture.systemDbPath()), existed) << "no database is created";
    }
}

TEST_F(LoginRules, LastUserAndItsRecord)
{
    EXPECT_EQ(lastUserLogin(), QStringLiteral("ADMIN")) << "no SysInfo row";

    recordLastUser(QStringLiteral("O'BRIEN"));
    EXPECT_EQ(lastUserLogin(), QStringLiteral("O'BRIEN"));
    recordLastUser(QStringLiteral("ALICE"));
    EXPECT_EQ(lastUserLogin(), QStringLiteral("ALICE"));
    EXPECT_EQ(fixture.openSystem().scalar(QStringLiteral("SELECT count(*) FROM SysInfo")).toInt(), 1)
        << "the first login inserts the row, later ones update it";

    fixture.openSystem().exec(QStringLiteral("UPDATE SysInfo SET LastUser = NULL"));
    EXPECT_EQ(lastUserLogin(), QString());

    // A second row (never written by the program) is updated too.
    fixture.openSystem().exec(QStringLiteral("INSERT INTO SysInfo (LastUser) VALUES ('OLD')"));
    recordLastUser(QStringLiteral("BOB"));
    EXPECT_EQ(
        fixture.openSystem().scalar(QStringLiteral("SELECT count(*) FROM SysInfo WHERE LastUser = 'BOB'")).toInt(), 2);

    fixture.openSystem().exec(QStringLiteral("DROP TABLE SysInfo"));
    EXPECT_THROW(lastUserLogin(), db::DbError) << "the window keeps the box as it is on an error";
    EXPECT_THROW(recordLastUser(QStringLiteral("ALICE")), db::DbError);
}

// Every attached exam whose file exists is listed, wherever it lies: one
// attached from another folder is attached as much as one in Data.
TEST_F(LoginRules, ListedExamsAreTheAttachedOnesWhoseFileExists)
{
    home.write(QStringLiteral("Data/b/b.qzr"), "x");
    home.write(QStringLiteral("Data/a/a.qzr"), "x");
    home.write(QStringLiteral("Data/o/o'neil.qzr"), "x");
    home.write(QStringLiteral("Elsewhere/e.qzr"), "x");
    home.write(QStringLiteral("DataOld/d/d.qzr"), "x");
    // A path elsewhere that holds the data folder's full path as text.
    const QString mirror = QStringLiteral("Mirror") + home.path() + QStringLiteral("/Data/m/m.qzr");
    home.write(mirror, "x");
    QDir().mkpath(home.file(QStringLiteral("Data/folder.qzr")));
    attach(QStringLiteral("EXB"), QStringLiteral("alpha exam"), home.file(QStringLiteral("Data/b/b.qzr")));
    attach(QStringLiteral("EXA"), QStringLiteral("Zeta exam"), home.file(QStringLiteral("Data/a/a.qzr")));
    attach(QStringLiteral("EXO"), QStringLiteral("Beta's exam"), home.file(QStringLiteral("Data/o/o'neil.qzr")));
    attach(QStringLiteral("EXV"), QStringLiteral("Gone exam"), home.file(QStringLiteral("Data/v/vanished.qzr")));
    attach(QStringLiteral("EXF"), QStringLiteral("Folder exam"), home.file(QStringLiteral("Data/folder.qzr")));
    attach(QStringLiteral("EXE"), QStringLiteral("Elsewhere exam"), home.file(QStringLiteral("Elsewhere/e.qzr")));
    attach(QStringLiteral("EXD"), QStringLiteral("Old data exam"), home.file(QStringLiteral("DataOld/d/d.qzr")));
    attach(QStringLiteral("EXM"), QStringLiteral("Mirror exam"), home.file(mirror));

    gStartup.gDebug = 1;
    const std::vector<ListedExam> exams = listedExams();
    gStartup.gDebug = 0;
    QStringList listed;
    for (const ListedExam& exam : exams)
        listed << exam.code + QLatin1Char('|') + exam.description + QLatin1Char('|') + exam.path;
    EXPECT_EQ(listed,
              QStringList({
                  QStringLiteral("EXB|alpha exam|") + home.file(QStringLiteral("Data/b/b.qzr")),
                  QStringLiteral("EXO|Beta's exam|") + home.file(QStringLiteral("Data/o/o'neil.qzr")),
                  QStringLiteral("EXE|Elsewhere exam|") + home.file(QStringLiteral("Elsewhere/e.qzr")),
                  QStringLiteral("EXM|Mirror exam|") + home.file(mirror),
                  QStringLiteral("EXD|Old data exam|") + home.file(QStringLiteral("DataOld/d/d.qzr")),
                  QStringLiteral("EXA|Zeta exam|") + home.file(QStringLiteral("Data/a/a.qzr")),
              }))
        << listed.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(readDebugLog().contains(QStringLiteral("File not found: ReadDataDir : frmDBSel ")));
    EXPECT_TRUE(readDebugLog().contains(home.file(QStringLiteral("Data/v/vanished.qzr"))));

    // An empty table lists nothing.
    SystemDatabase().removeAllExams();
    EXPECT_TRUE(listedExams().empty());
}

TEST_F(LoginRules, SingleUserDefaultUserHoldsExactlyTheListedExams)
{
    home.write(QStringLiteral("Data/a/a.qzr"), "x");
    home.write(QStringLiteral("Data/b/b.qzr"), "x");
    attach(QStringLiteral("EXA"), QStringLiteral("A"), home.file(QStringLiteral("Data/a/a.qzr")));
    attach(QStringLiteral("EXB"), QStringLiteral("B"), home.file(QStringLiteral("Data/b/b.qzr")));
    attach(QStringLiteral("EXV"), QStringLiteral("V"), home.file(QStringLiteral("Data/v/vanished.qzr")));
    grant(QStringLiteral("solo"), QStringLiteral("EXV"), 1); // stale rights from an earlier start
    grant(QStringLiteral("solo"), QStringLiteral("EXA"), 0);
    const QStringList aliceBefore = rightsOf(codeOf(QStringLiteral("alice")));

    // Start-up loads the login as stored in Bq_DefaultUser, in any case.
    gStartup.gMultiUser = false;
    gStartup.gDefaultLoginId = QStringLiteral("SOLO");
    gStartup.gDefaultPassword = QStringLiteral("S");
    for (int load = 1; load <= 2; ++load) {
        SCOPED_TRACE(load);
        const int code = clearDefaultUser();
        EXPECT_EQ(code, codeOf(QStringLiteral("solo")));
        EXPECT_TRUE(rightsOf(code).isEmpty());
        for (const ListedExam& exam : listedExams())
            InsertForDefaultUSer(code, exam.code);
        EXPECT_EQ(rightsOf(code), QStringList({QStringLiteral("EXA=1"), QStringLiteral("EXB=1")}));
    }
    EXPECT_EQ(rightsOf(codeOf(QStringLiteral("alice"))), aliceBefore) << "other users keep their rights";
    EXPECT_EQ(checkLogin(QStringLiteral("SOLO"), QStringLiteral("S"), QStringLiteral("EXB")).outcome,
              LoginOutcome::Accepted);
    EXPECT_EQ(checkLogin(QStringLiteral("SOLO"), QStringLiteral("S"), QStringLiteral("EXV")).outcome,
              LoginOutcome::NoRight);

    // A default login with an apostrophe is a login like any other.
    gStartup.gDefaultLoginId = QStringLiteral("O'Brien");
    const int obrien = codeOf(QStringLiteral("O'Brien"));
    EXPECT_EQ(clearDefaultUser(), obrien);
    EXPECT_TRUE(rightsOf(obrien).isEmpty());
    InsertForDefaultUSer(obrien, QStringLiteral("EX'3"));
    EXPECT_EQ(rightsOf(obrien), QStringList({QStringLiteral("EX'3=1")}));

    // A default login without a user row works on user code 0.
    gStartup.gDefaultLoginId = QStringLiteral("GHOST");
    grant(QStringLiteral("nobody"), QStringLiteral("EXA"), 1); // code 0: no such login
    EXPECT_EQ(rightsOf(0), QStringList({QStringLiteral("EXA=1")}));
    EXPECT_EQ(clearDefaultUser(), 0);
    EXPECT_TRUE(rightsOf(0).isEmpty());
}

TEST_F(LoginRules, MultiUserLeavesRightsAlone)
{
    gStartup.gMultiUser = true;
    gStartup.gDefaultLoginId = QStringLiteral("alice");
    const int alice = codeOf(QStringLiteral("alice"));
    const QStringList before = rightsOf(alice);
    EXPECT_EQ(clearDefaultUser(), 0);
    InsertForDefaultUSer(alice, QStringLiteral("EXZ"));
    EXPECT_EQ(rightsOf(alice), before);
    EXPECT_TRUE(rightsOf(0).isEmpty());
}

} // namespace

namespace {

// A failed step of the login window's load is named for what failed: a
// missing skin file, picture or setting is no database error.
TEST(LoginLoadProblem, NamedForWhatFailed)
{
    EXPECT_EQ(loadProblemText(MissingFileError(MissingFileError::Skin, QStringLiteral("/p/Skin/ziduver.qss"))),
              QStringLiteral("The skin file /p/Skin/ziduver.qss was not found."));
    EXPECT_EQ(loadProblemText(MissingFileError(MissingFileError::Picture, QStringLiteral("/p/Icons/bg.jpg"))),
              QStringLiteral("The picture /p/Icons/bg.jpg was not found."));
    EXPECT_EQ(loadProblemText(SettingError(SettingError::InvalidArgument, QStringLiteral("Invalid procedure call"),
                                           QStringLiteral("SetupInfo/GeneralSettings/AppName"))),
              QStringLiteral("The setting SetupInfo/GeneralSettings/AppName is missing from setup.xml or has no "
                             "value."));
    const QString connection = gStartup.gSysConnStr;
    gStartup.gSysConnStr = QStringLiteral("DBQ=/p/Ziduver.QZR;UID=admin");
    EXPECT_EQ(loadProblemText(db::DbError(db::ErrorClass::Busy, 5, QStringLiteral("database is locked"))),
              QStringLiteral("The system database /p/Ziduver.QZR is in use by another program."));
    gStartup.gSysConnStr = connection;
}

} // namespace
