#include "foundation/SchemaCheck.h"

#include "foundation/DebugLog.h"
#include "foundation/ExamDiscovery.h"
#include "foundation/FileStamp.h"
#include "foundation/Messages.h"
#include "foundation/ReferenceSchema.h"
#include "foundation/Schema.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "platform/db/ErrorWords.h"

#include <exception>
#include <limits>
#include <optional>
#include <vector>
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

// The stored whole numbers the program reads into 32-bit integers: codes
// (questions, categories, chapters, scenarios, the progress's question and
// pass), sequence numbers, points and the history's counts. One beyond that
// range is refused here rather than narrowed, since narrowing would make two
// stored codes one. Tables outside the compared ones may be missing.
struct WholeNumberColumns {
    const char* table;
    std::vector<const char*> columns;
};

const std::vector<WholeNumberColumns>& wholeNumberColumns()
{
    static const std::vector<WholeNumberColumns> columns = {
        {"Qe_QuestionsHead",
         {"Qq_QuestCode", "Qq_CatCode", "Qq_ChapterCode", "Qq_TypeCode", "Qq_InteractiveCode", "Qq_Difficulty",
          "Qq_ScenarioId"}},
        {"Qe_Category", {"Qc_catcode"}},
        {"Qe_Chapters", {"Qc_ChapterCode", "Qc_catcode"}},
        {"Qe_AnswerChoice", {"Qc_Choice_Seq"}},
        {"Qe_AnswerInteractive", {"Qi_LeftPane_Seq", "Qi_RightPane_Seq"}},
        {"Qe_InteractiveRightAnswer", {"Qa_LeftPane_Seq", "Qa_ans_node_Seq"}},
        {"Qe_Points", {"qp_pointValue"}},
        {"Qe_UserHistorySummary", {"Quh_Prec_Of_Question", "Quh_Perc_Of_Right", "Quh_Appearance"}},
        {"Qe_Progress", {"QuestionID", "pass"}},
        {"Qe_LOS", {"Qq_QuestCode"}},
    };
    return columns;
}

bool beyondWholeNumbers(const QVariant& value)
{
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::LongLong)
        return value.toLongLong() < std::numeric_limits<int>::min()
            || value.toLongLong() > std::numeric_limits<int>::max();
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        return !(d >= double(std::numeric_limits<int>::min()) && d <= double(std::numeric_limits<int>::max()));
    }
    return false; // text and blobs read as 0, as they always did
}

QString storedNumberText(const QVariant& value)
{
    return value.typeId() == QMetaType::LongLong ? QString::number(value.toLongLong())
                                                 : QString::number(value.toDouble(), 'g', 17);
}

// The first stored number beyond the range, as "V in column C of table T";
// empty when every one fits. One scan per table; a column with an index is
// looked up through it.
QString firstNumberBeyondRange(db::Connection& exam)
{
    for (const WholeNumberColumns& table : wholeNumberColumns()) {
        const QString name = QLatin1String(table.table);
        if (!exam.hasTable(name))
            continue;
        const QStringList present = exam.tableColumns(name);
        QStringList names, columns, tests;
        for (const char* column : table.columns) {
            const QString c = QLatin1String(column);
            if (!present.contains(c, Qt::CaseInsensitive))
                continue;
            const QString q = db::quoteIdentifier(c);
            names << c;
            columns << q;
            tests << QStringLiteral("((%1 > 2147483647 OR %1 < -2147483648) AND typeof(%1) IN ('integer', 'real'))")
                         .arg(q);
        }
        if (columns.isEmpty())
            continue;
        const db::ResultSet rows = exam.query(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", "))
                                              + QStringLiteral(" FROM ") + db::quoteIdentifier(name)
                                              + QStringLiteral(" WHERE ") + tests.join(QStringLiteral(" OR "))
                                              + QStringLiteral(" LIMIT 1"));
        if (rows.empty())
            continue;
        const db::Row& row = rows.first();
        for (int i = 0; i < columns.size(); ++i)
            if (beyondWholeNumbers(row.value(i)))
                return QStringLiteral("%1 in column %2 of table %3")
                    .arg(storedNumberText(row.value(i)), names.at(i), name);
    }
    return {};
}

// What makes a table more than plain stored values, in words; "" for a
// plain table. A virtual table's rows come from code; a generated column or
// an index on an expression runs a stranger's expression on every read or
// write, and can make a value (and the file) as large as it likes.
QString computedPart(db::Connection& exam, const QString& table)
{
    if (exam.isVirtualTable(table))
        return QStringLiteral("a virtual table");
    const QStringList columns = exam.computedColumns(table);
    if (!columns.isEmpty())
        return QStringLiteral("generated or hidden column %1").arg(columns.join(QStringLiteral(", ")));
    const QStringList indexes = exam.computedIndexes(table);
    if (!indexes.isEmpty())
        return QStringLiteral("index %1 on an expression or a WHERE clause").arg(indexes.join(QStringLiteral(", ")));
    return {};
}

// One table the program reads or writes: refused (told as a differing table
// is, and recorded) when it is not plain stored values.
bool tableIsPlain(db::Connection& exam, const QString& table, const QString& examDbPath, short messageSwitch,
                  QString* reason)
{
    const QString part = computedPart(exam, table);
    if (part.isEmpty())
        return true;
    if (reason)
        *reason = QStringLiteral("has a table %1 unlike the program's layout (%2)").arg(table, part);
    debugLine(QStringLiteral("Non compatible database.! Computed values in ") + table + kModule + logDate()
              + QStringLiteral(" #") + examDbPath);
    if (messageSwitch == ShowEveryRefusal)
        refuse(table);
    gDiscovery.gInvalidExamsList += examDbPath + QLatin1Char(',');
    gDiscovery.gInvalidDbFlag = true;
    return false;
}

