#include "admin/ExamAttach.h"
#include "admin/ExamRights.h"
#include "admin/UserAccounts.h"
#include "foundation/LoginRules.h"
#include "foundation/ExamDiscovery.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "foundation/UserRights.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QFile>
#include <optional>
#include <gtest/gtest.h>

namespace {

ExamDbOptions exam(const char* code, const char* name = "An exam")
{
    ExamDbOptions options;
    options.examCode = QString::fromUtf8(code);
    options.examName = QString::fromUtf8(name);
    return options;
}

class AttachTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        fixture = std::make_unique<ExamDbFixture>(home);
        system = fixture->openSystem();
        SystemDatabase rows(system);
        rows.addUser({QStringLiteral("Admin"), QStringLiteral("ADMIN")});
        ann = rows.addUser({QStringLiteral("ann"), QStringLiteral("pa"), QStringLiteral("Ann")});
        bob = rows.addUser({QStringLiteral("bob"), QStringLiteral("pb"), QStringLiteral("Bob"), std::nullopt,
                            QStringLiteral("Builder"), QStringLiteral("bob@example.org")});
    }

    QStringList rights()
    {
        QStringList rows;
        for (const db::Row& row : system.query(QStringLiteral(
                 "SELECT Bue_User, Bue_Exam, Bue_HaveRight FROM Bq_User_vs_Exams ORDER BY Bue_User, Bue_Exam")))
            rows << QStringList{row.text(0), row.text(1), row.text(2)}.join(QLatin1Char('|'));
        return rows;
    }
    static QStringList copiesIn(const QString& path)
    {
        db::Connection examDb = db::Connection::openFile(path);
        QStringList rows;
        for (const db::Row& row : examDb.query(QStringLiteral("SELECT Qu_UserCode, Qu_LoginId, Qu_Password, "
                                                              "qu_last_name, qu_email, Qu_HaveRight FROM Qe_User "
                                                              "ORDER BY Qu_UserCode")))
            rows << QStringList{row.text(0), row.text(1), row.text(2), row.text(3), row.text(4), row.text(5)}.join(
                QLatin1Char('|'));
        return rows;
    }

    TempHome home;
    RecordingUiHooks ui;
    std::unique_ptr<ExamDbFixture> fixture;
    db::Connection system;
    int ann = 0;
    int bob = 0;
};

TEST_F(AttachTest, BrowsedFileIsCheckedBeforeItCanBeAttached)
{
    SystemDatabase rows(system);
    rows.addExam(home.file(QStringLiteral("elsewhere/gone.qzr")), QStringLiteral("HIDDEN"), QStringLiteral("Gone"));
    home.write(QStringLiteral("net/text.qzr"), "not a database");
    ExamDbOptions extraColumn = exam("NEW1");
    extraColumn.extraColumns = {QStringLiteral("Qe_Category.Qc_Extra")};
    ExamDbOptions noRow = exam("NEW2");
    noRow.withExamRow = false;
    ExamDbOptions invalid = exam("NEW3");
    invalid.validDb = 0;
    ExamDbOptions unmarked = exam(" New4 ", "Fourth");
    unmarked.validDb = QVariant();

    struct Case {
        QString path;
        BrowsedExam::Status status;
        bool messageShown;
        QString code;
    };
    const Case cases[] = {
        {fixture->createExam(QStringLiteral("net/extra.qzr"), extraColumn), BrowsedExam::Status::Refused, true, {}},
        {home.file(QStringLiteral("net/text.qzr")), BrowsedExam::Status::Refused, false, {}},
        {home.file(QStringLiteral("net/missing.qzr")), BrowsedExam::Status::Refused, false, {}},
        {fixture->createExam(QStringLiteral("net/norow.qzr"), noRow), BrowsedExam::Status::NoExamRow, false, {}},
        // Listed already, from another folder, in another case and with blanks.
        {fixture->createExam(QStringLiteral("net/dup.qzr"), exam(" listed ")),
         BrowsedExam::Status::AlreadyAttached,
         false,
         {}},
        // Attached, though not listed because its file is missing.
        {fixture->createExam(QStringLiteral("net/hidden.qzr"), exam("hidden")),
         BrowsedExam::Status::AlreadyAttached,
         false,
         {}},
        {fixture->createExam(QStringLiteral("net/invalid.qzr"), invalid), BrowsedExam::Status::Invalid, false, {}},
        {fixture->createExam(QStringLiteral("net/ok.qzr"), unmarked), BrowsedExam::Status::Ready, false,
         QStringLiteral(" New4 ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ui.clear();
        const BrowsedExam result = checkBrowsedExam(rows, c.path, {QStringLiteral("OTHER"), QStringLiteral("LISTED")});
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.messageShown, c.messageShown);
        EXPECT_EQ(ui.messages().size(), c.messageShown ? 1u : 0u) << ui.messageTexts().join('|').toStdString();
        if (c.status == BrowsedExam::Status::Ready) {
            EXPECT_EQ(result.code, c.code);
            EXPECT_EQ(result.description, QStringLiteral("Fourth"));
        }
    }
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("net/missing.qzr")))) << "a browsed file is never created";
}

