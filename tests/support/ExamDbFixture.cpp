#include "tests/support/ExamDbFixture.h"

#include "foundation/ConnectionString.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/ExamDiscovery.h"
#include "foundation/SharedState.h"
#include "platform/db/Transaction.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

std::pair<QString, QString> tableAndColumn(const QString& qualified)
{
    const int dot = qualified.indexOf(QLatin1Char('.'));
    return {qualified.left(dot), qualified.mid(dot + 1)};
}

db::Connection createFresh(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    return db::Connection::create(path);
}

} // namespace

ExamDbFixture::ExamDbFixture(const TempHome& home) : m_home(home)
{
    gStartup.gDbPassword = QLatin1String(kDatabasePassword);
    gStartup.gSysDbPath = systemDbPath();
    gStartup.gSysConnStr = connectionString(gStartup.gSysDbPath, gStartup.gDbPassword);
    gStartup.gDebug = 0;
    gDiscovery.gInvalidDbFlag = false;
    gDiscovery.gDuplicateExamFlag = false;
    gDiscovery.gAllExamsList.clear();
    gDiscovery.gDuplicateExamsList.clear();
    gDiscovery.gInvalidExamsList.clear();

    db::Connection system = createFresh(gStartup.gSysDbPath);
    schema::createSystemDatabase(system);
    rebuildReference({});
}

QString ExamDbFixture::systemDbPath() const
{
    return m_home.file(QStringLiteral("Ziduver.QZR"));
}

QString ExamDbFixture::referencePath() const
{
    return m_home.file(QStringLiteral("DataSkeleton.SKL"));
}

db::Connection ExamDbFixture::openSystem() const
{
    return db::Connection::openFile(systemDbPath());
}

void ExamDbFixture::rebuildReference(const ExamDbOptions& options) const
{
    db::Connection reference = createFresh(referencePath());
    schema::createExamDatabase(reference, options.layout);
    alter(reference, options);
}

QString ExamDbFixture::createExam(const QString& relativePath, const ExamDbOptions& options) const
{
    const QString path = m_home.file(relativePath);
    db::Connection exam = createFresh(path);
    schema::createExamDatabase(exam, options.layout);
    if (options.withExamRow) {
        ExamBankWriter::ExamRow row;
        row.code = options.examCode;
        row.description = options.examName;
        row.validDb = options.validDb.isNull() ? std::nullopt : std::optional<int>(options.validDb.toInt());
        row.simulatedMinutes = 90;
        row.simulatedPassScore = 70;
        row.simulatedQuestions = 50;
        ExamBankWriter(exam).addExam(row);
    }
    addQuestions(exam, options.questionCount);
    alter(exam, options);
    return path;
}

QString ExamDbFixture::createDataExam(const QString& folder, const QString& file, const ExamDbOptions& options) const
{
    return createExam(QStringLiteral("Data/") + folder + QLatin1Char('/') + file, options);
}

void ExamDbFixture::alter(db::Connection& connection, const ExamDbOptions& options)
{
    for (const QString& qualified : options.extraColumns) {
        const auto [table, column] = tableAndColumn(qualified);
        connection.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT").arg(table, column));
    }
    for (const auto& [qualified, newName] : options.renamedColumns) {
        const auto [table, column] = tableAndColumn(qualified);
        connection.exec(QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3").arg(table, column, newName));
    }
    for (const QString& qualified : options.droppedColumns) {
        const auto [table, column] = tableAndColumn(qualified);
        connection.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column));
    }
    for (const QString& table : options.droppedTables)
        connection.exec(QStringLiteral("DROP TABLE %1").arg(table));
}

void ExamDbFixture::addQuestions(db::Connection& connection, int count)
{
    if (count <= 0)
        return;
    db::Transaction transaction(connection);
    ExamBankWriter writer(connection);
    ExamBankWriter::QuestionRow row = ExamBankWriter::QuestionRow::multipleChoice(0);
    row.difficulty = 1;
    for (int code = 1; code <= count; ++code) {
        row.code = code;
        row.category = 1 + code % 5;
        row.chapter = code % 3;
        row.text = QStringLiteral("Question %1: which of the following statements about topic %2 is true?")
                       .arg(code)
                       .arg(code % 37);
        row.explanation = QStringLiteral("Because the reference text says so, see section %1.").arg(code % 11);
        writer.addQuestion(row);
    }
    transaction.commit();
}

QStringList ExamDbFixture::attachedExams() const
{
    db::Connection system = openSystem();
    QStringList rows;
    for (const db::Row& row :
         system.query(QStringLiteral("SELECT Be_Exam_Code, be_path FROM Bq_Exam ORDER BY Be_Exam_Code")))
        rows << row.text(0) + QLatin1Char('|') + row.text(1);
    return rows;
}
