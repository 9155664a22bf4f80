#pragma once

#include <string>

#include "report/explicacao.hpp"

namespace kelm {

// The report of a schedule, as bytes of a file written like the result file (Latin-1,
// CR LF, tab-separated, numbers with `separador` as the decimal separator): a row per team
// (name, venue of every round, home and away games, km, its share of each count) and a
// total row with the nine counts; with `objetivos`, a row that says under each count whether
// it was an objective ("Sim" or "Não": whether FO counts it); an empty line; then one line per
// occurrence.
std::string texto_relatorio(const Campeonato& campeonato, const Explicacao& explicacao, char separador = '.',
                            const std::array<std::int32_t, num_contagens>* objetivos = nullptr);

}  // namespace kelm
