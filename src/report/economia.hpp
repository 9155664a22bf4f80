#pragma once

#include "model/estado.hpp"
#include "report/explicacao.hpp"

namespace kelm {

// A run's initial schedule and its result side by side: their counts, their FO under the
// criteria given (which of the counts are objectives, `objetivos`), and the km the result
// saves, also in per cent of the initial km (0 when the initial schedule travels nothing);
// with the explanation of the result. With the requirements the run had, both are also held
// to them (the tenth count).
struct Economia {
    std::array<std::int32_t, num_contagens> objetivos{};
    Contagens inicial;
    Contagens obtida;
    double fo_inicial = 0.0;
    double fo_obtida = 0.0;
    double km_economizados = 0.0;
    double percentual = 0.0;
    Explicacao explicacao_obtida;
};

Economia economia_obtida(const Campeonato& campeonato, const Criterios& criterios, const Tabela& inicial,
                         const Tabela& obtida, const Requisitos* requisitos = nullptr);

}  // namespace kelm
