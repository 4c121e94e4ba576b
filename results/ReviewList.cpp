#include "results/ReviewList.h"

#include "exam/QuestionList.h"

#include <algorithm>

namespace {

// Rows 1 to this: the questions reached, never beyond the list.
int lastReachedRow(const QuestionList& list, int questionsReached)
{
    return std::min(questionsReached, list.questionCount());
}

} // namespace

QString reviewStatusLetter(ReviewStatus status)
{
    switch (status) {
    case ReviewStatus::Correct:
        return QStringLiteral("A");
    case ReviewStatus::Wrong:
        return QStringLiteral("W");
    case ReviewStatus::NotAnswered:
        break;
    }
    return QStringLiteral("N");
}

ReviewStatus reviewStatusOf(const QuestionList& list, int row)
{
    if (list.number(row, colCorrect) == 1)
        return ReviewStatus::Correct;
    // Wrong only once the check has recorded an answer: a row never checked
    // (its column still empty) was not answered wrongly.
    if (!list.text(row, colNoAnswer).trimmed().isEmpty() && list.number(row, colNoAnswer) == 0)
        return ReviewStatus::Wrong;
    return ReviewStatus::NotAnswered;
}

QString reviewTypeName(int typeCode)
{
    switch (typeCode) {
    case 1:
        return QStringLiteral("Multiple");
    case 2:
        return QStringLiteral("Essay");
    case 3:
        return QStringLiteral("Fill-in-the Blank(s)");
    case 4:
        return QStringLiteral("Interactive");
    default:
        return QString();
    }
}

std::vector<ReviewRow> reviewRows(const QuestionList& list, int questionsReached, const ReviewFilters& filters,
                                  const std::function<QString(int questCode)>& categoryText)
{
    std::vector<ReviewRow> rows;
    const int last = lastReachedRow(list, questionsReached);
    for (int i = 1; i <= last; ++i) {
        const bool marked = list.number(i, colMarked) == 1;
        const ReviewStatus status = reviewStatusOf(list, i);
        if (filters.markedOnly && list.number(i, colMarked) == 0)
            continue;
        if (filters.wrongOnly && status != ReviewStatus::Wrong)
            continue;
        ReviewRow row;
        row.number = i;
        row.status = status;
        row.category = categoryText ? categoryText(list.questionCode(i)) : QString();
        row.typeName = reviewTypeName(list.number(i, colTypeCode));
        row.marked = marked;
        rows.push_back(row);
    }
    return rows;
}

ReviewCounts reviewCounts(const QuestionList& list, int questionsReached)
{
    ReviewCounts counts;
    const int last = lastReachedRow(list, questionsReached);
    for (int i = 1; i <= last; ++i) {
        switch (reviewStatusOf(list, i)) {
        case ReviewStatus::Correct:
            ++counts.correct;
            break;
        case ReviewStatus::Wrong:
            ++counts.wrong;
            break;
        case ReviewStatus::NotAnswered:
            ++counts.notAnswered;
            break;
        }
    }
    return counts;
}
