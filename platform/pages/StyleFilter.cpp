#include "platform/pages/StyleFilter.h"

#include "platform/pages/HtmlChars.h"

#include <initializer_list>

namespace style_filter {

namespace {

using html_chars::isAsciiAlpha;
using html_chars::lowerAscii;
using html_chars::trimmed;

// Style declarations that only lay out and colour text.
bool allowedStyleProperty(std::string_view property)
{
    static const char* const allowed[] = {"color",
                                          "background",
                                          "background-color",
                                          "font",
                                          "font-family",
                                          "font-size",
                                          "font-weight",
                                          "font-style",
                                          "font-variant",
                                          "text-decoration",
                                          "text-align",
                                          "text-indent",
                                          "text-transform",
                                          "line-height",
                                          "letter-spacing",
                                          "word-spacing",
                                          "vertical-align",
                                          "white-space",
                                          "margin",
                                          "margin-top",
                                          "margin-right",
                                          "margin-bottom",
                                          "margin-left",
                                          "padding",
                                          "padding-top",
                                          "padding-right",
                                          "padding-bottom",
                                          "padding-left",
                                          "border",
                                          "border-top",
                                          "border-right",
                                          "border-bottom",
                                          "border-left",
                                          "border-color",
                                          "border-style",
                                          "border-width",
                                          "border-collapse",
                                          "border-spacing",
                                          "border-top-color",
                                          "border-right-color",
                                          "border-bottom-color",
                                          "border-left-color",
                                          "border-top-style",
                                          "border-right-style",
                                          "border-bottom-style",
                                          "border-left-style",
                                          "border-top-width",
                                          "border-right-width",
                                          "border-bottom-width",
                                          "border-left-width",
                                          "width",
                                          "height",
                                          "min-width",
                                          "max-width",
                                          "min-height",
                                          "max-height",
                                          "list-style-type",
                                          "display",
                                          "direction",
                                          "unicode-bidi",
                                          "text-shadow",
                                          "float",
                                          "clear"};
    for (const char* name : allowed)
        if (property == name)
            return true;
    return false;
}

bool safeStyleValue(const std::string& property, const std::string& value)
{
    if (value.empty())
        return false;
    for (const char* bad :
         {"\\", "/*", "url", "expression", "image", "@", "<", ">", "javascript", "binding", "behavior", "var("})
        if (value.find(bad) != std::string::npos)
            return false;
    // Functions: colours only.
    for (std::size_t open = value.find('('); open != std::string::npos; open = value.find('(', open + 1)) {
        std::size_t start = open;
        while (start > 0 && (isAsciiAlpha(value[start - 1]) || value[start - 1] == '-'))
            --start;
        const std::string_view function(value.data() + start, open - start);
        if (function != "rgb" && function != "rgba" && function != "hsl" && function != "hsla")
            return false;
    }
    if (property == "display")
        return value == "none" || value == "block" || value == "inline" || value == "inline-block";
    return true;
}

} // namespace

std::string filterStyle(std::string_view style)
{
    std::string kept;
    std::size_t from = 0;
    while (from <= style.size()) {
        std::size_t semicolon = style.find(';', from);
        if (semicolon == std::string_view::npos)
            semicolon = style.size();
        const std::string_view declaration = style.substr(from, semicolon - from);
        from = semicolon + 1;
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string property = lowerAscii(trimmed(declaration.substr(0, colon)));
        // An exam's declaration never outranks the page's own bounds (a
        // picture no larger than the page): "!important" is left out.
        std::string_view given = declaration.substr(colon + 1);
        given = trimmed(given.substr(0, given.find('!')));
        const std::string value = lowerAscii(given);
        if (!allowedStyleProperty(property) || !safeStyleValue(property, value))
            continue;
        if (!kept.empty())
            kept.push_back(' ');
        kept.append(property);
        kept.append(": ");
        kept.append(given);
        kept.push_back(';');
    }
    return kept;
}

// A served page's style sheet, rule by rule: only plain selectors with the
// declarations a style attribute may hold; @-rules (imports, fonts, media)
// and anything that could close the style element are left out.
std::string filterStyleSheet(std::string_view css)
{
    // Comments go in one pass from the left, each one a blank as the CSS
    // reader takes it: what stands on either side of a comment never joins
    // into a new "/*" (from "//**/*/"), which would hide the rules after it.
    std::string text;
    text.reserve(css.size());
    for (std::size_t at = 0; at < css.size();) {
        if (css.compare(at, 2, "/*") == 0) {
            const std::size_t close = css.find("*/", at + 2);
            if (close == std::string_view::npos)
                break; // an open comment runs to the end
            text.push_back(' ');
            at = close + 2;
            continue;
        }
        text.push_back(css[at++]);
    }
    std::string kept;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t brace = text.find('{', at);
        if (brace == std::string::npos)
            break;
        const std::string_view selector = trimmed(std::string_view(text).substr(at, brace - at));
        // The block's end, braces balanced (an @-rule's block holds rules).
        std::size_t end = brace + 1;
        for (int depth = 1; end < text.size() && depth > 0; ++end)
            depth += text[end] == '{' ? 1 : text[end] == '}' ? -1 : 0;
        const std::string_view block = std::string_view(text).substr(brace + 1, end - brace - 2);
        at = end;
        const bool plainSelector = !selector.empty() && selector.find_first_of("@<>\\{};\"'()") == std::string_view::npos;
        if (!plainSelector || block.find('{') != std::string_view::npos)
            continue;
        const std::string declarations = filterStyle(block);
        if (declarations.empty() || declarations.find('<') != std::string::npos)
            continue;
        kept.append(selector);
        kept.append(" { ");
        kept.append(declarations);
        kept.append(" }\n");
    }
    return kept;
}

} // namespace style_filter
