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
        {OpenObjectives, openObjectiveRowsSql()},
        {HeldOpen, objectiveHeldOpenElsewhereSql()},
        {MarkAchieved, markObjectiveAchievedSql()},
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

QString ProgressStore::openObjectiveRowsSql()
{
    return QStringLiteral("SELECT rowid, Qq_LOSCat, Qq_LOSSubCat, Qq_LOSSubSubCat, Qq_LOSSubSubSubCat FROM Qe_LOS "
                          "WHERE Qq_Status <> 1 AND Qq_QuestCode = ? ORDER BY rowid");
}

QString ProgressStore::objectiveHeldOpenElsewhereSql()
{
    return QStringLiteral(
        "SELECT EXISTS (SELECT 1 FROM Qe_LOS AS s WHERE s.Qq_QuestCode <> ? AND s.Qq_LOSCat = ? "
        "AND s.Qq_LOSSubCat = ? AND s.Qq_LOSSubSubCat = ? AND s.Qq_LOSSubSubSubCat = ? "
        "AND (SELECT count(*) FROM Qe_LOS AS o WHERE o.Qq_Status = 0 AND o.Qq_QuestCode = s.Qq_QuestCode) > 1)");
}

QString ProgressStore::markObjectiveAchievedSql()
{
    return QStringLiteral("UPDATE Qe_LOS SET Qq_Status = 1 WHERE rowid = ?");
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

int ProgressStore::GetLastPassNumber(int userCode)
{
    const db::ResultSet rows = statement(LastPass, lastPassNumberSql()).query({userCode});
    return rows.empty() ? 0 : wholeNumber(rows.first().value(0));
}

void ProgressStore::closeCurrentPass(int userCode, int passNumber)
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

std::vector<ProgressStore::ObjectiveRow> ProgressStore::openObjectiveRows(int questCode)
{
    const db::ResultSet rows = statement(OpenObjectives, openObjectiveRowsSql()).query({questCode});
    std::vector<ObjectiveRow> open;
    open.reserve(size_t(rows.recordCount()));
    for (const db::Row& row : rows)
        open.push_back({row.integer(0), {row.value(1), row.value(2), row.value(3), row.value(4)}});
    return open;
}

bool ProgressStore::objectiveHeldOpenElsewhere(int questCode, const ObjectiveRow& objective)
{
    const auto& k = objective.keys;
    const db::ResultSet rows =
        statement(HeldOpen, objectiveHeldOpenElsewhereSql()).query({questCode, k[0], k[1], k[2], k[3]});
    return !rows.empty() && rows.first().integer(0) != 0;
}

void ProgressStore::markObjectiveAchieved(qint64 rowId)
{
    statement(MarkAchieved, markObjectiveAchievedSql()).exec({rowId});
}

void ProgressStore::reopenAllObjectives()
{
    statement(ReopenAll, reopenAllObjectivesSql()).exec();
}
