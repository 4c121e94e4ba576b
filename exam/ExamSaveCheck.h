#pragma once

#include "foundation/FileStamp.h"

#include <QString>
#include <optional>

namespace db {
class Connection;
}

// The launch's check that End Exam will be able to save the exam: the file
// is not damaged (PRAGMA quick_check), the exam
// database holds every table and column that End Exam writes (progress and
// learning-objective status) and its file and folder can be written. ""
// when it can; otherwise the message that refuses the start, naming the
// file and the reason. Changes nothing in the database.
//
// A file is checked whole once per change of it: a file found sound is
// remembered by device, inode, size, modification and change time together,
// which no other program can set back, and is not read again while it stays
// so. A file not remembered is checked whole, the tables an exam writes
// first.
QString examSaveRefusal(db::Connection& exam);

// The program's own write to the file the last check let through (the
// practice selection at Start, the progress at the end of the exam): made
// before the write and told when it has been committed. When the file was
// still as the check left it, the file as the write leaves it is remembered
// as sound too, since the program writes through SQLite's transactions;
// otherwise it is checked whole at the next call. The write must leave the
// questions as they are (the question codes read for the draws are kept).
class OwnExamWrite {
public:
    explicit OwnExamWrite(const db::Connection& exam);
    void done();

private:
    QString m_path;
    std::optional<FileStamp> m_before; // the file as the check left it
};

// Forgets every remembered file (tests).
void forgetSoundExamFiles();
