#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "evaluation/requisitos.hpp"
#include "evaluation/sequencia.hpp"
#include "model/estado.hpp"
#include "neighbourhoods/padrao/movimentos.hpp"

namespace kelm {

// The neighbourhood of the padrao search: it starts from the prepared copy of
// tabela_inicial and tries game swaps and home swaps in the first phase, home swaps alone in
// the second. It scores a trial move by updating only what the move changes, with exactly the
// counts and the FO (the same doubles, bit for bit) that avalia_tabela gives for the same
// schedule.
//
// It keeps, for every team, its games in schedule order (the key r * N/2 + g of each game
// and its venue), a bit mask of its home games, and the team's share of each count. A home
// swap changes one venue in the sequences of the game's two teams; a game swap moves one
// entry in the sequences of the teams of the two games. The team's distance changes only
// in the legs around the changed places; its runs of three home or away games are counted
// on the mask with a few word operations (a run of L adds L - 2: one for every game that is
// the third or later of its run); the first and last two games are single bits.
//
// aplica() applies the move to the schedule and its control matrix (as troca_jogos and
// troca_mando do) and works out the neighbour's counts aside; confirma() keeps it, and
// desfaz() applies the move again, so that the schedule, the control matrix and the kept
// counts are back as they were. Nothing is allocated after construction.
//
// With a returno, the schedule is the turno and the counts are the whole season's: each
// changed team's season is laid out again from its new turno (its games, then the same games
// in the returno's order with the venues swapped), and its share taken over 2(N-1) games.
class VizinhancaPadrao {
public:
    using Movimento = kelm::Movimento;

    // Builds the per-team sequences from `tabela` (each team with N-1 games) and reads the
    // objective flags and weights, which stay fixed for the neighbourhood's life (one phase).
    // In a re-plan, `partida` holds the games of the schedule it started from, each a jogo of
    // its round (their count not met is Inviabilidade 11), and `congeladas` the turno rounds no
    // move may change: a move that would is rejected whatever the draw.
    VizinhancaPadrao(const Campeonato& campeonato, const Criterios& criterios, Tabela& tabela,
                     Matriz<Controle>& controle, Fase fase, Returno returno = Returno::nenhum,
                     const Requisitos* requisitos = nullptr, const Requisitos* partida = nullptr,
                     const std::vector<bool>* congeladas = nullptr);

    // FO of the schedule.
    double avalia() { return ponderacao_.fo(totais_); }
    Movimento sorteia(Gerador& gerador) const { return movimentos_.sorteia(gerador); }

    // Applies the move and returns the neighbour's FO; or, when a cheap lower bound already
    // worsens `fo_atual` by `temperatura` or more, so that the move is rejected whatever the
    // draw, that bound, without working the neighbour out. Such a move can only be undone.
    double aplica(const Movimento& m, double fo_atual, double temperatura);
    void confirma();
    void desfaz(const Movimento& m);

    // The counts of the schedule as it stands (the last move kept).
    Contagens contagens() const { return totais_.contagens(); }
    // The counts of the neighbour last applied.
    Contagens contagens_candidatas() const { return totais_candidatos_.contagens(); }

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

    // Applies `mud` to a team's keys, venues and opponents (its turno entries).
    static void aplica_mudanca(const Mudanca& mud, std::int32_t* c, std::int32_t* s, std::int32_t* o);

    std::int32_t* chaves(int t) { return chaves_.data() + static_cast<std::size_t>(t) * static_cast<std::size_t>(jogos_); }
    std::int32_t* oponentes(int t) { return oponentes_.data() + static_cast<std::size_t>(t) * static_cast<std::size_t>(jogos_); }
    Palavra* rascunho(int i) { return rascunhos_.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(sequencias_.palavras()); }

