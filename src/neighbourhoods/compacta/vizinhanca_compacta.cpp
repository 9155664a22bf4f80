#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "neighbourhoods/padrao/solucao_inicial.hpp"

namespace kelm {

namespace {

// How often each kind of move is drawn, out of their sum: home swaps, round swaps, team swaps,
// partial round swaps, partial team swaps. A home swap costs a tenth of the others, which
// touch every team or most of them. Tried on thirteen compact championships of 18 to 30
// teams, two seeds each: with these chances every run ended its first phase with
// Inviabilidades 1, 2, 3 and 5 at 0, all but one at the first cold check (that one after two
// reheats), in about 2 s for 30 teams; with the five
// kinds equally likely the distance and runs came out about a fifth lower, in 2.5 to 3 times
// as long.
constexpr int chances[5] = {16, 1, 1, 1, 1};

}  // namespace

VizinhancaCompacta::VizinhancaCompacta(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                                       ModoAvaliacao modo)
    : campeonato_(campeonato),
      criterios_(criterios),
      execucao_(execucao),
      modo_(modo),
      n_(campeonato.num_times),
      n_total_(n_ % 2 == 0 ? n_ : n_ + 1),
      folga_(n_ % 2 == 0 ? 0 : n_ + 1),
      r_(campeonato.num_rodadas),
      vagas_(campeonato.jogos_por_rodada()),
      vagas_total_(n_total_ / 2),
      l_(n_ - 1),
      w_(palavras_da_mascara(n_ - 1)),
      ultima_palavra_(bits_da_ultima_palavra(n_ - 1)),
      distancias_(campeonato.matriz_distancias.dados()),
      ponderacao_(campeonato, criterios),
      sorteio_rodada_(static_cast<std::uint32_t>(r_)),
      sorteio_time_(static_cast<std::uint32_t>(n_)),
      sorteio_vaga_(static_cast<std::uint32_t>(vagas_))
{
    sorteio_tipo_ = Divisor(static_cast<std::uint32_t>(chances[0] + chances[1] + chances[2] + chances[3] + chances[4]));
    if (n_ < 3 || r_ != rodadas_preenchidas(n_)) throw std::logic_error("o campeonato não tem as rodadas de uma tabela compacta");
    const auto times = static_cast<std::size_t>(n_total_) + 1;
    const auto rodadas = static_cast<std::size_t>(r_);
    jogos_.assign(rodadas * static_cast<std::size_t>(vagas_total_), Jogo{});
    oponente_.assign(rodadas * times, 0);
    vaga_.assign(rodadas * times, 0);
    rodada_do_par_.assign(times * times, -1);
    sedes_.assign(times * static_cast<std::size_t>(l_ + 2), 0);
    rascunho_sedes_.assign(sedes_.size(), 0);
    mascaras_.assign(times * static_cast<std::size_t>(w_), 0);
    rascunho_mascaras_.assign(mascaras_.size(), 0);
    parcelas_.assign(times, Parcela{});
    folga_de_.assign(times, -1);
    marca_.assign(times, 0);
    junta_.assign(times, 0);
    num_juntas_.assign(times, 0);
    junta_posicao_.assign(2 * times, 0);
    junta_sede_.assign(2 * times, 0);
    time_na_cadeia_.assign(times, 0);
    rodada_na_cadeia_.assign(rodadas, 0);
    mudancas_.assign(times, Mudanca{});
    distancia_candidata_.assign(times, 0);
    escritas_.reserve(4 * rodadas * static_cast<std::size_t>(vagas_total_));
    times_juntados_.reserve(times);
    fila_.reserve(times);

    // The games of every round into the records, each round checked to be complete and each
    // pair to meet once; with an odd N, the team left out meets the one of the rest.
    const Tabela& tabela = execucao.tabela_atual;
    auto registra = [&](int r, int g, const Jogo& j) {
        const int a = std::abs(j.time1);
        const int b = j.time2;
        if (j.vazio() || a < 1 || b <= a || b > n_total_ || oponente(r)[a] != 0 ||
            oponente(r)[b] != 0 || rodada_do_par(a, b) != -1)
            throw std::logic_error("a tabela não é um rodízio compacto");
        jogo(r, g) = j;
        oponente(r)[a] = b;
        oponente(r)[b] = a;
        vaga(r)[a] = g;
        vaga(r)[b] = g;
        rodada_do_par(a, b) = r;
        rodada_do_par(b, a) = r;
    };
    for (int r = 0; r < r_; ++r) {
        for (int g = 0; g < vagas_; ++g) registra(r, g, tabela[r][g]);
        if (folga_ != 0) {
            int fora = 1;
            while (fora <= n_ && oponente(r)[fora] != 0) ++fora;
            registra(r, vagas_, jogo_entre(fora, folga_));
        }
    }

    for (int t = 1; t <= n_; ++t) {
        std::int32_t* s = sedes(t);
        s[-1] = t;
        s[l_] = 0;
        int k = 0;
        for (int r = 0; r < r_; ++r) {
            if (oponente(r)[t] == folga_ && folga_ != 0) {
                folga_de_[static_cast<std::size_t>(t)] = r;
                continue;
            }
            s[k] = sede_na_rodada(t, r);
            poe_bit(mascara(t), k, s[k] == t);
            ++k;
        }
        std::int64_t distancia = 0;
        for (int j = 0; j < l_; ++j) distancia += d(s[j - 1], s[j]);
        parcelas_[static_cast<std::size_t>(t)] = parcela_da_mascara(mascara(t), w_, l_, ultima_palavra_, distancia);
        totais_.soma(parcelas_[static_cast<std::size_t>(t)], l_, +1);
    }
    for (int r = 0; r < r_; ++r) {
        for (int t = 1; t <= n_; ++t) {
            const Controle c = execucao.matriz_controle[r][t];
            if (c.jogos_casa + c.jogos_fora > 1) totais_[Inviabilidade::jogos_na_rodada] += c.jogos_casa + c.jogos_fora - 1;
        }
    }
    totais_[Inviabilidade::mesmo_estado] = mesmo_estado_na_ultima(false);
    std::int64_t maior = 0;
    std::int64_t menor = 100000000000LL;
    for (int t = 1; t <= n_; ++t) {
        maior = std::max(maior, parcelas_[static_cast<std::size_t>(t)].distancia);
        menor = std::min(menor, parcelas_[static_cast<std::size_t>(t)].distancia);
    }
    totais_[Inviabilidade::diferenca_distancia] = maior - menor;
    maior_distancia_ = maior;
    menor_distancia_ = menor;

    atualiza_base_do_limite();
    // The bound rejects nothing at a temperature above the most Inviabilidades 2 to 5 can rise.
    const double n = n_;
    teto_do_limite_ = static_cast<double>(ponderacao_.fator(Inviabilidade::inicio)) * n +
                      static_cast<double>(ponderacao_.fator(Inviabilidade::fim)) * n +
                      static_cast<double>(ponderacao_.fator(Inviabilidade::mandos)) * n * n +
                      static_cast<double>(ponderacao_.fator(Inviabilidade::mesmo_estado)) * n;
}

int VizinhancaCompacta::sede_na_rodada(int t, int r) const
{
    const int g = vaga_[static_cast<std::size_t>(r) * (n_total_ + 1) + t];
    return jogos_[static_cast<std::size_t>(r) * vagas_total_ + g].mandante();
}

int VizinhancaCompacta::oponente_novo(int t, int r) const
{
    const int* o = oponente(r);
    const Movimento& m = movimento_;
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: return o[t];
    case Movimento::Tipo::troca_rodadas: return r == m.a ? oponente(m.b)[t] : r == m.b ? oponente(m.a)[t] : o[t];
    case Movimento::Tipo::troca_parcial_rodadas:
        if (time_na_cadeia_[static_cast<std::size_t>(t)] != marca_atual_) return o[t];
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

bool VizinhancaCompacta::rodada_da_troca(int r) const
{
    if (movimento_.tipo == Movimento::Tipo::troca_times) return r != encontro_;
    return rodada_na_cadeia_[static_cast<std::size_t>(r)] == marca_atual_;
}

int VizinhancaCompacta::mesmo_estado_na_ultima(bool depois) const
{
    int total = 0;
    const int r = r_ - 1;
    for (int t = 1; t <= n_; ++t) {
        const int o = depois ? oponente_novo(t, r) : oponente(r)[t];
        // Each game once, from its lower-numbered team, as the schedule writes it.
        if (o > t && o <= n_ && d(t, o) == 0) ++total;
    }
    return total;
}

double VizinhancaCompacta::publica(const Totais& totais)
{
    for (std::size_t i = 0; i < num_inviabilidades; ++i)
        execucao_.inviabilidades[i] = static_cast<double>(totais.valores[i]);
    return ponderacao_.fo(totais);
}

double VizinhancaCompacta::avalia()
{
    if (modo_ == ModoAvaliacao::completa)
        return avalia_tabela(campeonato_, criterios_, execucao_, execucao_.tabela_atual);
    return publica(totais_);
}

MovimentoCompacto VizinhancaCompacta::sorteia(Gerador& gerador)
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

// ---- Writing a move -----------------------------------------------------------------------

void VizinhancaCompacta::escreve(int r, int g, const Jogo& novo) { escritas_.push_back({r, g, jogo(r, g), novo}); }

void VizinhancaCompacta::troca_no_jogo(int r, int time, int por)
{
    const int g = vaga(r)[time];
    const Jogo j = jogo(r, g);
    const int mandante = j.mandante() == time ? por : j.mandante();
    const int visitante = j.visitante() == time ? por : j.visitante();
    escreve(r, g, jogo_entre(mandante, visitante));
}

void VizinhancaCompacta::escreve_movimento()
{
    const Movimento& m = movimento_;
    escritas_.clear();
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: {
        const Jogo j = jogo(m.a, m.b);
        escreve(m.a, m.b, Jogo{-j.time1, j.time2});
        break;
    }
    case Movimento::Tipo::troca_rodadas:
        for (int g = 0; g < vagas_total_; ++g) {
            escreve(m.a, g, jogo(m.b, g));
            escreve(m.b, g, jogo(m.a, g));
        }
        break;
    case Movimento::Tipo::troca_parcial_rodadas: {
        // The linked teams' games in slot order in each round: the k-th of one round takes
        // the k-th slot of the other. The rest's game, in the last slot of both, stays there.
        auto na_cadeia = [&](int r, int g) { return time_na_cadeia_[static_cast<std::size_t>(jogo(r, g).time2)] == marca_atual_; };
        int g2 = 0;
        for (int g1 = 0; g1 < vagas_total_; ++g1) {
            if (!na_cadeia(m.a, g1)) continue;
            while (!na_cadeia(m.b, g2)) ++g2;
            escreve(m.a, g1, jogo(m.b, g2));
            escreve(m.b, g2, jogo(m.a, g1));
            ++g2;
        }
        break;
    }
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times:
        for (int r = 0; r < r_; ++r) {
            if (!rodada_da_troca(r)) continue;
            troca_no_jogo(r, m.a, m.b);
            troca_no_jogo(r, m.b, m.a);
        }
        break;
    }
}

void VizinhancaCompacta::executa_escritas(bool desfazendo)
{
    Tabela& tabela = execucao_.tabela_atual;
    Matriz<Controle>& controle = execucao_.matriz_controle;
    // Every written slot of a round holds the same teams before and after, so the records
    // of each team in it are rewritten; every round stays complete, so Inviabilidade 1 stays.
    for (const Escrita& e : escritas_) {
        const Jogo novo = desfazendo ? e.antigo : e.novo;
        const int a = std::abs(novo.time1);
        const int b = novo.time2;
        jogo(e.rodada, e.vaga) = novo;
        oponente(e.rodada)[a] = b;
        oponente(e.rodada)[b] = a;
        vaga(e.rodada)[a] = e.vaga;
        vaga(e.rodada)[b] = e.vaga;
        rodada_do_par(a, b) = e.rodada;
        rodada_do_par(b, a) = e.rodada;
        if (e.vaga < vagas_) {
            conta_jogo(controle[e.rodada], tabela[e.rodada][e.vaga], -1);
            tabela[e.rodada][e.vaga] = novo;
            conta_jogo(controle[e.rodada], novo, +1);
        }
    }
}

// ---- What a move reaches ------------------------------------------------------------------

void VizinhancaCompacta::marca_cadeia_de_times(int r1, int r2, int t)
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

void VizinhancaCompacta::marca_cadeia_de_rodadas(int t1, int t2, int r0)
{
    // Exchanged in round r, t2 meets the team t1 met there, whom it also meets in another
    // round: the exchange goes on there, and so on until it comes back to r0.
    fila_.clear();
    int r = r0;
    do {
        if (fila_.size() == static_cast<std::size_t>(r_)) throw std::logic_error("a cadeia da troca parcial de times não fecha");
        rodada_na_cadeia_[static_cast<std::size_t>(r)] = marca_atual_;
        fila_.push_back(r);
        r = rodada_do_par(t2, oponente(r)[t1]);
    } while (r != r0);
}

// ---- Evaluating a move --------------------------------------------------------------------

void VizinhancaCompacta::registra(Mudanca& mudanca)
{
    const auto i = static_cast<std::size_t>(mudanca.time);
    if (mudanca.mesma_mascara)
        totais_candidatos_[Inviabilidade::distancia_total] += mudanca.valores.distancia - parcelas_[i].distancia;
    else
        totais_candidatos_.troca(parcelas_[i], mudanca.valores, l_);
    distancia_candidata_[i] = mudanca.valores.distancia;
    marca_[i] = marca_atual_;
    ++num_mudancas_;
}

template <class SedeNaRodada>
void VizinhancaCompacta::muda_inteira(int t, int folga, SedeNaRodada sede_na_rodada)
{
    Mudanca& mudanca = mudancas_[static_cast<std::size_t>(num_mudancas_)];
    mudanca.time = t;
    mudanca.folga = folga;
    mudanca.num_posicoes = 0;
    mudanca.inteira = true;
    mudanca.mesma_mascara = false;
    std::int32_t* s = rascunho_sedes(t);
    Palavra* m = rascunho_mascara(t);
    std::fill(m, m + w_, Palavra{0});
    s[-1] = t;
    s[l_] = 0;
    std::int64_t distancia = 0;
    int k = 0;
    for (int r = 0; r < r_; ++r) {
        if (r == folga) continue;
        const int sede = sede_na_rodada(r);
        s[k] = sede;
        poe_bit(m, k, sede == t);
        distancia += d(s[k - 1], sede);
        ++k;
    }
    mudanca.valores = parcela_da_mascara(m, w_, l_, ultima_palavra_, distancia);
    registra(mudanca);
}

void VizinhancaCompacta::muda_como(int t, int u)
{
    // In the rounds of the swap t takes u's venues: itself where u was at home, the other one
    // where u met t, u's opponent elsewhere; and u's rest, when it falls in those rounds.
    const std::int32_t* su = sedes(u);
    const std::int32_t* st = sedes(t);
    const int folga_t = folga_de_[static_cast<std::size_t>(t)];
    const int folga_u = folga_de_[static_cast<std::size_t>(u)];
    const int folga = folga_u >= 0 && rodada_da_troca(folga_u) ? folga_u : folga_t;
    muda_inteira(t, folga, [&](int r) {
        if (!rodada_da_troca(r)) return st[posicao(r, folga_t)];
        const int v = su[posicao(r, folga_u)];
        return v == u ? t : v == t ? u : v;
    });
}

void VizinhancaCompacta::muda_com_rodadas_trocadas(int t, int r1, int r2)
{
    // The team rests in one of the two rounds, and in the other one now: its games are its
    // own, read from the other round where one of the two is meant.
    const std::int32_t* st = sedes(t);
    const int folga_antes = folga_de_[static_cast<std::size_t>(t)];
    muda_inteira(t, folga_antes == r1 ? r2 : r1,
                 [&](int r) { return st[posicao(r == r1 ? r2 : r == r2 ? r1 : r, folga_antes)]; });
}

void VizinhancaCompacta::muda_sedes(int t, int num, int p0, int s0, int p1, int s1)
{
    if (num == 0) return;
    const auto i = static_cast<std::size_t>(t);
    Mudanca& mudanca = mudancas_[static_cast<std::size_t>(num_mudancas_)];
    mudanca.time = t;
    mudanca.folga = folga_de_[i];
    mudanca.inteira = false;
    if (num == 2 && p0 > p1) {
        std::swap(p0, p1);
        std::swap(s0, s1);
    }
    mudanca.num_posicoes = num;
    mudanca.posicoes[0] = p0;
    mudanca.sedes[0] = s0;
    mudanca.posicoes[1] = p1;
    mudanca.sedes[1] = s1;
    // Only the legs into and out of a changed venue change: from the venue before it (the
    // team's home before its first game) to the venue after it (nothing after the last).
    const std::int32_t* s = sedes(t);
    const int q1 = num == 2 ? p1 : -2;
    auto nova = [&](int k) { return k == p0 ? s0 : k == q1 ? s1 : s[k]; };
    std::int64_t distancia = parcelas_[i].distancia;
    auto perna = [&](int k) { distancia += d(nova(k - 1), nova(k)) - d(s[k - 1], s[k]); };
    perna(p0);
    perna(p0 + 1);
    if (q1 >= 0) {
        if (q1 != p0 + 1) perna(q1);
        perna(q1 + 1);
    }
    const Palavra* antes = mascara(t);
    // Away at another venue, still away: only the distance changes.
    mudanca.mesma_mascara = bit(antes, p0) == (s0 == t) && (num == 1 || bit(antes, p1) == (s1 == t));
    if (mudanca.mesma_mascara) {
        mudanca.valores = parcelas_[i];
        mudanca.valores.distancia = distancia;
    } else {
        Palavra* m = rascunho_mascara(t);
        std::copy_n(antes, w_, m);
        poe_bit(m, p0, s0 == t);
        if (num == 2) poe_bit(m, p1, s1 == t);
        mudanca.valores = parcela_da_mascara(m, w_, l_, ultima_palavra_, distancia);
    }
    registra(mudanca);
}

void VizinhancaCompacta::troca_duas_rodadas(int t, int r1, int r2)
{
    const auto i = static_cast<std::size_t>(t);
    const int folga = folga_de_[i];
    // A team that rests in one of the two rounds rests in the other now: its games between
    // them shift by one place.
    if (folga == r1 || folga == r2) {
        muda_com_rodadas_trocadas(t, r1, r2);
        return;
    }
    int p1 = posicao(r1, folga);
    int p2 = posicao(r2, folga);
    if (p1 > p2) std::swap(p1, p2);
    const std::int32_t* s = sedes(t);
    const int x = s[p1];
    const int y = s[p2];
    if (x == y) return;  // at home in both
    // The two venues change places: the legs around them change.
    const int antes = s[p1 - 1];
    const int depois = s[p2 + 1];
    std::int64_t delta;
    if (p2 == p1 + 1) {
        delta = d(antes, y) + d(y, x) + d(x, depois) - d(antes, x) - d(x, y) - d(y, depois);
    } else {
        const int a = s[p1 + 1];
        const int b = s[p2 - 1];
        delta = d(antes, y) + d(y, a) + d(b, x) + d(x, depois) - d(antes, x) - d(x, a) - d(b, y) - d(y, depois);
    }
    Mudanca& mudanca = mudancas_[static_cast<std::size_t>(num_mudancas_)];
    mudanca.time = t;
    mudanca.folga = folga;
    mudanca.inteira = false;
    mudanca.num_posicoes = 2;
    mudanca.posicoes[0] = p1;
    mudanca.sedes[0] = y;
    mudanca.posicoes[1] = p2;
    mudanca.sedes[1] = x;
    if ((x == t) == (y == t)) {
        // Away in both: the same pattern of home games, only the distance changes.
        mudanca.valores = parcelas_[i];
        mudanca.valores.distancia += delta;
        mudanca.mesma_mascara = true;
    } else {
        Palavra* m = rascunho_mascara(t);
        std::copy_n(mascara(t), w_, m);
        poe_bit(m, p1, y == t);
        poe_bit(m, p2, x == t);
        mudanca.valores = parcela_da_mascara(m, w_, l_, ultima_palavra_, parcelas_[i].distancia + delta);
        mudanca.mesma_mascara = false;
    }
    registra(mudanca);
}

// ---- A lower bound of a move's objective ------------------------------------------------

bool VizinhancaCompacta::em_casa_depois(int t, int r) const
{
    const Movimento& m = movimento_;
    int fonte_time = t;
    int fonte_rodada = r;
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando:
        if (r == m.a && vaga_[static_cast<std::size_t>(r) * (n_total_ + 1) + t] == m.b) return sede_na_rodada(t, r) != t;
        break;
    case Movimento::Tipo::troca_rodadas: fonte_rodada = r == m.a ? m.b : r == m.b ? m.a : r; break;
    case Movimento::Tipo::troca_parcial_rodadas:
        if (time_na_cadeia_[static_cast<std::size_t>(t)] == marca_atual_) fonte_rodada = r == m.a ? m.b : r == m.b ? m.a : r;
        break;
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times:
        if (rodada_da_troca(r)) fonte_time = t == m.a ? m.b : t == m.b ? m.a : t;
        break;
    }
    return oponente(fonte_rodada)[fonte_time] != folga_ && sede_na_rodada(fonte_time, fonte_rodada) == fonte_time;
}

