#pragma once

#include <QString>
#include <functional>
#include <vector>

class SystemDatabase;

// The purge of deleted users' data: every attached exam database loses the
// per-user rows (ExamUserTables) of users that Bq_User no longer holds.

struct PurgeFailure {
    QString examCode;
    QString path;
    QString error;  // why, in the program's words: "the file is in use by another program."
    QString advice; // what the administrator can do about it
};

struct PurgeReport {
    bool ran = false; // false when Bq_User is empty: nothing was done
    int exams = 0;    // Bq_Exam rows
    int skipped = 0;  // of them, those whose file is missing
    std::vector<PurgeFailure> failures;
};

// Purges every attached exam whose file exists, each in its own transaction;
// a failing exam is recorded and the others are still purged. With exams
// attached, `progress` gets 0 first, then after each exam (missing or not)
// the share done by count, ending at 100.
PurgeReport purgeDeletedUsers(SystemDatabase& system, const std::function<void(int percent)>& progress = {});

// The closing message: success only when no exam failed; otherwise the
// exams that failed and why, then what to do.
QString purgeMessage(const PurgeReport& report);
