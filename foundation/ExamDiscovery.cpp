#include "foundation/ExamDiscovery.h"

#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/Messages.h"
#include "foundation/ProgramFolder.h"
#include "foundation/ReferenceSchema.h"
#include "foundation/SchemaCheck.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "foundation/UiHooks.h"
#include "platform/db/Connection.h"
#include "platform/db/ErrorWords.h"
#include "platform/db/Transaction.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <exception>
#include <optional>

namespace {

const QString kReadReg = QStringLiteral(" ReadRegCurrentDB :QmodPublic: Date/Time :");
const QString kAttach = QStringLiteral(": attachAllDB:QmodPublic: Date/Time :");
const QString kCr = QStringLiteral("\r");
const QString kCrLf = QStringLiteral("\r\n");

void debugLine(const QString& text)
{
    if (gStartup.gDebug == 1)
        WriteLog(text);
}

QString describe(const std::exception& error)
{
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error))
        return dbError->message();
    return QString::fromStdString(error.what());
}

// Name order, without regard to case first so that "b.qzr" does not sort
// after "C.qzr"; ties by exact text so the order never depends on the file
// system.
void sortByName(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

QString listLines()
{
    return kCrLf + QStringLiteral("All Exams :") + gDiscovery.gAllExamsList + kCrLf
        + QStringLiteral("Duplicate Exams :") + gDiscovery.gDuplicateExamsList + kCrLf
        + QStringLiteral("Invalid Exams : ") + gDiscovery.gInvalidExamsList;
}

// A database that cannot be opened or read, or a locked system database:
// the driver's generic failure, which marks the database as not usable.
bool isUnusableDatabase(const std::exception& error)
{
    const auto* dbError = dynamic_cast<const db::DbError*>(&error);
    if (!dbError)
        return false;
    switch (dbError->errorClass()) {
    case db::ErrorClass::CannotOpen:
    case db::ErrorClass::NotADatabase:
    case db::ErrorClass::Busy:
        return true;
    default:
        return false;
    }
}

bool isKeyViolation(const std::exception& error)
{
    const auto* dbError = dynamic_cast<const db::DbError*>(&error);
    return dbError && dbError->errorClass() == db::ErrorClass::Constraint;
}

// Attaches one database. With a shared system connection (the rebuild) the
// row goes in a savepoint of the caller's transaction; without one the call
// opens and commits its own.
// A refusal leaves in `reason` why, as words that follow the file's name.
bool attach(db::Connection* sharedSystem, const QString& path, const ReferenceSchema& reference, QString& reason)
{
    try {
        debugLine(QStringLiteral("Reached AttachAllDB function!: AttachAllDB :QmodPublic: Date/Time :") + logDate()
                  + QStringLiteral("  ") + path);
        gDiscovery.gDuplicateExamFlag = false;

        db::Connection exam;
        if (!CompatibleDB(path, sharedSystem ? ShowNoRefusal : ShowColumnCountOnly, reference, &exam, &reason))
            return false;

        // On for this database only: every way out below switches it off again.
        const BusyPointer busy;
        debugLine(QStringLiteral("Compatible Exam Engine!") + kAttach + logDate() + QStringLiteral("  ") + path);

        std::optional<SystemDatabase> ownSystem;
        std::optional<db::Transaction> ownTransaction;
        if (!sharedSystem) {
            ownSystem.emplace();
            ownTransaction.emplace(ownSystem->connection());
        }
        SystemDatabase system(sharedSystem ? *sharedSystem : ownSystem->connection());

        const std::optional<ExamBank::ExamIdentity> identity = ExamBank(exam).examIdentity();
        debugLine(QStringLiteral("DB Opened!") + kAttach + logDate() + QStringLiteral("  ") + path);

        if (!identity) {
            ShowMessage(QStringLiteral("Error in ExamDB"), gLogin.gAppName, OneButton);
        } else if (identity->isValid()) {
            const QVariant& code = identity->code;
            const QVariant& desc = identity->description;
            const QString codeAndName = code.toString().trimmed() + QLatin1Char(':') + desc.toString().trimmed();

            db::Savepoint savepoint(system.connection());
            if (system.hasExam(code.toString().trimmed())) {
                debugLine(QStringLiteral("Duplicate Exam Found!") + kAttach + logDate() + QStringLiteral("  ")
                          + codeAndName);
                gDiscovery.gDuplicateExamsList += codeAndName + QLatin1Char(',');
                savepoint.rollback();
                gDiscovery.gDuplicateExamFlag = true;
                return false;
            }
            system.addExam(path, code, desc);
            savepoint.release();
            if (ownTransaction)
                ownTransaction->commit();
            debugLine(QStringLiteral("Exam added !") + kAttach + logDate() + QStringLiteral("  ") + codeAndName);
        }
        // else: marked not valid, passed over without a message.

        debugLine(QStringLiteral("Completed!") + kAttach + logDate() + QStringLiteral("  ") + path + listLines());
        return true;
    } catch (const std::exception& error) {
        WriteLog(describe(error) + QStringLiteral(": Module Name AttachAllDB: Date/Time: Parameter:") + path
                 + QLatin1Char(':') + logDateTime() + QStringLiteral("  ") + path + listLines());
        reason = db::causeInWords(error);
        if (isUnusableDatabase(error)) {
            gDiscovery.gInvalidDbFlag = true;
            gDiscovery.gDuplicateExamFlag = false;
        }
        if (isKeyViolation(error)) {
            // The code is attached already under a spelling the lookup missed.
            gDiscovery.gInvalidDbFlag = false;
            gDiscovery.gDuplicateExamFlag = true;
        }
        // An error that ended the rebuild's transaction (SQLite rolls back
        // by itself on some, such as a full disk) ends the rebuild: a later
        // exam would otherwise be written, and kept, outside it.
        if (sharedSystem && !sharedSystem->inTransaction())
            throw;
        return false;
    }
}

// "a, b, " -> "a, b"
void dropFinalSeparator(QString& list)
{
    if (list.trimmed().endsWith(QLatin1Char(',')))
        list.chop(2);
}

QStringList subFolders(const QString& dataFolder)
{
    QStringList names = QDir(dataFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    names.removeIf([](const QString& name) { return name.toUpper() == QLatin1String("PAGEFILE.SYS"); });
    sortByName(names);
    QStringList paths;
    for (const QString& name : names)
        paths << QDir(dataFolder).filePath(name);
    return paths;
}

// One file the rebuild tries: its folder (for the log) and its name ("" for
// a folder without an exam database).
struct Candidate {
    QString folder;
    QString file;
    QString path() const { return file.isEmpty() ? folder : QDir(folder).filePath(file); }
};

QString samePlace(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

// An exam discovered in the Data folder of another program folder (this one
// copied from it, say) belongs to that installation: its own discovery finds
// it there, and this one uses its own Data folder.
bool inAnotherProgramsData(const QString& path, const QString& dataFolder)
{
    const QDir folder = QFileInfo(path).dir();
    QDir data = folder;
    if (!data.cdUp() || data.dirName().compare(QLatin1String("Data"), Qt::CaseInsensitive) != 0)
        return false;
    if (samePlace(data.path()) == samePlace(dataFolder))
        return false;
    QDir program = data;
    return program.cdUp() && QFileInfo(program.filePath(QFileInfo(gStartup.gSysDbPath).fileName())).isFile();
}

// The files to try, in order: the exams attached before (first attached
// first) whose file is still a file here, wherever it lies, then the first
// exam database of each sub-folder of Data not among them. So an exam
// attached before keeps its code against a newcomer, and one attached from
// outside Data stays attached; one whose file is gone is dropped.
std::vector<Candidate> candidates(const std::vector<SystemDatabase::AttachedExam>& before, const QStringList& folders,
                                  const QString& dataFolder)
{
    std::vector<Candidate> tried;
    QStringList places;
    for (const SystemDatabase::AttachedExam& exam : before) {
        const QFileInfo file(exam.path);
        if (!file.isFile() || inAnotherProgramsData(exam.path, dataFolder)) {
            debugLine(exam.path + QStringLiteral(" dropped, its file is gone :") + kReadReg + logDate());
            continue;
        }
        if (places.contains(samePlace(exam.path)))
            continue;
        places << samePlace(exam.path);
        tried.push_back({file.path(), file.fileName()});
    }
    for (const QString& folder : folders) {
        const QString file = getExamName(folder);
        if (!file.isEmpty() && places.contains(samePlace(QDir(folder).filePath(file))))
            continue;
        tried.push_back({folder, file});
    }
    return tried;
}

} // namespace

QString getExamName(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.removeIf([](const QString& name) { return !name.endsWith(QLatin1String(".qzr"), Qt::CaseInsensitive); });
    sortByName(names);
    return names.isEmpty() ? QString() : names.first();
}

bool AttachAllDB(const QString& examDbPath)
{
    QString reason;
    return attach(nullptr, examDbPath, ReferenceSchema::load(), reason);
}

DiscoveryResult ReadRegCurrentDB()
{
    try {
        debugLine(QStringLiteral("Entering function to read registry: ReadRegCurrentDB: frmDBSel ") + logDate());
        const QString dataFolder = programFile(QStringLiteral("Data"));

        // One transaction for the whole rebuild: the table is never seen half
        // rebuilt, and one commit costs one flush instead of one per exam.
        SystemDatabase system;
        db::Transaction transaction(system.connection());
        const std::vector<SystemDatabase::AttachedExam> before = system.examsInAttachOrder();
        system.removeAllExams();
        // Rights stored under a code with blanks, before codes were stored
        // trimmed, move to the code as it is stored now.
        system.moveRightsToTrimmedCodes();

        const QStringList folders = subFolders(dataFolder);
        debugLine(QStringLiteral("Gathered Sub Directories of Data folder:") + kReadReg + logDate()
                  + QStringLiteral("  ") + dataFolder);

        uiHooks().processEvents();
        gDiscovery.gInvalidDbFlag = false;
        gDiscovery.gDuplicateExamFlag = false;
        gDiscovery.gAllExamsList.clear();
        gDiscovery.gDuplicateExamsList.clear();
        gDiscovery.gInvalidExamsList.clear();
        QString invalidList, duplicateList, otherList;
        int failures = 0, invalidCount = 0, duplicateCount = 0;

        const ReferenceSchema reference = ReferenceSchema::load();
        // Without a usable reference every exam database would fail the
        // check: the reference is what is wrong, and is named.
        const std::vector<Candidate> files = candidates(before, folders, dataFolder);
        if (const QString problem = reference.problem(); !files.empty() && !problem.isEmpty()) {
            WriteLog(problem + QStringLiteral(": Module Name ReadReRegCurrentDB: Date/Time: ") + logDateTime());
            ShowMessage(QStringLiteral("The reference layout DataSkeleton.SKL is missing or damaged, so no exam "
                                       "database can be checked. Application cannot proceed!")
                            + kCrLf + problem,
                        gLogin.gAppName, OneButton);
            return DiscoveryResult::NoExamAttached;
        }
        for (const Candidate& candidate : files) {
            const QString& folder = candidate.folder;
            const QString& file = candidate.file;
            const QString tried = folder + QLatin1Char('|') + file;
            gDiscovery.gAllExamsList += file + QLatin1Char(',');
            debugLine(tried + QLatin1Char(':') + kReadReg + logDate() + QStringLiteral("  ") + dataFolder);

            QString reason;
            if (attach(&system.connection(), candidate.path(), reference, reason)) {
                debugLine(tried + QStringLiteral(" attached :") + kReadReg + logDate());
                continue;
            }
            ++failures;
            // Each discarded file is shown with why it was discarded.
            if (file.isEmpty())
                reason = QStringLiteral("holds no exam database");
            const QString because = reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + QLatin1Char(')');
            if (gDiscovery.gInvalidDbFlag) {
                ++invalidCount;
                invalidList += file + because + QStringLiteral(", ");
                gDiscovery.gInvalidDbFlag = false;
                debugLine(tried + QStringLiteral(" attach failed not a valid exam db :") + kReadReg + logDate());
            } else if (gDiscovery.gDuplicateExamFlag) {
                duplicateList += file + QStringLiteral(", ");
                ++duplicateCount;
                gDiscovery.gDuplicateExamFlag = false;
                debugLine(tried + QStringLiteral(" attach failed duplicate exam :") + kReadReg + logDate());
            } else {
                // A folder without an exam database is named by the folder,
                // so the message never lists an empty name.
                otherList += (file.isEmpty() ? QDir(folder).dirName() + QLatin1Char('/') : file) + because
                    + QStringLiteral(", ");
                debugLine(tried + QStringLiteral(" attach failed unknown reason:") + kReadReg + logDate());
            }
        }
        transaction.commit();

        if (int(files.size()) - failures < 1) {
            debugLine(QStringLiteral("No Exam Data folder. Application cannot proceed!:") + kReadReg + logDate() + kCrLf
                      + QStringLiteral("No Fails ") + QString::number(failures) + kCrLf
                      + QStringLiteral(" No of exams ") + QString::number(files.size() + 1));
            ShowMessage(failures > 0 ? QStringLiteral("No Compatible Exam Data folder. Application cannot proceed!")
                                     : QStringLiteral("No Exam Data folder. Application cannot proceed!"),
                        gLogin.gAppName, OneButton);
            return DiscoveryResult::NoExamAttached;
        }

        dropFinalSeparator(invalidList);
        dropFinalSeparator(duplicateList);
        dropFinalSeparator(otherList);
        // One message that names every discarded file, in groups: invalid,
        // duplicate, then the rest.
        const QString discarded = QStringLiteral("Following Exam(s) will be discarded ") + kCr;
        QStringList groups;
        if (invalidCount > 0)
            groups << QStringLiteral("Invalid Exam database found.") + kCr + discarded + invalidList;
        if (duplicateCount > 0)
            groups << kCrLf + QStringLiteral("Duplicate Exam Code found.") + kCr + discarded + duplicateList;
        if (failures > invalidCount + duplicateCount)
            groups << discarded + otherList;
        const QString message = groups.join(kCr);
        if (!message.isEmpty()) {
            debugLine(message + QLatin1Char(':') + kReadReg + logDate());
            ShowMessage(message, gLogin.gAppName, OneButton);
        }

        debugLine(QStringLiteral("Ending readReg Successfully!:") + kReadReg + logDate());
        return DiscoveryResult::Rebuilt;
    } catch (const std::exception& error) {
        WriteLog(describe(error) + QStringLiteral(": Module Name ReadReRegCurrentDB: Date/Time: ") + logDateTime());
        // The rebuild writes only the system database.
        ShowMessage(dynamic_cast<const db::DbError*>(&error) ? db::problemInWords(
                        QStringLiteral("The system database"),
                        db::Connection::pathFromConnectionString(gStartup.gSysConnStr), error, db::Access::Writing)
                                                             : describe(error),
                    gLogin.gAppName, OneButton);
        return DiscoveryResult::Failed;
    }
}
