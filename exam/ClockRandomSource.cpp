#include "exam/ClockRandomSource.h"

#include <chrono>

namespace {

std::uint64_t clockSeed()
{
    // Mixed with a per-call counter: two reseeds within one clock tick must
    // not repeat the same draws.
    static std::uint64_t calls = 0;
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return std::uint64_t(now) ^ (++calls * 0x9E3779B97F4A7C15ull);
}

} // namespace

ClockRandomSource::ClockRandomSource() : m_engine(clockSeed())
{
}

void ClockRandomSource::randomize()
{
    m_engine.seed(clockSeed());
}

double ClockRandomSource::rnd()
{
    const double value = m_uniform(m_engine);
    // The distribution may round up to 1.0 on some libraries; keep [0, 1).
    return value < 1.0 ? value : 0.0;
}
