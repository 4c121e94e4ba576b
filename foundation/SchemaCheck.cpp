#include "foundation/SchemaCheck.h"

#include "foundation/DebugLog.h"
#include "foundation/ExamDiscovery.h"
#include "foundation/Messages.h"
#include "foundation/ReferenceSchema.h"
#include "foundation/Schema.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "platform/db/ErrorWords.h"

#include <exception>
#include <stdexcept>

namespace {

const QString kModule = QStringLiteral(": CompatibleDB :QmodPublic: Date/Time :");

QString describe(const std::exception& error)
{
    if (const auto* dbError = dynamic_cast<const db::DbError*>(&error))
        return dbError->message();
    return QString::fromStdString(error.what());
}

void debugLine(const QString& text)
{
    if (gStartup.gDebug == 1)
        WriteLog(text);
}

// Runs an upgrade statement. "Already there" is the normal case for every
// database after its first check; anything else is logged and the check
// goes on with the database as it is.
void runUpgrade(db::Connection& connection, const QString& sql, const char* procedure)
{
    try {
        connection.exec(sql);
    } catch (const db::DbError& error) {
        if (error.errorClass() != db::ErrorClass::AlreadyExists)
            WriteLog(error.message() + QStringLiteral(": Module Name ") + QLatin1String(procedure)
                     + QStringLiteral(": Date/Time: ") + logDateTime());
    } catch (const std::exception& error) {
        WriteLog(describe(error) + QStringLiteral(": Module Name ") + QLatin1String(procedure)
                 + QStringLiteral(": Date/Time: ") + logDateTime());
    }
}

void refuse(const QString& table)
{
    ShowMessage(QStringLiteral("Non-compatible database. Cannot use: ") + table, gLogin.gAppName, OneButton);
}

// The columns a table holds once the upgrade has run: the question table
// gains the model-answer column when no column of that name (in any case,
// as SQLite compares names) is there.
QStringList columnsOnceUpgraded(const QString& table, QStringList columns)
{
    if (table == QLatin1String(schema::kModelAnswerTable)
        && !columns.contains(QLatin1String(schema::kModelAnswerColumn), Qt::CaseInsensitive))
        columns << QLatin1String(schema::kModelAnswerColumn);
    return columns;
}

enum ColumnLines { LogEachColumn, Quietly };

// One compared table: false (with the refusal told and recorded) when the
// exam database's columns differ from the reference's.
bool tableMatches(const ReferenceSchema::Table& table, const QStringList& examColumns, const QString& examDbPath,
                  short messageSwitch, ColumnLines lines, QString* reason)
{
    const auto differs = [&] {
        if (reason)
            *reason = QStringLiteral("has a table %1 unlike the program's layout").arg(table.name);
    };
    if (examColumns.size() != table.columns.size()) {
        differs();
        debugLine(QStringLiteral("Non compatible database.! Check tables") + kModule + logDate()
                  + QStringLiteral("####") + table.name + QStringLiteral(" #") + examDbPath);
        if (messageSwitch != ShowNoRefusal)
            refuse(table.name);
        gDiscovery.gInvalidExamsList += examDbPath + QLatin1Char(',');
        gDiscovery.gInvalidDbFlag = true;
        return false;
    }
    for (const QString& column : table.columns) {
        if (gStartup.gDebug == 1 && lines == LogEachColumn) // built only when written: this runs for every column
            WriteLog(QStringLiteral("Looping Through fields.! Check tables") + kModule + logDate()
                     + QStringLiteral(" Current Table in process ") + table.name
                     + QStringLiteral(" Field under processing ") + column);
        // Case-sensitive on purpose: a column spelt differently is a
        // database built for another engine.
        if (!examColumns.contains(column, Qt::CaseSensitive)) {
            differs();
            if (messageSwitch == ShowEveryRefusal) {
                debugLine(QStringLiteral("Non-Compatible Exam Engine!: CompatibleDB:QmodPublic: Date/Time :")
                          + logDate() + examDbPath);
                refuse(table.name);
            }
            gDiscovery.gInvalidDbFlag = true;
            return false;
        }
    }
    return true;
}

} // namespace

bool addTable(db::Connection& connection)
{
    runUpgrade(connection, schema::createLearningObjectiveTableSql(), "addTable");
    return false;
}

