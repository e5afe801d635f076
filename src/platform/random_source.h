#pragma once

#include <cstdint>

namespace vortexa {

// The program's one uniform random source on [0, 1). It always starts from the same seed, so every
// run draws the same sequence.
class RandomSource {
public:
    double next()
    {
        // splitmix64: small, fast and well distributed.
        m_state += 0x9E3779B97F4A7C15ull;
        uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * 0x1.0p-53;
    }

private:
    uint64_t m_state = 0x5EED0F0A7E5A1ull;
};

} // namespace vortexa
