#include "bench/window/StartGrowthBench.h"
#include "bench/window/WindowBenchSupport.h"

#include "exam/QuestionList.h"
#include "exam/links/ReturnToMainWindowLink.h"
#include "exam/windows/frmZiduver.h"
#include "foundation/ConnectionString.h"
#include "foundation/ProgramFolder.h"
#include "foundation/Schema.h"
#include "foundation/SharedState.h"
#include "foundation/UiHooks.h"
#include "mainwindow/MainWindowShared.h"
#include "mainwindow/links/ExamWindowLink.h"
#include "mainwindow/windows/WidgetCategoryTreeView.h"
#include "mainwindow/windows/WidgetPicture.h"
#include "mainwindow/windows/frmmain.h"
#include "platform/browser/BrowserView.h"
#include "platform/db/Connection.h"
#include "tests/support/SystemAccounts.h"
#include "tests/support/TempSettings.h"
#include "tools/mkdata/ExamGenerator.h"
#include "tools/mkdata/SampleInstallation.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

// Each Start is timed from the click on Start to the first question's page
// loaded in the shown exam window; the exam is then left and the main
// window is back. The first Start on a bank also checks the whole file and
// reads the question codes; the line gives the best of the Starts after it,
// and beside it the first Start after an exam that wrote its progress, what
// a user waits for from the second exam of a session on.
namespace {

using windowbench::settle;

constexpr int kSizes[] = {100, 1000, 20000, 100000, 300000};
constexpr int kStartsAgain = 5;
constexpr int kPracticeQuestions = 50;

// Message boxes print their text and close: nobody answers a bench.
class PrintingUiHooks : public UiHooks {
public:
    int messageBox(const QString& text, const QString&, int style, QObject*) override
    {
        std::printf("  message: %s\n", qPrintable(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
        return style;
    }
    void htmlMessage(const QString&) override { std::printf("  an HTML message was shown\n"); }
    void setBusy(bool) override { }
    void processEvents() override { QApplication::processEvents(); }
};

struct Mode {
    const char* name;
    double target; // ratio to the 100-question Start
    WidgetPicture* (*picture)(frmmain& window);
};

const Mode kModes[] = {
    {"pretest", 1.3, [](frmmain& w) { return w.Image3[3]; }},
    {"simulated", 1.3, [](frmmain& w) { return w.Image2[1]; }},
    {"practice", 1.5, [](frmmain& w) { return w.Image3[1]; }},
};

void deleteDiscarded()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A click on the box of the tree's root, where the user ticks it.
void tickRoot(QTreeWidget* tree)
{
    QTreeWidgetItem* root = tree->topLevelItem(0);
    QStyleOptionViewItem option;
    option.initFrom(tree->viewport());
    option.rect = tree->visualItemRect(root);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = root->text(0);
    option.checkState = root->checkState(0);
    const QPoint at = tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, tree->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &event);
    }
}

// The mode chosen as the user chooses it; in practice every category ticked
// and the count chosen.
bool choose(frmmain& window, const Mode& mode)
{
    emit mode.picture(window)->clicked();
    if (mode.picture(window) != window.Image3[1])
        return true;
    tickRoot(window.tvwCategory);
    return window.mode.lstQues.selectNumber(kPracticeQuestions);
}

// One Start: its milliseconds, or -1 when no exam came up; the exam is left
// again afterwards, its first question answered right when `answer` (so the
// exam writes its progress into the file as it closes).
double startOnce(frmmain& window, int& firstQuestion, ExamParameters& record, bool answer = false)
{
    QElapsedTimer timer;
    timer.start();
    window.Image6_Click(0);
    frmZiduver* exam = frmZiduver::running();
    if (!exam || !exam->isVisible())
        return -1;
    exam->www1->waitForLoad();
    const double took = double(timer.nsecsElapsed()) / 1e6;
    firstQuestion = exam->session.gQuestCode;
    record = exam->session.launch;
    if (answer) {
        exam->session.msflex.setText(1, colCorrect, QStringLiteral("1"));
        exam->session.msflex.setText(1, colNoAnswer, QStringLiteral("0"));
    }
    exam->unload();
    settle(100);
    deleteDiscarded();
    if (!window.isVisible())
        window.showAgain();
    return took;
}

} // namespace

