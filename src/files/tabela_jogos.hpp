#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/desfecho.hpp"
#include "model/estado.hpp"

namespace kelm {

inline constexpr const char* msg_tabela_nao_aberta = "O Arquivo da tabela não foi aberto.";

// Reads a plain table of games of `campeonato` (loaded) into `tabela`, as planners keep one in a
// spreadsheet: one game a line, its round, home team and away team, separated by semicolons,
// commas or tabs (the first of them a line has decides), each field perhaps in double quotes;
// an optional header line first; UTF-8 or Latin-1; LF or CR LF. Rounds are numbers from 1 (an
// ordinal sign after them allowed) and may come in any order; a round's games take its slots
// in the order of the file. Rounds up to R make a single round robin, in which every pair meets
// once; rounds beyond R (up to 2R) a whole season, in which every pair meets twice, once at each
// venue. No team plays twice in a round. On failure the message names the file (`nome`) and
// the line, and `tabela` is left as it was.
Desfecho le_tabela_simples(std::string_view bytes, std::string_view nome, const Campeonato& campeonato, Tabela& tabela);

// Whether the bytes of the file at `caminho` are a result file as KELM writes it (its round
// headings, its game lines "Mandante<TAB>X<TAB>Visitante", its counts), rather than a plain
// table of games (lines of fields separated by semicolons, commas or tabs); when nothing in
// them says which (an empty file), a name ending in .csv or .tsv makes it a table.
bool eh_arquivo_de_resultado(std::string_view bytes, const std::filesystem::path& caminho);

// Reads the schedule in the file at `caminho`, a KELM result file (le_resultado) or a plain
// table of games (le_tabela_simples), whichever it is, within the loader's limits; with
// `fo_do_arquivo`, the FO_STAR a result file gives (see le_resultado; empty for a table).
Desfecho carrega_tabela(const Campeonato& campeonato, const std::filesystem::path& caminho, Tabela& tabela,
                        std::string* fo_do_arquivo = nullptr);

}  // namespace kelm
