#pragma once

#include <cstdint>
#include <random>

namespace kelm {

// The program's one pseudo-random generator. It starts in the standard's default state of
// std::mt19937 and is seeded with 333 at the start of every run; every draw is
// `engine() >> 1`, a value in [0, 2^31). The engine is fully specified by the C++ standard,
// so the same data give the same schedule on every machine and compiler.
class Gerador {
public:
    static constexpr std::uint32_t semente_execucao = 333;

    void semeia(std::uint32_t semente) { motor_.seed(semente); }

    // One raw draw in [0, 2^31).
    std::int32_t sorteia() { return static_cast<std::int32_t>(motor_() >> 1); }

    // A value in [0, n) for a positive n; 0 without drawing when n is 0.
    std::int32_t sorteia_inteiro(std::int32_t n) { return n == 0 ? 0 : sorteia() % n; }

    // One of a, a + 0.0001 (b - a), ..., a + 0.9999 (b - a); a without drawing when a == b.
    double aleatorio_real(double a, double b)
    {
        if (a == b) return a;
        const double passo = static_cast<double>(sorteia() % 10000) * 0.0001;
        return passo * (b - a) + a;
    }

    friend bool operator==(const Gerador&, const Gerador&) = default;

private:
    std::mt19937 motor_;
};

}  // namespace kelm