    void le_tabela();
    int posicao(int t, int chave);
    bool mudou(int t) const;
    // Whether a lower bound of the neighbour's FO already worsens the objective by the
    // temperature or more; if so the pending move is marked as rejected on its bound.
    bool recusa_pelo_limite(std::int64_t limite, double fo_atual, double temperatura);
    // The bound of a game swap between games a and b, the counts 1 and 5 of the neighbour known.
    std::int64_t limite_troca_jogos(const int (&times)[4]) const;
    void reordena(int t);
    void fecha_totais(Totais& totais);
    int mesmo_estado(const Jogo& jogo) const;

    // The two kinds of move; each returns the objective when it is settled before the teams
    // are looked at, and nothing when the changes of the teams wait in mudancas_.
    std::optional<double> aplica_troca_jogos(const Movimento& m, double fo_atual, double temperatura);
    std::optional<double> aplica_troca_mando(const Movimento& m, double fo_atual, double temperatura);
    void prepara_move(int t, int chave_antiga, int chave_nova, int sede, Mudanca& mudanca, int rascunho_idx);
    void prepara_troca(int t, int chave_a, int chave_b, int sede_a, int sede_b, Mudanca& mudanca, int rascunho_idx);
    void prepara_vira(int t, int chave, int sede_nova, Mudanca& mudanca, int rascunho_idx);
    void mantem(const Mudanca& mudanca, int rascunho_idx);

    // The season: a team's share over its turno (keys, venues, opponents in order) and its
    // returno; and the share of a team under a pending change.
    Parcela parcela_da_temporada(int t, const std::int32_t* chaves, const std::int32_t* sedes,
                                 const std::int32_t* oponentes);
    Parcela parcela_candidata_da_temporada(const Mudanca& mudanca, int idx);

    // The planner's requirements, read from the schedule as it stands (the pending move
    // applied): a team's home rounds over the rounds scored, and how two teams meet in one.
    void casa_por_rodada(int t, Palavra* rodadas) const;
    Encontro encontro(int a, int b, int s) const;
    // The count `i` of requirements `avaliador` under the pending move.
    void conta_requisitos_candidatos(AvaliadorRequisitos& avaliador, Inviabilidade i);
    // Whether the move changes a game of a frozen round.
    bool toca_congelada(const Movimento& m) const;

    MovimentosPadrao movimentos_;
    Tabela& tabela_;
    Matriz<Controle>& controle_;
    int num_times_;
    int jogos_;          // games per team: N - 1
    int vagas_;          // slots per round
    Distancias d_;
    AvaliadorRequisitos requisitos_;
    AvaliadorRequisitos partida_;
    const std::vector<bool>* congeladas_;
    Ponderacao ponderacao_;
    Sequencias sequencias_;   // the turno
    Returno returno_;
    int jogos_contados_;      // the games of a team the counts take: N-1, or 2(N-1) over a season
    int rodada_final_;        // the turno round whose pairs meet in the last round of what is scored
    int peso_extras_;         // how often an extra game of the turno counts: once, or twice in a season

    std::vector<std::int32_t> chaves_;      // per team, the key of each of its games in order
    std::vector<std::int32_t> oponentes_;   // per team, the opponent of each of its games in order
    // The season: the new turno entries of up to four teams, and a team's season as a mask.
    std::vector<std::int32_t> candidatas_;
    std::vector<Palavra> mascara_temporada_;
    std::vector<Palavra> rascunhos_;        // candidate masks of up to four teams
    std::vector<Parcela> valores_;          // each team's share of the counts
    // The teams in increasing order of distance travelled, and each team's place in it, so
    // that the largest and smallest distances of the teams a move leaves alone are found
    // in a few steps from either end.
    std::vector<int> ordem_;
    std::vector<int> lugar_;
    Totais totais_;

    // The pending move.
    Totais totais_candidatos_;
    std::array<Mudanca, 4> mudancas_;
    int num_mudancas_ = 0;
    bool pendente_ = false;
    bool antecipado_ = false;    // the pending move was rejected on its bound
};

}  // namespace kelm
