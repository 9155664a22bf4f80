#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "evaluation/avaliacao.hpp"
#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "search/motor.hpp"
#include "search/observador.hpp"
#include "search/relogio.hpp"

namespace kelm {

inline constexpr const char* msg_terminou = "TERMINOU A EXECUÇÃO!";
inline constexpr const char* msg_interrompida = "A execução foi interrompida! O tempo de execução de terminou!";

inline constexpr int iteracoes_primeira_fase = 3300;
inline constexpr int iteracoes_segunda_fase = 4000;
inline constexpr int iteracoes_segunda_fase_objetivos_na_execucao = 3300;
inline constexpr float fator_resfriamento = 0.95f;
inline constexpr int max_reaquecimentos_padrao = 50;
inline constexpr int max_reaquecimentos_aceito = 1000000;
// The compact search's second phase (see temperatura_segunda_fase_compacta and the phases'
// parameters in busca.cpp).
inline constexpr int iteracoes_segunda_fase_compacta = 30000;
inline constexpr int iteracoes_segunda_fase_compacta_temporada = 20000;
inline constexpr double divisor_segunda_fase_compacta = 20.0;
inline constexpr double temperatura_final_compacta = 1.0;
inline constexpr int niveis_parados_compacta = 10;
inline constexpr int times_por_descida = 20;
inline constexpr int max_execucoes = 1000;
inline constexpr int max_esforco = 100;

struct OpcoesBusca {
    // Asked for the objectives when none are confirmed as the run starts (the window shows
    // its objectives dialog); the run goes on only if objetivos_escolhidos is set afterwards.
    // Objectives chosen this way give a second phase of 3300 trial moves per level instead
    // of 4000.
    std::function<void()> escolhe_objetivos;
    // The first phase makes at most this many reheats; then it ends, unfinished.
    int max_reaquecimentos = max_reaquecimentos_padrao;
    ModoAvaliacao avaliacao = ModoAvaliacao::incremental;
    TipoBusca busca = TipoBusca::padrao;
    // The whole season: the search moves the turno and scores it with its returno.
    Returno returno = Returno::nenhum;
    // The planner's requirements, counted as Inviabilidade 10; none when null. The run command
    // sets it from the state's.
    const Requisitos* requisitos = nullptr;
    // The generator is seeded with it at the start of the run.
    std::uint32_t semente = Gerador::semente_execucao;
    // Independent runs with the seeds semente, semente + 1, ... (after 4294967295 comes 0),
    // on as many threads as there are cores for them; the result is the best of them.
    int execucoes = 1;
    // The trial moves of every temperature level are multiplied by it: more time for a
    // better schedule.
    int esforco = 1;
    // Clocks; the system's when null.
    const Relogio* relogio = nullptr;
};

struct ResumoBusca {
    Desfecho desfecho;
    bool executada = false;             // a search ran (not refused, not cancelled)
    bool objetivos_na_execucao = false; // the objectives were asked for by the run command
    bool interrompida = false;      // the first phase reached its reheat bound; no second phase
    int reaquecimentos = 0;         // reheats of the first phase
    long long movimentos = 0;       // trial moves evaluated, estimates included (of all runs)
};

// The clocks the options name, or the system's.
const Relogio& relogio_de(const OpcoesBusca& opcoes);

// The temperature the compact search's second phase starts from, instead of an estimate: a
// twentieth of the least a move costs that undoes what the first phase settled (a count of
// Inviabilidade 2, 3 or 5, or two more of Inviabilidade 4 at its floor), so that the runs,
// the km and their spread are rearranged freely and the settled counts are not: 1000000 with
// the default weights. 0 when those weights are all 0 (the phase then estimates its own).
double temperatura_segunda_fase_compacta(const std::array<std::int32_t, num_contagens>& pesos);

// Reads the first phase's reheat bound as the planner types it: a whole number from 0 to
// 1000000 (a plus sign allowed), blanks around it ignored. The refusal names the field and
// quotes the text.
Desfecho converte_max_reaquecimentos(std::string_view texto, int& valor);

// Reads a run's seed as the planner types it, as the reheat bound: a whole number from 0 to
// 4294967295.
Desfecho converte_semente(std::string_view texto, std::uint32_t& valor);

// Reads the number of independent runs, as the reheat bound: a whole number from 1 to 1000.
Desfecho converte_execucoes(std::string_view texto, int& valor);

// Reads the search effort, as the reheat bound: a whole number from 1 to 100.
Desfecho converte_esforco(std::string_view texto, int& valor);

// Prepares the work matrices of a run for the championship now loaded: tabela_atual a copy
// of tabela_inicial, tabela_melhor zeroed, counts zeroed, matriz_controle built. Nothing
// changes when a matrix cannot be allocated.
Desfecho prepara_execucao(const Campeonato& campeonato, Execucao& execucao);

// Copies the R x N/2 games of `origem` into `destino`, then the run's nine counts of
// `inviabilidades` into `inviabilidades_melhor`.
void copia_tabela_e_contagens(Execucao& execucao, Tabela& destino, const Tabela& origem);

// Estimates the initial temperature of a phase (see the engine's calcula_t0) with the
// neighbourhood the options ask for, made from tabela_atual as it is.
double calcula_t0(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                  Fase fase, int num_iteracoes, const OpcoesBusca& opcoes = {});

// One annealing phase (see the engine's recozimento) with the neighbourhood the options ask
// for, made from tabela_atual as it is; tabela_atual ends as the last accepted schedule.
FimFase recozimento(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                    const ParametrosFase& parametros, const OpcoesBusca& opcoes = {});

// Whether the data can be the turno of a whole season: with a returno, their rounds must be
// those of a single round robin (N-1, or N for an odd N), so that the season has every pair
// once at each home. The refusal says why, with the rounds the data have and would make.
// (Defined with the commands' policies, in comandos.cpp.)
Desfecho aceita_returno(const Campeonato& campeonato, Returno returno);

// The run command: refuses data the chosen search cannot schedule, seeds the generator, asks
// for the objectives when none are confirmed (a cancelled choice ends the command with the
// earlier result untouched), prepares the run (the compact search draws its own compact
// round robin into tabela_atual), then runs the two phases, each after its own
// initial-temperature estimate. It switches on objectives 2 to 9, as the second phase needs
// them. With more than one run asked for, the objectives are asked for once and the runs go
// on together (see executa_execucoes).
ResumoBusca executa_busca(Estado& estado, Observador& observador, const OpcoesBusca& opcoes = {});

// One run once the command's checks are done and the objectives are chosen: seeds the
// generator with opcoes.semente, prepares the run and runs the two phases. A run touches
// nothing but `estado`, so several go on at once on copies of one state.
ResumoBusca corre_execucao(Estado& estado, Observador& observador, const OpcoesBusca& opcoes,
                           bool objetivos_na_execucao);

}  // namespace kelm
