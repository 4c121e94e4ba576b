#include "foundation/SharedState.h"
#include "mainwindow/links/HistoricalAnalysisLink.h"
#include "mainwindow/links/LosScoreCardLink.h"
#include "mainwindow/windows/WidgetCategoryTreeView.h"
#include "results/ExamResult.h"
#include "results/windows/WidgetAnalysisBars.h"
#include "results/windows/frmHistoricalAnalysis.h"
#include "results/windows/frmLOS.h"
#include "tests/support/DebugLogFile.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Verdict = ExamBankFixture::Verdict;
const QString kApp = QStringLiteral("Ziduver");

// Runs `step` once the modal window is up, inside its own loop.
void whenShown(std::function<void()> step)
{
    QTimer::singleShot(0, [step = std::move(step)] { step(); });
}

void click(QWidget* widget, QPoint at)
{
    const QPointF local(at);
    const QPointF global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void clickPart(SegmentBar* bar, SegmentBar::Segment segment)
{
    ASSERT_EQ(bar->segmentAt(bar->pointIn(segment)), segment);
    click(bar, bar->pointIn(segment));
}

void moveOver(QWidget* widget, QPoint at)
{
    const QPointF local(at);
    QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QStringList texts(const std::array<QLabel*, 18>& labels, size_t from, size_t to)
{
    QStringList list;
    for (size_t i = from; i <= to; ++i)
        list << labels[i]->text();
    return list;
}

// An exam of 200 questions: "Routing & Switching" (code 1, 40 questions),
// "Security" (code 2, 160) and "Empty" (code 3, none). The user has
// completed pass 1 and answers pass 2: 25 right and 30 wrong, all of them in
// "Routing & Switching" but for 15 right ones in "Security".
class HistoricalAnalysisWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        gLogin.gAppName = gLogin.gAppTitle = kApp;
        gLogin.gExamDesc = QStringLiteral("Networks & Systems");
        gLogin.gExamConnStr = bank.connectionString();
        gLogin.gUserCode = QStringLiteral("7");
        bank.writer().addCategory({1, QStringLiteral("Routing & Switching")});
        bank.writer().addCategory({2, QStringLiteral("Security")});
        bank.writer().addCategory({3, QStringLiteral("Empty")});
        bank.questions(1, 40, 1).questions(41, 160, 2);
        for (int code = 1; code <= 150; ++code)
            bank.progress(7, code, Verdict::Right, 1);
        for (int code = 1; code <= 10; ++code)
            bank.progress(7, code, Verdict::Right);
        for (int code = 41; code <= 55; ++code)
            bank.progress(7, code, Verdict::Right);
        for (int code = 11; code <= 40; ++code)
            bank.progress(7, code, Verdict::Wrong);
    }

    void TearDown() override
    {
        settle(0);
        EXPECT_EQ(frmHistoricalAnalysis::loaded(), nullptr);
    }

    TempHome home;
    RecordingUiHooks ui;
    ExamBankFixture bank;
};

