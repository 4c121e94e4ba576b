#pragma once

#include "platform/pages/PictureResolver.h"

#include <gumbo.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

// What of a stranger's markup is kept: the elements, the attributes, the
// links and the picture references a page may hold. Everything else is left
// out.
namespace html_policy {

enum class Keep : unsigned char {
    Text,    // the element is left out, its content walked
    Nothing, // the element and all it holds are left out
    Element, // written out with its allowed attributes
    AsDiv,   // a block of a kind not kept, written as a div
    AsPre,   // literal text shown as is, written as a pre
};

using KeepTable = std::array<Keep, GUMBO_TAG_LAST + 1>;

// How each element is kept.
const KeepTable& keepTable();

// Kept elements that hold nothing and have no end tag.
bool isVoid(GumboTag tag);

// Attributes kept on any element kept.
bool plainAttribute(std::string_view name);
// The list attributes of an ol, ul or li.
bool listAttribute(GumboTag tag, std::string_view name);
// Elements whose background attribute names a picture.
bool takesBackground(GumboTag tag);
// A class name a served page's own style sheet may select.
bool plainClass(std::string_view value);

// A URL as the browser reads it: leading and trailing controls and spaces
// stripped, tabs and line breaks removed wherever they are.
std::string cleanUrl(std::string_view value);
// A link's address (cleaned) that may stay in a page.
bool allowedLink(const std::string& url);
// The local picture an address names; none for any other address (a remote
// one, a scheme other than file and the program's own, a network path).
std::optional<PictureReference> pictureReference(std::string_view value);

} // namespace html_policy
