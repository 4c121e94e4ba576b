#include "admin/ProfileButtons.h"
#include "admin/UserAccounts.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace {

UserProfile profile(const QString& login, const QString& first, const QString& password,
                    const QString& confirm = QStringLiteral("<same>"))
{
    UserProfile p;
    p.login = login;
    p.firstName = first;
    p.password = password;
    p.confirmPassword = confirm == QLatin1String("<same>") ? password : confirm;
    return p;
}

class UserAccountsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        system = fixture.openSystem();
        SystemDatabase rows(system);
        adminCode = rows.addUser({QStringLiteral("Admin"), QStringLiteral("ADMIN")});
        annCode = rows.addUser({QStringLiteral("ann"), QStringLiteral("pw")});
        rows.addUser({QStringLiteral("Ärger"), QStringLiteral("pw")});
        examA = fixture.createExam(QStringLiteral("Data/a/a.qzr"), exam("EXA"));
        examB = fixture.createExam(QStringLiteral("Data/b/b.qzr"), exam("EXB"));
        examC = fixture.createExam(QStringLiteral("Data/c/c.qzr"), exam("EXC"));
    }

    static ExamDbOptions exam(const char* code)
    {
        ExamDbOptions options;
        options.examCode = QString::fromLatin1(code);
        return options;
    }

    // Every row of the tables a save writes, so a test can see that nothing
    // changed.
    QStringList systemRows()
    {
        QStringList rows;
        for (const char* sql :
             {"SELECT 'U', Qu_UserCode, Qu_LoginId, Qu_Password, qu_first_name, qu_middle_name, qu_last_name, "
              "qu_email, qu_add1, qu_add2, qu_state, qu_zip, qu_phone FROM Bq_User ORDER BY Qu_UserCode",
              "SELECT 'D', loginid, Password FROM Bq_DefaultUser ORDER BY rowid",
              "SELECT 'R', Bue_User, Bue_Exam, Bue_HaveRight FROM Bq_User_vs_Exams ORDER BY Bue_User, Bue_Exam"})
            rows << system.query(QString::fromLatin1(sql))
                        .getString(QStringLiteral("|"), QStringLiteral("\n"))
                        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return rows;
    }
    QStringList rightsOf(int code)
    {
        QStringList rows;
        for (const db::Row& row :
             system.query(QStringLiteral("SELECT Bue_Exam, Bue_HaveRight FROM Bq_User_vs_Exams WHERE Bue_User = ? "
                                         "ORDER BY Bue_Exam"),
                          {code}))
            rows << row.text(0) + QLatin1Char('=') + row.text(1);
        return rows;
    }
    static QStringList copiesIn(const QString& path)
    {
        db::Connection exam = db::Connection::openFile(path);
        QStringList rows;
        for (const db::Row& row : exam.query(QStringLiteral(
                 "SELECT Qu_UserCode, Qu_LoginId, qu_first_name, Qu_HaveRight FROM Qe_User ORDER BY Qu_UserCode")))
            rows << QStringList{row.text(0), row.text(1), row.text(2), row.text(3)}.join(QLatin1Char('|'));
        return rows;
    }
    std::vector<RightChoice> threeExams(bool a, bool b, bool c) const
    {
        return {
            {QStringLiteral("EXA"), examA, a}, {QStringLiteral("EXB"), examB, b}, {QStringLiteral("EXC"), examC, c}};
    }

    TempHome home;
    ExamDbFixture fixture{home};
    RecordingUiHooks ui;
    db::Connection system;
    int adminCode = 0;
    int annCode = 0;
    QString examA, examB, examC;
};

TEST(UserValidation, FirstFailingRuleDecidesInOrder)
{
    struct Case {
        UserProfile profile;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {profile("", "", ""), "Invalid Login Name.\r\n"},
        {profile("   ", "Ann", "pw"), "Invalid Login Name.\r\n"},
        {profile("ann", " \t", ""), "Invalid First Name.\r\n"},
        {profile("ann", "Ann", "   ", "x"), "Password should not be empty.\r\n"},
        {profile("ann", "Ann", "abc", "ABC"), "Passwords does not match. Confirm it.\r\n"},
        {profile("ann", "Ann", "abc", "abc "), "Passwords does not match. Confirm it.\r\n"},
        {profile(" ann ", "Ann", " abc"), nullptr},
        {profile("o'neil", "D'Arcy", "it's"), nullptr},
        {profile("Zoë", "Ærø", "päß"), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile.login.toStdString() + "/" + c.profile.password.toStdString());
        QString message = QStringLiteral("kept");
        EXPECT_EQ(ValdateData(c.profile, message), c.message == nullptr);
        EXPECT_EQ(message, c.message ? QString::fromUtf8(c.message) : QStringLiteral("kept"));
    }
}