TEST_F(HistoricalAnalysisWindow, ShowsThePassesAndCategoriesAndTheirDetailsOnAClick)
{
    bool checked = false;
    whenShown([&] {
        frmHistoricalAnalysis* shown = frmHistoricalAnalysis::loaded();
        ASSERT_NE(shown, nullptr);
        frmHistoricalAnalysis& w = *shown;
        ASSERT_TRUE(w.isVisible());
        EXPECT_EQ(w.windowTitle(), "Ziduver: Historical Analysis");
        EXPECT_EQ(w.Frame2->title(), "Networks && Systems"); // a group box title shows "&" only doubled
        EXPECT_EQ(w.Frame3->title(), "Overall Progress");
        EXPECT_EQ(w.Frame4->title(), "Progress Per Category");
        EXPECT_EQ(w.SkinLabel1->text(), "Click on any bar to see details. ");
        EXPECT_EQ(w.image1->text(), "&Close");
        EXPECT_EQ(w.TotalQuestions(), 200);

        // Pass 1 completed (150 right), the pass in progress on row 2.
        EXPECT_DOUBLE_EQ(w.lblPass[0]->correctLength(), 5250);
        EXPECT_DOUBLE_EQ(w.lblPass[0]->wrongLength(), 0);
        EXPECT_DOUBLE_EQ(w.lblPass[1]->correctLength(), 875);
        EXPECT_DOUBLE_EQ(w.lblPass[1]->wrongLength(), 1050);
        EXPECT_DOUBLE_EQ(w.lblPass[2]->correctLength(), 0);
        EXPECT_FALSE(w.fraDetails->isVisible());

        // The wrong part of row 2: its box under the row, beside the part.
        clickPart(w.lblPass[1], SegmentBar::Wrong);
        EXPECT_TRUE(w.fraDetails->isVisible());
        EXPECT_EQ(w.lblProgressDetails[0]->text(), " Pass 2 Summary");
        EXPECT_EQ(texts(w.lblProgressDetails, 1, 7),
                  QStringList({"Number Correct:", "Number Incorrect:", "Number Unanswered:", "Total Number:",
                               "Percent Correct:", "Percent Incorrect:", "Percent Unanswered:"}));
        EXPECT_EQ(texts(w.lblProgressDetails, 8, 14), QStringList({"25", "30", "145", "200", "12%", "15%", "72%"}));
        PassBarPlace place{double(w.Frame3->x() * kLengthUnitsPerPixel), double(w.Frame3->y() * kLengthUnitsPerPixel),
                           double(w.lblPass[1]->y() * kLengthUnitsPerPixel),
                           double(w.lblPass[1]->height() * kLengthUnitsPerPixel),
                           w.lblPass[1]->x() * kLengthUnitsPerPixel + 875.0};
        const QPoint at = passDetailsPosition(2, PassSegment::Wrong, place);
        EXPECT_EQ(w.fraDetails->pos(), QPoint(at.x() / kLengthUnitsPerPixel, at.y() / kLengthUnitsPerPixel));
        EXPECT_GT(w.fraDetails->y(), w.Frame3->y() + w.lblPass[1]->geometry().bottom());

        // A row no pass was drawn on: everything unanswered.
        clickPart(w.lblPass[2], SegmentBar::Full);
        EXPECT_EQ(w.lblProgressDetails[0]->text(), " Pass 3 Summary");
        EXPECT_EQ(texts(w.lblProgressDetails, 8, 14), QStringList({"", "", "200", "200", "0%", "0%", "100%"}));
        // Over the pass bars the pointer is the hand, and it stays.
        moveOver(w.lblPass[0], QPoint(3, 3));
        EXPECT_EQ(w.cursor().shape(), Qt::PointingHandCursor);
        // An empty part of the pass frame hides the box.
        moveOver(w.Frame3, QPoint(w.Frame3->width() - 3, w.Frame3->height() - 3));
        EXPECT_FALSE(w.fraDetails->isVisible());
        EXPECT_EQ(w.cursor().shape(), Qt::PointingHandCursor);

        // One row per category, its name as written.
        ASSERT_EQ(w.lblCat.size(), 3u);
        EXPECT_EQ(w.lblCat[0]->text(), "Routing & Switching");
        EXPECT_EQ(w.lblCat[0]->textFormat(), Qt::PlainText);
        EXPECT_EQ(w.lblCat[2]->text(), "Empty");
        // 10 right and 30 wrong of 40; 15 right of 160; nothing of none.
        EXPECT_DOUBLE_EQ(w.lblCatTot[0]->correctLength(), 1500);
        EXPECT_DOUBLE_EQ(w.lblCatTot[0]->wrongLength(), 4500);
        EXPECT_DOUBLE_EQ(w.lblCatTot[1]->correctLength(), 562); // 562.5 to the even neighbour
        EXPECT_DOUBLE_EQ(w.lblCatTot[2]->correctLength(), 0);
        EXPECT_GT(w.lblCatTot[1]->y(), w.lblCat[1]->y());
        EXPECT_GT(w.lblCat[1]->y(), w.lblCatTot[0]->y());

        EXPECT_FALSE(w.picCatDetails->isVisible());
        clickPart(w.lblCatTot[0], SegmentBar::Wrong);
        EXPECT_TRUE(w.picCatDetails->isVisible());
        EXPECT_EQ(w.lblProgressDetails[16]->text(), "Total Questions Asked:");
        EXPECT_EQ(w.lblProgressDetails[15]->text(), "Number Correct:");
        EXPECT_EQ(w.lblProgressDetails[17]->text(), "Number Wrong:");
        EXPECT_EQ(w.CatProgress[0]->text(), "40");
        EXPECT_EQ(w.CatProgress[1]->text(), "10");
        EXPECT_EQ(w.CatProgress[2]->text(), "30");
        clickPart(w.lblCatTot[2], SegmentBar::Full);
        EXPECT_EQ(w.CatProgress[0]->text(), "0");
        EXPECT_EQ(w.CatProgress[1]->text(), "0");
        EXPECT_EQ(w.CatProgress[2]->text(), "0");
        // Moving over the names keeps the box; over the empty viewport hides it.
        QWidget* rows = w.vsView->widget();
        moveOver(rows, w.lblCat[1]->geometry().center());
        EXPECT_TRUE(w.picCatDetails->isVisible());
        moveOver(rows, QPoint(rows->width() - 2, rows->height() - 2));
        EXPECT_FALSE(w.picCatDetails->isVisible());

        EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
        checked = true;
        w.image1->click();
    });
    HistoricalAnalysisLink::wire(&frmHistoricalAnalysis::showModal);
    HistoricalAnalysisLink::open(nullptr);
    HistoricalAnalysisLink::wire(nullptr);
    EXPECT_TRUE(checked);
    EXPECT_EQ(frmHistoricalAnalysis::loaded(), nullptr);
}

