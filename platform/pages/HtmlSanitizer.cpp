#include "platform/pages/HtmlSanitizer.h"

#include "platform/pages/FileLookup.h"
#include "platform/pages/PageAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// Deeper markup is flattened: its tags are left out, its text kept. The
// parser slows with the depth of open elements, and browsers stop nesting
// at about this depth themselves.
constexpr std::size_t kParseDepth = 400;
// Elements written out deeper than this are flattened too.
constexpr int kOutputDepth = 200;
// A parse that needs more memory or time than this is given up (the text is
// then shown as too long): markup can make the parser's work grow faster
// than its length.
constexpr std::size_t kParseMemoryFloor = 64u << 20;
constexpr std::size_t kParseMemoryPerByte = 64;
constexpr auto kParseTime = std::chrono::milliseconds(1500);

// ---------------------------------------------------------------------------
// Parser memory: one arena per parse, released at once. The parse tree is
// never freed node by node (freeing walks the tree recursively), and a parse
// over its budget is left by a jump, with nothing else to clean up.

struct Arena {
    static constexpr std::size_t kBlock = 256 * 1024;
    std::vector<void*> blocks;
    char* cur = nullptr;
    std::size_t left = 0;
    std::size_t used = 0;
    std::size_t limit = 0;
    unsigned calls = 0;
    std::chrono::steady_clock::time_point deadline;
    std::jmp_buf escape;

    Arena(std::size_t inputSize)
        : limit(kParseMemoryFloor + kParseMemoryPerByte * inputSize),
          deadline(std::chrono::steady_clock::now() + kParseTime)
    {
        blocks.reserve(64);
    }
    ~Arena()
    {
        for (void* block : blocks)
            std::free(block);
    }
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
};

void* arenaAllocate(void* userdata, std::size_t size)
{
    auto* arena = static_cast<Arena*>(userdata);
    size = (size + 15) & ~std::size_t(15);
    arena->used += size;
    if (arena->used > arena->limit
        || ((++arena->calls & 1023u) == 0 && std::chrono::steady_clock::now() > arena->deadline))
        std::longjmp(arena->escape, 1);
    if (size > Arena::kBlock / 4 || size > arena->left) {
        // Blocks grow with the text: a short text costs one small block.
        const std::size_t blockSize =
            std::min(Arena::kBlock, std::size_t(16384) << std::min<std::size_t>(arena->blocks.size(), 8));
        const bool own = size > blockSize / 4;
        void* block = std::malloc(own ? size : blockSize);
        if (!block)
            std::longjmp(arena->escape, 1);
        arena->blocks.push_back(block);
        if (own)
            return block;
        arena->cur = static_cast<char*>(block);
        arena->left = blockSize;
    }
    void* p = arena->cur;
    arena->cur += size;
    arena->left -= size;
    return p;
}

void arenaFree(void*, void*)
{
}

// The parse, or null when it went over its budget.
GumboOutput* parseGuarded(const GumboOptions& options, const std::string& input, Arena& arena)
{
    if (setjmp(arena.escape) != 0)
        return nullptr;
    return gumbo_parse_with_options(&options, input.data(), input.size());
}

// ---------------------------------------------------------------------------
// Before parsing: control characters other than white space (NUL, vertical
// tab and the like, which no reader sees) are removed, and start tags that would open
// elements deeper than kParseDepth are left out. The nesting is estimated
// from the tags alone; whatever the estimate misses is still bounded by the
// parse budget, and the tree is sanitized afterwards whatever it holds.

bool isAsciiAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isControl(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && u != '\t' && u != '\n' && u != '\f' && u != '\r') || u == 0x7F;
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

// A tag name's first eight letters, lower case, with its length.
std::uint64_t tagKey(const char* name, std::size_t length)
{
    std::uint64_t key = length & 0xff;
    for (std::size_t i = 0; i < length && i < 7; ++i)
        key = (key << 8) | static_cast<unsigned char>(lower(name[i]));
    return key;
}

std::uint64_t tagKey(std::string_view name)
{
    return tagKey(name.data(), name.size());
}

