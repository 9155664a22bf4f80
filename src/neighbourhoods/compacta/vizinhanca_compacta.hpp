#pragma once

#include <cstdint>
#include <vector>

#include "evaluation/requisitos.hpp"
#include "evaluation/sequencia.hpp"
#include "model/estado.hpp"
#include "model/temporada.hpp"
#include "neighbourhoods/compacta/rodizio_compacto.hpp"

namespace kelm {

// The neighbourhood of the compact search, scored incrementally: the moves of a compact round
// robin (RodizioCompacto), each worked out before anything is written. A move is read through
// to find which teams it reaches and in which rounds, and their new venues; each such team's
// share is worked out from the legs around at most two changed venues, or from its whole new
// sequence. The games are written only when the move is kept; a rejected move leaves nothing
// to undo. The counts and FO are those of avalia_tabela, bit for bit.
//
// With a returno each team's sequence is its whole season: the turno, then the returno in
// its rounds' order, every game with the venues swapped. A change of a turno venue changes its
// mirror in the returno too; a team at home against a new opponent keeps its turno venue and
// changes its returno one.
class VizinhancaCompacta {
public:
    using Movimento = MovimentoCompacto;

    // Reads the compact schedule `tabela` (see RodizioCompacto) and the criteria, fixed for one
    // phase.
    // In a re-plan, `partida` holds the games of the schedule it started from, each a jogo of
    // its round (their count not met is Inviabilidade 11), and `congeladas` the turno rounds no
    // move may change: a move that would is rejected whatever the draw.
    VizinhancaCompacta(const Campeonato& campeonato, const Criterios& criterios, Tabela& tabela,
                       Matriz<Controle>& controle, Returno returno = Returno::nenhum,
                       const Requisitos* requisitos = nullptr, const Requisitos* partida = nullptr,
                       const std::vector<bool>* congeladas = nullptr);

    // FO of the schedule.
    double avalia() const { return ponderacao_.fo(totais_); }
    Movimento sorteia(Gerador& gerador) const { return rodizio_.sorteia(gerador); }
    // Works the move out and returns the neighbour's FO; or, when a lower bound of the
    // neighbour's FO already worsens `fo_atual` by `temperatura` or more, so that the move is
    // rejected whatever the draw, that bound.
    double aplica(const Movimento& m, double fo_atual, double temperatura);
    // Keeps the move last applied: writes it.
    void confirma();
    // Drops the move last applied: nothing was written.
    void desfaz(const Movimento&) { num_mudancas_ = 0; }

    // The counts of the schedule as it stands (the last move kept).
    Contagens contagens() const { return totais_.contagens(); }
    // The counts of the neighbour last worked out.
    Contagens contagens_candidatas() const { return totais_candidatos_.contagens(); }

private:
    // How the pending move changes a team's sequence: at most two venues, or all of it (then
    // the new venues stand in the team's row of rascunho_).
    struct Mudanca {
        int time = 0;
        bool inteira = false;
        int num_posicoes = 0;
        int posicoes[4] = {};
        int sedes[4] = {};
        bool mesma_mascara = false;  // the same home games: only the distance changes
        Parcela valores;
    };

    // The place of round r in a team's own sequence of games, given the round it rests in.
    static int posicao(int r, int folga) { return folga >= 0 && r > folga ? r - 1 : r; }
    int lugar(int t, int r) const { return posicao(r, rodizio_.folga_de(t)); }
    // The place in the team's season of the returno game of its turno place k, given the
    // round it rests in; and the place in the turno whose game comes back at place j of the
    // returno.
    int espelho(int k, int folga) const { return jogos_ + lugar_no_returno(k, jogos_, returno_, na_primeira(folga)); }
    int lugar_do_turno(int j, int folga) const { return lugar_no_turno(j, jogos_, returno_, na_primeira(folga)); }
    // A team's games in the first round: none when it rests there.
    static int na_primeira(int folga) { return folga == 0 ? 0 : 1; }
    // The round of the team's turno place k, given the round it rests in.
    static int rodada_do_lugar(int k, int folga) { return folga >= 0 && k >= folga ? k + 1 : k; }
    bool temporada() const { return returno_ != Returno::nenhum; }

    void le_sequencias();
    void fecha_contagens();

    // A lower bound of the pending move's objective, cheaper than the move itself: how the
    // teams' home games and first and last two games change, read through the move.
    std::int64_t limite_inferior() const;
    void atualiza_base_do_limite();
    void inicio_fim_depois(int t, std::int64_t& inicio, std::int64_t& fim) const;
    struct Pontas {
        std::int64_t inicio;
        std::int64_t fim;
        std::int64_t mandos;
        std::int64_t mesmo_estado;
    };
    void limite_de_rodadas(Pontas& pontas) const;
    void limite_de_times(Pontas& pontas) const;
    void refaz_pontas(int t, Pontas& pontas) const;

