#include "foundation/AnswerListings.h"
#include "foundation/SharedState.h"
#include "notes/NoteAnswerListings.h"
#include "platform/db/DbError.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/TempHome.h"

#include <QVariant>
#include <gtest/gtest.h>

#include <optional>

namespace {

// The questions of the listing tables, one per kind of answer.
enum Question : int {
    Choices = 1,     // five choices stored as 3, 1, 2, 5, 4; 2 and 4 right
    Essay = 2,       // two key ideas
    FillIn = 3,      // one blank with alternatives
    OrderedList = 4, // three items stored out of their order
    Tree = 5,        // two named nodes, a row without node, three leaves
    SelectPlace = 6, // two pairs stored out of their order
    NoAnswers = 7,   // no answer rows, interactive code 0
    ListNoRows = 8,  // interactive code 1 without rows
    PlaceNoRows = 9, // interactive code 3 with tree rows only
    ChoicesAndFill = 10,
};

QString bullet(const QString& text)
{
    return QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;&#149;&nbsp;") + text + QStringLiteral("<BR>");
}

QString deepBullet(const QString& text)
{
    return QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&#149;&nbsp;") + text + QStringLiteral("<BR>");
}

QString row(const QString& content)
{
    return QStringLiteral("<tr><td colspan=2>") + content + QStringLiteral("</td></tr>");
}

class AnswerListingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSharedState();
        removeDebugLog();
        ExamBankWriter& w = bank.writer();
        const auto head = [&](int code, int type, int interactive) {
            bank.shownQuestion(code, type, interactive, QStringLiteral("Question %1").arg(code));
        };
        head(Choices, 1, 0);
        for (const int seq : {3, 1, 2, 5, 4})
            w.addChoice({Choices, seq, QStringLiteral("c%1").arg(seq), seq == 2 || seq == 4});
        head(Essay, 2, 0);
        w.addFillAnswer(Essay, QStringLiteral("boot loader"));
        w.addFillAnswer(Essay, QStringLiteral("kernel|linux"));
        head(FillIn, 3, 0);
        w.addFillAnswer(FillIn, QStringLiteral("Paris|Lutetia"));
        head(OrderedList, 4, 1);
        w.addInteractiveRow({OrderedList, QStringLiteral("First"), 2, QStringLiteral("Second"), 2});
        w.addInteractiveRow({OrderedList, QStringLiteral("Second"), 3, QStringLiteral("Third"), 3});
        w.addInteractiveRow({OrderedList, QStringLiteral("Third"), 1, QStringLiteral("First"), 1});
        head(Tree, 4, 2);
        const QString root = QStringLiteral("Root");
        w.addInteractiveRow({Tree, QStringLiteral("Node B"), 2, QStringLiteral("Leaf 1"), 2, root});
        w.addInteractiveRow({Tree, QString(""), 3, QStringLiteral("Leaf 3"), 3, root});
        w.addInteractiveRow({Tree, QStringLiteral("Node A"), 1, QStringLiteral("Leaf 2"), 1, root});
        w.addInteractiveAnswer({Tree, QStringLiteral("Leaf 1"), 1, QStringLiteral("Node A"), 1});
        w.addInteractiveAnswer({Tree, QStringLiteral("Leaf 2"), 2, QStringLiteral("Node B"), 2});
        w.addInteractiveAnswer({Tree, QStringLiteral("Leaf 3"), 3, QStringLiteral("Node A"), 1});
        head(SelectPlace, 4, 3);
        w.addInteractiveRow({SelectPlace, QStringLiteral("Value A"), 1, QStringLiteral("Place 1"), 1});
        w.addInteractiveRow({SelectPlace, QStringLiteral("Value B"), 2, QStringLiteral("Place 2"), 2});
        w.addInteractiveAnswer({SelectPlace, QStringLiteral("Place 2"), 2, QStringLiteral("Value A"), 2});
        w.addInteractiveAnswer({SelectPlace, QStringLiteral("Place 1"), 1, QStringLiteral("Value B"), 1});
        head(NoAnswers, 1, 0);
        head(ListNoRows, 4, 1);
        head(PlaceNoRows, 4, 3);
        w.addInteractiveRow({PlaceNoRows, QStringLiteral("Node"), 1, QStringLiteral("Leaf"), 1, root});
        head(ChoicesAndFill, 1, 0);
        w.addChoice({ChoicesAndFill, 1, QStringLiteral("only choice"), true});
        w.addFillAnswer(ChoicesAndFill, QStringLiteral("not listed"));
    }

    void TearDown() override { resetSharedState(); }

    TempHome home; // the debug log's folder
    ExamBankFixture bank;
};

