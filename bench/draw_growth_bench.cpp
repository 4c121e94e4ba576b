// Growth lines of the random draws: a simulated exam and a pretest built
// from generated banks of 1,000 to 300,000 questions. A draw fetches only the
// rows it visits; each category's codes are read from an index once per
// change of the file and kept, so a draw's cost follows the questions drawn,
// not the bank. The first draw on a file, which reads the codes, is shown
// beside.
#include "bench/BenchRegistry.h"

#include "exam/CategoryMap.h"
#include "exam/ClockRandomSource.h"
#include "exam/QuestionList.h"
#include "exam/QuestionSetBuilder.h"
#include "foundation/ExamBank.h"
#include "foundation/Schema.h"
#include "platform/db/Connection.h"
#include "tools/mkdata/ExamGenerator.h"

#include <QTemporaryDir>
#include <cstdio>

ZIDUVER_BENCH("growth: simulated and pretest draws, 1,000 to 300,000 questions")
{
    constexpr double kGrowthTarget = 1.3;
    double smallest[2] = {0, 0};
    for (const int questions : {1000, 20000, 100000, 300000}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("exam.qzr"));
        {
            db::Connection exam = db::Connection::create(path);
            schema::createExamDatabase(exam);
            generateExam(exam, questions, 1);
        }
        db::Connection exam = db::Connection::openFile(path);
        int i = 0;
        for (const ExamMode mode : {ExamMode::Simulated, ExamMode::Test}) {
            const db::ResultSet categories = QuestionSetBuilder::categoryRows(exam, mode);
            ClockRandomSource random;
            QuestionSetBuilder builder(exam, random);
            QuestionSetResult result;
            ExamBank::forgetPoolCodes();
            const double first = bench::bestOf(1, [&] {
                QuestionList msflex;
                CategoryMap cboCategory;
                result = builder.build(mode, categories, 1, 0, msflex, cboCategory);
            });
            const double ours = bench::bestOf(5, [&] {
                QuestionList msflex;
                CategoryMap cboCategory;
                result = builder.build(mode, categories, 1, 0, msflex, cboCategory);
            });
            if (!result.ok)
                std::printf("  the draw failed: %s\n", qPrintable(result.message));
            double& smallestDraw = smallest[i++];
            if (smallestDraw == 0)
                smallestDraw = ours;
            std::printf("%-58s %9.2f ms  ratio to 1,000 questions %5.2fx  (target <= %.1fx) %s  first %.2f ms\n",
                        qPrintable(QStringLiteral("%1 draw, %2 questions (%3 drawn)")
                                       .arg(mode == ExamMode::Simulated ? QStringLiteral("simulated")
                                                                        : QStringLiteral("pretest"))
                                       .arg(questions)
                                       .arg(result.drawn)),
                        ours, ours / smallestDraw, kGrowthTarget, ours / smallestDraw <= kGrowthTarget ? "ok" : "OVER",
                        first);
        }
    }
}
