#include "bench/window/WindowBenchSupport.h"

#include "exam/QuestionPage.h"
#include "foundation/ExamBank.h"
#include "foundation/ExamParameters.h"
#include "platform/browser/BrowserView.h"
#include "platform/db/Connection.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

namespace windowbench {

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double barePageLoadMs(BrowserView& bare, const ExamParameters& record, int questCode, const QString& programFolder)
{
    db::Connection exam = db::Connection::open(record.gQuizConnStr);
    ExamBank bank(exam);
    PageInputs inputs;
    inputs.questCode = questCode;
    inputs.head = bank.questionHead(questCode).value_or(ExamBank::QuestionHead{});
    inputs.fontName = record.gQuizFontName;
    inputs.fontSize = record.gQuizFontSize;
    inputs.examDbPath = record.gQuizExamDbPath;
    inputs.programFolder = programFolder;
    const BuiltPage page = buildQuestionPage(bank, inputs);
    QElapsedTimer timer;
    timer.start();
    if (page.treePage) {
        writeTreePages(programFolder, page);
        bare.navigate(QDir(programFolder).filePath(QStringLiteral("main.html")));
    } else {
        bare.writeHtml(page.html,
                       QUrl::fromLocalFile(QFileInfo(record.gQuizExamDbPath).absolutePath() + QLatin1Char('/')));
    }
    bare.waitForLoad();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace windowbench
