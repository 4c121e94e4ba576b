#pragma once

#include <QString>
#include <exception>
#include <optional>

class QuestionList;
struct UserAccount;
namespace db {
class Connection;
}

// What End Exam's progress write did.
struct ProgressWriteResult {
    bool saved = true;          // false: nothing was written (the error was logged)
    QString error;              // the database's error text when not saved
    std::exception_ptr failure; // what stopped the write, when not saved
    bool passClosed = false;    // the pass in progress was closed
    bool passKeptOpen = false;  // the pass was due to close, but its number would pass the highest one
    int rowsWritten = 0;        // progress rows added or changed
    int percent = 0;            // the user's pass-0 rows right, in percent of the bank, before any close
};

// Records the user's progress for rows 1 to questionsReached of the list,
// updates the learning-objective status and closes the pass when enough of
// the bank is answered right: all in one write for the user (UserWrite) on
// the exam database, so an error, a kill or an account removed meanwhile
// (failure AccountRemoved) leaves it as it was. Only checked questions (no-answer
// column "0") are recorded. An error is logged here whatever the debug flag;
// telling the user is the caller's part. Inside a transaction of the caller
// the write runs as a savepoint of it.
// The number of questions of the bank is read once per exam run, with its
// question set: when bankQuestions is given, a number it holds is used, and
// one read here (a run without a set, answers kept from an earlier run) is
// left there.
ProgressWriteResult UpdateProgress(db::Connection& exam, const QuestionList& msflex, int questionsReached,
                                   const UserAccount& account, std::optional<int>* bankQuestions = nullptr);
