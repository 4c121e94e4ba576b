#pragma once

#include "platform/pages/HtmlSanitizer.h"

#include <chrono>
#include <utility>

namespace bench {

// The best of several runs of a piece of work that sanitizes exam text, in
// milliseconds: first with the sanitizer, then the same run less the time
// it spent in the sanitizer.
template <typename Work> std::pair<double, double> bestWithAndWithoutSanitizer(int runs, Work&& work)
{
    std::pair<double, double> best{1e300, 1e300};
    for (int i = 0; i < runs; ++i) {
        const double sanitizedBefore = html_sanitizer::millisecondsSpentOnThisThread();
        const auto start = std::chrono::steady_clock::now();
        work();
        const double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (took < best.first)
            best = {took, took - (html_sanitizer::millisecondsSpentOnThisThread() - sanitizedBefore)};
    }
    return best;
}

} // namespace bench
