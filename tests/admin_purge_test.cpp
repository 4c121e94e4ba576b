#include "admin/ExamUserTables.h"
#include "admin/UserPurge.h"
#include "foundation/ExamBankWriter.h"
#include "foundation/SharedState.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace {

// Rows of users 0 (the administrator's exam rows), the listed users, a
// deleted user 40 and rows without a code, in every user table.
void addUserRows(const QString& path, const std::vector<QVariant>& codes)
{
    db::Connection exam = db::Connection::openFile(path);
    db::Transaction transaction(exam);
    ExamBankWriter writer(exam);
    int link = 0;
    for (const QVariant& code : codes) {
        exam.exec(QStringLiteral("INSERT INTO Qe_UserHistoryDetail (Qh_UserCode, Qh_QuestCode) VALUES (?, 1)"), {code});
        exam.exec(QStringLiteral("INSERT INTO Qe_UserHistorySummary (Quh_UserCode, Quh_CatCode) VALUES (?, 1)"),
                  {code});
        exam.exec(QStringLiteral("INSERT INTO Qe_User (Qu_UserCode, Qu_LoginId) VALUES (?, 'x')"), {code});
        exam.exec(
            QStringLiteral("INSERT INTO Qe_UserNotes (Qn_UserCode, Qn_QuestCode, Qn_noteDesc) VALUES (?, 1, 'n')"),
            {code});
        if (!code.isNull())
            writer.addUserLink({++link, code.toInt(), QStringLiteral("link")});
    }
    transaction.commit();
}

// "table:codes" per user table, the codes sorted, NULL as "-".
QStringList userRows(const QString& path)
{
    db::Connection exam = db::Connection::openFile(path);
    QStringList tables;
    const std::pair<const char*, const char*> columns[] = {{"Qe_UserHistoryDetail", "Qh_UserCode"},
                                                           {"Qe_UserHistorySummary", "Quh_UserCode"},
                                                           {"Qe_User", "Qu_UserCode"},
                                                           {"Qe_UserLinks", "Ql_UserCode"},
                                                           {"Qe_UserNotes", "Qn_UserCode"}};
    for (const auto& [table, column] : columns) {
        QStringList codes;
        for (const db::Row& row : exam.query(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(column, table)))
            codes << (row.isNull(0) ? QStringLiteral("-") : row.text(0));
        tables << QLatin1String(table) + QLatin1Char(':') + codes.join(QLatin1Char(','));
    }
    return tables;
}

class PurgeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        system = fixture.openSystem();
        SystemDatabase rows(system);
        admin = rows.addUser({QStringLiteral("Admin"), QStringLiteral("ADMIN")});
        ann = rows.addUser({QStringLiteral("ann"), QStringLiteral("pa")});
        // Users whose codes are above the ones in use, so the deleted ones
        // are never given again.
        system.exec(QStringLiteral("INSERT INTO Bq_User (Qu_UserCode, Qu_LoginId) VALUES (30, 'bob')"));
    }
    QString attach(const char* code, const QString& relative)
    {
        ExamDbOptions options;
        options.examCode = QString::fromLatin1(code);
        const QString path = fixture.createExam(relative, options);
        addUserRows(path, {0, admin, ann, 30, 40, 41, QVariant()});
        SystemDatabase(system).addExam(path, options.examCode, options.examCode);
        return path;
    }

    TempHome home;
    ExamDbFixture fixture{home};
    RecordingUiHooks ui;
    db::Connection system;
    int admin = 0;
    int ann = 0;
};

TEST_F(PurgeTest, DeletedUsersRowsGoTheAdministratorsAndTheLinksStay)
{
    const QString a = attach("EXA", QStringLiteral("Data/a/a.qzr"));
    const QString b = attach("EXB", QStringLiteral("far/away/b.qzr"));
    std::vector<int> progress;
    SystemDatabase rows(system);
    const PurgeReport report = purgeDeletedUsers(rows, [&progress](int percent) { progress.push_back(percent); });
    EXPECT_TRUE(report.ran);
    EXPECT_EQ(report.exams, 2);
    EXPECT_TRUE(report.failures.empty());
    EXPECT_EQ(progress, (std::vector<int>{0, 50, 100}));
    const QString kept = QStringLiteral("-,0,%1,%2,30").arg(admin).arg(ann);
    const QStringList expected = {"Qe_UserHistoryDetail:" + kept, "Qe_UserHistorySummary:" + kept, "Qe_User:" + kept,
                                  QStringLiteral("Qe_UserLinks:0,%1,%2,30,40,41").arg(admin).arg(ann),
                                  "Qe_UserNotes:" + kept};
    EXPECT_EQ(userRows(a), expected);
    EXPECT_EQ(userRows(b), expected);
    EXPECT_EQ(purgeMessage(report), QStringLiteral("User tables updated in attached exams"));
}