int VizinhancaCompacta::folga_depois(int t) const
{
    const int folga = folga_de_[static_cast<std::size_t>(t)];
    if (folga_ == 0) return -1;
    const Movimento& m = movimento_;
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: return folga;
    case Movimento::Tipo::troca_rodadas: return folga == m.a ? m.b : folga == m.b ? m.a : folga;
    case Movimento::Tipo::troca_parcial_rodadas:
        if (time_na_cadeia_[static_cast<std::size_t>(t)] != marca_atual_) return folga;
        return folga == m.a ? m.b : folga == m.b ? m.a : folga;
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times: {
        if (t != m.a && t != m.b) return folga;
        const int outro = folga_de_[static_cast<std::size_t>(t == m.a ? m.b : m.a)];
        return rodada_da_troca(outro) ? outro : folga;
    }
    }
    return folga;
}

void VizinhancaCompacta::inicio_fim_depois(int t, std::int64_t& inicio, std::int64_t& fim) const
{
    // The team's first two and last two games, in the rounds around its rest.
    const int folga = folga_depois(t);
    int pontas[4];
    int k = 0;
    for (int r = 0; k < 2; ++r)
        if (r != folga) pontas[k++] = r;
    for (int r = r_ - 1; k < 4; --r)
        if (r != folga) pontas[5 - k++] = r;
    const bool h0 = em_casa_depois(t, pontas[0]);
    const bool h1 = em_casa_depois(t, pontas[1]);
    const bool penultimo = em_casa_depois(t, pontas[2]);
    const bool ultimo = em_casa_depois(t, pontas[3]);
    inicio = h0 == h1 ? 1 : 0;
    fim = h0 != h1 && (h0 ? !(penultimo && !ultimo) : !(!penultimo && ultimo)) ? 1 : 0;
}