// Whether a label shows its whole text inside its box.
::testing::AssertionResult wholeIn(const QLabel* label, const QWidget* box)
{
    const int needed = label->fontMetrics().horizontalAdvance(label->text());
    const QRect inBox(label->mapTo(box, QPoint(0, 0)), label->size());
    if (label->width() >= needed && box->rect().contains(inBox))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << '"' << label->text().toStdString() << "\" needs " << needed << " px, has "
                                         << label->width() << " at " << inBox.x() << " in a box " << box->width()
                                         << " px wide";
}

TEST_F(HistoricalAnalysisWindow, DetailsBoxesFitTheirTextsInTheSkinsFontAndOpenBesideTheBarClicked)
{
    home.copyLook();
    gStartup.gSkinFile = QStringLiteral("Skin/Ziduver.qss");
    for (int code = 4; code <= 9; ++code)
        bank.writer().addCategory({code, QStringLiteral("Category %1").arg(code)});
    bool checked = false;
    whenShown([&] {
        frmHistoricalAnalysis& w = *frmHistoricalAnalysis::loaded();
        clickPart(w.lblPass[1], SegmentBar::Correct);
        ASSERT_TRUE(w.fraDetails->isVisible());
        for (size_t i = 0; i <= 14; ++i)
            EXPECT_TRUE(wholeIn(w.lblProgressDetails[i], w.fraDetails));

        ASSERT_EQ(w.lblCatTot.size(), 9u);
        for (size_t row : {size_t(0), size_t(1), size_t(4), size_t(8)}) {
            click(w.lblCatTot[row], w.lblCatTot[row]->rect().center());
            ASSERT_TRUE(w.picCatDetails->isVisible()) << "row " << row;
            const int barMiddle = w.lblCatTot[row]->geometry().center().y();
            EXPECT_LE(w.picCatDetails->y(), barMiddle) << "row " << row;
            EXPECT_GE(w.picCatDetails->geometry().bottom(), barMiddle) << "row " << row;
            EXPECT_GE(w.picCatDetails->x(), w.lblCatTot[row]->geometry().right()) << "beside the bar, not over it";
            EXPECT_TRUE(w.vsView->widget()->rect().contains(w.picCatDetails->geometry())) << "inside the rows";
            for (size_t i = 15; i <= 17; ++i)
                EXPECT_TRUE(wholeIn(w.lblProgressDetails[i], w.picCatDetails));
            for (QLabel* value : w.CatProgress)
                EXPECT_TRUE(wholeIn(value, w.picCatDetails));
        }
        EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
        checked = true;
        w.image1->click();
    });
    frmHistoricalAnalysis::showModal(nullptr);
    EXPECT_TRUE(checked);
}

