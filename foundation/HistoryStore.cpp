#include "foundation/HistoryStore.h"

#include "foundation/ExamBank.h"
#include "platform/db/Connection.h"

namespace {

template <typename T> QVariant orNull(const std::optional<T>& value)
{
    return value ? QVariant(*value) : QVariant();
}

} // namespace

HistoryStore::HistoryStore(db::Connection& exam) : m_exam(exam)
{
}

void HistoryStore::addDetail(const DetailRow& row)
{
    m_exam.exec(QStringLiteral("INSERT INTO Qe_UserHistoryDetail (Qh_UserCode, Qh_QuestCode, Qh_Appearance, "
                               "Qh_CatCode, Qh_ChapterCode, Qh_RightAnswered, Qh_ExamDate, Qh_ExamMode, Qh_ExamCode, "
                               "Qh_ExamTime) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {row.userCode, orNull(row.questCode), orNull(row.appearance), orNull(row.catCode),
                 orNull(row.chapterCode), orNull(row.rightAnswered), orNull(row.examDate), orNull(row.examMode),
                 orNull(row.examCode), orNull(row.examTime)});
}

std::vector<HistoryStore::Appearance> HistoryStore::appearances(int userCode, std::optional<int> after)
{
    const db::ResultSet rows = after
        ? m_exam.query(QStringLiteral("SELECT count(Qh_QuestCode), Qh_Appearance FROM Qe_UserHistoryDetail "
                                      "WHERE Qh_UserCode = ? AND Qh_Appearance > ? "
                                      "GROUP BY Qh_Appearance ORDER BY Qh_Appearance"),
                       {userCode, *after})
        : m_exam.query(QStringLiteral("SELECT count(Qh_QuestCode), Qh_Appearance FROM Qe_UserHistoryDetail "
                                      "WHERE Qh_UserCode = ? GROUP BY Qh_Appearance ORDER BY Qh_Appearance"),
                       {userCode});
    std::vector<Appearance> result;
    for (const db::Row& row : rows)
        result.push_back({row.value(1), int(row.integer(0))});
    return result;
}

std::vector<HistoryStore::Group> HistoryStore::groups(int userCode, const QVariant& appearance)
{
    const db::ResultSet rows =
        m_exam.query(QStringLiteral("SELECT count(Qh_QuestCode), Qh_CatCode, Qh_ChapterCode FROM Qe_UserHistoryDetail "
                                    "WHERE Qh_UserCode = ? AND Qh_Appearance = ? "
                                    "GROUP BY Qh_CatCode, Qh_ChapterCode ORDER BY Qh_CatCode, Qh_ChapterCode"),
                     {userCode, appearance});
    std::vector<Group> result;
    for (const db::Row& row : rows)
        result.push_back({int(row.integer(0)), row.value(1), row.value(2)});
    return result;
}

int HistoryStore::rightAnswers(int userCode, const QVariant& appearance, const QVariant& catCode,
                               const QVariant& chapterCode)
{
    return m_exam
        .scalar(QStringLiteral("SELECT count(Qh_QuestCode) FROM Qe_UserHistoryDetail WHERE Qh_UserCode = ? "
                               "AND Qh_Appearance = ? AND Qh_CatCode = ? AND Qh_ChapterCode = ? "
                               "AND Qh_RightAnswered <> 0"),
                {userCode, appearance, catCode, chapterCode})
        .toInt();
}

std::optional<HistoryStore::Taken> HistoryStore::taken(int userCode, const QVariant& appearance,
                                                       const QVariant& catCode, const QVariant& chapterCode)
{
    const db::ResultSet rows = m_exam.query(
        QStringLiteral("SELECT Qh_ExamDate, Qh_ExamMode, Qh_ExamCode, Qh_ExamTime FROM Qe_UserHistoryDetail "
                       "WHERE Qh_UserCode = ? AND Qh_Appearance = ? AND Qh_CatCode = ? AND Qh_ChapterCode = ? "
                       "ORDER BY rowid LIMIT 1"),
        {userCode, appearance, catCode, chapterCode});
    if (rows.empty())
        return std::nullopt;
    const db::Row& row = rows.first();
    return Taken{row.value(0), row.value(1), row.value(2), row.value(3)};
}

QVariant HistoryStore::lastSummarisedAppearance(int userCode)
{
    return m_exam.scalar(QStringLiteral("SELECT max(Quh_Appearance) FROM Qe_UserHistorySummary WHERE Quh_UserCode = ?"),
                         {userCode});
}

void HistoryStore::addSummary(const SummaryRow& row)
{
    m_exam.exec(QStringLiteral("INSERT INTO Qe_UserHistorySummary (Quh_CatCode, Quh_ExamDate, Quh_ExamTime, "
                               "Quh_Prec_Of_Question, Quh_Perc_Of_Right, Quh_ExamMode, Quh_Appearance, Quh_UserCode, "
                               "Quh_ExamCode, Quh_ChapCode) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {row.catCode, row.examDate, row.examTime, row.questions, row.right, row.examMode, row.appearance,
                 row.userCode, row.examCode, row.chapterCode});
}

std::vector<HistoryStore::SummaryRow> HistoryStore::summaryRows(int userCode)
{
    const db::ResultSet rows = m_exam.query(
        QStringLiteral("SELECT Quh_CatCode, Quh_ExamDate, Quh_ExamTime, Quh_Prec_Of_Question, Quh_Perc_Of_Right, "
                       "Quh_ExamMode, Quh_Appearance, Quh_UserCode, Quh_ExamCode, Quh_ChapCode "
                       "FROM Qe_UserHistorySummary WHERE Quh_UserCode = ? ORDER BY rowid"),
        {userCode});
    std::vector<SummaryRow> result;
    for (const db::Row& row : rows)
        result.push_back({row.value(0), row.value(1), row.value(2), wholeNumber(row.value(3)),
                          wholeNumber(row.value(4)), row.value(5), row.value(6), int(row.integer(7)), row.value(8),
                          row.value(9)});
    return result;
}
