#pragma once

#include <QString>
#include <QVariant>

namespace db {
class Connection;
}

// How a rebuild of the history summary ended.
struct HistoryRebuildResult {
    bool ok = false;
    int rowsAdded = 0;
    QString error; // why it failed; the summary then holds what it held before
};

// Brings the user's history summary up to date from the per-question
// history: one summary row per appearance, category and chapter, for every
// appearance newer than the newest one summarised (every appearance when the
// newest summarised one is below 1 or there is none). Runs in one
// transaction on the caller's connection (a savepoint inside a caller's
// transaction): a failure adds no row at all, and is logged.
HistoryRebuildResult RebuildHistorySummary(db::Connection& ExamConn, int userCode);

// A stored exam date or time as ISO text ("YYYY-MM-DD", "HH:MM:SS"): ISO
// text stays, a month/day/year date and a 12- or 24-hour time are turned
// into it, a date and time together give their date or time part. NULL
// stays NULL; any other text is an error (std::invalid_argument).
QVariant isoDateText(const QVariant& stored);
QVariant isoTimeText(const QVariant& stored);
