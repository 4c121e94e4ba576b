#include "foundation/ConnectionString.h"
#include "foundation/DebugLog.h"
#include "foundation/SharedState.h"
#include "notes/NoteStore.h"
#include "notes/QuestionHeading.h"
#include "platform/db/Connection.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/SystemAccounts.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QDate kDay(2024, 3, 1);

class NoteStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        removeDebugLog();
        bank.category(1).chapter(10, 1).question(1, 1, 1, 10);
    }
    void TearDown() override { resetStartupState(); }

    // "user|question|date|text" per stored row, by key.
    QStringList storedRows()
    {
        QStringList rows;
        for (const db::Row& row : bank.conn().query(QStringLiteral(
                 "SELECT Qn_UserCode, Qn_QuestCode, Qn_ExamDate, Qn_noteDesc FROM Qe_UserNotes ORDER BY Qn_NoteID")))
            rows << QStringList{row.text(0), row.text(1), row.text(2), row.text(3)}.join(QLatin1Char('|'));
        return rows;
    }
    // The debug lines without the date each ends with.
    static QStringList logLines()
    {
        QStringList lines;
        for (const QString& line : debugLogLines())
            lines << (line.endsWith(logDate()) ? line.chopped(logDate().size()) : line);
        return lines;
    }
    bool save(int user, int quest, const QString& text)
    {
        return notestore::SaveNote(bank.connectionString(), accounts.account(user), quest, text, kDay, message);
    }

    TempHome home;
    ExamBankFixture bank;
    SystemAccounts accounts{2, 4};
    QString message;
};

TEST_F(NoteStore, EmptyNotesAreRefusedAndWriteNothing)
{
    for (const char* text : {"", " ", "   \r\n  \n\t ", "\r\n\r\n"}) {
        SCOPED_TRACE(QByteArray(text).toHex().toStdString());
        message = QStringLiteral("stale");
        EXPECT_FALSE(save(2, 1, QString::fromUtf8(text)));
        EXPECT_EQ(message, QStringLiteral("Note should not be empty"));
    }
    EXPECT_TRUE(storedRows().isEmpty());
}

TEST_F(NoteStore, SavedNoteIsTheUsersOnTheQuestionDatedTheDayUntrimmed)
{
    EXPECT_TRUE(save(2, 1, QStringLiteral("  It's \"here\"\nline two  ")));
    EXPECT_TRUE(message.isEmpty());
    EXPECT_TRUE(save(2, 1, QStringLiteral("second")));
    EXPECT_TRUE(save(4, 40000, QStringLiteral("another user, a question past 32767")));
    EXPECT_EQ(storedRows(),
              (QStringList{QStringLiteral("2|1|2024-03-01|  It's \"here\"\r\nline two  "),
                           QStringLiteral("2|1|2024-03-01|second"),
                           QStringLiteral("4|40000|2024-03-01|another user, a question past 32767")}));
    EXPECT_EQ(notestore::AnyNotesForThisQuestion(bank.connectionString(), 2, 1),
              QStringLiteral("  It's \"here\"\r\nline two  \r\n------------\r\nsecond\r\n------------\r\n"));
    EXPECT_EQ(notestore::AnyNotesForThisQuestion(bank.connectionString(), 2, 40000), QString());
}

