#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// A small benchmark harness: each bench file registers its runs with
// ZIDUVER_BENCH, and the bench executable runs them all in name order.
namespace bench {

struct Entry {
    std::string name;
    std::function<void()> run;
};

std::vector<Entry>& registry();

struct Registrar {
    Registrar(const char* name, std::function<void()> run) { registry().push_back({name, std::move(run)}); }
};

// Best wall-clock time of several runs of a piece of work, in milliseconds.
template <typename Work> double bestOf(int runs, Work&& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = took.count() < best ? took.count() : best;
    }
    return best;
}

// One result line: our time, the floor it is measured against and the ratio
// with its target.
inline void report(const char* what, double ours, double floor, double targetRatio)
{
    const double ratio = floor > 0 ? ours / floor : 0;
    std::printf("%-58s %9.2f ms  floor %9.2f ms  ratio %5.2fx  (target <= %.1fx) %s\n", what, ours, floor, ratio,
                targetRatio, ratio <= targetRatio ? "ok" : "OVER");
}

} // namespace bench

#define ZIDUVER_BENCH_CAT2(a, b) a##b
#define ZIDUVER_BENCH_CAT(a, b) ZIDUVER_BENCH_CAT2(a, b)
#define ZIDUVER_BENCH(name)                                                                                            \
    static void ZIDUVER_BENCH_CAT(benchRun_, __LINE__)();                                                              \
    static ::bench::Registrar ZIDUVER_BENCH_CAT(benchReg_, __LINE__)(name, &ZIDUVER_BENCH_CAT(benchRun_, __LINE__));   \
    static void ZIDUVER_BENCH_CAT(benchRun_, __LINE__)()
