#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/desfecho.hpp"
#include "model/estado.hpp"

namespace kelm {

inline constexpr const char* msg_arquivo_nao_salvo = "O Arquivo não foi salvo.";

// Appends a line of a file we write: the text, then CR LF.
void acrescenta_linha(std::string& saida, std::string_view texto);

// UTF-8 text as the Latin-1 bytes of the files we write. Every text given is Latin-1
// already checked (the team names by the loader); one that is not is written as it is.
std::string em_latin1(std::string_view utf8);

// The first lines of a result file, without line ends: "Inv1:" to "Inv9:" with the counts
// ("Inv10:" too while requirements are in force, "Inv11:" in a re-plan), then "FO_STAR:" with
// `fo`, each a name, a tab and the number.
std::vector<std::string> linhas_contagens(const Contagens& contagens, double fo, char separador = '.',
                                          ContagensVistas vistas = {});

// The line that follows a round's heading when the run had a calendar in force:
// "Data:\t18/05/2024", and a tab and "16:00" when the round has a time.
std::string linha_da_data(const DiaDaRodada& dia);

// The result file's bytes: Latin-1, CR LF line ends; the nine counts (ten while the run had
// requirements in force), FO_STAR and the run time (and, of the best of several runs, a line
// "Semente:" with the seed it came from and which runs they were), then one block per round
// of tabela_melhor, or of the whole season it is the turno of when the run had a returno (with
// a calendar in force, the round's date on the line after its heading).
// `separador` is the decimal separator.
std::string texto_resultado(const Campeonato& campeonato, const Execucao& execucao, char separador = '.');

// Writes `bytes` to `destino` so that nothing is ever half written: into a new file of the
// same folder, flushed to the disk, then renamed over the destination (the file a link names:
// see arquivo_gravado). On any failure the
// destination is left as it was and the temporary file removed. A destination that exists
// and is a device (for example /dev/stdout) is written directly.
Desfecho grava_arquivo(const std::filesystem::path& destino, std::string_view bytes);

// The file a save to `destino` writes, which is also the file whose identity the checks of a
// command's outputs compare: a symbolic link is followed to what it names, link after link,
// each relative target taken from its own link's folder; a link to nothing names the new
// file it would make, in the folder it names (and stays a link). `destino` itself when it is
// no link; nothing, with errno ELOOP, when the links lead round and round.
std::optional<std::filesystem::path> arquivo_gravado(const std::filesystem::path& destino);

// The outcome of a save to `destino` that failed with the system error `erro`: "O Arquivo não
// foi salvo." with the destination and the reason in Portuguese.
Desfecho falha_gravacao(const std::filesystem::path& destino, int erro);

// Whether `destino` can be written as grava_arquivo writes it, checked before a long run so
// that a bad destination is refused at once: its folder exists and may be written, and a file
// already there may be replaced (a device is written in place). The outcome carries the
// same messages as a failed save; nothing is created.
Desfecho pode_gravar(const std::filesystem::path& destino);

}  // namespace kelm
