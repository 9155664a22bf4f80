#pragma once

#include <concepts>

#include <optional>

#include "evaluation/avaliacao.hpp"
#include "evaluation/temporada.hpp"

namespace kelm {

// A neighbourhood's moves written straight into the run's schedule and control matrix: what
// the reference scoring needs of a neighbourhood to score its moves.
template <class M>
concept MovimentosEscritos = requires(M& movimentos, Gerador& gerador, const typename M::Movimento& m) {
    typename M::Movimento;
    { movimentos.sorteia(gerador) } -> std::same_as<typename M::Movimento>;
    // Writes the move into the schedule; apaga(m) puts back what escreve(m) wrote.
    movimentos.escreve(m);
    movimentos.apaga(m);
};

// Any neighbourhood scored by the reference: every move is written, then the whole schedule is
// scored with avalia_tabela (over the whole season when there is a returno); a rejected move
// is erased. Slow, and the yardstick every incremental scoring is held to: both give the
// same counts and FO, bit for bit.
template <MovimentosEscritos M>
class AvaliadaPelaReferencia {
public:
    using Movimento = typename M::Movimento;

    AvaliadaPelaReferencia(M& movimentos, const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                           Returno returno = Returno::nenhum, const Requisitos* requisitos = nullptr)
        : movimentos_(movimentos), campeonato_(campeonato), criterios_(criterios), execucao_(execucao)
    {
        if (returno != Returno::nenhum || (requisitos != nullptr && requisitos->em_vigor()))
            temporada_.emplace(campeonato, returno, requisitos);
    }

    double avalia()
    {
        const double fo = pontua();
        atuais_ = candidatas_;
        return fo;
    }
    Movimento sorteia(Gerador& gerador) { return movimentos_.sorteia(gerador); }
    // The reference always works the neighbour out, whatever it is tried against.
    double aplica(const Movimento& m, double /*fo_atual*/, double /*temperatura*/)
    {
        movimentos_.escreve(m);
        return pontua();
    }
    void confirma() { atuais_ = candidatas_; }
    void desfaz(const Movimento& m) { movimentos_.apaga(m); }
    Contagens contagens() const { return atuais_; }
    // The counts of the neighbour last applied.
    Contagens contagens_candidatas() const { return candidatas_; }

private:
    double pontua()
    {
        if (temporada_) {
            const double fo = temporada_->avalia(criterios_, execucao_.tabela_atual);
            candidatas_ = temporada_->contagens();
            return fo;
        }
        const double fo = avalia_tabela(campeonato_, criterios_, execucao_, execucao_.tabela_atual);
        candidatas_ = execucao_.inviabilidades;
        return fo;
    }

    M& movimentos_;
    const Campeonato& campeonato_;
    const Criterios& criterios_;
    Execucao& execucao_;
    std::optional<ReferenciaDaTemporada> temporada_;
    Contagens atuais_;
    Contagens candidatas_;
};

}  // namespace kelm
