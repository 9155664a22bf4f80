#pragma once

#include <string>
#include <vector>

namespace kelm {

// The kinds of requirement a planner gives, as the requirements file writes them.
enum class TipoRequisito {
    casa,          // casa TIME rodadas LISTA: the team plays at home in each of those rounds
    fora,          // fora TIME rodadas LISTA: the team does not play at home in any of them
    maximo,        // maximo K TIME TIME ... [rodadas LISTA]: at most K of them at home in a round
    jogo,          // jogo MANDANTE VISITANTE rodadas LISTA: that game, with that home team, in one of them
    encontro,      // encontro TIME TIME rodadas LISTA: the two meet, at either venue, in one of them
    sem_encontro,  // sem-encontro TIME TIME rodadas LISTA: the two do not meet in any of them
    // fim-de-semana TIME TIME: the two meet only in rounds on a Saturday or a Sunday. Its rounds
    // are the run's other rounds, and it counts as a sem-encontro over them would: each of the
    // pair's games on another day of the week.
    fim_de_semana,
};

// One requirement of the file: its kind, its line, its teams (the home team first in a game),
// K of a maximo, and its rounds from 1, increasing, each once (a maximo without rounds holds
// in every round; a fim-de-semana of a calendar whose rounds all fall on weekends has none).
struct Requisito {
    TipoRequisito tipo = TipoRequisito::casa;
    int linha = 0;
    std::vector<int> times;
    int limite = 0;
    std::vector<int> rodadas;
    // A game the planner pinned in the window: a jogo of one round, shown with a lock.
    bool fixado = false;

    friend bool operator==(const Requisito&, const Requisito&) = default;
};

// The planner's requirements: whether they are in force, the file they came from, and what
// they ask. Only requirements in force are counted, checked and shown.
struct Requisitos {
    std::string arquivo;
    std::vector<Requisito> itens;
    bool vigentes = false;
    // The file's text as it was read (UTF-8), comments included, which a save keeps.
    std::string texto;

    bool em_vigor() const { return vigentes; }

    friend bool operator==(const Requisitos&, const Requisitos&) = default;
};

// The lines of a text: its line breaks, and a last line without one.
int linhas_do_texto(const std::string& texto);

// Whether the game of `mandante` at home against `visitante` is pinned in round `rodada` (from 1).
bool esta_fixado(const Requisitos& requisitos, int mandante, int visitante, int rodada);

// Pins that game in that round: a requirement jogo of that one round, marked as a pin, put in
// force with the requirements; its line is the one it has in the file a save writes (after the
// lines of the file read, and a line that heads the pins). Nothing when it is pinned already.
void fixa_jogo(Requisitos& requisitos, int mandante, int visitante, int rodada);

// Releases that pin, the later pins' lines following.
void solta_jogo(Requisitos& requisitos, int mandante, int visitante, int rodada);

}  // namespace kelm