std::int64_t VizinhancaCompacta::limite_inferior()
{
    // Inviabilidades 2, 3, 4 and 5 of the neighbour are worked out exactly, from the few games
    // they read; Inviabilidades 6 to 9 can at most fall to nothing, and Inviabilidade 1 stays.
    const Movimento& m = movimento_;
    std::int64_t inicio = totais_[Inviabilidade::inicio];
    std::int64_t fim = totais_[Inviabilidade::fim];
    std::int64_t mandos = totais_[Inviabilidade::mandos];
    std::int64_t mesmo_estado = totais_[Inviabilidade::mesmo_estado];
    auto refaz_pontas = [&](int t) {
        const Parcela& p = parcelas_[static_cast<std::size_t>(t)];
        std::int64_t i = 0;
        std::int64_t f = 0;
        inicio_fim_depois(t, i, f);
        inicio += i - p.inicio;
        fim += f - p.fim;
    };
    auto refaz_mandos = [&](int t, int casa) {
        mandos += std::abs(2 * casa - l_) - std::abs(2 * parcelas_[static_cast<std::size_t>(t)].casa - l_);
    };
    // Whether round r is one of the first two or the last two of any team: with a rest, the
    // third and the third from last may be too.
    const int margem = folga_ == 0 ? 2 : 3;
    auto nas_pontas = [&](int r) { return r < margem || r >= r_ - margem; };
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: {
        const Jogo j = jogo(m.a, m.b);
        const int casa = j.mandante();
        const int fora = j.visitante();
        refaz_mandos(casa, parcelas_[static_cast<std::size_t>(casa)].casa - 1);
        refaz_mandos(fora, parcelas_[static_cast<std::size_t>(fora)].casa + 1);
        if (nas_pontas(m.a)) {
            refaz_pontas(casa);
            refaz_pontas(fora);
        }
        break;
    }
    case Movimento::Tipo::troca_rodadas:
    case Movimento::Tipo::troca_parcial_rodadas: {
        // The home games stay; the first and last two games change where one of the rounds
        // is among them, or where a rest moves.
        const bool pontas = nas_pontas(m.a) || nas_pontas(m.b);
        for (int t = 1; t <= n_; ++t) {
            const auto i = static_cast<std::size_t>(t);
            if (m.tipo == Movimento::Tipo::troca_parcial_rodadas && time_na_cadeia_[i] != marca_atual_) continue;
            if (folga_ == 0 && pontas) {
                // Without rests a round is a place in the sequence: the two bits change places.
                const Palavra* mascara_t = mascara(t);
                auto casa = [&](int k) { return bit(mascara_t, k == m.a ? m.b : k == m.b ? m.a : k); };
                const bool h0 = casa(0);
                const bool h1 = casa(1);
                const bool penultimo = casa(l_ - 2);
                const bool ultimo = casa(l_ - 1);
                inicio += (h0 == h1 ? 1 : 0) - parcelas_[i].inicio;
                fim += (h0 != h1 && (h0 ? !(penultimo && !ultimo) : !(!penultimo && ultimo)) ? 1 : 0) - parcelas_[i].fim;
            } else if (pontas || folga_de_[i] == m.a || folga_de_[i] == m.b) {
                refaz_pontas(t);
            }
        }
        if (m.a == r_ - 1 || m.b == r_ - 1) mesmo_estado = mesmo_estado_na_ultima(true);
        break;
    }
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times: {
        // Only the two teams change their venues' pattern; the others meet one of them where
        // they met the other. Each takes the other's home games of the rounds of the swap.
        auto em_casa = [&](int t, int r) { return oponente(r)[t] != folga_ && sede_na_rodada(t, r) == t ? 1 : 0; };
        int casa_a = parcelas_[static_cast<std::size_t>(m.a)].casa;
        int casa_b = parcelas_[static_cast<std::size_t>(m.b)].casa;
        if (m.tipo == Movimento::Tipo::troca_times) {
            std::swap(casa_a, casa_b);
            const int diferenca = em_casa(m.a, encontro_) - em_casa(m.b, encontro_);
            casa_a += diferenca;
            casa_b -= diferenca;
        } else {
            for (const int r : fila_) {
                const int diferenca = em_casa(m.b, r) - em_casa(m.a, r);
                casa_a += diferenca;
                casa_b -= diferenca;
            }
        }
        refaz_mandos(m.a, casa_a);
        refaz_mandos(m.b, casa_b);
        refaz_pontas(m.a);
        refaz_pontas(m.b);
        if (rodada_da_troca(r_ - 1)) {
            auto mesmo = [&](int x, int y) {
                return x <= n_ && y <= n_ && d(std::min(x, y), std::max(x, y)) == 0 ? 1 : 0;
            };
            const int oa = oponente(r_ - 1)[m.a];
            const int ob = oponente(r_ - 1)[m.b];
            mesmo_estado += mesmo(m.b, oa) + mesmo(m.a, ob) - mesmo(m.a, oa) - mesmo(m.b, ob);
        }
        break;
    }
    }
    return base_do_limite_ + ponderacao_.fator(Inviabilidade::inicio) * (inicio - totais_[Inviabilidade::inicio]) +
           ponderacao_.fator(Inviabilidade::fim) * (fim - totais_[Inviabilidade::fim]) +
           ponderacao_.fator(Inviabilidade::mandos) * (mandos - totais_[Inviabilidade::mandos]) +
           ponderacao_.fator(Inviabilidade::mesmo_estado) * (mesmo_estado - totais_[Inviabilidade::mesmo_estado]);
}

