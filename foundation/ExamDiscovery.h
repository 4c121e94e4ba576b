#pragma once

#include <QString>

namespace db {
class Connection;
}

// State of the last rebuild of the attached exams, reset by ReadRegCurrentDB
// before it attaches anything. The three lists serve the debug log only.
struct DiscoveryState {
    bool gInvalidDbFlag = false;     // the last database is not a usable exam database
    bool gDuplicateExamFlag = false; // the last database's exam code was attached already
    QString gAllExamsList;           // every file name tried, each followed by ","
    QString gDuplicateExamsList;     // "code:name," per duplicate
    QString gInvalidExamsList;       // "path," per database whose layout differs from the reference
};
inline DiscoveryState gDiscovery;

enum class DiscoveryResult {
    Rebuilt,        // the rebuild ran to its end, whatever was discarded
    Failed,         // an error stopped it (reported to the user already)
    NoExamAttached, // no database could be attached (reported); the program cannot go on
};

// Empties Bq_Exam of the system database and rebuilds it: first the exams
// attached before whose file is still there (wherever it lies, first
// attached first), then the first exam database (*.qzr, any case, name
// order) of each immediate sub-folder of Data, each checked against the
// reference, one row per exam code: a newcomer with a code attached before
// is the discarded duplicate. Tells the user, in one message, which
// databases were discarded and why.
DiscoveryResult ReadRegCurrentDB();

// Checks and attaches one exam database file. True when it was attached, and
// also when it was passed over without a failure (no Qe_Exam row, or not
// marked valid); false when it was refused (gInvalidDbFlag,
// gDuplicateExamFlag tell why) or failed.
bool AttachAllDB(const QString& examDbPath);

// The name of the first file of the folder matching *.qzr (any case, name
// order), or "" when there is none.
QString getExamName(const QString& folder);
