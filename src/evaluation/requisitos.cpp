#include "evaluation/requisitos.hpp"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace kelm {

AvaliadorRequisitos::AvaliadorRequisitos(const Requisitos* requisitos, int num_times, int num_rodadas)
    : palavras_(palavras_da_mascara(std::max(num_rodadas, 1)))
{
    const auto times = static_cast<std::size_t>(num_times) + 1;
    de_mando_.assign(times, {});
    de_par_.assign(times, {});
    casa_.assign(times * static_cast<std::size_t>(palavras_), 0);
    candidata_.assign(casa_.size(), 0);
    marca_casa_.assign(times, 0);
    if (requisitos == nullptr || !requisitos->em_vigor()) return;
    for (const Requisito& r : requisitos->itens) {
        Termo termo;
        termo.tipo = r.tipo;
        termo.times = r.times;
        termo.limite = r.limite;
        termo.mascara.assign(static_cast<std::size_t>(palavras_), 0);
        // A maximo without rounds holds in every round; rounds beyond those scored are refused
        // before a run, and left out here.
        for (int s = 0; s < num_rodadas; ++s) {
            const bool dela = r.rodadas.empty() ? r.tipo == TipoRequisito::maximo
                                                : std::binary_search(r.rodadas.begin(), r.rodadas.end(), s + 1);
            if (!dela) continue;
            termo.rodadas.push_back(s);
            poe_bit(termo.mascara.data(), s, true);
        }
        const auto n = static_cast<std::int64_t>(termo.rodadas.size());
        const bool de_mando = r.tipo == TipoRequisito::casa || r.tipo == TipoRequisito::fora || r.tipo == TipoRequisito::maximo;
        maximo_ += r.tipo == TipoRequisito::maximo ? n * (static_cast<std::int64_t>(r.times.size()) - r.limite)
                   : r.tipo == TipoRequisito::jogo || r.tipo == TipoRequisito::encontro ? 1
                                                                                         : n;
        const int indice = static_cast<int>(termos_.size());
        for (const int t : r.times) (de_mando ? de_mando_ : de_par_)[static_cast<std::size_t>(t)].push_back(indice);
        if (!de_mando) pares_.push_back(indice);
        termos_.push_back(std::move(termo));
    }
}

std::int64_t AvaliadorRequisitos::tamanho_de_mando(const Termo& termo) const
{
    std::int64_t tamanho = 0;
    const int w = palavras_;
    if (termo.tipo != TipoRequisito::maximo) {
        const Palavra* casa = casa_vista(termo.times[0]);
        for (int i = 0; i < w; ++i)
            tamanho += std::popcount(termo.mascara[static_cast<std::size_t>(i)] &
                                     (termo.tipo == TipoRequisito::casa ? ~casa[i] : casa[i]));
        return tamanho;
    }
    // The teams at home beyond the maximum, round by round: with one team more than allowed,
    // the rounds where all are at home.
    const bool todos = static_cast<int>(termo.times.size()) == termo.limite + 1;
    for (int i = 0; i < w; ++i) {
        Palavra algum = 0;
        Palavra cada = ~Palavra{0};
        for (const int t : termo.times) {
            algum |= casa_vista(t)[i];
            cada &= casa_vista(t)[i];
        }
        const Palavra rodadas = termo.mascara[static_cast<std::size_t>(i)];
        if (todos) {
            tamanho += std::popcount(rodadas & cada);
            continue;
        }
        for (Palavra bits = rodadas & algum; bits != 0; bits &= bits - 1) {
            const int b = std::countr_zero(bits);
            int em_casa = 0;
            for (const int t : termo.times) em_casa += static_cast<int>((casa_vista(t)[i] >> b) & 1U);
            tamanho += std::max(0, em_casa - termo.limite);
        }
    }
    return tamanho;
}

void AvaliadorRequisitos::novo_movimento()
{
    ++marca_;
    tocados_.clear();
    pendente_ = true;
}

void AvaliadorRequisitos::marca(const std::vector<int>& termos)
{
    for (const int i : termos) {
        Termo& termo = termos_[static_cast<std::size_t>(i)];
        if (termo.marca == marca_) continue;
        termo.marca = marca_;
        tocados_.push_back(i);
    }
}

Palavra* AvaliadorRequisitos::casa_candidata(int t)
{
    marca_casa_[static_cast<std::size_t>(t)] = marca_;
    marca(de_mando_[static_cast<std::size_t>(t)]);
    return candidata_.data() + linha(t);
}

void AvaliadorRequisitos::toca(int t) { marca(de_par_[static_cast<std::size_t>(t)]); }

