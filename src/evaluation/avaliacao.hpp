#pragma once

#include "model/estado.hpp"

namespace kelm {

// The reference evaluation: rebuilds everything it needs from the schedule at every call.
// Every faster way of computing the same numbers is checked against it.

// Adds every game of `tabela` into matriz_controle (handed over zeroed).
void monta_matriz_controle(Estado& estado, const Tabela& tabela);

// Rebuilds matriz_mandantes from `tabela` (each team's venues in schedule order) and then
// the distances travelled, through calcula_distancias.
void monta_matriz_mandantes(Estado& estado, const Tabela& tabela);

// Inviabilidades 8 and 9 from matriz_mandantes; writes each team's distance travelled into
// the last column of its row.
void calcula_distancias(Estado& estado);

// Inviabilidade 1 from matriz_controle.
void conta_jogos_por_rodada(Estado& estado);

// Inviabilidades 2 and 3 from matriz_mandantes.
void conta_inicio_fim(Estado& estado);

// Inviabilidade 5 from the last round of `tabela`.
void conta_mesmo_estado(Estado& estado, const Tabela& tabela);

// Inviabilidades 4, 6 and 7 from matriz_mandantes.
void conta_mandos(Estado& estado);

// The weighted objective: the sum of peso x contagem x objetivo, Inviabilidade 1 to 9 in
// this order, in a double.
double calcula_fo(const Contagens& contagens, const Objetivos& config);

// Scores `tabela` (which must be the schedule that matriz_controle describes): rewrites
// matriz_mandantes and the nine inviabilidades, and returns FO.
double avalia_tabela(Estado& estado, const Tabela& tabela);

}  // namespace kelm
