// A question's text as an exam database holds it, through the mark-up and the
// page sanitizer as the question page and a served page build it: whatever
// comes out holds nothing that runs or loads from outside the exam's folder.
#include "exam/AnswerPages.h"
#include "foundation/QuestionMarkup.h"
#include "fuzz/support/FuzzFolders.h"
#include "fuzz/support/FailWith.h"
#include "platform/pages/HtmlSanitizer.h"
#include "tests/support/PageCheck.h"

#include <cstddef>
#include <cstdint>

namespace {

const QString kPolicy = QStringLiteral("<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'\">");

void check(const QByteArray& out, bool wholeDocument, const char* what, const uint8_t* data, size_t size)
{
    const PageFaults faults = checkSanitizedPage(out, wholeDocument, fuzzFolders().exam());
    if (!faults.empty())
        failWith(std::string(what) + ": " + faults.joined() + "\nOUTPUT: " + out.toStdString(),
                 reinterpret_cast<const char*>(data), size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    const QString exam = fuzzFolders().exam();

    PageStyle style;
    style.fontName = QStringLiteral("Arial");
    style.fontPx = 14;
    style.examFolder = exam;
    check(markUpPageText(text, style, QStringLiteral("<br> ")).toUtf8(), false, "question page", data, size);
    check(FormatChoiceText(text, style).toUtf8(), false, "choice", data, size);

    SanitizeRules rules;
    rules.examFolder = exam;
    check(html_sanitizer::fragment(html_maker(text, exam, false), rules).toUtf8(), false, "explanation", data, size);
    check(printoutTable(text, exam, 1).toUtf8(), false, "printout", data, size);

    // A page served from the exam's folder, read from disk as bytes.
    const QByteArray head = "<!DOCTYPE html><html><head>" + kPolicy.toUtf8() + "<meta charset=\"utf-8\">";
    const QByteArray page = html_sanitizer::document(bytes, rules, kPolicy);
    if (!page.startsWith(head))
        failWith("served page lost its policy head: " + page.left(200).toStdString(), bytes.constData(), size);
    check(page.mid(head.size()), true, "served page", data, size);
    return 0;
}
