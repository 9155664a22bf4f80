#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/calendario.hpp"
#include "model/desfecho.hpp"
#include "model/gerador.hpp"
#include "model/matriz.hpp"
#include "model/requisitos.hpp"

namespace kelm {

// One game. time1 > 0: team time1 plays at home against time2; time1 < 0: team -time1
// plays away, at the home of time2; time1 == time2 == 0: an empty slot.
struct Jogo {
    std::int32_t time1 = 0;
    std::int32_t time2 = 0;

    bool vazio() const { return time1 == 0; }
    std::int32_t mandante() const { return time1 > 0 ? time1 : time2; }
    std::int32_t visitante() const { return time1 > 0 ? time2 : -time1; }

    friend bool operator==(const Jogo&, const Jogo&) = default;
};

// The game of `mandante` at home against `visitante`, written as the generator writes every
// game: the lower-numbered team in time1, its sign saying whether it is at home.
inline Jogo jogo_entre(std::int32_t mandante, std::int32_t visitante)
{
    return mandante < visitante ? Jogo{mandante, visitante} : Jogo{-visitante, mandante};
}

// Home and away games of one team in one round.
struct Controle {
    std::int32_t jogos_casa = 0;
    std::int32_t jogos_fora = 0;

    friend bool operator==(const Controle&, const Controle&) = default;
};

// Adds `sinal` (+1 or -1) to the home and away counts of the game's two teams in the round
// whose records start at `rodada`; an empty slot counts nothing. Returns how many extra games
// (games of a team in the round beyond its first) this adds, or takes away when negative: a
// game more adds one for a team that already had one, a game less takes one off a team that
// had two or more.
inline int conta_jogo(Controle* rodada, const Jogo& jogo, int sinal)
{
    if (jogo.vazio()) return 0;
    Controle& casa = rodada[jogo.mandante()];
    Controle& fora = rodada[jogo.visitante()];
    const int limiar = sinal > 0 ? 1 : 2;
    const int extras = (casa.jogos_casa + casa.jogos_fora >= limiar ? sinal : 0) +
                       (fora.jogos_casa + fora.jogos_fora >= limiar ? sinal : 0);
    casa.jogos_casa += sinal;
    fora.jogos_fora += sinal;
    return extras;
}

// A schedule: R rows (rounds) of N/2 slots.
using Tabela = Matriz<Jogo>;

// Where a game stands in a schedule: its round and its slot, both from 0.
struct PosicaoJogo {
    int rodada = 0;
    int vaga = 0;

    friend bool operator==(const PosicaoJogo&, const PosicaoJogo&) = default;
};

// The nine infeasibilities, numbered 1 to 9 for the user and stored at 0 to 8; the tenth, the
// planner's requirements not met, counted only while requirements are in force; the eleventh,
// the games moved from the schedule a re-plan started from, counted only in a re-plan.
enum class Inviabilidade : int {
    jogos_na_rodada = 0,   // 1: extra games of a team in one round
    inicio = 1,            // 2: first two games both home or both away
    fim = 2,               // 3: last two games do not repeat a mixed start
    mandos = 3,            // 4: home games differ from away games
    mesmo_estado = 4,      // 5: same-state teams meet in the last round
    fora_seguidos = 5,     // 6: more than two consecutive away games
    casa_seguidos = 6,     // 7: more than two consecutive home games
    distancia_total = 7,   // 8: total distance travelled
    diferenca_distancia = 8,  // 9: largest minus smallest distance travelled
    requisitos = 9,        // 10: the sizes of the planner's requirements not met
    mudancas = 10,         // 11: games not in the round they had in the schedule a re-plan started from
};

// The nine counts every schedule has; with the requirements' and the changes', eleven.
constexpr int num_inviabilidades = 9;
constexpr int num_contagens = 11;

// Which counts a schedule speaks of, in order: the nine always, the tenth while requirements
// are in force, the eleventh in a re-plan.
struct ContagensVistas {
    bool requisitos = false;
    bool mudancas = false;

