#include "neighbourhoods/compacta/rodizio_compacto.hpp"

#include <cstdlib>
#include <stdexcept>

namespace kelm {

namespace {

// How often each kind of move is drawn, out of their sum: home swaps, round swaps, team swaps,
// partial round swaps, partial team swaps. A home swap costs a tenth of the others, which
// touch every team or most of them.
constexpr int chances[5] = {16, 1, 1, 1, 1};

}  // namespace

RodizioCompacto::RodizioCompacto(const Campeonato& campeonato, Tabela& tabela, Matriz<Controle>& controle)
    : tabela_(tabela),
      controle_(controle),
      num_times_(campeonato.num_times),
      num_times_total_(num_times_ % 2 == 0 ? num_times_ : num_times_ + 1),
      folga_(num_times_ % 2 == 0 ? 0 : num_times_ + 1),
      num_rodadas_(campeonato.num_rodadas),
      vagas_(campeonato.jogos_por_rodada()),
      vagas_total_(num_times_total_ / 2),
      sorteio_tipo_(static_cast<std::uint32_t>(chances[0] + chances[1] + chances[2] + chances[3] + chances[4])),
      sorteio_rodada_(static_cast<std::uint32_t>(num_rodadas_)),
      sorteio_time_(static_cast<std::uint32_t>(num_times_)),
      sorteio_vaga_(static_cast<std::uint32_t>(vagas_))
{
    if (num_times_ < 3 || num_rodadas_ != rodadas_preenchidas(num_times_))
        throw std::logic_error("o campeonato não tem as rodadas de uma tabela compacta");
    const auto times = static_cast<std::size_t>(num_times_total_) + 1;
    const auto rodadas = static_cast<std::size_t>(num_rodadas_);
    jogos_.assign(rodadas * static_cast<std::size_t>(vagas_total_), Jogo{});
    oponente_.assign(rodadas * times, 0);
    vaga_.assign(rodadas * times, 0);
    rodada_do_par_.assign(times * times, -1);
    folga_de_.assign(times, -1);
    time_na_cadeia_.assign(times, 0);
    rodada_na_cadeia_.assign(rodadas, 0);
    escritas_.reserve(4 * rodadas * static_cast<std::size_t>(vagas_total_));
    fila_.reserve(times);

    // The games of every round into the records, each round checked to be complete and each
    // pair to meet once; with an odd N, the team left out meets the one of the rest.
    for (int r = 0; r < num_rodadas_; ++r) {
        for (int g = 0; g < vagas_; ++g) registra(r, g, tabela[r][g]);
        if (folga_ != 0) {
            int fora = 1;
            while (fora <= num_times_ && oponente(r)[fora] != 0) ++fora;
            registra(r, vagas_, jogo_entre(fora, folga_));
        }
    }
}

void RodizioCompacto::registra(int r, int g, const Jogo& j)
{
    const int a = std::abs(j.time1);
    const int b = j.time2;
    if (j.vazio() || a < 1 || b <= a || b > num_times_total_ || oponente(r)[a] != 0 || oponente(r)[b] != 0 ||
        rodada_do_par(a, b) != -1)
        throw std::logic_error("a tabela não é um rodízio compacto");
    jogos_[static_cast<std::size_t>(r) * vagas_total_ + g] = j;
    oponente_[linha(r) + a] = b;
    oponente_[linha(r) + b] = a;
    vaga_[linha(r) + a] = g;
    vaga_[linha(r) + b] = g;
    rodada_do_par_[par(a, b)] = r;
    rodada_do_par_[par(b, a)] = r;
    if (b == folga_ && folga_ != 0) folga_de_[static_cast<std::size_t>(a)] = r;
}

MovimentoCompacto RodizioCompacto::sorteia(Gerador& gerador) const
{
    Movimento m;
    int sorteado = gerador.sorteia_inteiro(sorteio_tipo_);
    int tipo = 0;
    while (sorteado >= chances[tipo]) sorteado -= chances[tipo++];
    m.tipo = static_cast<Movimento::Tipo>(tipo);
    auto duas_rodadas = [&] {
        do {
            m.a = gerador.sorteia_inteiro(sorteio_rodada_);
            m.b = gerador.sorteia_inteiro(sorteio_rodada_);
        } while (m.a == m.b);
    };
    auto dois_times = [&] {
        do {
            m.a = 1 + gerador.sorteia_inteiro(sorteio_time_);
            m.b = 1 + gerador.sorteia_inteiro(sorteio_time_);
        } while (m.a == m.b);
    };
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando:
        m.a = gerador.sorteia_inteiro(sorteio_rodada_);
        m.b = gerador.sorteia_inteiro(sorteio_vaga_);
        break;
    case Movimento::Tipo::troca_rodadas: duas_rodadas(); break;
    case Movimento::Tipo::troca_times: dois_times(); break;
    case Movimento::Tipo::troca_parcial_rodadas:
        duas_rodadas();
        m.c = 1 + gerador.sorteia_inteiro(sorteio_time_);
        break;
    case Movimento::Tipo::troca_parcial_times:
        dois_times();
        // A round where the two teams do not meet each other.
        do {
            m.c = gerador.sorteia_inteiro(sorteio_rodada_);
        } while (oponente(m.c)[m.a] == m.b);
        break;
    }
    return m;
}

