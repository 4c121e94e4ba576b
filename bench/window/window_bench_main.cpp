#include "bench/BenchRegistry.h"
#include "bench/window/StartGrowthBench.h"
#include "bench/window/WindowBenchSupport.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/ConnectionString.h"
#include "foundation/ExamBank.h"
#include "foundation/ProgramFolder.h"
#include "foundation/SharedState.h"
#include "platform/browser/BrowserEngine.h"
#include "platform/browser/BrowserView.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamLaunchRecord.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

// The exam window in a real browser view, offscreen: Next to the page
// loaded, beside a bare write of the same pages, and the memory the program
// holds as it goes through the questions.
namespace {

using windowbench::median;
using windowbench::settle;

// Resident memory of this process and of the browser engine's processes it
// started, in kilobytes; with a breakdown per process when asked.
long residentKb(QString* breakdown = nullptr)
{
    auto rssOf = [](const QString& pid) {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            return 0L;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
        return 0L;
    };
    auto parentOf = [](const QString& pid) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return QString();
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 1 ? QString::fromLatin1(fields[1]) : QString();
    };
    QStringList ours{QString::number(QCoreApplication::applicationPid())};
    long total = 0;
    for (int round = 0; round < 3; ++round)
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs))
            if (!ours.contains(pid) && ours.contains(parentOf(pid)))
                ours << pid;
    for (const QString& pid : ours) {
        const long kb = rssOf(pid);
        total += kb;
        if (breakdown) {
            QFile cmd(QStringLiteral("/proc/%1/cmdline").arg(pid));
            QByteArray line = cmd.open(QIODevice::ReadOnly) ? cmd.readAll() : QByteArray();
            const int type = line.indexOf("--type=");
            const QByteArray kind = type < 0 ? QByteArray("main") : line.mid(type + 7, line.indexOf('\0', type) - type - 7);
            *breakdown += QStringLiteral(" %1 %2 MB").arg(QString::fromLatin1(kind)).arg(kb / 1024);
        }
    }
    return total;
}

// Next to the page loaded, and the memory over 200 questions.
int nextBench()
{
    QTemporaryDir home;
    writeSampleInstallation(home.path());
    setProgramFolder(home.path());
    const QString examPath =
        QDir(home.path())
            .filePath(
                QStringLiteral("Data/%1/%2").arg(QLatin1String(sample::kExamFolder), QLatin1String(sample::kExamFile)));
    {
        db::Connection exam = db::Connection::open(connectionString(examPath, QString::fromLatin1(kDatabasePassword)));
        ExamBank bank(exam);
        bank.selectAllCategories();
        bank.selectAllChapters();
    }
    ExamParameters record = testLaunchRecord({QStringLiteral("PRACTICE"), 50, examPath}, QStringLiteral("Ziduver"));
    record.gQuizAppPath = home.path();
    frmZiduver::launch(record);
    frmZiduver* window = frmZiduver::running();
    if (!window) {
        std::printf("the exam window did not start\n");
        return 1;
    }
    window->www1->waitForLoad();
    settle(300);

    std::printf("== exam window: Next to the page loaded, practice over the sample's question types\n");
    std::vector<double> nextTimes;
    std::vector<int> codes{window->session.msflex.questionCode(1)};
    const long startKb = residentKb();
    long after50 = 0;
    for (int shown = 2; shown <= 200; ++shown) {
        QElapsedTimer timer;
        timer.start();
        window->cmdNext->click();
        window->www1->waitForLoad();
        if (shown <= 50) {
            nextTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
            codes.push_back(window->session.gQuestCode);
        }
        if (shown == 50) {
            settle(200);
            after50 = residentKb();
        }
        if (!frmZiduver::running())
            break;
        // BENCH_TRACE=1 prints the memory every 25 questions, to see how it grows.
        if (qEnvironmentVariableIsSet("BENCH_TRACE") && shown % 25 == 0)
        {
            QString breakdown;
            const long kb = residentKb(&breakdown);
            std::printf("  %d shown: %ld MB in all:%s\n", shown, kb / 1024, qPrintable(breakdown));
        }
    }
    settle(200);
    const long after200 = residentKb();

    // The floor: the same pages written into a bare view.
    BrowserView bare;
    bare.resize(window->www1->size());
    bare.show();
    std::vector<double> bareTimes;
    for (int code : codes)
        bareTimes.push_back(windowbench::barePageLoadMs(bare, record, code, home.path()));
    bench::report("Next to page loaded, median of 49 (vs bare write of the page)", median(nextTimes), median(bareTimes),
                  2.0);
    const double growth = after50 > 0 ? 100.0 * double(after200 - after50) / double(after50) : 0;
    std::printf("resident memory: start %ld MB, after 50 questions %ld MB, after 200 %ld MB: grew %.1f %% "
                "(target < 10 %%) %s\n",
                startKb / 1024, after50 / 1024, after200 / 1024, growth, growth < 10 ? "ok" : "OVER");
    if (frmZiduver* running = frmZiduver::running())
        running->unload();
    settle(200);
    return 0;
}

} // namespace

// Runs every window bench, or those whose name holds the first argument
// ("next", "start").
int main(int argc, char** argv)
{
    prepareBrowserEngine();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    int failed = 0;
    if (QStringLiteral("next").contains(only))
        failed |= nextBench();
    if (QStringLiteral("start").contains(only))
        failed |= startGrowthBench();
    return failed;
}