TEST_F(AttachTest, IncompatibleFileSaysWhichTable)
{
    ExamDbOptions extraColumn = exam("NEW1");
    extraColumn.extraColumns = {QStringLiteral("Qe_Category.Qc_Extra")};
    SystemDatabase rows(system);
    checkBrowsedExam(rows, fixture->createExam(QStringLiteral("net/extra.qzr"), extraColumn), {});
    EXPECT_EQ(ui.messageTexts(), QStringList{"Non-compatible database. Cannot use: Qe_Category"});
}

TEST_F(AttachTest, AttachWritesTheExamAndARightAndCopyForEveryListedUser)
{
    const QString path = fixture->createExam(QStringLiteral("net/new.qzr"), exam("NEW"));
    QString error;
    EXPECT_EQ(AttachDatabase(system, path, QStringLiteral("NEW"), QStringLiteral("New exam"),
                             {{ann, false}, {bob, false}}, error),
              AttachResult::NoUserGranted);
    EXPECT_TRUE(fixture->attachedExams().isEmpty()) << "nothing is written when nobody is ticked";

    int steps = 0;
    // A listed user deleted meanwhile (code 99) is passed over.
    EXPECT_EQ(AttachDatabase(system, path, QStringLiteral("NEW"), QStringLiteral("New exam"),
                             {{ann, false}, {99, true}, {bob, true}}, error, [&steps] { ++steps; }),
              AttachResult::Attached)
        << error.toStdString();
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(fixture->attachedExams(), QStringList{"NEW|" + path});
    EXPECT_EQ(rights(), (QStringList{QString::number(ann) + "|NEW|0", QString::number(bob) + "|NEW|1"}));
    EXPECT_EQ(copiesIn(path),
              (QStringList{QString::number(ann) + "|ann||||0",
                           QString::number(bob) + "|bob||Builder|bob@example.org|1"}))
        << "no password leaves the system database";
}

