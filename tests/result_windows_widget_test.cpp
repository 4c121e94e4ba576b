#include "exam/ExamSession.h"
#include "exam/links/ExamReviewLink.h"
#include "exam/links/ResultWindowLink.h"
#include "foundation/DebugLog.h"
#include "foundation/Messages.h"
#include "foundation/SharedState.h"
#include "results/windows/WidgetResultBars.h"
#include "results/windows/frmExamReview.h"
#include "results/windows/frmSimulatedResult.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kApp = QStringLiteral("Ziduver");

// Runs `step` once the modal window is up, inside its own loop.
void whenShown(std::function<void()> step)
{
    QTimer::singleShot(0, [step = std::move(step)] { step(); });
}

QString gridText(QTableWidget* grid, int row, int col)
{
    QTableWidgetItem* item = grid->item(row, col);
    return item ? item->text() : QStringLiteral("<none>");
}

QStringList column(QTableWidget* grid, int col)
{
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << gridText(grid, r, col);
    return texts;
}

// An exam database with three categories and the running exam's session
// over it. Questions 1 to 9: 1-6 in "Routing & Switching" (4 right), 7-9 in
// "Security" (none right); "Empty" has no question in the exam.
class ResultWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        gLogin.gAppName = gLogin.gAppTitle = kApp;
        bank.writer().addCategory({1, QStringLiteral("Routing & Switching")});
        bank.writer().addCategory({2, QStringLiteral("Security")});
        bank.writer().addCategory({3, QStringLiteral("Empty")});
        bank.questions(1, 6, 1).questions(7, 3, 2);
        for (int code = 1; code <= 9; ++code) {
            session.msflex.addQuestion(code, code % 4 + 1);
            session.msflex.setText(code, colCorrect, QLatin1String(code <= 4 ? "1" : "0"));
            session.msflex.setText(code, colNoAnswer, QLatin1String(code == 6 ? "1" : "0"));
            session.msflex.setText(code, colMarked, QLatin1String(code % 2 == 0 ? "1" : "0"));
            session.cboCategory.set(code, code <= 6 ? 1 : 2);
        }
        session.launch.gExamMode = QStringLiteral("SIMULATED");
        session.launch.gQuizQuestionCount = 9;
        session.launch.gQuizPassScore = 40;
        session.launch.gQuizExamName = QStringLiteral("Networks & Systems");
        session.launch.gQuizConnStr = bank.connectionString();
        session.QuestionsReached = 9;
        session.CurrentQuestion = 9;
    }

    void TearDown() override
    {
        settle(0);
        EXPECT_EQ(frmSimulatedResult::loaded(), nullptr);
        EXPECT_EQ(frmExamReview::loaded(), nullptr);
    }

    TempHome home;
    RecordingUiHooks ui;
    ExamBankFixture bank;
    ExamSession session;
};

TEST_F(ResultWindows, ResultShowsScorePassMarkAndOneBarPairPerCategory)
{
    frmSimulatedResult& w = frmSimulatedResult::load(session, nullptr);
    EXPECT_EQ(w.windowTitle(), "Ziduver [SIMULATED]");
    EXPECT_EQ(w.Frame4->title(), "Networks && Systems"); // a group box title shows "&" only doubled
    EXPECT_TRUE(w.Frame1->isVisibleTo(&w));
    EXPECT_EQ(w.Frame2->title(), "Score Per Category");
    EXPECT_EQ(w.Label1->text(), "Your Score :");
    EXPECT_EQ(w.Label2->text(), "Passing Score :");
    // 4 of 9 is 44.4 %: passed against 40 %.
    EXPECT_EQ(w.lblMyScore->text(), "44%");
    EXPECT_EQ(w.lblPassScore->text(), "40%");
    EXPECT_EQ(w.lblMyScoreBar->barLength(), 44 * 80);
    EXPECT_EQ(w.lblMyScoreBar->barColor(), QColor(0, 255, 0));
    EXPECT_TRUE(w.lblMyScore->styleSheet().contains(QLatin1String("rgb(0, 128, 0)")));
    EXPECT_TRUE(w.Label1->styleSheet().contains(QLatin1String("rgb(0, 128, 0)")));
    EXPECT_EQ(w.lblMyScoreBar->passMarker(), 40 * 80);
    EXPECT_EQ(w.image1->text(), "&Close");
    EXPECT_EQ(w.Label3->text(), "Scroll mouse over category to see the details");

    ASSERT_EQ(w.lblCat.size(), 3u);
    ASSERT_EQ(w.lblCatTot.size(), 3u);
    EXPECT_EQ(w.lblCat[0]->text(), "Routing & Switching");
    EXPECT_EQ(w.lblCat[0]->textFormat(), Qt::PlainText);
    EXPECT_EQ(w.lblCat[1]->text(), "Security");
    EXPECT_EQ(w.lblCat[2]->text(), "Empty");
    EXPECT_EQ(w.lblCatTot[0]->toolTip(), "Total questions asked : 6 : Correct answers : 4");
    EXPECT_EQ(w.lblCatTot[0]->correctLength(), 5333);
    EXPECT_EQ(w.lblCatTot[1]->toolTip(), "Total questions asked : 3 : Correct answers : 0");
    EXPECT_EQ(w.lblCatTot[1]->correctLength(), 0);
    EXPECT_EQ(w.lblCatTot[2]->toolTip(), "Total questions asked : 0 : Correct answers : 0");
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();

    // Closing returns from the modal call and unloads the window.
    bool closed = false;
    whenShown([&closed] {
        frmSimulatedResult* shown = frmSimulatedResult::loaded();
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isVisible());
        shown->image1->click();
        closed = true;
    });
    ResultWindowLink::wire(&frmSimulatedResult::showResult);
    ResultWindowLink::open(session, nullptr);
    ResultWindowLink::wire(nullptr);
    EXPECT_TRUE(closed);
    EXPECT_EQ(frmSimulatedResult::loaded(), nullptr);
}

