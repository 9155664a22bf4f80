#pragma once

#include <vector>

#include "model/estado.hpp"

namespace kelm {

// Appends to `lista_jogos` one game per pair of teams (i < j, in lexicographic order), each
// with a drawn home side: team i at home when the draw is 0, away when it is 1.
void gera_lista_jogos(int num_times, Gerador& gerador, std::vector<Jogo>& lista_jogos);

// Empties `lista_jogos` into `tabela`, row by row and slot by slot, taking each time the game
// at a drawn position of the games still in the list (which keeps its order).
void distribui_jogos(std::vector<Jogo>& lista_jogos, Gerador& gerador, Tabela& tabela);

// Draws a random initial schedule into the existing `tabela` (R rows of N/2 slots): N(N-1)
// draws, all home sides first, then all positions. Rows after the filled ones keep what
// they held.
void gera_solucao_inicial(int num_times, Gerador& gerador, Tabela& tabela);

}  // namespace kelm
