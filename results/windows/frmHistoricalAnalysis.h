#pragma once

#include "results/HistoricalAnalysis.h"
#include "results/windows/WidgetAnalysisBars.h"

#include <QDialog>
#include <array>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
template <typename Window> class DefaultInstance;

// The user's progress in the chosen exam: one bar per pass (up to three
// completed passes and the pass in progress) with a details box per click,
// and one bar per category for the pass in progress with its own box. The
// numbers come from HistoricalAnalysis; the window draws them. Reads the
// exam database and writes nothing.
class frmHistoricalAnalysis : public QDialog {
    Q_OBJECT
public:
    // Shows the window modally over owner and returns when it closes.
    static void showModal(QWidget* owner);
    // The window loaded, not yet shown (tests look at it before they close it).
    static frmHistoricalAnalysis& load(QWidget* owner);
    // The loaded window, or null.
    static frmHistoricalAnalysis* loaded();
    // Closes and discards the window.
    void unload();

    QGroupBox* Frame2; // the exam name; holds both sections and the details box
    QGroupBox* Frame3; // "Overall Progress"
    // Rows "Pass 1" to "Pass 3": each bar holds the full, correct and wrong parts.
    std::array<SegmentBar*, 3> lblPass;
    std::array<QLabel*, 3> lblPassCaption;   // "Pass 1" ...
    std::array<QLabel*, 3> lblPassThreshold; // "85%", "90%", "95%"
    QFrame* fraDetails;                      // the pass details box
    // 0 the heading, 1-7 the captions, 8-14 their values (pass box); 15-17
    // the captions of the category box.
    std::array<QLabel*, 18> lblProgressDetails;
    QGroupBox* Frame4; // "Progress Per Category"
    QLabel* SkinLabel1;
    QScrollArea* vsView;
    std::vector<QLabel*> lblCat;        // category names
    std::vector<SegmentBar*> lblCatTot; // each category's bar
    QFrame* picCatDetails;              // the category details box
    std::array<QLabel*, 3> CatProgress; // asked, correct, wrong
    QPushButton* image1;                // "&Close"

    // What was read (what was filled before an error stays).
    const PassSummary& summary() const { return m_summary; }
    int TotalQuestions() const { return m_summary.totalQuestions; }
    const std::vector<CategoryProgress>& categories() const { return m_categories; }

    // A click on a part of a pass row's bar (row 1 to 3): places and fills
    // the details box.
    void passBarClicked(int pass, SegmentBar::Segment segment);
    // Fills and shows the details box for a pass at (x, y), length units in
    // Frame2.
    void showHistorDetails(int pass, int x, int y);
    // A click on a category row's bar.
    void categoryBarClicked(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class DefaultInstance<frmHistoricalAnalysis>;
    frmHistoricalAnalysis();
    void buildPassFrame();
    void buildDetailsBox();
    void buildCategoryFrame();
    void Form_Load();
    void mnuhistoryanalysis_Click();
    void ShowMeUrCategory();
    void addCategoryRow(const CategoryProgress& row);
    void reportError(const std::exception& error, const char* procedure);
    void image1_Click();

    PassSummary m_summary;
    std::vector<CategoryProgress> m_categories;
    QWidget* m_rows;
};