bool isVoidKey(std::uint64_t key)
{
    static const std::uint64_t keys[] = {tagKey("area"),   tagKey("base"),  tagKey("br"),       tagKey("col"),
                                         tagKey("embed"),  tagKey("hr"),    tagKey("img"),      tagKey("input"),
                                         tagKey("link"),   tagKey("meta"),  tagKey("param"),    tagKey("source"),
                                         tagKey("track"),  tagKey("wbr"),   tagKey("basefont"), tagKey("frame"),
                                         tagKey("keygen"), tagKey("image"), tagKey("bgsound"),  tagKey("isindex")};
    for (std::uint64_t k : keys)
        if (k == key)
            return true;
    return false;
}

// Elements that a start tag of the same name closes.
bool closesItselfKey(std::uint64_t key)
{
    static const std::uint64_t keys[] = {tagKey("p"),  tagKey("li"), tagKey("dt"), tagKey("dd"),
                                         tagKey("td"), tagKey("th"), tagKey("tr"), tagKey("option")};
    for (std::uint64_t k : keys)
        if (k == key)
            return true;
    return false;
}

class KeySet {
public:
    KeySet(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            keys_.push_back(tagKey(name));
    }
    bool has(std::uint64_t key) const { return std::find(keys_.begin(), keys_.end(), key) != keys_.end(); }

private:
    std::vector<std::uint64_t> keys_;
};

// Elements that stop an end tag of a block (and a paragraph's closing).
bool isScopeKey(std::uint64_t key)
{
    static const KeySet keys{"table",  "td",       "th",   "caption", "marquee", "object",
                             "applet", "template", "html", "svg",     "math",    "button"};
    return keys.has(key);
}

// Start tags that close an open paragraph.
bool closesParagraphKey(std::uint64_t key)
{
    static const KeySet keys{"address", "article", "aside",    "blockquote", "center",    "details", "dir",
                             "div",     "dl",      "fieldset", "figcaption", "figure",    "footer",  "header",
                             "hgroup",  "main",    "menu",     "nav",        "ol",        "p",       "section",
                             "summary", "ul",      "h1",       "h2",         "h3",        "h4",      "h5",
                             "h6",      "pre",     "listing",  "form",       "plaintext", "xmp",     "hr"};
    return keys.has(key);
}

// Elements that an end tag of a phrase element does not close (nor move).
bool isSpecialKey(std::uint64_t key)
{
    static const KeySet keys{"address",
                             "applet",
                             "article",
                             "aside",
                             "blockquote",
                             "body",
                             "button",
                             "caption",
                             "center",
                             "colgroup",
                             "dd",
                             "details",
                             "dir",
                             "div",
                             "dl",
                             "dt",
                             "fieldset",
                             "figcaption",
                             "figure",
                             "footer",
                             "form",
                             "frameset",
                             "h1",
                             "h2",
                             "h3",
                             "h4",
                             "h5",
                             "h6",
                             "head",
                             "header",
                             "hgroup",
                             "html",
                             "iframe",
                             "li",
                             "listing",
                             "main",
                             "marquee",
                             "menu",
                             "nav",
                             "noembed",
                             "noframes",
                             "object",
                             "ol",
                             "p",
                             "plaintext",
                             "pre",
                             "script",
                             "section",
                             "select",
                             "style",
                             "summary",
                             "table",
                             "tbody",
                             "td",
                             "template",
                             "textarea",
                             "tfoot",
                             "th",
                             "thead",
                             "title",
                             "tr",
                             "ul",
                             "xmp",
                             "svg",
                             "math",
                             "foreignobject",
                             "desc",
                             "mi",
                             "mo",
                             "mn",
                             "ms",
                             "mtext",
                             "annotation-xml"};
    return keys.has(key);
}

// The elements the parser will hold open, as far as the tags tell.
class OpenElements {
public:
    OpenElements() { open_.reserve(kParseDepth); }

    std::size_t depth() const { return open_.size(); }
    bool topIs(std::uint64_t key) const { return !open_.empty() && open_.back().key == key; }

    void push(std::uint64_t key)
    {
        open_.push_back({key, isSpecialKey(key), isScopeKey(key)});
        ++counts_[key];
    }

