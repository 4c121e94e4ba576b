#pragma once

#include <gumbo.h>

#include <memory>
#include <string>
#include <string_view>

// Parsing a stranger's markup within bounds: markup can make the parser's
// work grow faster than its length, and the parser slows with the depth of
// open elements.
namespace html_parse {

// The markup made ready for the parser: control characters other than white
// space (NUL, vertical tab and the like, which no reader sees) are removed,
// noscript elements are left out whole, and start tags that would open
// elements deeper than the parse depth are left out, their text kept.
std::string prepare(std::string_view in);

struct Arena;

// One parse within its budget of memory and time. The tree is held in one
// arena and released at once with the parse; the input must outlive it.
class GuardedParse {
public:
    // fragment: read as the content of a page's body; else a whole document.
    GuardedParse(const std::string& input, bool fragment);
    ~GuardedParse();
    GuardedParse(const GuardedParse&) = delete;
    GuardedParse& operator=(const GuardedParse&) = delete;

    // The tree, or null when the parse went over its budget.
    const GumboOutput* output() const { return m_output; }

private:
    std::unique_ptr<Arena> m_arena;
    const GumboOutput* m_output = nullptr;
};

// The first child element of parent with the tag, or null.
const GumboNode* childElement(const GumboNode* parent, GumboTag tag);

} // namespace html_parse
