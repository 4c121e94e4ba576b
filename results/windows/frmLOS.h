#pragma once

#include "results/LosScoreCard.h"

#include <QDialog>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class WidgetCategoryTreeView;
class QTreeWidgetItem;
template <typename Window> class DefaultInstance;

// The learning-objective score card: the exam's objectives, ticked when
// complete in the running pass, narrowed by a category and chapter tree and
// by the filters. The rules live in LosScoreCard; the window shows them.
// Reads the exam database and writes nothing.
class frmLOS : public QDialog {
    Q_OBJECT
public:
    // Shows the window modally over owner and returns when it closes.
    static void showModal(QWidget* owner);
    // The window loaded and its list filled, not yet shown.
    static frmLOS& load(QWidget* owner);
    static frmLOS* loaded();
    void unload();

    QGroupBox* Frame1; // the tree
    QLabel* slCategory;
    WidgetCategoryTreeView* tvwCategory;
    QGroupBox* Frame2; // the list
    QLabel* slLOs;
    QListWidget* lvwLOS;
    QGroupBox* fraInformation; // "Loading Information"
    QProgressBar* hbar;
    QGroupBox* Frame3; // "FILTER"
    QPushButton* cmdShowall;
    QPushButton* cmdComplete;
    QPushButton* cmdIncomplete;
    QLabel* lblFilterHint;
    QFrame* fraPass; // opens the historical analysis
    QLabel* lblPassNote;
    QPushButton* cmdClose;
    QFrame* picPopup;
    QLabel* lblMessage;

    const LosScoreCard& card() const { return m_card; }
    // The node index of a tree item, and the item of a node.

    // Reloads the objectives from the database (0) or shows the filter
    // All (1), Complete (2) or Incomplete (3) of what was loaded.
    void FillLOSList(int mode);
    void fraPass_Click();

    // The loading bar's values of the last reload, in order.
    const std::vector<int>& loadingValues() const { return m_loadingValues; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class DefaultInstance<frmLOS>;
    frmLOS();
    void Form_Load();
    void pFillCategory();
    void showItems(const std::vector<LosItem>& items);
    void showLoading(bool loading);
    void showHint(QPushButton* button);
    void reportError(const std::exception& error, const char* procedure);

    LosScoreCard m_card;
    bool m_loading = false;
    std::vector<int> m_loadingValues;
};
