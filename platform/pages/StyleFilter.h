#pragma once

#include <string>
#include <string_view>

// Style from a stranger's markup keeps only what lays out and colours text:
// nothing that loads, runs or outranks the page's own bounds.
namespace style_filter {

// A style attribute's declarations that may stay, "" when none.
std::string filterStyle(std::string_view style);

// A served page's style sheet, rule by rule: only plain selectors with the
// declarations a style attribute may hold; @-rules (imports, fonts, media)
// and anything that could close the style element are left out.
std::string filterStyleSheet(std::string_view css);

} // namespace style_filter
