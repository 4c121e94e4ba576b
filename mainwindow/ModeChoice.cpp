#include "mainwindow/ModeChoice.h"

#include <algorithm>

// ---- the count list ----

void CountList::fillDescending(int max)
{
    items.clear();
    // Above the bound the count itself stands first and the small counts a
    // drill takes follow: the numbers between are the ones left out.
    if (max > kMostEntries)
        items.push_back(max);
    for (int n = std::min(max, kMostEntries - (max > kMostEntries ? 1 : 0)); n >= 1; --n)
        items.push_back(n);
    selected = items.empty() ? -1 : 0;
}

void CountList::fillAscending(int max)
{
    items.clear();
    for (int n = 1; n <= std::min(max, kMostEntries - (max > kMostEntries ? 1 : 0)); ++n)
        items.push_back(n);
    if (max > kMostEntries)
        items.push_back(max);
    selected = int(items.size()) - 1;
}

void CountList::clear()
{
    items.clear();
    selected = -1;
}

bool CountList::selectNumber(int number)
{
    const auto it = std::find(items.begin(), items.end(), number);
    if (it == items.end())
        return false;
    selected = int(it - items.begin());
    return true;
}

std::optional<int> CountList::selectedNumber() const
{
    if (selected < 0 || selected >= int(items.size()))
        return std::nullopt;
    return items[size_t(selected)];
}

// ---- load ----

void ModeChoice::load(const QString& examName, MainWindowLoad data, bool administrator)
{
    m_data = std::move(data);
    pretestChosen = practiceChosen = simulatedChosen = false;
    option = NoOption;
    gExamModeCode = QStringLiteral("P");
    treeEnabled = !administrator;
    tree.fill(examName, m_data.categories);
    SetMaxQuestion();
    gQuestionsCounted = true;
    Image3_Click(3);
    description = ModeDescription::Pretest;
}

void ModeChoice::SetMaxQuestion()
{
    gMaxQuestions = m_data.questionTotal;
    lstQues.fillDescending(gMaxQuestions);
    if (gMaxQuestions > 29)
        lstQues.selectNumber(30);
}

void ModeChoice::applyLimits(const std::optional<ExamBank::SimulatedLimits>& limits)
{
    // Without an exam row the limits in force stay.
    if (!limits)
        return;
    gMaxTime = limits->minutes;
    gMaxPassScore = limits->passScore;
    gMaxQuestions = limits->questions;
}

void ModeChoice::SetMaxTimeSimulated()
{
    applyLimits(m_data.simulated);
}

void ModeChoice::SetMaxAdaptiveTime()
{
    applyLimits(m_data.adaptive);
}

int ModeChoice::GetCategoryCount() const
{
    return pretestTotalFor(m_data.categoryCount);
}

// ---- modes ----

void ModeChoice::SelectExamType(int mode)
{
    if (mode == 1 || mode == 2) {
        gShowResultsAfterWrong = false;
        if (mode == 1)
            SetMaxAdaptiveTime();
        else
            SetMaxTimeSimulated();
        timeAllowed = QString::number(gMaxTime);
        treeEnabled = false;
        timeFrameVisible = true;
        countListEnabled = false;
    } else if (mode == 3) {
        poolChanged(tree.applyNodeCheck(CategoryTree::kRoot, practiceOption()));
        tree.setChecked(CategoryTree::kRoot, true);
        gShowResultsAfterWrong = true;
        treeEnabled = true;
        timeFrameVisible = false;
        countListEnabled = true;
    }
    lstQues.fillDescending(gMaxQuestions);
}

void ModeChoice::GrayedOut()
{
    tree.expandAll();
}

void ModeChoice::Option1_Click()
{
    gExamModeCode = QStringLiteral("A");
    SelectExamType(1);
    GrayedOut();
}

void ModeChoice::Option2_Click()
{
    gExamModeCode = QStringLiteral("S");
    SelectExamType(2);
    GrayedOut();
}

void ModeChoice::Option3_Click()
{
    gExamModeCode = QStringLiteral("P");
    SelectExamType(3);
}

void ModeChoice::chooseOption(Option chosen)
{
    if (option == chosen)
        return;
    option = chosen;
    switch (chosen) {
    case Adaptive:
        Option1_Click();
        break;
    case Simulated:
        Option2_Click();
        break;
    case Practice:
        Option3_Click();
        break;
    case NoOption:
        break;
    }
}

// Each caption selects the option it stands beside.
void ModeChoice::Label7_Click()
{
    chooseOption(Adaptive);
}

void ModeChoice::Label9_Click()
{
    chooseOption(Simulated);
}

void ModeChoice::Label10_Click()
{
    chooseOption(Practice);
}

void ModeChoice::choosePicture(bool pretest, bool practice, bool simulated)
{
    pretestChosen = pretest;
    practiceChosen = practice;
    simulatedChosen = simulated;
}

void ModeChoice::Image2_Click(int index)
{
    if (index != 1)
        return;
    description = ModeDescription::Simulated;
    // The option button shows the mode the picture chose.
    option = Simulated;
    Option2_Click();
    tree.setAllNodesChecked(true);
    choosePicture(false, false, true);
}

void ModeChoice::Image3_Click(int index)
{
    if (index == 3) {
        description = ModeDescription::Pretest;
        option = NoOption;
        gExamModeCode = QStringLiteral("T");
        SelectExamType(2);
        GrayedOut();
        timeAllowed.clear();
        gMaxQuestions = GetCategoryCount();
        lstQues.fillAscending(gMaxQuestions);
        tree.setAllNodesChecked(true);
        choosePicture(true, false, false);
    } else if (index == 1) {
        description = ModeDescription::Adaptive;
        option = Practice;
        Option3_Click();
        tree.setAllNodesChecked(false);
        lstQues.clear();
        timeAllowed.clear();
        choosePicture(false, true, false);
    }
}

// ---- the tree ----

void ModeChoice::tvwCategory_NodeCheck(int node)
{
    poolChanged(tree.nodeChecked(node, practiceOption()));
}

void ModeChoice::tvwCategory_NodeToggle(int node)
{
    poolChanged(tree.nodeClicked(node, practiceOption()));
}

void ModeChoice::poolChanged(bool recount)
{
    if (!recount)
        return;
    gMaxQuestions = m_data.counts.countChecked(tree);
    lstQues.fillDescending(gMaxQuestions);
    if (gMaxQuestions == 0)
        return;
    if (gExamModeCode == QLatin1String("P")) {
        if (gMaxQuestions >= 30)
            lstQues.selectNumber(30);
    } else {
        lstQues.selected = -1;
    }
}