    // A start tag of a block closes an open paragraph, unless a table
    // cell, button or the like lies above it.
    void closeParagraph()
    {
        static const std::uint64_t p = tagKey("p");
        closeTo(p, [](const Entry& e) { return e.scope; });
    }

    // An end tag closes the open element of its name with the elements
    // above it only where the parser surely does: a phrase element's end tag
    // stops at any block above it (the parser then keeps the depth), a
    // block's end tag at a table cell, table or embedded object above it.
    void close(std::uint64_t key)
    {
        if (isSpecialKey(key))
            closeTo(key, [](const Entry& e) { return e.scope; });
        else
            closeTo(key, [](const Entry& e) { return e.special; });
    }

private:
    struct Entry {
        std::uint64_t key;
        bool special;
        bool scope;
    };

    template <typename Stops> void closeTo(std::uint64_t key, Stops stops)
    {
        const auto count = counts_.find(key);
        if (count == counts_.end() || count->second == 0)
            return;
        for (std::size_t k = open_.size(); k-- > 0;) {
            if (open_[k].key == key) {
                for (std::size_t m = k; m < open_.size(); ++m)
                    --counts_[open_[m].key];
                open_.resize(k);
                return;
            }
            if (stops(open_[k]))
                return;
        }
    }

    std::vector<Entry> open_;
    std::unordered_map<std::uint64_t, int> counts_;
};

// The position after the end tag that starts with endTag (lower case), or
// the end of the text when there is none.
std::size_t afterEndTag(std::string_view in, std::size_t from, std::string_view endTag)
{
    for (std::size_t at = in.find("</", from); at != std::string_view::npos; at = in.find("</", at + 2)) {
        if (in.size() - at < endTag.size())
            break;
        bool same = true;
        for (std::size_t k = 2; k < endTag.size() && same; ++k)
            same = lower(in[at + k]) == endTag[k];
        if (!same)
            continue;
        const std::size_t close = in.find('>', at);
        return close == std::string_view::npos ? in.size() : close + 1;
    }
    return in.size();
}

std::string prepare(std::string_view in)
{
    std::string out;
    out.reserve(in.size() + 16);
    OpenElements open;
    const char* s = in.data();
    const std::size_t n = in.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = i;
        while (run < n && s[run] != '<' && !isControl(s[run]))
            ++run;
        out.append(s + i, run - i);
        i = run;
        if (i >= n)
            break;
        if (isControl(s[i])) {
            ++i;
            continue;
        }
        const bool end = i + 2 < n && s[i + 1] == '/' && isAsciiAlpha(s[i + 2]);
        const bool start = i + 1 < n && isAsciiAlpha(s[i + 1]);
        if (!end && !start) {
            out.push_back('<');
            ++i;
            continue;
        }
        const std::size_t nameStart = i + (end ? 2 : 1);
        std::size_t nameEnd = nameStart;
        while (nameEnd < n && s[nameEnd] != '>' && s[nameEnd] != '/' && s[nameEnd] != ' ' && s[nameEnd] != '\t'
               && s[nameEnd] != '\n' && s[nameEnd] != '\r' && s[nameEnd] != '\f')
            ++nameEnd;
        const void* close = std::memchr(s + nameEnd, '>', n - nameEnd);
        const std::size_t tagEnd = close ? static_cast<const char*>(close) - s + 1 : n;
        const std::uint64_t key = tagKey(s + nameStart, nameEnd - nameStart);
        if (!end && key == tagKey("noscript")) {
            // Scripts run in our pages, so the browser reads a noscript's
            // content as text it never shows: it is left out whole.
            i = afterEndTag(in, tagEnd, "</noscript");
            continue;
        }
        if (end) {
            open.close(key);
        } else if (!isVoidKey(key)) {
            if (closesParagraphKey(key))
                open.closeParagraph();
            if (open.topIs(key) && closesItselfKey(key)) {
                // replaces the open element of the same name
            } else if (open.depth() >= kParseDepth) {
                i = tagEnd; // too deep: the tag is left out, its text stays
                continue;
            } else {
                open.push(key);
            }
        }
        for (std::size_t k = i; k < tagEnd; ++k)
            if (!isControl(s[k]))
                out.push_back(s[k]);
        i = tagEnd;
    }
    return out;
}

