#pragma once

#include <string>
#include <string_view>

// Byte-level reading shared by the sanitizer's parts: the names of HTML
// elements, URL schemes and style properties are ASCII, so they are read
// byte by byte from UTF-8 without decoding.
namespace html_chars {

inline bool isAsciiAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

inline std::string lowerAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = lower(c);
    return result;
}

// Leading and trailing controls and spaces left out.
inline std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    return text;
}

} // namespace html_chars
