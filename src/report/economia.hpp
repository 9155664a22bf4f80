#pragma once

#include <vector>

#include "model/estado.hpp"
#include "report/explicacao.hpp"

namespace kelm {

// A run's initial schedule and its result side by side: their counts, their FO under the
// criteria given (which of the counts are objectives, `objetivos`), and the km the result
// saves, also in per cent of the initial km (0 when the initial schedule travels nothing);
// with the explanation of the result. With the requirements the run had, both are also held
// to them (the tenth count). In a re-plan, the initial schedule is the one it started from, and
// the result is also held to it (the eleventh count): the games it moved, and how many of each
// team's games moved, home or away.
struct Economia {
    std::array<std::int32_t, num_contagens> objetivos{};
    Contagens inicial;
    Contagens obtida;
    double fo_inicial = 0.0;
    double fo_obtida = 0.0;
    double km_economizados = 0.0;
    double percentual = 0.0;
    Explicacao explicacao_obtida;
    std::vector<int> mudados_por_time;  // teams 1 to N (index 0 unused); empty out of a re-plan
};

Economia economia_obtida(const Campeonato& campeonato, const Criterios& criterios, const Tabela& inicial,
                         const Tabela& obtida, const Requisitos* requisitos = nullptr, bool replanejamento = false);

// How many of each team's games (home or away) are not in the round they had in `partida`:
// teams 1 to N, index 0 unused. Both schedules have the same rounds.
std::vector<int> mudados_por_time(const Campeonato& campeonato, const Tabela& tabela, const Tabela& partida);

}  // namespace kelm