    bool vista(std::size_t i) const
    {
        return i < num_inviabilidades || (i == static_cast<std::size_t>(Inviabilidade::requisitos) && requisitos) ||
               (i == static_cast<std::size_t>(Inviabilidade::mudancas) && mudancas);
    }
    // Their indexes (from 0), in order.
    std::vector<std::size_t> indices() const
    {
        std::vector<std::size_t> i;
        for (std::size_t k = 0; k < static_cast<std::size_t>(num_contagens); ++k)
            if (vista(k)) i.push_back(k);
        return i;
    }
    friend bool operator==(const ContagensVistas&, const ContagensVistas&) = default;
};

// The counts, doubles holding whole numbers; the tenth is 0 while no requirements are in force.
struct Contagens {
    std::array<double, num_contagens> valores{};

    double& operator[](Inviabilidade i) { return valores[static_cast<std::size_t>(i)]; }
    double operator[](Inviabilidade i) const { return valores[static_cast<std::size_t>(i)]; }
    double& operator[](std::size_t i) { return valores[i]; }
    double operator[](std::size_t i) const { return valores[i]; }

    friend bool operator==(const Contagens&, const Contagens&) = default;
};

// Default weights of the eleven counts, in order: a game moved by a re-plan costs as a count
// of Inviabilidade 4, so that by default a game moves only to meet a requirement or mend a
// hard count.
constexpr std::array<std::int32_t, num_contagens> pesos_default = {
    1000000000, 1000000000, 1000000000, 10000000, 1000000000, 100000, 100000, 1, 100, 1000000000, 10000000};

// The rounds of a round robin in which every team plays once a round: N-1 for an even N, N
// for an odd N (one team rests in each round). The initial schedule fills as many.
inline int rodadas_preenchidas(int num_times) { return num_times % 2 == 0 ? num_times - 1 : num_times; }

// The championship: what a load reads from the three files. A load replaces it as a whole;
// nothing else changes it, so the search and the views only read it.
struct Campeonato {
    bool dados_carregados = false;           // a load has succeeded
    int num_times = 0;
    int num_rodadas = 0;
    Matriz<std::int32_t> matriz_distancias;  // (N+1) x (N+1), directional
    std::vector<std::string> nomes_times;    // N+1 names in UTF-8, index 0 empty
    // How many times each pair meets: once in the championship a load reads; twice, once at
    // each venue, in a whole season (turno and returno) seen as one championship.
    int voltas = 1;

    int jogos_por_rodada() const { return num_times / 2; }
    // Games of each team: N-1 for each time the pairs meet.
    int jogos_por_time() const { return voltas * (num_times - 1); }

    friend bool operator==(const Campeonato&, const Campeonato&) = default;
};

// The planner's choice: which counts to minimise and how heavily each one counts. It lasts
// for the life of the program; the run command switches on objectives 2 to 9.
struct Criterios {
    // 1 = minimise, 0 = ignore. The requirements, when in force, and the changes of a re-plan
    // are minimised unless the planner says otherwise.
    std::array<std::int32_t, num_contagens> objetivos{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
    std::array<std::int32_t, num_contagens> pesos = pesos_default;
    std::array<std::int32_t, num_contagens> pesos_padrao = pesos_default;
    bool objetivos_escolhidos = false;

    friend bool operator==(const Criterios&, const Criterios&) = default;
};

// Which search a run makes: padrao (game and home swaps of any schedule, rounds free) or
// compacta (the moves that keep every round complete, from a compact round robin).
enum class TipoBusca { padrao, compacta };

// The whole season: without one, a run plans the turno only; with one, the returno follows the
// turno by a mirroring scheme, each game of the turno coming back with the venues swapped.
//   espelhado: round R + r is round r (r = 1..R);
//   frances:   round 2R is round 1, and round R + r - 1 is round r (r = 2..R).
enum class Returno { nenhum, espelhado, frances };

// Which phase of a run: the first reheats until the hard counts are gone, the second only
// cools, and the padrao search moves only home advantages in it.
enum class Fase : int { primeira = 1, segunda = 2 };

// What produced a run's result: the search, its seed, the objectives and weights the planner
// chose for it, and the objectives in force when it ended, which FO_STAR counts (the second
// phase switches on objectives 2 to 9; a run stopped at its reheat bound ends with the
// chosen ones). Of several runs, the seed is the one of the run kept.
struct Procedencia {
    TipoBusca busca = TipoBusca::padrao;
    std::uint32_t semente = 0;
    Returno returno = Returno::nenhum;
    bool com_requisitos = false;  // requirements were in force: Inviabilidade 10 was counted
    bool com_mudancas = false;    // a re-plan: Inviabilidade 11 was counted
    std::string requisitos;       // the file they came from
    std::array<std::int32_t, num_contagens> objetivos{};
    std::array<std::int32_t, num_contagens> pesos = pesos_default;
    int execucoes = 1;                   // independent runs the result is the best of
    std::uint32_t primeira_semente = 0;  // their seeds: this one and the next ones
    std::array<std::int32_t, num_contagens> objetivos_no_fim{};
    std::string tabela_aberta;           // the file the schedule was opened from, not drawn by a run
    bool parada = false;                 // the planner stopped the run: the schedule kept until then
    // A re-plan: the file of the schedule it started from, and the rounds (from 1, of the
    // whole season when there is a returno) no move could change.
    std::string partida;
    std::vector<int> congeladas;
    Calendario calendario;               // the rounds' dates, when a calendar was in force