TEST_F(ResultWindows, PretestHidesTheScoreAndCountsUpToTheQuestionOnScreen)
{
    session.launch.gExamMode = QStringLiteral("TEST");
    session.launch.gQuizPassScore = 50;
    session.CurrentQuestion = session.QuestionsReached = 3; // ended early on question 3
    frmSimulatedResult& w = frmSimulatedResult::load(session, nullptr);
    EXPECT_EQ(w.windowTitle(), "Ziduver [Pretest]");
    EXPECT_FALSE(w.Frame1->isVisibleTo(&w));
    EXPECT_EQ(w.Frame2->title(), "Pretest Results by Category");
    EXPECT_EQ(w.lblCatTot[0]->toolTip(), "Total questions asked : 3 : Correct answers : 3");
    EXPECT_EQ(w.lblCatTot[1]->toolTip(), "Total questions asked : 0 : Correct answers : 0");
    // The hidden score still divides by the whole count, and fails.
    EXPECT_EQ(w.lblMyScore->text(), "44%");
    EXPECT_EQ(w.lblMyScoreBar->barColor(), QColor(255, 0, 0));
    EXPECT_TRUE(w.lblMyScore->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));
    w.unload();
}

TEST_F(ResultWindows, ResultWithoutItsDatabaseIsLoggedShownAndKeepsTheScore)
{
    removeDebugLog();
    session.launch.gQuizConnStr = QStringLiteral("DBQ=") + home.file(QStringLiteral("missing.qzr")) + QLatin1Char(';');
    frmSimulatedResult& w = frmSimulatedResult::load(session, nullptr);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].title, kApp);
    const QStringList log = debugLogLines();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains(QLatin1String(":Form_load: frmSimulatedResult: Date/Time "))) << log[0].toStdString();
    // The score comes from the exam's list: 4 of its 9 questions right.
    EXPECT_EQ(w.lblMyScore->text(), "44%");
    EXPECT_EQ(w.lblPassScore->text(), "40%");
    // Only the row laid out for the first category, without a name or tool tip.
    ASSERT_EQ(w.lblCat.size(), 1u);
    EXPECT_EQ(w.lblCat[0]->text(), QString());
    EXPECT_EQ(w.lblCatTot[0]->toolTip(), QString());
    w.unload();
}

// ---- the review list ----