void AvaliadorRequisitos::toca_rodadas(const Palavra* rodadas)
{
    for (const int i : pares_) {
        Termo& termo = termos_[static_cast<std::size_t>(i)];
        if (termo.marca == marca_) continue;
        for (int w = 0; w < palavras_; ++w) {
            if ((termo.mascara[static_cast<std::size_t>(w)] & rodadas[w]) == 0) continue;
            termo.marca = marca_;
            tocados_.push_back(i);
            break;
        }
    }
}

void AvaliadorRequisitos::confirma()
{
    if (!pendente_) return;
    pendente_ = false;
    for (const int i : tocados_) {
        Termo& termo = termos_[static_cast<std::size_t>(i)];
        termo.valor = termo.novo;
    }
    for (std::size_t t = 0; t < marca_casa_.size(); ++t)
        if (marca_casa_[t] == marca_)
            std::copy_n(candidata_.data() + t * static_cast<std::size_t>(palavras_), palavras_,
                        casa_.data() + t * static_cast<std::size_t>(palavras_));
    total_ = total_novo_;
    ++marca_;  // the candidates are the schedule now
    tocados_.clear();
}

namespace {

// How a and b meet in round s of `tabela`.
Encontro encontro_na_tabela(const Tabela& tabela, int a, int b, int s)
{
    for (int g = 0; g < tabela.colunas(); ++g) {
        const Jogo j = tabela[s][g];
        if (j.vazio() || std::min(a, b) != std::abs(j.time1) || std::max(a, b) != j.time2) continue;
        return j.mandante() == a ? Encontro::primeiro_em_casa : Encontro::segundo_em_casa;
    }
    return Encontro::nenhum;
}

// Whether team t plays at home in round s of `tabela`.
bool em_casa_na_tabela(const Tabela& tabela, int t, int s)
{
    for (int g = 0; g < tabela.colunas(); ++g)
        if (const Jogo j = tabela[s][g]; !j.vazio() && j.mandante() == t) return true;
    return false;
}

// Requirement r in `tabela`, plainly: its size, and the rounds where it breaks (for a game or
// a meeting that never happens, the rounds it asked for).
Violacao confere(const Requisito& r, const Tabela& tabela)
{
    Violacao v;
    v.requisito = &r;
    bool aconteceu = false;  // a game or meeting asked for happened in one of its rounds
    for (int s = 0; s < tabela.linhas(); ++s) {
        if (!r.rodadas.empty() ? !std::binary_search(r.rodadas.begin(), r.rodadas.end(), s + 1)
                               : r.tipo != TipoRequisito::maximo)
            continue;
        std::int64_t tamanho = 0;
        switch (r.tipo) {
        case TipoRequisito::casa: tamanho = em_casa_na_tabela(tabela, r.times[0], s) ? 0 : 1; break;
        case TipoRequisito::fora: tamanho = em_casa_na_tabela(tabela, r.times[0], s) ? 1 : 0; break;
        case TipoRequisito::maximo: {
            const auto em_casa = std::count_if(r.times.begin(), r.times.end(),
                                               [&](int t) { return em_casa_na_tabela(tabela, t, s); });
            tamanho = std::max<std::int64_t>(0, em_casa - r.limite);
            break;
        }
        case TipoRequisito::jogo:
            aconteceu = aconteceu || encontro_na_tabela(tabela, r.times[0], r.times[1], s) == Encontro::primeiro_em_casa;
            v.rodadas.push_back(s);
            break;
        case TipoRequisito::encontro:
            aconteceu = aconteceu || encontro_na_tabela(tabela, r.times[0], r.times[1], s) != Encontro::nenhum;
            v.rodadas.push_back(s);
            break;
        case TipoRequisito::sem_encontro:
        case TipoRequisito::fim_de_semana:
            tamanho = encontro_na_tabela(tabela, r.times[0], r.times[1], s) != Encontro::nenhum ? 1 : 0;
            break;
        }
        if (tamanho > 0) v.rodadas.push_back(s);
        v.tamanho += tamanho;
    }
    if (r.tipo == TipoRequisito::jogo || r.tipo == TipoRequisito::encontro) v.tamanho = aconteceu ? 0 : 1;
    return v;
}

}  // namespace

std::int64_t conta_requisitos(const Requisitos& requisitos, int /*num_times*/, const Tabela& tabela,
                              std::vector<Violacao>* violacoes)
{
    std::int64_t total = 0;
    if (violacoes != nullptr) violacoes->clear();
    for (const Requisito& r : requisitos.itens) {
        Violacao v = confere(r, tabela);
        total += v.tamanho;
        if (violacoes != nullptr && v.tamanho > 0) violacoes->push_back(std::move(v));
    }
    return total;
}

}  // namespace kelm
