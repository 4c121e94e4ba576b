#pragma once

#include "exam/RandomSource.h"

#include <deque>
#include <initializer_list>

// A random source for tests: hands out the scripted draws in order, then the
// fallback value; counts the reseeds.
class ScriptedRandomSource : public RandomSource {
public:
    explicit ScriptedRandomSource(std::initializer_list<double> draws = {}, double fallback = 0.0)
        : m_draws(draws), m_fallback(fallback)
    {
    }

    void then(double draw) { m_draws.push_back(draw); }
    void setFallback(double fallback) { m_fallback = fallback; }

    void randomize() override { ++m_randomizeCalls; }
    double rnd() override;

    int randomizeCalls() const { return m_randomizeCalls; }
    int draws() const { return m_drawCount; }

private:
    std::deque<double> m_draws;
    double m_fallback;
    int m_randomizeCalls = 0;
    int m_drawCount = 0;
};
