#include "results/HistoricalAnalysis.h"

#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"
#include "results/ExamResult.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <unordered_map>

namespace {

void debugLine(const char* text)
{
    if (gStartup.gDebug == 1)
        WriteLog(QLatin1String(text) + logDate());
}

// A percentage of the bank; an empty bank has none to show.
QString percentOf(int count, int total)
{
    const int percent = total > 0 ? roundedRatio(100LL * std::max(0, count), total) : 0;
    return QString::number(percent) + QLatin1Char('%');
}

void drawPass(PassRow& row, int totalQuestions, const ProgressHistory::PassTotals& pass)
{
    const int total = std::max(0, totalQuestions);
    row.filled = true;
    row.correct = std::clamp(pass.correct, 0, total);
    row.wrong = std::clamp(pass.wrong, 0, total - row.correct);
    row.unanswered = total - row.correct - row.wrong;
    row.correctLength = total > 0 ? double(row.correct) / total * kPassBarLength : 0;
    row.wrongLength = total > 0 ? double(row.wrong) / total * kPassBarLength : 0;
    row.correctTag = QString::number(row.correct);
    row.wrongTag = QString::number(row.wrong);
    row.fullTag = QString::number(row.unanswered);
}

} // namespace

PassSummary computePassSummary(int totalQuestions, const std::vector<ProgressHistory::PassTotals>& passes)
{
    PassSummary summary;
    summary.totalQuestions = std::max(0, totalQuestions);
    if (passes.empty())
        return summary;
    for (const ProgressHistory::PassTotals& pass : passes)
        if (pass.pass >= 1 && pass.pass <= 3)
            drawPass(summary.rows[size_t(pass.pass - 1)], summary.totalQuestions, pass);
    // The pass in progress follows the completed ones: with the highest pass
    // 0 it is "Pass 1", with 1 "Pass 2", with 2 "Pass 3"; after three
    // completed passes it has no row.
    if (passes.front().pass == 0) {
        const int highest = passes.back().pass;
        if (highest >= 0 && highest < 3)
            drawPass(summary.rows[size_t(highest)], summary.totalQuestions, passes.front());
    }
    return summary;
}

std::optional<PassDetails> passDetails(const PassSummary& summary, int pass)
{
    if (pass < 1 || pass > 3)
        return std::nullopt;
    const PassRow& row = summary.rows[size_t(pass - 1)];
    const int total = summary.totalQuestions;
    // An unfilled row has empty tags: its counts read 0.
    const int correct = row.correctTag.toInt();
    const int wrong = row.wrongTag.toInt();
    const int unanswered = total - wrong - correct;
    PassDetails details;
    details.heading = QStringLiteral(" Pass %1 Summary").arg(pass);
    details.values = {row.correctTag,
                      row.wrongTag,
                      QString::number(unanswered),
                      QString::number(total),
                      percentOf(correct, total),
                      percentOf(wrong, total),
                      percentOf(unanswered, total)};
    return details;
}

QPoint passDetailsPosition(int pass, PassSegment segment, const PassBarPlace& place)
{
    const double x =
        pass == 1 && segment == PassSegment::Full ? place.frameLeft + 5000 : place.clickedLeft + place.frameLeft + 100;
    const double y = place.frameTop + place.barTop + place.barHeight + 50;
    return QPoint(int(std::nearbyint(x)), int(std::nearbyint(y)));
}

CategoryProgress computeCategoryProgress(int code, const QString& name, int questions, int correct, int wrong)
{
    CategoryProgress row;
    row.code = code;
    row.name = name;
    row.questions = std::max(0, questions);
    row.correct = std::clamp(correct, 0, row.questions);
    row.wrong = std::clamp(wrong, 0, row.questions - row.correct);
    if (row.questions > 0) {
        row.correctLength = roundedRatio(1LL * row.correct * kCategoryBarLength, row.questions);
        row.wrongLength = roundedRatio(1LL * row.wrong * kCategoryBarLength, row.questions);
    }
    row.tag = QStringLiteral(" %1, %2").arg(row.correct).arg(row.wrong);
    return row;
}

int categoryDetailsTop(int barTop, int barHeight, int boxHeight, int areaHeight)
{
    const int centred = barTop + barHeight / 2 - boxHeight / 2;
    return std::clamp(centred, 0, std::max(0, areaHeight - boxHeight));
}

PassSummary readPassSummary(db::Connection& exam, int userCode)
{
    const int totalQuestions = ExamBank(exam).questionCount();
    return computePassSummary(totalQuestions, ProgressHistory(exam).passTotals(userCode));
}

std::vector<CategoryProgress> readCategoryProgress(db::Connection& exam, int userCode, int pass)
{
    ExamBank bank(exam);
    const db::ResultSet categories = bank.categoryRows(false);
    std::vector<CategoryProgress> rows;
    if (categories.empty())
        return rows;
    // Both by category code, one entry per category row.
    const std::vector<int> questions = bank.questionCountsOfEveryCategory();
    std::unordered_map<int, ProgressHistory::CategoryAnswers> answers;
    for (const ProgressHistory::CategoryAnswers& a : ProgressHistory(exam).categoryAnswers(userCode, pass))
        answers[a.category] = a;
    rows.reserve(size_t(categories.recordCount()));
    for (int i = 0; i < categories.recordCount(); ++i) {
        const db::Row& category = categories[i];
        const int code = wholeNumber(category.value(QStringLiteral("Qc_catcode")));
        debugLine("Function to get the Bar width:getBarWidth:frmHistoricalAnalysis");
        debugLine("Begining of Function to get category:getCategory:frmHistoricalAnalysis");
        const int count = i < int(questions.size()) ? questions[size_t(i)] : 0;
        debugLine("End of Function to get category:getCategory:frmHistoricalAnalysis");
        const auto met = answers.find(code);
        const int correct = met == answers.end() ? 0 : met->second.correct;
        const int wrong = met == answers.end() ? 0 : met->second.wrong;
        rows.push_back(
            computeCategoryProgress(code, category.text(QStringLiteral("Qc_cat_desc")), count, correct, wrong));
        debugLine("End of Function to get the Bar width:getBarWidth:frmHistoricalAnalysis");
    }
    return rows;
}

int loggedInUserCode()
{
    bool numeric = false;
    const int userCode = gLogin.gUserCode.trimmed().toInt(&numeric);
    if (!numeric)
        throw std::runtime_error("The user code \"" + gLogin.gUserCode.toStdString() + "\" is not a number.");
    return userCode;
}
