#pragma once

#include "model/desfecho.hpp"
#include "model/estado.hpp"

namespace kelm {

// Whether the championship can be scheduled compactly, every team playing once in every
// round: N-1 rounds for an even N, N for an odd N (one team rests in each round). The
// outcome says why not, and how many rounds that takes.
Desfecho aceita_busca_compacta(const Campeonato& campeonato);

// Draws a compact round robin into `tabela` (N-1 rows of N/2 slots for an even N, N rows for
// an odd N): every pair meets once and every team plays once in every round, or rests in
// exactly one round when N is odd. The teams are split at random into two halves; some
// rounds hold only games across the halves, the others the games within both halves at
// once (with an odd half, its resting team meets the other half's); then the rounds are
// shuffled and the home sides drawn. All draws come from `gerador`.
void gera_tabela_compacta(int num_times, Gerador& gerador, Tabela& tabela);

}  // namespace kelm
