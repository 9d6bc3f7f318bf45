// The one uniform generator of a program. Deterministic for a given seed.
#pragma once

#include <cstdint>

namespace plat {

class Random {
  public:
    explicit Random(std::uint64_t seed = 0x853c49e6748fea9bULL) { reseed(seed); }

    void reseed(std::uint64_t seed) {
        state_ = 0;
        next32();
        state_ += seed;
        next32();
    }
    // Starts from the given seed and from then on leaves the clock out: the same seed and the
    // same input give the same run.
    void fixSeed(std::uint64_t seed) {
        reseed(seed);
        followsClock_ = false;
    }
    // Mixes a clock reading into the running state: draws taken in the same millisecond
    // still differ, while a new tick still changes the sequence.
    void mix(std::uint32_t tick) {
        if (followsClock_) state_ ^= (static_cast<std::uint64_t>(tick) * 0x9E3779B97F4A7C15ULL);
        next32();
    }
    // Uniform single-precision value with 0 <= r < 1.
    float nextFloat() { return static_cast<float>(next32() >> 8) * (1.0f / 16777216.0f); }

    std::uint32_t next32() {
        // PCG32 (XSH RR).
        const std::uint64_t old = state_;
        state_ = old * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rot = static_cast<std::uint32_t>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((-rot) & 31u));
    }

  private:
    std::uint64_t state_ = 0;
    bool followsClock_ = true;
};

} // namespace plat
