#pragma once

#include <string>

#include "report/explicacao.hpp"

namespace kelm {

// The report of a schedule, as bytes of a file written like the result file (Latin-1,
// CR LF, tab-separated, numbers with `separador` as the decimal separator): a row per team
// (name, venue of every round, home and away games, km, its share of each count) and a
// total row with the nine counts; an empty line; then one line per occurrence.
std::string texto_relatorio(const Campeonato& campeonato, const Explicacao& explicacao, char separador = '.');

}  // namespace kelm
