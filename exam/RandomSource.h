#pragma once

// The random numbers the question-set builders draw: a uniform value in
// [0, 1) and a reseed from the clock before each round of draws. Behind an
// interface so that tests can script the draws.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Reseeds from the clock.
    virtual void randomize() = 0;
    // A uniform value in [0, 1).
    virtual double rnd() = 0;
};
