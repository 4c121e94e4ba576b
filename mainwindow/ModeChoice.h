#pragma once

#include "mainwindow/CategoryTree.h"
#include "mainwindow/MainWindowLoad.h"

#include <QString>
#include <optional>
#include <vector>

// The question-count list lstQues: the numbers it offers, in shown order,
// and the selected entry.
struct CountList {
    std::vector<int> items;
    int selected = -1; // index into items, -1 for none

    // A count read from an exam database can be any number: the list holds
    // at most this many entries, the count itself and the smallest counts.
    static constexpr int kMostEntries = 100000;

    // max, max - 1, ..., 1; the first selected when there is one.
    void fillDescending(int max);
    // 1, 2, ..., max; the last selected when there is one.
    void fillAscending(int max);
    void clear();
    // Selects the entry of that number; false when there is none.
    bool selectNumber(int number);
    // The selected number, or nullopt.
    std::optional<int> selectedNumber() const;
};

// Which mode description the box shows: the setting of that name.
enum class ModeDescription { Pretest, Simulated, Adaptive };

// The main window's choice of exam mode, limits, question count and pool,
// without widgets: each event handler of the window calls the method of its
// name and then shows the state. Holds the category tree and reads the exam
// database only through what was read at load.
class ModeChoice {
public:
    // The option buttons Option1 (adaptive), Option2 (simulated) and
    // Option3 (practice).
    enum Option { NoOption = 0, Adaptive = 1, Simulated = 2, Practice = 3 };

    // The load's part of the mode choice: the tree filled from the exam
    // database, the question total counted, and the pretest in force.
    // `administrator` disables the tree.
    void load(const QString& examName, MainWindowLoad data, bool administrator);

    const MainWindowLoad& data() const { return m_data; }

    CategoryTree tree;
    QString gExamModeCode = QStringLiteral("P"); // "P", "S", "T" or "A"
    int gMaxTime = 0;                            // minutes
    int gMaxPassScore = 0;                       // percent
    int gMaxQuestions = 0;
    bool gQuestionsCounted = false;
    bool gShowResultsAfterWrong = false;
    // The three mode-picture flags: the mode picture last chosen.
    bool pretestChosen = false;
    bool practiceChosen = false;
    bool simulatedChosen = false;
    Option option = NoOption; // the option button shown selected
    bool treeEnabled = true;
    bool timeFrameVisible = false; // frmTime
    bool countListEnabled = true;  // lstQues
    QString timeAllowed;           // lblTimeAllowed
    ModeDescription description = ModeDescription::Pretest;
    CountList lstQues;

    bool anyModePicture() const { return pretestChosen || practiceChosen || simulatedChosen; }
    bool practiceOption() const { return option == Practice; }

    // Event handlers, as the window's controls call them.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Image2_Click(int index); // 1: the simulated button
    void Image3_Click(int index); // 1: the practice button, 3: the pretest button
    void Label7_Click();
    void Label9_Click();
    void Label10_Click();
    // The user selected an option button (or its caption did); its handler
    // runs when the selection changes.
    void chooseOption(Option chosen);
    // The user changed a node's box; the node already holds its new tick.
    void tvwCategory_NodeCheck(int node);
    // The user clicked a node's text.
    void tvwCategory_NodeToggle(int node);

    void SelectExamType(int mode); // 1 adaptive, 2 simulated, 3 practice
    void SetMaxQuestion();
    void SetMaxTimeSimulated();
    void SetMaxAdaptiveTime();
    void GrayedOut();
    // The questions of a pretest over the loaded categories.
    int GetCategoryCount() const;

private:
    void applyLimits(const std::optional<ExamBank::SimulatedLimits>& limits);
    void choosePicture(bool pretest, bool practice, bool simulated);
    // After a tick change: the count and the list follow in practice mode.
    void poolChanged(bool recount);

    MainWindowLoad m_data;
};
