#include "platform/pages/HtmlParse.h"

#include "platform/pages/HtmlChars.h"

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <unordered_map>
#include <vector>

namespace html_parse {

namespace {

// Deeper markup is flattened: its tags are left out, its text kept. The
// parser slows with the depth of open elements, and browsers stop nesting
// at about this depth themselves.
constexpr std::size_t kParseDepth = 400;
// A parse that needs more memory or time than this is given up (the text is
// then shown as too long): markup can make the parser's work grow faster
// than its length.
constexpr std::size_t kParseMemoryFloor = 64u << 20;
constexpr std::size_t kParseMemoryPerByte = 64;
constexpr auto kParseTime = std::chrono::milliseconds(1500);

} // namespace

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

namespace {

using html_chars::isAsciiAlpha;
using html_chars::lower;

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

GumboOptions parseOptions(Arena& arena)
{
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = arenaAllocate;
    options.deallocator = arenaFree;
    options.userdata = &arena;
    options.max_errors = 0;
    return options;
}

// ---------------------------------------------------------------------------
// Before parsing: control characters other than white space (NUL, vertical
// tab and the like, which no reader sees) are removed, and start tags that would open
// elements deeper than kParseDepth are left out. The nesting is estimated
// from the tags alone; whatever the estimate misses is still bounded by the
// parse budget, and the tree is sanitized afterwards whatever it holds.

bool isControl(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && u != '\t' && u != '\n' && u != '\f' && u != '\r') || u == 0x7F;
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

} // namespace

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

GuardedParse::GuardedParse(const std::string& input, bool fragment) : m_arena(std::make_unique<Arena>(input.size()))
{
    GumboOptions options = parseOptions(*m_arena);
    if (fragment)
        options.fragment_context = GUMBO_TAG_BODY;
    m_output = parseGuarded(options, input, *m_arena);
}

GuardedParse::~GuardedParse() = default;

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

} // namespace html_parse
