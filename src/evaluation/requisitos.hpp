#pragma once

#include <cstdint>
#include <vector>

#include "evaluation/sequencia.hpp"
#include "model/estado.hpp"
#include "model/requisitos.hpp"

namespace kelm {

// How two teams meet in a round: not at all, the first at home, or the second.
enum class Encontro { nenhum, primeiro_em_casa, segundo_em_casa };

// Inviabilidade 10: the sizes of the planner's requirements not met, added up. A team that
// must play at home counts every round of the requirement it does not (resting included); one
// that must not, every round it does; a group, in every round, the teams at home beyond its
// maximum; a fixed game or meeting that happens in none of its rounds, 1; a pair that must not
// meet, every round of the requirement in which it does. Rounds are those scored: the turno's,
// or the whole season's.
//
// It keeps every team's home rounds as a bit mask and every requirement's size, so that a move
// is scored by working out again only the requirements of the teams it reaches: the
// neighbourhood says which teams' home rounds change (and to what) and which teams' opponents
// may change (or in which rounds meetings may), and answers who meets whom under the move.
class AvaliadorRequisitos {
public:
    AvaliadorRequisitos() = default;
    // `num_rodadas`: the rounds scored (R, or 2R over a season). No requirements (null, or
    // none in force) count nothing.
    AvaliadorRequisitos(const Requisitos* requisitos, int num_times, int num_rodadas);

    bool vazio() const { return termos_.empty(); }
    // The most the count can reach, for the objective's exactness.
    std::int64_t maximo() const { return maximo_; }
    std::int64_t total() const { return total_; }
    int palavras() const { return palavras_; }

    // Team t's home rounds (bit s: at home in round s, from 0), written by the caller before
    // inicia().
    Palavra* casa(int t) { return casa_.data() + linha(t); }
    // The sizes of every requirement, with `encontro(a, b, s)` telling how a and b meet in s.
    template <class Enc>
    void inicia(Enc encontro);

    // A new pending move: nothing reached yet.
    void novo_movimento();
    // No pending move: the neighbourhood's next move is not counted here (it was settled
    // without its requirements, or rejected).
    void descarta() { pendente_ = false; }
    // Team t's home rounds under the pending move, to be written by the caller.
    Palavra* casa_candidata(int t);
    // Team t's opponents may change under the pending move.
    void toca(int t);
    // The meetings may change in the rounds of `rodadas` (a mask of the rounds scored), and in
    // no other round, under the pending move: for every team at once.
    void toca_rodadas(const Palavra* rodadas);
    // The count under the pending move, `encontro` answering through the move.
    template <class Enc>
    std::int64_t total_candidato(Enc encontro);
    // Keeps the pending move, when there is one.
    void confirma();

private:
    struct Termo {
        TipoRequisito tipo = TipoRequisito::casa;
        std::vector<int> times;
        int limite = 0;
        std::vector<Palavra> mascara;  // its rounds
        std::vector<int> rodadas;      // the same, from 0
        std::int64_t valor = 0;
        std::int64_t novo = 0;
        int marca = 0;
    };

    std::size_t linha(int t) const { return static_cast<std::size_t>(t) * static_cast<std::size_t>(palavras_); }
    const Palavra* casa_vista(int t) const
    {
        return (marca_casa_[static_cast<std::size_t>(t)] == marca_ ? candidata_.data() : casa_.data()) + linha(t);
    }
    void marca(const std::vector<int>& termos);
    std::int64_t tamanho_de_mando(const Termo& termo) const;
    template <class Enc>
    std::int64_t tamanho(const Termo& termo, Enc& encontro) const;

    int palavras_ = 0;
    std::vector<Termo> termos_;
    std::vector<std::vector<int>> de_mando_;  // per team: the requirements its home rounds decide
    std::vector<std::vector<int>> de_par_;    // per team: the requirements of its meetings
    std::vector<int> pares_;                  // the requirements of meetings
    std::vector<Palavra> casa_;
    std::vector<Palavra> candidata_;
    std::vector<int> marca_casa_;
    std::vector<int> tocados_;
    int marca_ = 0;
    bool pendente_ = false;
    std::int64_t total_ = 0;
    std::int64_t total_novo_ = 0;
    std::int64_t maximo_ = 0;
};

// One requirement not met, in the planner's terms.
struct Violacao {
    const Requisito* requisito = nullptr;
    std::int64_t tamanho = 0;
    std::vector<int> rodadas;  // the rounds where it is broken (from 0), or those it asked for
};

// Inviabilidade 10 of a schedule of `tabela.linhas()` rounds (the turno, or a whole season),
// from scratch and plainly, requirement by requirement and round by round: the reference every
// incremental count is held to. With `violacoes`, also each requirement not met.
std::int64_t conta_requisitos(const Requisitos& requisitos, int num_times, const Tabela& tabela,
                              std::vector<Violacao>* violacoes = nullptr);

// ---- Templates ----------------------------------------------------------------------------

template <class Enc>
std::int64_t AvaliadorRequisitos::tamanho(const Termo& termo, Enc& encontro) const
{
    switch (termo.tipo) {
    case TipoRequisito::casa:
    case TipoRequisito::fora:
    case TipoRequisito::maximo: return tamanho_de_mando(termo);
    case TipoRequisito::jogo:
        for (const int s : termo.rodadas)
            if (encontro(termo.times[0], termo.times[1], s) == Encontro::primeiro_em_casa) return 0;
        return 1;
    case TipoRequisito::encontro:
        for (const int s : termo.rodadas)
            if (encontro(termo.times[0], termo.times[1], s) != Encontro::nenhum) return 0;
        return 1;
    case TipoRequisito::sem_encontro:
    case TipoRequisito::fim_de_semana: {
        std::int64_t vezes = 0;
        for (const int s : termo.rodadas) vezes += encontro(termo.times[0], termo.times[1], s) != Encontro::nenhum ? 1 : 0;
        return vezes;
    }
    }
    return 0;
}

template <class Enc>
void AvaliadorRequisitos::inicia(Enc encontro)
{
    ++marca_;  // no candidate in view
    total_ = 0;
    for (Termo& termo : termos_) {
        termo.valor = tamanho(termo, encontro);
        total_ += termo.valor;
    }
}

template <class Enc>
std::int64_t AvaliadorRequisitos::total_candidato(Enc encontro)
{
    total_novo_ = total_;
    for (const int i : tocados_) {
        Termo& termo = termos_[static_cast<std::size_t>(i)];
        termo.novo = tamanho(termo, encontro);
        total_novo_ += termo.novo - termo.valor;
    }
    return total_novo_;
}

}  // namespace kelm