TEST_F(ResultWindows, ReviewListsTheQuestionsReachedWithStatusAndFilters)
{
    session.QuestionsReached = 7;
    bank.conn().exec(QStringLiteral("UPDATE Qe_QuestionsHead SET Qq_CatCode = NULL WHERE Qq_QuestCode = 7"));
    frmExamReview& w = frmExamReview::load(session, nullptr);
    EXPECT_EQ(w.windowTitle(), "Ziduver - Exam Review");
    EXPECT_EQ(w.grdQuestions->horizontalHeaderItem(0)->text(), "Question");
    EXPECT_EQ(w.grdQuestions->horizontalHeaderItem(1)->text(), "Status");
    EXPECT_EQ(w.grdQuestions->horizontalHeaderItem(2)->text(), "Category");
    EXPECT_EQ(w.grdQuestions->toolTip(), "Double click to review the question..");
    EXPECT_EQ(w.lblCorrect->text(), "A - Correct Answer");
    EXPECT_EQ(w.lblWrong->text(), "W - Wrong Answer");
    EXPECT_EQ(w.lblNotAnswered->text(), "N - Not Answered");
    EXPECT_EQ(w.CheckMarkedOnly->text(), "Marked Questions Only");
    EXPECT_EQ(w.CheckWrongAnswers->text(), "Wrong Answers  Only");
    EXPECT_EQ(w.cmdOK->text(), "Close");
    EXPECT_EQ(w.Command1->text(), "Goto Question");
    EXPECT_TRUE(w.CheckMarkedOnly->isVisibleTo(&w));

    // Seven of nine reached; question 7 has a Null category.
    EXPECT_EQ(column(w.grdQuestions, 0), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(column(w.grdQuestions, 1), (QStringList{"A", "A", "A", "A", "W", "N", "W"}));
    EXPECT_EQ(column(w.grdQuestions, 2),
              (QStringList{"Routing & Switching", "Routing & Switching", "Routing & Switching", "Routing & Switching",
                           "Routing & Switching", "Routing & Switching", ""}));
    EXPECT_EQ(column(w.grdQuestions, 3),
              (QStringList{"Essay", "Fill-in-the Blank(s)", "Interactive", "Multiple", "Essay", "Fill-in-the Blank(s)",
                           "Interactive"}));
    EXPECT_EQ(column(w.grdQuestions, 4), (QStringList{"", "M", "", "M", "", "M", ""}));
    QTableWidgetItem* right = w.grdQuestions->item(0, 1);
    EXPECT_TRUE(right->font().bold());
    EXPECT_EQ(right->foreground().color(), QColor(0, 255, 0));
    EXPECT_EQ(w.grdQuestions->item(4, 1)->foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(w.grdQuestions->item(5, 1)->font().bold());
    EXPECT_EQ(w.counts().correct, 4);
    EXPECT_EQ(w.counts().wrong, 2);
    EXPECT_EQ(w.counts().notAnswered, 1);

    w.CheckWrongAnswers->click();
    EXPECT_EQ(column(w.grdQuestions, 0), (QStringList{"5", "7"}));
    w.CheckMarkedOnly->click();
    EXPECT_EQ(column(w.grdQuestions, 0), QStringList());
    w.CheckWrongAnswers->click();
    EXPECT_EQ(column(w.grdQuestions, 0), (QStringList{"2", "4", "6"}));
    EXPECT_TRUE(ui.messages().empty());
    w.unload();
}

TEST_F(ResultWindows, ReviewTitlesFitInTheSkinsFontAndItsFiltersAreSquareCheckBoxes)
{
    home.copyLook();
    gStartup.gSkinFile = QStringLiteral("Skin/Ziduver.qss");
    frmExamReview& w = frmExamReview::load(session, nullptr);
    w.show();
    QHeaderView* header = w.grdQuestions->horizontalHeader();
    QFont bold = header->font();
    bold.setBold(true);
    // The skin pads each title 8 px on either side.
    for (int col = 0; col < w.grdQuestions->columnCount(); ++col) {
        const QString title = w.grdQuestions->horizontalHeaderItem(col)->text();
        if (title.isEmpty())
            continue;
        EXPECT_GE(header->sectionSize(col), QFontMetrics(bold).horizontalAdvance(title) + 16) << title.toStdString();
    }

    // A check box of the skin is a square box: its corner is drawn like the
    // middle of its side, and the side stands out from what lies beside it;
    // ticked, it is the accent colour with a white tick. An option button
    // stays round.
    struct Indicator {
        QImage drawn;
        QRect box;
        QColor at(int x, int y) const { return drawn.pixelColor(x, y); }
    };
    const auto indicatorOf = [](QAbstractButton& button, QStyle::SubElement element) {
        QStyleOptionButton option;
        option.initFrom(&button);
        return Indicator{button.grab().toImage(), button.style()->subElementRect(element, &option, &button)};
    };
    const auto apart = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue())
            + std::abs(a.alpha() - b.alpha());
    };
    // Drawn right into its corners (a round one leaves them empty).
    const auto square = [&apart](const Indicator& i) {
        const QColor outside = i.at(i.box.right() + 3, i.box.center().y());
        const QRect inner = i.box.adjusted(1, 1, -1, -1);
        for (const QPoint& corner : {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight()})
            if (apart(i.at(corner.x(), corner.y()), outside) < 60)
                return false;
        return true;
    };
    w.CheckWrongAnswers->setChecked(false);
    const Indicator unticked = indicatorOf(*w.CheckWrongAnswers, QStyle::SE_CheckBoxIndicator);
    EXPECT_TRUE(square(unticked));
    EXPECT_EQ(unticked.at(unticked.box.center().x(), unticked.box.center().y()), QColor(255, 255, 255));
    w.CheckWrongAnswers->setChecked(true);
    const Indicator ticked = indicatorOf(*w.CheckWrongAnswers, QStyle::SE_CheckBoxIndicator);
    EXPECT_TRUE(square(ticked));
    int accent = 0;
    int white = 0;
    for (int y = ticked.box.top() + 2; y < ticked.box.bottom() - 1; ++y)
        for (int x = ticked.box.left() + 2; x < ticked.box.right() - 1; ++x) {
            const QColor c = ticked.at(x, y);
            accent += c == QColor(0x0b, 0x6f, 0xc4);
            white += c.red() > 230 && c.green() > 230 && c.blue() > 230;
        }
    EXPECT_GT(accent, 20) << "filled with the accent";
    EXPECT_EQ(ticked.at(ticked.box.left() + 2, ticked.box.top() + 3), QColor(0x0b, 0x6f, 0xc4)) << "to its edges";
    EXPECT_GT(white, 6) << "and ticked";
    QRadioButton round(QStringLiteral("Option"), &w);
    round.setChecked(true);
    round.adjustSize();
    round.show();
    EXPECT_FALSE(square(indicatorOf(round, QStyle::SE_RadioButtonIndicator)));
    w.unload();
}

