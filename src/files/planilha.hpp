#pragma once

#include <filesystem>
#include <string>

#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "report/explicacao.hpp"
#include "report/ficha.hpp"

namespace kelm {

// Whether a file name asks for a spreadsheet workbook instead of the tab-separated result
// file: its name ends in ".xlsx", in any case (".xlsx" alone too).
bool eh_planilha(const std::filesystem::path& destino);

// Whether the folder a workbook for `destino` is built in can be made, checked before a run
// (the destination itself is checked as any other): it is made beside the file the save
// replaces, so only a device written in place depends on the system's temporary folder.
Desfecho confere_rascunho_planilha(const std::filesystem::path& destino);

// Writes `tabela` as an .xlsx workbook of four sheets: "Jogos" (a row per game, round by
// round, home team first, as the result file lists them), "Mandos" (a row per team, a
// column per round: the opponent, home or away by colour, runs of three or more and the
// games that add to a count marked), "Contagens" (the counts, FO and what produced them) and
// "Ocorrências" (every occurrence of a count). The workbook is built aside, in a hidden
// folder of its own beside the destination, and then written as grava_arquivo writes, so
// that nothing is ever half written.
// With a calendar in force, "Jogos" has the date of each game's round after its round, a
// spreadsheet date (and time).
Desfecho grava_planilha(const std::filesystem::path& destino, const Campeonato& campeonato, const Tabela& tabela,
                        const Explicacao& explicacao, const Ficha& ficha, const Calendario* calendario = nullptr);

}  // namespace kelm
