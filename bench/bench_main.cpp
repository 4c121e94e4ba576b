#include "bench/BenchRegistry.h"

#include <QCoreApplication>
#include <algorithm>

namespace bench {
std::vector<Entry>& registry()
{
    static std::vector<Entry> entries;
    return entries;
}
} // namespace bench

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    auto& entries = bench::registry();
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const auto& entry : entries) {
        if (argc > 1 && entry.name.find(argv[1]) == std::string::npos)
            continue;
        std::printf("== %s\n", entry.name.c_str());
        entry.run();
    }
    return 0;
}