// Files that passed, as they were once checked and upgraded, and the
// reference they passed against: a pass holds for that file and that
// reference only. Enough for every exam of a large installation.
struct PassedChecks {
    QString reference;
    SoundFileStamps files{512};
};

PassedChecks& passedChecks()
{
    static PassedChecks passed;
    return passed;
}

// The reference's compared and written tables with their columns, in order.
QString referenceKey(const ReferenceSchema& reference)
{
    QString key;
    for (const auto* tables : {&reference.tables(), &reference.writtenTables()})
        for (const ReferenceSchema::Table& table : *tables)
            key += table.name + QLatin1Char('(') + table.columns.join(QLatin1Char(',')) + QStringLiteral(");");
    return key;
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

void forgetPassedExamFiles()
{
    passedChecks().files.clear();
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

        // Taken before the file is opened, so that the reads below are of
        // this very file as it was.
        const std::optional<FileStamp> before = fileStampOf(examDbPath);
        db::Connection exam = db::Connection::openFile(examDbPath);
        debugLine(QStringLiteral("database opened") + kModule + logDate() + atPath);

        if (!reference.openError().isEmpty())
            throw std::runtime_error(reference.openError().toStdString());

        // A file unchanged since it passed against this reference passes
        // without reading its tables again: every start would otherwise scan
        // the stored numbers of every exam.
        PassedChecks& passed = passedChecks();
        const QString key = referenceKey(reference);
        if (passed.reference != key) {
            passed.files.clear();
            passed.reference = key;
        }
        if (before && passed.files.knows(*before) && fileStampOf(examDbPath) == before) {
            debugLine(QStringLiteral("Compatible Exam Engine!: CompatibleDB:QmodPublic: Date/Time :") + logDate()
                      + examDbPath);
            if (openExam)
                *openExam = std::move(exam);
            if (refusalReason)
                refusalReason->clear();
            return true;
        }
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
            if (!tableIsPlain(exam, table.name, examDbPath, messageSwitch, refusalReason)
                || !tableMatches(table, columnsOnceUpgraded(table.name, exam.tableColumns(table.name)), examDbPath,
                                 messageSwitch, LogEachColumn, refusalReason))
                return false;
        }
        // The tables the program writes: one it would create is fine missing;
        // one that is there is held to the reference like the rest, since
        // every answer and objective status goes into it.
        for (const ReferenceSchema::Table& table : reference.writtenTables()) {
            if (!table.error.isEmpty())
                throw std::runtime_error(table.error.toStdString());
            if (!exam.hasTable(table.name))
                continue;
            if (!tableIsPlain(exam, table.name, examDbPath, messageSwitch, refusalReason)
                || !tableMatches(table, exam.tableColumns(table.name), examDbPath, messageSwitch, LogEachColumn,
                                 refusalReason))
                return false;
        }

        // Also before anything is written: a number the program cannot
        // hold as stored refuses the file by name.
        if (const QString beyond = firstNumberBeyondRange(exam); !beyond.isEmpty()) {
            debugLine(QStringLiteral("Stored number beyond the program's range") + kModule + logDate() + atPath);
            if (messageSwitch == ShowEveryRefusal)
                ShowMessage(QStringLiteral("Non-compatible database. Cannot use: ") + examDbPath
                                + QStringLiteral("\r\nIt holds ") + beyond
                                + QStringLiteral(", beyond the numbers the program can use."),
                            gLogin.gAppName, OneButton);
            if (refusalReason)
                *refusalReason
                    = QStringLiteral("holds ") + beyond + QStringLiteral(", beyond the numbers the program can use");
            gDiscovery.gInvalidExamsList += examDbPath + QLatin1Char(',');
            gDiscovery.gInvalidDbFlag = true;
            return false;
        }

        // Only a file that did not change while it was read may be
        // remembered; the upgrades below are the program's own writes.
        const bool readUnchanged = before && fileStampOf(examDbPath) == before;
        // The column first: an upgrade that could not run (a file that
        // cannot be written, a damaged page) leaves the question table short
        // of the reference's column, and the file is refused before any
        // other upgrade has written to it.
        addField(exam, QLatin1String(schema::kModelAnswerTable), QLatin1String(schema::kModelAnswerColumn));
        for (const ReferenceSchema::Table& table : reference.tables())
            if (table.name == QLatin1String(schema::kModelAnswerTable)
                && !tableMatches(table, exam.tableColumns(table.name), examDbPath, messageSwitch, Quietly,
                                 refusalReason))
                return false;
        addTable(exam);
        if (exam.hasTable(QStringLiteral("Qe_Progress")))
            runUpgrade(exam, schema::createProgressRightIndexSql(), "addIndex");
        runUpgrade(exam, schema::createCategoryPoolIndexSql(), "addIndex");
        runUpgrade(exam, schema::createPracticePlaceIndexSql(), "addIndex");
        debugLine(QStringLiteral("database QQ_Correctanswer added") + kModule + logDate() + atPath);

        debugLine(QStringLiteral("Compatible Exam Engine!: CompatibleDB:QmodPublic: Date/Time :") + logDate()
                  + examDbPath);
        if (const std::optional<FileStamp> after = fileStampOf(examDbPath);
            readUnchanged && after && after->sameFile(*before) && after->settled())
            passed.files.remember(*after);
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
