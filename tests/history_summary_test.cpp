#include "exam/HistorySummary.h"
#include "foundation/HistoryStore.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

constexpr int kUser = 7;
constexpr int kOtherUser = 8;

// A summary row as one text: category|date|time|questions|right|mode|appearance|user|exam|chapter.
QString summaryText(const HistoryStore::SummaryRow& r)
{
    return QStringList{r.catCode.toString(),         r.examDate.toString(),       r.examTime.toString(),
                       QString::number(r.questions), QString::number(r.right),    r.examMode.toString(),
                       r.appearance.toString(),      QString::number(r.userCode), r.examCode.toString(),
                       r.chapterCode.toString()}
        .join(QLatin1Char('|'));
}

struct History : ::testing::Test {
    History() { removeDebugLog(); }

    // One question row of an appearance.
    void detail(int user, int appearance, int cat, int chapter, bool right, const QString& date = "2024-05-01",
                const QString& time = "10:00:00", const QString& mode = "PRACTICE")
    {
        HistoryStore::DetailRow row;
        row.userCode = user;
        row.questCode = ++m_questCode;
        row.appearance = appearance;
        row.catCode = cat;
        row.chapterCode = chapter;
        row.rightAnswered = right;
        row.examDate = date;
        row.examTime = time;
        row.examMode = mode;
        row.examCode = QStringLiteral("EX1");
        store.addDetail(row);
    }
    // A summary row written before the rebuild.
    void summarised(int user, int appearance, int cat = 1)
    {
        HistoryStore::SummaryRow row;
        row.catCode = cat;
        row.examDate = QStringLiteral("2024-01-01");
        row.examTime = QStringLiteral("09:00:00");
        row.questions = 5;
        row.right = 4;
        row.examMode = QStringLiteral("TEST");
        row.appearance = appearance;
        row.userCode = user;
        row.examCode = QStringLiteral("EX1");
        row.chapterCode = 0;
        store.addSummary(row);
    }
    QStringList summary(int user = kUser)
    {
        QStringList rows;
        for (const HistoryStore::SummaryRow& row : store.summaryRows(user))
            rows << summaryText(row);
        return rows;
    }

    TempHome home;
    ExamBankFixture bank;
    HistoryStore store{bank.conn()};

private:
    int m_questCode = 0;
};

TEST_F(History, WithoutASummaryEveryAppearanceGetsOneRowPerCategoryAndChapter)
{
    // Appearance 1: category 1 directly, category 2 in two chapters.
    detail(kUser, 1, 1, 0, true);
    detail(kUser, 1, 1, 0, false);
    detail(kUser, 1, 2, 21, false);
    detail(kUser, 1, 2, 22, true, "2024-05-01", "10:05:00");
    detail(kUser, 1, 2, 22, true);
    // Appearance 2: the group's first row gives the date, time and mode.
    detail(kUser, 2, 1, 0, false, "2024-06-02", "14:00:00", "SIMULATED");
    detail(kUser, 2, 1, 0, true, "2024-06-03", "15:00:00", "TEST");
    detail(kOtherUser, 1, 1, 0, true);

    const HistoryRebuildResult result = RebuildHistorySummary(bank.conn(), kUser);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.rowsAdded, 4);
    EXPECT_EQ(summary(),
              (QStringList{
                  "1|2024-05-01|10:00:00|2|1|PRACTICE|1|7|EX1|0",
                  "2|2024-05-01|10:00:00|1|0|PRACTICE|1|7|EX1|21",
                  "2|2024-05-01|10:05:00|2|2|PRACTICE|1|7|EX1|22",
                  "1|2024-06-02|14:00:00|2|1|SIMULATED|2|7|EX1|0",
              }));
    EXPECT_TRUE(summary(kOtherUser).isEmpty());

    // Run again: everything is summarised, nothing is added.
    const HistoryRebuildResult again = RebuildHistorySummary(bank.conn(), kUser);
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(again.rowsAdded, 0);
    EXPECT_EQ(summary().size(), 4);
}

TEST_F(History, APartialSummaryGetsOnlyTheNewerAppearances)
{
    summarised(kUser, 2);
    summarised(kUser, 3);
    summarised(kOtherUser, 9); // another user's summary sets no bound
    const QStringList before = summary();
    for (int appearance = 1; appearance <= 5; ++appearance)
        detail(kUser, appearance, 1, 0, appearance % 2 == 0);

    const HistoryRebuildResult result = RebuildHistorySummary(bank.conn(), kUser);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    const QStringList added{"1|2024-05-01|10:00:00|1|1|PRACTICE|4|7|EX1|0",
                            "1|2024-05-01|10:00:00|1|0|PRACTICE|5|7|EX1|0"};
    EXPECT_EQ(summary(), before + added);
}

TEST_F(History, ANewestSummarisedAppearanceBelowOneSummarisesEverythingAgain)
{
    summarised(kUser, 0);
    detail(kUser, 0, 1, 0, true);
    detail(kUser, 1, 1, 0, true);
    const HistoryRebuildResult result = RebuildHistorySummary(bank.conn(), kUser);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.rowsAdded, 2);
    EXPECT_EQ(summary().size(), 3);
    EXPECT_EQ(summary()[1], "1|2024-05-01|10:00:00|1|1|PRACTICE|0|7|EX1|0");
}