bool addField(db::Connection& connection, const QString& table, const QString& column)
{
    runUpgrade(connection,
               QStringLiteral("ALTER TABLE ") + db::quoteIdentifier(table) + QStringLiteral(" ADD ")
                   + db::quoteIdentifier(column) + QLatin1Char(' ') + QLatin1String(schema::kModelAnswerType),
               "addField");
    return false;
}

bool CompatibleDB(const QString& examDbPath, short messageSwitch)
{
    return CompatibleDB(examDbPath, messageSwitch, ReferenceSchema::load());
}

bool CompatibleDB(const QString& examDbPath, short messageSwitch, const ReferenceSchema& reference,
                  db::Connection* openExam, QString* refusalReason)
{
    const QString atPath = QStringLiteral(" #") + examDbPath;
    try {
        debugLine(QStringLiteral("Started database compatibility checking function!(1)") + kModule + logDate()
                  + atPath);
        debugLine(QStringLiteral("Started database compatibility checking function!(0)") + kModule + logDate()
                  + atPath);

        db::Connection exam = db::Connection::openFile(examDbPath);
        debugLine(QStringLiteral("database opened") + kModule + logDate() + atPath);

        if (!reference.openError().isEmpty())
            throw std::runtime_error(reference.openError().toStdString());
        debugLine(QStringLiteral("databases opened for compatibility checking!") + kModule + logDate() + atPath);

        // Tables only, as the reference holds: a view named like a table can
        // hold a query that never ends, and a trigger would run a stranger's
        // statements on the program's own writes.
        if (!exam.schemaObjects(QStringLiteral("view")).isEmpty()
            || !exam.schemaObjects(QStringLiteral("trigger")).isEmpty()) {
            debugLine(QStringLiteral("Views or triggers in the exam database") + kModule + logDate() + atPath);
            if (messageSwitch == ShowEveryRefusal)
                ShowMessage(QStringLiteral("Non-compatible database. Cannot use: ") + examDbPath
                                + QStringLiteral("\r\nIt holds views or triggers, which an exam database never holds."),
                            gLogin.gAppName, OneButton);
            if (refusalReason)
                *refusalReason = QStringLiteral("holds views or triggers");
            gDiscovery.gInvalidExamsList += examDbPath + QLatin1Char(',');
            gDiscovery.gInvalidDbFlag = true;
            return false;
        }

        // Checked before anything is written: a file that is refused (a
        // foreign database, an empty file) is left exactly as it was. The
        // model-answer column counts as there, since the upgrade adds it.
        for (const ReferenceSchema::Table& table : reference.tables()) {
            if (gStartup.gDebug == 1)
                WriteLog(QStringLiteral("Looping Through tables .! Check tables") + kModule + logDate()
                         + QStringLiteral(" Current Table in process ") + table.name);
            if (!table.error.isEmpty())
                throw std::runtime_error(table.error.toStdString());
            if (!tableMatches(table, columnsOnceUpgraded(table.name, exam.tableColumns(table.name)), examDbPath,
                              messageSwitch, LogEachColumn, refusalReason))
                return false;
        }

        addTable(exam);
        addField(exam, QLatin1String(schema::kModelAnswerTable), QLatin1String(schema::kModelAnswerColumn));
        debugLine(QStringLiteral("database QQ_Correctanswer added") + kModule + logDate() + atPath);
        // An upgrade that could not run (a file that cannot be written)
        // leaves the question table short of the reference's column.
        for (const ReferenceSchema::Table& table : reference.tables())
            if (table.name == QLatin1String(schema::kModelAnswerTable)
                && !tableMatches(table, exam.tableColumns(table.name), examDbPath, messageSwitch, Quietly,
                                 refusalReason))
                return false;

        debugLine(QStringLiteral("Compatible Exam Engine!: CompatibleDB:QmodPublic: Date/Time :") + logDate()
                  + examDbPath);
        if (openExam)
            *openExam = std::move(exam);
        if (refusalReason)
            refusalReason->clear();
        return true;
    } catch (const std::exception& error) {
        if (refusalReason)
            *refusalReason = db::causeInWords(error);
        WriteLog(describe(error) + QStringLiteral(": Module Name CompatibleDB: Date/Time: ") + logDateTime() + atPath);
        return false;
    }
}
