#include "results/ObjectiveTable.h"

#include "platform/db/Connection.h"

ObjectiveTable::ObjectiveTable(db::Connection& exam) : m_conn(exam)
{
}

QString ObjectiveTable::scoreCardRowsSql()
{
    // The objective index gives the order, storage order within an objective
    // included, without a sort.
    return QStringLiteral(
        "SELECT l.Qq_QuestCode, l.Qq_LOSCat, l.Qq_LOSSubCat, l.Qq_LOSSubSubCat, l.Qq_LOSSubSubSubCat, l.Qq_Status, "
        "q.Qq_QuestCode IS NOT NULL, q.Qq_CatCode, q.Qq_ChapterCode FROM Qe_LOS l "
        "LEFT JOIN Qe_QuestionsHead q ON q.Qq_QuestCode = l.Qq_QuestCode "
        "ORDER BY l.Qq_LOSCat, l.Qq_LOSSubCat, l.Qq_LOSSubSubCat, l.Qq_LOSSubSubSubCat, l.rowid");
}

std::vector<ObjectiveTable::ScoreCardRow> ObjectiveTable::scoreCardRows()
{
    const db::ResultSet result = m_conn.query(scoreCardRowsSql());
    std::vector<ScoreCardRow> rows;
    rows.reserve(size_t(result.recordCount()));
    for (const db::Row& row : result)
        rows.push_back({row.value(0),
                        {row.value(1), row.value(2), row.value(3), row.value(4)},
                        row.value(5),
                        row.integer(6) != 0,
                        row.value(7),
                        row.value(8)});
    return rows;
}