TEST_F(ResultWindows, ReviewHidesTheMarkedFilterInPractice)
{
    session.launch.gExamMode = QStringLiteral("PRACTICE");
    frmExamReview& practice = frmExamReview::load(session, nullptr);
    EXPECT_FALSE(practice.CheckMarkedOnly->isVisibleTo(&practice));
    EXPECT_TRUE(practice.CheckWrongAnswers->isVisibleTo(&practice));
    session.launch.gExamMode = QStringLiteral("TEST");
    frmExamReview& pretest = frmExamReview::load(session, nullptr);
    EXPECT_TRUE(pretest.CheckMarkedOnly->isVisibleTo(&pretest));
    whenShown([] { frmExamReview::loaded()->reject(); });
    frmExamReview::showReview(session, nullptr);
}

TEST_F(ResultWindows, ReviewGoToSendsTheChosenQuestionNumber)
{
    session.QuestionsReached = 9;
    whenShown([] {
        frmExamReview* w = frmExamReview::loaded();
        ASSERT_NE(w, nullptr);
        w->CheckMarkedOnly->click(); // rows 2, 4, 6, 8
        w->grdQuestions->selectRow(2);
        w->Command1->click();
    });
    ExamReviewLink::wire(&frmExamReview::showReview);
    const ReviewChoice choice = ExamReviewLink::open(session, nullptr);
    ExamReviewLink::wire(nullptr);
    EXPECT_TRUE(choice.goTo);
    EXPECT_EQ(choice.questionNo, 6);
    EXPECT_FALSE(choice.endExam);
    EXPECT_TRUE(ui.messages().empty());

    // A double click on a row does the same.
    whenShown([] {
        frmExamReview* w = frmExamReview::loaded();
        w->grdQuestions->selectRow(0);
        emit w->grdQuestions->cellDoubleClicked(0, 2);
    });
    const ReviewChoice clicked = frmExamReview::showReview(session, nullptr);
    EXPECT_TRUE(clicked.goTo);
    EXPECT_EQ(clicked.questionNo, 1);
}

TEST_F(ResultWindows, ReviewWithoutAChoiceAsksAndClosingChangesNothing)
{
    removeDebugLog();
    gStartup.gDebug = 1;
    bool stillOpen = false;
    whenShown([&stillOpen] {
        frmExamReview* w = frmExamReview::loaded();
        w->grdQuestions->clearSelection();
        w->Command1->click();                                              // no row chosen
        emit w->grdQuestions->horizontalHeader()->sectionDoubleClicked(0); // the header row
        stillOpen = w->isVisible();
        w->reject(); // the close box
    });
    const ReviewChoice choice = frmExamReview::showReview(session, nullptr);
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(choice.goTo);
    EXPECT_FALSE(choice.endExam);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].text,
              "Please choose a question to display.\r\nSelection does not appear in current question list.");
    EXPECT_EQ(ui.messages()[0].title, kApp);
    EXPECT_EQ(ui.messages()[0].style, int(OneButton));
    EXPECT_TRUE(debugLogLines().contains(
        QStringLiteral("Please choose a question to display.:GrdQuestions_DblClick:FrmExamReview ") + logDate()));
    EXPECT_TRUE(debugLogLines().contains(QStringLiteral("Loading Form :form_load: frmExamReview ") + logDate()));

    // Close with the exam passed: the exam is to end, from the exam window.
    session.ExamPassed = true;
    whenShown([] { frmExamReview::loaded()->cmdOK->click(); });
    const ReviewChoice passed = frmExamReview::showReview(session, nullptr);
    EXPECT_FALSE(passed.goTo);
    EXPECT_TRUE(passed.endExam);
}

} // namespace
