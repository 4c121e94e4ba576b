#include "admin/ExamAttach.h"

#include "admin/AdminTexts.h"
#include "foundation/DisplayRoutines.h"
#include "foundation/ExamBank.h"
#include "foundation/ExamDiscovery.h"
#include "foundation/SchemaCheck.h"
#include "foundation/SharedState.h"
#include "foundation/UserRights.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

namespace {

bool sameCode(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
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
    db::Connection exam = db::Connection::openFile(path);
    const std::optional<ExamBank::ExamIdentity> identity = ExamBank(exam).examIdentity();
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

    SystemDatabase system(connection);
    try {
        db::Transaction transaction(connection);
        system.addExam(path, examCode, description);
        transaction.commit();
    } catch (const std::exception& error) {
        errorText += describeError(error);
        return AttachResult::Failed;
    }
    for (const AttachUser& user : users) {
        std::optional<SystemDatabase::Profile> profile;
        try {
            profile = system.profileOf(user.code);
        } catch (const std::exception& error) {
            errorText += describeError(error);
            return AttachResult::Failed;
        }
        if (profile) {
            QString error;
            if (!Gen_UpdateRights(connection, user.code, user.granted, path, examCode, error, profile->login,
                                  profile->firstName, profile->password, profile->middleName, profile->lastName,
                                  profile->email)) {
                errorText += error;
                return AttachResult::Failed;
            }
        }
        if (step)
            step();
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

void detachExam(db::Connection& connection, const QString& examCode)
{
    SystemDatabase system(connection);
    db::Transaction transaction(connection);
    system.removeExam(examCode);
    system.removeRightsTo(examCode);
    transaction.commit();
}
