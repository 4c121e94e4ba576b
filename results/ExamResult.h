#pragma once

#include <QString>
#include <vector>

class ExamSession;

// What the result window reads of the running exam, taken once when it opens.
struct ResultSnapshot {
    struct Question {
        int questCode = 0;
        int category = 0;     // from the exam's category map (0 when unknown)
        bool correct = false; // its "correct" column reads 1
    };
    std::vector<Question> questions; // rows 1 to the last of the per-question list, in order
    QString examMode;                // the launch record's mode word
    QString examName;
    QString connectionString; // the exam database's (gQuizConnStr)
    int questionCount = 0;    // the questions drawn at the exam's start: the score's divisor
    int passScore = 0;        // percent
    int questionOnScreen = 1; // n of the counter "n of N"
    int questionsReached = 1; // the furthest question the user got to (QuestionsReached)

    bool isPretest() const { return examMode.toUpper() == QLatin1String("TEST"); }
};

ResultSnapshot resultSnapshot(const ExamSession& session);

// One row of the category table as the window lists it.
struct ResultCategory {
    int code = 0;
    QString name; // shown as written, "&" included
};

// The numbers of one category row.
struct CategoryScore {
    int asked = 0;
    int correct = 0;
    int barWidth = 0; // length of the correct-answers bar; 8000 is the full bar
    QString toolTip;
};

// The counts, tool tip and bar of one category. A pretest counts only the
// questions up to the furthest one reached (the one on screen, or a later one
// the user went back from), so one ended early is judged on what was reached
// and the tips agree with the score.
CategoryScore categoryScore(const ResultSnapshot& snapshot, int categoryCode);

// The whole window's numbers.
struct ExamResult {
    QString caption;                       // window caption
    int correctCount = 0;                  // right answers among rows 1 to the question count
    int score = 0;                         // percent, 0 to 100
    bool passed = false;                   // pass score <= score
    QString scoreText;                     // "78%"
    QString passScoreText;                 // "70%"
    int scoreBarWidth = 0;                 // 80 per percent
    int passMarkerLeft = 0;                // from the frame's left edge; the bar starts at 300
    std::vector<CategoryScore> categories; // one per category row, in order
};

// Bar lengths are in the window's length units, 15 to a pixel.
inline constexpr int kLengthUnitsPerPixel = 15;
inline constexpr int kFullBarLength = 8000; // 100 %
inline constexpr int kScoreBarPerPercent = 80;
inline constexpr int kScoreBarLeft = 300;

ExamResult computeExamResult(const ResultSnapshot& snapshot, const std::vector<ResultCategory>& categories,
                             const QString& appTitle);

// numerator / denominator rounded to the nearest whole number, a half going
// to the even neighbour; both non-negative, denominator above 0.
int roundedRatio(long long numerator, long long denominator);
