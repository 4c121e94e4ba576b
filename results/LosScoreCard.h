#pragma once

#include "foundation/ExamBank.h"
#include "mainwindow/CategoryTree.h"
#include "results/ObjectiveTable.h"

#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>
#include <vector>

// The learning-objective score card without widgets: the objectives of the
// exam, each once, marked complete or not for the running pass, narrowed by
// a category and chapter tree (the main window's tree, whose ticks reach
// children and parents) and by the filters All, Complete and Incomplete.

// An objective's name: its four parts as text (Null as empty, blanks
// trimmed) joined by "."; four empty parts give "...".
QString losIdentifier(const std::array<QVariant, 4>& parts);
// The loading bar's value after `record` of `count` records: the rounded
// percentage (half to even), never below 1.
int losProgressValue(int record, int count);

// One objective as the card keeps it, from the row that stands for it.
struct LosEntry {
    int questCode = 0;
    QString identifier;
    QVariant status;             // as read
    bool everyRowAchieved = true; // each row of it whose question exists reads 1
    bool selected = false;       // its question's category or chapter is ticked
    std::optional<int> category; // of its question; none without a question row
    std::optional<int> chapter;

    // Every question tied to it was answered right: its status reads 1 and
    // so does every other row of it whose question exists.
    bool complete() const;
};

// A line of the list: key "K1", "K2" ... in the order of adding.
struct LosItem {
    QString key;
    QString text;
    bool checked = false; // complete
};

enum class LosFilter { All = 1, Complete = 2, Incomplete = 3 };

class LosScoreCard {
public:
    CategoryTree tree;

    // Fills the tree with the exam's categories and chapters, all ticked
    // (and writes the debug lines of filling it).
    void fillTree(const QString& examName, const std::vector<ExamBank::TreeCategory>& categories);

    // Takes the objectives from the rows, in their order, and selects them by
    // the tree; returns the list of all selected ones. A run of rows with one
    // identifier is one objective: the first of them whose question row
    // exists stands for it (the first row when none has one, never
    // selected), and it is complete only when all of those rows are. `progress` hears the loading bar's value after each row.
    std::vector<LosItem> load(const std::vector<ObjectiveTable::ScoreCardRow>& rows,
                              const std::function<void(int)>& progress = {});
    // Selects every objective again by the tree's ticks.
    void refreshSelection();
    // The selected objectives that the filter lets through.
    std::vector<LosItem> list(LosFilter filter) const;

    // The user flipped a node's box (its tick is already the new one) or
    // clicked its text: the ticks follow, the objectives are selected again
    // and the list shows all selected ones, whatever filter was shown.
    std::vector<LosItem> nodeChecked(int node);
    std::vector<LosItem> nodeClicked(int node);

    const std::vector<LosEntry>& grid() const { return m_grid; }

private:
    std::vector<LosEntry> m_grid;
};
