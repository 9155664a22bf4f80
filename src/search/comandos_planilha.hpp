#pragma once

#include <filesystem>
#include <string>

#include "model/desfecho.hpp"
#include "model/estado.hpp"

namespace kelm {

// The save command's workbook: refuses when no completed run belongs to the loaded data, else
// writes the run's result (its whole season when the run had a returno, its counts and
// fo_star, what produced it) to `destino`. `nome_campeonato` names the championship on the
// counts sheet. `requisitos`, those the run had, add their occurrences to the workbook.
Desfecho grava_planilha_resultado(const Campeonato& campeonato, const Execucao& execucao,
                                  const std::filesystem::path& destino, const std::string& nome_campeonato,
                                  const Requisitos* requisitos = nullptr);

}  // namespace kelm
