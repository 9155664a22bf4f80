#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/desfecho.hpp"
#include "model/requisitos.hpp"

namespace kelm {

// A file that a command reads or writes, as its messages name it.
struct ArquivoDoComando {
    std::string papel;             // what it is, without article: "arquivo de dados", "resultado"
    std::string origem;            // how the planner named it ("-o r.txt", or the path); may be empty
    std::filesystem::path caminho;
};

// The files a load of the championship reads: the data file and, when its items can be read,
// the distances and names files it names (a data file that cannot be read is left to the
// load to refuse).
std::vector<ArquivoDoComando> arquivos_do_campeonato(const std::filesystem::path& arquivo_dados);

// The files a schedule on screen was drawn from, which a save must not replace: the
// championship's three (those of `arquivo_dados`) and the requirements file in force, if any.
std::vector<ArquivoDoComando> arquivos_em_uso(const std::filesystem::path& arquivo_dados, const Requisitos& requisitos);

// Refuses, before anything is read or written, an output that would replace an input or an
// earlier output of the same command: the same file under another path, through a link or a
// hard link, or the same new file named twice ("r.txt" and "./r.txt"). Devices and pipes are
// never replaced, so they may be named more than once. The refusal says which output and
// which file, with "O Arquivo não foi salvo.".
Desfecho confere_saidas(const std::vector<ArquivoDoComando>& entradas, const std::vector<ArquivoDoComando>& saidas);

// Whether `destino` can be written, checked before any work: what pode_gravar checks, and
// what only the writing itself would otherwise find out: a folder of the operating system
// (/proc, /sys), where no file can be made, and a device that refuses every byte (/dev/full).
Desfecho confere_destino(const std::filesystem::path& destino);

}  // namespace kelm
