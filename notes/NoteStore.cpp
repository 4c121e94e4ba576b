#include "notes/NoteStore.h"

#include "foundation/ConnectionString.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/SharedState.h"
#include "foundation/UserNotesTable.h"
#include "foundation/UserWrite.h"
#include "platform/db/Connection.h"

#include <exception>

namespace notestore {

namespace {

void debugLine(bool write, const char* text)
{
    if (write && gStartup.gDebug == 1)
        WriteLog(QString::fromUtf8(text) + logDate());
}

void debugLine(const char* text)
{
    debugLine(true, text);
}

} // namespace

bool SaveNote(const QString& examConnStr, const UserAccount& account, int questCode, const QString& text,
              const QDate& today, QString& message)
{
    message.clear();
    debugLine("Save note:SaveNote:frmAddNote");
    if (text.trimmed().isEmpty()) {
        message = QString::fromUtf8(kEmptyNoteText);
        return false;
    }
    try {
        db::Connection exam = db::Connection::open(examConnStr);
        debugLine("Opening table:SaveNote:frmAddNote");
        UserWrite write(exam, account);
        UserNotesTable(exam).addNote(account.userCode, questCode, text, today);
        write.commit();
        debugLine("Updated info:SaveNote:frmAddNote");
        debugLine("Closing :SaveNote:frmAddNote");
        exam.close();
        return true;
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(":SaveNote:frmAddNote") + logDate());
        message = isAccountRemoved(error)
            ? accountRemovedText(QStringLiteral("The note could not be saved."))
            : commandFailureText(QStringLiteral("The note could not be saved."),
                                 DatabaseFile::exam(db::Connection::pathFromConnectionString(examConnStr)), error,
                                 DatabaseUse::Writing);
    }
    return false;
}

QString AnyNotesForThisQuestion(const QString& examConnStr, int userCode, int questCode)
{
    debugLine("Entering Function :AnyNotesForThisQuestion:frmAddNote");
    db::Connection exam = db::Connection::open(examConnStr);
    debugLine("Opening DB:AnyNotesForThisQuestion:frmAddNote");
    const QString text = UserNotesTable(exam).questionNotesText(userCode, questCode);
    debugLine(text.isEmpty() ? "No data:AnyNotesForThisQuestion:frmAddNote"
                             : "Gathered information:AnyNotesForThisQuestion:frmAddNote");
    exam.close();
    debugLine("End of Function :AnyNotesForThisQuestion:frmAddNote");
    return text;
}

QuestionHeading getCategory(const QString& examConnStr, int questCode, bool logLines)
{
    debugLine(logLines, "Started getting Catagories....:getCategory:frmAddNote");
    db::Connection exam = db::Connection::open(examConnStr);
    debugLine(logLines, "Opening DB Catagories....:getCategory:frmAddNote");
    const QuestionHeading heading = readQuestionHeading(exam, questCode);
    if (!heading.found)
        debugLine(logLines, "No Data found....:getCategory:frmAddNote");
    exam.close();
    debugLine(logLines, "Catagory Completed....:getCategory:frmAddNote");
    return heading;
}

bool updateNoteText(const QString& examPath, const QString& password, const UserAccount& account, qint64 noteId,
                    const QString& text, QString& message)
{
    message.clear();
    try {
        db::Connection exam = db::Connection::open(connectionString(examPath.trimmed(), password));
        UserWrite write(exam, account);
        UserNotesTable(exam).updateNoteText(noteId, text);
        write.commit();
        exam.close();
        return true;
    } catch (const std::exception& error) {
        WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(":updateNoteText:frmNoteEditor") + logDate());
        message = isAccountRemoved(error)
            ? accountRemovedText(QStringLiteral("The note could not be saved."))
            : commandFailureText(QStringLiteral("The note could not be saved."), DatabaseFile::exam(examPath.trimmed()),
                                 error, DatabaseUse::Writing);
    }
    return false;
}

QString noteBoxText(const QString& stored)
{
    return UserNotesTable::storedText(stored).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace notestore
