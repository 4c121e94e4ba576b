#include "results/CategoryTable.h"

#include "foundation/ExamBank.h"
#include "platform/db/Connection.h"

CategoryTable::CategoryTable(db::Connection& exam) : m_exam(exam)
{
}

int CategoryTable::questionCategory(int questCode)
{
    return wholeNumber(m_exam.scalar(QStringLiteral("SELECT CASE WHEN Qq_CatCode IS NULL THEN 0 ELSE Qq_CatCode END "
                                                    "FROM Qe_QuestionsHead WHERE Qq_QuestCode = ?"),
                                     {questCode}));
}

QString CategoryTable::description(int categoryCode)
{
    return m_exam.scalar(QStringLiteral("SELECT Qc_cat_desc FROM Qe_Category WHERE Qc_catcode = ?"), {categoryCode})
        .toString();
}
