#pragma once

#include "model/estado.hpp"

namespace kelm {

// Appends one game per pair of teams (i < j, in lexicographic order) to lista_jogos, each
// with a drawn home side: team i at home when the draw is 0, away when it is 1.
void gera_lista_jogos(Estado& estado);

// Empties lista_jogos into tabela_inicial, row by row and slot by slot, taking each time
// the game at a drawn position of the games still in the list (which keeps its order).
void distribui_jogos(Estado& estado);

// Draws a random initial schedule into the existing tabela_inicial: N(N-1) draws, all home
// sides first, then all positions. Rows after the filled ones keep what they held.
void gera_solucao_inicial(Estado& estado);

// Rows the initial schedule fills: N-1 for an even N, N for an odd N.
int rodadas_preenchidas(int num_times);

}  // namespace kelm

namespace kelm {

// The new-initial-solution command: draws a fresh initial schedule into the existing
// tabela_inicial (without reallocating or zeroing it) and clears programa_executado, so
// that the result of an earlier run is no longer offered. Refused with a message when no
// championship is loaded.
Desfecho nova_solucao_inicial(Estado& estado);

}  // namespace kelm