TEST_F(UserAccountsTest, LoginsAreTakenInAnyCaseTrimmedAndInEveryScript)
{
    SystemDatabase rows(system);
    const std::pair<const char*, bool> cases[] = {
        {"ann", true},   {" ANN ", true}, {"Ann", true}, {"admin", true},  {"ärger", true},
        {"ÄRGER", true}, {"anne", false}, {"an", false}, {"arger", false},
    };
    for (const auto& [login, taken] : cases)
        EXPECT_EQ(UserIdExist(rows, QString::fromUtf8(login)), taken) << login;
}

TEST_F(UserAccountsTest, NewUserIsStoredTrimmedWithARightPerListedExamAndACopyInEach)
{
    SaveRequest request;
    request.profile = profile(QStringLiteral("  o'brien "), QStringLiteral("Pat"), QStringLiteral("it's me"));
    request.profile.email = QStringLiteral("pat@example.org");
    request.profile.phone = QStringLiteral("+44 1");
    request.makeDefault = true;
    request.rights = threeExams(true, false, true);
    const SaveOutcome outcome = saveUser(system, request);
    ASSERT_EQ(outcome.status, SaveOutcome::Status::Saved) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.copyFailures.empty());

    const auto stored = SystemDatabase(system).profileOf(outcome.userCode);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->login, QStringLiteral("o'brien")) << "stored trimmed, apostrophe and all";
    EXPECT_EQ(stored->password, QStringLiteral("it's me"));
    EXPECT_EQ(stored->email, QStringLiteral("pat@example.org"));
    EXPECT_EQ(stored->phone, QStringLiteral("+44 1"));
    EXPECT_EQ(rightsOf(outcome.userCode), (QStringList{"EXA=1", "EXB=0", "EXC=1"}));
    const QString code = QString::number(outcome.userCode);
    EXPECT_EQ(copiesIn(examA), QStringList{code + "|o'brien|Pat|1"});
    EXPECT_EQ(copiesIn(examB), QStringList{code + "|o'brien|Pat|0"});
    EXPECT_EQ(copiesIn(examC), QStringList{code + "|o'brien|Pat|1"});
    EXPECT_TRUE(systemRows().contains(QStringLiteral("D|o'brien|it's me")));
    for (const QString& path : {examA, examB, examC})
        EXPECT_EQ(db::Connection::openFile(path).scalar(QStringLiteral("SELECT group_concat(Qu_Password) FROM Qe_User")),
                  QVariant(QString()))
            << "no password leaves the system database";
}

TEST_F(UserAccountsTest, TakenLoginInAnyCaseWritesNothing)
{
    const QStringList before = systemRows();
    for (const char* login : {"ANN", " ann", "ärger", "ADMIN"}) {
        SaveRequest request;
        request.profile = profile(QString::fromUtf8(login), QStringLiteral("Other"), QStringLiteral("x"));
        request.makeDefault = true;
        request.rights = threeExams(true, true, true);
        const SaveOutcome outcome = saveUser(system, request);
        EXPECT_EQ(outcome.status, SaveOutcome::Status::LoginTaken) << login;
        EXPECT_EQ(outcome.message, QStringLiteral("Login ID already exists"));
    }
    EXPECT_EQ(systemRows(), before);
    EXPECT_TRUE(copiesIn(examA).isEmpty());
}

