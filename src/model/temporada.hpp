#pragma once

#include "model/estado.hpp"

namespace kelm {

// The round of the season (from 0, of 2R) in which the game of turno round r (from 0, of R)
// comes back with the venues swapped.
inline int rodada_do_returno(int r, int num_rodadas, Returno returno)
{
    if (returno == Returno::frances) return r == 0 ? 2 * num_rodadas - 1 : num_rodadas + r - 1;
    return num_rodadas + r;
}

// The turno round (from 0) whose games the season round s (from 0, of 2R) holds, in this
// order of the returno: the rounds of the turno as the scheme brings them back.
inline int rodada_do_turno(int s, int num_rodadas, Returno returno)
{
    if (s < num_rodadas) return s;
    const int k = s - num_rodadas;  // the k-th round of the returno
    if (returno == Returno::frances) return k == num_rodadas - 1 ? 0 : k + 1;
    return k;
}

// The turno round whose pairs meet in the season's last round: under espelhado the turno's
// last round, under frances its first.
inline int rodada_final_da_temporada(int num_rodadas, Returno returno)
{
    return returno == Returno::frances ? 0 : num_rodadas - 1;
}

// A game of the turno as it comes back in the returno: the same pair, the other at home,
// written as every generator writes a game (the lower-numbered team in time1).
inline Jogo jogo_do_returno(const Jogo& jogo) { return jogo.vazio() ? jogo : Jogo{-jogo.time1, jogo.time2}; }

// The whole season of a championship as a championship of 2R rounds in which every pair meets
// twice; the championship itself when there is no returno.
Campeonato campeonato_da_temporada(const Campeonato& campeonato, Returno returno);

// The 2R rounds of the season whose turno is `turno`: the turno, then its rounds as the scheme
// brings them back, every game with the venues swapped. The turno itself when there is no
// returno.
Tabela tabela_da_temporada(const Tabela& turno, Returno returno);

// A schedule as it is shown, saved and explained: the championship it belongs to and its rounds,
// the whole season (a championship of 2R rounds, each pair meeting twice) when there is a
// returno, and the first round of the returno (from 0; 0 when there is none).
struct Temporada {
    Campeonato campeonato;
    Tabela tabela;
    int inicio_returno = 0;
};

Temporada temporada_de(const Campeonato& campeonato, const Tabela& turno, Returno returno);

}  // namespace kelm
