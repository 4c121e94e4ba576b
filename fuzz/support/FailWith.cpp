#include "fuzz/support/FailWith.h"

#include <cstdio>
#include <cstdlib>

void failWith(const std::string& what, const char* data, std::size_t size)
{
    std::fprintf(stderr, "RULE BROKEN: %s\nINPUT (%zu bytes): ", what.c_str(), size);
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c >= 0x20 && c < 0x7f && c != '\\')
            std::fputc(c, stderr);
        else
            std::fprintf(stderr, "\\x%02x", c);
    }
    std::fputc('\n', stderr);
    std::abort();
}
