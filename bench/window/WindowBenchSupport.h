#pragma once

#include <QString>
#include <vector>

class BrowserView;
struct ExamParameters;

// What the window benches share: letting events run, the median of a run,
// and the floor of a shown question: its page written into a bare view.
namespace windowbench {

// Lets events run for that long.
void settle(int ms);

double median(std::vector<double> values);

// Builds the page of a question as the exam window does for that launch and
// writes it into a bare view; the milliseconds from the write to the page
// loaded.
double barePageLoadMs(BrowserView& bare, const ExamParameters& record, int questCode, const QString& programFolder);

} // namespace windowbench
