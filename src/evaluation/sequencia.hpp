#pragma once

// The per-team sequence arithmetic every incremental scoring shares: each team's venues in
// order with the bit mask of its home games, the team's share of the counts worked out from
// them (runs, first and last two games, home games, travel), the counts as whole numbers, the
// spread of the distances travelled, and the objective summed from the counts bit for bit as
// the reference sums it in doubles.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/estado.hpp"

// Small functions of the hot path that the compiler would otherwise leave as calls.
#if defined(__GNUC__)
#define KELM_SEMPRE_EM_LINHA [[gnu::always_inline]] inline
#else
#define KELM_SEMPRE_EM_LINHA inline
#endif

namespace kelm {

using Palavra = std::uint64_t;

inline bool bit(const Palavra* m, int k) { return ((m[k >> 6] >> (k & 63)) & 1U) != 0; }

inline void poe_bit(Palavra* m, int k, bool valor)
{
    const Palavra um = Palavra{1} << (k & 63);
    if (valor)
        m[k >> 6] |= um;
    else
        m[k >> 6] &= ~um;
}

// 64-bit words of a mask of `l` games, and the valid bits of its last word.
inline int palavras_da_mascara(int l) { return (l + 63) / 64; }
inline Palavra bits_da_ultima_palavra(int l)
{
    const int bits = l - 64 * (palavras_da_mascara(l) - 1);
    return bits == 64 ? ~Palavra{0} : (Palavra{1} << bits) - 1;
}

// Number of positions k >= 2 whose bits k, k-1 and k-2 are all set: over a team's sequence
// of home (or away) games, the sum of L - 2 over its runs of length L > 2.
KELM_SEMPRE_EM_LINHA int triplas(const Palavra* m, int w, Palavra ultima, bool complemento)
{
    if (w == 1) {
        const Palavra x = (complemento ? ~m[0] : m[0]) & ultima;
        return std::popcount(x & (x << 1) & (x << 2));
    }
    int total = 0;
    Palavra anterior = 0;
    for (int i = 0; i < w; ++i) {
        const Palavra valida = i == w - 1 ? ultima : ~Palavra{0};
        const Palavra x = (complemento ? ~m[i] : m[i]) & valida;
        const Palavra um = (x << 1) | (anterior >> 63);
        const Palavra dois = (x << 2) | (anterior >> 62);
        total += std::popcount(x & um & dois);
        anterior = x;
    }
    return total;
}

// A team's share of the counts.
struct Parcela {
    std::int64_t distancia = 0;
    std::int32_t casa = 0;       // home games
    std::int32_t inicio = 0;     // 1 when the first two games are both home or both away
    std::int32_t fim = 0;        // 1 when a mixed start is not repeated by the last two games
    std::int32_t seguidos_casa = 0;
    std::int32_t seguidos_fora = 0;
};

// The share of a team of `l` games whose home games are the bits of `m` (w words, the last
// one's valid bits `ultima`), travelling `distancia`.
KELM_SEMPRE_EM_LINHA Parcela parcela_da_mascara(const Palavra* m, int w, int l, Palavra ultima, std::int64_t distancia)
{
    Parcela v;
    v.distancia = distancia;
    for (int i = 0; i < w; ++i) v.casa += std::popcount(m[i]);
    const bool h0 = bit(m, 0);
    const bool h1 = bit(m, 1);
    const bool penultimo = bit(m, l - 2);
    const bool ultimo = bit(m, l - 1);
    v.inicio = h0 == h1 ? 1 : 0;
    if (h0 != h1) v.fim = (h0 ? !(penultimo && !ultimo) : !(!penultimo && ultimo)) ? 1 : 0;
    v.seguidos_casa = triplas(m, w, ultima, false);
    v.seguidos_fora = triplas(m, w, ultima, true);
    return v;
}

// The distance from the home of team a to the home of team b, as a 64-bit number; team 0
// stands for no place (before the first game, after the last), at distance 0 from all.
class Distancias {
public:
    explicit Distancias(const Campeonato& campeonato)
        : dados_(campeonato.matriz_distancias.dados()), largura_(static_cast<std::size_t>(campeonato.num_times) + 1)
    {
    }
    std::int64_t operator()(int a, int b) const
    {
        return dados_[static_cast<std::size_t>(a) * largura_ + static_cast<std::size_t>(b)];
    }

private:
    const std::int32_t* dados_;
    std::size_t largura_;
};

// Every team's venues in order and the bit mask of its home games. The venues are framed by
// the team itself before the first game and by team 0 after the last one, so that the legs
// around any place are read without tests for the ends.
class Sequencias {
public:
    Sequencias() = default;
    Sequencias(int num_times, int jogos)
        : jogos_(jogos),
          palavras_(palavras_da_mascara(jogos)),
          ultima_palavra_(bits_da_ultima_palavra(jogos)),
          sedes_((static_cast<std::size_t>(num_times) + 1) * static_cast<std::size_t>(jogos + 2), 0),
          mascaras_((static_cast<std::size_t>(num_times) + 1) * static_cast<std::size_t>(palavras_), 0)
    {
        for (int t = 1; t <= num_times; ++t) {
            sedes(t)[-1] = t;
            sedes(t)[jogos] = 0;
        }
    }

