#pragma once

#include "evaluation/avaliacao.hpp"
#include "evaluation/requisitos.hpp"
#include "model/temporada.hpp"

namespace kelm {

// The reference scoring of a turno over its whole season: the turno expanded into the 2R
// rounds of the season (tabela_da_temporada) and scored by avalia_tabela as a championship
// of its own, each team's nine counts taken over its 2(N-1) games, the planner's requirements
// (when given) over its rounds, and in a re-plan the games of the schedule it started from
// (`partida`, each a jogo of its round) not in their round. Without a returno, the turno
// itself. The work matrices are its own, made once.
class ReferenciaDaTemporada {
public:
    ReferenciaDaTemporada(const Campeonato& campeonato, Returno returno, const Requisitos* requisitos = nullptr,
                          const Requisitos* partida = nullptr);

    // FO of the season whose turno is `turno`; its counts in contagens().
    double avalia(const Criterios& criterios, const Tabela& turno);
    const Contagens& contagens() const { return trabalho_.inviabilidades; }

private:
    Campeonato campeonato_;
    Returno returno_;
    const Requisitos* requisitos_;
    const Requisitos* partida_;
    Execucao trabalho_;
};

}  // namespace kelm
