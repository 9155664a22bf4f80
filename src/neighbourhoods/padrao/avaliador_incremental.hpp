#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "evaluation/sequencia.hpp"
#include "model/estado.hpp"
#include "neighbourhoods/padrao/movimentos.hpp"

namespace kelm {

// Scores trial moves by updating only what a move changes, with exactly the counts and the
// FO (the same doubles, bit for bit) that avalia_tabela gives for the same schedule.
//
// It keeps, for every team, its games in schedule order (the key r * N/2 + g of each game
// and its venue), a bit mask of its home games, and the team's share of each count. A home
// swap changes one venue in the sequences of the game's two teams; a game swap moves one
// entry in the sequences of the teams of the two games. The team's distance changes only
// in the legs around the changed places; its runs of three home or away games are counted
// on the mask with a few word operations (a run of L adds L - 2: one for every game that is
// the third or later of its run); the first and last two games are single bits.
//
// aplica() applies the move to tabela_atual and matriz_controle (as troca_jogos and
// troca_mando do) and works out the neighbour's counts aside; confirma() keeps it, and
// desfaz() applies the move again, so that the schedule, the control matrix and the kept
// counts are back as they were. Nothing is allocated after construction.
class AvaliadorIncremental {
public:
    // Builds the per-team sequences from the run's tabela_atual and reads the objective
    // flags and weights, which stay fixed for the evaluator's life (one phase).
    AvaliadorIncremental(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao);

    // FO of tabela_atual; the nine counts go to `inviabilidades`.
    double avalia();

    // Applies the move to tabela_atual and returns the neighbour's FO; its counts go to
    // `inviabilidades`.
    double aplica(const Movimento& m);

    // As aplica(m), for the acceptance test at `temperatura` against `fo_atual`: when a
    // cheap lower bound already worsens the objective by `temperatura` or more, so that the
    // move is rejected whatever the draw, returns that bound (and leaves `inviabilidades`
    // alone) instead of working the neighbour out. Such a move can only be undone.
    double aplica(const Movimento& m, double fo_atual, double temperatura);

    // Keeps the move last applied.
    void confirma();

    // Undoes the move last applied (the same move, applied again).
    void desfaz(const Movimento& m);

    // The counts of tabela_atual as the evaluator holds them.
    Contagens contagens() const;

private:
    // How a team's sequence changes under the pending move.
    struct Mudanca {
        enum class Tipo { move_entrada, troca_sedes, vira_sede };
        Tipo tipo = Tipo::move_entrada;
        int time = 0;
        int p = 0;           // position of the changed entry (the first of two for troca_sedes)
        int q = 0;           // move_entrada: its new position; troca_sedes: the second position
        int chave = 0;       // move_entrada: the entry's new key
        int sede = 0;        // vira_sede: the new venue
        Parcela valores;     // the team's new share
    };

    std::int32_t* chaves(int t) { return chaves_.data() + static_cast<std::size_t>(t) * l_; }
    // A team's venues in order, framed by the team itself before the first game and team 0
    // after the last one (the distance to and from team 0 is 0), so that the legs around
    // any place are read without tests for the ends.
    std::int32_t* sedes(int t) { return sedes_.data() + static_cast<std::size_t>(t) * (l_ + 2) + 1; }
    std::uint64_t* mascara(int t) { return mascaras_.data() + static_cast<std::size_t>(t) * w_; }
    std::uint64_t* rascunho(int i) { return rascunhos_.data() + static_cast<std::size_t>(i) * w_; }
    std::int64_t d(int a, int b) const { return distancias_[static_cast<std::size_t>(a) * (n_ + 1) + static_cast<std::size_t>(b)]; }

    int posicao(int t, int chave);
    bool mudou(int t) const;
    // Whether a lower bound of the neighbour's FO already worsens the objective by the
    // temperature or more; if so the pending move is marked as rejected on its bound.
    bool recusa_pelo_limite(std::int64_t limite, double fo_atual, double temperatura);
    void reordena(int t);
    void fecha_totais(Totais& totais);
    int mesmo_estado(const Jogo& jogo) const;
    double publica(const Totais& totais);

    void prepara_move(int t, int chave_antiga, int chave_nova, int sede, Mudanca& mudanca, int rascunho_idx);
    void prepara_troca(int t, int chave_a, int chave_b, int sede_a, int sede_b, Mudanca& mudanca, int rascunho_idx);
    void prepara_vira(int t, int chave, int sede_nova, Mudanca& mudanca, int rascunho_idx);

    Execucao& execucao_;
    int n_;
    int l_;   // games per team: N - 1
    int w_;   // 64-bit words per mask
    int g_;   // slots per round
    int ultima_rodada_;
    const std::int32_t* distancias_;
    Ponderacao ponderacao_;

    std::vector<std::int32_t> chaves_;
    std::vector<std::int32_t> sedes_;
    std::vector<std::uint64_t> mascaras_;
    std::vector<std::uint64_t> rascunhos_;  // candidate masks of up to four teams
    std::vector<Parcela> valores_;
    std::vector<std::int64_t> distancia_;    // each team's distance travelled
    // The teams in increasing order of distance travelled, and each team's place in it, so
    // that the largest and smallest distances of the teams a move leaves alone are found
    // in a few steps from either end.
    std::vector<int> ordem_;
    std::vector<int> lugar_;
    std::uint64_t ultima_palavra_;           // valid bits of the last mask word
    Totais totais_;

    // The pending move.
    Totais totais_candidatos_;
    std::array<Mudanca, 4> mudancas_;
    int num_mudancas_ = 0;
    bool pendente_ = false;
    bool antecipado_ = false;    // the pending move was rejected on its bound
};

}  // namespace kelm
