#include "foundation/ProgressStore.h"

#include "foundation/ExamBank.h"

#include <utility>

ProgressStore::ProgressStore(db::Connection& exam) : m_conn(exam)
{
}

db::Statement& ProgressStore::statement(Kind kind, const QString& sql)
{
    std::optional<db::Statement>& kept = m_statements[size_t(kind)];
    if (!kept)
        kept.emplace(m_conn.prepare(sql));
    return *kept;
}

void ProgressStore::prepareAll()
{
    const std::pair<Kind, QString> statements[] = {
        {FindRow, currentPassRowSql()},
        {SetVerdict, setVerdictSql()},
        {AddRow, addCurrentPassRowSql()},
        {TotalCount, totalQuestionCountSql()},
        {RightCount, correctCountThisPassSql()},
        {LastPass, lastPassNumberSql()},
        {ClosePass, closeCurrentPassSql()},
        {EmptyKeyObjectives, openObjectiveRowsWithEmptyKeySql()},
        {MarkComplete, markCompleteObjectivesSql()},
        {ReopenAll, reopenAllObjectivesSql()},
    };
    static_assert(sizeof(statements) / sizeof(statements[0]) == KindCount, "every statement of the store");
    for (const auto& [kind, sql] : statements)
        statement(kind, sql);
}

// ---- statement texts ----

QString ProgressStore::currentPassRowSql()
{
    return QStringLiteral("SELECT rowid, Correct, Wrong, NoAns FROM Qe_Progress "
                          "WHERE userid = ? AND pass = 0 AND QuestionID = ? ORDER BY rowid LIMIT 1");
}

QString ProgressStore::setVerdictSql()
{
    return QStringLiteral("UPDATE Qe_Progress SET Correct = ?, Wrong = ?, NoAns = 0 WHERE rowid = ?");
}

QString ProgressStore::addCurrentPassRowSql()
{
    return QStringLiteral(
        "INSERT INTO Qe_Progress (userid, QuestionID, Correct, Wrong, NoAns, pass) VALUES (?, ?, ?, ?, 0, 0)");
}

QString ProgressStore::totalQuestionCountSql()
{
    return ExamBank::questionCountSql();
}

QString ProgressStore::correctCountThisPassSql()
{
    return QStringLiteral("SELECT count(*) FROM Qe_Progress WHERE Correct = 1 AND pass = 0 AND userid = ?");
}

QString ProgressStore::lastPassNumberSql()
{
    return QStringLiteral("SELECT max(pass) FROM Qe_Progress WHERE userid = ?");
}

QString ProgressStore::closeCurrentPassSql()
{
    return QStringLiteral("UPDATE Qe_Progress SET pass = ? WHERE pass = 0 AND userid = ?");
}

QString ProgressStore::openObjectiveRowsWithEmptyKeySql()
{
    return QStringLiteral("SELECT rowid, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat FROM Qe_LOS "
                          "WHERE Qq_Status <> 1 AND Qq_QuestCode = ? AND (Qq_LOSCat IS NULL OR Qq_LOSSubCat IS NULL "
                          "OR Qq_LOSSubSubCat IS NULL OR Qq_LOSSubSubSubCat IS NULL) ORDER BY rowid");
}