// The item lists both listing sets share.
const QString kTreeItems =
    row(QStringLiteral("<table width=100% border=1><tr><td>&nbsp;&#149; Root<BR>") + bullet("Node A") + bullet("Node B")
        + "</td><td>" + bullet("Leaf 2") + bullet("Leaf 1") + bullet("Leaf 3") + "</td></tr></table>");
// Each node in leftpane order with its leaves; the row without a node
// prints no bullet of its own.
const QString kTreePlacement =
    row(QStringLiteral("<b>Correct Order</B><br><br>") + bullet("Node A") + deepBullet("Leaf 1") + deepBullet("Leaf 3")
        + bullet("Node B") + deepBullet("Leaf 2"));
// Pairs and list items in storage order, the order the exam grades by.
const QString kPairs = row(QStringLiteral("&nbsp;Place 2&nbsp;&nbsp;-------&nbsp;&nbsp;Value A<BR>"
                                          "&nbsp;Place 1&nbsp;&nbsp;-------&nbsp;&nbsp;Value B<BR>"));
const QString kListItems = QStringLiteral("<tr><td colspan=2> <UL><li>First</li><li>Second</li><li>Third</li>"
                                          "</Ul></td></tr>");
const QString kListOrder = QStringLiteral("<tr><td colspan=2> <b>Correct Order</b><UL><li><b>Second</b></li>"
                                          "<li><b>Third</b></li><li><b>First</b></li></Ul></td></tr>");

struct ListingCase {
    int question;
    bool showAnswers;
    int treeAnswers; // the sheet's second flag; the notes set has none
    QString sheetRows;
    QString noteRows;
};

void PrintTo(const ListingCase& c, std::ostream* os)
{
    *os << "question " << c.question << ", answers " << c.showAnswers << ", tree " << c.treeAnswers;
}

class ListingTable : public AnswerListingsTest, public ::testing::WithParamInterface<ListingCase> { };

TEST_P(ListingTable, EachKindOfAnswerGivesItsRows)
{
    const ListingCase& c = GetParam();
    AnswerListings sheet(bank.conn());
    EXPECT_EQ(sheet.CheckAllAnswertableForNote(c.question, c.showAnswers, c.treeAnswers), c.sheetRows);
    NoteAnswerListings notes(bank.conn());
    EXPECT_EQ(notes.CheckAllAnswerTableForNote(c.question, c.showAnswers), c.noteRows);
    EXPECT_EQ(readDebugLog(), QString()) << "a listing that succeeds logs nothing outside debug mode";
}

// The sheet lists choices by sequence number when given no order of its own
// (its window passes the exam's); the notes set lists them as stored.
INSTANTIATE_TEST_SUITE_P(
    AnswerListings, ListingTable,
    ::testing::Values(
        ListingCase{Choices, false, 0, row("A) c1") + row("B) c2") + row("C) c3") + row("D) c4") + row("E) c5"),
                    row("A) c3") + row("B) c1") + row("C) c2") + row("D) c5") + row("E) c4")},
        ListingCase{Choices, true, 0,
                    row("A) c1") + row("<b>* </b>B) c2") + row("C) c3") + row("<b>* </b>D) c4") + row("E) c5"),
                    row("A) c3") + row("B) c1") + row("<b>* </b>C) c2") + row("D) c5") + row("<b>* </b>E) c4")},
        ListingCase{Essay, false, 1, "", ""},
        ListingCase{Essay, true, 0, "<TR><TD COLSPAN=2>boot loader, kernel|linux</td></tr>",
                    "<TR><TD COLSPAN=2>boot loader, kernel|linux</td></tr>"},
        ListingCase{FillIn, true, 0, "<TR><TD COLSPAN=2>Paris|Lutetia</td></tr>",
                    "<TR><TD COLSPAN=2>Paris|Lutetia</td></tr>"},
        ListingCase{OrderedList, false, 1, kListItems, kListItems},
        ListingCase{OrderedList, true, 0, kListItems + kListOrder, kListItems + kListOrder},
        // The sheet's tree placement follows its own flag; the notes always
        // show where each leaf belongs.
        ListingCase{Tree, false, 0, kTreeItems,
                    row("&nbsp;&#149; Root<BR>" + bullet("Node A") + deepBullet("Leaf 1") + deepBullet("Leaf 3")
                        + bullet("Node B") + deepBullet("Leaf 2") + bullet(""))},
        ListingCase{Tree, true, 0, kTreeItems,
                    row("&nbsp;&#149; Root<BR>" + bullet("Node A") + deepBullet("Leaf 1") + deepBullet("Leaf 3")
                        + bullet("Node B") + deepBullet("Leaf 2") + bullet(""))},
        ListingCase{Tree, true, 1, kTreeItems + kTreePlacement,
                    row("&nbsp;&#149; Root<BR>" + bullet("Node A") + deepBullet("Leaf 1") + deepBullet("Leaf 3")
                        + bullet("Node B") + deepBullet("Leaf 2") + bullet(""))},
        // The sheet shows the right placement only with the answers.
        ListingCase{SelectPlace, false, 0, "", kPairs}, ListingCase{SelectPlace, true, 1, kPairs, kPairs},
        ListingCase{NoAnswers, true, 1, "", ""}, ListingCase{ListNoRows, true, 1, "", ""},
        ListingCase{PlaceNoRows, true, 1, "", ""},
        ListingCase{ChoicesAndFill, true, 1, row("<b>* </b>A) only choice"), row("<b>* </b>A) only choice")},
        ListingCase{999, true, 1, "", ""}));