void VizinhancaCompacta::atualiza_base_do_limite()
{
    // FO of the schedule as it stands with Inviabilidades 6 to 9 at nothing.
    Totais base = totais_;
    for (const Inviabilidade i : {Inviabilidade::fora_seguidos, Inviabilidade::casa_seguidos,
                                  Inviabilidade::distancia_total, Inviabilidade::diferenca_distancia})
        base[i] = 0;
    base_do_limite_ = ponderacao_.fo_inteira(base);
}

double VizinhancaCompacta::aplica(const Movimento& m, double fo_atual, double temperatura)
{
    movimento_ = m;
    ++marca_atual_;
    if (m.tipo == Movimento::Tipo::troca_parcial_rodadas) marca_cadeia_de_times(m.a, m.b, m.c);
    if (m.tipo == Movimento::Tipo::troca_parcial_times) marca_cadeia_de_rodadas(m.a, m.b, m.c);
    if (m.tipo == Movimento::Tipo::troca_times) encontro_ = rodada_do_par(m.a, m.b);
    if (modo_ == ModoAvaliacao::completa) {
        escreve_movimento();
        executa_escritas(false);
        return avalia_tabela(campeonato_, criterios_, execucao_, execucao_.tabela_atual);
    }
    num_mudancas_ = 0;
    antecipado_ = false;
    // A move whose bound already worsens the objective by the temperature or more is
    // rejected whatever the draw: its teams need no closer look.
    if (ponderacao_.pode_antecipar() && temperatura < teto_do_limite_) {
        const std::int64_t limite = limite_inferior();
        if (static_cast<double>(limite) - fo_atual >= temperatura) {
            antecipado_ = true;
            return static_cast<double>(limite);
        }
    }

    totais_candidatos_ = totais_;
    bool ultima = false;  // whether the pairs of the last round change
    // The position of round r in team t's own sequence.
    auto lugar = [&](int t, int r) { return posicao(r, folga_de_[static_cast<std::size_t>(t)]); };
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: {
        const Jogo j = jogo(m.a, m.b);
        const int casa = j.mandante();
        const int fora = j.visitante();
        muda_sedes(casa, 1, lugar(casa, m.a), fora, 0, 0);
        muda_sedes(fora, 1, lugar(fora, m.a), fora, 0, 0);
        break;
    }
    case Movimento::Tipo::troca_rodadas:
        for (int t = 1; t <= n_; ++t) troca_duas_rodadas(t, m.a, m.b);
        ultima = m.a == r_ - 1 || m.b == r_ - 1;
        break;
    case Movimento::Tipo::troca_parcial_rodadas:
        for (const int t : fila_)
            if (t <= n_) troca_duas_rodadas(t, m.a, m.b);
        ultima = m.a == r_ - 1 || m.b == r_ - 1;
        break;
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times: {
        // The two teams take each other's games in the rounds of the swap; the teams they met
        // there meet the other one, at the same venue when at home, at the other's when away.
        muda_como(m.a, m.b);
        muda_como(m.b, m.a);
        auto outro = [&](int x) { return x == m.a ? m.b : m.a; };
        if (m.tipo == Movimento::Tipo::troca_times) {
            for (int t = 1; t <= n_; ++t) {
                if (t == m.a || t == m.b) continue;
                const std::int32_t* s = sedes(t);
                int num = 0;
                int p[2] = {};
                int v[2] = {};
                for (const int x : {m.a, m.b}) {
                    const int k = lugar(t, rodada_do_par(t, x));
                    if (s[k] == x) {
                        p[num] = k;
                        v[num++] = outro(x);
                    }
                }
                muda_sedes(t, num, p[0], v[0], p[1], v[1]);
            }
            ultima = encontro_ != r_ - 1;
        } else {
            // A team may meet both of them in the rounds of the chain: its changes are
            // gathered first, then worked out together.
            ++junta_atual_;
            times_juntados_.clear();
            for (const int r : fila_) {
                for (const int x : {m.a, m.b}) {
                    const int t = oponente(r)[x];
                    if (t > n_) continue;  // the rest
                    const int k = lugar(t, r);
                    if (sedes(t)[k] != x) continue;  // at home, it stays at home
                    const auto i = static_cast<std::size_t>(t);
                    if (junta_[i] != junta_atual_) {
                        junta_[i] = junta_atual_;
                        num_juntas_[i] = 0;
                        times_juntados_.push_back(t);
                    }
                    junta_posicao_[2 * i + static_cast<std::size_t>(num_juntas_[i])] = k;
                    junta_sede_[2 * i + static_cast<std::size_t>(num_juntas_[i])] = outro(x);
                    ++num_juntas_[i];
                }
            }
            for (const int t : times_juntados_) {
                const auto i = static_cast<std::size_t>(t);
                muda_sedes(t, num_juntas_[i], junta_posicao_[2 * i], junta_sede_[2 * i], junta_posicao_[2 * i + 1],
                           junta_sede_[2 * i + 1]);
            }
            ultima = rodada_da_troca(r_ - 1);
        }
        break;
    }
    }
    if (ultima) totais_candidatos_[Inviabilidade::mesmo_estado] = mesmo_estado_na_ultima(true);
    // Largest and smallest distance travelled: from the changed teams and the earlier ends,
    // unless a changed team held an end, when every team is looked at.
    std::int64_t maior = maior_distancia_;
    std::int64_t menor = menor_distancia_;
    bool varre = false;
    for (int k = 0; k < num_mudancas_; ++k) {
        const Mudanca& mudanca = mudancas_[static_cast<std::size_t>(k)];
        const std::int64_t antes = parcelas_[static_cast<std::size_t>(mudanca.time)].distancia;
        varre = varre || antes == maior_distancia_ || antes == menor_distancia_;
        maior = std::max(maior, mudanca.valores.distancia);
        menor = std::min(menor, mudanca.valores.distancia);
    }
    if (varre) {
        maior = 0;
        menor = 100000000000LL;
        for (int t = 1; t <= n_; ++t) {
            const auto i = static_cast<std::size_t>(t);
            const std::int64_t v = marca_[i] == marca_atual_ ? distancia_candidata_[i] : parcelas_[i].distancia;
            maior = std::max(maior, v);
            menor = std::min(menor, v);
        }
    }
    maior_candidata_ = maior;
    menor_candidata_ = menor;
    totais_candidatos_[Inviabilidade::diferenca_distancia] = maior - menor;
    return publica(totais_candidatos_);
}