// ---------------------------------------------------------------------------
// What is kept.

enum class Keep : unsigned char {
    Text,    // the element is left out, its content walked
    Nothing, // the element and all it holds are left out
    Element, // written out with its allowed attributes
    AsDiv,   // a block of a kind not kept, written as a div
    AsPre,   // literal text shown as is, written as a pre
};

using KeepTable = std::array<Keep, GUMBO_TAG_LAST + 1>;

const KeepTable& keepTable()
{
    static const KeepTable table = [] {
        KeepTable t;
        t.fill(Keep::Text);
        for (GumboTag tag :
             {GUMBO_TAG_P,      GUMBO_TAG_BR,    GUMBO_TAG_HR,      GUMBO_TAG_H1,       GUMBO_TAG_H2,
              GUMBO_TAG_H3,     GUMBO_TAG_H4,    GUMBO_TAG_H5,      GUMBO_TAG_H6,       GUMBO_TAG_B,
              GUMBO_TAG_STRONG, GUMBO_TAG_I,     GUMBO_TAG_EM,      GUMBO_TAG_U,        GUMBO_TAG_S,
              GUMBO_TAG_STRIKE, GUMBO_TAG_SUB,   GUMBO_TAG_SUP,     GUMBO_TAG_SMALL,    GUMBO_TAG_BIG,
              GUMBO_TAG_FONT,   GUMBO_TAG_SPAN,  GUMBO_TAG_DIV,     GUMBO_TAG_CENTER,   GUMBO_TAG_BLOCKQUOTE,
              GUMBO_TAG_PRE,    GUMBO_TAG_CODE,  GUMBO_TAG_TT,      GUMBO_TAG_KBD,      GUMBO_TAG_SAMP,
              GUMBO_TAG_VAR,    GUMBO_TAG_Q,     GUMBO_TAG_CITE,    GUMBO_TAG_ABBR,     GUMBO_TAG_ACRONYM,
              GUMBO_TAG_DFN,    GUMBO_TAG_DEL,   GUMBO_TAG_INS,     GUMBO_TAG_MARK,     GUMBO_TAG_UL,
              GUMBO_TAG_OL,     GUMBO_TAG_LI,    GUMBO_TAG_DL,      GUMBO_TAG_DT,       GUMBO_TAG_DD,
              GUMBO_TAG_TABLE,  GUMBO_TAG_THEAD, GUMBO_TAG_TBODY,   GUMBO_TAG_TFOOT,    GUMBO_TAG_TR,
              GUMBO_TAG_TD,     GUMBO_TAG_TH,    GUMBO_TAG_CAPTION, GUMBO_TAG_COLGROUP, GUMBO_TAG_COL,
              GUMBO_TAG_IMG,    GUMBO_TAG_A,     GUMBO_TAG_WBR,     GUMBO_TAG_BDO,      GUMBO_TAG_BDI,
              GUMBO_TAG_RUBY,   GUMBO_TAG_RT,    GUMBO_TAG_RP,      GUMBO_TAG_RB,       GUMBO_TAG_TIME})
            t[tag] = Keep::Element;
        for (GumboTag tag :
             {GUMBO_TAG_SCRIPT,   GUMBO_TAG_STYLE,    GUMBO_TAG_TEMPLATE, GUMBO_TAG_NOSCRIPT, GUMBO_TAG_IFRAME,
              GUMBO_TAG_FRAME,    GUMBO_TAG_FRAMESET, GUMBO_TAG_OBJECT,   GUMBO_TAG_EMBED,    GUMBO_TAG_APPLET,
              GUMBO_TAG_SVG,      GUMBO_TAG_MATH,     GUMBO_TAG_TITLE,    GUMBO_TAG_TEXTAREA, GUMBO_TAG_SELECT,
              GUMBO_TAG_OPTION,   GUMBO_TAG_OPTGROUP, GUMBO_TAG_DATALIST, GUMBO_TAG_NOEMBED,  GUMBO_TAG_NOFRAMES,
              GUMBO_TAG_HEAD,     GUMBO_TAG_META,     GUMBO_TAG_LINK,     GUMBO_TAG_BASE,     GUMBO_TAG_PARAM,
              GUMBO_TAG_SOURCE,   GUMBO_TAG_TRACK,    GUMBO_TAG_AUDIO,    GUMBO_TAG_VIDEO,    GUMBO_TAG_CANVAS,
              GUMBO_TAG_INPUT,    GUMBO_TAG_KEYGEN,   GUMBO_TAG_ISINDEX,  GUMBO_TAG_BGSOUND,  GUMBO_TAG_MAP,
              GUMBO_TAG_AREA,     GUMBO_TAG_MENUITEM, GUMBO_TAG_IMAGE,    GUMBO_TAG_BASEFONT, GUMBO_TAG_OUTPUT,
              GUMBO_TAG_PROGRESS, GUMBO_TAG_METER})
            t[tag] = Keep::Nothing;
        for (GumboTag tag :
             {GUMBO_TAG_ADDRESS, GUMBO_TAG_ARTICLE, GUMBO_TAG_ASIDE,    GUMBO_TAG_FOOTER,   GUMBO_TAG_HEADER,
              GUMBO_TAG_MAIN,    GUMBO_TAG_NAV,     GUMBO_TAG_SECTION,  GUMBO_TAG_FIGURE,   GUMBO_TAG_FIGCAPTION,
              GUMBO_TAG_HGROUP,  GUMBO_TAG_FORM,    GUMBO_TAG_FIELDSET, GUMBO_TAG_LEGEND,   GUMBO_TAG_DETAILS,
              GUMBO_TAG_SUMMARY, GUMBO_TAG_MENU,    GUMBO_TAG_DIR,      GUMBO_TAG_MULTICOL, GUMBO_TAG_MARQUEE})
            t[tag] = Keep::AsDiv;
        for (GumboTag tag : {GUMBO_TAG_PLAINTEXT, GUMBO_TAG_XMP, GUMBO_TAG_LISTING})
            t[tag] = Keep::AsPre;
        return t;
    }();
    return table;
}

