#pragma once

#include <QtGlobal>
#include <random>

namespace warizan {

// The program's one random-number generator: uniform numbers in [0, 1). Seeded from the time of day by
// the selection screen; tests seed it with a fixed value.
class RandomSource final {
public:
    void seed(quint64 value) { m_engine.seed(value); }
    double next() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }
    // An integer from 1 to n (n >= 1), picked as the integer part of r x n + 1.
    int pickOneTo(int n) {
        const int i = static_cast<int>(next() * n) + 1;
        return i > n ? n : i;
    }

private:
    std::mt19937_64 m_engine{20240401};
};

} // namespace warizan
