#include "mainwindow/MainWindowLoad.h"

#include "exam/QuestionSetBuilder.h"
#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/SharedState.h"
#include "platform/db/Connection.h"

#include <exception>

MainWindowLoad readMainWindowLoad(db::Connection& exam)
{
    ExamBank bank(exam);
    MainWindowLoad load;
    load.simulated = bank.simulatedLimits();
    load.adaptive = bank.adaptiveLimits();
    load.product = bank.productInfo();
    load.questionTotal = bank.questionCount();
    load.categories = bank.categoryTree();
    load.categoryCount = bank.categoryCount();
    load.counts = QuestionCounts(bank.questionCountsByPlace());
    load.learningObjectives = bank.learningObjectiveCount();
    return load;
}

std::optional<MainWindowLoad> readMainWindowLoad(const QString& examConnStr,
                                                 const std::function<bool(const QString& message)>& askAgain)
{
    for (;;) {
        try {
            db::Connection exam = db::Connection::open(examConnStr);
            return readMainWindowLoad(exam);
        } catch (const std::exception& error) {
            const QString path = db::Connection::pathFromConnectionString(examConnStr);
            WriteLog(QString::fromUtf8(error.what()) + QStringLiteral(" #") + path + QStringLiteral(":Form_Load:frmMain")
                     + logDate());
            if (!askAgain(databaseProblemText(QStringLiteral("The exam could not be loaded."), path, error)
                          + QStringLiteral("\r\n\r\nTry again?")))
                return std::nullopt;
        }
    }
}

int pretestTotalFor(int categoryCount)
{
    return categoryCount < 1 ? 0 : categoryCount * QuestionSetBuilder::pretestShare(categoryCount);
}

QString modeDescriptionText(const QString& setting)
{
    if (setting.startsWith(QLatin1String("\r\n")))
        return setting.mid(2);
    if (setting.startsWith(QLatin1Char('\r')) || setting.startsWith(QLatin1Char('\n')))
        return setting.mid(1);
    return setting;
}

void logTreeFill(const std::vector<ExamBank::TreeCategory>& categories, const QString& window)
{
    if (gStartup.gDebug != 1)
        return;
    const QString module =
        QStringLiteral(": module pfillCategory :") + window + QStringLiteral(" Form_Load: Date/Time :");
    WriteLog(QStringLiteral("Entering pFillCategory") + module + logDateTime());
    WriteLog(QStringLiteral("Db Opening") + module + logDateTime());
    for (const ExamBank::TreeCategory& category : categories) {
        WriteLog(QStringLiteral("Adding Main Nodes") + module + logDateTime() + category.description);
        for (const ExamBank::TreeChapter& chapter : category.chapters)
            WriteLog(QStringLiteral("Adding Sub Nodes") + module + logDateTime() + chapter.description);
    }
    WriteLog(QStringLiteral("pFillCategory Finshed") + module + logDateTime());
}