TEST_F(NoteStore, DatabaseErrorsComeBackAsTheMessage)
{
    {
        FailingWrites refuse(bank.path(), QStringLiteral("Qe_UserNotes"), 0);
        EXPECT_FALSE(save(2, 1, QStringLiteral("refused")));
        EXPECT_TRUE(message.contains(FailingWrites::message())) << message.toStdString();
    }
    EXPECT_TRUE(storedRows().isEmpty());

    const QString missing = connectionString(QDir(home.path()).filePath(QStringLiteral("gone.qzr")),
                                             QString::fromLatin1(kDatabasePassword));
    EXPECT_FALSE(notestore::SaveNote(missing, accounts.account(2), 1, QStringLiteral("x"), kDay, message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(QFile::exists(QDir(home.path()).filePath(QStringLiteral("gone.qzr")))) << "no database is made";
    // The reads have no handling of their own: the windows catch.
    EXPECT_THROW(notestore::AnyNotesForThisQuestion(missing, 2, 1), db::DbError);
    EXPECT_THROW(notestore::getCategory(missing, 1, true), db::DbError);
}

TEST_F(NoteStore, DebugLinesOnlyWithTheDebugFlag)
{
    EXPECT_TRUE(save(2, 1, QStringLiteral("quiet")));
    notestore::AnyNotesForThisQuestion(bank.connectionString(), 2, 1);
    EXPECT_TRUE(readDebugLog().isEmpty());

    gStartup.gDebug = 1;
    EXPECT_TRUE(save(2, 1, QStringLiteral("logged")));
    EXPECT_FALSE(save(2, 1, QStringLiteral(" ")));
    notestore::AnyNotesForThisQuestion(bank.connectionString(), 2, 1);
    notestore::AnyNotesForThisQuestion(bank.connectionString(), 2, 99);
    notestore::getCategory(bank.connectionString(), 99, true);
    notestore::getCategory(bank.connectionString(), 1, false); // the earlier-notes window logs nothing
    EXPECT_EQ(logLines(),
              (QStringList{
                  "Save note:SaveNote:frmAddNote",
                  "Opening table:SaveNote:frmAddNote",
                  "Updated info:SaveNote:frmAddNote",
                  "Closing :SaveNote:frmAddNote",
                  "Save note:SaveNote:frmAddNote",
                  "Entering Function :AnyNotesForThisQuestion:frmAddNote",
                  "Opening DB:AnyNotesForThisQuestion:frmAddNote",
                  "Gathered information:AnyNotesForThisQuestion:frmAddNote",
                  "End of Function :AnyNotesForThisQuestion:frmAddNote",
                  "Entering Function :AnyNotesForThisQuestion:frmAddNote",
                  "Opening DB:AnyNotesForThisQuestion:frmAddNote",
                  "No data:AnyNotesForThisQuestion:frmAddNote",
                  "End of Function :AnyNotesForThisQuestion:frmAddNote",
                  "Started getting Catagories....:getCategory:frmAddNote",
                  "Opening DB Catagories....:getCategory:frmAddNote",
                  "No Data found....:getCategory:frmAddNote",
                  "Catagory Completed....:getCategory:frmAddNote",
              }));
}

TEST(QuestionHeadingRead, NamesOfCategoryAndChapterAndWhenTheFrameShows)
{
    ExamBankFixture bank;
    ExamBankWriter& w = bank.writer();
    w.addCategory({1, QStringLiteral("Réseaux & Sécurité's"), false});
    w.addChapter({10, 1, QStringLiteral("Chapitre « un »"), false});
    w.addChapter({11, 1, QStringLiteral("   "), false});
    bank.conn().exec(QStringLiteral("INSERT INTO Qe_Chapters (Qc_ChapterCode, Qc_catcode, Qc_Chapter_Desc) "
                                    "VALUES (12, 1, NULL)"));
    bank.question(1, 1, 1, 10) // category and chapter
        .question(2, 1, 1, 0)  // directly under its category: no chapter row 0
        .question(3, 1, 1, 11) // a blank chapter name
        .question(4, 1, 1, 12) // a NULL chapter name
        .question(5, 9, 1, 10) // its category row is missing
        .question(70000, 1, 1, 10)
        .question(70000 - 65536, 2, 1, 0); // equal to 70000 in its low 16 bits
    w.addCategory({2, QStringLiteral("Other"), false});

    struct Case {
        int quest;
        bool found;
        const char* category;
        const char* chapter;
        bool frame;
    };
    const Case cases[] = {
        {1, true, "Réseaux & Sécurité's", "Chapitre « un »", true},
        {2, true, "Réseaux & Sécurité's", "", false},
        {3, true, "Réseaux & Sécurité's", "   ", false},
        {4, true, "Réseaux & Sécurité's", "", false},
        {5, false, "", "", true},
        {6, false, "", "", true}, // no such question
        {70000, true, "Réseaux & Sécurité's", "Chapitre « un »", true},
        {70000 - 65536, true, "Other", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quest);
        const QuestionHeading heading = readQuestionHeading(bank.conn(), c.quest);
        EXPECT_EQ(heading.found, c.found);
        EXPECT_EQ(heading.category, QString::fromUtf8(c.category));
        EXPECT_EQ(heading.chapter, QString::fromUtf8(c.chapter));
        EXPECT_EQ(heading.chapterFrameShown(), c.frame);
    }
}

TEST(NoteBoxText, EachStoredLineBreakIsOneLine)
{
    EXPECT_EQ(notestore::noteBoxText(QStringLiteral("a\r\nb\nc\rd\r\n\r\ne")), QStringLiteral("a\nb\nc\nd\n\ne"));
    EXPECT_EQ(notestore::noteBoxText(QStringLiteral("plain")), QStringLiteral("plain"));
}

// A note that cannot be stored because another program holds the exam: the
// add and the editor's save both name the file, why and what to do, never
// SQLite's text, and nothing is stored.
TEST_F(NoteStore, AFailedSaveSaysWhyInTheProgramsWords)
{
    ASSERT_TRUE(save(2, 1, QStringLiteral("first")));
    const qint64 noteId = bank.conn().scalar(QStringLiteral("SELECT Qn_NoteID FROM Qe_UserNotes")).toLongLong();
    const QStringList before = storedRows();
    db::Connection other = db::Connection::openFile(bank.path());
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    QString editMessage;
    EXPECT_FALSE(save(2, 1, QStringLiteral("added")));
    EXPECT_FALSE(notestore::updateNoteText(bank.path(), QString::fromLatin1(kDatabasePassword), accounts.account(2),
                                           noteId, QStringLiteral("edited"), editMessage));
    other.exec(QStringLiteral("ROLLBACK"));
    for (const QString& text : {message, editMessage}) {
        EXPECT_EQ(text, QStringLiteral("The note could not be saved.\r\nThe exam database ") + bank.path()
                            + QStringLiteral(" is in use by another program.\r\n"
                                             "Close the other program that uses it, then try again."));
    }
    EXPECT_EQ(storedRows(), before);
}

} // namespace
