#include "foundation/Schema.h"

#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <QRegularExpression>

namespace schema {

const char* const kModelAnswerTable = "Qe_QuestionsHead";
const char* const kModelAnswerColumn = "QQ_CorrectAnswer";
const char* const kModelAnswerType = "TEXT";

namespace {

// Text compares without regard to case, as the program relies on for logins,
// passwords and exam codes. Booleans are 0/1 integers.
#define T " TEXT COLLATE NOCASE"
#define I " INTEGER"

const char* const kSystemDdl =
    "CREATE TABLE SysInfo (LastUser" T ");"
    "CREATE TABLE Bq_Exam (Be_Exam_Code" T " PRIMARY KEY, be_desc" T ", be_path" T ");"
    "CREATE TABLE Bq_User (Qu_UserCode INTEGER PRIMARY KEY AUTOINCREMENT, Qu_LoginId" T ", Qu_Password" T
    ", qu_first_name" T ", qu_middle_name" T ", qu_last_name" T ", qu_email" T ", qu_add1" T ", qu_add2" T
    ", qu_state" T ", qu_zip" T ", qu_phone" T ");"
    "CREATE TABLE Bq_User_vs_Exams (Bue_User" I ", Bue_Exam" T ", Bue_HaveRight" I ");"
    "CREATE TABLE Bq_DefaultUser (loginid" T ", Password" T ");"
    "CREATE TABLE Bq_Ziduver_Reg_Det (BQ_Multiuser" I ");"
    "CREATE TABLE Bq_Exam_Print (Bp_Reserved" T ");"
    "CREATE TABLE Bq_BasicTemplates (Bb_Reserved" T ");"
    "CREATE TABLE Bq_Temp_Result (Bt_Reserved" T ");"
    "CREATE INDEX Bq_User_Login ON Bq_User (Qu_LoginId);"
    "CREATE INDEX Bq_User_vs_Exams_Key ON Bq_User_vs_Exams (Bue_User, Bue_Exam);";

// %1 is the model-answer column of the question table (empty in the legacy
// layout).
const char* const kExamDdl =
    "CREATE TABLE Qe_AnswerChoice (Qc_QuestCode" I ", Qc_Choice_Seq" I ", Qc_ChoiceDesc" T ", Qc_RightAns" I ");"
    "CREATE TABLE Qe_AnswerFill_Essay (Qd_QuestCode" I ", Qd_Desc_Answer" T ");"
    "CREATE TABLE Qe_AnswerInteractive (Qi_QuestCode" I ", Qi_LeftPane_Item" T ", Qi_LeftPane_Seq" I
    ", Qi_RightPane_Item" T ", Qi_RightPane_Seq" I ", Qi_RootText" T ");"
    "CREATE TABLE Qe_Category (Qc_catcode INTEGER PRIMARY KEY, Qc_cat_desc" T ", Qc_Selected" I
    ", Qc_Perc_Of_Questions" I ", Qc_mChoice" I ", qc_essay" I ", qc_fill" I ", qc_interact" I ");"
    "CREATE TABLE Qe_Categ_Type (Qt_Reserved" T ");"
    "CREATE TABLE Qe_Chapters (Qc_ChapterCode INTEGER PRIMARY KEY, Qc_catcode" I ", Qc_Chapter_Desc" T ", Qc_Selected" I
    ");"
    "CREATE TABLE Qe_Exam (Qe_ExamCode" T ", Qe_Exam_Desc" T ", Qe_ValidDB" I ", Qe_Simulated_Time" I
    ", Qe_Simulated_PassScore" I ", Qe_Simulated_NoofQuest" I ", Qe_Adaptive_Time" I ", Qe_Adaptive_PassScore" I
    ", Qe_Adaptive_NoofQuest" I ", Qe_ProductId" T ", Qe_Version_No" T ", Qe_ExamComment" T ");"
    "CREATE TABLE Qe_ExamExpLinks (Qx_Reserved" T ");"
    "CREATE TABLE Qe_ExamPlugs (Qg_Reserved" T ");"
    "CREATE TABLE Qe_Images (Qm_Reserved" T ");"
    "CREATE TABLE Qe_InteractiveRightAnswer (Qa_QuestCode" I ", Qa_LeftText" T ", Qa_LeftPane_Seq" I ", Qa_RightTEXT" T
    ", Qa_ans_node_Seq" I ");"
    "CREATE TABLE Qe_Points (Qp_pointNumber" I ", qp_pointValue REAL);"
    "CREATE TABLE Qe_QuestionsHead (Qq_QuestCode INTEGER PRIMARY KEY, Qq_CatCode" I ", Qq_ChapterCode" I
    ", Qq_TypeCode" I ", Qq_InteractiveCode" I ", Qq_Quest_Desc" T ", Qq_Explanation" T ", Qq_Difficulty" I
    ", Qq_IsScenario" I ", Qq_ScenarioId" I "%1);"
    "CREATE TABLE Qe_ScenarioContent (Qs_ScenarioId" I ", Qs_ScenarioPath" T ");"
    "CREATE TABLE Qe_User (Qu_UserCode" I ", Qu_LoginId" T ", Qu_Password" T ", qu_first_name" T ", qu_middle_name" T
    ", qu_last_name" T ", qu_email" T ", Qu_HaveRight" I ");"
    "CREATE TABLE Qe_UserHistoryDetail (Qh_UserCode" I ", Qh_QuestCode" I ", Qh_Appearance" I ", Qh_CatCode" I
    ", Qh_ChapterCode" I ", Qh_RightAnswered" I ", Qh_ExamDate" T ", Qh_ExamMode" T ", Qh_ExamCode" T ", Qh_ExamTime" T
    ");"
    "CREATE TABLE Qe_UserHistorySummary (Quh_CatCode" I ", Quh_ExamDate" T ", Quh_ExamTime" T
    ", Quh_Prec_Of_Question REAL, Quh_Perc_Of_Right REAL, Quh_ExamMode" T ", Quh_Appearance" I ", Quh_UserCode" I
    ", Quh_ExamCode" T ", Quh_ChapCode" I ");"
    "CREATE TABLE Qe_UserLinks (Ql_SerNo INTEGER PRIMARY KEY, Ql_UserCode" I ", Ql_linkCaption" T ", Ql_LinkPath" T ");"
    "CREATE TABLE Qe_UserNotes (Qn_NoteID INTEGER PRIMARY KEY AUTOINCREMENT, Qn_UserCode" I ", Qn_QuestCode" I
    ", Qn_ExamDate" T ", Qn_noteDesc" T ");"
    "CREATE TABLE Qe_Progress (userid" I ", QuestionID" I ", Correct" I ", Wrong" I ", NoAns" I ", pass" I ");"
    "CREATE INDEX Qe_Progress_UserPass ON Qe_Progress (userid, pass, QuestionID);"
    "CREATE INDEX Qe_Progress_Question ON Qe_Progress (QuestionID);"
    "CREATE INDEX Qe_Progress_Right ON Qe_Progress (userid, pass, Correct);"
    "CREATE INDEX Qe_QuestionsHead_Cat ON Qe_QuestionsHead (Qq_CatCode, Qq_ChapterCode);"
    "CREATE INDEX Qe_QuestionsHead_Pool ON Qe_QuestionsHead (Qq_CatCode, Qq_QuestCode);"
    "CREATE INDEX Qe_QuestionsHead_Place ON Qe_QuestionsHead (Qq_ChapterCode, Qq_CatCode, Qq_QuestCode, Qq_TypeCode);"
    "CREATE INDEX Qe_AnswerChoice_Quest ON Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq);"
    "CREATE INDEX Qe_AnswerFill_Essay_Quest ON Qe_AnswerFill_Essay (Qd_QuestCode);"
    "CREATE INDEX Qe_AnswerInteractive_Quest ON Qe_AnswerInteractive (Qi_QuestCode);"
    "CREATE INDEX Qe_InteractiveRightAnswer_Quest ON Qe_InteractiveRightAnswer (Qa_QuestCode);"
    "CREATE INDEX Qe_UserNotes_Quest ON Qe_UserNotes (Qn_QuestCode, Qn_UserCode);";

const char* const kLosDdl = "CREATE TABLE Qe_LOS (Qq_QuestCode" I ", Qq_LOSCat" I ", Qq_LOSSubCat" I
                            ", Qq_LOSSubSubCat" T ", Qq_LOSSubSubSubCat" T ", Qq_Status" I ")";
// The end of an exam looks objective rows up by question and by objective;
// the status stays out of the keys, since closing a pass rewrites it.
const char* const kLosIndexDdl =
    "CREATE INDEX Qe_LOS_Quest ON Qe_LOS (Qq_QuestCode);"
    "CREATE INDEX Qe_LOS_Objective ON Qe_LOS (Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat);";

#undef T
#undef I

QStringList tablesOf(const QString& ddl)
{
    static const QRegularExpression createTable(QStringLiteral("CREATE TABLE (\\w+)"));
    QStringList names;
    for (auto it = createTable.globalMatch(ddl); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

QString examDdl(ExamLayout layout)
{
    const QString modelAnswer = layout == ExamLayout::Current
        ? QStringLiteral(", %1 %2").arg(QLatin1String(kModelAnswerColumn), QLatin1String(kModelAnswerType))
        : QString();
    QString ddl = QString::fromLatin1(kExamDdl).arg(modelAnswer);
    if (layout == ExamLayout::Current)
        ddl += QLatin1String(kLosDdl) + QLatin1Char(';') + QLatin1String(kLosIndexDdl);
    return ddl;
}

void runInTransaction(db::Connection& connection, const QString& ddl)
{
    db::Transaction transaction(connection);
    connection.execScript(ddl);
    transaction.commit();
}

} // namespace

void createSystemDatabase(db::Connection& connection)
{
    runInTransaction(connection, QString::fromLatin1(kSystemDdl));
}

void createExamDatabase(db::Connection& connection, ExamLayout layout)
{
    runInTransaction(connection, examDdl(layout));
}

QStringList systemTables()
{
    return tablesOf(QString::fromLatin1(kSystemDdl));
}

QStringList examTables(ExamLayout layout)
{
    return tablesOf(examDdl(layout));
}

QStringList comparedTables()
{
    return {QStringLiteral("Qe_AnswerChoice"),
            QStringLiteral("Qe_AnswerFill_Essay"),
            QStringLiteral("Qe_AnswerInteractive"),
            QStringLiteral("Qe_Category"),
            QStringLiteral("Qe_Categ_Type"),
            QStringLiteral("Qe_Chapters"),
            QStringLiteral("Qe_Exam"),
            QStringLiteral("Qe_ExamExpLinks"),
            QStringLiteral("Qe_ExamPlugs"),
            QStringLiteral("Qe_Images"),
            QStringLiteral("Qe_InteractiveRightAnswer"),
            QStringLiteral("Qe_Points"),
            QStringLiteral("Qe_QuestionsHead"),
            QStringLiteral("Qe_ScenarioContent"),
            QStringLiteral("Qe_User"),
            QStringLiteral("Qe_UserHistoryDetail"),
            QStringLiteral("Qe_UserHistorySummary"),
            QStringLiteral("Qe_UserLinks"),
            QStringLiteral("Qe_UserNotes")};
}

QStringList writtenTables()
{
    return {QStringLiteral("Qe_Progress"), QStringLiteral("Qe_LOS")};
}

QString createLearningObjectiveTableSql()
{
    return QString::fromLatin1(kLosDdl);
}

QString createCategoryPoolIndexSql()
{
    // The random draws read a category's codes in code order from the index
    // alone, and fetch only the drawn rows.
    return QStringLiteral("CREATE INDEX IF NOT EXISTS Qe_QuestionsHead_Pool ON Qe_QuestionsHead (Qq_CatCode, "
                          "Qq_QuestCode)");
}

QString createPracticePlaceIndexSql()
{
    // The practice set reads each ticked chapter's questions per category in
    // code order with their types, and counts the ticked pool, from the index
    // alone.
    return QStringLiteral("CREATE INDEX IF NOT EXISTS Qe_QuestionsHead_Place ON Qe_QuestionsHead (Qq_ChapterCode, "
                          "Qq_CatCode, Qq_QuestCode, Qq_TypeCode)");
}

QString createProgressRightIndexSql()
{
    // End Exam counts the user's right rows of the pass in progress from the
    // index alone.
    return QStringLiteral("CREATE INDEX IF NOT EXISTS Qe_Progress_Right ON Qe_Progress (userid, pass, Correct)");
}

} // namespace schema
