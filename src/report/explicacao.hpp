#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/calendario.hpp"
#include "model/estado.hpp"
#include "model/requisitos.hpp"

namespace kelm {

// One team's part of a schedule.
struct LinhaTime {
    int time = 0;
    // For every round, where the team plays: "C" at home, "F" away, "-" no game, and one
    // letter per game, in slot order, when it plays more than once ("CF").
    std::vector<std::string> sequencia;
    int jogos_casa = 0;
    int jogos_fora = 0;
    long long km = 0;  // from home to the first venue, then venue to venue
    // The team's share of each of the nine counts; over all teams they add up to the count.
    std::array<long long, num_contagens> parcelas{};
};

// A game an occurrence takes part in, with what is said of it beside the game (empty for a
// game that is part of the occurrence without adding to it, as the first two of a run).
struct JogoEnvolvido {
    PosicaoJogo posicao;
    std::string nota;
};

// One thing a count counts, in the planner's terms.
struct Ocorrencia {
    Inviabilidade inviabilidade = Inviabilidade::jogos_na_rodada;
    int time = 0;                      // the team it is charged to
    std::vector<int> rodadas;          // the rounds involved, from 0, increasing, each once
    std::vector<JogoEnvolvido> jogos;  // the games involved, in schedule order
    long long valor = 0;               // what it adds to the count, always more than 0
    std::string frase;                 // a sentence in Portuguese, UTF-8, without a full stop
};

// Why a schedule has the counts it has.
struct Explicacao {
    std::vector<LinhaTime> times;          // teams 1 to N, in order
    std::vector<Ocorrencia> ocorrencias;   // by count, then team, then round
    Contagens contagens;                   // each count as the sum of the teams' shares
    // Which counts it speaks of: the nine, the tenth while requirements are in force, the
    // eleventh in a re-plan.
    ContagensVistas vistas;
};

// The explanation of `tabela`, in which every pair of teams meets exactly once (as in every
// schedule the program makes or reads). Its counts are those of avalia_tabela. The shares:
// Inviabilidade 1 the team's games beyond the first in a round; 2, 3, 4, 6, 7 and 8 the
// team's own; 5 the home team of the game; 9 all of it to the team that travels most (the
// first by number), as its km beyond the team that travels least.
// With requirements in force, the explanation also speaks of the tenth count: each requirement
// not met is an occurrence, charged to its first team, naming its line.
// In a re-plan, `partida` is the whole schedule it started from (of the rounds of `tabela`):
// the explanation then also speaks of the eleventh count, each game not in the round it had
// there an occurrence, charged to its home team: "Grêmio x Vasco: rodada 8 → 14", or, with
// the venue inverted where each pair meets once, "Grêmio x Vasco: rodada 8 → Vasco x Grêmio,
// rodada 8". With a
// calendar in force, the sentences name the rounds by their dates.
Explicacao explica_tabela(const Campeonato& campeonato, const Tabela& tabela, const Requisitos* requisitos = nullptr,
                          const Tabela* partida = nullptr, const Calendario* calendario = nullptr);

// Adds to `explicacao` the games of `partida` that `tabela` does not hold in their round.
void explica_mudancas(const Campeonato& campeonato, const Tabela& tabela, const Tabela& partida, Explicacao& explicacao);

// Adds to `explicacao` the requirements `tabela` does not meet.
void explica_requisitos(const Campeonato& campeonato, const Tabela& tabela, const Requisitos& requisitos,
                        Explicacao& explicacao, const Calendario* calendario = nullptr);

// A requirement a schedule does not meet: its line, and the sentence of its occurrence (which
// names the line).
struct RequisitoNaoAtendido {
    int linha = 0;
    std::string frase;
};

// The requirements `tabela` (the turno, or a whole season) does not meet, in the order of the
// file.
std::vector<RequisitoNaoAtendido> requisitos_nao_atendidos(const Campeonato& campeonato, const Tabela& tabela,
                                                           const Requisitos& requisitos,
                                                           const Calendario* calendario = nullptr);

// The sentences' pieces: "a", "a e b", "a, b e c"; and "na rodada 7" or "nas rodadas 7, 8 e 9"
// from rounds numbered from 0 (`uma` and `varias` begin the one or the other).
std::string junta(const std::vector<std::string>& partes);
std::string nas_rodadas(const std::vector<int>& rodadas, const char* uma = "na rodada ",
                        const char* varias = "nas rodadas ");

// The same rounds by their dates when a calendar is in force: "em 18/05/2024 (rodada 6)", or
// `datadas` and "18/05/2024 (rodada 6) e 22/05/2024 (rodada 7)"; without one, as nas_rodadas.
std::string nas_datas(const std::vector<int>& rodadas, const Calendario* calendario, const char* uma = "na rodada ",
                      const char* varias = "nas rodadas ", const char* datadas = "em ");

// What the explanation says of the game at `posicao`: the notes of the occurrences it
// takes part in, in their order, for example "Grêmio: 3º jogo seguido fora de casa
// (Inviabilidade 6)".
std::vector<std::string> notas_do_jogo(const Explicacao& explicacao, PosicaoJogo posicao);

}  // namespace kelm
