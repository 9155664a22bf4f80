#pragma once

#include <filesystem>
#include <string_view>

#include "model/desfecho.hpp"
#include "model/estado.hpp"

namespace kelm {

inline constexpr const char* msg_resultado_nao_aberto = "O Arquivo de resultado não foi aberto.";

// Reads the schedule of a result file of `campeonato` (loaded) into `tabela`: the file as
// texto_resultado writes it, or as a planner types it, in UTF-8 or Latin-1, with CR LF or
// LF line ends. The lines of the counts, FO_STAR, the time and the seed are skipped, and so is
// a round's date ("Data:" before its first game); each round's
// heading ">>>>>>>>	Nª RODADA	<<<<<<<<" comes in order, and each game line
// "Mandante	X	Visitante" takes the round's next slot. Every pair of teams must meet exactly
// once; a team may play more than once in a round. A file whose rounds go beyond R is a whole
// season, read into a schedule of 2R rounds: every pair must meet twice, once at each venue.
// On failure the message names the file (`nome`) and the line, and `tabela` is left as it was.
// A workbook (.xlsx) is refused as such. With `fo_do_arquivo`, it receives the value of the
// line "FO_STAR:" as the file writes it (empty when it has none).
Desfecho le_resultado(std::string_view bytes, std::string_view nome, const Campeonato& campeonato, Tabela& tabela,
                      std::string* fo_do_arquivo = nullptr);

// Whether `bytes` open as a zip archive does, as a workbook (le_resultado asks it after the
// byte-order mark, when there is one).
inline bool eh_pasta_de_trabalho(std::string_view bytes) { return bytes.starts_with(std::string_view("PK\x03\x04", 4)); }

// Reads the result file at `caminho` with le_resultado, within the loader's limits.
Desfecho carrega_resultado(const Campeonato& campeonato, const std::filesystem::path& caminho, Tabela& tabela,
                           std::string* fo_do_arquivo = nullptr);

}  // namespace kelm
