#pragma once

#include "foundation/SystemDatabase.h"

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <vector>

namespace db {
class Connection;
}

// Attaching exam databases from any folder to the system database, and
// detaching them.

// The check of a file browsed for attaching.
struct BrowsedExam {
    enum class Status {
        Refused,         // not compatible with the reference (messageShown tells whether it said so)
        NoExamRow,       // compatible, but Qe_Exam has no row: the details are incomplete
        AlreadyAttached, // its exam code is listed or attached already
        Invalid,         // its exam row is marked invalid
        Ready,
    };
    Status status = Status::Refused;
    bool messageShown = false; // the compatibility check showed its own message
    QString problem;           // Refused: the exam row could not be read, in the program's words
    QString code;              // Ready: as the exam row holds them (NULL "")
    QString description;
};

// Checks the file against the reference (upgrading it as the check does,
// its refusals shown with every message), then reads its exam row: the
// trimmed exam code must not be among listedCodes nor in Bq_Exam (any case),
// and the row must not be marked invalid. The file is never created.
BrowsedExam checkBrowsedExam(SystemDatabase& system, const QString& path, const QStringList& listedCodes);

// A user of the attach list and whether he is ticked.
struct AttachUser {
    int code = 0;
    bool granted = false;
};

enum class AttachResult {
    Attached,
    NoUserGranted, // nobody is ticked: nothing is written
    Failed,        // the error text says why, in the program's words; nothing is kept
};

// Writes the Bq_Exam row, then for every listed user who still exists,
// ticked or not, his right and his copy in the exam database (as
// Gen_UpdateRights writes them), all or nothing: one transaction on each
// file, the exam database's committed first. A code attached already is
// refused. `step` runs after each user (the window lets its events run
// there).
AttachResult AttachDatabase(db::Connection& system, const QString& path, const QString& examCode,
                            const QString& description, const std::vector<AttachUser>& users, QString& errorText,
                            const std::function<void()>& step = {});

// The exams whose file exists, in the order given.
std::vector<SystemDatabase::AttachedExam> withExistingFiles(std::vector<SystemDatabase::AttachedExam> exams);
// The list of attached exams: every Bq_Exam row whose file exists, by
// description.
std::vector<SystemDatabase::AttachedExam> attachedExamList(SystemDatabase& system);

// True when the code is the exam logged in (trimmed, any case): it cannot be
// detached.
bool isCurrentExam(const QString& examCode);
// Deletes the exam's Bq_Exam row and every right to it, in one transaction.
// The exam database is left as it is. Database errors reach the caller.
void detachExam(db::Connection& system, const QString& examCode);
// The message of a failed detach, in the program's words.
QString detachProblemText(const QString& systemDbPath, const std::exception& error);
