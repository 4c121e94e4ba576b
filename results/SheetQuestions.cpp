#include "results/SheetQuestions.h"

#include "foundation/ExamBank.h"
#include "platform/db/Connection.h"

#include <QStringList>

SheetQuestions::SheetQuestions(db::Connection& exam) : m_conn(exam)
{
}

QString SheetQuestions::rowsSql()
{
    // One statement for any number of codes: they arrive as one bound array.
    return QStringLiteral("SELECT a.Qq_QuestCode, a.Qq_Quest_Desc, b.Qc_Cat_Desc, a.Qq_Explanation, a.Qq_TypeCode, "
                          "Qe_Chapters.Qc_Chapter_Desc "
                          "FROM (Qe_QuestionsHead AS a LEFT JOIN Qe_Category AS b ON a.Qq_CatCode = b.Qc_CatCode) "
                          "LEFT JOIN Qe_Chapters ON a.Qq_ChapterCode = Qe_Chapters.Qc_ChapterCode "
                          "WHERE a.Qq_QuestCode IN (SELECT value FROM json_each(?)) ORDER BY a.Qq_QuestCode");
}

QString SheetQuestions::codesParameter(const std::vector<int>& questCodes)
{
    QStringList codes;
    codes.reserve(qsizetype(questCodes.size()));
    for (const int code : questCodes)
        codes.append(QString::number(code));
    return QLatin1Char('[') + codes.join(QLatin1Char(',')) + QLatin1Char(']');
}

std::vector<SheetQuestions::Row> SheetQuestions::rows(const std::vector<int>& questCodes)
{
    std::vector<Row> rows;
    if (questCodes.empty())
        return rows;
    const db::ResultSet result = m_conn.query(rowsSql(), {codesParameter(questCodes)});
    rows.reserve(size_t(result.recordCount()));
    for (const db::Row& row : result)
        rows.push_back(
            {wholeNumber(row.value(0)), row.text(1), row.text(2), row.text(3), wholeNumber(row.value(4)), row.text(5)});
    return rows;
}
