#pragma once
// The simulator's random numbers: xoshiro256** (Blackman and Vigna), 256 bits of state, period
// 2^256 - 1, a few nanoseconds a draw. The state is filled from the seed by splitmix64, so any
// seed, 0 included, gives a good stream; Jump() moves 2^128 draws ahead, so that replications
// started a jump apart never overlap.
//
//   Xoshiro256 rng(1);  rng.Uniform() -> in (0, 1]     rng.Exponential(2.0) -> mean 0.5

#include <array>
#include <cmath>
#include <cstdint>

namespace wachtrix {

class Xoshiro256 {
public:
    explicit Xoshiro256(std::uint64_t seed) {
        for (std::uint64_t& word : s_)
            word = SplitMix64(seed);
    }

    std::uint64_t Next() {
        const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = Rotl(s_[3], 45);
        return result;
    }

    // 53 random bits in (0, 1]: never 0, so that its logarithm is finite.
    double Uniform() { return static_cast<double>((Next() >> 11) + 1) * 0x1.0p-53; }

    // Exponential with the given rate (> 0).
    double Exponential(double rate) { return -std::log(Uniform()) / rate; }

    // The sum of k exponentials of one rate, by one logarithm of a product of uniforms (k up to
    // a few hundred stays far above the smallest double).
    double Erlang(int k, double rate) {
        double product = 1;
        for (int i = 0; i < k; ++i)
            product *= Uniform();
        return -std::log(product) / rate;
    }

    void Jump() {
        static constexpr std::array<std::uint64_t, 4> kJump = {
            0x180ec6d33cfd0abaULL, 0xd5a61266f0c9392cULL, 0xa9582618e03fc9aaULL,
            0x39abdc4529b1661cULL};
        std::array<std::uint64_t, 4> jumped{};
        for (const std::uint64_t word : kJump) {
            for (int b = 0; b < 64; ++b) {
                if (word & (std::uint64_t{1} << b))
                    for (int i = 0; i < 4; ++i)
                        jumped[static_cast<std::size_t>(i)] ^= s_[static_cast<std::size_t>(i)];
                Next();
            }
        }
        s_ = jumped;
    }

private:
    static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static std::uint64_t SplitMix64(std::uint64_t& x) {
        std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    std::array<std::uint64_t, 4> s_{};
};

}  // namespace wachtrix