    int jogos() const { return jogos_; }
    int palavras() const { return palavras_; }

    std::int32_t* sedes(int t) { return sedes_.data() + linha(t) * static_cast<std::size_t>(jogos_ + 2) + 1; }
    const std::int32_t* sedes(int t) const { return sedes_.data() + linha(t) * static_cast<std::size_t>(jogos_ + 2) + 1; }
    Palavra* mascara(int t) { return mascaras_.data() + linha(t) * static_cast<std::size_t>(palavras_); }
    const Palavra* mascara(int t) const { return mascaras_.data() + linha(t) * static_cast<std::size_t>(palavras_); }

    // Game k of team t is at `sede`.
    void poe(int t, int k, std::int32_t sede)
    {
        sedes(t)[k] = sede;
        poe_bit(mascara(t), k, sede == t);
    }

    // The distance team t travels over its sequence: from home to its first venue, then venue
    // to venue, with no trip back after the last game.
    std::int64_t distancia(int t, const Distancias& d) const
    {
        const std::int32_t* s = sedes(t);
        std::int64_t total = 0;
        for (int k = 0; k < jogos_; ++k) total += d(s[k - 1], s[k]);
        return total;
    }

    // The share of the counts of a team whose home games are the bits of `m`, travelling
    // `distancia`.
    Parcela parcela(const Palavra* m, std::int64_t distancia) const
    {
        return parcela_da_mascara(m, palavras_, jogos_, ultima_palavra_, distancia);
    }

private:
    static std::size_t linha(int t) { return static_cast<std::size_t>(t); }

    int jogos_ = 0;
    int palavras_ = 0;
    Palavra ultima_palavra_ = 0;
    std::vector<std::int32_t> sedes_;
    std::vector<Palavra> mascaras_;
};

// The running minimum of the distances travelled starts above any 32-bit total, as the
// reference's does.
inline constexpr std::int64_t menor_distancia_inicial = 100000000000LL;

// The largest and the smallest distance travelled by a team, and the spread between them
// (Inviabilidade 9). The largest starts at 0, the smallest above any total.
struct Extremos {
    std::int64_t maior = 0;
    std::int64_t menor = menor_distancia_inicial;

    void inclui(std::int64_t distancia)
    {
        maior = std::max(maior, distancia);
        menor = std::min(menor, distancia);
    }
    std::int64_t diferenca() const { return maior - menor; }
};

// Whole numbers, one per count.
struct Totais {
    std::array<std::int64_t, num_contagens> valores{};
    std::int64_t& operator[](Inviabilidade i) { return valores[static_cast<std::size_t>(i)]; }
    std::int64_t operator[](Inviabilidade i) const { return valores[static_cast<std::size_t>(i)]; }

    // Adds (sinal +1) or takes away (-1) a team's share of the counts it has a share of.
    void soma(const Parcela& v, int l, int sinal)
    {
        (*this)[Inviabilidade::inicio] += sinal * v.inicio;
        (*this)[Inviabilidade::fim] += sinal * v.fim;
        (*this)[Inviabilidade::mandos] += sinal * std::abs(2 * v.casa - l);
        (*this)[Inviabilidade::fora_seguidos] += sinal * v.seguidos_fora;
        (*this)[Inviabilidade::casa_seguidos] += sinal * v.seguidos_casa;
        (*this)[Inviabilidade::distancia_total] += sinal * v.distancia;
    }

    // Replaces a team's share `antes` by `depois`.
    void troca(const Parcela& antes, const Parcela& depois, int l)
    {
        (*this)[Inviabilidade::inicio] += depois.inicio - antes.inicio;
        (*this)[Inviabilidade::fim] += depois.fim - antes.fim;
        (*this)[Inviabilidade::mandos] += std::abs(2 * depois.casa - l) - std::abs(2 * antes.casa - l);
        (*this)[Inviabilidade::fora_seguidos] += depois.seguidos_fora - antes.seguidos_fora;
        (*this)[Inviabilidade::casa_seguidos] += depois.seguidos_casa - antes.seguidos_casa;
        (*this)[Inviabilidade::distancia_total] += depois.distancia - antes.distancia;
    }

