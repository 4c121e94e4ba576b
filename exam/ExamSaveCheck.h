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
//
// The tables an exam writes are checked on every call; the whole file once
// per change of it: a file found sound is remembered by device, inode,
// size, modification and change time together, which no other program can
// set back, so a file changed in any way is checked whole again.
QString examSaveRefusal(db::Connection& exam);

// After the program's own write to a file the check found sound (the
// practice selection at Start): the file as it is now is remembered as
// sound, since the write touched only tables checked on every call.
void examFileWrittenByProgram(db::Connection& exam);

// Forgets every remembered file (tests).
void forgetSoundExamFiles();