// An outside exam database may declare its user-code columns as text; the
// layout check compares names only. Its codes still compare as numbers: the
// live users keep every row.
TEST_F(PurgeTest, CodesStoredAsTextCompareAsNumbers)
{
    ExamDbOptions options;
    options.examCode = QStringLiteral("EXT");
    const QString path = fixture.createExam(QStringLiteral("Data/t/t.qzr"), options);
    {
        db::Connection exam = db::Connection::openFile(path);
        db::Transaction transaction(exam);
        for (const auto& [table, column] : ExamUserTables::purgedColumns()) {
            const QStringList columns = exam.tableColumns(table);
            exam.execScript(QStringLiteral("CREATE TABLE retyped (%1 TEXT); INSERT INTO retyped SELECT * FROM %2; "
                                           "DROP TABLE %2; ALTER TABLE retyped RENAME TO %2")
                                .arg(columns.join(QStringLiteral(" TEXT, ")), table));
        }
        transaction.commit();
    }
    addUserRows(path, {QStringLiteral("0"), QString::number(admin), QString::number(ann), QStringLiteral("30"),
                       QStringLiteral("40"), QStringLiteral("041"), QVariant()});
    {
        db::Connection exam = db::Connection::openFile(path);
        ASSERT_EQ(exam.scalar(QStringLiteral("SELECT typeof(Qu_UserCode) FROM Qe_User WHERE Qu_UserCode = '30'")),
                  QVariant(QStringLiteral("text")));
    }
    SystemDatabase(system).addExam(path, options.examCode, options.examCode);

    SystemDatabase rows(system);
    const PurgeReport report = purgeDeletedUsers(rows);
    EXPECT_TRUE(report.failures.empty());
    const QString kept = QStringLiteral("-,0,%1,%2,30").arg(admin).arg(ann);
    const QStringList result = userRows(path);
    for (const QString& table : {result[0], result[1], result[2], result[4]})
        EXPECT_EQ(table.section(QLatin1Char(':'), 1), kept) << table.toStdString();
}

// A missing file is passed over, an exam that fails is reported and left
// whole, and every other exam is purged; the bar counts them all and never
// leaves 0 to 100, on a second run too.
TEST_F(PurgeTest, FailingExamIsReportedOnceAndTheOthersArePurged)
{
    const QString a = attach("EXA", QStringLiteral("Data/a/a.qzr"));
    SystemDatabase(system).addExam(home.file(QStringLiteral("Data/gone/gone.qzr")), QStringLiteral("GONE"),
                                   QStringLiteral("Gone"));
    const QString failing = attach("EXF", QStringLiteral("Data/f/f.qzr"));
    home.write(QStringLiteral("Data/t/t.qzr"), "not a database");
    SystemDatabase(system).addExam(home.file(QStringLiteral("Data/t/t.qzr")), QStringLiteral("EXT"),
                                   QStringLiteral("Text"));
    const QString z = attach("EXZ", QStringLiteral("Data/z/z.qzr"));
    const QStringList failingBefore = userRows(failing);
    // The notes are the last table purged: the tables before it are undone.
    FailingWrites refuse(failing, QStringLiteral("Qe_UserNotes"), 0, FailingWrites::Write::Delete);
    removeDebugLog();

    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        std::vector<int> progress;
        SystemDatabase rows(system);
        const PurgeReport report = purgeDeletedUsers(rows, [&progress](int percent) { progress.push_back(percent); });
        EXPECT_EQ(progress, (std::vector<int>{0, 20, 40, 60, 80, 100}));
        EXPECT_EQ(report.exams, 5);
        EXPECT_EQ(report.skipped, 1);
        ASSERT_EQ(report.failures.size(), 2u);
        EXPECT_EQ(report.failures[0].examCode, QStringLiteral("EXF"));
        EXPECT_TRUE(report.failures[0].error.contains(FailingWrites::message()));
        EXPECT_EQ(report.failures[1].examCode, QStringLiteral("EXT"));
        const QString message = purgeMessage(report);
        EXPECT_FALSE(message.contains(QStringLiteral("User tables updated in attached exams")));
        EXPECT_TRUE(message.startsWith(QStringLiteral("User tables were not updated in 2 of 5 attached exams:")));
        EXPECT_TRUE(message.contains(QStringLiteral("EXF (") + failing + QStringLiteral("): ")));
    }
    EXPECT_EQ(userRows(failing), failingBefore);
    EXPECT_FALSE(userRows(a)[0].contains(QStringLiteral("40")));
    EXPECT_FALSE(userRows(z)[0].contains(QStringLiteral("40")));
    EXPECT_TRUE(readDebugLog().contains(QStringLiteral(" : AdminPref:cmdUpdateExamUsers_Click:")));
}

TEST_F(PurgeTest, NoUserAtAllDoesNothing)
{
    const QString a = attach("EXA", QStringLiteral("Data/a/a.qzr"));
    system.exec(QStringLiteral("DELETE FROM Bq_User"));
    const QStringList before = userRows(a);
    int calls = 0;
    SystemDatabase rows(system);
    EXPECT_FALSE(purgeDeletedUsers(rows, [&calls](int) { ++calls; }).ran);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(userRows(a), before);
}

// The codes go in as one bound value however many there are.
TEST_F(PurgeTest, LongCodeListsAreBound)
{
    const QString a = attach("EXA", QStringLiteral("Data/a/a.qzr"));
    std::vector<int> kept;
    for (int code = 1000; code < 21000; ++code)
        kept.push_back(code);
    kept.push_back(30);
    db::Connection exam = db::Connection::openFile(a);
    EXPECT_GT(ExamUserTables(exam).removeUsersOtherThan(kept), 0);
    EXPECT_EQ(userRows(a)[2], QStringLiteral("Qe_User:-,0,30"));
    EXPECT_EQ(ExamUserTables::keptCodesParameter({5, 7}), QStringLiteral("[0,5,7]"));
}

} // namespace
