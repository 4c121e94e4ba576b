#include "foundation/SharedState.h"
#include "foundation/UserNotesTable.h"
#include "notes/NotesBrowser.h"
#include "notes/NotesReport.h"
#include "platform/db/Transaction.h"
#include "platform/pages/HtmlSanitizer.h"
#include "platform/pages/PageAddress.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <gtest/gtest.h>

using namespace notesreport;

namespace {

constexpr int kUser = 5;
constexpr int kOther = 6;
// Questions of the bank.
constexpr int kChoice = 1; // seven choices, the second and the sixth right
constexpr int kEssay = 2;  // two accepted answers
constexpr int kMissing = 999;

const QString kNote = QStringLiteral("Look at <b>this</b> & that\r\nsecond line\nan older bare line");
const QString kNoteHtml =
    QStringLiteral("Look at &lt;b&gt;this&lt;/b&gt; &amp; that<br>second line<br>an older bare line");

class NotesReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        ExamBankWriter& w = bank.writer();
        w.addCategory({1, QStringLiteral("Routing & Switching"), false});
        w.addChapter({10, 1, QStringLiteral("Static"), false});

        ExamBankWriter::QuestionRow choice = ExamBankWriter::QuestionRow::multipleChoice(kChoice);
        choice.category = 1;
        choice.chapter = 10;
        choice.text = QStringLiteral("Which route?\r\nSee <a href='x'>x</a> or <A HREF='y'>y</A>");
        choice.explanation = QStringLiteral("Because ///image=fig.gif/// it is.");
        w.addQuestion(choice);
        for (int seq = 1; seq <= 7; ++seq)
            bank.choice(kChoice, seq, QStringLiteral("choice %1").arg(seq), seq == 2 || seq == 6);

        ExamBankWriter::QuestionRow essay = ExamBankWriter::QuestionRow::multipleChoice(kEssay);
        essay.type = 2;
        essay.category = 1;
        essay.chapter = 0; // no chapter row: an empty chapter
        essay.text = QStringLiteral("Explain booting.");
        w.addQuestion(essay);
        w.addFillAnswer(kEssay, QStringLiteral("boot loader"));
        w.addFillAnswer(kEssay, QStringLiteral("kernel"));

        UserNotesTable notes(bank.conn());
        first = notes.addNote(kUser, kChoice, kNote, QDate(2024, 1, 1));
        second = notes.addNote(kUser, kChoice, QStringLiteral("second note"), QDate(2024, 1, 2));
        others = notes.addNote(kOther, kEssay, QStringLiteral("the other user's"), QDate(2024, 1, 3));
        bank.conn().exec(QStringLiteral("INSERT INTO Qe_UserNotes (Qn_UserCode, Qn_QuestCode, Qn_noteDesc) "
                                        "VALUES (?, ?, NULL)"),
                         {kUser, kEssay});
        nullNote = bank.conn().lastInsertId();
        essayNote = notes.addNote(kUser, kEssay, QStringLiteral("on the essay"), QDate(2024, 1, 4));
        orphan = notes.addNote(kUser, kMissing, QStringLiteral("on no question"), QDate(2024, 1, 5));

        folder = QFileInfo(bank.path()).absolutePath();
        QDir(folder).mkpath(QStringLiteral("images"));
        QFile picture(QDir(folder).filePath(QStringLiteral("images/fig.gif")));
        ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
        picture.write(gif(4, 4));
    }
    void TearDown() override { resetStartupState(); }

    NotesReportRequest userRequest()
    {
        NotesReportRequest request;
        request.examPath = bank.path();
        request.userCode = kUser;
        // As the browser lists the user's notes: one code per note.
        request.questCodes = {kChoice, kChoice, kEssay, kEssay, kMissing};
        request.noteIds = {first, second, nullNote, essayNote, orphan};
        request.fontFace = QStringLiteral("Trebuchet \"MS\"");
        return request;
    }
    NotesPage page(const NotesReportRequest& request) { return CreateQuestReport(bank.conn(), request, false); }

    ExamBankFixture bank;
    QString folder;
    qint64 first = 0, second = 0, others = 0, nullNote = 0, essayNote = 0, orphan = 0;
};

