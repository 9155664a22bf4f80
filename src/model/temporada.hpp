#pragma once

#include <optional>

#include "model/estado.hpp"

namespace kelm {

// Every question about the rounds of a season is answered here, once: how many rounds a run
// schedules, which turno round (and venue) a returno round brings back, and back again.
//
// A season is a turno of R rounds and a returno of R rounds that brings the turno's games back
// with the venues swapped, in the order of its scheme:
//   espelhado: round R + r is round r (r = 1..R);
//   frances:   round 2R is round 1, and round R + r - 1 is round r (r = 2..R).

// The rounds of a whole season, turno and returno, of a championship of R rounds: 2R.
inline int rodadas_da_temporada(int num_rodadas) { return 2 * num_rodadas; }

// The rounds a run schedules: the turno's R, or 2R over a whole season.
inline int rodadas_da_execucao(int num_rodadas, Returno returno)
{
    return returno == Returno::nenhum ? num_rodadas : rodadas_da_temporada(num_rodadas);
}

// How many times each pair meets in a run: once in the turno, twice over a season.
inline int voltas_da_execucao(Returno returno) { return returno == Returno::nenhum ? 1 : 2; }

// The place in the turno (from 0, of `n` places) whose game comes back at place k of the
// returno (from 0). Places are rounds, or one team's games in order, of which `na_primeira` are
// in the turno's first round (one round is one place; a team that rests there has none): under
// frances the returno brings back the places after those first ones, and then them.
inline int lugar_no_turno(int k, int n, Returno returno, int na_primeira = 1)
{
    return returno == Returno::frances ? (k + na_primeira) % n : k;
}

// The place in the returno (from 0) at which the game of turno place k comes back.
inline int lugar_no_returno(int k, int n, Returno returno, int na_primeira = 1)
{
    return returno == Returno::frances ? (k + n - na_primeira) % n : k;
}

// The round of the season (from 0, of 2R) in which the game of turno round r (from 0, of R)
// comes back with the venues swapped.
inline int rodada_do_returno(int r, int num_rodadas, Returno returno)
{
    return num_rodadas + lugar_no_returno(r, num_rodadas, returno);
}

// The turno round (from 0) whose games the season round s (from 0, of 2R) holds: s itself in
// the turno, the round the scheme brings back in the returno.
inline int rodada_do_turno(int s, int num_rodadas, Returno returno)
{
    return s < num_rodadas ? s : lugar_no_turno(s - num_rodadas, num_rodadas, returno);
}

// Whether the games of season round s (from 0) have the venues of the turno's round, or the
// other way round (a returno round).
inline bool mandos_do_turno(int s, int num_rodadas) { return s < num_rodadas; }

// The other round of the season in which the pairs of round s (from 0, of 2R) meet: its
// returno round when s is in the turno, its turno round when s is in the returno.
inline int rodada_par(int s, int num_rodadas, Returno returno)
{
    return s < num_rodadas ? rodada_do_returno(s, num_rodadas, returno) : rodada_do_turno(s, num_rodadas, returno);
}

// The turno round whose pairs meet in the season's last round: under espelhado the turno's
// last round, under frances its first.
inline int rodada_final_da_temporada(int num_rodadas, Returno returno)
{
    return lugar_no_turno(num_rodadas - 1, num_rodadas, returno);
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

// The scheme a schedule of a championship of R rounds follows: Returno::nenhum for a turno of R
// rounds; for a season of 2R rounds, espelhado or frances when every returno round holds the
// games of the turno round the scheme ties it to with the venues swapped (in any order of its
// slots); nothing for a season that follows neither (a double round robin whose meetings fall
// where they will), or any other number of rounds.
std::optional<Returno> esquema_da_temporada(const Tabela& tabela, int num_rodadas);

// The turno of a season that follows a scheme: its first R rounds.
Tabela turno_da_temporada(const Tabela& temporada, int num_rodadas);

// A schedule as it is shown, saved and explained: the championship it belongs to and its rounds,
// the whole season (a championship of 2R rounds, each pair meeting twice) when there is a
// returno, and the first round of the returno (from 0; 0 when there is none). A season of 2R
// rounds that follows no scheme (given with Returno::nenhum) is taken as it is.
struct Temporada {
    Campeonato campeonato;
    Tabela tabela;
    int inicio_returno = 0;
};

Temporada temporada_de(const Campeonato& campeonato, const Tabela& turno, Returno returno);

}  // namespace kelm
