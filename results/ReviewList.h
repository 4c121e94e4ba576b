#pragma once

#include <QString>
#include <functional>
#include <vector>

class QuestionList;

// The review list's rows: the questions the user has reached, with their
// status, category, type and mark.

enum class ReviewStatus {
    Correct,     // "A": the "correct" column is 1
    Wrong,       // "W": not correct, and the "unanswered" column says answered
    NotAnswered, // "N": left unanswered, or never checked
};

// "A", "W" or "N".
QString reviewStatusLetter(ReviewStatus status);
// The status of row i of the per-question list.
ReviewStatus reviewStatusOf(const QuestionList& list, int row);
// "Multiple", "Essay", "Fill-in-the Blank(s)", "Interactive"; "" for any other type.
QString reviewTypeName(int typeCode);

struct ReviewFilters {
    bool markedOnly = false; // "Marked Questions Only"
    bool wrongOnly = false;  // "Wrong Answers  Only"
};

struct ReviewRow {
    int number = 0; // the question's number in the exam (its list row)
    ReviewStatus status = ReviewStatus::NotAnswered;
    QString category; // the category's description; "" without one
    QString typeName;
    bool marked = false;
};

// The rows for rows 1 to questionsReached of the list (never beyond its
// last row), with both filters applied together. categoryText gives the
// category description of a question code; it is asked once per row listed,
// in order, and an error it raises reaches the caller.
std::vector<ReviewRow> reviewRows(const QuestionList& list, int questionsReached, const ReviewFilters& filters,
                                  const std::function<QString(int questCode)>& categoryText);

// The answer status of the questions reached.
struct ReviewCounts {
    int correct = 0;
    int wrong = 0;
    int notAnswered = 0;
};
ReviewCounts reviewCounts(const QuestionList& list, int questionsReached);
