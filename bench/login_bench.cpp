// Login as the user list grows: the one user is looked up through the login
// index, so a login among 20,000 users costs what one among 10 does.
#include "bench/BenchBanks.h"
#include "bench/BenchRegistry.h"

#include "foundation/LoginRules.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Transaction.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/TempHome.h"

#include <cstdio>

ZIDUVER_BENCH("growth: login, 10 / 1,000 / 20,000 users")
{
    constexpr double kGrowthTarget = 1.2;
    double smallest = 0;
    for (const int users : {10, 1000, 20000}) {
        TempHome home;
        ExamDbFixture fixture(home);
        gStartup.gMultiUser = true;
        int middle = 0;
        {
            SystemDatabase system;
            db::Transaction transaction(system.connection());
            for (int i = 1; i <= users; ++i) {
                const int code = system.addUser({QStringLiteral("user%1").arg(i), QStringLiteral("pw%1").arg(i)});
                if (i == users / 2)
                    middle = code;
            }
            system.addRight(middle, QStringLiteral("EX1"), 1);
            transaction.commit();
        }
        const QString login = QStringLiteral("USER%1").arg(users / 2);
        const QString password = QStringLiteral("PW%1").arg(users / 2);
        // The floor: opening the system database and one look-up by login
        // through the C API.
        const QString systemPath = fixture.systemDbPath();
        const double floor = bench::bestOfOnOwnHandle(200, systemPath, [&](sqlite3* handle) {
            long long sink = 0;
            sqlite3_stmt* statement = bench::prepare(
                handle, QStringLiteral("SELECT Qu_UserCode, Qu_LoginId, Qu_Password FROM Bq_User WHERE Qu_LoginId = ?"));
            const QByteArray text = login.toUtf8();
            sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            bench::stepAll(statement, sink);
            sqlite3_finalize(statement);
        });
        LoginDecision decision;
        const double ours = bench::bestOf(200, [&] { decision = checkLogin(login, password, QStringLiteral("EX1")); });
        if (decision.outcome != LoginOutcome::Accepted || decision.userCode != QString::number(middle))
            std::printf("  the login was not accepted\n");
        if (smallest == 0)
            smallest = ours;
        char what[96];
        std::snprintf(what, sizeof what, "login, %d users (vs open + one indexed look-up)", users);
        bench::report(what, ours, floor, 3.0);
        std::printf("%-58s %9.2f ms  ratio to 10 users %5.2fx  (target <= %.1fx) %s\n", "  same login", ours,
                    ours / smallest, kGrowthTarget, ours / smallest <= kGrowthTarget ? "ok" : "OVER");
    }
}
