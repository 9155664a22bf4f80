#pragma once

#include <array>
#include <cstdint>

#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "search/observador.hpp"
#include "search/parametros.hpp"

namespace kelm {

// One run of the search: its preparation, its two phases, and what it leaves in the state.

// The temperature the compact search's second phase starts from, instead of an estimate: a
// twentieth of the least a move costs that undoes what the first phase settled (a count of
// Inviabilidade 2, 3 or 5, or two more of Inviabilidade 4 at its floor), so that the runs,
// the km and their spread are rearranged freely and the settled counts are not: 1000000 with
// the default weights. 0 when those weights are all 0 (the phase then estimates its own).
double temperatura_segunda_fase_compacta(const std::array<std::int32_t, num_contagens>& pesos);

// Prepares the work matrices of a run for the championship now loaded: tabela_atual a copy
// of tabela_inicial, tabela_melhor zeroed, counts zeroed, matriz_controle built. Nothing
// changes when a matrix cannot be allocated.
Desfecho prepara_execucao(const Campeonato& campeonato, Execucao& execucao);

// Copies the R x N/2 games of `origem` into `destino`, then the run's counts of
// `inviabilidades` into `inviabilidades_melhor`.
void copia_tabela_e_contagens(Execucao& execucao, Tabela& destino, const Tabela& origem);

// One run once the command's checks are done and the objectives are chosen: seeds the
// generator with opcoes.semente, prepares the run (the compact search draws its own compact
// round robin into tabela_atual), then runs the two phases, each after its own
// initial-temperature estimate, switching on objectives 2 to 9 for the second. A run touches
// nothing but `estado`, so several go on at once on copies of one state.
ResumoBusca corre_execucao(Estado& estado, Observador& observador, const OpcoesBusca& opcoes,
                           bool objetivos_na_execucao);

}  // namespace kelm
