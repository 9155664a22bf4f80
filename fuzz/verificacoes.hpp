#pragma once

// What must hold for any input given to the readers of the three input files, to the
// weight-text parser, to the whole load, to the reader of result files and to the reader of
// requirements files. The libFuzzer
// targets call these on every input they make; the robustness tests call them on the seed
// corpora and on every input that once broke a property (fuzz/regressoes/).
//
// Each function returns an empty text when every property holds, else a description of
// the first one that broke. Besides what the sanitizers catch (reads out of bounds,
// overflow, leaks), they check:
// - a refusal is one error whose text is "Erro no arquivo de <tipo> \"<nome>\", linha L:
//   ... Os dados não foram carregados." (a result file's ends with "."), L a line of the
//   file, the text valid UTF-8;
// - what is accepted lies within the limits (N, R, path and name lengths, distances);
// - the same file with CR LF line ends, or with a UTF-8 byte-order mark, reads the same;
// - a failed load leaves the earlier championship as it was, and a successful one draws a
//   schedule with every pair of teams exactly once.

#include <string>
#include <string_view>

namespace kelm::fuzz {

// The bytes of a data file.
std::string verifica_dados(std::string_view entrada);

// One byte choosing N (3 + byte, so 3 to 258), then the bytes of a distances file.
std::string verifica_distancias(std::string_view entrada);

// One byte choosing N (3 + byte), then the bytes of a names file.
std::string verifica_nomes(std::string_view entrada);

// One byte choosing the decimal separator (even: '.', odd: ',') and the weight's number
// (1 to 9), then the text typed in the weights dialog.
std::string verifica_peso(std::string_view entrada);

// The data file, the distances file and the names file, separated by the byte 0x1E (which
// none of them may hold). They are written as c.dat, d.txt and n.txt to a folder of their
// own and loaded over an earlier championship. Inputs whose data file holds '/' or ".." are
// skipped, so that a load never reaches outside that folder.
std::string verifica_carga(std::string_view entrada);

// One byte choosing the championship (its remainder by 3: the bundled nordeste.dat,
// brasileirao_2023.dat, brasileirao_24_clubes.dat), then a result file to score: a refusal
// names its line and leaves the schedule as it was; a schedule read has every pair of teams
// once, within the championship's rounds and slots, and written again reads back the same.
std::string verifica_resultado(std::string_view entrada);

// One byte choosing the championship (as for verifica_resultado), then a requirements file:
// a refusal names its line and leaves the requirements in force as they were; requirements
// read name teams of the championship, rounds of its season, one a line; held against the
// turno's rounds and the season's, a round beyond the turno is refused with its line and
// requirements that cannot hold together with the lines of all of them; explained on a
// season, every occurrence names its line. The same text in Latin-1 reads the same.
std::string verifica_requisitos(std::string_view entrada);

// One byte choosing the championship (as for verifica_resultado), then a plain table of games
// ("rodada;mandante;visitante"): a refusal names its line and leaves the schedule as it was; a
// schedule read has every pair once (in a season once at each venue), no team twice in a
// round, and written as a result file reads back the same.
std::string verifica_tabela(std::string_view entrada);

// One byte choosing the run's rounds (1 to 80), then a calendar file: a refusal names its line
// and leaves the calendar in force as it was; a calendar read dates every round, with real
// dates strictly increasing, and written again (ISO dates, lines in reverse, CR LF) reads back
// the same. The same text in Latin-1 reads the same.
std::string verifica_calendario(std::string_view entrada);

// Byte that separates the three files of verifica_carga's input.
inline constexpr char separador_arquivos = '\x1E';

}  // namespace kelm::fuzz
