#pragma once

#include "evaluation/avaliacao.hpp"
#include "neighbourhoods/padrao/movimentos.hpp"

namespace kelm {

// Scores every trial move with the reference evaluation, rebuilding everything.
class AvaliadorCompleto {
public:
    AvaliadorCompleto(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao)
        : campeonato_(campeonato), criterios_(criterios), execucao_(execucao)
    {
    }

    // FO of tabela_atual; the nine counts go to `inviabilidades`.
    double avalia() { return avalia_tabela(campeonato_, criterios_, execucao_, execucao_.tabela_atual); }

    // Applies the move to tabela_atual and returns the neighbour's FO. The reference always
    // works the neighbour out, whatever the objective and temperature it is tried against.
    double aplica(const Movimento& m, double /*fo_atual*/ = 0.0, double /*temperatura*/ = 0.0)
    {
        aplica_movimento(execucao_.tabela_atual, execucao_.matriz_controle, m);
        return avalia();
    }

    // Keeps the move just applied: nothing to do, the schedule already holds it.
    void confirma() {}

    // Undoes the move just applied.
    void desfaz(const Movimento& m) { aplica_movimento(execucao_.tabela_atual, execucao_.matriz_controle, m); }

private:
    const Campeonato& campeonato_;
    const Criterios& criterios_;
    Execucao& execucao_;
};

}  // namespace kelm
