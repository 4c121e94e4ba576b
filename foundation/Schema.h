#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Connection;
}

// The one source of the table layouts: the system database, exam databases
// and the reference database DataSkeleton.SKL are all created from here, so
// their column names agree letter for letter (the compatibility check
// compares them case-sensitively).
namespace schema {

enum class ExamLayout {
    Current, // what the program writes and the reference holds
    Legacy,  // before the learning-objective table and the model answer column
};

void createSystemDatabase(db::Connection& connection);
void createExamDatabase(db::Connection& connection, ExamLayout layout = ExamLayout::Current);

// The tables of the system database, in creation order.
QStringList systemTables();
// The tables of an exam database of the given layout, in creation order.
QStringList examTables(ExamLayout layout = ExamLayout::Current);
// The tables that every exam database must match the reference in, in the
// order they are compared.
QStringList comparedTables();
// The tables the program writes that an exam database may lack (they are
// created when missing); when there, they must match the reference too.
QStringList writtenTables();

// Upgrades that older exam databases lack.
QString createLearningObjectiveTableSql();
// The index of the progress rows by user, pass and verdict; an existing one
// is left alone.
QString createProgressRightIndexSql();
// The index of the questions by category and code; an existing one is left
// alone.
QString createCategoryPoolIndexSql();
// The practice set's place index, added the same way.
QString createPracticePlaceIndexSql();
extern const char* const kModelAnswerTable;  // Qe_QuestionsHead
extern const char* const kModelAnswerColumn; // QQ_CorrectAnswer
extern const char* const kModelAnswerType;   // TEXT

} // namespace schema
