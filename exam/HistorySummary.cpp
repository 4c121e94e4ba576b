#include "exam/HistorySummary.h"

#include "foundation/DatabaseProblem.h"
#include "foundation/DebugLog.h"
#include "foundation/ExamBank.h"
#include "foundation/HistoryStore.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Transaction.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <optional>
#include <stdexcept>

namespace {

QDateTime readDateTime(const QString& text)
{
    for (const QString& format : {QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"),
                                  QStringLiteral("M/d/yyyy H:mm:ss"), QStringLiteral("M/d/yyyy h:mm:ss AP")}) {
        const QDateTime value = QDateTime::fromString(text, format);
        if (value.isValid())
            return value;
    }
    return {};
}

[[noreturn]] void unreadable(const char* what, const QString& text)
{
    throw std::invalid_argument(QStringLiteral("Not a %1: \"%2\"").arg(QLatin1String(what), text).toStdString());
}

} // namespace

QVariant isoDateText(const QVariant& stored)
{
    if (stored.isNull())
        return {};
    const QString text = stored.toString().trimmed();
    for (const QString& format : {QStringLiteral("yyyy-MM-dd"), QStringLiteral("M/d/yyyy")}) {
        const QDate date = QDate::fromString(text, format);
        if (date.isValid())
            return date.toString(Qt::ISODate);
    }
    const QDateTime both = readDateTime(text);
    if (!both.isValid())
        unreadable("date", text);
    return both.date().toString(Qt::ISODate);
}

QVariant isoTimeText(const QVariant& stored)
{
    if (stored.isNull())
        return {};
    const QString text = stored.toString().trimmed();
    for (const QString& format :
         {QStringLiteral("H:mm:ss"), QStringLiteral("H:mm"), QStringLiteral("h:mm:ss AP"), QStringLiteral("h:mm AP")}) {
        const QTime time = QTime::fromString(text, format);
        if (time.isValid())
            return time.toString(QStringLiteral("HH:mm:ss"));
    }
    const QDateTime both = readDateTime(text);
    if (!both.isValid())
        unreadable("time", text);
    return both.time().toString(QStringLiteral("HH:mm:ss"));
}

HistoryRebuildResult RebuildHistorySummary(db::Connection& ExamConn, int userCode)
{
    HistoryRebuildResult result;
    QString error;
    try {
        // Inside a caller's transaction a savepoint; else a transaction of
        // its own, taken before the first read so the reads and the writes
        // see the same rows.
        std::optional<db::Savepoint> savepoint;
        std::optional<db::Transaction> transaction;
        if (ExamConn.inTransaction())
            savepoint.emplace(ExamConn);
        else
            transaction.emplace(ExamConn);

        HistoryStore store(ExamConn);
        int last = 0;
        const QVariant newest = store.lastSummarisedAppearance(userCode);
        if (!newest.isNull() && !newest.toString().trimmed().isEmpty())
            last = wholeNumber(newest);

        int added = 0;
        const std::optional<int> after = last < 1 ? std::nullopt : std::optional<int>(last);
        for (const HistoryStore::Appearance& appearance : store.appearances(userCode, after)) {
            for (const HistoryStore::Group& group : store.groups(userCode, appearance.number)) {
                const std::optional<HistoryStore::Taken> taken =
                    store.taken(userCode, appearance.number, group.catCode, group.chapterCode);
                // A category or chapter stored as NULL matches no row: such a
                // group gets no summary row.
                if (!taken)
                    continue;
                const int right = store.rightAnswers(userCode, appearance.number, group.catCode, group.chapterCode);
                HistoryStore::SummaryRow row;
                row.catCode = group.catCode;
                row.examDate = isoDateText(taken->date);
                row.examTime = isoTimeText(taken->time);
                row.questions = group.questions;
                row.right = right;
                row.examMode = taken->mode;
                row.appearance = appearance.number;
                row.userCode = userCode;
                row.examCode = taken->examCode;
                row.chapterCode = group.chapterCode;
                store.addSummary(row);
                ++added;
            }
        }
        if (savepoint)
            savepoint->release();
        else
            transaction->commit();
        result.ok = true;
        result.rowsAdded = added;
        return result;
    } catch (const db::DbError& e) {
        WriteLog(e.message() + QStringLiteral(" : RebuildHistorySummary : frmZiduver : Date/Time :") + logDateTime());
        result.error = commandFailureText(QStringLiteral("The history summary could not be brought up to date."),
                                          DatabaseFile::exam(ExamConn.path()), e, DatabaseUse::Writing);
        return result;
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    WriteLog(error + QStringLiteral(" : RebuildHistorySummary : frmZiduver : Date/Time :") + logDateTime());
    result.error = error;
    return result;
}
