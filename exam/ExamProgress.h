#pragma once

#include <QString>

class QuestionList;
namespace db {
class Connection;
}

// What End Exam's progress write did.
struct ProgressWriteResult {
    bool saved = true;   // false: nothing was written (the error was logged)
    QString error;       // the database's error text when not saved
    bool passClosed = false; // the pass in progress was closed
};

// Records the user's progress for rows 1 to questionsReached of the list,
// updates the learning-objective status and closes the pass when enough of
// the bank is answered right: all in one transaction on the exam database,
// so an error or a kill leaves it as it was.
ProgressWriteResult UpdateProgress(db::Connection& exam, const QuestionList& msflex, int questionsReached,
                                   int userCode);
