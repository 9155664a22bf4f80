#include "evaluation/temporada.hpp"

namespace kelm {

ReferenciaDaTemporada::ReferenciaDaTemporada(const Campeonato& campeonato, Returno returno, const Requisitos* requisitos,
                                             const Requisitos* partida)
    : campeonato_(campeonato_da_temporada(campeonato, returno)),
      returno_(returno),
      requisitos_(requisitos != nullptr && requisitos->em_vigor() ? requisitos : nullptr),
      partida_(partida != nullptr && partida->em_vigor() ? partida : nullptr)
{
    trabalho_.matriz_controle = aloca_matriz_controle(campeonato_.num_rodadas, campeonato_.num_times + 1);
    trabalho_.matriz_mandantes = aloca_matriz_inteiros(campeonato_.num_times + 1, campeonato_.jogos_por_time() + 1);
}

double ReferenciaDaTemporada::avalia(const Criterios& criterios, const Tabela& turno)
{
    trabalho_.tabela_atual = tabela_da_temporada(turno, returno_);
    trabalho_.matriz_controle.zera();
    monta_matriz_controle(trabalho_.matriz_controle, trabalho_.tabela_atual);
    // The requirements' and the changes' counts first: avalia_tabela sums FO over the counts it
    // finds.
    for (const auto& [requisitos, i] : {std::pair{requisitos_, Inviabilidade::requisitos}, std::pair{partida_, Inviabilidade::mudancas}})
        trabalho_.inviabilidades[i] =
            requisitos == nullptr ? 0.0
                                  : static_cast<double>(conta_requisitos(*requisitos, campeonato_.num_times, trabalho_.tabela_atual));
    return avalia_tabela(campeonato_, criterios, trabalho_, trabalho_.tabela_atual);
}

}  // namespace kelm