    // The counts the result speaks of.
    ContagensVistas vistas() const { return {com_requisitos, com_mudancas}; }

    friend bool operator==(const Procedencia&, const Procedencia&) = default;
};

// The schedules and everything a run works on and leaves behind: the initial schedule (drawn
// by a load or by the new-initial-solution command), the schedule the search changes and the
// one it keeps, their bookkeeping matrices and counts, the flags and clocks of the run, and
// the generator every draw comes from.
struct Execucao {
    Tabela tabela_inicial;
    Tabela tabela_atual;
    Tabela tabela_melhor;
    // The schedule the last run started from: a copy of tabela_inicial, or the compact round
    // robin the compact search drew for itself.
    Tabela tabela_partida;
    Procedencia procedencia;

    Matriz<Controle> matriz_controle;        // R x (N+1)
    Matriz<std::int32_t> matriz_mandantes;   // (N+1) x N: venues, then the distance travelled

    Contagens inviabilidades;
    Contagens inviabilidades_melhor;
    double fo_star = 0.0;

    bool programa_executado = false;
    bool primeira_execucao = true;

    double hora_inicio = 0.0;      // time of day the run started, as a fraction of a day
    double tempo_execucao = 0.0;   // elapsed time of the last progress refresh, fraction of a day
    double inicio_monotonico = 0.0;     // monotonic clock reading when the run started, in seconds
    long long movimentos_avaliados = 0; // trial moves evaluated by the current (or last) run

    Gerador gerador;

    friend bool operator==(const Execucao&, const Execucao&) = default;
};

// Everything the program holds, by lifetime. The program owns one; every test makes its own.
// The requirements belong to the championship whose teams they name: a load leaves none in
// force.
struct Estado {
    Campeonato campeonato;
    Execucao execucao;
    Criterios criterios;
    Requisitos requisitos;
    Calendario calendario;  // the dates of the run's rounds, when the planner gave them

    friend bool operator==(const Estado&, const Estado&) = default;
};

// Failure messages of the three matrix families.
inline constexpr const char* falta_memoria_inteiros = "Falta memória para alocar a matriz de distâncias.";
inline constexpr const char* falta_memoria_jogos = "Falta memoria para alocar a matriz de jogos.";
inline constexpr const char* falta_memoria_controle = "Falta memoria para alocar a matriz de controle.";

Matriz<std::int32_t> aloca_matriz_inteiros(long long linhas, long long colunas);
Tabela aloca_matriz_jogos(long long linhas, long long colunas);
Matriz<Controle> aloca_matriz_controle(long long linhas, long long colunas);

}  // namespace kelm
