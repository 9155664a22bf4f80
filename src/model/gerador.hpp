#pragma once

#include <cstdint>
#include <random>

namespace kelm {

// The Mersenne Twister of std::mt19937, with the same parameters, held in 32-bit words.
// std::mt19937 keeps its state in uint_fast32_t, 64 bits wide on x86-64 Linux, and there its
// twist costs four times as much per number; the numbers are the same, which the tests
// check against std::mt19937 itself.
using Mt19937 = std::mersenne_twister_engine<std::uint32_t, 32, 624, 397, 31, 0x9908b0dfU, 11, 0xffffffffU, 7,
                                             0x9d2c5680U, 15, 0xefc60000U, 18, 1812433253U>;

// The remainder of x / n for a fixed positive n and any 32-bit x, with a multiplication
// instead of a division (Lemire's method): the same value as x % n, several times faster in
// the search, which takes six or so remainders by the number of rounds or slots per move.
class Divisor {
public:
    Divisor() = default;
    explicit Divisor(std::uint32_t n) : n_(n), m_(n == 0 ? 0 : ~std::uint64_t{0} / n + 1) {}
    std::uint32_t n() const { return n_; }
    std::uint32_t resto(std::uint32_t x) const
    {
        __extension__ using u128 = unsigned __int128;
        const std::uint64_t baixo = m_ * x;
        return static_cast<std::uint32_t>((static_cast<u128>(baixo) * n_) >> 64);
    }

private:
    std::uint32_t n_ = 0;
    std::uint64_t m_ = 0;
};

// The program's one pseudo-random generator. It starts in the standard's default state of
// std::mt19937 and is seeded at the start of every run with the run's seed; every draw is
// `engine() >> 1`, a value in [0, 2^31). The engine is fully specified by the C++ standard,
// so the same data give the same schedule on every machine and compiler.
class Gerador {
public:
    // The seed of a run unless the planner chooses another.
    static constexpr std::uint32_t semente_execucao = 333;

    void semeia(std::uint32_t semente) { motor_.seed(semente); }

    // One raw draw in [0, 2^31).
    std::int32_t sorteia() { return static_cast<std::int32_t>(motor_() >> 1); }

    // A value in [0, n) for a positive n; 0 without drawing when n is 0.
    std::int32_t sorteia_inteiro(std::int32_t n) { return n == 0 ? 0 : sorteia() % n; }

    // sorteia_inteiro(d.n()) with a precomputed divisor.
    std::int32_t sorteia_inteiro(const Divisor& d)
    {
        if (d.n() == 0) return 0;
        if (d.n() == 1) {
            sorteia();
            return 0;
        }
        return static_cast<std::int32_t>(d.resto(static_cast<std::uint32_t>(sorteia())));
    }

    // One of a, a + 0.0001 (b - a), ..., a + 0.9999 (b - a); a without drawing when a == b.
    double aleatorio_real(double a, double b)
    {
        if (a == b) return a;
        const double passo = static_cast<double>(sorteia() % 10000) * 0.0001;
        return passo * (b - a) + a;
    }

    friend bool operator==(const Gerador&, const Gerador&) = default;

private:
    Mt19937 motor_;
};

}  // namespace kelm
