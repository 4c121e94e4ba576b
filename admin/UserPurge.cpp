#include "admin/UserPurge.h"

#include "admin/AdminTexts.h"
#include "admin/ExamUserTables.h"
#include "foundation/DebugLog.h"
#include "foundation/DisplayRoutines.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/ErrorWords.h"
#include "platform/db/Transaction.h"

#include <QStringList>

PurgeReport purgeDeletedUsers(SystemDatabase& system, const std::function<void(int percent)>& progress)
{
    PurgeReport report;
    std::vector<int> codes;
    for (const SystemDatabase::User& user : system.users())
        codes.push_back(user.code);
    if (codes.empty())
        return report;
    report.ran = true;

    const std::vector<SystemDatabase::AttachedExam> exams = system.examsByCode();
    report.exams = int(exams.size());
    if (progress && !exams.empty())
        progress(0);
    for (size_t i = 0; i < exams.size(); ++i) {
        const SystemDatabase::AttachedExam& exam = exams[i];
        if (FileExists(exam.path)) {
            try {
                db::Connection connection = db::Connection::openFile(exam.path);
                db::Transaction transaction(connection);
                ExamUserTables(connection).removeUsersOtherThan(codes);
                transaction.commit();
            } catch (const std::exception& error) {
                WriteLog(describeError(error) + QStringLiteral(" : AdminPref:cmdUpdateExamUsers_Click:") + logDate()
                         + QStringLiteral(" #") + exam.path);
                report.failures.push_back(
                    {exam.code, exam.path,
                     QStringLiteral("the file ") + db::causeInWords(error, db::Access::Writing) + QLatin1Char('.'),
                     db::adviceInWords(error, db::Access::Writing)});
            }
        } else {
            ++report.skipped;
        }
        if (progress)
            progress(int((i + 1) * 100 / exams.size()));
    }
    return report;
}

QString purgeMessage(const PurgeReport& report)
{
    if (report.failures.empty())
        return QString::fromLatin1(adminText::UsersPurged);
    QStringList lines{QStringLiteral("User tables were not updated in %1 of %2 attached exams:")
                          .arg(report.failures.size())
                          .arg(report.exams)};
    QStringList advice;
    for (const PurgeFailure& failure : report.failures) {
        lines << failure.examCode + QStringLiteral(" (") + failure.path + QStringLiteral("): ") + failure.error;
        if (!advice.contains(failure.advice))
            advice << failure.advice;
    }
    return (lines + advice).join(QStringLiteral("\r\n"));
}