bool isVoid(GumboTag tag)
{
    return tag == GUMBO_TAG_BR || tag == GUMBO_TAG_HR || tag == GUMBO_TAG_IMG || tag == GUMBO_TAG_COL
        || tag == GUMBO_TAG_WBR;
}

// ---------------------------------------------------------------------------
// Writing out.

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

void appendEscaped(std::string& out, std::string_view text, bool attribute)
{
    appendEscaped(out, text.data(), text.size(), attribute);
}

void appendAttribute(std::string& out, const char* name, std::string_view value)
{
    out.push_back(' ');
    out.append(name);
    out.append("=\"");
    appendEscaped(out, value, true);
    out.push_back('"');
}

std::string lowerAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = lower(c);
    return result;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    return text;
}

// A URL as the browser reads it: leading and trailing controls and spaces
// stripped, tabs and line breaks removed wherever they are.
std::string cleanUrl(std::string_view value)
{
    value = trimmed(value);
    std::string url;
    url.reserve(value.size());
    for (char c : value)
        if (c != '\t' && c != '\n' && c != '\r')
            url.push_back(c);
    return url;
}

// The URL's scheme in lower case, "" for a relative reference.
std::string schemeOf(std::string_view url)
{
    if (url.empty() || !isAsciiAlpha(url[0]))
        return std::string();
    for (std::size_t i = 1; i < url.size(); ++i) {
        const char c = url[i];
        if (c == ':')
            return lowerAscii(url.substr(0, i));
        if (!(isAsciiAlpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))
            return std::string();
    }
    return std::string();
}

// A colon before the first "/", "?" or "#" names a scheme; one that is not
// a well-formed scheme is no relative reference either.
bool hasSchemeColon(std::string_view url)
{
    const std::size_t colon = url.find(':');
    return colon != std::string_view::npos && colon < url.find_first_of("/?#");
}

