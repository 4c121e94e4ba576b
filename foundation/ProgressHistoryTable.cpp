#include "foundation/ProgressHistoryTable.h"

#include "platform/db/Connection.h"

ProgressHistoryTable::ProgressHistoryTable(db::Connection& exam) : m_exam(exam)
{
}

int ProgressHistoryTable::clearUserHistory(int userCode)
{
    return m_exam.exec(QStringLiteral("DELETE FROM Qe_Progress WHERE userid = ?"), {userCode});
}
