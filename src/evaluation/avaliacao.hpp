#pragma once

#include <cstdint>

#include "model/estado.hpp"

namespace kelm {

// How trial moves are scored: rebuilding everything (the reference), or updating only what
// the move changed. Both give the same numbers, bit for bit.
enum class ModoAvaliacao { completa, incremental };

// The reference evaluation: rebuilds everything it needs from the schedule at every call.
// Every faster way of computing the same numbers is checked against it. Every team plays the
// same number of games L (the championship's jogos_por_time(): N-1, or 2(N-1) over a whole
// season), and `mandantes` has N+1 rows of L+1 columns: each team's venues, then its distance.

// Adds every game of `tabela` into `controle` (handed over zeroed, R x (N+1)).
void monta_matriz_controle(Matriz<Controle>& controle, const Tabela& tabela);

// Rebuilds `mandantes` ((N+1) x (L+1)) from `tabela`, each team's venues in schedule order, and
// then the distances travelled, through calcula_distancias.
void monta_matriz_mandantes(const Campeonato& campeonato, const Tabela& tabela, Matriz<std::int32_t>& mandantes,
                            Contagens& inviabilidades);

// Inviabilidades 8 and 9 from the venues; writes each team's distance travelled into the
// last column of its row.
void calcula_distancias(const Campeonato& campeonato, Matriz<std::int32_t>& mandantes, Contagens& inviabilidades);

// The games of a team in a round beyond its first, over every round and team of `controle`.
std::int64_t extras_por_rodada(const Matriz<Controle>& controle);

// Inviabilidade 1 from the control matrix.
void conta_jogos_por_rodada(const Matriz<Controle>& controle, Contagens& inviabilidades);

// Inviabilidades 2 and 3 from the venues.
void conta_inicio_fim(const Matriz<std::int32_t>& mandantes, Contagens& inviabilidades);

// Inviabilidade 5 from the last round of `tabela`.
void conta_mesmo_estado(const Campeonato& campeonato, const Tabela& tabela, Contagens& inviabilidades);

// Inviabilidades 4, 6 and 7 from the venues.
void conta_mandos(const Matriz<std::int32_t>& mandantes, Contagens& inviabilidades);

// The weighted objective: the sum of peso x contagem x objetivo, Inviabilidade 1 to 9 in
// this order, in a double.
double calcula_fo(const Contagens& contagens, const Criterios& criterios);

// Scores `tabela`, which must be the schedule that the run's matriz_controle describes:
// rewrites matriz_mandantes and the nine inviabilidades of the run, and returns FO.
double avalia_tabela(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                     const Tabela& tabela);

// Scores a schedule that belongs to no run (one read from a file, say), on work matrices of
// its own: writes its nine counts into `contagens` and returns FO. Throws ErroAlocacao when
// the matrices cannot be had.
double avalia_tabela_avulsa(const Campeonato& campeonato, const Criterios& criterios, const Tabela& tabela,
                            Contagens& contagens);

}  // namespace kelm
