#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace db {
class Connection;
class Row;
using Params = std::vector<QVariant>;
} // namespace db

// The notes of an exam database (Qe_UserNotes): one row per note of a user
// on a question; nothing is unique but Qn_NoteID, and adding a note always
// inserts a row. Works on the caller's connection; values are bound;
// database errors reach the caller (db::DbError).
//
// Line breaks are stored as CR LF: the note lists take a note's first line as
// the text before its first CR LF and the printed page breaks at each CR, so
// every writer stores its text through storedText(). Notes stored earlier with
// bare LF still read back as they are.
class UserNotesTable {
public:
    explicit UserNotesTable(db::Connection& exam);

    // One row of the table.
    struct Note {
        qint64 id = 0;     // Qn_NoteID
        int userCode = 0;  // Qn_UserCode
        int questCode = 0; // Qn_QuestCode
        QDate examDate;    // Qn_ExamDate; invalid when NULL or not a date
        QString text;      // Qn_noteDesc as stored; "" when NULL
        bool textIsNull = false;
    };

    // The user's notes on a question, in the order they were added.
    std::vector<Note> questionNotes(int userCode, int questCode);

    // The user's notes on a question joined into one text: each note
    // followed by CR LF, "------------" and CR LF (a NULL note gives only its
    // separator); "" when there is none.
    QString questionNotesText(int userCode, int questCode);
    static QString joinedNotesText(const std::vector<Note>& notes);

    // Adds a note dated examDate (the day only) with its text as typed
    // (line breaks made CR LF, nothing trimmed); returns its Qn_NoteID.
    long long addNote(int userCode, int questCode, const QString& text, const QDate& examDate);

    // Sets the text of one note (line breaks made CR LF); returns the number
    // of rows changed: 0 when the note is gone.
    int updateNoteText(qint64 noteId, const QString& text);

    // ---- the notes browser's list ----
    // Which notes the list shows: one user's or every user's, all of them,
    // those on the questions of a category, or of a chapter of a category.
    struct ListFilter {
        std::optional<int> userCode; // nullopt: every user's
        std::optional<int> category; // nullopt: every question
        std::optional<int> chapter;  // with a category: its chapter
    };
    // The notes the filter lets through, by Qn_NoteID.
    std::vector<Note> listedNotes(const ListFilter& filter);
    // The statement of a filter (which values it binds: user, category,
    // chapter, in that order, each only when the filter has it).
    static QString listedNotesSql(const ListFilter& filter);
    static db::Params listedNotesParams(const ListFilter& filter);

    // ---- the notes printer's page ----
    // A note with its question, the question's category and chapter texts.
    struct ReportRow {
        qint64 noteId = 0;
        int questCode = 0;
        QString questionText; // Qq_Quest_Desc; NULL as ""
        QString category;     // Qc_Cat_Desc; "" without a category row
        QString explanation;  // Qq_Explanation; NULL as ""
        int typeCode = 0;
        QString chapter;  // Qc_Chapter_Desc; "" without a chapter row
        QString noteText; // Qn_noteDesc, never NULL here
    };
    // The user's notes on the questions (a code may come more than once),
    // by Qn_NoteID; notes whose text is NULL or whose question is missing
    // are left out.
    std::vector<ReportRow> reportRowsOfUser(int userCode, const std::vector<int>& questCodes);
    // The same for the notes themselves, of whichever user.
    std::vector<ReportRow> reportRowsOfNotes(const std::vector<qint64>& noteIds);
    // The statements, for benchmarks: each binds one JSON array of numbers
    // (the user's statement binds the user code first).
    static QString reportRowsOfUserSql();
    static QString reportRowsOfNotesSql();
    template <typename Number> static QString numbersParameter(const std::vector<Number>& numbers)
    {
        QString text = QStringLiteral("[");
        for (size_t i = 0; i < numbers.size(); ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            text += QString::number(numbers[i]);
        }
        return text + QLatin1Char(']');
    }

    // ---- shared with the statements of the note lists ----
    // The text as stored: every line break (LF, CR or CR LF) becomes CR LF.
    static QString storedText(const QString& text);
    // Qn_ExamDate as bound: 'YYYY-MM-DD'.
    static QString storedDate(const QDate& date);
    // A stored Qn_ExamDate back as a day ('YYYY-MM-DD', also with a time
    // after it); invalid for NULL or anything else.
    static QDate dateOf(const QVariant& stored);
    // A row that holds the table's columns (by name) as a Note.
    static Note noteOf(const db::Row& row);

private:
    db::Connection& m_exam;
};
