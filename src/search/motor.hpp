#pragma once

#include <atomic>
#include <concepts>
#include <limits>

#include "model/estado.hpp"
#include "search/observador.hpp"
#include "search/relogio.hpp"

namespace kelm {

// The annealing engine: the initial-temperature estimate and one annealing phase with
// reheating, over any neighbourhood. It knows a neighbourhood only through this contract; the
// neighbourhood owns the schedule it changes and how it scores it.
template <class V>
concept Vizinhanca = requires(V& v, const V& cv, Gerador& gerador, const typename V::Movimento& m, double x) {
    typename V::Movimento;
    // FO of the schedule as it stands.
    { v.avalia() } -> std::same_as<double>;
    // A trial move, drawn from the generator.
    { v.sorteia(gerador) } -> std::same_as<typename V::Movimento>;
    // Applies the move and returns the neighbour's FO; or, when a lower bound of it already
    // worsens `fo_atual` by `temperatura` or more (the move is then rejected whatever the
    // draw), that bound. aplica(m, fo_atual, temperatura).
    { v.aplica(m, x, x) } -> std::same_as<double>;
    // Keeps the move last applied.
    v.confirma();
    // Undoes the move last applied.
    v.desfaz(m);
    // The counts of the schedule as it stands.
    { cv.contagens() } -> std::same_as<Contagens>;
};

inline constexpr double temperatura_inicial_candidata = 2000000.0;
inline constexpr double fator_candidata = 1.1;
inline constexpr double temperatura_final = 1e-11;
inline constexpr double temperatura_fria = 1e-6;
inline constexpr double fator_reaquecimento = 1.1;
inline constexpr double fracao_reaquecimento = 0.2;
inline constexpr int iteracoes_por_reaquecimento = 100;

// The number of accepted trial moves the initial-temperature estimate waits for: the
// integer part of num_iteracoes x 0.95 (the double nearest 0.95), the product rounded to a
// 64-bit significand as extended precision does it; 3134 for 3300 and 3799 for 4000 on
// every platform.
int alvo_aceitacao(int num_iteracoes);

// The acceptance test: a move that does not worsen the objective is accepted without a
// draw; otherwise one random real r in [0, 1) is drawn and the move is accepted when
// 1 - delta / temperatura > r.
inline bool aceita_movimento(double delta, double temperatura, Gerador& gerador)
{
    if (delta <= 0.0) return true;
    const double r = gerador.aleatorio_real(0.0, 1.0);
    return 1.0 - delta / temperatura > r;
}

// What a phase is given and where it reports: the run's generator, clocks and the counts
// and FO of the schedule kept so far, which the phase carries on and hands back.
struct Marcha {
    Gerador& gerador;
    Observador& observador;
    const Relogio& relogio;
    double hora_inicio = 0.0;         // time of day the run started, as a fraction of a day
    double inicio_monotonico = 0.0;   // monotonic clock when the run started, in seconds
    long long movimentos = 0;         // trial moves evaluated by the run so far
    Contagens melhor{};               // counts of the schedule kept so far
    double fo_star = 0.0;             // FO of the schedule being annealed
    // The planner's request to stop, read once per temperature level and once per round of
    // the estimate; none when null.
    const std::atomic<bool>* parar = nullptr;

