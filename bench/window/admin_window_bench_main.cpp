#include "admin/windows/frmAdminPref.h"
#include "bench/BenchRegistry.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Transaction.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QTreeView>
#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

// The Admin Preferences window, offscreen, as the user list grows, every
// user with the right to the one attached exam (the attach panel shows
// whose it is): from the call to the window shown with both of its user
// lists filled, and to its user list drawn once the window's own queued work
// (the columns fitted to their texts) is done.
namespace {

// Stops the clock once the user list has been drawn: the paint event's
// work is done when the event queued at its start runs.
class PaintWatch : public QObject {
public:
    std::function<void()> then;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && then) {
            QTimer::singleShot(0, std::exchange(then, {}));
        }
        return QObject::eventFilter(watched, event);
    }
};

struct OpenTimes {
    double shown = 1e300; // best of the opens, in milliseconds
    double drawn = 1e300;
    int listed = 0; // users the window listed
};

OpenTimes openTimes(int runs)
{
    OpenTimes best;
    for (int run = 0; run < runs; ++run) {
        for (const bool drawn : {false, true}) {
            QElapsedTimer timer;
            timer.start();
            double took = 0;
            PaintWatch watch;
            QTimer::singleShot(0, [&] {
                frmAdminPref* window = frmAdminPref::current();
                if (!window)
                    return;
                best.listed = window->grdUserList->model()->rowCount();
                const auto stop = [&took, &timer, window] {
                    took = double(timer.nsecsElapsed()) / 1e6;
                    window->done(QDialog::Rejected);
                };
                if (!drawn) {
                    stop();
                    return;
                }
                watch.then = stop;
                window->flexUser->viewport()->installEventFilter(&watch);
            });
            frmAdminPref::showModal(nullptr);
            double& figure = drawn ? best.drawn : best.shown;
            figure = took < figure ? took : figure;
            QApplication::processEvents();
        }
    }
    return best;
}

void printLine(const char* what, int users, double ours, double smallest, double target)
{
    std::printf("%-58s %9.2f ms  ratio to the sample's %5.2fx  (target <= %.1fx) %s\n",
                qPrintable(QStringLiteral("Admin Preferences %1, %2 users").arg(QLatin1String(what)).arg(users)), ours,
                ours / smallest, target, ours / smallest <= target ? "ok" : "OVER");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    std::printf("== growth: Admin Preferences opens, sample users / 1,000 / 20,000 users\n");
    constexpr double kGrowthTarget = 1.6;
    struct Line {
        int users;
        OpenTimes times;
    };
    std::vector<Line> lines;
    for (const int users : {3, 1000, 20000}) {
        resetStartupState();
        TempHome home;
        ExamDbFixture fixture(home);
        gLogin.gAppName = QStringLiteral("Ziduver Bench");
        gLogin.gLoginId = QStringLiteral("ADMIN");
        gLogin.gUserCode = QStringLiteral("0");
        {
            ExamDbOptions exam;
            exam.examCode = QStringLiteral("EXA");
            exam.examName = QStringLiteral("Bench exam");
            const QString path = fixture.createExam(QStringLiteral("Data/a/a.qzr"), exam);
            db::Connection connection = fixture.openSystem();
            SystemDatabase system(connection);
            db::Transaction transaction(connection);
            system.addUser({QStringLiteral("Admin"), QStringLiteral("ADMIN")});
            system.addExam(path, exam.examCode, exam.examName);
            for (int i = 1; i <= users; ++i) {
                const int code = system.addUser(
                    {QStringLiteral("user%1").arg(i), QStringLiteral("pw"), QStringLiteral("First %1").arg(i)});
                system.addRight(code, exam.examCode, true);
            }
            transaction.commit();
        }
        const OpenTimes times = openTimes(7);
        if (times.listed != users)
            std::printf("  the window listed %d users of %d\n", times.listed, users);
        lines.push_back({users, times});
        printLine("opens", users, times.shown, lines.front().times.shown, kGrowthTarget);
    }
    std::printf("== growth: Admin Preferences opens and draws its user list, sample users / 1,000 / 20,000 users\n");
    for (const Line& line : lines)
        printLine("drawn", line.users, line.times.drawn, lines.front().times.drawn, kGrowthTarget);
    return 0;
}