TEST_F(AnswerListingsTest, TheSheetListsChoicesInTheOrderItIsGiven)
{
    std::vector<int> seen;
    AnswerListings sheet(bank.conn(), [&seen](int code, const std::vector<ExamBank::Choice>& bySequence) {
        seen.push_back(code);
        std::vector<ExamBank::Choice> listed;
        for (const int seq : {4, 2, 3, 5, 1})
            for (const ExamBank::Choice& choice : bySequence)
                if (choice.seq == seq)
                    listed.push_back(choice);
        return listed;
    });
    EXPECT_EQ(sheet.CheckAllAnswertableForNote(Choices, true, 0),
              row("<b>* </b>A) c4") + row("<b>* </b>B) c2") + row("C) c3") + row("D) c5") + row("E) c1"));
    EXPECT_EQ(seen, std::vector<int>{Choices});
}

TEST_F(AnswerListingsTest, SixthAndSeventhChoicesGetTheirLettersAndLaterOnesNone)
{
    for (int seq = 1; seq <= 7; ++seq)
        bank.choice(50, seq, QStringLiteral("c%1").arg(seq), seq == 7);
    bank.choice(50, 7, QStringLiteral("again"), false);
    const QString expected = row("A) c1") + row("B) c2") + row("C) c3") + row("D) c4") + row("E) c5") + row("F) c6")
        + row("<b>* </b>G) c7") + row("again");
    EXPECT_EQ(AnswerListings(bank.conn()).getAllAnswersForNoteChoice(50, true), expected);
    EXPECT_EQ(debugLogLines().size(), 1) << "the unlabelled row is logged";
    EXPECT_TRUE(readDebugLog().contains(": GetAllAnswesForNoteChoice:basZiduver:Question Type 50: Date/Time :"));
    removeDebugLog();
    EXPECT_EQ(NoteAnswerListings(bank.conn()).GetAllAnswersForNoteChoice(50, true), expected);
    EXPECT_EQ(readDebugLog(), QString());
}

TEST_F(AnswerListingsTest, NullTextsCostOnlyTheirOwnLines)
{
    db::Connection& c = bank.conn();
    // A tree whose second node and one leaf have no text.
    bank.shownQuestion(60, 4, 2, QStringLiteral("Tree"));
    c.exec("INSERT INTO Qe_AnswerInteractive VALUES (60, 'N1', 1, 'L1', 1, 'R'), (60, NULL, 2, 'L2', 2, 'R')");
    c.exec("INSERT INTO Qe_InteractiveRightAnswer VALUES (60, 'L1', 1, 'N1', 1), (60, NULL, 2, 'N1', 1), "
           "(60, 'L2', 3, 'N2', 2)");
    EXPECT_EQ(AnswerListings(c).GetAllAnswersForNoteInterTree(60, 1),
              row("<table width=100% border=1><tr><td>&nbsp;&#149; R<BR>" + bullet("N1") + "</td><td>" + bullet("L1")
                  + bullet("L2") + "</td></tr></table>")
                  + row("<b>Correct Order</B><br><br>" + bullet("N1") + deepBullet("L1") + deepBullet("L2")));
    // The notes list only named nodes.
    EXPECT_EQ(NoteAnswerListings(c).GetAllAnswersForNoteInterTree(60),
              row("&nbsp;&#149; R<BR>" + bullet("N1") + deepBullet("L1")));

    bank.shownQuestion(61, 4, 3, QStringLiteral("Place"));
    c.exec("INSERT INTO Qe_AnswerInteractive VALUES (61, 'V', 1, 'P', 1, NULL)");
    c.exec("INSERT INTO Qe_InteractiveRightAnswer VALUES (61, 'P1', 1, NULL, 1), (61, 'P2', 2, 'V2', 2), "
           "(61, NULL, 3, 'V3', 3)");
    const QString pairs = row("&nbsp;P2&nbsp;&nbsp;-------&nbsp;&nbsp;V2<BR>");
    EXPECT_EQ(AnswerListings(c).CheckAllAnswertableForNote(61, true, 0), pairs);
    EXPECT_EQ(NoteAnswerListings(c).CheckAllAnswerTableForNote(61, false), pairs);

    // A choice without text keeps its label.
    c.exec("INSERT INTO Qe_AnswerChoice VALUES (62, 1, NULL, 1), (62, 2, 'two', 0)");
    EXPECT_EQ(AnswerListings(c).getAllAnswersForNoteChoice(62, true), row("<b>* </b>A) ") + row("B) two"));
    EXPECT_EQ(readDebugLog(), QString());
}

