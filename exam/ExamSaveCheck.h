#pragma once

#include <QString>

namespace db {
class Connection;
}

// The launch's check that End Exam will be able to save the exam: the file
// is not damaged (PRAGMA quick_check), the exam
// database holds every table and column that End Exam writes (progress and
// learning-objective status) and its file and folder can be written. ""
// when it can; otherwise the message that refuses the start, naming the
// file and the reason. Changes nothing in the database.
QString examSaveRefusal(db::Connection& exam);
