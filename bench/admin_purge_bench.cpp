// The purge of deleted users' data over many attached exams, against the
// bare delete statements of the same rows through plain SQLite calls.
#include "bench/BenchRegistry.h"

#include "admin/ExamUserTables.h"
#include "admin/UserPurge.h"
#include "foundation/ConnectionString.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/Schema.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kExams = 50;
constexpr int kUsers = 20;        // in the system database, the administrator among them
constexpr int kDeletedUsers = 10; // whose rows the exams still hold
constexpr int kHistoryRows = 100000;
constexpr int kRuns = 5;

// Fifty exam databases with rows of the users that exist and of those that
// were deleted, kept as templates and copied afresh before every run.
struct Installation {
    QTemporaryDir dir;
    std::vector<int> userCodes;
    std::vector<QString> templates, exams;

    Installation()
    {
        gStartup.gDbPassword = QLatin1String(kDatabasePassword);
        gStartup.gSysDbPath = dir.filePath(QStringLiteral("Ziduver.QZR"));
        gStartup.gSysConnStr = connectionString(gStartup.gSysDbPath, gStartup.gDbPassword);
        db::Connection system = db::Connection::create(gStartup.gSysDbPath);
        schema::createSystemDatabase(system);
        {
            db::Transaction transaction(system);
            SystemDatabase rows(system);
            userCodes.push_back(rows.addUser({QStringLiteral("Admin"), QStringLiteral("ADMIN")}));
            for (int i = 1; i < kUsers; ++i)
                userCodes.push_back(rows.addUser({QStringLiteral("user%1").arg(i), QStringLiteral("pw")}));
            for (int e = 0; e < kExams; ++e) {
                const QString exam = dir.filePath(QStringLiteral("exams/exam%1.qzr").arg(e));
                exams.push_back(exam);
                templates.push_back(dir.filePath(QStringLiteral("templates/exam%1.qzr").arg(e)));
                rows.addExam(exam, QStringLiteral("EX%1").arg(e), QStringLiteral("Exam %1").arg(e));
            }
            transaction.commit();
        }
        QDir().mkpath(dir.filePath(QStringLiteral("exams")));
        QDir().mkpath(dir.filePath(QStringLiteral("templates")));
        // The codes in the rows: 0 (the administrator's exam rows), the
        // users that exist, and the deleted ones after them.
        std::vector<int> rowCodes{0};
        rowCodes.insert(rowCodes.end(), userCodes.begin(), userCodes.end());
        for (int i = 0; i < kDeletedUsers; ++i)
            rowCodes.push_back(userCodes.back() + 100 + i);
        const int historyPerExam = kHistoryRows / kExams;
        for (const QString& path : templates) {
            db::Connection exam = db::Connection::create(path);
            schema::createExamDatabase(exam);
            db::Transaction transaction(exam);
            db::Statement detail = exam.prepare(QStringLiteral(
                "INSERT INTO Qe_UserHistoryDetail (Qh_UserCode, Qh_QuestCode, Qh_Appearance, Qh_CatCode, "
                "Qh_ChapterCode, Qh_RightAnswered, Qh_ExamDate, Qh_ExamMode, Qh_ExamCode, Qh_ExamTime) "
                "VALUES (?, ?, 1, ?, 0, ?, '2024-05-01', 'PRACTICE', 'EX', '10:00:00')"));
            for (int i = 0; i < historyPerExam; ++i)
                detail.exec({rowCodes[size_t(i) % rowCodes.size()], i, i % 12, i % 2});
            db::Statement summary = exam.prepare(QStringLiteral(
                "INSERT INTO Qe_UserHistorySummary (Quh_UserCode, Quh_CatCode, Quh_ExamDate) VALUES (?, ?, "
                "'2024-05-01')"));
            for (int i = 0; i < historyPerExam / 10; ++i)
                summary.exec({rowCodes[size_t(i) % rowCodes.size()], i % 12});
            ExamBankWriter writer(exam);
            for (int code : rowCodes) {
                writer.addUserCopy(
                    {code, QStringLiteral("u"), QStringLiteral("F"), {}, {}, {}, true});
                exam.exec(QStringLiteral("INSERT INTO Qe_UserNotes (Qn_UserCode, Qn_QuestCode, Qn_noteDesc) "
                                         "VALUES (?, 1, 'A note on the question.')"),
                          {code});
            }
            transaction.commit();
        }
    }

    void reset() const
    {
        for (size_t e = 0; e < exams.size(); ++e) {
            QFile::remove(exams[e]);
            if (!QFile::copy(templates[e], exams[e]))
                throw std::runtime_error("cannot copy a template exam");
        }
    }
};

void check(int rc, sqlite3* handle)
{
    if (rc != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(handle));
}

// The floor: per exam, the four delete statements with the codes written
// into them, in one transaction, on a connection set up as the layer's.
void bareDeletes(const Installation& installation)
{
    QStringList codes{QStringLiteral("0")};
    for (int code : installation.userCodes)
        codes << QString::number(code);
    std::vector<std::string> statements;
    for (const auto& [table, column] : ExamUserTables::purgedColumns())
        statements.push_back(
            QStringLiteral("DELETE FROM %1 WHERE %2 NOT IN (%3)").arg(table, column, codes.join(',')).toStdString());
    for (const QString& path : installation.exams) {
        sqlite3* handle = nullptr;
        check(sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr),
              handle);
        sqlite3_busy_timeout(handle, 5000);
        check(sqlite3_exec(handle, "PRAGMA synchronous=FULL; BEGIN IMMEDIATE", nullptr, nullptr, nullptr), handle);
        for (const std::string& sql : statements)
            check(sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, nullptr), handle);
        check(sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr), handle);
        sqlite3_close_v2(handle);
    }
}

template <typename Work> double bestAfterReset(const Installation& installation, Work&& work)
{
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        installation.reset();
        best = std::min(best, bench::bestOf(1, work));
    }
    return best;
}

} // namespace

ZIDUVER_BENCH("admin: purge of deleted users over 50 exams")
{
    const Installation installation;
    int failures = 0;
    const double ours = bestAfterReset(installation, [&] {
        SystemDatabase system;
        failures += int(purgeDeletedUsers(system).failures.size());
    });
    const double floor = bestAfterReset(installation, [&] { bareDeletes(installation); });
    if (failures != 0)
        std::printf("   %d exams failed\n", failures);
    std::printf("   %d exams, %d users, %d history rows (a third of the codes deleted)\n", kExams, kUsers,
                kHistoryRows);
    bench::report("purge (bound code list) vs bare delete statements", ours, floor, 2.0);
}