TEST_F(History, DatesAndTimesAreStoredAsIsoText)
{
    detail(kUser, 1, 1, 0, true, "5/1/2024", "2:05 PM");
    detail(kUser, 2, 1, 0, true, "2024-05-02 08:30:00", "2024-05-02 08:30:00");
    const HistoryRebuildResult result = RebuildHistorySummary(bank.conn(), kUser);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(
        summary(),
        (QStringList{"1|2024-05-01|14:05:00|1|1|PRACTICE|1|7|EX1|0", "1|2024-05-02|08:30:00|1|1|PRACTICE|2|7|EX1|0"}));
}

TEST(HistoryDates, IsoTextIsKeptOtherFormsAreTurnedIntoItAndNullStaysNull)
{
    const std::pair<const char*, const char*> dates[] = {
        {"2024-05-01", "2024-05-01"}, {" 2024-05-01 ", "2024-05-01"},        {"12/31/2023", "2023-12-31"},
        {"1/2/2024", "2024-01-02"},   {"2024-05-01T23:59:59", "2024-05-01"}, {"5/1/2024 1:02:03 PM", "2024-05-01"},
    };
    for (const auto& [stored, iso] : dates)
        EXPECT_EQ(isoDateText(QString::fromLatin1(stored)).toString(), iso) << stored;
    const std::pair<const char*, const char*> times[] = {
        {"10:00:00", "10:00:00"},
        {"9:05", "09:05:00"},
        {"12:00:00 AM", "00:00:00"},
        {"1:02 PM", "13:02:00"},
        {"2024-05-01 23:59:59", "23:59:59"},
    };
    for (const auto& [stored, iso] : times)
        EXPECT_EQ(isoTimeText(QString::fromLatin1(stored)).toString(), iso) << stored;
    EXPECT_TRUE(isoDateText(QVariant()).isNull());
    EXPECT_TRUE(isoTimeText(QVariant()).isNull());
    for (const char* bad : {"", "yesterday", "31/12/2023", "2024-13-01"})
        EXPECT_THROW(isoDateText(QString::fromLatin1(bad)), std::invalid_argument) << bad;
    for (const char* bad : {"", "noon", "25:00:00"})
        EXPECT_THROW(isoTimeText(QString::fromLatin1(bad)), std::invalid_argument) << bad;
}

TEST_F(History, AFailureLeavesTheSummaryAsItWasAndIsLogged)
{
    summarised(kUser, 1);
    detail(kUser, 2, 1, 0, true);
    detail(kUser, 2, 2, 0, true);
    detail(kUser, 3, 1, 0, false);
    const QStringList before = summary();
    {
        // The second new row is refused.
        FailingWrites failing(bank.path(), QStringLiteral("Qe_UserHistorySummary"), 1);
        const HistoryRebuildResult result = RebuildHistorySummary(bank.conn(), kUser);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.error.contains(FailingWrites::message())) << result.error.toStdString();
        EXPECT_EQ(summary(), before);
        EXPECT_TRUE(readDebugLog().contains(QStringLiteral("RebuildHistorySummary")));
    }
    // A date that cannot be read fails the same way.
    detail(kUser, 4, 1, 0, true, "someday");
    const HistoryRebuildResult unreadable = RebuildHistorySummary(bank.conn(), kUser);
    EXPECT_FALSE(unreadable.ok);
    EXPECT_TRUE(unreadable.error.contains(QStringLiteral("someday")));
    EXPECT_EQ(summary(), before);
    EXPECT_FALSE(bank.conn().inTransaction());
}

// Another program holding the exam: the failure says so in the program's
// words and adds nothing.
TEST_F(History, AFileInUseIsToldInTheProgramsWords)
{
    detail(kUser, 1, 1, 0, true);
    const QStringList before = summary();
    db::Connection exam = db::Connection::openFile(bank.path());
    exam.setBusyTimeout(50);
    db::Connection other = db::Connection::openFile(bank.path());
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    const HistoryRebuildResult result = RebuildHistorySummary(exam, kUser);
    other.exec(QStringLiteral("ROLLBACK"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error,
              QStringLiteral("The history summary could not be brought up to date.\r\nThe exam database ") + bank.path()
                  + QStringLiteral(" is in use by another program.\r\nClose the other program that uses "
                                   "it, then try again."));
    EXPECT_EQ(summary(), before);
}

TEST_F(History, InsideACallersTransactionOnlyTheRebuildIsUndone)
{
    detail(kUser, 1, 1, 0, true);
    detail(kUser, 1, 2, 0, true);
    FailingWrites failing(bank.path(), QStringLiteral("Qe_UserHistorySummary"), 2);
    db::Transaction transaction(bank.conn());
    summarised(kOtherUser, 1); // the caller's own write
    const HistoryRebuildResult result = RebuildHistorySummary(bank.conn(), kUser);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(bank.conn().inTransaction());
    transaction.commit();
    EXPECT_TRUE(summary().isEmpty());
    EXPECT_EQ(summary(kOtherUser).size(), 1);
}

} // namespace