TEST_F(NotesReportTest, AUsersNotesEachWithItsQuestionAnswersAndEscapedText)
{
    const NotesPage built = page(userRequest());
    ASSERT_TRUE(built.hasQuestions);
    const QString& html = built.html;

    EXPECT_TRUE(html.startsWith(
        QStringLiteral("<html><body><font face=\"Trebuchet &quot;MS&quot;\" size=2><table width=\"100%\" border=\"1\" "
                       "cellpadding=\"5\" cellspacing=\"0\"><tbody><tr><td width=\"85%\"><b>Category:</b>"
                       "Routing &amp; Switching<br><b>Chapter:</b>Static</td> <td><b>QID:</b>     1</td></tr>")))
        << html.left(400).toStdString();
    EXPECT_TRUE(html.endsWith(QStringLiteral("</tbody></table></font></body></html><br><br>")));

    // One block per note, in the order they were written; a note without
    // text and one on a question not in the bank are left out.
    EXPECT_EQ(html.count(QStringLiteral("<b>QID:</b>     1</td>")), 2);
    EXPECT_EQ(html.count(QStringLiteral("<b>QID:</b>     2</td>")), 1);
    EXPECT_EQ(html.count(QStringLiteral("<b>Note:</b>")), 3);
    const qsizetype a = html.indexOf(kNoteHtml), b = html.indexOf(QStringLiteral("second note")),
                    c = html.indexOf(QStringLiteral("on the essay"));
    EXPECT_TRUE(a > 0 && a < b && b < c) << a << " " << b << " " << c;
    EXPECT_FALSE(html.contains(QStringLiteral("on no question")));
    EXPECT_FALSE(html.contains(QStringLiteral("the other user's")));

    EXPECT_TRUE(html.contains(QStringLiteral("<tr><td colspan=\"2\"><b>Note:</b><br>") + kNoteHtml
                              + QStringLiteral(" </td></tr> ")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><td colspan=\"2\"><b>Question:</b><br>Which route?<br>\n"
                                             "See <a>x</a> or <a>y</a></td></tr> ")))
        << "line breaks shown; the links keep their text";
    EXPECT_FALSE(html.contains(QStringLiteral("href"), Qt::CaseInsensitive)) << "no link in a printout stays live";
    EXPECT_TRUE(html.contains(QStringLiteral("<b>Chapter:</b></td>"))) << "the essay has no chapter row";

    // Without the answers flag: every choice labelled, none starred, no
    // accepted answers; no explanation.
    for (const char* label : {"A) choice 1", "F) choice 6", "G) choice 7"})
        EXPECT_EQ(html.count(QString::fromLatin1(label)), 2) << label;
    EXPECT_FALSE(html.contains(QStringLiteral("<b>* </b>")));
    EXPECT_FALSE(html.contains(QStringLiteral("boot loader")));
    EXPECT_FALSE(html.contains(QStringLiteral("Explanation:")));
}

TEST_F(NotesReportTest, RightAnswersAndExplanationsWhenAskedFor)
{
    NotesReportRequest request = userRequest();
    request.answers = true;
    request.explanation = true;
    const QString html = page(request).html;

    EXPECT_EQ(html.count(QStringLiteral("<b>* </b>")), 4) << "two right choices, the question listed twice";
    EXPECT_EQ(html.count(QStringLiteral("<tr><td colspan=\"2\"><b>* </b>B) choice 2</td></tr>")), 2);
    EXPECT_EQ(html.count(QStringLiteral("<tr><td colspan=\"2\"><b>* </b>F) choice 6</td></tr>")), 2);
    EXPECT_EQ(html.count(QStringLiteral("<tr><td colspan=\"2\">A) choice 1</td></tr>")), 2);
    EXPECT_EQ(html.count(QStringLiteral("<tr><td colspan=\"2\">boot loader, kernel</td></tr>")), 1);

    // The picture comes from the images folder beside the notes' exam.
    const QString src =
        page_address::forFile(QDir(folder).filePath(QStringLiteral("images/fig.gif"))).toString(QUrl::FullyEncoded);
    EXPECT_EQ(html.count(QStringLiteral("<tr><td colspan=\"2\"><b>Explanation:</b>Because <br> <img src=\"") + src
                         + QStringLiteral("\"><br> it is.<br></td></tr>")),
              2);
    EXPECT_EQ(html.count(QStringLiteral("<tr><td colspan=\"2\"><b>Explanation:</b><br></td></tr>")), 1)
        << "the essay has no explanation";
}

TEST_F(NotesReportTest, EveryUsersListedNotesByTheirKeys)
{
    NotesReportRequest request = userRequest();
    request.userCode.reset();
    request.noteIds = {others, first, nullNote, orphan};
    request.questCodes = {kEssay, kChoice, kEssay, kMissing};
    const QString html = page(request).html;

    EXPECT_EQ(html.count(QStringLiteral("<b>Note:</b>")), 2);
    const qsizetype mine = html.indexOf(kNoteHtml), theirs = html.indexOf(QStringLiteral("the other user's"));
    EXPECT_TRUE(mine > 0 && mine < theirs) << "by note key";
    EXPECT_FALSE(html.contains(QStringLiteral("second note"))) << "only the notes listed";
    EXPECT_FALSE(html.contains(QStringLiteral("on the essay")));
}