    // The counts as the reference holds them.
    Contagens contagens() const
    {
        Contagens c;
        for (std::size_t i = 0; i < num_contagens; ++i) c[i] = static_cast<double>(valores[i]);
        return c;
    }
};

// The objective of whole-number counts under the planner's criteria, read once for a phase.
class Ponderacao {
public:
    // `voltas`: 2 when the counts are a whole season's; `maximo_requisitos` and
    // `maximo_mudancas`: the most the requirements' and a re-plan's changes can reach (0
    // without them).
    Ponderacao(const Campeonato& campeonato, const Criterios& criterios, int voltas = 1,
               std::int64_t maximo_requisitos = 0, std::int64_t maximo_mudancas = 0)
    {
        for (std::size_t i = 0; i < num_contagens; ++i) {
            if (criterios.objetivos[i] == 0) continue;
            termos_[static_cast<std::size_t>(num_termos_++)] = {static_cast<Inviabilidade>(i),
                                                                 static_cast<double>(criterios.pesos[i]),
                                                                 static_cast<double>(criterios.objetivos[i])};
        }
        // Summing FO in integers, and rejecting a move on a lower bound of its objective, are
        // exact only while every FO is a whole number that a double holds exactly; the bound
        // also needs no weight or flag below zero (a count that falls then never raises FO).
        std::int64_t maior_distancia = 0;
        const auto& distancias = campeonato.matriz_distancias;
        for (std::size_t k = 0; k < distancias.tamanho(); ++k)
            maior_distancia = std::max<std::int64_t>(maior_distancia, distancias.dados()[k]);
        const int n = campeonato.num_times;
        const double nn = static_cast<double>(n) * (n - 1);
        const double percurso = static_cast<double>(n - 1) * static_cast<double>(maior_distancia);
        // In the order of Inviabilidade; over a whole season every count at most doubles.
        const double v = voltas;
        const double maximos[num_contagens] = {v * nn,          double(n), double(n), v * nn,
                                               double(n / 2),   v * nn,    v * nn,    v * n * percurso,
                                               v * percurso,    static_cast<double>(maximo_requisitos),
                                               static_cast<double>(maximo_mudancas)};
        double teto = 0.0;
        bool sem_negativos = true;
        for (int k = 0; k < num_termos_; ++k) {
            const Termo& termo = termos_[static_cast<std::size_t>(k)];
            if (termo.peso < 0 || termo.objetivo < 0) sem_negativos = false;
            const auto i = static_cast<std::size_t>(termo.indice);
            teto += std::fabs(termo.peso) * std::fabs(termo.objetivo) * maximos[i];
            fator_[termo.indice] = static_cast<std::int64_t>(criterios.pesos[i]) * criterios.objetivos[i];
        }
        exata_ = teto < 4503599627370496.0;  // 2^52
        pode_antecipar_ = exata_ && sem_negativos;
    }

    // FO of the counts: the same double as the reference's sum, term by term in order.
    double fo(const Totais& totais) const
    {
        if (exata_) {
            // Every term and every partial sum is a whole number below 2^52, so the sum in
            // integers, made a double at the end, is the double sum term by term; and its
            // additions do not wait on each other's rounding.
            return static_cast<double>(fo_inteira(totais));
        }
        double fo = 0.0;
        for (int k = 0; k < num_termos_; ++k) {
            const Termo& termo = termos_[static_cast<std::size_t>(k)];
            fo += termo.peso * static_cast<double>(totais[termo.indice]) * termo.objetivo;
        }
        return fo;
    }

    // FO of counts whose objective is exact (every FO a whole number a double holds), in
    // whole numbers.
    std::int64_t fo_inteira(const Totais& totais) const
    {
        std::int64_t soma = 0;
        for (std::size_t i = 0; i < num_contagens; ++i) soma += fator_.valores[i] * totais.valores[i];
        return soma;
    }

    // Whether a move may be rejected on a lower bound of its objective.
    bool pode_antecipar() const { return pode_antecipar_; }

    // peso x objetivo of a count, 0 when it is off.
    std::int64_t fator(Inviabilidade i) const { return fator_[i]; }

    // FO in whole numbers, with Inviabilidades 9, 10 and 11 at nothing: the spread of
    // distances, the requirements not met and the games moved from a re-plan's start can fall
    // to 0.
    std::int64_t fo_sem_dispersao(const Totais& totais) const
    {
        std::int64_t soma = 0;
        for (std::size_t i = 0; i < num_contagens; ++i)
            if (i != static_cast<std::size_t>(Inviabilidade::diferenca_distancia) &&
                i != static_cast<std::size_t>(Inviabilidade::requisitos) &&
                i != static_cast<std::size_t>(Inviabilidade::mudancas))
                soma += fator_.valores[i] * totais.valores[i];
        return soma;
    }

    // The most a team's share of Inviabilidades 2, 3, 6, 7 and 8 can take off FO: all of it.
    std::int64_t parcela(const Parcela& v) const
    {
        return fator_[Inviabilidade::inicio] * v.inicio + fator_[Inviabilidade::fim] * v.fim +
               fator_[Inviabilidade::fora_seguidos] * v.seguidos_fora +
               fator_[Inviabilidade::casa_seguidos] * v.seguidos_casa +
               fator_[Inviabilidade::distancia_total] * v.distancia;
    }

private:
    // The terms of FO whose flag is not 0, in order: a term with flag 0 adds exactly nothing
    // to a finite sum, so leaving it out gives the same double.
    struct Termo {
        Inviabilidade indice;
        double peso;
        double objetivo;
    };
    std::array<Termo, num_contagens> termos_{};
    int num_termos_ = 0;
    Totais fator_{};
    bool exata_ = false;
    bool pode_antecipar_ = false;
};

}  // namespace kelm
