#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "foundation/UserRights.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/TempHome.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class UserRights : public ::testing::Test {
protected:
    // "user|exam|right" per row of the rights table.
    QStringList rights()
    {
        auto system = fixture.openSystem();
        QStringList rows;
        for (const db::Row& row : system.query(QStringLiteral(
                 "SELECT Bue_User, Bue_Exam, Bue_HaveRight FROM Bq_User_vs_Exams ORDER BY Bue_User, Bue_Exam")))
            rows << row.text(0) + '|' + row.text(1) + '|' + row.text(2);
        return rows;
    }
    // The user copies of an exam database, every column joined.
    QStringList copies(const QString& path)
    {
        auto exam = db::Connection::openFile(path);
        QStringList rows;
        for (const db::Row& row : exam.query(QStringLiteral(
                 "SELECT Qu_UserCode, Qu_LoginId, Qu_Password, qu_first_name, qu_middle_name, qu_last_name, qu_email, "
                 "Qu_HaveRight FROM Qe_User ORDER BY Qu_UserCode")))
            rows << QStringList{row.text(0), row.text(1), row.text(2), row.text(3),
                                row.text(4), row.text(5), row.text(6), row.text(7)}
                        .join('|');
        return rows;
    }

    TempHome home;
    ExamDbFixture fixture{home};
    QString error;
};

TEST_F(UserRights, RightIsAddedOnceThenChanged)
{
    EXPECT_TRUE(Gen_UpdateRights(7, true, QString(), QStringLiteral("EX1"), error));
    EXPECT_TRUE(Gen_UpdateRights(7, true, QString(), QStringLiteral("EX2"), error));
    EXPECT_TRUE(Gen_UpdateRights(7, false, QString(), QStringLiteral("ex1"), error)); // codes match in any case
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(rights(), (QStringList{"7|EX1|0", "7|EX2|1"}));
}

TEST_F(UserRights, UserCopyIsAddedThenOnlyNonEmptyFieldsOverwrite)
{
    const QString exam = fixture.createExam(QStringLiteral("Data/a/a.qzr"));
    EXPECT_TRUE(Gen_UpdateRights(3, true, exam, QStringLiteral("EX1"), error, QStringLiteral("ann"),
                                 QStringLiteral("Ann"), QStringLiteral("M"), QStringLiteral("Lee"),
                                 QStringLiteral("ann@example.org")));
    EXPECT_EQ(copies(exam), QStringList{"3|ann||Ann|M|Lee|ann@example.org|1"});

    EXPECT_TRUE(Gen_UpdateRights(3, false, exam, QStringLiteral("EX1"), error, QString(), QStringLiteral("Anne")));
    EXPECT_EQ(copies(exam), QStringList{"3|ann||Anne|M|Lee|ann@example.org|0"});
    EXPECT_EQ(rights(), QStringList{"3|EX1|0"});
}

// No password leaves the system database: a copy written by an older
// version loses its password the next time it is written, whoever writes it.
TEST_F(UserRights, CopyWrittenAgainLosesItsOldPassword)
{
    const QString exam = fixture.createExam(QStringLiteral("Data/a/a.qzr"));
    db::Connection::openFile(exam).exec(
        QStringLiteral("INSERT INTO Qe_User (Qu_UserCode, Qu_LoginId, Qu_Password, qu_first_name, Qu_HaveRight) "
                       "VALUES (3, 'ann', 'SECRET', 'Ann', 1), (4, 'bob', 'OTHER', 'Bob', 1)"));
    EXPECT_TRUE(Gen_UpdateRights(3, false, exam, QStringLiteral("EX1"), error)) << error.toStdString();
    EXPECT_EQ(copies(exam), (QStringList{"3|ann||Ann||||0", "4|bob|OTHER|Bob||||1"}))
        << "only the copy written is touched";
}

TEST_F(UserRights, ValuesWithApostrophesAreStoredVerbatim)
{
    const QString exam = fixture.createExam(QStringLiteral("Data/a/a.qzr"));
    EXPECT_TRUE(Gen_UpdateRights(4, true, exam, QStringLiteral("O'B 1"), error, QStringLiteral("o'neil"),
                                 QStringLiteral("D'Arcy"), QString(), QStringLiteral("O'Neil"),
                                 QStringLiteral("'; DROP TABLE Qe_User; --")))
        << error.toStdString();
    EXPECT_EQ(rights(), QStringList{"4|O'B 1|1"});
    EXPECT_EQ(copies(exam), QStringList{"4|o'neil||D'Arcy||O'Neil|'; DROP TABLE Qe_User; --|1"});
}

