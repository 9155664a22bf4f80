#pragma once

#include "neighbourhoods/padrao/movimentos.hpp"

namespace kelm {

// The neighbourhood of the specified search: it starts from the prepared copy of
// tabela_inicial and tries game swaps and home swaps in the first phase, home swaps alone in
// the second, each scored by `Avaliador` (the reference or the incremental evaluation).
template <class Avaliador>
class VizinhancaPadrao {
public:
    using Movimento = kelm::Movimento;

    VizinhancaPadrao(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao)
        : sorteio_(campeonato, execucao.primeira_fase), avaliador_(campeonato, criterios, execucao)
    {
    }

    double avalia() { return avaliador_.avalia(); }
    Movimento sorteia(Gerador& gerador) const { return sorteio_.sorteia(gerador); }
    double aplica(const Movimento& m, double fo_atual, double temperatura)
    {
        return avaliador_.aplica(m, fo_atual, temperatura);
    }
    void confirma() { avaliador_.confirma(); }
    void desfaz(const Movimento& m) { avaliador_.desfaz(m); }

private:
    SorteioMovimentos sorteio_;
    Avaliador avaliador_;
};

}  // namespace kelm
