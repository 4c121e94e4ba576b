#pragma once

#include "results/ProgressHistory.h"

#include <QPoint>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace db {
class Connection;
}

// The numbers of the historical analysis window: the user's progress per
// pass through the bank and, for one pass, per category. Lengths are in the
// window's length units (15 to a pixel, as in ExamResult.h).

// The full pass bar stands for every question of the bank.
inline constexpr int kPassBarLength = 7000;
// A category's full bar stands for every question of that category.
inline constexpr int kCategoryBarLength = 6000;
// The pass shown per category: the pass in progress (the main window never
// chooses another).
inline constexpr int kAnalysisPass = 0;

// One of the three pass rows. A row no pass was drawn on keeps empty tags
// and zero lengths.
struct PassRow {
    bool filled = false;
    int correct = 0;
    int wrong = 0;
    int unanswered = 0; // the bank minus correct minus wrong: never asked counts too
    double correctLength = 0;
    double wrongLength = 0; // the wrong bar starts where the correct bar ends
    QString correctTag, wrongTag, fullTag;
};

struct PassSummary {
    int totalQuestions = 0;
    std::array<PassRow, 3> rows; // "Pass 1" to "Pass 3"
};

// Places the passes on the rows: completed passes 1 to 3 on their own rows,
// the pass in progress (0) on the row after the user's highest pass when
// that is below 3. `passes` is by pass number. Counts are kept within the
// bank, so bars never pass their full length.
PassSummary computePassSummary(int totalQuestions, const std::vector<ProgressHistory::PassTotals>& passes);

// What the details box shows for a pass row (1 to 3): the heading and the
// values beside "Number Correct:" ... "Percent Unanswered:". nullopt for any
// other pass. Percentages are rounded half to even; an empty bank shows 0%.
struct PassDetails {
    QString heading;
    std::array<QString, 7> values;
};
std::optional<PassDetails> passDetails(const PassSummary& summary, int pass);

// The part of a pass row that was clicked.
enum class PassSegment { Correct, Wrong, Full };
// Where a click puts the details box, in the coordinates of the frame that
// holds the pass frame and the box: under the row, 100 right of the clicked
// bar's left edge, or 5000 right of the pass frame's left edge for the full
// bar of row 1. All values in length units; the result rounded half to even.
struct PassBarPlace {
    double frameLeft = 0, frameTop = 0; // the pass frame in its container
    double barTop = 0, barHeight = 0;   // the row's full bar in the pass frame
    double clickedLeft = 0;             // the clicked bar's left edge in the pass frame
};
QPoint passDetailsPosition(int pass, PassSegment segment, const PassBarPlace& place);

// One category row for one pass.
struct CategoryProgress {
    int code = 0;
    QString name;      // as stored: "&" is shown as itself
    int questions = 0; // of the category in the bank
    int correct = 0;
    int wrong = 0;
    int correctLength = 0;
    int wrongLength = 0; // starts where the correct bar ends
    QString tag;         // the bars' tag: " <correct>, <wrong>"

    int asked() const { return correct + wrong; }
};
// Bar lengths rounded half to even; a category without questions has empty
// bars, and counts are kept within the category.
CategoryProgress computeCategoryProgress(int code, const QString& name, int questions, int correct, int wrong);

// The details box's top beside the bar clicked: the box level with the bar
// (centred on it), kept inside the rows' area of `areaHeight`; any length
// unit.
int categoryDetailsTop(int barTop, int barHeight, int boxHeight, int areaHeight);

// ---- reading the exam database (database errors reach the caller) ----
// The bank's size and the user's passes.
PassSummary readPassSummary(db::Connection& exam, int userCode);
// Every category row in the table's order with the user's answers of `pass`.
std::vector<CategoryProgress> readCategoryProgress(db::Connection& exam, int userCode, int pass);

// The user code of the login as a number; throws std::runtime_error when it
// is not one.
int loggedInUserCode();