TEST_F(AnswerListingsTest, ATreeNodeWithoutLeavesPrintsItsLineAlone)
{
    bank.shownQuestion(70, 4, 2, QStringLiteral("Tree"));
    bank.writer().addInteractiveRow({70, QStringLiteral("Lonely"), 1, QStringLiteral("Leaf"), 1, QStringLiteral("R")});
    EXPECT_EQ(NoteAnswerListings(bank.conn()).CheckAllAnswerTableForNote(70, true),
              row("&nbsp;&#149; R<BR>" + bullet("Lonely")));
    EXPECT_TRUE(AnswerListings(bank.conn())
                    .CheckAllAnswertableForNote(70, true, 1)
                    .endsWith(row("<b>Correct Order</B><br><br>" + bullet("Lonely"))));
}

TEST_F(AnswerListingsTest, ListingsOnEmptyResultsKeepTheirClosingTags)
{
    AnswerListings sheet(bank.conn());
    NoteAnswerListings notes(bank.conn());
    EXPECT_EQ(sheet.GetaLLAnswersForNoteEssay(NoAnswers), "</td></tr>");
    EXPECT_EQ(notes.GetaLLAnswersForNoteEssay(NoAnswers), "</td></tr>");
    EXPECT_EQ(sheet.GetAllAnswersForNoteInterSelect(NoAnswers), "</td></tr>");
    EXPECT_EQ(notes.GetAllAnswersForNoteInterSelect(NoAnswers), "</td></tr>");
    EXPECT_EQ(notes.GetAllAnswersForNoteInterTree(NoAnswers), "</td></tr>");
    EXPECT_EQ(sheet.GetAllAnswersForNoteInterTree(NoAnswers, 0), "");
    EXPECT_EQ(sheet.getAllAnswersForNoteChoice(NoAnswers, true), "");
    EXPECT_EQ(notes.GetAllAnswersForNoteChoice(NoAnswers, true), "");
}

TEST_F(AnswerListingsTest, ADatabaseErrorIsLoggedByTheSheetAndPassedOnByTheNotes)
{
    bank.conn().exec("DROP TABLE Qe_InteractiveRightAnswer");
    // The sheet keeps the rows built before the failing read.
    EXPECT_EQ(AnswerListings(bank.conn()).GetAllAnswersForNoteInterTree(Tree, 1), kTreeItems);
    const QStringList lines = debugLogLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains("Qe_InteractiveRightAnswer")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(": GetAllAnswersForNoteInterTree:basZiduver:Date/Time :"));

    EXPECT_THROW(NoteAnswerListings(bank.conn()).CheckAllAnswerTableForNote(Tree, false), db::DbError);
    EXPECT_THROW(NoteAnswerListings(bank.conn()).CheckAllAnswerTableForNote(SelectPlace, false), db::DbError);

    bank.conn().exec("DROP TABLE Qe_AnswerChoice");
    removeDebugLog();
    EXPECT_EQ(AnswerListings(bank.conn()).CheckAllAnswertableForNote(Choices, true, 1), "");
    EXPECT_TRUE(readDebugLog().contains(": CheckAllAnswertableForNote:basZiduver:Question Type 0: Date/Time :"));
    EXPECT_THROW(NoteAnswerListings(bank.conn()).CheckAllAnswerTableForNote(Choices, true), db::DbError);
}

TEST_F(AnswerListingsTest, DebugModeLogsEachListing)
{
    gStartup.gDebug = 1;
    AnswerListings(bank.conn()).CheckAllAnswertableForNote(Tree, true, 1);
    const QString log = readDebugLog();
    EXPECT_TRUE(log.contains("Tree Questions Successful: GetAllAnswersForNoteInterTree:basZiduver: Date/Time :"));
    EXPECT_TRUE(log.contains(
        "Answer Note selection Successful: CheckAllAnswertableForNote:basZiduver:Question Type 2: Date/Time :"));
}

} // namespace
