#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

// A compact round robin and the moves that keep it one. It reads the run's schedule, which
// must be a compact round robin (as gera_tabela_compacta draws it), into records of every
// round (each team's opponent and slot, the round of every pair, the round each team rests
// in) and writes every move it keeps into the schedule, its control matrix and the records
// together. An odd N is kept as N+1 teams, the extra one standing for the rest, whose game
// sits in a slot past the last one of the schedule.
//
// A partial swap of two rounds exchanges, between them, the games of the teams that a chain
// of their games links to a drawn team, so that both rounds stay complete; a partial swap of
// two teams exchanges them in a drawn round, then in the round where one of them now meets a
// team for the second time, and so on until the chain closes.
//
// A move is first prepared (its chain found), then read through (who meets whom, and where,
// once it is made) and only then written, or dropped: a dropped move leaves nothing to undo.
class RodizioCompacto {
public:
    using Movimento = MovimentoCompacto;

    // Throws std::logic_error when the schedule is not a compact round robin whose games are
    // written with the lower-numbered team in time1, as the generators write them.
    RodizioCompacto(const Campeonato& campeonato, Tabela& tabela, Matriz<Controle>& controle);

    // Draws a move: its kind, then its rounds, teams and slot.
    Movimento sorteia(Gerador& gerador) const;

    // Makes `m` the pending move: finds its chain.
    void prepara(const Movimento& m);
    // Writes the pending move; apaga() puts back what the last escreve() wrote.
    void escreve();
    void apaga();
    // The pending move prepared and written at once, and undone: the moves as the reference
    // scoring writes them.
    void escreve(const Movimento& m)
    {
        prepara(m);
        escreve();
    }
    void apaga(const Movimento&) { apaga(); }

    int num_times() const { return num_times_; }
    int num_rodadas() const { return num_rodadas_; }
    // The team that stands for the rest when N is odd, else 0.
    int folga() const { return folga_; }

    const int* oponente(int r) const { return oponente_.data() + linha(r); }
    int vaga(int r, int t) const { return vaga_[linha(r) + static_cast<std::size_t>(t)]; }
    const Jogo& jogo(int r, int g) const { return jogos_[static_cast<std::size_t>(r) * vagas_total_ + g]; }
    int rodada_do_par(int a, int b) const { return rodada_do_par_[par(a, b)]; }
    // The round team t rests in, or -1.
    int folga_de(int t) const { return folga_de_[static_cast<std::size_t>(t)]; }
    // The venue of team t in round r, where it plays.
    int sede_na_rodada(int t, int r) const { return jogo(r, vaga(r, t)).mandante(); }
    // Whether team t plays at home in round r (not when it rests).
    bool em_casa(int t, int r) const { return oponente(r)[t] != folga_ && sede_na_rodada(t, r) == t; }

    // The pending move, and what it reaches.
    const Movimento& movimento() const { return movimento_; }
    // A swap of teams: the round where they meet.
    int encontro() const { return encontro_; }
    // The chain of the pending partial swap: the teams of a partial round swap, the rounds
    // of a partial team swap.
    const std::vector<int>& cadeia() const { return fila_; }
    bool time_na_cadeia(int t) const { return time_na_cadeia_[static_cast<std::size_t>(t)] == marca_atual_; }
    // Whether round r is one where the pending swap of teams exchanges them.
    bool rodada_da_troca(int r) const;

    // Read through the pending move, not yet written: team t's opponent in round r; whether it
    // plays at home there; the round it rests in.
    int oponente_novo(int t, int r) const;
    bool em_casa_depois(int t, int r) const;
    int folga_depois(int t) const;

private:
    struct Escrita {
        int rodada;
        int vaga;
        Jogo antigo;
        Jogo novo;
    };

    std::size_t linha(int r) const { return static_cast<std::size_t>(r) * static_cast<std::size_t>(num_times_total_ + 1); }
    std::size_t par(int a, int b) const
    {
        return static_cast<std::size_t>(a) * static_cast<std::size_t>(num_times_total_ + 1) + static_cast<std::size_t>(b);
    }

    void registra(int r, int g, const Jogo& j);
    void marca_cadeia_de_times(int r1, int r2, int t);
    void marca_cadeia_de_rodadas(int t1, int t2, int r0);
    void anota(int r, int g, const Jogo& novo) { escritas_.push_back({r, g, jogo(r, g), novo}); }
    void troca_no_jogo(int r, int time, int por);
    void anota_movimento();
    void executa_escritas(bool desfazendo);

    Tabela& tabela_;
    Matriz<Controle>& controle_;
    int num_times_;
    int num_times_total_;  // the teams, and the one that stands for the rest when N is odd
    int folga_;            // that team, or 0
    int num_rodadas_;
    int vagas_;            // slots of the schedule: N/2
    int vagas_total_;      // slots of a round, the rest's included
    Divisor sorteio_tipo_;
    Divisor sorteio_rodada_;
    Divisor sorteio_time_;
    Divisor sorteio_vaga_;

    std::vector<Jogo> jogos_;          // R x vagas_total_
    std::vector<int> oponente_;        // R x (num_times_total_ + 1)
    std::vector<int> vaga_;            // R x (num_times_total_ + 1)
    std::vector<int> rodada_do_par_;   // (num_times_total_ + 1) x (num_times_total_ + 1)
    std::vector<int> folga_de_;        // per team

    // The pending move.
    Movimento movimento_;
    int encontro_ = -1;
    int marca_atual_ = 0;                // numbers the pending move
    std::vector<int> time_na_cadeia_;    // per team: the move whose chain took it in
    std::vector<int> rodada_na_cadeia_;  // per round: the same
    std::vector<int> fila_;
    std::vector<Escrita> escritas_;
};

}  // namespace kelm