// ---- The pending move -----------------------------------------------------------------------

void RodizioCompacto::prepara(const Movimento& m)
{
    movimento_ = m;
    ++marca_atual_;
    if (m.tipo == Movimento::Tipo::troca_parcial_rodadas) marca_cadeia_de_times(m.a, m.b, m.c);
    if (m.tipo == Movimento::Tipo::troca_parcial_times) marca_cadeia_de_rodadas(m.a, m.b, m.c);
    if (m.tipo == Movimento::Tipo::troca_times) encontro_ = rodada_do_par(m.a, m.b);
}

void RodizioCompacto::marca_cadeia_de_times(int r1, int r2, int t)
{
    // The teams linked to t by a chain of games of the two rounds: theirs are the games that
    // change rounds, so that each round keeps every team once.
    fila_.clear();
    fila_.push_back(t);
    time_na_cadeia_[static_cast<std::size_t>(t)] = marca_atual_;
    for (std::size_t i = 0; i < fila_.size(); ++i) {
        for (const int r : {r1, r2}) {
            const int outro = oponente(r)[fila_[i]];
            if (time_na_cadeia_[static_cast<std::size_t>(outro)] == marca_atual_) continue;
            time_na_cadeia_[static_cast<std::size_t>(outro)] = marca_atual_;
            fila_.push_back(outro);
        }
    }
}

void RodizioCompacto::marca_cadeia_de_rodadas(int t1, int t2, int r0)
{
    // Exchanged in round r, t2 meets the team t1 met there, whom it also meets in another
    // round: the exchange goes on there, and so on until it comes back to r0.
    fila_.clear();
    int r = r0;
    do {
        if (fila_.size() == static_cast<std::size_t>(num_rodadas_))
            throw std::logic_error("a cadeia da troca parcial de times não fecha");
        rodada_na_cadeia_[static_cast<std::size_t>(r)] = marca_atual_;
        fila_.push_back(r);
        r = rodada_do_par(t2, oponente(r)[t1]);
    } while (r != r0);
}

bool RodizioCompacto::rodada_da_troca(int r) const
{
    if (movimento_.tipo == Movimento::Tipo::troca_times) return r != encontro_;
    return rodada_na_cadeia_[static_cast<std::size_t>(r)] == marca_atual_;
}

int RodizioCompacto::oponente_novo(int t, int r) const
{
    const int* o = oponente(r);
    const Movimento& m = movimento_;
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: return o[t];
    case Movimento::Tipo::troca_rodadas: return r == m.a ? oponente(m.b)[t] : r == m.b ? oponente(m.a)[t] : o[t];
    case Movimento::Tipo::troca_parcial_rodadas:
        if (!time_na_cadeia(t)) return o[t];
        return r == m.a ? oponente(m.b)[t] : r == m.b ? oponente(m.a)[t] : o[t];
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times: {
        if (!rodada_da_troca(r)) return o[t];
        // Team t takes the place of the other one of the pair: its opponent, with the pair
        // exchanged too.
        auto troca = [&](int x) { return x == m.a ? m.b : x == m.b ? m.a : x; };
        return troca(o[troca(t)]);
    }
    }
    return o[t];
}

bool RodizioCompacto::em_casa_depois(int t, int r) const
{
    const Movimento& m = movimento_;
    int fonte_time = t;
    int fonte_rodada = r;
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando:
        if (r == m.a && vaga(r, t) == m.b) return sede_na_rodada(t, r) != t;
        break;
    case Movimento::Tipo::troca_rodadas: fonte_rodada = r == m.a ? m.b : r == m.b ? m.a : r; break;
    case Movimento::Tipo::troca_parcial_rodadas:
        if (time_na_cadeia(t)) fonte_rodada = r == m.a ? m.b : r == m.b ? m.a : r;
        break;
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times:
        if (rodada_da_troca(r)) fonte_time = t == m.a ? m.b : t == m.b ? m.a : t;
        break;
    }
    return em_casa(fonte_time, fonte_rodada);
}

