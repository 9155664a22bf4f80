#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/estado.hpp"
#include "report/explicacao.hpp"

namespace kelm {

// One team's games in one round, as the home/away board shows them.
struct CasaQuadro {
    std::vector<PosicaoJogo> jogos;  // its games in the round, in slot order; none when it rests
    std::vector<int> adversarios;    // the opponent of each game
    std::string mandos;              // "C" at home, "F" away, "-" no game, a letter per game ("CF")
    bool quebra = false;             // a game at the same venue as the team's game before it
    bool sequencia_longa = false;    // a game of a run of three or more at the same venue
    bool em_contagem = false;        // a game that adds to a count charged to the team
};

// The home/away pattern of every team, round by round: the picture a planner reads a season
// by. Holds as many rounds as the schedule has, turno and returno alike.
struct QuadroMandos {
    int rodadas = 0;
    // The first round of the returno, from 0; 0 when the schedule is a single turno.
    int inicio_returno = 0;
    std::vector<std::vector<CasaQuadro>> casas;  // [time - 1][rodada]

    const CasaQuadro& casa(int time, int rodada) const
    {
        return casas[static_cast<std::size_t>(time - 1)][static_cast<std::size_t>(rodada)];
    }
};

// The colours of the board, as 0xRRGGBB, wherever it is drawn (the window, the printed page,
// the workbook): green at home, orange away, darker in a run of three or more; grey for no
// game, or for two in one round; dark red the letters of a game in a count.
namespace cores_quadro {
inline constexpr std::uint32_t casa = 0xC8E6C9;
inline constexpr std::uint32_t casa_seguida = 0x66BB6A;
inline constexpr std::uint32_t fora = 0xFFE0B2;
inline constexpr std::uint32_t fora_seguida = 0xFFA726;
inline constexpr std::uint32_t sem_jogo = 0xEEEEEE;
inline constexpr std::uint32_t contagem = 0xB00020;
inline constexpr std::uint32_t texto = 0x212121;
inline constexpr std::uint32_t borda = 0xBDBDBD;
}  // namespace cores_quadro

// The fill of a cell of the board.
std::uint32_t cor_da_casa(const CasaQuadro& casa);

// The board of `tabela`, whatever its number of rounds, with `explicacao` its explanation.
// A game is in a count when an occurrence charged to the team (or, for two teams of the same
// state in the last round, to either of them) says something of it.
QuadroMandos monta_quadro_mandos(const Campeonato& campeonato, const Tabela& tabela, const Explicacao& explicacao,
                                 int inicio_returno = 0);

}  // namespace kelm