    // The changes of each kind of move to the teams it reaches.
    void muda_mando(const Movimento& m);
    void muda_rodadas(const Movimento& m);
    void muda_times(const Movimento& m);
    void muda_times_parcial(const Movimento& m);
    // In a swap of teams, team t takes u's venues in the rounds of the swap; its venues of two
    // rounds exchanged (when it rests in one of them, its whole sequence shifts); or at most
    // two of its venues, at positions p0 and p1.
    void muda_como(int t, int u);
    void muda_com_rodadas_trocadas(int t, int r1, int r2);
    void muda_sedes(int t, int num, int p0, int s0, int p1, int s1);
    // Team t's venues at p1 < q1 change places, and then (when p2 >= 0) those at p2 < q2.
    void troca_sedes(int t, int p1, int q1, int p2, int q2);
    // A team's whole returno, mirrored from its new turno in s[0 .. N-2], resting in `folga`:
    // written after it in s and m, its legs added to `distancia`.
    void espelha_inteira(int t, int folga, std::int32_t* s, Palavra* m, std::int64_t& distancia);
    // Team t's whole new sequence, resting in `folga`, from its venue in each round.
    template <class SedeNaRodada>
    void muda_inteira(int t, int folga, SedeNaRodada sede_na_rodada);
    void troca_duas_rodadas(int t, int r1, int r2);
    void registra(Mudanca& mudanca);
    void fecha_extremos();
    int mesmo_estado_na_ultima(bool depois) const;
    void fim_da_temporada_depois(int t, std::int64_t& fim, bool h0, bool h1) const;

    // The planner's requirements: a team's home rounds from its sequence's home games, resting
    // in `folga`; how two teams meet in round s (of those scored), now or under the pending
    // move; the rounds where move m may change meetings; the count under the pending move m.
    void casa_por_rodada(const Palavra* posicoes, int folga, Palavra* rodadas) const;
    Encontro encontro(int a, int b, int s, bool depois) const;
    const Palavra* rodadas_do_movimento(const Movimento& m);
    // The count `i` of requirements `avaliador` under the pending move m, whose rounds are in
    // `rodadas`.
    void conta_requisitos_candidatos(AvaliadorRequisitos& avaliador, Inviabilidade i, const Palavra* rodadas);
    // Whether the pending move changes a game of a frozen round.
    bool toca_congelada() const;

    RodizioCompacto rodizio_;
    int num_times_;
    int num_rodadas_;
    int jogos_;  // games per team in the turno: N - 1
    Returno returno_;
    int jogos_contados_;  // the games of a team's sequence: N - 1, or 2(N - 1) over a season
    int rodada_final_;    // the turno round whose pairs meet in the last round of what is scored
    Distancias d_;
    AvaliadorRequisitos requisitos_;
    AvaliadorRequisitos partida_;
    const std::vector<bool>* congeladas_;
    std::vector<Palavra> rodadas_do_turno_;  // per turno round: it and its returno round, as a mask
    std::vector<Palavra> rodadas_mudadas_;   // the pending move's rounds, as a mask
    Ponderacao ponderacao_;
    // Above this temperature the bound would not reject a move: the most that Inviabilidades 2
    // to 5 can rise by.
    double teto_do_limite_ = 0.0;
    std::int64_t base_do_limite_ = 0;  // FO with Inviabilidades 6 to 9 at nothing

    Sequencias sequencias_;
    std::vector<Parcela> parcelas_;
    Totais totais_;
    Extremos extremos_;  // the largest and smallest distance travelled

    // The pending move.
    bool antecipado_ = false;            // rejected on its bound
    int marca_atual_ = 0;                // numbers the pending move
    std::vector<int> marca_;             // per team: the move that last changed it
    std::vector<int> junta_;             // per team: the move that gathered changes for it
    std::vector<int> num_juntas_;
    std::vector<int> junta_posicao_;     // per team: the positions and venues gathered, two each
    std::vector<int> junta_sede_;
    std::vector<int> times_juntados_;
    std::vector<Mudanca> mudancas_;
    int num_mudancas_ = 0;
    Sequencias rascunho_;                // the whole new sequences
    std::vector<std::int64_t> distancia_candidata_;
    Totais totais_candidatos_;
    Extremos extremos_candidatos_;
};

}  // namespace kelm
