#include "foundation/ExamBankWriter.h"

#include "foundation/Schema.h"
#include "platform/db/DbError.h"

namespace {

QVariant orNull(const std::optional<int>& value)
{
    return value ? QVariant(*value) : QVariant();
}

QVariant orNull(const std::optional<QString>& value)
{
    return value ? QVariant(*value) : QVariant();
}

} // namespace

ExamBankWriter::ExamBankWriter(db::Connection& exam) : m_conn(exam)
{
}

db::Statement& ExamBankWriter::statement(Kind kind, const QString& sql)
{
    std::optional<db::Statement>& kept = m_statements[size_t(kind)];
    if (!kept)
        kept.emplace(m_conn.prepare(sql));
    return *kept;
}

QString ExamBankWriter::addQuestionSql(bool withModelAnswer)
{
    return withModelAnswer
        ? QStringLiteral("INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, "
                         "Qq_InteractiveCode, Qq_Quest_Desc, Qq_Explanation, Qq_Difficulty, Qq_IsScenario, "
                         "Qq_ScenarioId, QQ_CorrectAnswer) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        : QStringLiteral("INSERT INTO Qe_QuestionsHead (Qq_QuestCode, Qq_CatCode, Qq_ChapterCode, Qq_TypeCode, "
                         "Qq_InteractiveCode, Qq_Quest_Desc, Qq_Explanation, Qq_Difficulty, Qq_IsScenario, "
                         "Qq_ScenarioId) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
}

QString ExamBankWriter::addChoiceSql()
{
    return QStringLiteral(
        "INSERT INTO Qe_AnswerChoice (Qc_QuestCode, Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns) VALUES (?, ?, ?, ?)");
}

void ExamBankWriter::addExam(const ExamRow& r)
{
    run(Exam,
        QStringLiteral("INSERT INTO Qe_Exam (Qe_ExamCode, Qe_Exam_Desc, Qe_ValidDB, Qe_Simulated_Time, "
                       "Qe_Simulated_PassScore, Qe_Simulated_NoofQuest, Qe_Adaptive_Time, Qe_Adaptive_PassScore, "
                       "Qe_Adaptive_NoofQuest, Qe_ProductId, Qe_Version_No, Qe_ExamComment) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {r.code, r.description, orNull(r.validDb), orNull(r.simulatedMinutes), orNull(r.simulatedPassScore),
         orNull(r.simulatedQuestions), orNull(r.adaptiveMinutes), orNull(r.adaptivePassScore),
         orNull(r.adaptiveQuestions), orNull(r.productId), orNull(r.version), orNull(r.comment)});
}

void ExamBankWriter::setSimulatedQuestionCount(int count)
{
    m_conn.exec(QStringLiteral("UPDATE Qe_Exam SET Qe_Simulated_NoofQuest = ?"), {count});
}

void ExamBankWriter::addCategory(const CategoryRow& r)
{
    run(Category,
        QStringLiteral("INSERT INTO Qe_Category (Qc_catcode, Qc_cat_desc, Qc_Selected, Qc_Perc_Of_Questions, "
                       "Qc_mChoice, qc_essay, qc_fill, qc_interact) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {r.code, r.description, r.selected ? 1 : 0, orNull(r.questionCount), orNull(r.multipleChoice), orNull(r.essay),
         orNull(r.fill), orNull(r.interactive)});
}

void ExamBankWriter::addChapter(const ChapterRow& r)
{
    run(Chapter,
        QStringLiteral("INSERT INTO Qe_Chapters (Qc_ChapterCode, Qc_catcode, Qc_Chapter_Desc, Qc_Selected) "
                       "VALUES (?, ?, ?, ?)"),
        {r.code, r.category, r.description, r.selected ? 1 : 0});
}

ExamBankWriter::QuestionRow ExamBankWriter::QuestionRow::multipleChoice(int code)
{
    QuestionRow row;
    row.code = code;
    row.type = 1;
    row.interactive = 0;
    row.isScenario = 0;
    row.scenarioId = 0;
    return row;
}

void ExamBankWriter::addQuestion(const QuestionRow& r)
{
    if (!m_hasModelAnswer)
        m_hasModelAnswer = m_conn.tableColumns(QLatin1String(schema::kModelAnswerTable))
                               .contains(QLatin1String(schema::kModelAnswerColumn), Qt::CaseInsensitive);
    db::Params params{
        r.code,         orNull(r.category),    orNull(r.chapter),    orNull(r.type),       orNull(r.interactive),
        orNull(r.text), orNull(r.explanation), orNull(r.difficulty), orNull(r.isScenario), orNull(r.scenarioId)};
    if (*m_hasModelAnswer)
        params.push_back(orNull(r.modelAnswer));
    else if (r.modelAnswer)
        throw db::DbError(db::ErrorClass::Other, 0,
                          QStringLiteral("The question table has no model-answer column (question %1)").arg(r.code));
    run(Question, addQuestionSql(*m_hasModelAnswer), params);
}

void ExamBankWriter::addChoice(const ChoiceRow& r)
{
    run(Choice, addChoiceSql(), {r.question, r.seq, r.text, r.right ? 1 : 0});
}

void ExamBankWriter::addFillAnswer(int question, const QString& answer)
{
    run(Fill, QStringLiteral("INSERT INTO Qe_AnswerFill_Essay (Qd_QuestCode, Qd_Desc_Answer) VALUES (?, ?)"),
        {question, answer});
}

void ExamBankWriter::addInteractiveRow(const InteractiveRow& r)
{
    run(Interactive,
        QStringLiteral("INSERT INTO Qe_AnswerInteractive (Qi_QuestCode, Qi_LeftPane_Item, Qi_LeftPane_Seq, "
                       "Qi_RightPane_Item, Qi_RightPane_Seq, Qi_RootText) VALUES (?, ?, ?, ?, ?, ?)"),
        {r.question, r.leftItem, r.leftSeq, r.rightItem, r.rightSeq, orNull(r.rootText)});
}

void ExamBankWriter::addInteractiveAnswer(const InteractiveAnswerRow& r)
{
    run(InteractiveAnswer,
        QStringLiteral("INSERT INTO Qe_InteractiveRightAnswer (Qa_QuestCode, Qa_LeftText, Qa_LeftPane_Seq, "
                       "Qa_RightTEXT, Qa_ans_node_Seq) VALUES (?, ?, ?, ?, ?)"),
        {r.question, r.leftText, r.leftSeq, r.rightText, r.nodeSeq});
}

void ExamBankWriter::addLearningObjective(const LearningObjectiveRow& r)
{
    run(Objective,
        QStringLiteral("INSERT INTO Qe_LOS (Qq_QuestCode, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, "
                       "Qq_LOSSubSubSubCat, Qq_Status) VALUES (?, ?, ?, ?, ?, ?)"),
        {r.question, orNull(r.category), orNull(r.subCategory), orNull(r.subSubCategory), orNull(r.subSubSubCategory),
         orNull(r.status)});
}

void ExamBankWriter::addPoint(int number, double value)
{
    run(Point, QStringLiteral("INSERT INTO Qe_Points (Qp_pointNumber, qp_pointValue) VALUES (?, ?)"), {number, value});
}

void ExamBankWriter::addScenario(int id, const QString& path)
{
    run(Scenario, QStringLiteral("INSERT INTO Qe_ScenarioContent (Qs_ScenarioId, Qs_ScenarioPath) VALUES (?, ?)"),
        {id, path});
}

void ExamBankWriter::addUserLink(const UserLinkRow& r)
{
    run(UserLink,
        QStringLiteral("INSERT INTO Qe_UserLinks (Ql_SerNo, Ql_UserCode, Ql_linkCaption, Ql_LinkPath) "
                       "VALUES (?, ?, ?, ?)"),
        {r.serialNumber, r.userCode, r.caption, orNull(r.path)});
}

void ExamBankWriter::addProgress(const ProgressRow& r)
{
    run(Progress,
        QStringLiteral("INSERT INTO Qe_Progress (userid, QuestionID, Correct, Wrong, NoAns, pass) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {r.user, r.question, r.correct, r.wrong, r.noAnswer, r.pass});
}

void ExamBankWriter::addUserCopy(const UserCopyRow& r)
{
    run(UserCopy,
        QStringLiteral("INSERT INTO Qe_User (Qu_UserCode, Qu_LoginId, Qu_Password, qu_first_name, qu_middle_name, "
                       "qu_last_name, qu_email, Qu_HaveRight) VALUES (?, ?, '', ?, ?, ?, ?, ?)"),
        {r.userCode, r.login, r.firstName, r.middleName, r.lastName, r.email, r.haveRight});
}
