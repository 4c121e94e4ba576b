#include "bench/BenchRegistry.h"
#include "foundation/ExamDiscovery.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/TempHome.h"

#include <QStringList>

// Start-up rebuild of the attached exams: 50 exam databases of 2,000
// questions each, checked against the reference and attached, beside merely
// opening and probing the same files.
ZIDUVER_BENCH("discovery: ReadRegCurrentDB over 50 exams")
{
    TempHome home;
    ExamDbFixture fixture(home);
    QStringList paths;
    for (int i = 1; i <= 50; ++i) {
        ExamDbOptions options;
        options.examCode = QStringLiteral("EX%1").arg(i);
        options.examName = QStringLiteral("Exam %1").arg(i);
        options.questionCount = 2000;
        paths << fixture.createDataExam(QStringLiteral("exam%1").arg(i, 2, 10, QLatin1Char('0')),
                                        QStringLiteral("exam.qzr"), options);
    }

    const double floor = bench::bestOf(5, [&] {
        for (const QString& path : paths)
            db::Connection::openFile(path);
    });
    bool rebuilt = true;
    const double ours = bench::bestOf(5, [&] { rebuilt = ReadRegCurrentDB() == DiscoveryResult::Rebuilt && rebuilt; });
    if (!rebuilt || fixture.attachedExams().size() != 50)
        std::printf("discovery did not attach all 50 exams\n");
    bench::report("discovery of 50 exams (vs open+probe of the 50 files)", ours, floor, 5.0);
}