TEST_F(HistoricalAnalysisWindow, ADatabaseErrorIsLoggedAndShownAndTheWindowStillOpens)
{
    gLogin.gExamConnStr = QStringLiteral("DBQ=") + home.file(QStringLiteral("none.qzr")) + QLatin1Char(';');
    frmHistoricalAnalysis& w = frmHistoricalAnalysis::load(nullptr);
    ASSERT_EQ(ui.messages().size(), 2u); // the pass section and the category section
    EXPECT_EQ(ui.messages()[0].title, kApp);
    EXPECT_EQ(ui.messages()[0].owner, &w);
    const QStringList log = debugLogLines();
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].contains(QLatin1String(" :mnuhistoryanalysis_Click:frmHistoricalAnalysis")))
        << log[0].toStdString();
    EXPECT_TRUE(log[1].contains(QLatin1String(" :ShowMeUrCategory:frmHistoricalAnalysis"))) << log[1].toStdString();
    EXPECT_EQ(w.TotalQuestions(), 0);
    EXPECT_TRUE(w.lblCat.empty());
    w.showHistorDetails(1, 0, 0);
    EXPECT_EQ(texts(w.lblProgressDetails, 8, 14), QStringList({"", "", "0", "0", "0%", "0%", "0%"}));
    w.unload();
}

TEST_F(HistoricalAnalysisWindow, DebugLinesFollowTheLoad)
{
    gStartup.gDebug = 1;
    frmHistoricalAnalysis& w = frmHistoricalAnalysis::load(nullptr);
    const QStringList log = debugLogLines();
    ASSERT_GE(log.size(), 6);
    EXPECT_TRUE(log.first().startsWith(QLatin1String("Loading form :Form_Load:frmHistoricalAnalysis")));
    EXPECT_TRUE(log[1].startsWith(QLatin1String("Enter function historical analysis :mnuhistoryanalysis_Click")));
    EXPECT_TRUE(log[2].startsWith(QLatin1String("Display Category :ShowMeUrCategory:frmHistoricalAnalysis")));
    EXPECT_EQ(log.filter(QStringLiteral("Function to get the Bar width:getBarWidth:frmHistoricalAnalysis")).size(),
              6); // its start and end per category
    EXPECT_TRUE(log.last().startsWith(QLatin1String("Displayed historical analysis :Form_Load:frmHistoricalAnalysis")));
    w.unload();
}

// ---- the score card ----

// "text" per line of the list, "[x]" for a ticked one.
QStringList listed(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text()
                + (list->item(i)->checkState() == Qt::Checked ? QStringLiteral(" [x]") : QString());
    return lines;
}

void enter(QWidget* widget)
{
    const QPointF local(4, 4);
    QEnterEvent event(local, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &event);
}

// Categories "Networks & Systems" (1, chapter 11) and "Security" (2); four
// objectives, two complete.
class ScoreCardWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        gLogin.gAppName = gLogin.gAppTitle = kApp;
        gLogin.gExamDesc = QStringLiteral("Exam & One");
        gLogin.gExamConnStr = bank.connectionString();
        gLogin.gUserCode = QStringLiteral("7");
        bank.writer().addCategory({1, QStringLiteral("Networks & Systems")});
        bank.writer().addCategory({2, QStringLiteral("Security")});
        bank.chapter(11, 1);
        bank.questions(1, 3, 1).question(4, 1, 1, 11).questions(5, 3, 2);
        objective(1, 1, "a", 1);
        objective(4, 2, "b", 0);
        objective(5, 3, "c", 1);
        objective(6, 4, "d", 0);
    }

    void TearDown() override
    {
        settle(0);
        EXPECT_EQ(frmLOS::loaded(), nullptr);
        EXPECT_EQ(frmHistoricalAnalysis::loaded(), nullptr);
    }

    void objective(int question, int sub, const char* part, int status)
    {
        bank.writer().addLearningObjective({question, 1, sub, QString::fromLatin1(part), QStringLiteral("x"), status});
    }

    TempHome home;
    RecordingUiHooks ui;
    ExamBankFixture bank;
};

