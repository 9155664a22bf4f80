#pragma once

#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "search/motor.hpp"
#include "search/parametros.hpp"

namespace kelm {

// The neighbourhoods as the search reaches them: the one place of the search that builds a
// neighbourhood, draws its start, or asks whether it can schedule a championship.

// Whether the search the options ask for can schedule the championship: the compact search
// needs every team to play once in every round (N-1 rounds for an even N, N for an odd N).
Desfecho aceita_busca(const Campeonato& campeonato, TipoBusca busca);

// Draws a random initial schedule of the padrao search into the existing `tabela` (R rows of
// N/2 slots), as a load and the new-initial-solution command do.
void sorteia_tabela_inicial(int num_times, Gerador& gerador, Tabela& tabela);

// The start of a run of the search the options ask for: a re-plan's schedule, or the compact
// search's own compact round robin drawn, into tabela_atual, the matrix of control following.
// The padrao search otherwise starts from tabela_atual as it is.
void sorteia_partida(const Campeonato& campeonato, const OpcoesBusca& opcoes, Execucao& execucao);

// Estimates the initial temperature of a phase (see the engine's calcula_t0) with the
// neighbourhood the options ask for, made from tabela_atual as it is.
double calcula_t0(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                  Fase fase, int num_iteracoes, const OpcoesBusca& opcoes = {});

// One annealing phase (see the engine's recozimento) with the neighbourhood the options ask
// for, made from tabela_atual as it is; tabela_atual ends as the last accepted schedule.
FimFase recozimento(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                    const ParametrosFase& parametros, const OpcoesBusca& opcoes = {});

}  // namespace kelm
