#include "platform/browser/BrowserView.h"
#include "platform/browser/PagePrinter.h"
#include "tests/support/EventWaits.h"
#include "tests/support/PdfPrinterSource.h"
#include "tests/support/TempHome.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPrinter>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kWait = 30000;

// A page of `pages` sheets: each block ends its own.
QString pagedHtml(int pages)
{
    QString html = QStringLiteral("<html><body>");
    for (int i = 1; i <= pages; ++i)
        html += QStringLiteral("<div style='break-after: page'>Sheet %1</div>").arg(i);
    return html + QStringLiteral("</body></html>");
}

class PagePrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view = std::make_unique<BrowserView>();
        view->resize(600, 400);
        view->show();
        QObject::connect(&PagePrinter::program(), &PagePrinter::printingFinished, view.get(),
                         [this](BrowserView* printed, bool ok) {
                             if (printed == view.get())
                                 results.push_back(ok);
                         });
    }

    void write(const QString& html)
    {
        view->writeHtml(html, QUrl::fromLocalFile(home.path() + QLatin1Char('/')));
        ASSERT_TRUE(view->waitForLoad(kWait));
    }

    bool waitForPrintout(size_t count = 1)
    {
        return waitFor([&] { return results.size() >= count; }, kWait);
    }

    PagePrinter::FailureReport recorder()
    {
        return [this](const QString& text) { reports << text; };
    }

    TempHome home;
    PdfPrinterSource pdf{home.file("first.pdf")};
    std::unique_ptr<BrowserView> view;
    std::vector<bool> results;
    QStringList reports;
};

