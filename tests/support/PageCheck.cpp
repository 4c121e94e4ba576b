#include "tests/support/PageCheck.h"

#include "platform/pages/PageAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <utility>

namespace {

const std::set<std::string> kElements = {
    "html", "head", "body",  "title",   "meta",   "p",          "br",  "hr",   "h1",     "h2",      "h3",       "h4",
    "h5",   "h6",   "b",     "strong",  "i",      "em",         "u",   "s",    "strike", "sub",     "sup",      "small",
    "big",  "font", "span",  "div",     "center", "blockquote", "pre", "code", "tt",     "kbd",     "samp",     "var",
    "q",    "cite", "abbr",  "acronym", "dfn",    "del",        "ins", "mark", "ul",     "ol",      "li",       "dl",
    "dt",   "dd",   "table", "thead",   "tbody",  "tfoot",      "tr",  "td",   "th",     "caption", "colgroup", "col",
    "img",  "a",    "wbr",   "bdo",     "bdi",    "ruby",       "rt",  "rp",   "rb",     "time"};

std::string lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The scheme a browser reads: controls and blanks anywhere are dropped first.
std::string schemeOf(const std::string& url)
{
    std::string squeezed;
    for (char c : url)
        if (static_cast<unsigned char>(c) > 0x20)
            squeezed.push_back(c);
    const auto colon = squeezed.find(':');
    if (colon == std::string::npos || squeezed.find_first_of("/?#") < colon)
        return "";
    return lower(squeezed.substr(0, colon));
}

bool insideFolder(const QString& path, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    // A link is judged by the file it leads to.
    const QFileInfo info(path);
    const QString real = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(path);
    return real.startsWith(folder + QLatin1Char('/'));
}

std::string textOf(const GumboNode* node)
{
    std::string text;
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE || child->type == GUMBO_NODE_CDATA)
            text += child->v.text.text;
    }
    return text;
}

} // namespace

std::string PageFaults::joined() const
{
    std::string all;
    for (const auto& fault : faults)
        all += fault + "; ";
    return all;
}

// What stands inside a sheet's rule blocks, where declarations are; a style
// attribute is all declarations.
std::string declarationsOf(const std::string& css)
{
    if (css.find('{') == std::string::npos)
        return css;
    std::string inside;
    int depth = 0;
    for (const char c : css) {
        if (c == '{')
            ++depth;
        else if (c == '}')
            depth = std::max(0, depth - 1);
        else if (depth > 0)
            inside.push_back(c);
    }
    return inside;
}

bool unsafeStyleText(const std::string& css)
{
    // A style loads only through a function, an at-rule or an old loading
    // property: a selector that merely holds "image", "url", "javascript",
    // "binding:" or "behavior:" (an unknown element or pseudo-class, which
    // drops its rule) loads nothing.
    const std::string text = lower(css);
    for (const char* bad : {"url(", "image(", "image-set(", "cross-fade(", "element(", "expression(", "@", "\\", "</",
                            "<!--"})
        if (text.find(bad) != std::string::npos)
            return true;
    const std::string declarations = declarationsOf(text);
    for (const char* property : {"binding:", "behavior:", "javascript"})
        if (declarations.find(property) != std::string::npos)
            return true;
    return false;
}

PageFaults checkSanitizedPage(const QByteArray& html, bool wholeDocument, const QString& examFolder)
{
    GumboOptions options = kGumboDefaultOptions;
    if (!wholeDocument)
        options.fragment_context = GUMBO_TAG_BODY;
    GumboOutput* output = gumbo_parse_with_options(&options, html.constData(), size_t(html.size()));
    PageFaults check;
    std::vector<std::pair<const GumboNode*, int>> stack{{output->root, 1}};
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        check.depth = std::max(check.depth, depth);
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE) {
            check.text += node->v.text.text;
            continue;
        }
        if (node->type != GUMBO_NODE_ELEMENT) {
            check.faults.push_back("node of type " + std::to_string(node->type));
            continue;
        }
        const GumboElement& element = node->v.element;
        const std::string name = gumbo_normalized_tagname(element.tag);
        const bool style = wholeDocument && element.tag == GUMBO_TAG_STYLE;
        if (element.tag_namespace != GUMBO_NAMESPACE_HTML || (!kElements.count(name) && !style))
            check.faults.push_back("element <" + name + ">");
        if (style && unsafeStyleText(textOf(node)))
            check.faults.push_back("style sheet " + textOf(node));
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
            const std::string attrName = attribute->name;
            const std::string value = attribute->value;
            if (attrName.rfind("on", 0) == 0 || attrName == "srcdoc" || attrName == "formaction" || attrName == "srcset"
                || attrName == "target" || attrName == "id" || attrName == "name" || attrName == "http-equiv"
                || attrName == "content" || attrName == "xmlns" || attrName.find(':') != std::string::npos)
                check.faults.push_back("attribute " + attrName);
            if (attrName == "href") {
                const std::string scheme = schemeOf(value);
                if (!scheme.empty() && scheme != "http" && scheme != "https" && scheme != "mailto" && scheme != "file"
                    && scheme != page_address::scheme().toStdString())
                    check.faults.push_back("href " + value);
            }
            if (attrName == "src" || attrName == "background" || attrName == "poster" || attrName == "data") {
                const QUrl url(QString::fromStdString(value), QUrl::StrictMode);
                if (!page_address::isPageAddress(url)
                    || !insideFolder(page_address::localPath(url), examFolder))
                    check.faults.push_back(attrName + " " + value);
            }
            if (attrName == "style" && unsafeStyleText(value))
                check.faults.push_back("style " + value);
        }
        for (unsigned i = element.children.length; i-- > 0;)
            stack.push_back({static_cast<const GumboNode*>(element.children.data[i]), depth + 1});
    }
    gumbo_destroy_output(&options, output);
    return check;
}