QString ProgressStore::markCompleteObjectivesSql()
{
    // The question's open objectives once, each judged once by its other
    // questions' pass-0 rows, then their rows set in one go: each objective's
    // rows are read a fixed number of times, whatever their count. The keys
    // compare as the columns do (text without regard to case). The verdict
    // is tested off the index ("+"), so that each question's row is found
    // through (user, pass, question) rather than among all the right rows.
    return QStringLiteral(
        "WITH held(c1, c2, c3, c4) AS ("
        " SELECT DISTINCT Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat FROM Qe_LOS"
        " WHERE Qq_QuestCode = ?1 AND Qq_Status <> 1 AND Qq_LOSCat IS NOT NULL AND Qq_LOSSubCat IS NOT NULL"
        " AND Qq_LOSSubSubCat IS NOT NULL AND Qq_LOSSubSubSubCat IS NOT NULL),"
        " complete(c1, c2, c3, c4) AS ("
        " SELECT c1, c2, c3, c4 FROM held WHERE NOT EXISTS ("
        "  SELECT 1 FROM Qe_LOS o WHERE o.Qq_LOSCat = held.c1 AND o.Qq_LOSSubCat = held.c2"
        "  AND o.Qq_LOSSubSubCat = held.c3 AND o.Qq_LOSSubSubSubCat = held.c4 AND o.Qq_QuestCode IS NOT ?1"
        "  AND EXISTS (SELECT 1 FROM Qe_QuestionsHead q WHERE q.Qq_QuestCode = o.Qq_QuestCode)"
        "  AND NOT EXISTS (SELECT 1 FROM Qe_Progress p WHERE p.userid = ?2 AND p.pass = 0"
        "   AND p.QuestionID = o.Qq_QuestCode AND +p.Correct = 1)))"
        " UPDATE Qe_LOS SET Qq_Status = 1 WHERE Qq_Status <> 1"
        " AND (Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat) IN (SELECT c1, c2, c3, c4 FROM complete)");
}

QString ProgressStore::reopenAllObjectivesSql()
{
    // Rows already 0 are left alone: the same end state with far fewer writes.
    return QStringLiteral("UPDATE Qe_LOS SET Qq_Status = 0 WHERE Qq_Status IS NOT 0");
}

// ---- progress ----

std::optional<ProgressStore::CurrentPassRow> ProgressStore::currentPassRow(int userCode, int questCode)
{
    const db::ResultSet rows = statement(FindRow, currentPassRowSql()).query({userCode, questCode});
    if (rows.empty())
        return std::nullopt;
    const db::Row& row = rows.first();
    return CurrentPassRow{row.integer(0), row.value(1), row.value(2), row.value(3)};
}

void ProgressStore::setVerdict(qint64 rowId, bool right)
{
    statement(SetVerdict, setVerdictSql()).exec({right ? 1 : 0, right ? 0 : 1, rowId});
}

void ProgressStore::addCurrentPassRow(int userCode, int questCode, bool right)
{
    statement(AddRow, addCurrentPassRowSql()).exec({userCode, questCode, right ? 1 : 0, right ? 0 : 1});
}

int ProgressStore::GetTotalQuestionCount()
{
    const db::ResultSet rows = statement(TotalCount, totalQuestionCountSql()).query();
    return rows.empty() ? 0 : wholeNumber(rows.first().value(0));
}

int ProgressStore::GetCorrectCountThisPass(int userCode)
{
    const db::ResultSet rows = statement(RightCount, correctCountThisPassSql()).query({userCode});
    return rows.empty() ? 0 : wholeNumber(rows.first().value(0));
}

qint64 ProgressStore::GetLastPassNumber(int userCode)
{
    const db::ResultSet rows = statement(LastPass, lastPassNumberSql()).query({userCode});
    if (rows.empty())
        return 0;
    // A whole number as stored; any other value the way numbers are read.
    const QVariant& last = rows.first().value(0);
    return last.typeId() == QMetaType::LongLong ? last.toLongLong() : wholeNumber(last);
}

void ProgressStore::closeCurrentPass(int userCode, qint64 passNumber)
{
    statement(ClosePass, closeCurrentPassSql()).exec({passNumber, userCode});
}

// ---- learning objectives ----

bool ProgressStore::ObjectiveRow::hasNullKey() const
{
    for (const QVariant& key : keys)
        if (key.isNull())
            return true;
    return false;
}

std::vector<ProgressStore::ObjectiveRow> ProgressStore::openObjectiveRowsWithEmptyKey(int questCode)
{
    const db::ResultSet rows = statement(EmptyKeyObjectives, openObjectiveRowsWithEmptyKeySql()).query({questCode});
    std::vector<ObjectiveRow> open;
    for (const db::Row& row : rows)
        open.push_back({row.integer(0), {row.value(1), row.value(2), row.value(3), row.value(4)}});
    return open;
}

int ProgressStore::markCompleteObjectives(int userCode, int questCode)
{
    return statement(MarkComplete, markCompleteObjectivesSql()).exec({questCode, userCode});
}

void ProgressStore::reopenAllObjectives()
{
    statement(ReopenAll, reopenAllObjectivesSql()).exec();
}
