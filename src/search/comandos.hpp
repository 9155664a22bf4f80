#pragma once

#include <filesystem>
#include <vector>

#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "search/busca.hpp"

namespace kelm {

inline constexpr const char* msg_dados_nao_carregados = "Os dados não foram carregados.";
inline constexpr const char* msg_carregados =
    "Os dados foram carregados com sucesso.\n Uma solução inicial aleatória foi gerada.";

// The open command: reads a championship from its data file (le_campeonato) and draws its
// initial schedule. Atomic: on failure the championship, its schedules, any result and the
// flags stay as they were, and the outcome carries the message of the first file that failed.
Desfecho carrega_dados(Campeonato& campeonato, Execucao& execucao, const std::filesystem::path& arquivo_dados);

// The new-initial-solution command: draws a fresh initial schedule into the existing
// tabela_inicial (without reallocating or zeroing it) and clears programa_executado, so
// that the result of an earlier run is no longer offered. Refused with a message when no
// championship is loaded.
Desfecho nova_solucao_inicial(const Campeonato& campeonato, Execucao& execucao);

// A schedule scored as it was given: the championship it was scored as (the whole season's,
// of 2R rounds in which every pair meets twice, for a schedule of more than R rounds), its
// counts (the tenth while requirements are in force) and its FO.
struct TabelaAvaliada {
    Campeonato campeonato;
    Contagens contagens;
    double fo = 0.0;
};

// The scoring command (what kelm-lote --avaliar does, and what the window does to a schedule
// it opens): the counts and FO of `tabela`, a schedule of the loaded championship of R or 2R
// rounds, under the criteria and the requirements in force, which are first held against its
// rounds. Refused with the requirements' message when they cannot hold there, or with the
// allocation's when memory runs out.
Desfecho avalia_tabela_dada(const Campeonato& campeonato, const Criterios& criterios, const Requisitos& requisitos,
                            const Tabela& tabela, TabelaAvaliada& avaliada);

// The open-schedule command: reads the schedule in the file at `caminho` (a result file or a
// plain table of games, see carrega_tabela) of the loaded championship, scores it under the
// requirements in force, every objective on and the planner's weights, and makes it the result
// on screen, as a run would: a turno; a season that follows a scheme, kept as its turno and the
// scheme; or a season that follows none, kept whole and scored as a double round robin whose
// meetings fall where they will. The run it replaces is gone; on failure nothing changes. The
// outcome says what was opened.
Desfecho abre_tabela(const Campeonato& campeonato, const Criterios& criterios, const Requisitos& requisitos,
                     const std::filesystem::path& caminho, Execucao& execucao);
// What the faces say when a whole season is to be planned by the padrao search, which
// seldom completes a season's rounds before its reheat bound.
inline constexpr const char* msg_temporada_com_busca_padrao =
    "Uma temporada inteira raramente fica com as rodadas completas na busca padrão antes do limite de "
    "reaquecimentos; a busca compacta, que mantém as rodadas completas, costuma planejá-la em segundos";

// Whether the options ask the padrao search for a whole season (see msg_temporada_com_busca_padrao).
inline bool temporada_com_busca_padrao(TipoBusca busca, Returno returno)
{
    return busca == TipoBusca::padrao && returno != Returno::nenhum;
}

// A re-plan's start. The turno of the schedule read (`lida`, R or 2R rounds, see
// carrega_tabela): a turno as it is; a season of 2R rounds, which needs a returno, its first R
// when its returno follows that scheme. The compact search also needs every round complete.
// Refused with the reason: a season without a returno, the first returno round that does not
// repeat the turno round the scheme ties it to, the first round a team does not play in (or
// plays twice in).
Desfecho turno_de_partida(const Campeonato& campeonato, const Tabela& lida, Returno returno, TipoBusca busca,
                          Tabela& turno);

// The turno rounds that `rodadas` (from 1, of the run's R rounds, or 2R over a season) freeze,
// as R flags: a returno round freezes the turno round it repeats, and with it its own. Refused
// for a round beyond the run's.
Desfecho congela_rodadas(const Campeonato& campeonato, Returno returno, const std::vector<int>& rodadas,
                         std::vector<bool>& congeladas);

// Whether the requirements in force can be met without a change in a frozen round of the start
// (`turno`): refused, naming the requirement's line and the round, when one is broken in a
// frozen round (a game or meeting asked for, in frozen rounds only).
Desfecho confere_requisitos_congelados(const Requisitos& requisitos, const Campeonato& campeonato, Returno returno,
                                       const Tabela& turno, const std::vector<bool>& congeladas);

// Whether the data can be the turno of a whole season: with a returno, their rounds must be
// those of a single round robin (N-1, or N for an odd N), so that the season has every pair
// once at each home. The refusal says why, with the rounds the data have and would make.
Desfecho aceita_returno(const Campeonato& campeonato, Returno returno);

// Whether the commands that show or save a schedule may proceed, and with which message
// they are refused. The window and kelm-lote only show the answer.

inline constexpr const char* msg_tabela_inicial = "A Tabela inicial não pode ser mostrada. Os dados não foram carregados.";
inline constexpr const char* msg_tabela_resultado =
    "A Tabela de Resultado não pode ser mostrada. O programa ainda não foi executado.";
inline constexpr const char* msg_sem_resultado =
    "A Tabela de Resultado não pode ser salva. O programa ainda não foi executado.";

// True when a completed run of the championship now loaded is recorded: a load or a new
// initial schedule clears the record, so a result of other data (and other dimensions) is
// never read.
bool ha_resultado(const Campeonato& campeonato, const Execucao& execucao);

// The initial-table view needs a loaded championship.
Desfecho pode_mostrar_tabela_inicial(const Campeonato& campeonato);

// The result views need a result of the loaded championship.
Desfecho pode_mostrar_resultado(const Campeonato& campeonato, const Execucao& execucao);

// Saving needs a result of the loaded championship.
Desfecho pode_salvar_resultado(const Campeonato& campeonato, const Execucao& execucao);

// The save command's writing: refuses when no completed run belongs to the loaded data,
// else writes the result file to `destino` (the name used as given).
Desfecho grava_resultado(const Campeonato& campeonato, const Execucao& execucao, const std::filesystem::path& destino,
                         char separador = '.');

}  // namespace kelm
