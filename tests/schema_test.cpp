#include "foundation/Schema.h"
#include "platform/db/Connection.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace {

QStringList tablesIn(db::Connection& c)
{
    QStringList names;
    for (const auto& row : c.query(QStringLiteral(
             "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY name")))
        names << row.text(0);
    return names;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

TEST(Schema, SystemDatabaseHasItsTablesAndColumns)
{
    TempHome home;
    auto c = db::Connection::create(home.file(QStringLiteral("Ziduver.QZR")));
    schema::createSystemDatabase(c);
    EXPECT_EQ(tablesIn(c),
              sorted({"SysInfo", "Bq_Exam", "Bq_User", "Bq_User_vs_Exams", "Bq_DefaultUser", "Bq_Ziduver_Reg_Det",
                      "Bq_Exam_Print", "Bq_BasicTemplates", "Bq_Temp_Result"}));
    EXPECT_EQ(c.tableColumns(QStringLiteral("Bq_User")),
              (QStringList{"Qu_UserCode", "Qu_LoginId", "Qu_Password", "qu_first_name", "qu_middle_name",
                           "qu_last_name", "qu_email", "qu_add1", "qu_add2", "qu_state", "qu_zip", "qu_phone"}));
    EXPECT_EQ(c.tableColumns(QStringLiteral("Bq_User_vs_Exams")),
              (QStringList{"Bue_User", "Bue_Exam", "Bue_HaveRight"}));
    EXPECT_EQ(c.tableColumns(QStringLiteral("Bq_Exam")), (QStringList{"Be_Exam_Code", "be_desc", "be_path"}));

    // Logins compare without regard to case; a deleted user's code is never reused.
    c.exec(QStringLiteral("INSERT INTO Bq_User (Qu_LoginId, Qu_Password) VALUES ('Admin', 'ADMIN'), ('ann', 'x')"));
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT Qu_UserCode FROM Bq_User WHERE Qu_LoginId = 'ADMIN'")).toInt(), 1);
    c.exec(QStringLiteral("DELETE FROM Bq_User WHERE Qu_UserCode = 2"));
    c.exec(QStringLiteral("INSERT INTO Bq_User (Qu_LoginId) VALUES ('bob')"));
    EXPECT_EQ(c.lastInsertId(), 3);
    // One row per attached exam code.
    c.exec(QStringLiteral("INSERT INTO Bq_Exam VALUES ('EX1', 'Exam', '/x')"));
    EXPECT_THROW(c.exec(QStringLiteral("INSERT INTO Bq_Exam VALUES ('ex1', 'Again', '/y')")), db::DbError);
}

TEST(Schema, ExamDatabaseAndReferenceAgreeOnEveryComparedTable)
{
    TempHome home;
    auto exam = db::Connection::create(home.file(QStringLiteral("exam.qzr")));
    schema::createExamDatabase(exam);
    auto legacy = db::Connection::create(home.file(QStringLiteral("old.qzr")));
    schema::createExamDatabase(legacy, schema::ExamLayout::Legacy);

    QStringList expected = schema::comparedTables();
    expected << "Qe_Progress"
             << "Qe_LOS";
    EXPECT_EQ(tablesIn(exam), sorted(expected));
    EXPECT_FALSE(legacy.hasTable(QStringLiteral("Qe_LOS")));
    EXPECT_EQ(schema::comparedTables().size(), 19);

    EXPECT_EQ(exam.tableColumns(QStringLiteral("Qe_QuestionsHead")),
              (QStringList{"Qq_QuestCode", "Qq_CatCode", "Qq_ChapterCode", "Qq_TypeCode", "Qq_InteractiveCode",
                           "Qq_Quest_Desc", "Qq_Explanation", "Qq_Difficulty", "Qq_IsScenario", "Qq_ScenarioId",
                           "QQ_CorrectAnswer"}));
    EXPECT_FALSE(legacy.tableColumns(QStringLiteral("Qe_QuestionsHead")).contains(QStringLiteral("QQ_CorrectAnswer")));
    EXPECT_EQ(exam.tableColumns(QStringLiteral("Qe_Progress")),
              (QStringList{"userid", "QuestionID", "Correct", "Wrong", "NoAns", "pass"}));
    EXPECT_EQ(exam.tableColumns(QStringLiteral("Qe_LOS")),
              (QStringList{"Qq_QuestCode", "Qq_LOSCat", "Qq_LOSSubCat", "Qq_LOSSubSubCat", "Qq_LOSSubSubSubCat",
                           "Qq_Status"}));
    for (const QString& table : schema::comparedTables()) {
        if (table != QLatin1String("Qe_QuestionsHead")) {
            EXPECT_EQ(exam.tableColumns(table), legacy.tableColumns(table)) << table.toStdString();
        }
    }

    // Text stays text.
    exam.exec(QStringLiteral("INSERT INTO Qe_Exam (Qe_ExamCode, Qe_Version_No) VALUES (?, ?)"),
              {QStringLiteral("0042"), QStringLiteral("007")});
    const auto row = exam.query(QStringLiteral("SELECT Qe_ExamCode, Qe_Version_No FROM Qe_Exam")).first();
    EXPECT_EQ(row.text(0), QStringLiteral("0042"));
    EXPECT_EQ(row.text(1), QStringLiteral("007"));
}

} // namespace
