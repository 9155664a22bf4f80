#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "evaluation/avaliacao.hpp"
#include "evaluation/sequencia.hpp"
#include "model/estado.hpp"

namespace kelm {

// A trial move of the compact search. Every one keeps each round a complete round of games
// (every team plays once, or rests once when N is odd) and each pair meeting once.
struct MovimentoCompacto {
    enum class Tipo : int {
        troca_mando,            // the other team of the game in round a, slot b plays at home
        troca_rodadas,          // rounds a and b change places
        troca_times,            // teams a and b change places in every round but their own game
        troca_parcial_rodadas,  // rounds a and b exchange the games of the teams linked to team c
        troca_parcial_times,    // teams a and b change places in round c and wherever that leads
    };
    Tipo tipo = Tipo::troca_mando;
    int a = 0;
    int b = 0;
    int c = 0;
};

// The neighbourhood of the compact search: tabela_atual must be a compact round robin (as
// gera_tabela_compacta draws it), and every move keeps it one. A partial swap of two rounds
// exchanges, between them, the games of the teams that a chain of their games links to a
// drawn team, so that both rounds stay complete; a partial swap of two teams exchanges them
// in a drawn round, then in the round where one of them now meets a team for the second
// time, and so on until the chain closes.
//
// A move is made by writing games into slots, which the schedule, its control matrix and the
// per-round records (opponent, slot, the round of every pair) follow; an odd N is kept as N+1
// teams, the extra one standing for the rest, whose game sits in a slot past the last one of
// the schedule. The incremental evaluation works a move out before anything is written:
// which teams it reaches and in which rounds, their new venues read through the move, and
// the share of each team from the legs around at most two changed venues, or from its whole
// new sequence. The games are written only when the move is kept; a rejected move leaves
// nothing to undo. The reference evaluation writes every move and rebuilds everything; both
// give the same counts and FO, bit for bit.
class VizinhancaCompacta {
public:
    using Movimento = MovimentoCompacto;

    // Reads the compact schedule tabela_atual and the criteria, fixed for one phase. Throws
    // std::logic_error when the schedule is not a compact round robin whose games are written
    // with the lower-numbered team in time1, as the generators write them.
    VizinhancaCompacta(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                       ModoAvaliacao modo = ModoAvaliacao::incremental);

    // FO of tabela_atual; its counts go to `inviabilidades`.
    double avalia();
    // Draws a move: its kind, then its rounds, teams and slot.
    Movimento sorteia(Gerador& gerador);
    // Works the move out on tabela_atual and returns the neighbour's FO, its counts in
    // `inviabilidades`; or, when a lower bound of the neighbour's FO already worsens
    // `fo_atual` by `temperatura` or more, so that the move is rejected whatever the draw,
    // that bound. The reference evaluation writes the move at once.
    double aplica(const Movimento& m, double fo_atual = 0.0,
                  double temperatura = std::numeric_limits<double>::infinity());
    // Keeps the move last applied.
    void confirma();
    // Undoes the move last applied.
    void desfaz(const Movimento& m);

    // The counts of tabela_atual as the incremental evaluation holds them.
    Contagens contagens() const { return totais_.contagens(); }

private:
    struct Escrita {
        int rodada;
        int vaga;
        Jogo antigo;
        Jogo novo;
    };

    // How the pending move changes a team's sequence: at most two venues, or all of it (then
    // the new venues stand in the team's row of rascunho_sedes_).
    struct Mudanca {
        int time = 0;
        bool inteira = false;
        int folga = -1;
        int num_posicoes = 0;
        int posicoes[2] = {};
        int sedes[2] = {};
        bool mesma_mascara = false;  // the same home games: only the distance changes
        Parcela valores;
    };

    int* oponente(int r) { return oponente_.data() + static_cast<std::size_t>(r) * (n_total_ + 1); }
    const int* oponente(int r) const { return oponente_.data() + static_cast<std::size_t>(r) * (n_total_ + 1); }
    int* vaga(int r) { return vaga_.data() + static_cast<std::size_t>(r) * (n_total_ + 1); }
    int& rodada_do_par(int a, int b) { return rodada_do_par_[static_cast<std::size_t>(a) * (n_total_ + 1) + b]; }
    Jogo& jogo(int r, int g) { return jogos_[static_cast<std::size_t>(r) * vagas_total_ + g]; }
    std::int32_t* sedes(int t) { return sedes_.data() + static_cast<std::size_t>(t) * (l_ + 2) + 1; }
    std::int32_t* rascunho_sedes(int t) { return rascunho_sedes_.data() + static_cast<std::size_t>(t) * (l_ + 2) + 1; }
    Palavra* mascara(int t) { return mascaras_.data() + static_cast<std::size_t>(t) * w_; }
    Palavra* rascunho_mascara(int t) { return rascunho_mascaras_.data() + static_cast<std::size_t>(t) * w_; }
    std::int64_t d(int a, int b) const
    {
        return distancias_[static_cast<std::size_t>(a) * (n_ + 1) + static_cast<std::size_t>(b)];
    }