void VizinhancaCompacta::confirma()
{
    if (modo_ == ModoAvaliacao::completa) return;
    if (antecipado_) throw std::logic_error("um movimento recusado de antemão não pode ser mantido");
    escreve_movimento();
    executa_escritas(false);
    for (int k = 0; k < num_mudancas_; ++k) {
        const Mudanca& mudanca = mudancas_[static_cast<std::size_t>(k)];
        const int t = mudanca.time;
        if (mudanca.inteira) {
            std::memcpy(sedes(t), rascunho_sedes(t), sizeof(std::int32_t) * static_cast<std::size_t>(l_));
            std::memcpy(mascara(t), rascunho_mascara(t), sizeof(Palavra) * static_cast<std::size_t>(w_));
        } else {
            for (int j = 0; j < mudanca.num_posicoes; ++j) sedes(t)[mudanca.posicoes[j]] = mudanca.sedes[j];
            if (!mudanca.mesma_mascara)
                std::memcpy(mascara(t), rascunho_mascara(t), sizeof(Palavra) * static_cast<std::size_t>(w_));
        }
        parcelas_[static_cast<std::size_t>(t)] = mudanca.valores;
        folga_de_[static_cast<std::size_t>(t)] = mudanca.folga;
    }
    num_mudancas_ = 0;
    totais_ = totais_candidatos_;
    maior_distancia_ = maior_candidata_;
    menor_distancia_ = menor_candidata_;
    atualiza_base_do_limite();
}

void VizinhancaCompacta::desfaz(const Movimento& /*m*/)
{
    // The incremental evaluation wrote nothing.
    if (modo_ == ModoAvaliacao::completa) executa_escritas(true);
    num_mudancas_ = 0;
}

}  // namespace kelm
