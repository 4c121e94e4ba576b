#include "admin/ExamAttach.h"

#include "admin/AdminTexts.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DisplayRoutines.h"
#include "foundation/ExamBank.h"
#include "foundation/ExamDiscovery.h"
#include "foundation/SchemaCheck.h"
#include "foundation/SharedState.h"
#include "foundation/UserRights.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/ErrorWords.h"
#include "platform/db/Transaction.h"

namespace {

bool sameCode(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// "<what failed>\r\n<the file and why>\r\n<what to do>"
QString problemText(const QString& what, const QString& kind, const QString& path, const std::exception& error)
{
    const auto* dbError = dynamic_cast<const db::DbError*>(&error);
    const bool busy = dbError && dbError->errorClass() == db::ErrorClass::Busy;
    return what + QStringLiteral("\r\n") + db::problemInWords(kind, path, error, db::Access::Writing)
        + QStringLiteral("\r\n")
        + (busy ? QStringLiteral("Close the program that uses it, then try again.")
                : QStringLiteral("Nothing was changed. Make sure the file can be written, then try again."));
}

QString attachProblemText(const QString& kind, const QString& path, const std::exception& error)
{
    return problemText(QStringLiteral("The exam could not be attached."), kind, path, error);
}

} // namespace

BrowsedExam checkBrowsedExam(SystemDatabase& system, const QString& path, const QStringList& listedCodes)
{
    BrowsedExam result;
    gDiscovery.gInvalidDbFlag = false;
    if (!CompatibleDB(path, ShowEveryRefusal)) {
        // A refusal sets the flag and says so; a file that cannot be read
        // at all does neither.
        result.messageShown = gDiscovery.gInvalidDbFlag;
        return result;
    }
    std::optional<ExamBank::ExamIdentity> identity;
    try {
        db::Connection exam = db::Connection::openFile(path);
        identity = ExamBank(exam).examIdentity();
    } catch (const std::exception& error) {
        result.problem =
            commandFailureText(QStringLiteral("The exam could not be attached."), DatabaseFile::exam(path), error);
        return result;
    }
    if (!identity) {
        result.status = BrowsedExam::Status::NoExamRow;
        return result;
    }
    const QString code = identity->code.toString();
    for (const QString& listed : listedCodes) {
        if (sameCode(listed, code)) {
            result.status = BrowsedExam::Status::AlreadyAttached;
            return result;
        }
    }
    // Attached but not listed (its file is missing here) counts too: the
    // code is the key of Bq_Exam.
    if (system.hasExam(code.trimmed())) {
        result.status = BrowsedExam::Status::AlreadyAttached;
        return result;
    }
    if (!identity->isValid()) {
        result.status = BrowsedExam::Status::Invalid;
        return result;
    }
    result.status = BrowsedExam::Status::Ready;
    result.code = code;
    result.description = identity->description.toString();
    return result;
}

AttachResult AttachDatabase(db::Connection& connection, const QString& path, const QString& examCode,
                            const QString& description, const std::vector<AttachUser>& users, QString& errorText,
                            const std::function<void()>& step)
{
    bool anyGranted = false;
    for (const AttachUser& user : users)
        anyGranted = anyGranted || user.granted;
    if (!anyGranted)
        return AttachResult::NoUserGranted;

    // One transaction on each file: the attach is all or nothing, so a
    // retry finds nothing of a failed one.
    SystemDatabase system(connection);
    bool inExamFile = false; // where a failure lies, for the words
    try {
        db::Transaction systemTransaction(connection);
        if (system.hasExam(examCode)) {
            errorText += QString::fromLatin1(adminText::AlreadyAttached);
            return AttachResult::Failed;
        }
        system.addExam(path, examCode, description);
        std::vector<std::pair<AttachUser, UserCopyFields>> copies;
        for (const AttachUser& user : users) {
            if (const std::optional<SystemDatabase::Profile> p = system.profileOf(user.code)) {
                writeUserRight(connection, user.code, user.granted, examCode);
                copies.push_back({user, {p->login, p->firstName, p->middleName, p->lastName, p->email}});
            }
            if (step)
                step();
        }

        inExamFile = true;
        db::Connection exam = db::Connection::openFile(path);
        db::Transaction examTransaction(exam);
        for (const auto& [user, copy] : copies)
            writeUserCopy(exam, user.code, user.granted, copy);
        // The copies first: copies left behind by a failed attach are
        // harmless and a retry rewrites them; an attach without its copies
        // is not.
        examTransaction.commit();
        inExamFile = false;
        systemTransaction.commit();
    } catch (const std::exception& error) {
        errorText += inExamFile ? attachProblemText(QStringLiteral("The exam database"), path, error)
                                : attachProblemText(QStringLiteral("The system database"), connection.path(), error);
        return AttachResult::Failed;
    }
    return AttachResult::Attached;
}

std::vector<SystemDatabase::AttachedExam> withExistingFiles(std::vector<SystemDatabase::AttachedExam> exams)
{
    std::erase_if(exams, [](const SystemDatabase::AttachedExam& exam) { return !FileExists(exam.path); });
    return exams;
}

std::vector<SystemDatabase::AttachedExam> attachedExamList(SystemDatabase& system)
{
    return withExistingFiles(system.examsByDescription());
}

bool isCurrentExam(const QString& examCode)
{
    return !gLogin.gExamCode.trimmed().isEmpty() && sameCode(examCode, gLogin.gExamCode);
}

QString detachProblemText(const QString& systemDbPath, const std::exception& error)
{
    return problemText(QStringLiteral("The exam could not be detached."), QStringLiteral("The system database"),
                       systemDbPath, error);
}

void detachExam(db::Connection& connection, const QString& examCode)
{
    SystemDatabase system(connection);
    db::Transaction transaction(connection);
    system.removeExam(examCode);
    system.removeRightsTo(examCode);
    transaction.commit();
}