int startGrowthBench()
{
    std::printf("== growth: Start to exam window, 100 to 300,000 questions (best of %d Starts after the first)\n",
                kStartsAgain);
    TempSettings settings;
    QTemporaryDir home;
    writeSampleInstallation(home.path());
    setProgramFolder(home.path());
    const SystemAccounts accounts{2};
    PrintingUiHooks hooks;
    installUiHooks(&hooks);
    const auto unhook = qScopeGuard([] { installUiHooks(nullptr); });
    ExamWindowLink::wire(&frmZiduver::launch);
    ReturnToMainWindowLink::wire([] { frmmain::instance().showAgain(); });
    frmmain::setProgramEnd([] {});

    double smallest[std::size(kModes)] = {};
    BrowserView bare;
    bare.resize(800, 500);
    bare.show();
    // START_BENCH_ONLY=pretest,300000 (say) limits the modes and sizes, for
    // a profile.
    const QString only = qEnvironmentVariable("START_BENCH_ONLY");
    const int startsAgain = qEnvironmentVariableIntValue("START_BENCH_RUNS") > 0
        ? qEnvironmentVariableIntValue("START_BENCH_RUNS")
        : kStartsAgain;
    for (const int questions : kSizes) {
        if (!only.isEmpty() && !only.contains(QString::number(questions)) && questions != 100)
            continue;
        const QString path = QDir(home.path()).filePath(QStringLiteral("Data/Bench%1/bench.qzr").arg(questions));
        QDir().mkpath(QFileInfo(path).absolutePath());
        {
            db::Connection exam = db::Connection::create(path);
            schema::createExamDatabase(exam);
            generateExam(exam, questions, 1);
        }
        resetMainWindowShared();
        gStartup.gMultiUser = true;
        gStartup.gSkinFile.clear();
        gStartup.gDbPassword = QString::fromLatin1(kDatabasePassword);
        gStartup.gSysConnStr = accounts.connectionString();
        gLogin.gAppName = gLogin.gAppTitle = QStringLiteral("Ziduver");
        gLogin.gIconPath = QStringLiteral("\\Icons");
        gLogin.gLoginId = QStringLiteral("student");
        gLogin.gUserCode = QStringLiteral("2");
        gLogin.gExamDesc = QStringLiteral("Bench exam of %1 questions").arg(questions);
        gLogin.gExamDbPath = path;
        gLogin.gExamConnStr = connectionString(path, gStartup.gDbPassword);
        frmmain& window = frmmain::instance();
        window.showForExam(gLogin.gExamDesc);
        settle(200);

        for (size_t m = 0; m < std::size(kModes); ++m) {
            const Mode& mode = kModes[m];
            if (!only.isEmpty() && !only.contains(QLatin1String(mode.name)))
                continue;
            if (!choose(window, mode)) {
                std::printf("  %s: the pool holds fewer than %d questions\n", mode.name, kPracticeQuestions);
                continue;
            }
            int firstQuestion = 0;
            ExamParameters record;
            const double first = startOnce(window, firstQuestion, record);
            double best = 1e300;
            for (int run = 0; run < startsAgain && first >= 0; ++run) {
                const double took = startOnce(window, firstQuestion, record);
                best = took >= 0 && took < best ? took : best;
            }
            // The Start a user makes after an exam that wrote its progress.
            startOnce(window, firstQuestion, record, true);
            const double afterExam = startOnce(window, firstQuestion, record);
            if (first < 0 || best > 1e299) {
                std::printf("  %s, %d questions: no exam came up\n", mode.name, questions);
                continue;
            }
            double floor = 1e300;
            for (int run = 0; run < 3; ++run)
                floor = std::min(floor, windowbench::barePageLoadMs(bare, record, firstQuestion, home.path()));
            if (smallest[m] == 0)
                smallest[m] = best;
            const double ratio = best / smallest[m];
            std::printf(
                "%-40s %9.2f ms  ratio to 100 questions %5.2fx (target <= %.1fx) %s  floor %6.2f ms ratio %5.2fx"
                "  (first Start %.2f ms, after an exam %.2f ms)\n",
                qPrintable(QStringLiteral("Start to exam window, %1, %2").arg(QLatin1String(mode.name)).arg(questions)),
                best, ratio, mode.target, ratio <= mode.target ? "ok" : "OVER", floor, best / floor, first, afterExam);
        }
        frmmain::unload();
        settle(50);
        deleteDiscarded();
    }
    ExamWindowLink::wire(nullptr);
    ReturnToMainWindowLink::wire(nullptr);
    frmmain::setProgramEnd(nullptr);
    return 0;
}