bool allowedLink(const std::string& url)
{
    const std::string scheme = schemeOf(url);
    if (scheme.empty())
        return !hasSchemeColon(url);
    // Local documents too: a click never follows a link in the page, it goes
    // to the link rules, which judge the file it names.
    return scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "file"
        || scheme == page_address::scheme().toStdString();
}

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

// A class name a served page's own style sheet may select: letters, digits,
// "-" and "_" only.
bool plainClass(std::string_view value)
{
    for (const char c : value)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ' '))
            return false;
    return !value.empty();
}

// Attributes kept on any element kept; the rest (every event handler,
// id, name, class, target, srcset and the like) are left out.
bool plainAttribute(std::string_view name)
{
    static const char* const allowed[] = {
        "align",    "valign",  "width",  "height", "border",     "cellpadding", "cellspacing", "colspan",
        "rowspan",  "bgcolor", "color",  "face",   "size",       "title",       "alt",         "dir",
        "lang",     "nowrap",  "span",   "abbr",   "text",       "link",        "vlink",       "alink",
        "clear",    "noshade", "frame",  "rules",  "char",       "charoff",     "headers",     "scope",
        "datetime", "cite",    "hspace", "vspace", "bordercolor"};
    for (const char* a : allowed)
        if (name == a)
            return true;
    return false;
}

class Sanitizer {
public:
    explicit Sanitizer(const SanitizeRules& rules) : rules_(rules) { }
    // A served page keeps its classes, for its own style sheet.
    void keepClasses() { keepClasses_ = true; }

    // Writes the children of a node, walking without recursion.
    void writeChildren(std::string& out, const GumboNode* parent)
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

    // The kept attributes of a document's body element.
    void writeBodyAttributes(std::string& out, const GumboElement& body) { writeAttributes(out, body); }

private:
    const char* openPlain(std::string& out, const char* name)
    {
        out.push_back('<');
        out.append(name);
        out.push_back('>');
        if (std::strcmp(name, "pre") == 0)
            out.push_back('\n'); // the parser eats one line break after <pre>
        return name;
    }

    static const GumboAttribute* findAttribute(const GumboElement& element, const char* name)
    {
        return gumbo_get_attribute(&element.attributes, name);
    }

    void writeAlt(std::string& out, const GumboElement& element)
    {
        if (const GumboAttribute* alt = findAttribute(element, "alt"))
            appendEscaped(out, alt->value, std::strlen(alt->value), false);
    }