// Attaching is all or nothing: whatever fails, in either file, nothing of it
// is stored, the words name the file and why, and the retry attaches.
TEST_F(AttachTest, FailedAttachKeepsNothingAndTheRetryWorks)
{
    const QString path = fixture->createExam(QStringLiteral("net/new.qzr"), exam("NEW"));
    const QString systemPath = fixture->systemDbPath();
    struct Case {
        const char* name;
        QString lockedFile;    // held by another program
        bool readOnlySystem;   // the system database cannot be written
        int copiesLetThrough;  // -1: every copy is written
        QString words;
    };
    const Case cases[] = {
        {"exam database in use", path, false, -1,
         "The exam could not be attached.\r\nThe exam database " + path
             + " is in use by another program.\r\nClose the program that uses it, then try again."},
        {"system database in use", systemPath, false, -1,
         "The exam could not be attached.\r\nThe system database " + systemPath
             + " is in use by another program.\r\nClose the program that uses it, then try again."},
        {"system database read-only", {}, true, -1,
         "The exam could not be attached.\r\nThe system database " + systemPath
             + " cannot be written.\r\nNothing was changed. Make sure the file can be written, then try again."},
        {"second copy refused", {}, false, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        {
            std::optional<db::Connection> holder;
            if (!c.lockedFile.isEmpty()) {
                holder.emplace(db::Connection::openFile(c.lockedFile));
                holder->execScript(QStringLiteral("BEGIN IMMEDIATE"));
            }
            std::optional<FailingWrites> failing;
            if (c.copiesLetThrough >= 0)
                failing.emplace(path, QStringLiteral("Qe_User"), c.copiesLetThrough);
            system.setBusyTimeout(100);
            if (c.readOnlySystem)
                system.execScript(QStringLiteral("PRAGMA query_only = ON"));
            EXPECT_EQ(AttachDatabase(system, path, QStringLiteral("NEW"), QStringLiteral("New exam"),
                                     {{ann, true}, {bob, true}}, error),
                      AttachResult::Failed);
            system.execScript(QStringLiteral("PRAGMA query_only = OFF"));
        }
        if (c.words.isEmpty())
            EXPECT_TRUE(error.startsWith("The exam could not be attached.\r\nThe exam database " + path))
                << error.toStdString();
        else
            EXPECT_EQ(error, c.words);
        EXPECT_FALSE(error.contains(QLatin1String("constraint"), Qt::CaseInsensitive));
        EXPECT_FALSE(system.inTransaction());
        EXPECT_TRUE(fixture->attachedExams().isEmpty());
        EXPECT_TRUE(rights().isEmpty());
        EXPECT_TRUE(copiesIn(path).isEmpty());

        error.clear();
        EXPECT_EQ(AttachDatabase(system, path, QStringLiteral("NEW"), QStringLiteral("New exam"),
                                 {{ann, true}, {bob, false}}, error),
                  AttachResult::Attached)
            << error.toStdString();
        EXPECT_EQ(fixture->attachedExams(), QStringList{"NEW|" + path});
        EXPECT_EQ(rights(), (QStringList{QString::number(ann) + "|NEW|1", QString::number(bob) + "|NEW|0"}));
        EXPECT_EQ(copiesIn(path).size(), 2);
        detachExam(system, QStringLiteral("NEW"));
        db::Connection::openFile(path).exec(QStringLiteral("DELETE FROM Qe_User"));
    }

    // The same code a second time, in any case and with blanks, is refused
    // in the program's words, and the first attach stays as it was.
    QString error;
    ASSERT_EQ(AttachDatabase(system, path, QStringLiteral("NEW"), QStringLiteral("New exam"), {{ann, true}}, error),
              AttachResult::Attached);
    EXPECT_EQ(AttachDatabase(system, path, QStringLiteral(" new "), QStringLiteral("Again"), {{bob, true}}, error),
              AttachResult::Failed);
    EXPECT_EQ(error, QStringLiteral("Database already attached"));
    EXPECT_EQ(fixture->attachedExams(), QStringList{"NEW|" + path});
    EXPECT_EQ(rights(), QStringList{QString::number(ann) + "|NEW|1"});
}

TEST_F(AttachTest, CurrentExamCannotBeDetachedAndADetachLeavesTheFile)
{
    gLogin.gExamCode = QStringLiteral("EX1");
    EXPECT_TRUE(isCurrentExam(QStringLiteral(" ex1 ")));
    EXPECT_FALSE(isCurrentExam(QStringLiteral("EX2")));
    gLogin.gExamCode.clear();
    EXPECT_FALSE(isCurrentExam(QString())) << "nothing counts as current when no exam is logged in";

    const QString a = fixture->createExam(QStringLiteral("Data/a/a.qzr"), exam("EXA", "Zeta"));
    const QString b = fixture->createExam(QStringLiteral("Data/b/b.qzr"), exam("EXB", "Alpha"));
    SystemDatabase rows(system);
    rows.addExam(a, QStringLiteral("EXA"), QStringLiteral("Zeta"));
    rows.addExam(b, QStringLiteral("EXB"), QStringLiteral("Alpha"));
    rows.addExam(home.file(QStringLiteral("Data/c/gone.qzr")), QStringLiteral("EXC"), QStringLiteral("Beta"));
    QString error;
    ASSERT_TRUE(Gen_UpdateRights(system, ann, true, a, QStringLiteral("EXA"), error, QStringLiteral("ann")));
    rows.addRight(ann, QStringLiteral("EXB"), true);

    QStringList listed;
    for (const auto& e : attachedExamList(rows))
        listed << e.code;
    EXPECT_EQ(listed, (QStringList{"EXB", "EXA"})) << "by description, missing files left out";
    listed.clear();
    for (const auto& e : permissionExams(rows))
        listed << e.code;
    EXPECT_EQ(listed, (QStringList{"EXA", "EXB"})) << "by code, missing files left out";

    detachExam(system, QStringLiteral("EXA"));
    EXPECT_EQ(fixture->attachedExams().size(), 2);
    EXPECT_EQ(rights(), QStringList{QString::number(ann) + "|EXB|1"});
    EXPECT_EQ(copiesIn(a).size(), 1) << "the exam database keeps its copies";
}

TEST_F(AttachTest, RightsShownPerLogin)
{
    SystemDatabase rows(system);
    rows.addRight(ann, QStringLiteral("EXA"), true);
    rows.addRight(ann, QStringLiteral("EXB"), false);
    rows.addRight(ann, QStringLiteral("EXC"), QVariant()); // an older database's unset flag lets him in
    rows.addRight(ann, QStringLiteral("EXD"), -1);
    EXPECT_EQ(grantedExamCodes(rows, QStringLiteral("ANN")), (QStringList{"EXA", "EXC", "EXD"}));
    EXPECT_TRUE(grantedExamCodes(rows, QStringLiteral("nobody")).isEmpty());

    // Codes kept for the program's own use show nothing.
    system.exec(QStringLiteral("INSERT INTO Bq_User (Qu_UserCode, Qu_LoginId, Qu_Password) VALUES (99998, 'x8', 'p'), "
                               "(99999, 'x9', 'p')"));
    rows.addRight(99998, QStringLiteral("EXA"), true);
    rows.addRight(99999, QStringLiteral("EXA"), true);
    EXPECT_TRUE(grantedExamCodes(rows, QStringLiteral("x8")).isEmpty());
    EXPECT_TRUE(grantedExamCodes(rows, QStringLiteral("x9")).isEmpty());
}

// One user's right changed at once: when only the exam's copy fails, the
// right is written all the same, and the window shows it as stored.
TEST_F(AttachTest, ChangedRightReadsBackWhatIsStored)
{
    const QString path = fixture->createExam(QStringLiteral("Data/a/a.qzr"), exam("EXA"));
    RightChange change =
        changeRight(system, ann, true, path, QStringLiteral("EXA"), QStringLiteral("ann"), QStringLiteral("Ann"));
    EXPECT_TRUE(change.ok) << change.error.toStdString();
    EXPECT_TRUE(change.stored);

    change = changeRight(system, bob, true, home.file(QStringLiteral("Data/missing.qzr")), QStringLiteral("EXA"),
                         QStringLiteral("bob"), QStringLiteral("Bob"));
    EXPECT_FALSE(change.ok);
    EXPECT_FALSE(change.error.isEmpty());
    EXPECT_TRUE(change.stored) << "the right was written before the copy failed";

    FailingWrites failing(fixture->systemDbPath(), QStringLiteral("Bq_User_vs_Exams"), 0, FailingWrites::Write::Update);
    change = changeRight(system, ann, false, path, QStringLiteral("EXA"), QStringLiteral("ann"), QStringLiteral("Ann"));
    EXPECT_FALSE(change.ok);
    EXPECT_TRUE(change.stored) << "a right that could not be revoked still stands";
}

// An exam whose stored code carries blanks: discovery stores it trimmed,
// rights an older version stored under the untrimmed code move to it once,
// and every grant (the single-user re-grant, the Grant/Deny list of a
// profile, one tick in the attach list) is found by login.
TEST_F(AttachTest, ACodeWithBlanksIsOneCodeForDiscoveryRightsAndLogin)
{
    const QString path = fixture->createExam(QStringLiteral("Data/lsa/lsa.qzr"), exam(" LSA101 ", "Linux"));
    SystemDatabase rows(system);
    const int cy = rows.addUser({QStringLiteral("cy"), QStringLiteral("PC")});
    const int dee = rows.addUser({QStringLiteral("dee"), QStringLiteral("PD")});
    // Written by an older version: ann under the untrimmed code only, cy
    // under both (the trimmed row is the one login read, and stands).
    system.exec(QStringLiteral("INSERT INTO Bq_User_vs_Exams (Bue_Exam, Bue_User, Bue_HaveRight) VALUES "
                               "('LSA101 ', ?, 1), (' LSA101 ', ?, 1), ('LSA101', ?, 0)"),
                {ann, cy, cy});

    ASSERT_EQ(ReadRegCurrentDB(), DiscoveryResult::Rebuilt) << ui.messageTexts().join('|').toStdString();
    EXPECT_EQ(fixture->attachedExams(), QStringList{"LSA101|" + path});
    EXPECT_EQ(rights(), (QStringList{QString::number(ann) + "|LSA101|1", QString::number(cy) + "|LSA101|0"}));
    const auto login = [](const char* user, const char* password) {
        return checkLogin(QString::fromLatin1(user), QString::fromLatin1(password), QStringLiteral("LSA101")).outcome;
    };
    EXPECT_EQ(login("ANN", "PA"), LoginOutcome::Accepted);
    EXPECT_EQ(login("CY", "PC"), LoginOutcome::NoRight);

    // The code as the lists show it, taken from what is attached.
    const std::vector<ListedExam> listed = listedExams();
    ASSERT_EQ(listed.size(), 1u);
    const QString shown = listed.front().code;

    // Single-user mode: the default user's rights are granted again.
    gStartup.gMultiUser = false;
    gStartup.gDefaultLoginId = QStringLiteral("bob");
    InsertForDefaultUSer(clearDefaultUser(), shown);
    EXPECT_EQ(login("BOB", "PB"), LoginOutcome::Accepted);

    // A profile's Grant/Deny list, and one tick in the attach list, even
    // when handed the code as the exam database holds it.
    SaveRequest request;
    request.editing = true;
    request.userCode = cy;
    request.profile.login = QStringLiteral("cy");
    request.profile.firstName = QStringLiteral("Cy");
    request.profile.password = request.profile.confirmPassword = QStringLiteral("PC");
    request.rights = {{permissionExams(rows).front().code, path, true}};
    ASSERT_EQ(saveUser(system, request).status, SaveOutcome::Status::Saved);
    EXPECT_EQ(login("CY", "PC"), LoginOutcome::Accepted);
    EXPECT_TRUE(changeRight(system, dee, true, path, QStringLiteral(" LSA101 "), QStringLiteral("dee"), {}).ok);
    EXPECT_EQ(login("DEE", "PD"), LoginOutcome::Accepted);
    EXPECT_EQ(grantedExamCodes(rows, QStringLiteral("dee")), QStringList{"LSA101"});
    EXPECT_FALSE(
        system.scalar(QStringLiteral("SELECT 1 FROM Bq_User_vs_Exams WHERE Bue_Exam <> 'LSA101'")).isValid());
}

} // namespace
