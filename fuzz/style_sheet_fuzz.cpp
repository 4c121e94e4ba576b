// A style sheet and a style attribute from a page in an exam's folder, through
// the sanitizer's style filter as a served page passes it: what is kept loads
// nothing, runs nothing, cannot close its element and keeps its rules whole.
#include "fuzz/support/FuzzFolders.h"
#include "fuzz/support/FailWith.h"
#include "platform/pages/HtmlSanitizer.h"
#include "tests/support/PageCheck.h"

#include <gumbo.h>

#include <cstddef>
#include <cstdint>

namespace {

const QString kPolicy = QStringLiteral("<meta name=policy>");

// Every style element's text in the page.
std::vector<std::string> styleSheets(const QByteArray& page)
{
    std::vector<std::string> sheets;
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, page.constData(), size_t(page.size()));
    std::vector<const GumboNode*> stack{output->root};
    while (!stack.empty()) {
        const GumboNode* node = stack.back();
        stack.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT)
            continue;
        const GumboVector& children = node->v.element.children;
        if (node->v.element.tag == GUMBO_TAG_STYLE) {
            std::string text;
            for (unsigned i = 0; i < children.length; ++i) {
                const auto* child = static_cast<const GumboNode*>(children.data[i]);
                if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
                    text += child->v.text.text;
            }
            sheets.push_back(text);
        }
        for (unsigned i = 0; i < children.length; ++i)
            stack.push_back(static_cast<const GumboNode*>(children.data[i]));
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return sheets;
}

// Rules one after another, "selector { declarations }", never nested.
bool flatRules(const std::string& sheet)
{
    int depth = 0;
    for (const char c : sheet) {
        if (c == '{' && ++depth > 1)
            return false;
        if (c == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray css(reinterpret_cast<const char*>(data), qsizetype(size));
    // The attribute's value reaches the filter exactly as given: escaped here
    // as any page would have to write it.
    const QByteArray attribute = QString::fromUtf8(css).toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;")).toUtf8();
    const QByteArray file = "<html><head><style>" + css + "</style></head><body><p style='" + attribute
        + "'>text</p><style>" + css + "</style></body></html>";
    SanitizeRules rules;
    rules.examFolder = fuzzFolders().exam();
    const QByteArray page = html_sanitizer::document(file, rules, kPolicy);
    const QByteArray head = "<!DOCTYPE html><html><head>" + kPolicy.toUtf8() + "<meta charset=\"utf-8\">";
    if (!page.startsWith(head))
        failWith("served page lost its policy head", css.constData(), size);
    const PageFaults faults = checkSanitizedPage(page.mid(head.size()), true, rules.examFolder);
    if (!faults.empty())
        failWith(faults.joined() + "\nOUTPUT: " + page.toStdString(), css.constData(), size);
    for (const std::string& sheet : styleSheets(page))
        if (!flatRules(sheet))
            failWith("style sheet rules not whole: " + sheet, css.constData(), size);

    // A style attribute of a question's text, through the fragment sanitizer.
    const QString fragment = html_sanitizer::fragment(QStringLiteral("<span style='") + QString::fromUtf8(attribute)
                                                          + QStringLiteral("'>text</span>"),
                                                      rules);
    const PageFaults inText = checkSanitizedPage(fragment.toUtf8(), false, rules.examFolder);
    if (!inText.empty())
        failWith(inText.joined() + "\nOUTPUT: " + fragment.toStdString(), css.constData(), size);
    return 0;
}
