#pragma once

#include <filesystem>
#include <string_view>

#include "model/calendario.hpp"
#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "model/requisitos.hpp"

namespace kelm {

inline constexpr const char* msg_requisitos_nao_aberto = "O Arquivo de requisitos não foi aberto.";

// Reads the requirements file of the loaded `campeonato` into `requisitos` (its `arquivo`
// set to `nome`): text in UTF-8 or Latin-1, LF or CR LF, `#` starting a comment; one
// requirement a line, its words separated by blanks, team names as in the names file, rounds
// as numbers and ranges separated by commas (`1-3,19`):
//   casa TIME rodadas LISTA            the team plays at home in each of those rounds
//   fora TIME rodadas LISTA            the team does not play at home in any of them
//   maximo K TIME TIME ... [rodadas LISTA]
//                                      at most K of those teams at home in a round (in
//                                      every round when no rounds are given)
//   jogo MANDANTE VISITANTE rodadas LISTA
//                                      that game, with that home team, in one of those rounds
//   encontro TIME TIME rodadas LISTA   the two meet, at either venue, in one of those rounds
//   sem-encontro TIME TIME rodadas LISTA
//                                      the two do not meet in any of those rounds
//   fim-de-semana TIME TIME            the two meet only in rounds on a Saturday or a Sunday
// Wherever a line takes "rodadas LISTA" it takes "datas LISTA" instead: dates and ranges of
// dates separated by commas (`18/05/2024,04/05/2024-16/06/2024`), meaning the rounds of
// `calendario` whose date falls there, each date or range holding one at least; dates and
// fim-de-semana need a calendar in force. Rounds may reach 2R (a whole season);
// confere_requisitos holds them against the rounds of a run. On failure the message names the
// file and the line, and `requisitos` is left as it was.
Desfecho le_requisitos(std::string_view bytes, std::string_view nome, const Campeonato& campeonato,
                       Requisitos& requisitos, const Calendario* calendario = nullptr);

// The requirements as a file of requirements: the file read, as it was (its comments and blank
// lines kept), without the pins released since, then the pins made in the window under a line
// that heads them, each "jogo MANDANTE VISITANTE rodadas N # fixado" (read back as a pin).
std::string texto_requisitos(const Requisitos& requisitos, const Campeonato& campeonato);

// Reads the requirements file at `caminho` with le_requisitos, within the loader's limits.
Desfecho carrega_requisitos(const Campeonato& campeonato, const std::filesystem::path& caminho,
                            Requisitos& requisitos, const Calendario* calendario = nullptr);

// Whether the requirements can hold in a run of `num_rodadas` rounds (R, or 2R over a whole
// season whose returno follows `esquema`; Returno::nenhum when no scheme ties the rounds):
// every round within them, and no requirements that cannot hold together (see
// primeira_contradicao). The refusal names the file and the lines of every requirement
// involved.
Desfecho confere_requisitos(const Requisitos& requisitos, const Campeonato& campeonato, int num_rodadas,
                            Returno esquema);

// The same for a run with `returno`: the turno's R rounds, or the season's 2R tied by its scheme.
Desfecho confere_requisitos(const Requisitos& requisitos, const Campeonato& campeonato, Returno returno);

}  // namespace kelm
