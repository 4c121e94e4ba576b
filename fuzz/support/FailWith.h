#pragma once

#include <cstddef>
#include <string>

// Stops the run with the fault and the input that caused it.
[[noreturn]] void failWith(const std::string& what, const char* data, std::size_t size);