// The right is committed before the exam database is touched; a failure
// there comes back as text and leaves the right in place.
TEST_F(UserRights, UnusableExamDatabaseKeepsTheRightAndReportsTheError)
{
    home.write(QStringLiteral("Data/t/text.qzr"), "not a database");
    const QString locked = fixture.createExam(QStringLiteral("Data/l/locked.qzr"));
    const QString noUserTable = fixture.createExam(QStringLiteral("Data/n/nouser.qzr"), [] {
        ExamDbOptions o;
        o.droppedTables = {"Qe_User"};
        return o;
    }());
    int user = 10;
    for (const QString& path : {home.file(QStringLiteral("Data/missing.qzr")),
                                home.file(QStringLiteral("Data/t/text.qzr")), locked, noUserTable}) {
        SCOPED_TRACE(path.toStdString());
        removeDebugLog();
        auto holder = db::Connection::openFile(locked);
        holder.execScript(QStringLiteral("BEGIN EXCLUSIVE"));
        EXPECT_FALSE(Gen_UpdateRights(++user, true, path, QStringLiteral("EX1"), error, QStringLiteral("u")));
        holder.execScript(QStringLiteral("ROLLBACK"));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(readDebugLog().contains(error + QStringLiteral(": Gen_UpdateRights: QmodPublic: Date/Time :")));
        EXPECT_TRUE(rights().contains(QString::number(user) + QStringLiteral("|EX1|1")));
    }
    EXPECT_TRUE(copies(locked).isEmpty());
}

// Another program holding either file: the text says which write failed, on
// which file and why in the program's words, never SQLite's.
TEST_F(UserRights, AFileInUseIsNamedInTheProgramsWords)
{
    const QString exam = fixture.createExam(QStringLiteral("Data/a/a.qzr"));
    const QString inUse = QStringLiteral(" is in use by another program.\r\n"
                                         "Close the other program that uses it, then try again.");
    const struct {
        QString held;
        QString expected;
    } cases[] = {
        {fixture.systemDbPath(),
         QStringLiteral("The right could not be saved.\r\nThe system database ") + fixture.systemDbPath() + inUse},
        {exam,
         QStringLiteral("The exam database's copy of the user could not be written.\r\nThe exam database ") + exam
             + inUse},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.held.toStdString());
        auto holder = db::Connection::openFile(c.held);
        holder.execScript(QStringLiteral("BEGIN EXCLUSIVE"));
        EXPECT_FALSE(Gen_UpdateRights(5, true, exam, QStringLiteral("EX1"), error, QStringLiteral("u")));
        holder.execScript(QStringLiteral("ROLLBACK"));
        EXPECT_EQ(error, c.expected);
    }
}

// Inside the caller's transaction on the system database (where a second
// connection could not write) the right follows the caller's commit or
// rollback.
TEST_F(UserRights, RunsInsideTheCallersTransaction)
{
    const QString exam = fixture.createExam(QStringLiteral("Data/a/a.qzr"));
    auto system = fixture.openSystem();
    {
        db::Transaction transaction(system);
        EXPECT_TRUE(Gen_UpdateRights(system, 5, true, exam, QStringLiteral("EX1"), error, QStringLiteral("bob")))
            << error.toStdString();
        EXPECT_TRUE(system.inTransaction());
        // A failing exam database part leaves the caller's transaction usable.
        EXPECT_FALSE(
            Gen_UpdateRights(system, 6, true, home.file(QStringLiteral("none.qzr")), QStringLiteral("EX1"), error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(system.inTransaction());
        transaction.commit();
    }
    EXPECT_EQ(rights(), (QStringList{"5|EX1|1", "6|EX1|1"}));
    EXPECT_EQ(copies(exam), QStringList{"5|bob||||||1"});

    {
        db::Transaction transaction(system);
        EXPECT_TRUE(Gen_UpdateRights(system, 5, false, QString(), QStringLiteral("EX1"), error));
        transaction.rollback();
    }
    EXPECT_EQ(rights(), (QStringList{"5|EX1|1", "6|EX1|1"}));
}

TEST_F(UserRights, AdministratorPassword)
{
    EXPECT_EQ(GetAdminPassword(), QStringLiteral("Admin"));
    EXPECT_FALSE(SetAdminPassword(QStringLiteral("NEW")));

    auto system = fixture.openSystem();
    for (const char* login : {"ann", "ADMIN"})
        SystemDatabase(system).addUser({QString::fromLatin1(login), QStringLiteral("SECRET")});
    SystemDatabase(system).addUser({QStringLiteral("bob"), QStringLiteral("OTHER")});
    EXPECT_EQ(GetAdminPassword(), QStringLiteral("SECRET"));

    EXPECT_TRUE(SetAdminPassword(QStringLiteral("IT'S NEW")));
    EXPECT_EQ(GetAdminPassword(), QStringLiteral("IT'S NEW"));
    EXPECT_EQ(system.query(QStringLiteral("SELECT Qu_LoginId || '=' || Qu_Password FROM Bq_User ORDER BY Qu_UserCode"))
                  .getString({}, QStringLiteral(",")),
              QStringLiteral("ann=SECRET,ADMIN=IT'S NEW,bob=OTHER,"));

    // Errors reach the caller.
    QFile::remove(fixture.systemDbPath());
    EXPECT_THROW(GetAdminPassword(), db::DbError);
    EXPECT_THROW(SetAdminPassword(QStringLiteral("X")), db::DbError);
}

} // namespace
