#pragma once

#include "model/estado.hpp"

namespace kelm {

// The games at (r1, g1) and (r2, g2) change places, each keeping its teams and its home
// side; matriz_controle follows. Applied twice with the same arguments it restores both.
void troca_jogos(Estado& estado, Tabela& tabela, int r1, int g1, int r2, int g2);

// The other team of the game at (r, g) gets the home advantage; matriz_controle follows.
// An empty slot stays as it is. Applied twice it restores both.
void troca_mando(Estado& estado, Tabela& tabela, int r, int g);

// A drawn trial move, kept so that it can be undone by applying it again.
struct Movimento {
    enum class Tipo : int { troca_jogos = 0, troca_mando = 1 };
    Tipo tipo = Tipo::troca_mando;
    int r1 = 0;
    int g1 = 0;
    int r2 = 0;
    int g2 = 0;
};

// Draws a trial move: in the first phase a move kind in [0, 2), otherwise always a home
// swap with no draw for the kind; a game swap draws two rounds until they differ, then two
// slots (which may be equal); a home swap draws a round and a slot.
Movimento sorteia_movimento(Estado& estado);

// The same draws, for a whole phase: the numbers of rounds and slots are fixed, so their
// remainders are taken without a division.
class SorteioMovimentos {
public:
    explicit SorteioMovimentos(const Estado& estado);
    Movimento sorteia(Gerador& gerador) const;

private:
    bool primeira_fase_;
    Divisor rodadas_;
    Divisor vagas_;
};

// Applies (or, applied again, undoes) a move on tabela_atual.
void aplica_movimento(Estado& estado, const Movimento& movimento);

}  // namespace kelm