TEST_F(PagePrinterTest, PrintsThePageOnTheChosenPrinterWhichStaysTheProgramsPrinter)
{
    write(pagedHtml(3));
    ASSERT_EQ(PagePrinter::program().ShowPrinter(*view, nullptr, recorder()), PagePrinter::Started::Printing);
    EXPECT_TRUE(PagePrinter::program().isPrinting(*view));
    ASSERT_TRUE(waitForPrintout());
    EXPECT_EQ(results, std::vector<bool>{true});
    EXPECT_FALSE(PagePrinter::program().isPrinting(*view));
    EXPECT_EQ(pdfPageCount(home.file("first.pdf")), 3);

    // The next dialog starts from the printer chosen last.
    pdf.path = home.file("second.pdf");
    write(pagedHtml(1));
    ASSERT_EQ(PagePrinter::program().ShowPrinter(*view, nullptr, recorder()), PagePrinter::Started::Printing);
    EXPECT_EQ(pdf.offered, home.file("first.pdf"));
    ASSERT_TRUE(waitForPrintout(2));
    EXPECT_EQ(pdfPageCount(home.file("second.pdf")), 1);
    EXPECT_EQ(pdfPageCount(home.file("first.pdf")), 3) << "the earlier printout stays as it was";

    // Printing unasked goes to the program's printer.
    QFile::remove(home.file("second.pdf"));
    ASSERT_EQ(PagePrinter::program().printNow(*view, recorder()), PagePrinter::Started::Printing);
    ASSERT_TRUE(waitForPrintout(3));
    EXPECT_EQ(pdf.asked, 2);
    EXPECT_EQ(pdfPageCount(home.file("second.pdf")), 1);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(PagePrinterTest, APdfFileGetsTheEnginesTextInThePrintersPageLayoutAndRange)
{
    write(pagedHtml(3));
    ASSERT_EQ(PagePrinter::program().ShowPrinter(*view, nullptr, recorder()), PagePrinter::Started::Printing);
    ASSERT_TRUE(waitForPrintout());
    const QString text = pdfText(home.file("first.pdf"));
    ASSERT_FALSE(text.isNull()) << "pdftotext is missing (tools/install-deps.sh installs it)";
    EXPECT_TRUE(text.contains("Sheet 1") && text.contains("Sheet 3")) << text.toStdString();

    // The layout and the range chosen on the printer.
    QPrinter& printer = PagePrinter::program().printer();
    const QPageLayout before = printer.pageLayout();
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setPageRanges(QPageRanges::fromString(QStringLiteral("2-3")));
    pdf.path = home.file("second.pdf");
    ASSERT_EQ(PagePrinter::program().ShowPrinter(*view, nullptr, recorder()), PagePrinter::Started::Printing);
    ASSERT_TRUE(waitForPrintout(2));
    EXPECT_EQ(results, (std::vector<bool>{true, true}));
    EXPECT_EQ(pdfPageCount(home.file("second.pdf")), 2);
    const QString ranged = pdfText(home.file("second.pdf"));
    EXPECT_FALSE(ranged.contains("Sheet 1")) << ranged.toStdString();
    EXPECT_TRUE(ranged.contains("Sheet 2") && ranged.contains("Sheet 3")) << ranged.toStdString();
    // A5 across: 595 by 420 points.
    const QStringList size = pdfPageSize(home.file("second.pdf")).split(QLatin1Char(' '));
    ASSERT_GE(size.size(), 3) << size.join(QLatin1Char(' ')).toStdString();
    EXPECT_NEAR(size[0].toDouble(), 595.3, 2.0);
    EXPECT_NEAR(size[2].toDouble(), 419.5, 2.0);
    printer.setPageLayout(before);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPageRanges(QPageRanges());
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(PagePrinterTest, ACancelledDialogPrintsNothing)
{
    write(pagedHtml(1));
    pdf.accept = false;
    EXPECT_EQ(PagePrinter::program().ShowPrinter(*view, nullptr, recorder()), PagePrinter::Started::Cancelled);
    EXPECT_FALSE(PagePrinter::program().isPrinting(*view));
    settle(500);
    EXPECT_TRUE(results.empty());
    EXPECT_FALSE(QFile::exists(home.file("first.pdf")));
}

TEST_F(PagePrinterTest, AViewPrintsOnePageAtATime)
{
    write(pagedHtml(2));
    ASSERT_EQ(PagePrinter::program().ShowPrinter(*view, nullptr, recorder()), PagePrinter::Started::Printing);
    EXPECT_EQ(PagePrinter::program().ShowPrinter(*view, nullptr, recorder()), PagePrinter::Started::Busy);
    EXPECT_EQ(PagePrinter::program().printNow(*view, recorder()), PagePrinter::Started::Busy);
    EXPECT_EQ(pdf.asked, 1) << "no dialog while the view prints";

    // Another view prints meanwhile on its own copy of the printer.
    BrowserView other;
    other.resize(300, 200);
    other.show();
    other.writeHtml(pagedHtml(1));
    ASSERT_TRUE(other.waitForLoad(kWait));
    pdf.path = home.file("other.pdf");
    std::vector<bool> otherResults;
    QObject::connect(&PagePrinter::program(), &PagePrinter::printingFinished, &other,
                     [&](BrowserView* printed, bool ok) {
                         if (printed == &other)
                             otherResults.push_back(ok);
                     });
    ASSERT_EQ(PagePrinter::program().ShowPrinter(other, nullptr), PagePrinter::Started::Printing);

    ASSERT_TRUE(waitForPrintout());
    ASSERT_TRUE(waitFor([&] { return !otherResults.empty(); }, kWait));
    EXPECT_EQ(otherResults, std::vector<bool>{true});
    EXPECT_EQ(pdfPageCount(home.file("first.pdf")), 2);
    EXPECT_EQ(pdfPageCount(home.file("other.pdf")), 1);
}

TEST_F(PagePrinterTest, AFailedPrintIsReported)
{
    write(pagedHtml(1));
    pdf.path = home.file("no such folder/out.pdf");
    ASSERT_EQ(PagePrinter::program().ShowPrinter(*view, nullptr, recorder()), PagePrinter::Started::Printing);
    ASSERT_TRUE(waitForPrintout());
    EXPECT_EQ(results, std::vector<bool>{false});
    EXPECT_EQ(reports, QStringList{PagePrinter::failureText()});
    EXPECT_FALSE(PagePrinter::program().isPrinting(*view));
}

} // namespace