TEST_F(UserAccountsTest, EditKeepsTheLoginReplacesTheOneDefaultUserAndUntickedLeavesIt)
{
    SystemDatabase(system).addDefaultUser(QStringLiteral("someone"), QStringLiteral("old"));
    SaveRequest request;
    request.editing = true;
    request.userCode = annCode;
    request.profile = profile(QStringLiteral("renamed"), QStringLiteral("Ann"), QStringLiteral("new"));
    request.profile.lastName = QStringLiteral("Lee");
    request.makeDefault = true;
    request.rights = threeExams(false, true, false);
    ASSERT_EQ(saveUser(system, request).status, SaveOutcome::Status::Saved);
    const auto ann = SystemDatabase(system).profileOf(annCode);
    EXPECT_EQ(ann->login, QStringLiteral("ann")) << "an edit never changes the login";
    EXPECT_EQ(ann->password, QStringLiteral("new"));
    EXPECT_EQ(ann->lastName, QStringLiteral("Lee"));
    EXPECT_EQ(rightsOf(annCode), (QStringList{"EXA=0", "EXB=1", "EXC=0"}));
    const auto defaults = SystemDatabase(system).defaultUsers();
    ASSERT_EQ(defaults.size(), 1u);
    EXPECT_EQ(defaults[0].login, QStringLiteral("ann"))
        << "the single row is overwritten with the stored login, never the box's";
    for (const QString& path : {examA, examB, examC})
        EXPECT_EQ(copiesIn(path), QStringList{QString::number(annCode) + QStringLiteral("|ann|Ann|")
                                              + (path == examB ? QStringLiteral("1") : QStringLiteral("0"))})
            << "the exam databases' copies take the stored login too";
    EXPECT_EQ(saveUser(system, request).login, QStringLiteral("ann"));

    request.makeDefault = false;
    request.profile.login = QStringLiteral("ann");
    ASSERT_EQ(saveUser(system, request).status, SaveOutcome::Status::Saved);
    EXPECT_EQ(SystemDatabase(system).defaultUsers().size(), 1u) << "unticking changes nothing";
}

// A missing or unreadable exam file: every right is written, the copy fails
// for that exam only and is reported with the right as stored.
TEST_F(UserAccountsTest, ExamThatCannotTakeTheCopyIsReportedAndTheOthersAreWritten)
{
    home.write(QStringLiteral("Data/t/text.qzr"), "not a database");
    std::vector<RightChoice> rights = threeExams(true, true, false);
    rights.insert(rights.begin() + 1, {QStringLiteral("GONE"), home.file(QStringLiteral("Data/gone.qzr")), true});
    rights.push_back({QStringLiteral("TXT"), home.file(QStringLiteral("Data/t/text.qzr")), false});
    SaveRequest request;
    request.profile = profile(QStringLiteral("kim"), QStringLiteral("Kim"), QStringLiteral("k"));
    request.rights = rights;
    const SaveOutcome outcome = saveUser(system, request);
    ASSERT_EQ(outcome.status, SaveOutcome::Status::Saved);
    ASSERT_EQ(outcome.copyFailures.size(), 2u);
    EXPECT_EQ(outcome.copyFailures[0].examCode, QStringLiteral("GONE"));
    EXPECT_TRUE(outcome.copyFailures[0].storedRight);
    EXPECT_EQ(outcome.copyFailures[1].examCode, QStringLiteral("TXT"));
    EXPECT_FALSE(outcome.copyFailures[1].storedRight);
    for (const CopyFailure& failure : outcome.copyFailures)
        EXPECT_TRUE(failure.message.startsWith(QStringLiteral("User updation in selected Exam tables failed.\r\n")))
            << failure.message.toStdString();
    EXPECT_EQ(rightsOf(outcome.userCode), (QStringList{"EXA=1", "EXB=1", "EXC=0", "GONE=1", "TXT=0"}));
    EXPECT_EQ(copiesIn(examC).size(), 1) << "the exams after the failing one still get their copy";
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Data/gone.qzr")))) << "a missing exam is never created";
}