int RodizioCompacto::folga_depois(int t) const
{
    const int folga = folga_de(t);
    if (folga_ == 0) return -1;
    const Movimento& m = movimento_;
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: return folga;
    case Movimento::Tipo::troca_rodadas: return folga == m.a ? m.b : folga == m.b ? m.a : folga;
    case Movimento::Tipo::troca_parcial_rodadas:
        if (!time_na_cadeia(t)) return folga;
        return folga == m.a ? m.b : folga == m.b ? m.a : folga;
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times: {
        if (t != m.a && t != m.b) return folga;
        const int outro = folga_de(t == m.a ? m.b : m.a);
        return rodada_da_troca(outro) ? outro : folga;
    }
    }
    return folga;
}

// ---- Writing a move -------------------------------------------------------------------------

void RodizioCompacto::troca_no_jogo(int r, int time, int por)
{
    const int g = vaga(r, time);
    const Jogo j = jogo(r, g);
    const int mandante = j.mandante() == time ? por : j.mandante();
    const int visitante = j.visitante() == time ? por : j.visitante();
    anota(r, g, jogo_entre(mandante, visitante));
}

void RodizioCompacto::anota_movimento()
{
    const Movimento& m = movimento_;
    escritas_.clear();
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: {
        const Jogo j = jogo(m.a, m.b);
        anota(m.a, m.b, Jogo{-j.time1, j.time2});
        break;
    }
    case Movimento::Tipo::troca_rodadas:
        for (int g = 0; g < vagas_total_; ++g) {
            anota(m.a, g, jogo(m.b, g));
            anota(m.b, g, jogo(m.a, g));
        }
        break;
    case Movimento::Tipo::troca_parcial_rodadas: {
        // The linked teams' games in slot order in each round: the k-th of one round takes
        // the k-th slot of the other. The rest's game, in the last slot of both, stays there.
        auto na_cadeia = [&](int r, int g) { return time_na_cadeia(jogo(r, g).time2); };
        int g2 = 0;
        for (int g1 = 0; g1 < vagas_total_; ++g1) {
            if (!na_cadeia(m.a, g1)) continue;
            while (!na_cadeia(m.b, g2)) ++g2;
            anota(m.a, g1, jogo(m.b, g2));
            anota(m.b, g2, jogo(m.a, g1));
            ++g2;
        }
        break;
    }
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times:
        for (int r = 0; r < num_rodadas_; ++r) {
            if (!rodada_da_troca(r)) continue;
            troca_no_jogo(r, m.a, m.b);
            troca_no_jogo(r, m.b, m.a);
        }
        break;
    }
}

void RodizioCompacto::escreve()
{
    anota_movimento();
    executa_escritas(false);
}

void RodizioCompacto::apaga() { executa_escritas(true); }

void RodizioCompacto::executa_escritas(bool desfazendo)
{
    // Every written slot of a round holds the same teams before and after, so the records
    // of each team in it are rewritten; every round stays complete, so Inviabilidade 1 stays.
    for (const Escrita& e : escritas_) {
        const Jogo novo = desfazendo ? e.antigo : e.novo;
        const int a = std::abs(novo.time1);
        const int b = novo.time2;
        jogos_[static_cast<std::size_t>(e.rodada) * vagas_total_ + e.vaga] = novo;
        oponente_[linha(e.rodada) + a] = b;
        oponente_[linha(e.rodada) + b] = a;
        vaga_[linha(e.rodada) + a] = e.vaga;
        vaga_[linha(e.rodada) + b] = e.vaga;
        rodada_do_par_[par(a, b)] = e.rodada;
        rodada_do_par_[par(b, a)] = e.rodada;
        if (b == folga_ && folga_ != 0) folga_de_[static_cast<std::size_t>(a)] = e.rodada;
        if (e.vaga < vagas_) {
            conta_jogo(controle_[e.rodada], tabela_[e.rodada][e.vaga], -1);
            tabela_[e.rodada][e.vaga] = novo;
            conta_jogo(controle_[e.rodada], novo, +1);
        }
    }
}

}  // namespace kelm
