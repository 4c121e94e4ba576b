#include "foundation/WebLinksTable.h"

#include "platform/db/Connection.h"

WebLinksTable::WebLinksTable(db::Connection& exam) : m_exam(exam)
{
}

std::vector<WebLinksTable::Link> WebLinksTable::links(int parent)
{
    const db::ResultSet rows = m_exam.query(
        QStringLiteral("SELECT Ql_SerNo, Ql_linkCaption FROM Qe_UserLinks WHERE Ql_UserCode = ? ORDER BY rowid"),
        {parent});
    std::vector<Link> result;
    result.reserve(size_t(rows.recordCount()));
    for (const db::Row& row : rows)
        result.push_back({int(row.integer(0)), row.text(1)});
    return result;
}

bool WebLinksTable::hasLinks(int parent)
{
    return !m_exam.scalar(QStringLiteral("SELECT 1 FROM Qe_UserLinks WHERE Ql_UserCode = ? LIMIT 1"), {parent})
                .isNull();
}

std::optional<QString> WebLinksTable::linkPath(int serialNumber)
{
    const db::ResultSet rows =
        m_exam.query(QStringLiteral("SELECT Ql_LinkPath FROM Qe_UserLinks WHERE Ql_SerNo = ? ORDER BY rowid LIMIT 1"),
                     {serialNumber});
    if (rows.empty())
        return std::nullopt;
    return rows.first().text(0);
}

std::optional<QString> WebLinksTable::examComment()
{
    const db::ResultSet rows =
        m_exam.query(QStringLiteral("SELECT Qe_ExamComment FROM Qe_Exam ORDER BY rowid LIMIT 1"));
    if (rows.empty())
        return std::nullopt;
    return rows.first().text(0);
}
