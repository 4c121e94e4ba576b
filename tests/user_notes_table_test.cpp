#include "foundation/UserNotesTable.h"
#include "platform/db/Connection.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/StartupFixture.h"

#include <gtest/gtest.h>

namespace {

const QDate kDay(2024, 2, 29);

class UserNotes : public ::testing::Test {
protected:
    // "id|user|question|date|text" per stored row, by id; NULL shows as "<null>".
    QStringList storedRows()
    {
        QStringList rows;
        for (const db::Row& row : bank.conn().query(QStringLiteral(
                 "SELECT Qn_NoteID, Qn_UserCode, Qn_QuestCode, Qn_ExamDate, Qn_noteDesc FROM Qe_UserNotes "
                 "ORDER BY Qn_NoteID")))
            rows << QStringList{row.text(0), row.text(1), row.text(2), row.text(3),
                                row.isNull(4) ? QStringLiteral("<null>") : row.text(4)}
                        .join(QLatin1Char('|'));
        return rows;
    }
    // A row written past the table unit, with its own key.
    void storeRow(int id, int user, int quest, const QVariant& text)
    {
        bank.conn().exec(QStringLiteral("INSERT INTO Qe_UserNotes (Qn_NoteID, Qn_UserCode, Qn_QuestCode, Qn_ExamDate, "
                                        "Qn_noteDesc) VALUES (?, ?, ?, '2020-01-02', ?)"),
                         {id, user, quest, text});
    }

    ExamBankFixture bank;
    UserNotesTable notes{bank.conn()};
};

TEST_F(UserNotes, AddingAlwaysInsertsAndKeepsEveryColumnAsGiven)
{
    const long long first = notes.addNote(7, 70000, QStringLiteral("  leading blanks stay  "), kDay);
    const long long second = notes.addNote(7, 70000, QStringLiteral("  leading blanks stay  "), kDay);
    const long long other = notes.addNote(2147483647, 2147483647, QStringLiteral("x"), QDate(1999, 12, 31));

    EXPECT_LT(first, second);
    EXPECT_LT(second, other);
    EXPECT_EQ(storedRows(),
              (QStringList{QStringLiteral("%1|7|70000|2024-02-29|  leading blanks stay  ").arg(first),
                           QStringLiteral("%1|7|70000|2024-02-29|  leading blanks stay  ").arg(second),
                           QStringLiteral("%1|2147483647|2147483647|1999-12-31|x").arg(other)}));
    // The day is text, so the note lists compare and sort it as a date.
    EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT typeof(Qn_ExamDate) FROM Qe_UserNotes LIMIT 1")).toString(),
              QStringLiteral("text"));
}

TEST_F(UserNotes, TextsGoInAsTypedWhateverTheyHold)
{
    const QStringList texts{
        QStringLiteral("O'Brien's \"note\"; DROP TABLE Qe_UserNotes; --"),
        QStringLiteral("Ünïcødé ß – 日本語 😀"),
        QStringLiteral("?1 ? :name @x $y"),
        QStringLiteral("0042"),
        QStringLiteral("%1 %2"),
    };
    for (const QString& text : texts)
        notes.addNote(3, 11, text, kDay);

    std::vector<UserNotesTable::Note> read = notes.questionNotes(3, 11);
    ASSERT_EQ(read.size(), size_t(texts.size()));
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(read[size_t(i)].text, texts[i]);
        EXPECT_FALSE(read[size_t(i)].textIsNull);
        EXPECT_EQ(read[size_t(i)].examDate, kDay);
        EXPECT_EQ(read[size_t(i)].userCode, 3);
        EXPECT_EQ(read[size_t(i)].questCode, 11);
    }
}