TEST_F(NotesReportTest, NothingToPrintGivesNoPage)
{
    NotesReportRequest request = userRequest();
    request.questCodes = {kMissing};
    EXPECT_FALSE(page(request).hasQuestions);
    request.questCodes.clear();
    EXPECT_FALSE(page(request).hasQuestions);
    request.userCode = kOther;
    request.questCodes = {kChoice};
    EXPECT_FALSE(page(request).hasQuestions) << "the user has no note on it";
    request.userCode.reset();
    request.noteIds = {nullNote};
    EXPECT_FALSE(page(request).hasQuestions);
}

// Every listed note prints, however many: each text is sanitized alone, so
// the printout's size never replaces it, and a text too long to show costs
// only its own place.
TEST_F(NotesReportTest, EveryListedNotePrintsAndATooLongTextCostsOnlyItsPlace)
{
    constexpr int kNotes = 30000;
    NotesReportRequest request = userRequest();
    {
        db::Transaction transaction(bank.conn());
        UserNotesTable notes(bank.conn());
        for (int i = 0; i < kNotes; ++i) {
            request.questCodes.push_back(i % 2 ? kChoice : kEssay);
            request.noteIds.push_back(notes.addNote(kUser, i % 2 ? kChoice : kEssay,
                                                    QStringLiteral("<i>note</i> %1").arg(i), QDate(2024, 2, 1)));
        }
        transaction.commit();
    }
    std::vector<std::pair<qsizetype, qsizetype>> heard;
    const QString html = CreateQuestReport(bank.conn(), request, false, [&](qsizetype done, qsizetype total) {
                             heard.push_back({done, total});
                         }).html;
    EXPECT_EQ(html.count(QStringLiteral("<b>Note:</b>")), kNotes + 3);
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;i&gt;note&lt;/i&gt; %1 </td>").arg(kNotes - 1)));
    EXPECT_FALSE(html.contains(html_sanitizer::tooLongMessage()));
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), std::make_pair(qsizetype(kNotes + 3), qsizetype(kNotes + 3)));

    // One question's text over one text's limit (and over the limit of all
    // the notes' texts together): only it gives way.
    bank.conn().exec(QStringLiteral("DELETE FROM Qe_UserNotes WHERE Qn_noteDesc LIKE '<i>note</i>%'"));
    const QString huge = QStringLiteral("<b>x</b>") + QString(8'000'000, QLatin1Char('x'));
    bank.conn().exec(QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_Quest_Desc = ? WHERE Qq_QuestCode = ?"),
                     {huge, kEssay});
    const QString cut = page(userRequest()).html;
    EXPECT_EQ(cut.count(html_sanitizer::tooLongMessage()), 1);
    EXPECT_EQ(cut.count(QStringLiteral("<b>Note:</b>")), 3);
    EXPECT_TRUE(cut.contains(QStringLiteral("Which route?")));
}

TEST(NoteText, EscapedThenItsLineBreaksBreakTheLine)
{
    struct Case {
        const char* stored;
        const char* html;
    };
    const Case cases[] = {
        {"a\r\nb", "a<br>b"},
        {"a\nb\rc", "a<br>b<br>c"},
        {"\r\n\r\n", "<br><br>"},
        {"<i>'x' & \"y\"</i>", "&lt;i&gt;'x' &amp; &quot;y&quot;&lt;/i&gt;"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(noteHtml(QString::fromUtf8(c.stored)), QString::fromUtf8(c.html)) << c.stored;
}

TEST(NoteText, ExportRequestListsEveryRowOnce)
{
    std::vector<notesbrowser::NoteRow> rows(3);
    rows[0].questCode = 7;
    rows[0].noteId = 70;
    rows[1].questCode = 7;
    rows[1].noteId = 71;
    rows[2].questCode = 9;
    rows[2].noteId = 90;
    for (auto& row : rows)
        row.path = QStringLiteral("/x/Net-Plus/a-b.qzr");
    const NotesReportRequest request = exportRequest(rows, 4);
    EXPECT_EQ(request.examPath, QStringLiteral("/x/Net-Plus/a-b.qzr"));
    EXPECT_EQ(request.userCode, std::optional<int>(4));
    EXPECT_EQ(request.questCodes, (std::vector<int>{7, 7, 9}));
    EXPECT_EQ(request.noteIds, (std::vector<qint64>{70, 71, 90}));
}

} // namespace
