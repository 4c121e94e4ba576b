#pragma once

#include "foundation/Schema.h"
#include "platform/db/Connection.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>
#include <vector>

class TempHome;

// How one exam database of a test differs from a plain current one. Table
// and column changes are "Table.Column" texts.
struct ExamDbOptions {
    QString examCode = QStringLiteral("EX1");
    QString examName = QStringLiteral("Exam One");
    bool withExamRow = true;
    QVariant validDb = 1; // Qe_ValidDB of the exam row
    schema::ExamLayout layout = schema::ExamLayout::Current;
    QStringList extraColumns;                                // added as TEXT
    std::vector<std::pair<QString, QString>> renamedColumns; // {"Table.Column", "NewName"}
    QStringList droppedColumns;
    QStringList droppedTables;
    int questionCount = 0; // simple rows in Qe_QuestionsHead
};

// An installation in a temporary program folder, built from the one table
// layout: the system database Ziduver.QZR and the reference DataSkeleton.SKL,
// with the shared state pointed at them and the discovery state cleared.
// Exam databases are made per case.
class ExamDbFixture {
public:
    explicit ExamDbFixture(const TempHome& home);

    QString systemDbPath() const;
    QString referencePath() const;
    db::Connection openSystem() const;

    // An exam database at a path below the program folder (folders are
    // made); returns its full path.
    QString createExam(const QString& relativePath, const ExamDbOptions& options = {}) const;
    // The same below Data/<folder>/.
    QString createDataExam(const QString& folder, const QString& file, const ExamDbOptions& options = {}) const;
    // Rewrites the reference with the given differences (its exam row is never written).
    void rebuildReference(const ExamDbOptions& options) const;

    // "code|path" per row of Bq_Exam, by code.
    QStringList attachedExams() const;

    // Applies the table and column changes of the options to an open database.
    static void alter(db::Connection& connection, const ExamDbOptions& options);
    static void addQuestions(db::Connection& connection, int count);

private:
    const TempHome& m_home;
};
