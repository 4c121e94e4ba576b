#include "tests/support/ExamLaunchRecord.h"

#include "foundation/ConnectionString.h"
#include "foundation/ExamParameters.h"
#include "foundation/SharedState.h"
#include "tools/mkdata/SampleInstallation.h"

void fillTestLaunchRecord(const TestLaunch& l, const QString& appName)
{
    gAppName = appName;
    gAppTitle = appName;
    gSkinFile.clear();
    gIconPath.clear();
    gMultiUser = l.multiUser;
    gExamMode = l.mode;
    gQuizQuestionCount = l.count;
    gQuizHours = 0;
    gQuizMinutes = l.minutes;
    gQuizConnStr = connectionString(l.dbPath, QString::fromLatin1(kDatabasePassword));
    gQuizExamDbPath = l.dbPath;
    gQuizUserCode = 2;
    gQuizUserName = QStringLiteral("student");
    gQuizExamName = QString::fromLatin1(sample::kExamDesc);
    gQuizFontName = QStringLiteral("Verdana");
    gQuizFontSize = 12;
    gExamWindowActive = false;
}
