#include "tests/support/ExamLaunchRecord.h"

#include "foundation/ConnectionString.h"
#include "foundation/SharedState.h"
#include "tests/support/SystemAccounts.h"
#include "tools/mkdata/SampleInstallation.h"

ExamParameters testLaunchRecord(const TestLaunch& l, const QString& appName)
{
    gLogin.gAppName = appName;
    gLogin.gAppTitle = appName;
    gStartup.gSkinFile.clear();
    gLogin.gIconPath.clear();
    gStartup.gMultiUser = l.multiUser;
    gGuard.gExamWindowActive = false;

    ExamParameters record;
    record.gAppTitle = appName;
    record.gExamMode = l.mode;
    record.gQuizQuestionCount = l.count;
    record.gQuizHours = 0;
    record.gQuizMinutes = l.minutes;
    record.gQuizConnStr = connectionString(l.dbPath, QString::fromLatin1(kDatabasePassword));
    record.gQuizExamDbPath = l.dbPath;
    record.gQuizUserCode = 2;
    // The system database that holds the user's account, which every write
    // for the user checks.
    static const SystemAccounts accounts{2};
    record.gQuizSysConnStr = accounts.connectionString();
    record.gQuizUserName = QStringLiteral("student");
    record.gQuizExamName = QString::fromLatin1(sample::kExamDesc);
    record.gQuizFontName = QStringLiteral("Verdana");
    record.gQuizFontSize = 12;
    return record;
}
