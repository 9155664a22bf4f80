#pragma once

#include <concepts>

#include <limits>
#include <optional>
#include <vector>

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

    // In a re-plan, `partida` holds the games of the schedule it started from and `congeladas`
    // the turno rounds no move may change: a move that changes one is rejected whatever the draw.
    AvaliadaPelaReferencia(M& movimentos, const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                           Returno returno = Returno::nenhum, const Requisitos* requisitos = nullptr,
                           const Requisitos* partida = nullptr, const std::vector<bool>* congeladas = nullptr)
        : movimentos_(movimentos), campeonato_(campeonato), criterios_(criterios), execucao_(execucao)
    {
        const auto em_vigor = [](const Requisitos* r) { return r != nullptr && r->em_vigor(); };
        if (returno != Returno::nenhum || em_vigor(requisitos) || em_vigor(partida))
            temporada_.emplace(campeonato, returno, requisitos, partida);
        if (congeladas != nullptr)
            for (std::size_t r = 0; r < congeladas->size(); ++r)
                if ((*congeladas)[r]) congeladas_.push_back(static_cast<int>(r));
        congeladas_antes_ = execucao.tabela_atual;
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
        for (const int r : congeladas_)
            for (int g = 0; g < execucao_.tabela_atual.colunas(); ++g)
                if (!(execucao_.tabela_atual[r][g] == congeladas_antes_[r][g])) return std::numeric_limits<double>::infinity();
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
    std::vector<int> congeladas_;  // the frozen rounds, which no kept move changes
    Tabela congeladas_antes_;
    Contagens atuais_;
    Contagens candidatas_;
};

}  // namespace kelm
