#include "exam/ExamSession.h"
#include "exam/links/QuestionSheetLink.h"
#include "foundation/ConnectionString.h"
#include "foundation/SharedState.h"
#include "platform/browser/BrowserView.h"
#include "platform/browser/PagePrinter.h"
#include "results/windows/frmoffLineQuestions.h"
#include "tests/support/EventWaits.h"
#include "tests/support/ExamBankFixture.h"
#include "tests/support/PdfPrinterSource.h"
#include "tests/support/RecordingUiHooks.h"
#include "tests/support/TempHome.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr int kWait = 30000;

class QuestionSheetWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSharedState();
        gLogin.gAppName = QStringLiteral("Ziduver Test");
        home.write("setup.xml",
                   "<SetupInfo>\n\t<GeneralSettings>\n\t\t<BlockRightClickInPrint>1"
                   "</BlockRightClickInPrint>\n\t</GeneralSettings>\n</SetupInfo>\n");
        bank.category(1);
        session.launch.gAppTitle = QStringLiteral("Ziduver Sheet");
        session.launch.gQuizConnStr = bank.connectionString();
        session.launch.gQuizExamDbPath = bank.path();
        session.launch.gQuizFontName = QStringLiteral("DejaVu Sans");
        session.launch.gQuizFontSize = 12;
    }

    void TearDown() override { resetSharedState(); }

    // `count` multiple-choice questions with an explanation each, all in
    // the running exam.
    void exam(int count)
    {
        for (int code = 1; code <= count; ++code) {
            ExamBankWriter::QuestionRow row = ExamBankWriter::QuestionRow::multipleChoice(code);
            row.category = 1;
            row.chapter = 0;
            row.text = QStringLiteral("Question number %1 asks which of these is right.").arg(code);
            row.explanation = QStringLiteral("Explained %1.").arg(code);
            bank.writer().addQuestion(row);
            for (int seq = 1; seq <= 4; ++seq)
                bank.choice(code, seq, QStringLiteral("Choice %1 of %2").arg(seq).arg(code), seq == 2);
            session.msflex.addQuestion(code, 1);
        }
        session.msflex.addColumn();
        for (int row = 1; row < session.msflex.rows(); ++row)
            session.msflex.setText(row, colChoiceOrder, QStringLiteral("0"));
    }

    std::unique_ptr<frmoffLineQuestions> open()
    {
        auto window = std::make_unique<frmoffLineQuestions>(session);
        window->show();
        EXPECT_TRUE(waitFor([&] { return !window->pageHtml().isEmpty(); }, kWait));
        EXPECT_TRUE(window->www1->waitForLoad(kWait));
        return window;
    }

    QString shownText(frmoffLineQuestions& window)
    {
        return window.www1->runScript(QStringLiteral("document.body.innerText"), kWait).toString();
    }

    TempHome home;
    ExamBankFixture bank;
    ExamSession session;
    RecordingUiHooks hooks;
};

