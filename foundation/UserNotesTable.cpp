#include "foundation/UserNotesTable.h"

#include "platform/db/Connection.h"

#include <QStringList>

namespace {

const QString kSeparator = QStringLiteral("\r\n------------\r\n");

const QString kColumns = QStringLiteral("Qn_NoteID, Qn_UserCode, Qn_QuestCode, Qn_ExamDate, Qn_noteDesc");

std::vector<UserNotesTable::Note> notesOf(const db::ResultSet& rows)
{
    std::vector<UserNotesTable::Note> notes;
    notes.reserve(size_t(rows.recordCount()));
    for (const db::Row& row : rows)
        notes.push_back(UserNotesTable::noteOf(row));
    return notes;
}

} // namespace

UserNotesTable::UserNotesTable(db::Connection& exam) : m_exam(exam)
{
}

std::vector<UserNotesTable::Note> UserNotesTable::questionNotes(int userCode, int questCode)
{
    return notesOf(m_exam.query(QStringLiteral("SELECT ") + kColumns
                                    + QStringLiteral(" FROM Qe_UserNotes WHERE Qn_QuestCode = ? AND "
                                                     "Qn_UserCode = ? ORDER BY Qn_NoteID"),
                                {questCode, userCode}));
}

QString UserNotesTable::questionNotesText(int userCode, int questCode)
{
    return joinedNotesText(questionNotes(userCode, questCode));
}

QString UserNotesTable::joinedNotesText(const std::vector<Note>& notes)
{
    QString text;
    for (const Note& note : notes)
        text += note.text + kSeparator;
    return text;
}

long long UserNotesTable::addNote(int userCode, int questCode, const QString& text, const QDate& examDate)
{
    const QVariant day = examDate.isValid() ? QVariant(storedDate(examDate)) : QVariant();
    m_exam.exec(QStringLiteral("INSERT INTO Qe_UserNotes (Qn_UserCode, Qn_QuestCode, Qn_ExamDate, Qn_noteDesc) "
                               "VALUES (?, ?, ?, ?)"),
                {userCode, questCode, day, storedText(text)});
    return m_exam.lastInsertId();
}

int UserNotesTable::updateNoteText(qint64 noteId, const QString& text)
{
    return m_exam.exec(QStringLiteral("UPDATE Qe_UserNotes SET Qn_noteDesc = ? WHERE Qn_NoteID = ?"),
                       {storedText(text), noteId});
}

QString UserNotesTable::listedNotesSql(const ListFilter& filter)
{
    QString sql = QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM Qe_UserNotes");
    QStringList conditions;
    if (filter.userCode)
        conditions << QStringLiteral("Qn_UserCode = ?");
    if (filter.category) {
        conditions << (filter.chapter ? QStringLiteral("Qn_QuestCode IN (SELECT Qq_QuestCode FROM Qe_QuestionsHead "
                                                       "WHERE Qq_CatCode = ? AND Qq_ChapterCode = ?)")
                                      : QStringLiteral("Qn_QuestCode IN (SELECT Qq_QuestCode FROM Qe_QuestionsHead "
                                                       "WHERE Qq_CatCode = ?)"));
    }
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    return sql + QStringLiteral(" ORDER BY Qn_NoteID");
}

db::Params UserNotesTable::listedNotesParams(const ListFilter& filter)
{
    db::Params params;
    if (filter.userCode)
        params.emplace_back(*filter.userCode);
    if (filter.category) {
        params.emplace_back(*filter.category);
        if (filter.chapter)
            params.emplace_back(*filter.chapter);
    }
    return params;
}

std::vector<UserNotesTable::Note> UserNotesTable::listedNotes(const ListFilter& filter)
{
    return notesOf(m_exam.query(listedNotesSql(filter), listedNotesParams(filter)));
}

namespace {

// The question, category and chapter of each note; a note on a question
// that is not in the bank has no row.
const QString kReportSelect = QStringLiteral(
    "SELECT n.Qn_NoteID, a.Qq_QuestCode, a.Qq_Quest_Desc, b.Qc_Cat_Desc, a.Qq_Explanation, a.Qq_TypeCode, "
    "Qe_Chapters.Qc_Chapter_Desc, n.Qn_noteDesc "
    "FROM Qe_UserNotes AS n INNER JOIN Qe_QuestionsHead AS a ON a.Qq_QuestCode = n.Qn_QuestCode "
    "LEFT JOIN Qe_Category AS b ON a.Qq_CatCode = b.Qc_CatCode "
    "LEFT JOIN Qe_Chapters ON a.Qq_ChapterCode = Qe_Chapters.Qc_ChapterCode "
    "WHERE n.Qn_noteDesc IS NOT NULL AND ");

std::vector<UserNotesTable::ReportRow> reportRowsOf(const db::ResultSet& result)
{
    std::vector<UserNotesTable::ReportRow> rows;
    rows.reserve(size_t(result.recordCount()));
    for (const db::Row& row : result) {
        UserNotesTable::ReportRow r;
        r.noteId = row.integer(0);
        r.questCode = int(row.integer(1));
        r.questionText = row.text(2);
        r.category = row.text(3);
        r.explanation = row.text(4);
        r.typeCode = int(row.integer(5));
        r.chapter = row.text(6);
        r.noteText = row.text(7);
        rows.push_back(std::move(r));
    }
    return rows;
}

} // namespace

QString UserNotesTable::reportRowsOfUserSql()
{
    return kReportSelect
        + QStringLiteral("n.Qn_UserCode = ? AND n.Qn_QuestCode IN (SELECT value FROM json_each(?)) "
                         "ORDER BY n.Qn_NoteID");
}

QString UserNotesTable::reportRowsOfNotesSql()
{
    return kReportSelect + QStringLiteral("n.Qn_NoteID IN (SELECT value FROM json_each(?)) ORDER BY n.Qn_NoteID");
}

std::vector<UserNotesTable::ReportRow> UserNotesTable::reportRowsOfUser(int userCode,
                                                                        const std::vector<int>& questCodes)
{
    if (questCodes.empty())
        return {};
    return reportRowsOf(m_exam.query(reportRowsOfUserSql(), {userCode, numbersParameter(questCodes)}));
}

std::vector<UserNotesTable::ReportRow> UserNotesTable::reportRowsOfNotes(const std::vector<qint64>& noteIds)
{
    if (noteIds.empty())
        return {};
    return reportRowsOf(m_exam.query(reportRowsOfNotesSql(), {numbersParameter(noteIds)}));
}

QString UserNotesTable::storedText(const QString& text)
{
    QString stored;
    stored.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            stored += QStringLiteral("\r\n");
        } else if (c == QLatin1Char('\n')) {
            stored += QStringLiteral("\r\n");
        } else {
            stored += c;
        }
    }
    return stored;
}

QString UserNotesTable::storedDate(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

QDate UserNotesTable::dateOf(const QVariant& stored)
{
    if (stored.isNull())
        return {};
    return QDate::fromString(stored.toString().left(10), Qt::ISODate);
}

UserNotesTable::Note UserNotesTable::noteOf(const db::Row& row)
{
    Note note;
    note.id = row.integer(QStringLiteral("Qn_NoteID"));
    note.userCode = int(row.integer(QStringLiteral("Qn_UserCode")));
    note.questCode = int(row.integer(QStringLiteral("Qn_QuestCode")));
    note.examDate = dateOf(row.value(QStringLiteral("Qn_ExamDate")));
    note.textIsNull = row.isNull(QStringLiteral("Qn_noteDesc"));
    note.text = row.text(QStringLiteral("Qn_noteDesc"));
    return note;
}