// A write refused anywhere in the save (the user row, the default user, a
// right, whichever way SQLite ends the statement) leaves the system
// database exactly as it was, and no exam database gets a copy.
TEST_F(UserAccountsTest, FailureMidSaveLeavesTheSystemDatabaseUnchanged)
{
    struct Case {
        const char* table;
        int rowsLetThrough;
        FailingWrites::Write write;
        bool editing;
    };
    const Case cases[] = {
        {"Bq_User", 0, FailingWrites::Write::Insert, false},
        {"Bq_User", 0, FailingWrites::Write::Update, true},
        {"Bq_DefaultUser", 0, FailingWrites::Write::Insert, false},
        {"Bq_User_vs_Exams", 2, FailingWrites::Write::Insert, false},
        {"Bq_User_vs_Exams", 1, FailingWrites::Write::Insert, true},
    };
    for (FailingWrites::Raise raise : {FailingWrites::Raise::Abort, FailingWrites::Raise::Rollback}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.table) + (c.editing ? " edit" : " add")
                         + (raise == FailingWrites::Raise::Abort ? " abort" : " rollback"));
            const QStringList before = systemRows();
            FailingWrites failing(fixture.systemDbPath(), QString::fromLatin1(c.table), c.rowsLetThrough, c.write,
                                  raise);
            SaveRequest request;
            request.editing = c.editing;
            request.userCode = annCode;
            request.profile = profile(c.editing ? QStringLiteral("ann") : QStringLiteral("newbie"),
                                      QStringLiteral("New"), QStringLiteral("pw2"));
            request.makeDefault = true;
            request.rights = threeExams(true, false, true);
            const SaveOutcome outcome = saveUser(system, request);
            EXPECT_EQ(outcome.status, SaveOutcome::Status::Failed);
            EXPECT_TRUE(outcome.message.contains(FailingWrites::message())) << outcome.message.toStdString();
            EXPECT_FALSE(system.inTransaction());
            EXPECT_EQ(systemRows(), before);
            EXPECT_TRUE(copiesIn(examA).isEmpty());
        }
    }
}

TEST_F(UserAccountsTest, DefaultUserMatchesInAnyCaseAndCannotBeDeleted)
{
    SystemDatabase rows(system);
    rows.addDefaultUser(QStringLiteral("ÄRGER"), QStringLiteral("pw"));
    EXPECT_TRUE(AnyDefaultUser(rows));
    EXPECT_EQ(chkDefaultUser(rows, QStringLiteral("ärger")), 1);
    EXPECT_EQ(chkDefaultUser(rows, QStringLiteral("ann")), 0);

    const std::tuple<const char*, bool, const char*> cases[] = {
        {"ärger", false, "Default user cannot be deleted!"},
        {"ann", true, "Default user cannot be deleted!"},
        {"admin", false, "Administrative user cannot be deleted"},
        {"ann", false, ""},
    };
    for (const auto& [login, ticked, refusal] : cases)
        EXPECT_EQ(deleteRefusal(rows, QString::fromUtf8(login), ticked), QString::fromLatin1(refusal)) << login;
}

TEST_F(UserAccountsTest, DeleteRemovesTheUserAndHisRightsTogether)
{
    SystemDatabase rows(system);
    rows.addRight(annCode, QStringLiteral("EXA"), true);
    rows.addRight(adminCode, QStringLiteral("EXA"), true);
    {
        FailingWrites failing(fixture.systemDbPath(), QStringLiteral("Bq_User_vs_Exams"), 0,
                              FailingWrites::Write::Delete);
        const QStringList before = systemRows();
        EXPECT_THROW(deleteUser(system, annCode), db::DbError);
        EXPECT_EQ(systemRows(), before) << "the user stays when his rights cannot go";
    }
    deleteUser(system, annCode);
    EXPECT_FALSE(rows.profileOf(annCode));
    EXPECT_TRUE(rightsOf(annCode).isEmpty());
    EXPECT_EQ(rightsOf(adminCode), QStringList{"EXA=1"});
}

TEST(ProfileButtons, StatesAfterEachStep)
{
    // add, edit, delete, save, cancel, login box; '-' leaves the control as it is.
    struct Case {
        ProfileStep step;
        bool users;
        bool loginShown;
        const char* states;
    };
    const Case cases[] = {
        {ProfileStep::Load, true, false, "-1100-"},        {ProfileStep::Load, false, false, "-00000"},
        {ProfileStep::Add, true, false, "000111"},         {ProfileStep::Add, false, false, "000111"},
        {ProfileStep::Edit, true, true, "00011-"},         {ProfileStep::SaveDone, true, true, "111000"},
        {ProfileStep::SaveDone, false, true, "---000"},    {ProfileStep::Cancel, true, true, "111000"},
        {ProfileStep::Cancel, false, false, "1--00-"},     {ProfileStep::DeleteDone, true, false, "1-----"},
        {ProfileStep::DeleteDone, false, false, "100---"},
    };
    auto text = [](const ProfileButtonStates& s) {
        std::string out;
        for (const std::optional<bool>& state : {s.add, s.edit, s.remove, s.save, s.cancel, s.loginBox})
            out += state ? (*state ? '1' : '0') : '-';
        return out;
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(profileButtonsAfter(c.step, c.users, c.loginShown)), c.states)
            << int(c.step) << " users " << c.users << " login " << c.loginShown;
}

} // namespace