TEST_F(QuestionSheetWindowTest, OpensWithEveryQuestionOfTheExamWrittenAndShown)
{
    exam(3);
    auto window = open();
    EXPECT_EQ(window->windowTitle(), "Ziduver Sheet");
    QFile file(home.file("PrintQuestions.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(file.readAll());
    // The page as built, behind the base the file writer puts in its head.
    const QString& page = window->pageHtml();
    EXPECT_TRUE(written.contains(page.mid(page.indexOf("<p Style")))) << written.left(300).toStdString();
    EXPECT_EQ(QUrl(window->www1->locationUrl()), QUrl::fromLocalFile(home.file("PrintQuestions.html")));

    const QString text = shownText(*window);
    for (int code = 1; code <= 3; ++code)
        EXPECT_TRUE(text.contains(QStringLiteral("Question number %1 asks").arg(code))) << code;
    EXPECT_EQ(text.count("QID:"), 3);
    EXPECT_FALSE(text.contains("Explained"));
    EXPECT_FALSE(text.contains("* "));
    EXPECT_EQ(window->www1->view()->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_EQ(hooks.busyDepth(), 0);
    EXPECT_FALSE(hooks.busyCalls().empty());
    EXPECT_TRUE(hooks.messages().empty());
}

TEST_F(QuestionSheetWindowTest, GenerateRebuildsWithTheBoxesAndActivationsDoNot)
{
    exam(2);
    auto window = open();
    window->chkShowAnswer->setChecked(true);
    window->chkShowExplanation->setChecked(true);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    window->hide();
    window->show();
    settle(300);
    EXPECT_FALSE(window->pageHtml().contains("Explanation:")) << "only Generate rebuilds the page";

    window->cmdGenerate->click();
    EXPECT_TRUE(window->cmdGenerate->isEnabled());
    ASSERT_TRUE(window->www1->waitForLoad(kWait));
    const QString text = shownText(*window);
    EXPECT_TRUE(text.contains("Explained 1.")) << text.toStdString();
    EXPECT_TRUE(text.contains("Explained 2."));
    EXPECT_EQ(text.count("* B) Choice 2"), 2);
}

TEST_F(QuestionSheetWindowTest, AnExamWithoutQuestionsSaysSo)
{
    auto window = std::make_unique<frmoffLineQuestions>(session);
    window->show();
    ASSERT_TRUE(waitFor([&] { return !hooks.messages().empty(); }, kWait));
    EXPECT_EQ(hooks.messageTexts(), QStringList{"No Questions available"});
    EXPECT_EQ(hooks.messages()[0].title, "Ziduver Test");
    EXPECT_FALSE(QFile::exists(home.file("PrintQuestions.html")));
    EXPECT_TRUE(window->pageHtml().isEmpty());
}

TEST_F(QuestionSheetWindowTest, PrintsTheSheetToPdfWithAPagePerLength)
{
    PdfPrinterSource pdf(home.file("short.pdf"));
    exam(1);
    auto window = open();
    window->Command1->click();
    EXPECT_FALSE(window->Command1->isEnabled()) << "no second print and no new page while it prints";
    EXPECT_FALSE(window->cmdGenerate->isEnabled());
    ASSERT_TRUE(waitFor([&] { return !window->printing(); }, kWait));
    EXPECT_TRUE(window->Command1->isEnabled());
    EXPECT_EQ(pdfPageCount(home.file("short.pdf")), 1);
    // A text PDF: the question's own words are in it, and it is small.
    const QString text = pdfText(home.file("short.pdf")).simplified();
    ASSERT_FALSE(text.isNull()) << "pdftotext is missing (tools/install-deps.sh installs it)";
    EXPECT_TRUE(text.contains("Question number 1 asks which of these is right.")) << text.toStdString();
    EXPECT_TRUE(text.contains("C) Choice 3 of 1")) << text.toStdString();
    EXPECT_LT(QFile(home.file("short.pdf")).size(), 200 * 1024);
    window.reset();

    // A long sheet: as many pages as its height fills on the printer's paper.
    for (int code = 2; code <= 60; ++code) {
        bank.writer().addQuestion([code] {
            ExamBankWriter::QuestionRow row = ExamBankWriter::QuestionRow::multipleChoice(code);
            row.category = 1;
            row.chapter = 0;
            row.text = QStringLiteral("Question number %1 asks which of these is right.").arg(code);
            return row;
        }());
        for (int seq = 1; seq <= 4; ++seq)
            bank.choice(code, seq, QStringLiteral("Choice %1 of %2").arg(seq).arg(code), seq == 2);
        session.msflex.addItem(QStringLiteral("%1\t1\t \t\t\t\t\t0").arg(code));
    }
    pdf.path = home.file("long.pdf");
    window = open();
    window->Command1->click();
    ASSERT_TRUE(waitFor([&] { return !window->printing(); }, kWait));
    const QPrinter& printer = PagePrinter::program().printer();
    const double pageWidth = printer.pageLayout().paintRect(QPageLayout::Point).width() * 96.0 / 72.0;
    const double pageHeight = printer.pageLayout().paintRect(QPageLayout::Point).height() * 96.0 / 72.0;
    window->www1->resize(int(pageWidth), 600);
    settle(500);
    const double height = window->www1->runScript("document.documentElement.scrollHeight", kWait).toDouble();
    const int expected = int(std::ceil(height / pageHeight));
    const int pages = pdfPageCount(home.file("long.pdf"));
    EXPECT_GE(expected, 3);
    std::printf("sheet of 60 questions: %.0f px high, %.0f px a page: %d pages expected, %d printed\n", height,
                pageHeight, expected, pages);
    EXPECT_GE(pages, expected - 1) << "page height " << pageHeight << ", sheet " << height;
    EXPECT_LE(pages, expected + 1) << "page height " << pageHeight << ", sheet " << height;
    EXPECT_TRUE(hooks.messages().empty());
}

TEST_F(QuestionSheetWindowTest, ACancelledDialogPrintsNothing)
{
    PdfPrinterSource pdf(home.file("never.pdf"));
    pdf.accept = false;
    exam(1);
    auto window = open();
    window->Command1->click();
    EXPECT_FALSE(window->printing());
    EXPECT_TRUE(window->Command1->isEnabled());
    settle(500);
    EXPECT_FALSE(QFile::exists(home.file("never.pdf")));
}

TEST_F(QuestionSheetWindowTest, ExitWaitsForThePrintout)
{
    PdfPrinterSource pdf(home.file("exit.pdf"));
    exam(2);
    auto window = open();
    window->Command1->click();
    ASSERT_TRUE(window->printing());
    window->Command2->click();
    window->close();
    EXPECT_TRUE(window->isVisible()) << "the page must outlive its printout";
    ASSERT_TRUE(waitFor([&] { return !window->isVisible(); }, kWait));
    EXPECT_FALSE(window->printing());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(pdfPageCount(home.file("exit.pdf")), 1);
}

TEST_F(QuestionSheetWindowTest, TheExamWindowsLinkShowsTheSheetModally)
{
    exam(1);
    QuestionSheetLink::wire(&frmoffLineQuestions::showSheet);
    QString seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* sheet = qobject_cast<frmoffLineQuestions*>(QApplication::activeModalWidget());
        if (!sheet || sheet->pageHtml().isEmpty())
            return;
        poll.stop();
        seen = sheet->pageHtml();
        sheet->Command2->click();
    });
    poll.start(50);
    QuestionSheetLink::open(session, nullptr);
    QuestionSheetLink::wire({});
    EXPECT_TRUE(seen.contains("QID:</b>     1</td>"));
}

} // namespace