TEST_F(UserNotes, LineBreaksAreStoredAsCarriageReturnLineFeed)
{
    struct Case {
        const char* typed;
        const char* stored;
    };
    const Case cases[] = {
        {"one\ntwo", "one\r\ntwo"},
        {"one\r\ntwo", "one\r\ntwo"},
        {"one\rtwo", "one\r\ntwo"},
        {"a\n\nb\r\n\r\nc", "a\r\n\r\nb\r\n\r\nc"},
        {"\r\n\ntrailing\n", "\r\n\r\ntrailing\r\n"},
        {"\n\r", "\r\n\r\n"},
        {"none", "none"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(UserNotesTable::storedText(QString::fromUtf8(c.typed)), QString::fromUtf8(c.stored));
    }
    notes.addNote(1, 1, QStringLiteral("first\nsecond"), kDay);
    EXPECT_EQ(bank.conn().scalar(QStringLiteral("SELECT Qn_noteDesc FROM Qe_UserNotes")).toString(),
              QStringLiteral("first\r\nsecond"));
}

TEST_F(UserNotes, QuestionNotesAreTheUsersOwnOnThatQuestionByNoteId)
{
    // Keys given out of the order of writing: the read follows the key.
    storeRow(30, 5, 9, QStringLiteral("third"));
    storeRow(10, 5, 9, QStringLiteral("first"));
    storeRow(20, 5, 9, QStringLiteral("second"));
    storeRow(15, 6, 9, QStringLiteral("another user"));
    storeRow(16, 5, 8, QStringLiteral("another question"));
    storeRow(17, 5, 9 + 65536, QStringLiteral("a code equal in its low 16 bits"));

    QStringList read;
    for (const UserNotesTable::Note& note : notes.questionNotes(5, 9))
        read << QString::number(note.id) + QLatin1Char(':') + note.text;
    EXPECT_EQ(read, (QStringList{"10:first", "20:second", "30:third"}));
    EXPECT_EQ(notes.questionNotesText(5, 9),
              QStringLiteral("first\r\n------------\r\nsecond\r\n------------\r\nthird\r\n------------\r\n"));
}

TEST_F(UserNotes, JoinedTextOfNoNotesANullNoteAndStoredLineBreaks)
{
    EXPECT_EQ(notes.questionNotesText(5, 9), QString());

    storeRow(1, 5, 9, QVariant());
    storeRow(2, 5, 9, QStringLiteral("old\nbare line feed"));
    storeRow(3, 5, 9, QStringLiteral(""));
    const auto read = notes.questionNotes(5, 9);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_TRUE(read[0].textIsNull);
    EXPECT_FALSE(read[2].textIsNull);
    // A NULL note gives only its separator; stored texts are not rewritten.
    EXPECT_EQ(notes.questionNotesText(5, 9),
              QStringLiteral("\r\n------------\r\n"
                             "old\nbare line feed\r\n------------\r\n"
                             "\r\n------------\r\n"));
}

TEST_F(UserNotes, StoredDatesReadBackAsDays)
{
    EXPECT_EQ(UserNotesTable::storedDate(QDate(2023, 1, 5)), QStringLiteral("2023-01-05"));
    EXPECT_EQ(UserNotesTable::dateOf(QStringLiteral("2023-01-05")), QDate(2023, 1, 5));
    EXPECT_EQ(UserNotesTable::dateOf(QStringLiteral("2023-01-05 23:59:59")), QDate(2023, 1, 5));
    EXPECT_FALSE(UserNotesTable::dateOf(QVariant()).isValid());
    EXPECT_FALSE(UserNotesTable::dateOf(QStringLiteral("yesterday")).isValid());

    // A day that is not valid is stored as NULL, never as "".
    notes.addNote(1, 1, QStringLiteral("x"), QDate());
    EXPECT_TRUE(bank.conn().scalar(QStringLiteral("SELECT Qn_ExamDate IS NULL FROM Qe_UserNotes")).toBool());
    EXPECT_FALSE(notes.questionNotes(1, 1).at(0).examDate.isValid());
}

TEST_F(UserNotes, EditingSetsOnlyTheTextOfThatNote)
{
    storeRow(1, 5, 9, QStringLiteral("old"));
    storeRow(2, 5, 9, QStringLiteral("untouched"));
    EXPECT_EQ(notes.updateNoteText(1, QStringLiteral("new\nline: O'Brien")), 1);
    EXPECT_EQ(notes.updateNoteText(77, QStringLiteral("gone")), 0) << "a deleted note changes nothing";
    EXPECT_EQ(storedRows(), (QStringList{"1|5|9|2020-01-02|new\r\nline: O'Brien", "2|5|9|2020-01-02|untouched"}));
}

TEST_F(UserNotes, ListsFilterByUserCategoryAndChapter)
{
    bank.category(1).category(2).chapter(10, 1);
    bank.question(11, 1, 1, 0).question(12, 1, 1, 10).question(21, 2, 1, 0);
    storeRow(1, 5, 12, QStringLiteral("a"));
    storeRow(2, 6, 11, QStringLiteral("b"));
    storeRow(3, 5, 21, QStringLiteral("c"));
    storeRow(4, 5, 11, QStringLiteral("d"));
    storeRow(5, 5, 99, QStringLiteral("on no question"));
    const auto ids = [&](const UserNotesTable::ListFilter& filter) {
        QStringList read;
        for (const UserNotesTable::Note& note : notes.listedNotes(filter))
            read << QString::number(note.id);
        return read.join(QLatin1Char(','));
    };
    EXPECT_EQ(ids({}), QStringLiteral("1,2,3,4,5"));
    EXPECT_EQ(ids({5, std::nullopt, std::nullopt}), QStringLiteral("1,3,4,5"));
    EXPECT_EQ(ids({std::nullopt, 1, std::nullopt}), QStringLiteral("1,2,4"));
    EXPECT_EQ(ids({5, 1, std::nullopt}), QStringLiteral("1,4"));
    EXPECT_EQ(ids({std::nullopt, 1, 10}), QStringLiteral("1"));
    EXPECT_EQ(ids({6, 1, 10}), QString());
    EXPECT_EQ(ids({std::nullopt, 1, 0}), QStringLiteral("2,4")) << "chapter 0: the category's own questions";
}

TEST_F(UserNotes, DatabaseErrorsReachTheCallerAndWriteNothing)
{
    {
        FailingWrites refuse(bank.path(), QStringLiteral("Qe_UserNotes"), 0);
        try {
            notes.addNote(1, 1, QStringLiteral("refused"), kDay);
            ADD_FAILURE() << "the insert was refused";
        } catch (const db::DbError& error) {
            EXPECT_TRUE(error.message().contains(FailingWrites::message())) << error.message().toStdString();
        }
    }
    EXPECT_TRUE(storedRows().isEmpty());

    bank.conn().exec(QStringLiteral("DROP TABLE Qe_UserNotes"));
    EXPECT_THROW(notes.questionNotesText(1, 1), db::DbError);
    EXPECT_THROW(notes.addNote(1, 1, QStringLiteral("x"), kDay), db::DbError);
}

} // namespace
