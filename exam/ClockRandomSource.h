#pragma once

#include "exam/RandomSource.h"

#include <random>

// The program's random source: a Mersenne twister seeded from the clock.
class ClockRandomSource : public RandomSource {
public:
    ClockRandomSource();
    void randomize() override;
    double rnd() override;

private:
    std::mt19937_64 m_engine;
    std::uniform_real_distribution<double> m_uniform{0.0, 1.0};
};
