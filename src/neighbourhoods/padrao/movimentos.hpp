#pragma once

#include "model/estado.hpp"

namespace kelm {

// The games at (r1, g1) and (r2, g2) change places, each keeping its teams and its home
// side; `controle` follows. Applied twice with the same arguments it restores both. Returns
// the change of Inviabilidade 1 (extra games of a team in a round).
int troca_jogos(Tabela& tabela, Matriz<Controle>& controle, int r1, int g1, int r2, int g2);

// The other team of the game at (r, g) gets the home advantage; `controle` follows. An empty
// slot stays as it is. Applied twice it restores both.
void troca_mando(Tabela& tabela, Matriz<Controle>& controle, int r, int g);

// A drawn trial move, kept so that it can be undone by applying it again.
struct Movimento {
    enum class Tipo : int { troca_jogos = 0, troca_mando = 1 };
    Tipo tipo = Tipo::troca_mando;
    int r1 = 0;
    int g1 = 0;
    int r2 = 0;
    int g2 = 0;
};

// Draws the trial moves of a phase: in the first phase a move kind in [0, 2), otherwise
// always a home swap with no draw for the kind; a game swap draws two rounds until they
// differ, then two slots (which may be equal); a home swap draws a round and a slot. The
// numbers of rounds and slots are fixed, so their remainders are taken without a division.
class SorteioMovimentos {
public:
    SorteioMovimentos(const Campeonato& campeonato, Fase fase);
    Movimento sorteia(Gerador& gerador) const;

private:
    bool troca_jogos_;
    Divisor rodadas_;
    Divisor vagas_;
};

// Applies (or, applied again, undoes) a move on a schedule and its control matrix.
void aplica_movimento(Tabela& tabela, Matriz<Controle>& controle, const Movimento& movimento);

// The moves of the padrao search written straight into a schedule and its control matrix.
class MovimentosPadrao {
public:
    using Movimento = kelm::Movimento;

    MovimentosPadrao(const Campeonato& campeonato, Tabela& tabela, Matriz<Controle>& controle, Fase fase)
        : sorteio_(campeonato, fase), tabela_(tabela), controle_(controle)
    {
    }

    Movimento sorteia(Gerador& gerador) const { return sorteio_.sorteia(gerador); }
    void escreve(const Movimento& m) { aplica_movimento(tabela_, controle_, m); }
    // Every move undoes itself.
    void apaga(const Movimento& m) { aplica_movimento(tabela_, controle_, m); }

private:
    SorteioMovimentos sorteio_;
    Tabela& tabela_;
    Matriz<Controle>& controle_;
};

}  // namespace kelm
