// The effect's own random numbers: a 32-bit linear congruential generator, seeded explicitly,
// so that the same seed and the same time steps replay a run bit for bit.
#pragma once

#include <cstdint>

class EffectRandom {
public:
    void Seed(std::uint32_t seed) { state_ = seed; }
    std::uint32_t State() const { return state_; }

    // One draw in 0..32767.
    int Draw() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    // One draw taken modulo n (n > 0).
    int Below(int n) { return Draw() % n; }
    // A fraction in {0, 0.001, ..., 0.999}.
    double Unit() { return Below(1000) / 1000.0; }

private:
    std::uint32_t state_ = 0;
};
