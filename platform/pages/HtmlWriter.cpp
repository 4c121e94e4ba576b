#include "platform/pages/HtmlWriter.h"

#include "platform/pages/HtmlPolicy.h"
#include "platform/pages/PageAddress.h"
#include "platform/pages/StyleFilter.h"

#include <QUrl>

#include <cstring>
#include <vector>

namespace html_writer {

namespace {

using html_policy::Keep;
using html_policy::KeepTable;
using html_policy::keepTable;

// Elements written out deeper than this are flattened: their tags are left
// out, their text kept.
constexpr int kOutputDepth = 200;

void appendEscaped(std::string& out, const char* text, std::size_t length, bool attribute)
{
    std::size_t from = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const char* entity = nullptr;
        switch (text[i]) {
        case '&':
            entity = "&amp;";
            break;
        case '<':
            entity = "&lt;";
            break;
        case '>':
            entity = "&gt;";
            break;
        case '"':
            entity = attribute ? "&quot;" : nullptr;
            break;
        case '\0':
            entity = "\xEF\xBF\xBD";
            break;
        default:
            break;
        }
        if (!entity)
            continue;
        out.append(text + from, i - from);
        out.append(entity);
        from = i + 1;
    }
    out.append(text + from, length - from);
}

void appendAttribute(std::string& out, const char* name, std::string_view value)
{
    out.push_back(' ');
    out.append(name);
    out.append("=\"");
    appendEscaped(out, value.data(), value.size(), true);
    out.push_back('"');
}

// Ends a start tag; the parser eats one line break after <pre>, so one is
// written for it.
void endStartTag(std::string& out, bool pre)
{
    out.push_back('>');
    if (pre)
        out.push_back('\n');
}

const GumboAttribute* findAttribute(const GumboElement& element, const char* name)
{
    return gumbo_get_attribute(&element.attributes, name);
}

void writeAlt(std::string& out, const GumboElement& element)
{
    if (const GumboAttribute* alt = findAttribute(element, "alt"))
        appendEscaped(out, alt->value, std::strlen(alt->value), false);
}

// The text and white space among a node's children.
template <typename Append> void forEachText(const GumboNode& node, Append append)
{
    const GumboVector& children = node.v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
            append(child->v.text.text);
    }
}

} // namespace

void appendEscaped(std::string& out, std::string_view text, bool attribute)
{
    appendEscaped(out, text.data(), text.size(), attribute);
}

void Writer::writeChildren(std::string& out, const GumboNode* parent)
{
    struct Frame {
        const GumboVector* children;
        unsigned next;
        const char* closeTag; // null: nothing to close
    };
    std::vector<Frame> stack;
    stack.push_back({&parent->v.element.children, 0, nullptr});
    int depth = 0;
    const KeepTable& keep = keepTable();
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next >= frame.children->length) {
            if (frame.closeTag) {
                out.append("</");
                out.append(frame.closeTag);
                out.push_back('>');
                --depth;
            }
            stack.pop_back();
            continue;
        }
        const auto* node = static_cast<const GumboNode*>(frame.children->data[frame.next++]);
        switch (node->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
            appendEscaped(out, node->v.text.text, std::strlen(node->v.text.text), false);
            continue;
        case GUMBO_NODE_ELEMENT:
            break;
        default: // comments, CDATA, templates
            continue;
        }
        const GumboElement& element = node->v.element;
        if (element.tag_namespace != GUMBO_NAMESPACE_HTML)
            continue;
        const Keep how = keep[element.tag];
        if (how == Keep::Nothing)
            continue;
        const char* closeTag = nullptr;
        if (depth < kOutputDepth) {
            if (how == Keep::Element)
                closeTag = openTag(out, element);
            else if (how == Keep::AsDiv)
                closeTag = openPlain(out, "div");
            else if (how == Keep::AsPre)
                closeTag = openPlain(out, "pre");
        } else if (element.tag == GUMBO_TAG_IMG) {
            writeAlt(out, element);
        }
        if (closeTag && closeTag[0] == '\0')
            continue; // void element written
        if (closeTag)
            ++depth;
        stack.push_back({&element.children, 0, closeTag});
    }
}

const char* Writer::openPlain(std::string& out, const char* name)
{
    out.push_back('<');
    out.append(name);
    endStartTag(out, std::strcmp(name, "pre") == 0);
    return name;
}

// Writes the start tag; returns the name to close with, "" for a void
// element, null when nothing was written.
const char* Writer::openTag(std::string& out, const GumboElement& element)
{
    std::string picture;
    if (element.tag == GUMBO_TAG_IMG) {
        const GumboAttribute* src = findAttribute(element, "src");
        picture = src ? pictureAddress(src->value) : std::string();
        if (picture.empty()) {
            writeAlt(out, element);
            return nullptr;
        }
    }
    const char* name = gumbo_normalized_tagname(element.tag);
    out.push_back('<');
    out.append(name);
    if (!picture.empty())
        appendAttribute(out, "src", picture);
    writeAttributes(out, element);
    endStartTag(out, element.tag == GUMBO_TAG_PRE);
    return html_policy::isVoid(element.tag) ? "" : name;
}

void Writer::writeAttributes(std::string& out, const GumboElement& element)
{
    const GumboTag tag = element.tag;
    for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
        if (attribute->attr_namespace != GUMBO_ATTR_NAMESPACE_NONE)
            continue;
        const std::string_view name(attribute->name);
        const std::string_view value(attribute->value);
        if (html_policy::plainAttribute(name)) {
            appendAttribute(out, attribute->name, value);
        } else if (name == "class" && m_keepClasses && html_policy::plainClass(value)) {
            appendAttribute(out, "class", value);
        } else if (name == "style") {
            const std::string style = style_filter::filterStyle(value);
            if (!style.empty())
                appendAttribute(out, "style", style);
        } else if (name == "href" && tag == GUMBO_TAG_A) {
            const std::string url = html_policy::cleanUrl(value);
            if (m_keepLinks && html_policy::allowedLink(url))
                appendAttribute(out, "href", url);
        } else if (html_policy::listAttribute(tag, name)) {
            appendAttribute(out, attribute->name, value);
        } else if (name == "background" && html_policy::takesBackground(tag)) {
            const std::string picture = pictureAddress(attribute->value);
            if (!picture.empty())
                appendAttribute(out, "background", picture);
        }
    }
}

// The page address of the file the resolver finds for a picture reference,
// "" for any other reference.
std::string Writer::pictureAddress(const char* value)
{
    if (!m_pictures)
        return std::string();
    const std::optional<PictureReference> reference = html_policy::pictureReference(value);
    if (!reference)
        return std::string();
    const QString file = m_pictures(*reference);
    if (file.isEmpty())
        return std::string();
    return page_address::forFile(file).toString(QUrl::FullyEncoded).toStdString();
}

void writeTitle(std::string& out, const GumboNode& title)
{
    out.append("<title>");
    forEachText(title, [&](const char* text) { appendEscaped(out, text, std::strlen(text), false); });
    out.append("</title>");
}

void writeStyleSheets(std::string& out, const GumboNode& holder)
{
    const GumboVector& children = holder.v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type != GUMBO_NODE_ELEMENT || child->v.element.tag != GUMBO_TAG_STYLE)
            continue;
        std::string css;
        forEachText(*child, [&](const char* text) { css.append(text); });
        const std::string sheet = style_filter::filterStyleSheet(css);
        if (!sheet.empty())
            out.append("<style>\n").append(sheet).append("</style>");
    }
}

} // namespace html_writer
