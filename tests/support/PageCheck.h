#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

// What a browser may meet in sanitized markup: the markup is parsed again the
// way the browser parses it, and whatever could run, load, leave the
// allow-list or reach a picture outside the exam's folder is listed. The
// tests and the fuzz targets judge pages by this one check.
struct PageFaults {
    std::vector<std::string> faults;
    int depth = 0;    // deepest element nesting the browser builds
    std::string text; // all text, in order
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