    // Whether the planner asked the run to stop.
    bool parada_pedida() const { return parar != nullptr && parar->load(std::memory_order_relaxed); }
};

// How one annealing phase ended.
struct FimFase {
    int reaquecimentos = 0;
    bool concluida = false;        // the first phase left none of Inviabilidades 1, 2, 3 and 5
    bool limite_atingido = false;  // the first phase stopped at its reheat bound
    bool aceitou = false;          // a move was accepted: the schedule now is the one kept
    bool parada = false;           // the planner stopped the phase: the schedule now is the one kept
    double tempo_execucao = 0.0;   // run time at the phase's last refresh, a fraction of a day
};

// The parameters of one phase.
struct ParametrosFase {
    Fase fase = Fase::primeira;
    int num_iteracoes = 0;
    float t0 = 0.0f;
    float fator = 0.95f;
    int max_reaquecimentos = 0;
    // The phase ends below this temperature; the first phase checks its hard counts below
    // temperatura_fria.
    double temperatura_final = kelm::temperatura_final;
    double temperatura_fria = kelm::temperatura_fria;
    // When above 0, the phase also ends once FO has stood still for more levels than this.
    int niveis_parados = 0;
};

// Estimates the initial temperature of a phase: the first of 2 000 000 x 1.1^k at which a
// round of num_iteracoes trial moves is accepted at the target count, or the candidate of the
// round before which the planner asked to stop. A move the neighbourhood can never make (its
// objective infinite: it would change a frozen round) is not a trial: the target is taken of the
// moves tried, and with none the estimate stops where it stands. Every trial move is undone;
// marcha.fo_star is left at the objective of the schedule.
template <Vizinhanca V>
double calcula_t0(V& vizinhanca, Marcha& marcha, int num_iteracoes)
{
    int aceitos = 0;
    int alvo = alvo_aceitacao(num_iteracoes);
    double candidata = temperatura_inicial_candidata;

    marcha.fo_star = vizinhanca.avalia();
    marcha.observador.calculo_t0_iniciado();
    while (aceitos < alvo && !marcha.parada_pedida()) {
        // A whole round always runs, even once the target is reached.
        int tentados = 0;
        for (int i = 0; i < num_iteracoes; ++i) {
            const auto m = vizinhanca.sorteia(marcha.gerador);
            const double fo = vizinhanca.aplica(m, marcha.fo_star, candidata);
            if (fo != std::numeric_limits<double>::infinity()) {
                ++tentados;
                if (aceita_movimento(fo - marcha.fo_star, candidata, marcha.gerador)) ++aceitos;
            }
            vizinhanca.desfaz(m);
        }
        marcha.movimentos += num_iteracoes;
        if (tentados < num_iteracoes) alvo = alvo_aceitacao(tentados);
        if (aceitos >= alvo || tentados == 0) break;
        aceitos = 0;
        candidata *= fator_candidata;
        marcha.observador.temperatura_candidata(candidata);
    }
    marcha.observador.calculo_t0_concluido();
    return candidata;
}

// The progress refresh of one temperature level.
Andamento andamento_do_nivel(const Marcha& marcha, const ParametrosFase& parametros, double temperatura,
                             int reaquecimentos, double& tempo_execucao);

// One annealing phase: cools from t0 by `fator` per level of num_iteracoes trial moves down to
// the final temperature, or until FO has stood still for more than niveis_parados levels when
// that is set. The first phase ends as soon as FO is 0, and when cold, once the kept schedule
// has none of Inviabilidades 1, 2, 3 and 5 (whatever the objectives) and meets every
// requirement of the planner in force; otherwise it reheats, up to its bound. A stop the
// planner asks for ends it before the next level. The neighbourhood is left at the last
// accepted schedule, whose counts and FO are in marcha.
template <Vizinhanca V>
FimFase recozimento(V& vizinhanca, Marcha& marcha, ParametrosFase p)
{
    FimFase fim;
    double temperatura = p.t0;
    marcha.observador.fase_iniciada(static_cast<int>(p.fase), marcha.hora_inicio);
    marcha.fo_star = vizinhanca.avalia();
    marcha.melhor = vizinhanca.contagens();
    // Rejected moves are undone, so the neighbourhood always holds the last accepted
    // schedule: its counts are read once per level rather than at every accepted move.
    bool aceito_no_nivel = false;

    int niveis_parados = 0;  // levels in a row whose trial moves left FO where it was

    while (temperatura > p.temperatura_final) {
        if (marcha.parada_pedida()) {
            fim.parada = true;
            break;
        }
        if (aceito_no_nivel) marcha.melhor = vizinhanca.contagens();
        aceito_no_nivel = false;
        marcha.observador.andamento(andamento_do_nivel(marcha, p, temperatura, fim.reaquecimentos, fim.tempo_execucao));
        if (p.fase == Fase::primeira && marcha.fo_star == 0.0) {
            fim.concluida = true;
            break;
        }
        if (p.niveis_parados > 0 && niveis_parados > p.niveis_parados) break;

        const double fo_do_nivel = marcha.fo_star;
        for (int i = 0; i < p.num_iteracoes; ++i) {
            const auto m = vizinhanca.sorteia(marcha.gerador);
            const double delta = vizinhanca.aplica(m, marcha.fo_star, temperatura) - marcha.fo_star;
            if (aceita_movimento(delta, temperatura, marcha.gerador)) {
                vizinhanca.confirma();
                aceito_no_nivel = true;
                marcha.fo_star += delta;
            } else {
                vizinhanca.desfaz(m);
            }
        }
        marcha.movimentos += p.num_iteracoes;
        fim.aceitou = fim.aceitou || aceito_no_nivel;
        niveis_parados = marcha.fo_star == fo_do_nivel ? niveis_parados + 1 : 0;

        temperatura = static_cast<double>(p.fator) * temperatura;
        if (temperatura >= p.temperatura_fria || p.fase != Fase::primeira) continue;

        if (aceito_no_nivel) marcha.melhor = vizinhanca.contagens();
        aceito_no_nivel = false;
        const Contagens& melhor = marcha.melhor;
        const double pendentes = melhor[Inviabilidade::jogos_na_rodada] + melhor[Inviabilidade::inicio] +
                                 melhor[Inviabilidade::fim] + melhor[Inviabilidade::mesmo_estado] +
                                 melhor[Inviabilidade::requisitos];
        if (pendentes == 0) {
            fim.concluida = true;
            break;
        }
        if (fim.reaquecimentos >= p.max_reaquecimentos) {
            fim.limite_atingido = true;
            break;
        }
        marcha.observador.bipe();
        p.t0 = static_cast<float>(static_cast<double>(p.t0) * fator_reaquecimento);
        p.num_iteracoes += iteracoes_por_reaquecimento;
        temperatura = fracao_reaquecimento * static_cast<double>(p.t0);
        ++fim.reaquecimentos;
        marcha.observador.reaquecimento(fim.reaquecimentos);
    }
    // Stopped, the schedule held is the result even when nothing was accepted (at the start of
    // the first phase the counts kept are still the zeros of the preparation).
    if (aceito_no_nivel || fim.parada) marcha.melhor = vizinhanca.contagens();
    return fim;
}

}  // namespace kelm
