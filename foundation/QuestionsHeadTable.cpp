#include "foundation/QuestionsHeadTable.h"

#include "foundation/ExamBank.h"
#include "platform/db/Connection.h"

QuestionsHeadTable::QuestionsHeadTable(db::Connection& exam) : m_exam(exam)
{
}

std::optional<QuestionsHeadTable::Placement> QuestionsHeadTable::placement(int questCode)
{
    const db::ResultSet rows = m_exam.query(
        QStringLiteral("SELECT Qq_CatCode, Qq_ChapterCode FROM Qe_QuestionsHead WHERE Qq_QuestCode = ?"), {questCode});
    if (rows.empty())
        return std::nullopt;
    const db::Row& row = rows.first();
    Placement placement;
    if (!row.isNull(0))
        placement.categoryCode = wholeNumber(row.value(0));
    if (!row.isNull(1))
        placement.chapterCode = wholeNumber(row.value(1));
    return placement;
}