    // The venue of team t in round r, where it plays.
    int sede_na_rodada(int t, int r) const;
    // The team's place in its own sequence of games for round r, given the round it rests in.
    static int posicao(int r, int folga) { return folga >= 0 && r > folga ? r - 1 : r; }

    // Under the pending move, not yet written: team t's opponent in round r; and whether
    // round r is one where a swap of teams exchanges them.
    int oponente_novo(int t, int r) const;
    bool rodada_da_troca(int r) const;

    // The games the pending move writes.
    void escreve(int r, int g, const Jogo& novo);
    void troca_no_jogo(int r, int time, int por);
    void escreve_movimento();
    // Writes the pending games (or, undoing, puts back the earlier ones) into the records,
    // the schedule and its control matrix.
    void executa_escritas(bool desfazendo);

    // The chains of a partial swap: the teams linked by the games of two rounds, and the
    // rounds where a swap of two teams leads; either is left in fila_.
    void marca_cadeia_de_times(int r1, int r2, int t);
    void marca_cadeia_de_rodadas(int t1, int t2, int r0);

    // A lower bound of the pending move's objective, cheaper than the move itself: how the
    // team's home games and first and last two games change, read through the move.
    std::int64_t limite_inferior();
    void atualiza_base_do_limite();
    bool em_casa_depois(int t, int r) const;
    int folga_depois(int t) const;
    void inicio_fim_depois(int t, std::int64_t& inicio, std::int64_t& fim) const;

    // The pending move's change to a team: in a swap of teams, the other one's venues in the
    // rounds of the swap; its venues of two rounds exchanged (when it rests in one of them,
    // its whole sequence shifts); or at most two of its venues, at positions p0 and p1.
    void muda_como(int t, int u);
    void muda_com_rodadas_trocadas(int t, int r1, int r2);
    void muda_sedes(int t, int num, int p0, int s0, int p1, int s1);
    // Team t's whole new sequence, resting in `folga`, from its venue in each round.
    template <class SedeNaRodada>
    void muda_inteira(int t, int folga, SedeNaRodada sede_na_rodada);
    void troca_duas_rodadas(int t, int r1, int r2);
    void registra(Mudanca& mudanca);
    int mesmo_estado_na_ultima(bool depois) const;
    double publica(const Totais& totais);

    const Campeonato& campeonato_;
    const Criterios& criterios_;
    Execucao& execucao_;
    ModoAvaliacao modo_;
    int n_;            // teams
    int n_total_;      // teams, and the one that stands for the rest when N is odd
    int folga_;        // that team, or 0
    int r_;            // rounds
    int vagas_;        // slots of the schedule: N/2
    int vagas_total_;  // slots of a round, the rest's included
    int l_;            // games per team: N - 1
    int w_;            // 64-bit words per mask
    Palavra ultima_palavra_;
    const std::int32_t* distancias_;
    Ponderacao ponderacao_;
    // Above this temperature the bound would not reject a move: the most that Inviabilidades 2
    // to 5 can rise by.
    double teto_do_limite_ = 0.0;
    std::int64_t base_do_limite_ = 0;  // FO with Inviabilidades 6 to 9 at nothing
    Divisor sorteio_tipo_;
    Divisor sorteio_rodada_;
    Divisor sorteio_time_;
    Divisor sorteio_vaga_;

    std::vector<Jogo> jogos_;          // R x vagas_total_
    std::vector<int> oponente_;        // R x (n_total_ + 1)
    std::vector<int> vaga_;            // R x (n_total_ + 1)
    std::vector<int> rodada_do_par_;   // (n_total_ + 1) x (n_total_ + 1)
    std::vector<std::int32_t> sedes_;  // per team, framed by the team itself and team 0
    std::vector<Palavra> mascaras_;
    std::vector<Parcela> parcelas_;
    std::vector<int> folga_de_;        // the round each team rests in, or -1
    Totais totais_;
    std::int64_t maior_distancia_ = 0;  // the largest and smallest distance travelled
    std::int64_t menor_distancia_ = 0;

    // The pending move.
    Movimento movimento_;
    int encontro_ = -1;                  // a swap of teams: the round where they meet
    bool antecipado_ = false;            // rejected on its bound
    std::vector<Escrita> escritas_;
    std::vector<int> marca_;             // per team: the move that last changed it
    int marca_atual_ = 0;
    std::vector<int> junta_;             // per team: the move that gathered changes for it
    int junta_atual_ = 0;
    std::vector<int> num_juntas_;
    std::vector<int> junta_posicao_;     // per team: the positions and venues gathered, two each
    std::vector<int> junta_sede_;
    std::vector<int> times_juntados_;
    std::vector<int> time_na_cadeia_;    // per team: the move whose chain took it in
    std::vector<int> rodada_na_cadeia_;  // per round: the same
    std::vector<int> fila_;
    std::vector<Mudanca> mudancas_;
    int num_mudancas_ = 0;
    std::vector<std::int32_t> rascunho_sedes_;
    std::vector<Palavra> rascunho_mascaras_;
    std::vector<std::int64_t> distancia_candidata_;
    Totais totais_candidatos_;
    std::int64_t maior_candidata_ = 0;
    std::int64_t menor_candidata_ = 0;
};

}  // namespace kelm
