#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

// What a browser may meet in sanitized markup: the markup is parsed again the
// way the browser parses it, and whatever could run, load, leave the
// allow-list or reach a picture outside the exam's folder is listed.
struct PageFaults {
    std::vector<std::string> faults;
    bool empty() const { return faults.empty(); }
    std::string joined() const;
};

// wholeDocument: a served page after its fixed head (policy and charset);
// else a fragment as it sits in a page's body. examFolder: canonical folder
// pictures must lie in.
PageFaults checkSanitizedPage(const QByteArray& html, bool wholeDocument, const QString& examFolder);

// Whatever in a filtered style sheet or style attribute could load, run or
// close its element.
bool unsafeStyleText(const std::string& css);

// Stops the run with the fault and the input that caused it.
[[noreturn]] void failWith(const std::string& what, const char* data, std::size_t size);
