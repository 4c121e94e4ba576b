#pragma once

#include "notes/QuestionHeading.h"

#include <QDate>
#include <QString>

struct UserAccount;

// The note windows' work on the exam database of the running exam: each
// call opens its own connection on the launch record's connection string and
// closes it before it returns. Debug lines are written when the debug flag
// is 1.
namespace notestore {

// The message of a note that is empty or only blanks and line breaks.
inline constexpr const char* kEmptyNoteText = "Note should not be empty";

// Adds the note of the account's user on `questCode`, dated `today`, with
// its text as typed (untrimmed), as one write for the user (UserWrite).
// False when nothing was written; `message` then holds the reason:
// kEmptyNoteText, that the account was removed, or the database error's
// description.
bool SaveNote(const QString& examConnStr, const UserAccount& account, int questCode, const QString& text,
              const QDate& today, QString& message);

// The user's earlier notes on a question, joined as the note windows show
// them (see UserNotesTable::questionNotesText). Database errors reach the
// caller (db::DbError).
QString AnyNotesForThisQuestion(const QString& examConnStr, int userCode, int questCode);

// The header of the question. `logLines`: the add-note window writes its
// debug lines, the earlier-notes window none. Database errors reach the
// caller (db::DbError).
QuestionHeading getCategory(const QString& examConnStr, int questCode, bool logLines);

// Sets the text of the note `noteId` (line breaks made CR LF) in the exam
// database at `examPath`, as a write for the account's user (the one
// editing). A note deleted meanwhile changes nothing and still counts as
// saved. False when nothing was written; `message` then says that the
// account was removed, or holds the error's description.
bool updateNoteText(const QString& examPath, const QString& password, const UserAccount& account, qint64 noteId,
                    const QString& text, QString& message);

// A stored note text as a text box shows it: each line break (CR LF, CR or
// LF) as one "\n".
QString noteBoxText(const QString& stored);

} // namespace notestore
