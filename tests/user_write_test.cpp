#include "exam/ExamProgress.h"
#include "exam/QuestionList.h"
#include "foundation/SharedState.h"
#include "foundation/UserWrite.h"
#include "notes/NoteStore.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/SystemAccounts.h"
#include "tests/support/TempHome.h"

#include <QDate>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int kUser = 7;
const QDate kDay(2026, 3, 1);

// Both questions answered right: each adds a progress row, and question 1
// completes its learning objective.
QuestionList rightAnswers()
{
    QuestionList msflex;
    for (int code : {1, 2}) {
        msflex.addQuestion(code, 1);
        msflex.setText(code, colCorrect, QStringLiteral("1"));
        msflex.setText(code, colNoAnswer, QStringLiteral("0"));
    }
    return msflex;
}

class UserWrites : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        bank.question(1, 1).question(2, 1);
        bank.writer().addLearningObjective({1, 1, 1, QStringLiteral("a"), QStringLiteral("b"), 0});
        QString message;
        ASSERT_TRUE(notestore::SaveNote(bank.connectionString(), accounts.account(kUser), 1,
                                        QStringLiteral("kept as written"), kDay, message))
            << message.toStdString();
        noteId = bank.conn().scalar(QStringLiteral("SELECT max(Qn_NoteID) FROM Qe_UserNotes")).toLongLong();
    }
    void TearDown() override { resetStartupState(); }

    // Every row a write for the user can touch, as text.
    QString userRows()
    {
        QStringList rows;
        for (const char* sql : {"SELECT userid, QuestionID, Correct, Wrong, pass FROM Qe_Progress ORDER BY rowid",
                                "SELECT Qq_QuestCode, Qq_Status FROM Qe_LOS ORDER BY rowid",
                                "SELECT Qn_NoteID, Qn_UserCode, Qn_noteDesc FROM Qe_UserNotes ORDER BY Qn_NoteID"})
            for (const db::Row& row : bank.conn().query(QString::fromLatin1(sql))) {
                QStringList fields;
                for (int i = 0; i < row.size(); ++i)
                    fields << row.text(i);
                rows << fields.join(QLatin1Char(','));
            }
        return rows.join(QLatin1Char('\n'));
    }

    // Each way the program writes for a user; true when it wrote. `words`
    // gets what the user is told.
    struct WritePath {
        const char* name;
        std::function<bool(const UserAccount&, QString& words)> write;
    };
    std::vector<WritePath> writePaths()
    {
        const auto progress = [this](const UserAccount& account, QString& words, bool insideCaller) {
            db::Connection exam = db::Connection::openFile(bank.path());
            std::optional<db::Transaction> caller;
            if (insideCaller)
                caller.emplace(exam);
            const ProgressWriteResult result = UpdateProgress(exam, rightAnswers(), 2, account);
            if (insideCaller) {
                // The caller's transaction is still his to end.
                EXPECT_TRUE(exam.inTransaction());
                caller->commit();
            }
            words = isAccountRemoved(result.failure) ? QStringLiteral("removed") : result.error;
            return result.saved;
        };
        return {
            {"End Exam's progress and objectives",
             [=](const UserAccount& a, QString& words) { return progress(a, words, false); }},
            {"the same inside a caller's transaction",
             [=](const UserAccount& a, QString& words) { return progress(a, words, true); }},
            {"a new note",
             [this](const UserAccount& a, QString& words) {
                 return notestore::SaveNote(bank.connectionString(), a, 2, QStringLiteral("new"), kDay, words);
             }},
            {"a note edited",
             [this](const UserAccount& a, QString& words) {
                 return notestore::updateNoteText(bank.path(), QString::fromLatin1(kDatabasePassword), a, noteId,
                                                  QStringLiteral("edited"), words);
             }},
        };
    }

    TempHome home;
    ExamBankFixture bank;
    SystemAccounts accounts{kUser};
    qint64 noteId = 0;
};

// The administrator deletes the user in another copy of the program while
// this one runs: every write for the user is refused, says the account was
// removed, and leaves every row as it was.
TEST_F(UserWrites, AWriteForARemovedAccountIsRefusedAndWritesNothing)
{
    accounts.remove(kUser);
    const QString before = userRows();
    for (const WritePath& path : writePaths()) {
        SCOPED_TRACE(path.name);
        QString words;
        EXPECT_FALSE(path.write(accounts.account(kUser), words));
        const bool notes = QByteArray(path.name).contains("note");
        EXPECT_EQ(words,
                  notes ? accountRemovedText(QStringLiteral("The note could not be saved."))
                        : QStringLiteral("removed"));
        EXPECT_EQ(userRows(), before);
    }
}

// The same writes go through for a user who has his account, and for the
// administrator (code 0), who has no account row; a system database that
// cannot be read refuses the write as a database failure, not as a removal.
TEST_F(UserWrites, ALiveAccountWritesAndAnUnreadableSystemDatabaseWritesNothing)
{
    const UserAccount unreadable{kUser, QStringLiteral("DBQ=") + home.file(QStringLiteral("gone.QZR")) + ';'};
    for (const WritePath& path : writePaths()) {
        SCOPED_TRACE(path.name);
        QString words;
        const QString before = userRows();
        EXPECT_FALSE(path.write(unreadable, words));
        EXPECT_NE(words, QStringLiteral("removed"));
        EXPECT_FALSE(words.contains(QStringLiteral("account")));
        EXPECT_EQ(userRows(), before);
        EXPECT_TRUE(path.write(accounts.account(kUser), words)) << words.toStdString();
        EXPECT_NE(userRows(), before);
    }
    QString words;
    EXPECT_TRUE(
        notestore::SaveNote(bank.connectionString(), accounts.account(0), 1, QStringLiteral("admin"), kDay, words))
        << words.toStdString();
}

// While a write for the user runs, the administrator's delete cannot commit:
// it comes wholly before the write (which is then refused) or after it.
TEST_F(UserWrites, TheDeleteWaitsForAWriteInProgress)
{
    db::Connection exam = db::Connection::openFile(bank.path());
    db::Connection admin = db::Connection::openFile(accounts.path());
    admin.setBusyTimeout(50);
    {
        UserWrite write(exam, accounts.account(kUser));
        EXPECT_THROW(admin.exec(QStringLiteral("DELETE FROM Bq_User WHERE Qu_UserCode = ?"), {kUser}), db::DbError);
        write.commit();
    }
    EXPECT_EQ(admin.exec(QStringLiteral("DELETE FROM Bq_User WHERE Qu_UserCode = ?"), {kUser}), 1);
    EXPECT_THROW(UserWrite(exam, accounts.account(kUser)), AccountRemoved);
    EXPECT_FALSE(exam.inTransaction()) << "the refused write's own transaction is rolled back";
}

} // namespace
