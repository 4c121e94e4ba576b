#include "admin/ExamUserTables.h"

#include "platform/db/Connection.h"

#include <QStringList>

ExamUserTables::ExamUserTables(db::Connection& exam) : m_exam(exam)
{
}

const std::vector<std::pair<QString, QString>>& ExamUserTables::purgedColumns()
{
    static const std::vector<std::pair<QString, QString>> columns = {
        {QStringLiteral("Qe_UserHistoryDetail"), QStringLiteral("Qh_UserCode")},
        {QStringLiteral("Qe_UserHistorySummary"), QStringLiteral("Quh_UserCode")},
        {QStringLiteral("Qe_User"), QStringLiteral("Qu_UserCode")},
        {QStringLiteral("Qe_UserNotes"), QStringLiteral("Qn_UserCode")},
    };
    return columns;
}

QString ExamUserTables::removeSql(const QString& table, const QString& column)
{
    // One bound list of any length, read once per statement. Codes compare
    // as integers: IN compares by type, and a code stored as the text '2'
    // (an outside database may hold them so) is not the number 2.
    return QStringLiteral("DELETE FROM %1 WHERE CAST(%2 AS INTEGER) NOT IN (SELECT value FROM json_each(?))")
        .arg(db::quoteIdentifier(table), db::quoteIdentifier(column));
}

QString ExamUserTables::keptCodesParameter(const std::vector<int>& keptCodes)
{
    QStringList codes{QStringLiteral("0")};
    for (int code : keptCodes)
        codes << QString::number(code);
    return QLatin1Char('[') + codes.join(QLatin1Char(',')) + QLatin1Char(']');
}

int ExamUserTables::removeUsersOtherThan(const std::vector<int>& keptCodes)
{
    const QString kept = keptCodesParameter(keptCodes);
    int removed = 0;
    for (const auto& [table, column] : purgedColumns())
        removed += m_exam.exec(removeSql(table, column), {kept});
    return removed;
}
