#pragma once

#include <filesystem>

#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "search/busca.hpp"

namespace kelm {

inline constexpr const char* msg_carregados =
    "Os dados foram carregados com sucesso.\n Uma solução inicial aleatória foi gerada.";

// The open command: reads a championship from its data file (le_campeonato) and draws its
// initial schedule. Atomic: on failure the championship, its schedules, any result and the
// flags stay as they were, and the outcome carries the message of the first file that failed.
Desfecho carrega_dados(Campeonato& campeonato, Execucao& execucao, const std::filesystem::path& arquivo_dados);

// What the faces say when a whole season is to be planned by the specified search, which
// seldom completes a season's rounds before its reheat bound.
inline constexpr const char* msg_temporada_com_busca_padrao =
    "Uma temporada inteira raramente fica com as rodadas completas na busca padrão antes do limite de "
    "reaquecimentos; a busca compacta, que mantém as rodadas completas, costuma planejá-la em segundos";

// Whether the options ask the specified search for a whole season (see msg_temporada_com_busca_padrao).
inline bool temporada_com_busca_padrao(TipoBusca busca, Returno returno)
{
    return busca == TipoBusca::padrao && returno != Returno::nenhum;
}

// The run command as the faces give it: executa_busca, then the result's provenance records
// the objectives FO_STAR was taken with (objetivos_no_fim): those of the second phase, or the
// chosen ones when the first phase stopped at its reheat bound.
ResumoBusca comando_executar(Estado& estado, Observador& observador, const OpcoesBusca& opcoes = {});

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