TEST_F(ScoreCardWindow, ListsTheObjectivesNarrowedByTheTreeAndTheFilters)
{
    bool checked = false;
    whenShown([&] {
        frmLOS* shown = frmLOS::loaded();
        ASSERT_NE(shown, nullptr);
        frmLOS& w = *shown;
        ASSERT_TRUE(w.isVisible());
        EXPECT_EQ(w.windowTitle(), "Ziduver- LOS Score Card");
        EXPECT_EQ(w.Frame3->title(), "FILTER");
        EXPECT_EQ(w.cmdShowall->text(), "Show All");
        EXPECT_EQ(w.cmdComplete->text(), "Complete");
        EXPECT_EQ(w.cmdIncomplete->text(), "Incomplete");
        EXPECT_EQ(w.cmdClose->text(), "CLose");
        EXPECT_EQ(w.slCategory->text(), "Objective Categories");
        EXPECT_EQ(w.lblPassNote->text(), "*All data is from the current \"Pass\" only.");
        EXPECT_EQ(w.fraInformation->title(), "Loading Information");
        EXPECT_FALSE(w.fraInformation->isVisible());
        EXPECT_TRUE(w.lvwLOS->isVisible());
        EXPECT_TRUE(w.tvwCategory->isVisible());

        // The tree: the exam, its categories and chapters, all ticked.
        ASSERT_EQ(w.tvwCategory->topLevelItemCount(), 1);
        QTreeWidgetItem* root = w.tvwCategory->topLevelItem(0);
        EXPECT_EQ(root->text(0), "Exam & One");
        ASSERT_EQ(root->childCount(), 2);
        EXPECT_EQ(root->child(0)->text(0), "Networks & Systems");
        EXPECT_EQ(root->child(0)->child(0)->text(0), "Chapter 11");
        for (QTreeWidgetItem* item : {root, root->child(0), root->child(0)->child(0), root->child(1)})
            EXPECT_EQ(item->checkState(0), Qt::Checked);

        const QStringList all = {"1.1.a.x [x]", "1.2.b.x", "1.3.c.x [x]", "1.4.d.x"};
        EXPECT_EQ(listed(w.lvwLOS), all);
        EXPECT_EQ(w.lvwLOS->item(0)->data(Qt::UserRole).toString(), "K1");
        // The loading bar's values, never below 1, the events let through after each.
        EXPECT_EQ(w.loadingValues(), (std::vector<int>{25, 50, 75, 100}));
        EXPECT_EQ(ui.processEventsCalls(), 12);

        w.cmdComplete->click();
        EXPECT_EQ(listed(w.lvwLOS), QStringList({"1.1.a.x [x]", "1.3.c.x [x]"}));
        EXPECT_EQ(w.lvwLOS->item(1)->data(Qt::UserRole).toString(), "K2");
        w.cmdIncomplete->click();
        EXPECT_EQ(listed(w.lvwLOS), QStringList({"1.2.b.x", "1.4.d.x"}));

        // A tick change: the list of all selected objectives, whatever the filter.
        root->child(1)->setCheckState(0, Qt::Unchecked);
        EXPECT_EQ(listed(w.lvwLOS), QStringList({"1.1.a.x [x]", "1.2.b.x"}));
        w.cmdShowall->click();
        EXPECT_EQ(listed(w.lvwLOS), QStringList({"1.1.a.x [x]", "1.2.b.x"}));
        // Unticking the last category unticks the root and empties the list;
        // ticking the root brings every objective back.
        root->child(0)->setCheckState(0, Qt::Unchecked);
        EXPECT_EQ(w.lvwLOS->count(), 0);
        EXPECT_EQ(root->checkState(0), Qt::Unchecked);
        EXPECT_EQ(root->child(0)->child(0)->checkState(0), Qt::Unchecked);
        root->setCheckState(0, Qt::Checked);
        EXPECT_EQ(listed(w.lvwLOS), all);
        EXPECT_EQ(root->child(1)->checkState(0), Qt::Checked);

        // A click on a node's text flips its tick as its box does.
        const QRect security = w.tvwCategory->visualItemRect(root->child(1));
        click(w.tvwCategory->viewport(), QPoint(security.right() - 4, security.center().y()));
        EXPECT_EQ(root->child(1)->checkState(0), Qt::Unchecked);
        EXPECT_EQ(listed(w.lvwLOS), QStringList({"1.1.a.x [x]", "1.2.b.x"}));
        click(w.tvwCategory->viewport(), QPoint(security.right() - 4, security.center().y()));
        EXPECT_EQ(listed(w.lvwLOS), all);

        // A click on a tick of the list changes nothing.
        QListWidgetItem* first = w.lvwLOS->item(0);
        EXPECT_FALSE(first->flags() & Qt::ItemIsUserCheckable);
        const QRect line = w.lvwLOS->visualItemRect(first);
        for (int x = line.left() + 2; x < line.left() + 30; x += 4)
            click(w.lvwLOS->viewport(), QPoint(x, line.center().y()));
        EXPECT_EQ(first->checkState(), Qt::Checked);

        // Hints over the filter buttons; the frames take them away.
        EXPECT_FALSE(w.picPopup->isVisible());
        enter(w.cmdComplete);
        EXPECT_TRUE(w.picPopup->isVisible());
        // The pointer moving on over the button (a move the button leaves to
        // its frame) keeps the hint.
        moveOver(w.cmdComplete, w.cmdComplete->rect().center());
        EXPECT_TRUE(w.picPopup->isVisible());
        EXPECT_EQ(w.lblMessage->text(),
                  "Show only LOSs(from the selected categories) where all of that LOS's "
                  "corresponding questions have been answered correctly.");
        enter(w.cmdIncomplete); // while it shows, another button changes nothing
        EXPECT_TRUE(w.lblMessage->text().contains(QLatin1String("answered correctly")));
        moveOver(w.Frame3, QPoint(2, 2));
        EXPECT_FALSE(w.picPopup->isVisible());
        enter(w.cmdShowall);
        EXPECT_EQ(w.lblMessage->text(), "Show all LOSs addressed in the selected categories.");
        enter(w.cmdClose);
        EXPECT_FALSE(w.picPopup->isVisible());

        EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(QLatin1Char('|')).toStdString();
        checked = true;
        w.cmdClose->click();
    });
    LosScoreCardLink::wire(&frmLOS::showModal);
    LosScoreCardLink::open(nullptr);
    LosScoreCardLink::wire(nullptr);
    EXPECT_TRUE(checked);
}