    // Writes the start tag; returns the name to close with, "" for a void
    // element, null when nothing was written.
    const char* openTag(std::string& out, const GumboElement& element)
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
        out.push_back('>');
        if (element.tag == GUMBO_TAG_PRE)
            out.push_back('\n'); // the parser eats one line break after <pre>
        return isVoid(element.tag) ? "" : name;
    }

    void writeAttributes(std::string& out, const GumboElement& element)
    {
        const GumboTag tag = element.tag;
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
            if (attribute->attr_namespace != GUMBO_ATTR_NAMESPACE_NONE)
                continue;
            const std::string_view name(attribute->name);
            const std::string_view value(attribute->value);
            if (plainAttribute(name)) {
                appendAttribute(out, attribute->name, value);
            } else if (name == "class" && keepClasses_ && plainClass(value)) {
                appendAttribute(out, "class", value);
            } else if (name == "style") {
                const std::string style = filterStyle(value);
                if (!style.empty())
                    appendAttribute(out, "style", style);
            } else if (name == "href" && tag == GUMBO_TAG_A) {
                const std::string url = cleanUrl(value);
                if (rules_.keepLinks && allowedLink(url))
                    appendAttribute(out, "href", url);
            } else if ((name == "type" && (tag == GUMBO_TAG_OL || tag == GUMBO_TAG_UL || tag == GUMBO_TAG_LI))
                       || (name == "start" && tag == GUMBO_TAG_OL) || (name == "value" && tag == GUMBO_TAG_LI)) {
                appendAttribute(out, attribute->name, value);
            } else if (name == "background"
                       && (tag == GUMBO_TAG_BODY || tag == GUMBO_TAG_TABLE || tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH
                           || tag == GUMBO_TAG_TR)) {
                const std::string picture = pictureAddress(attribute->value);
                if (!picture.empty())
                    appendAttribute(out, "background", picture);
            }
        }
    }

    // The page address of a picture that really lies in the exam's folder,
    // "" for any other reference.
    std::string pictureAddress(const char* value)
    {
        if (rules_.examFolder.isEmpty())
            return std::string();
        const std::string url = cleanUrl(value);
        if (url.empty())
            return std::string();
        const std::string scheme = schemeOf(url);
        QString path;
        QString relative;
        if (scheme == "file") {
            path = QUrl(QString::fromStdString(url)).toLocalFile();
        } else if (scheme == page_address::scheme().toStdString()) {
            path = page_address::localPath(QUrl(QString::fromStdString(url)));
        } else if (!scheme.empty() || hasSchemeColon(url) || url.compare(0, 2, "//") == 0
                   || url.compare(0, 2, "\\\\") == 0) {
            return std::string();
        } else {
            std::string_view reference(url);
            reference = reference.substr(0, reference.find_first_of("?#"));
            QString decoded = QUrl::fromPercentEncoding(QByteArray(reference.data(), qsizetype(reference.size())));
            decoded.replace(QLatin1Char('\\'), QLatin1Char('/'));
            if (decoded.startsWith(QLatin1Char('/'))) {
                path = decoded;
            } else {
                relative = decoded;
                path = QDir(baseFolder()).filePath(decoded);
            }
        }
        if (path.isEmpty())
            return std::string();
        QFileInfo file(path);
        QString real = file.canonicalFilePath();
        if (real.isEmpty() && !relative.isEmpty()) {
            const QString found = findFileIgnoringCase(baseFolder(), relative);
            if (!found.isEmpty())
                real = QFileInfo(found).canonicalFilePath();
        }
        if (real.isEmpty() || !QFileInfo(real).isFile())
            return std::string();
        const QString& folder = canonicalExamFolder();
        if (folder.isEmpty() || !real.startsWith(folder + QLatin1Char('/')))
            return std::string();
        return page_address::forFile(real).toString(QUrl::FullyEncoded).toStdString();
    }

    const QString& baseFolder() const { return rules_.baseFolder.isEmpty() ? rules_.examFolder : rules_.baseFolder; }

    const QString& canonicalExamFolder()
    {
        if (!examFolderResolved_) {
            examFolder_ = QFileInfo(rules_.examFolder).canonicalFilePath();
            if (examFolder_ == QLatin1String("/"))
                examFolder_.clear(); // the whole file system is no exam's folder
            examFolderResolved_ = true;
        }
        return examFolder_;
    }

    const SanitizeRules& rules_;
    bool keepClasses_ = false;
    QString examFolder_;
    bool examFolderResolved_ = false;
};

const GumboNode* childElement(const GumboNode* parent, GumboTag tag)
{
    if (!parent || parent->type != GUMBO_NODE_ELEMENT)
        return nullptr;
    const GumboVector& children = parent->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == tag)
            return child;
    }
    return nullptr;
}

GumboOptions parseOptions(Arena& arena)
{
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = arenaAllocate;
    options.deallocator = arenaFree;
    options.userdata = &arena;
    options.max_errors = 0;
    return options;
}

// Windows-1252 for the bytes 0x80 to 0x9F; the rest as Latin-1.
QString fromWindows1252(const QByteArray& bytes)
{
    static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = byte >= 0x80 && byte < 0xA0 ? QChar(high[byte - 0x80]) : QChar(byte);
    }
    return text;
}

// The file's text as UTF-8 bytes.
std::string decodeFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.sliced(3).toStdString();
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const QString text = decoder(bytes.sliced(2));
        return text.toStdString();
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return bytes.toStdString();
    return fromWindows1252(bytes).toStdString();
}

// Text with no mark-up, entity or control character reads the same as HTML.
bool isPlainText(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '<' || u == '>' || u == '&' || u == 0x7F || (u < 0x20 && u != '\t' && u != '\n' && u != '\r'))
            return false;
    }
    return true;
}

} // namespace

