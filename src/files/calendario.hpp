#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/calendario.hpp"
#include "model/desfecho.hpp"

namespace kelm {

inline constexpr const char* msg_calendario_nao_aberto = "O Arquivo de calendário não foi aberto.";

// A date as a planner writes it, "18/05/2024" or "2024-05-18" (day and month of one or two
// digits, the year of four, from 1900); the problem in a sentence's words, or an empty text.
std::string le_data(std::string_view texto, Data& data);

// Reads the calendar of a run of `num_rodadas` rounds (R, or 2R with a returno) into
// `calendario` (its `arquivo` set to `nome`): text in UTF-8 or Latin-1, LF or CR LF, `#`
// starting a comment; one round a line, its words separated by blanks:
//   rodada data [hora]        "6 18/05/2024 16:00", "6 2024-05-18"
// every round of the run exactly once, in any order of the lines; the dates strictly
// increasing with the rounds, one date a round; real dates (29/02 only in a leap year); the
// time hh:mm, in the championship's local time. On failure the message names the file and
// the line, and `calendario` is left as it was.
Desfecho le_calendario(std::string_view bytes, std::string_view nome, int num_rodadas, Calendario& calendario);

// Reads the calendar file at `caminho` with le_calendario, within the loader's limits.
Desfecho carrega_calendario(const std::filesystem::path& caminho, int num_rodadas, Calendario& calendario);

// Whether a calendar read for some run dates the `num_rodadas` rounds of this one; the
// refusal says how many it has.
Desfecho confere_calendario(const Calendario& calendario, int num_rodadas);

}  // namespace kelm
