#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/estado.hpp"
#include "model/requisitos.hpp"

namespace kelm {

// Requirements that cannot all hold, whatever the schedule: the lines of the file that clash
// (one line when a requirement clashes with itself) and what they ask that cannot be, in the
// planner's words.
struct Contradicao {
    std::vector<int> linhas;
    std::string problema;
};

// The first contradiction among the requirements, in a run of `num_rodadas` rounds whose rounds
// lie within them: R, or the 2R of a season whose returno follows `esquema` (Returno::nenhum
// when no scheme ties the rounds: a turno, or a double round robin given as it is). Read
// through the season's scheme, a round and the round that repeats its games with the venues
// swapped are one meeting of each pair: a team at home in one is away in the other, and a game
// fixed in one fixes the other.
//
// What clashes: a team at home and not at home in one round (casa and fora, a fixed game's
// venues, a round and its mirror); a team with two fixed opponents in one round; a fixed game
// none of whose rounds its teams may take; a pair with no round left in which to meet (its
// fixed rounds disjoint, or barred by sem-encontro or fim-de-semana); more fixed games of a team
// than rounds for them; a team barred from the home games of more rounds than a season leaves
// it to spare; more teams of a maximo forced home in a round than it allows.
//
// It takes time linear in the size of the file (each requirement's teams and rounds), so that a
// file of hundreds of thousands of lines is checked in about a second.
std::optional<Contradicao> primeira_contradicao(const Requisitos& requisitos, const Campeonato& campeonato,
                                                int num_rodadas, Returno esquema);

}  // namespace kelm