TEST_F(ScoreCardWindow, ThePassFrameOpensTheAnalysisAndTheListIsReadAgainAfterIt)
{
    frmLOS& w = frmLOS::load(nullptr);
    w.show();
    // Narrowed to category 1, filtered to complete ones.
    w.tvwCategory->topLevelItem(0)->child(1)->setCheckState(0, Qt::Unchecked);
    w.cmdComplete->click();
    EXPECT_EQ(listed(w.lvwLOS), QStringList({"1.1.a.x [x]"}));
    bool analysisShown = false;
    whenShown([&] {
        frmHistoricalAnalysis* analysis = frmHistoricalAnalysis::loaded();
        ASSERT_NE(analysis, nullptr);
        EXPECT_TRUE(analysis->isVisible());
        EXPECT_EQ(analysis->parentWidget(), &w);
        // Meanwhile an exam completes the second objective.
        bank.conn().exec(QStringLiteral("UPDATE Qe_LOS SET Qq_Status = 1 WHERE Qq_QuestCode = 4"));
        analysisShown = true;
        analysis->image1->click();
    });
    click(w.fraPass, QPoint(3, 3));
    EXPECT_TRUE(analysisShown);
    // All selected objectives with the current ticks and statuses.
    EXPECT_EQ(listed(w.lvwLOS), QStringList({"1.1.a.x [x]", "1.2.b.x [x]"}));
    EXPECT_EQ(w.tvwCategory->topLevelItem(0)->child(1)->checkState(0), Qt::Unchecked);
    // Activation alone reads nothing.
    bank.conn().exec(QStringLiteral("UPDATE Qe_LOS SET Qq_Status = 0"));
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    EXPECT_EQ(listed(w.lvwLOS), QStringList({"1.1.a.x [x]", "1.2.b.x [x]"}));
    w.unload();
}

TEST_F(ScoreCardWindow, ADatabaseErrorIsLoggedAndShownAndTheWindowStillOpens)
{
    bank.conn().exec(QStringLiteral("DROP TABLE Qe_LOS"));
    frmLOS& w = frmLOS::load(nullptr);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].owner, &w);
    const QStringList log = debugLogLines();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains(QLatin1String(" :FillLOSList:frmLOS"))) << log[0].toStdString();
    EXPECT_EQ(w.lvwLOS->count(), 0);
    EXPECT_FALSE(w.fraInformation->isVisible());
    EXPECT_EQ(w.tvwCategory->topLevelItem(0)->childCount(), 2);
    w.unload();
}

} // namespace
