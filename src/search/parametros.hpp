#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "evaluation/avaliacao.hpp"
#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "search/relogio.hpp"

namespace kelm {

// What a run is asked to do, and what it tells when it ends: the options of the run command,
// as the parameters dialog and kelm-lote's options set them.

inline constexpr const char* msg_terminou = "TERMINOU A EXECUÇÃO!";
inline constexpr const char* msg_interrompida = "A execução foi interrompida! O tempo de execução de terminou!";

inline constexpr int iteracoes_primeira_fase = 3300;
inline constexpr int iteracoes_segunda_fase = 4000;
inline constexpr int iteracoes_segunda_fase_objetivos_na_execucao = 3300;
inline constexpr float fator_resfriamento = 0.95f;
inline constexpr int max_reaquecimentos_padrao = 50;
inline constexpr int max_reaquecimentos_aceito = 1000000;
// The compact search's second phase (see temperatura_segunda_fase_compacta and the phases'
// parameters in execucao.cpp).
inline constexpr int iteracoes_segunda_fase_compacta = 30000;
inline constexpr int iteracoes_segunda_fase_compacta_temporada = 20000;
inline constexpr double divisor_segunda_fase_compacta = 20.0;
inline constexpr double temperatura_final_compacta = 1.0;
inline constexpr int niveis_parados_compacta = 10;
inline constexpr int times_por_descida = 20;
inline constexpr int max_execucoes = 1000;
inline constexpr int max_esforco = 100;
// A re-plan's phases start no hotter than this many games moved cost: hot enough to move a
// few games to meet a requirement, not to wander from the schedule it started from.
inline constexpr int jogos_da_temperatura_de_replanejamento = 4;

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
    // The dates of the run's rounds, copied into the result's record for the files that show
    // them; none when null. The search itself never reads it.
    const Calendario* calendario = nullptr;
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
    // A re-plan: the turno (R rounds) the run starts from instead of one it draws, whose games
    // are counted as Inviabilidade 11 where they move (none when null); and the turno rounds
    // (R flags, from 0) no move may change (none when empty).
    const Tabela* partida = nullptr;
    std::string arquivo_partida;  // the file it came from, for the result's provenance
    std::vector<bool> congeladas;
    // The games of the start's whole schedule, each a jogo of its round: set by the run itself.
    const Requisitos* jogos_da_partida = nullptr;
    // The planner's request to stop, from any thread: the search reads it once per temperature
    // level (and per round of an estimate), and once it is set every run ends there, keeping
    // the schedule it holds as its result. None when null.
    const std::atomic<bool>* parar = nullptr;
};

struct ResumoBusca {
    Desfecho desfecho;
    bool executada = false;             // a search ran (not refused, not cancelled)
    bool objetivos_na_execucao = false; // the objectives were asked for by the run command
    bool interrompida = false;      // the first phase reached its reheat bound; no second phase
    bool partida_mantida = false;   // a re-plan found nothing better than the schedule it started from
    bool segunda_fase = false;      // the second phase ran (of several runs, in the run kept)
    // The planner stopped the run (of several, one at least) before it ended: the result is the
    // schedule kept until then.
    bool parada = false;
    int reaquecimentos = 0;         // reheats of the first phase
    long long movimentos = 0;       // trial moves evaluated, estimates included (of all runs)
};

// The clocks the options name, or the system's.
const Relogio& relogio_de(const OpcoesBusca& opcoes);

// The parameters as the planner types them, each a whole number whose refusal names its
// field and quotes the text (see converte_inteiro), blanks around it ignored and a plus sign
// allowed: the first phase's reheat bound (0 to 1000000), the run's seed (0 to 4294967295),
// the number of independent runs (1 to 1000), the effort (1 to 100).
Desfecho converte_max_reaquecimentos(std::string_view texto, int& valor);
Desfecho converte_semente(std::string_view texto, std::uint32_t& valor);
Desfecho converte_execucoes(std::string_view texto, int& valor);
Desfecho converte_esforco(std::string_view texto, int& valor);

}  // namespace kelm
