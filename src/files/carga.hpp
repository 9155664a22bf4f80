#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/desfecho.hpp"
#include "model/estado.hpp"

namespace kelm {

// Limits of what a load accepts; everything beyond them is refused with a message.
inline constexpr int max_times = 1000;
inline constexpr int max_rodadas = 5000;
inline constexpr std::size_t max_caracteres = 99;               // a path or a team name
inline constexpr std::size_t max_bytes_arquivo = 128u << 20;    // any of the three files

// Texts of the open command.
inline constexpr const char* msg_dados_nao_aberto = "O Arquivo de dados não foi aberto.";
inline constexpr const char* msg_distancias_nao_aberto = "O Arquivo de distâncias não foi aberto.";
inline constexpr const char* msg_nomes_nao_aberto = "O Arquivo de nomes de times não foi aberto.";

// The three items of a data file.
struct ItensDados {
    int num_times = 0;
    int num_rodadas = 0;
    std::string arquivo_distancias;
    std::string arquivo_nomes;
};

// Reads the items of a data file's contents. `nome` names the file in messages.
Desfecho interpreta_dados(std::string_view bytes, std::string_view nome, ItensDados& itens);

// Reads the triples "i, j, d" of a distances file into a zeroed (N+1) x (N+1) matrix.
Desfecho interpreta_distancias(std::string_view bytes, std::string_view nome, int num_times,
                               Matriz<std::int32_t>& distancias);

// Reads at most N names of a names file (UTF-8, or else Latin-1) into N+1 UTF-8 strings.
Desfecho interpreta_nomes(std::string_view bytes, std::string_view nome, int num_times,
                          std::vector<std::string>& nomes);

// Reads a whole file into `bytes`; false when it cannot be opened, is not a regular file or
// is larger than max_bytes_arquivo, with `motivo` saying why, in Portuguese.
bool le_arquivo(const std::filesystem::path& caminho, std::string& bytes, std::string& motivo);

// Where a path written in a data file points: relative paths are taken from the data
// file's own folder, and a relative path written with backslashes that names no file is
// tried again with slashes.
std::filesystem::path resolve_caminho(const std::filesystem::path& arquivo_dados, const std::string& caminho);

// Reads a championship from its data file and the two files it names. The read is atomic: on
// failure `campeonato` stays as it was, and the outcome carries the message of the first file
// that failed.
Desfecho le_campeonato(const std::filesystem::path& arquivo_dados, Campeonato& campeonato);

}  // namespace kelm
