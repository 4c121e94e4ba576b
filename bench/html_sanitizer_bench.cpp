#include "bench/BenchRegistry.h"
#include "platform/pages/HtmlSanitizer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gumbo.h>

#include <cstdio>
#include <vector>

// Sanitizing exam markup, beside the floor of parsing the same markup alone
// (the parser's own tree building, which the sanitizer cannot go below). A
// question page sanitizes a question text and its choices (target: a small
// part of the page's 1 ms); a 200-question sheet sanitizes every question,
// choice and explanation text (target: under 30 ms of the sheet's 50 ms; the
// parser alone takes most of it).
namespace {

const QString kQuestion = QStringLiteral(
    "<p>A company's <b>net income</b> for the year was <font color=\"#0000FF\">$1,200,000</font>.</p>\r\n"
    "<table border=1 cellpadding=3><tr><th>Item</th><th>Amount</th></tr>\r\n"
    "<tr><td>Revenue</td><td align=right>5,000,000</td></tr>\r\n"
    "<tr><td>Expenses</td><td align=right>3,800,000</td></tr></table>\r\n"
    "<img src=\"images/pic.png\" alt=\"chart\">\r\n"
    "Which of the following <i>best</i> describes the return on equity &amp; why?<br>\r\n"
    "<UL>\r\n<LI>the first case</LI>\r\n<LI>the second case</LI>\r\n</UL>");
const QString kChoice = QStringLiteral("The ratio rises to <b>12.5%</b> because equity &lt; assets");
const QString kExplanation =
    QStringLiteral("<p>Return on equity is net income divided by <u>average</u> equity.</p><p>See <a "
                   "href=\"http://example.test/roe\">the reading</a>.</p>");

double parseOnly(const std::vector<QByteArray>& texts)
{
    return bench::bestOf(20, [&] {
        for (const QByteArray& text : texts) {
            GumboOptions options = kGumboDefaultOptions;
            options.fragment_context = GUMBO_TAG_BODY;
            options.max_errors = 0;
            GumboOutput* output = gumbo_parse_with_options(&options, text.constData(), size_t(text.size()));
            gumbo_destroy_output(&options, output);
        }
    });
}

double sanitizeAll(const std::vector<QString>& texts, const SanitizeRules& rules)
{
    qsizetype size = 0;
    const double best = bench::bestOf(20, [&] {
        for (const QString& text : texts)
            size += html_sanitizer::fragment(text, rules).size();
    });
    if (size == 42)
        std::printf(" ");
    return best;
}

void benchTexts(const char* what, const std::vector<QString>& texts, double targetMs)
{
    QTemporaryDir exam;
    QDir(exam.path()).mkpath(QStringLiteral("images"));
    QFile picture(exam.filePath(QStringLiteral("images/pic.png")));
    if (picture.open(QIODevice::WriteOnly))
        picture.write("GIF89a");
    picture.close();
    SanitizeRules rules;
    rules.examFolder = exam.path();

    std::vector<QByteArray> bytes;
    for (const QString& text : texts)
        bytes.push_back(text.toUtf8());
    const double floor = parseOnly(bytes);
    const double ours = sanitizeAll(texts, rules);
    std::printf("%s: %zu texts, %.3f ms (target under %.1f ms: %s)\n", what, texts.size(), ours, targetMs,
                ours < targetMs ? "ok" : "OVER");
    bench::report(what, ours, floor, 3.0);
}

} // namespace

ZIDUVER_BENCH("html sanitizer: texts of a question page and of a sheet")
{
    std::vector<QString> page{kQuestion};
    for (int i = 0; i < 5; ++i)
        page.push_back(kChoice);
    benchTexts("sanitize a question and 5 choices (vs parsing alone)", page, 0.3);

    std::vector<QString> sheet;
    for (int q = 0; q < 200; ++q) {
        sheet.push_back(kQuestion);
        for (int i = 0; i < 5; ++i)
            sheet.push_back(kChoice);
        sheet.push_back(kExplanation);
    }
    benchTexts("sanitize a 200-question sheet's texts (vs parsing alone)", sheet, 30.0);
}
