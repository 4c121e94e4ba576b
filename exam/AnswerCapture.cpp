#include "exam/AnswerCheck.h"

namespace {

// "~" with blanks (spaces) around it still empties the answer.
bool isEmptyReport(const QString& report)
{
    qsizetype begin = 0;
    qsizetype end = report.size();
    while (begin < end && report[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && report[end - 1] == QLatin1Char(' '))
        --end;
    return end - begin == 1 && report[begin] == QLatin1Char('~');
}

} // namespace

void applyPageReport(QString& pageAnswer, int questType, const QString& report)
{
    // "DONE" is what the browser itself shows when a page has loaded, so it
    // can never be an answer.
    if (report.isEmpty() || report.toUpper() == QLatin1String("DONE"))
        return;
    const bool empties = isEmptyReport(report);
    switch (questType) {
    case 1:
    case 3:
    case 4:
        pageAnswer = empties ? QString() : report;
        break;
    case 2:
        // An essay arrives in pieces.
        pageAnswer = empties ? QString() : pageAnswer + report;
        break;
    default:
        break;
    }
}
