#include "foundation/AnswerTables.h"

#include "platform/db/Connection.h"

namespace {

std::optional<QString> optionalText(const db::Row& row, int index)
{
    if (row.isNull(index))
        return std::nullopt;
    return row.text(index);
}

std::optional<int> optionalNumber(const db::Row& row, int index)
{
    if (row.isNull(index))
        return std::nullopt;
    return wholeNumber(row.value(index));
}

} // namespace

AnswerTables::AnswerTables(db::Connection& exam) : m_conn(exam)
{
}

QString AnswerTables::answerKindSql()
{
    return QStringLiteral(
        "SELECT EXISTS (SELECT 1 FROM Qe_AnswerChoice WHERE Qc_QuestCode = ?1), "
        "EXISTS (SELECT 1 FROM Qe_AnswerFill_Essay WHERE Qd_QuestCode = ?1), "
        "(SELECT Qq_InteractiveCode FROM Qe_QuestionsHead WHERE Qq_InteractiveCode <> 0 AND Qq_QuestCode = ?1), "
        "EXISTS (SELECT 1 FROM Qe_AnswerInteractive WHERE Qi_RootText IS NULL AND Qi_QuestCode = ?1), "
        "EXISTS (SELECT 1 FROM Qe_AnswerInteractive WHERE Qi_RootText IS NOT NULL AND Qi_QuestCode = ?1)");
}

QString AnswerTables::choicesAsStoredSql()
{
    return QStringLiteral("SELECT Qc_Choice_Seq, Qc_ChoiceDesc, Qc_RightAns FROM Qe_AnswerChoice "
                          "WHERE Qc_QuestCode = ? ORDER BY rowid");
}

QString AnswerTables::orderedListRowsSql()
{
    return QStringLiteral("SELECT Qi_LeftPane_Item, Qi_RightPane_Item FROM Qe_AnswerInteractive "
                          "WHERE Qi_RootText IS NULL AND Qi_QuestCode = ? ORDER BY rowid");
}

QString AnswerTables::treeRowsSql()
{
    return QStringLiteral("SELECT Qi_LeftPane_Seq, Qi_RootText, Qi_LeftPane_Item, Qi_RightPane_Item "
                          "FROM Qe_AnswerInteractive WHERE Qi_QuestCode = ? ORDER BY Qi_LeftPane_Seq, rowid");
}

QString AnswerTables::treeLeavesSql()
{
    return QStringLiteral("SELECT Qa_ans_node_Seq, Qa_LeftText FROM Qe_InteractiveRightAnswer "
                          "WHERE Qa_QuestCode = ? ORDER BY Qa_ans_node_Seq, rowid");
}

QString AnswerTables::placePairsSql()
{
    return QStringLiteral("SELECT Qa_LeftText, Qa_RightTEXT FROM Qe_InteractiveRightAnswer "
                          "WHERE Qa_QuestCode = ? ORDER BY rowid");
}

AnswerTables::AnswerKind AnswerTables::answerKind(int questCode)
{
    const db::ResultSet rows = m_conn.query(answerKindSql(), {questCode});
    AnswerKind kind;
    if (rows.empty())
        return kind;
    const db::Row& row = rows.first();
    kind.hasChoices = row.integer(0) != 0;
    kind.hasFillAnswers = row.integer(1) != 0;
    kind.interactiveCode = wholeNumber(row.value(2));
    kind.hasListRows = row.integer(3) != 0;
    kind.hasTreeRows = row.integer(4) != 0;
    return kind;
}

std::vector<ExamBank::Choice> AnswerTables::choicesAsStored(int questCode)
{
    std::vector<ExamBank::Choice> choices;
    for (const db::Row& row : m_conn.query(choicesAsStoredSql(), {questCode}))
        choices.push_back({wholeNumber(row.value(0)), row.text(1), rightMark(row.value(2))});
    return choices;
}

std::vector<AnswerTables::ListRow> AnswerTables::orderedListRows(int questCode)
{
    std::vector<ListRow> items;
    for (const db::Row& row : m_conn.query(orderedListRowsSql(), {questCode}))
        items.push_back({row.text(0), row.text(1)});
    return items;
}

std::vector<AnswerTables::TreeRow> AnswerTables::treeRows(int questCode)
{
    std::vector<TreeRow> rows;
    for (const db::Row& row : m_conn.query(treeRowsSql(), {questCode}))
        rows.push_back({optionalNumber(row, 0), optionalText(row, 1), optionalText(row, 2), optionalText(row, 3)});
    return rows;
}

std::vector<AnswerTables::Leaf> AnswerTables::treeLeaves(int questCode)
{
    std::vector<Leaf> leaves;
    for (const db::Row& row : m_conn.query(treeLeavesSql(), {questCode}))
        leaves.push_back({optionalNumber(row, 0), optionalText(row, 1)});
    return leaves;
}

std::vector<AnswerTables::PlacePair> AnswerTables::placePairs(int questCode)
{
    std::vector<PlacePair> pairs;
    for (const db::Row& row : m_conn.query(placePairsSql(), {questCode}))
        pairs.push_back({optionalText(row, 0), optionalText(row, 1)});
    return pairs;
}