namespace {

thread_local double millisecondsSpent = 0;

// Adds the time of one call to the thread's total.
class SpentTime {
public:
    ~SpentTime()
    {
        millisecondsSpent +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace

namespace html_sanitizer {

double millisecondsSpentOnThisThread()
{
    return millisecondsSpent;
}

QString tooLongMessage()
{
    return QStringLiteral("<p><i>This text is too long to be shown.</i></p>");
}

QString fragment(const QString& html, const SanitizeRules& rules)
{
    const SpentTime spent;
    if (html.size() > rules.maxChars)
        return tooLongMessage();
    if (isPlainText(html))
        return html;
    const std::string input = prepare(html.toStdString());
    Arena arena(input.size());
    GumboOptions options = parseOptions(arena);
    options.fragment_context = GUMBO_TAG_BODY;
    const GumboOutput* output = parseGuarded(options, input, arena);
    if (!output)
        return tooLongMessage();
    // A fragment's nodes sit directly in the root element.
    const GumboNode* root = output->root;
    if (const GumboNode* body = childElement(root, GUMBO_TAG_BODY))
        root = body;
    std::string out;
    out.reserve(input.size() + input.size() / 4);
    Sanitizer(rules).writeChildren(out, root);
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

QByteArray document(const QByteArray& html, const SanitizeRules& rules, const QString& policyHead)
{
    const SpentTime spent;
    QByteArray out = "<!DOCTYPE html><html><head>";
    out += policyHead.toUtf8();
    out += "<meta charset=\"utf-8\">";
    const std::string text = decodeFile(html);
    const auto tooLong = [&] {
        out += "</head><body>";
        out += tooLongMessage().toUtf8();
        out += "</body></html>";
        return out;
    };
    // The length in characters is at most the length in bytes.
    if (qsizetype(text.size()) > rules.maxChars
        && QString::fromUtf8(text.data(), qsizetype(text.size())).size() > rules.maxChars)
        return tooLong();
    const std::string input = prepare(text);
    Arena arena(input.size());
    const GumboOptions options = parseOptions(arena);
    const GumboOutput* output = parseGuarded(options, input, arena);
    if (!output)
        return tooLong();
    std::string page;
    page.reserve(input.size() + 256);
    const GumboNode* body = childElement(output->root, GUMBO_TAG_BODY);
    // Markup before the doctype puts the title in the body.
    const GumboNode* title = childElement(childElement(output->root, GUMBO_TAG_HEAD), GUMBO_TAG_TITLE);
    if (!title)
        title = childElement(body, GUMBO_TAG_TITLE);
    if (title) {
        page.append("<title>");
        const GumboVector& children = title->v.element.children;
        for (unsigned i = 0; i < children.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(children.data[i]);
            if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
                appendEscaped(page, child->v.text.text, std::strlen(child->v.text.text), false);
        }
        page.append("</title>");
    }
    // The page's own style sheets, filtered, in the head.
    const GumboNode* head = childElement(output->root, GUMBO_TAG_HEAD);
    for (const GumboNode* holder : {head, body}) {
        if (!holder)
            continue;
        const GumboVector& children = holder->v.element.children;
        for (unsigned i = 0; i < children.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(children.data[i]);
            if (child->type != GUMBO_NODE_ELEMENT || child->v.element.tag != GUMBO_TAG_STYLE)
                continue;
            std::string css;
            const GumboVector& parts = child->v.element.children;
            for (unsigned j = 0; j < parts.length; ++j) {
                const auto* part = static_cast<const GumboNode*>(parts.data[j]);
                if (part->type == GUMBO_NODE_TEXT || part->type == GUMBO_NODE_WHITESPACE)
                    css.append(part->v.text.text);
            }
            const std::string sheet = filterStyleSheet(css);
            if (!sheet.empty())
                page.append("<style>\n").append(sheet).append("</style>");
        }
    }
    page.append("</head><body");
    Sanitizer sanitizer(rules);
    sanitizer.keepClasses();
    if (body)
        sanitizer.writeBodyAttributes(page, body->v.element);
    page.push_back('>');
    if (body)
        sanitizer.writeChildren(page, body);
    page.append("</body></html>");
    out.append(page.data(), qsizetype(page.size()));
    return out;
}

} // namespace html_sanitizer
