#pragma once

#include "evaluation/avaliacao.hpp"
#include "evaluation/movimentos.hpp"

namespace kelm {

// Scores every trial move with the reference evaluation, rebuilding everything.
class AvaliadorCompleto {
public:
    explicit AvaliadorCompleto(Estado& estado) : estado_(estado) {}

    // FO of tabela_atual; the nine counts go to `inviabilidades`.
    double avalia() { return avalia_tabela(estado_, estado_.tabela_atual); }

    // Applies the move to tabela_atual and returns the neighbour's FO.
    double aplica(const Movimento& m)
    {
        aplica_movimento(estado_, m);
        return avalia_tabela(estado_, estado_.tabela_atual);
    }

    // The same; the reference always works the neighbour out.
    double aplica(const Movimento& m, double fo_atual, double temperatura)
    {
        (void)fo_atual;
        (void)temperatura;
        return aplica(m);
    }

    // Keeps the move just applied: nothing to do, the schedule already holds it.
    void confirma() {}

    // Undoes the move just applied.
    void desfaz(const Movimento& m) { aplica_movimento(estado_, m); }

private:
    Estado& estado_;
};

}  // namespace kelm
