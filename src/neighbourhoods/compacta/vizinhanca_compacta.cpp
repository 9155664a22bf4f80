#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include "model/temporada.hpp"

namespace kelm {

VizinhancaCompacta::VizinhancaCompacta(const Campeonato& campeonato, const Criterios& criterios, Tabela& tabela,
                                       Matriz<Controle>& controle, Returno returno, const Requisitos* requisitos,
                                       const Requisitos* partida, const std::vector<bool>* congeladas)
    : rodizio_(campeonato, tabela, controle),
      num_times_(campeonato.num_times),
      num_rodadas_(campeonato.num_rodadas),
      jogos_(campeonato.num_times - 1),
      returno_(returno),
      jogos_contados_(voltas_da_execucao(returno) * jogos_),
      rodada_final_(rodada_final_da_temporada(campeonato.num_rodadas, returno)),
      d_(campeonato),
      requisitos_(requisitos, campeonato.num_times,
                  rodadas_da_execucao(campeonato.num_rodadas, returno)),
      partida_(partida, campeonato.num_times, rodadas_da_execucao(campeonato.num_rodadas, returno)),
      congeladas_(congeladas != nullptr && !congeladas->empty() ? congeladas : nullptr),
      ponderacao_(campeonato, criterios, voltas_da_execucao(returno), requisitos_.maximo(), partida_.maximo()),
      sequencias_(campeonato.num_times, jogos_contados_),
      rascunho_(campeonato.num_times, jogos_contados_)
{
    const auto times = static_cast<std::size_t>(num_times_) + 2;
    parcelas_.assign(times, Parcela{});
    marca_.assign(times, 0);
    junta_.assign(times, 0);
    num_juntas_.assign(times, 0);
    junta_posicao_.assign(2 * times, 0);
    junta_sede_.assign(2 * times, 0);
    mudancas_.assign(times, Mudanca{});
    distancia_candidata_.assign(times, 0);
    times_juntados_.reserve(times);

    le_sequencias();
    totais_[Inviabilidade::jogos_na_rodada] = 0;  // every round is complete
    totais_[Inviabilidade::mesmo_estado] = mesmo_estado_na_ultima(false);
    for (int t = 1; t <= num_times_; ++t) extremos_.inclui(parcelas_[static_cast<std::size_t>(t)].distancia);
    totais_[Inviabilidade::diferenca_distancia] = extremos_.diferenca();
    if (!requisitos_.vazio() || !partida_.vazio()) {
        const int w = palavras_da_mascara(std::max(rodadas_da_execucao(num_rodadas_, returno_), 1));
        rodadas_do_turno_.assign(static_cast<std::size_t>(num_rodadas_ * w), 0);
        rodadas_mudadas_.assign(static_cast<std::size_t>(w), 0);
        for (int s = 0; s < rodadas_da_execucao(num_rodadas_, returno_); ++s) {
            const int r = rodada_do_turno(s, num_rodadas_, returno_);
            poe_bit(rodadas_do_turno_.data() + static_cast<std::size_t>(r * w), s, true);
        }
    }
    for (const auto& [avaliador, i] : {std::pair{&requisitos_, Inviabilidade::requisitos}, std::pair{&partida_, Inviabilidade::mudancas}}) {
        if (avaliador->vazio()) continue;
        for (int t = 1; t <= num_times_; ++t) casa_por_rodada(sequencias_.mascara(t), rodizio_.folga_de(t), avaliador->casa(t));
        avaliador->inicia([this](int a, int b, int s) { return encontro(a, b, s, false); });
        totais_[i] = avaliador->total();
    }

    atualiza_base_do_limite();
    // The bound rejects nothing at a temperature above the most Inviabilidades 2 to 5 can rise.
    const double n = num_times_;
    teto_do_limite_ = static_cast<double>(ponderacao_.fator(Inviabilidade::inicio)) * n +
                      static_cast<double>(ponderacao_.fator(Inviabilidade::fim)) * n +
                      static_cast<double>(ponderacao_.fator(Inviabilidade::mandos)) * n * n +
                      static_cast<double>(ponderacao_.fator(Inviabilidade::mesmo_estado)) * n;
}

void VizinhancaCompacta::le_sequencias()
{
    for (int t = 1; t <= num_times_; ++t) {
        int k = 0;
        for (int r = 0; r < num_rodadas_; ++r) {
            if (r == rodizio_.folga_de(t)) continue;
            sequencias_.poe(t, k++, rodizio_.sede_na_rodada(t, r));
        }
        for (int j = 0; temporada() && j < num_rodadas_; ++j) {
            const int r = rodada_do_turno(num_rodadas_ + j, num_rodadas_, returno_);
            if (r == rodizio_.folga_de(t)) continue;
            const int sede = rodizio_.sede_na_rodada(t, r);
            sequencias_.poe(t, k++, sede == t ? rodizio_.oponente(r)[t] : t);
        }
        const auto i = static_cast<std::size_t>(t);
        parcelas_[i] = sequencias_.parcela(sequencias_.mascara(t), sequencias_.distancia(t, d_));
        totais_.soma(parcelas_[i], jogos_contados_, +1);
    }
}

int VizinhancaCompacta::mesmo_estado_na_ultima(bool depois) const
{
    int total = 0;
    const int r = rodada_final_;
    for (int t = 1; t <= num_times_; ++t) {
        const int o = depois ? rodizio_.oponente_novo(t, r) : rodizio_.oponente(r)[t];
        // Each game once, from its lower-numbered team, as the schedule writes it.
        if (o > t && o <= num_times_ && d_(t, o) == 0) ++total;
    }
    return total;
}

// ---- The changes a move makes to the teams it reaches --------------------------------------

void VizinhancaCompacta::registra(Mudanca& mudanca)
{
    const auto i = static_cast<std::size_t>(mudanca.time);
    if (mudanca.mesma_mascara)
        totais_candidatos_[Inviabilidade::distancia_total] += mudanca.valores.distancia - parcelas_[i].distancia;
    else
        totais_candidatos_.troca(parcelas_[i], mudanca.valores, jogos_contados_);
    distancia_candidata_[i] = mudanca.valores.distancia;
    marca_[i] = marca_atual_;
    ++num_mudancas_;
}

template <class SedeNaRodada>
void VizinhancaCompacta::muda_inteira(int t, int folga, SedeNaRodada sede_na_rodada)
{
    Mudanca& mudanca = mudancas_[static_cast<std::size_t>(num_mudancas_)];
    mudanca.time = t;
    mudanca.num_posicoes = 0;
    mudanca.inteira = true;
    mudanca.mesma_mascara = false;
    std::int32_t* s = rascunho_.sedes(t);
    Palavra* m = rascunho_.mascara(t);
    std::fill(m, m + rascunho_.palavras(), Palavra{0});
    std::int64_t distancia = 0;
    int k = 0;
    for (int r = 0; r < num_rodadas_; ++r) {
        if (r == folga) continue;
        const int sede = sede_na_rodada(r);
        s[k] = sede;
        poe_bit(m, k, sede == t);
        distancia += d_(s[k - 1], sede);
        ++k;
    }
    if (temporada()) espelha_inteira(t, folga, s, m, distancia);
    mudanca.valores = rascunho_.parcela(m, distancia);
    registra(mudanca);
}

void VizinhancaCompacta::muda_como(int t, int u)
{
    // In the rounds of the swap t takes u's venues: itself where u was at home, the other one
    // where u met t, u's opponent elsewhere; and u's rest, when it falls in those rounds.
    const std::int32_t* su = sequencias_.sedes(u);
    const std::int32_t* st = sequencias_.sedes(t);
    const int folga_t = rodizio_.folga_de(t);
    const int folga_u = rodizio_.folga_de(u);
    const int folga = folga_u >= 0 && rodizio_.rodada_da_troca(folga_u) ? folga_u : folga_t;
    muda_inteira(t, folga, [&](int r) {
        if (!rodizio_.rodada_da_troca(r)) return st[posicao(r, folga_t)];
        const int v = su[posicao(r, folga_u)];
        return v == u ? t : v == t ? u : v;
    });
}

void VizinhancaCompacta::muda_com_rodadas_trocadas(int t, int r1, int r2)
{
    // The team rests in one of the two rounds, and in the other one now: its games are its
    // own, read from the other round where one of the two is meant.
    const std::int32_t* st = sequencias_.sedes(t);
    const int folga_antes = rodizio_.folga_de(t);
    muda_inteira(t, folga_antes == r1 ? r2 : r1,
                 [&](int r) { return st[posicao(r == r1 ? r2 : r == r2 ? r1 : r, folga_antes)]; });
}

void VizinhancaCompacta::muda_sedes(int t, int num, int p0, int s0, int p1, int s1)
{
    if (num == 0) return;
    const auto i = static_cast<std::size_t>(t);
    Mudanca& mudanca = mudancas_[static_cast<std::size_t>(num_mudancas_)];
    mudanca.time = t;
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
    const std::int32_t* s = sequencias_.sedes(t);
    const int q1 = num == 2 ? p1 : -2;
    auto nova = [&](int k) { return k == p0 ? s0 : k == q1 ? s1 : s[k]; };
    std::int64_t distancia = parcelas_[i].distancia;
    auto perna = [&](int k) { distancia += d_(nova(k - 1), nova(k)) - d_(s[k - 1], s[k]); };
    perna(p0);
    perna(p0 + 1);
    if (q1 >= 0) {
        if (q1 != p0 + 1) perna(q1);
        perna(q1 + 1);
    }
    const Palavra* antes = sequencias_.mascara(t);
    // Away at another venue, still away: only the distance changes.
    mudanca.mesma_mascara = bit(antes, p0) == (s0 == t) && (num == 1 || bit(antes, p1) == (s1 == t));
    if (mudanca.mesma_mascara) {
        mudanca.valores = parcelas_[i];
        mudanca.valores.distancia = distancia;
    } else {
        Palavra* m = rascunho_.mascara(t);
        std::copy_n(antes, sequencias_.palavras(), m);
        poe_bit(m, p0, s0 == t);
        if (num == 2) poe_bit(m, p1, s1 == t);
        mudanca.valores = sequencias_.parcela(m, distancia);
    }
    registra(mudanca);
}

void VizinhancaCompacta::troca_duas_rodadas(int t, int r1, int r2)
{
    const int folga = rodizio_.folga_de(t);
    // A team that rests in one of the two rounds rests in the other now: its games between
    // them shift by one place.
    if (folga == r1 || folga == r2) {
        muda_com_rodadas_trocadas(t, r1, r2);
        return;
    }
    // The two rounds' venues change places in the turno, and so do their mirrors in the
    // returno; a team at the same venue in both changes nothing there.
    const std::int32_t* s = sequencias_.sedes(t);
    int k1 = posicao(r1, folga);
    int k2 = posicao(r2, folga);
    if (k1 > k2) std::swap(k1, k2);
    const bool no_turno = s[k1] != s[k2];
    if (!temporada()) {
        if (no_turno) troca_sedes(t, k1, k2, -1, -1);
        return;
    }
    int e1 = espelho(k1, folga);
    int e2 = espelho(k2, folga);
    if (e1 > e2) std::swap(e1, e2);
    const bool no_returno = s[e1] != s[e2];
    if (no_turno && no_returno)
        troca_sedes(t, k1, k2, e1, e2);
    else if (no_turno)
        troca_sedes(t, k1, k2, -1, -1);
    else if (no_returno)
        troca_sedes(t, e1, e2, -1, -1);
}

void VizinhancaCompacta::troca_sedes(int t, int p1, int q1, int p2, int q2)
{
    // Each swap's change of distance comes from the legs around its two places; the second
    // swap is read through the first, as the two may share a leg (the turn's, between the
    // turno's last place and the returno's first).
    const std::int32_t* s = sequencias_.sedes(t);
    auto depois_da_primeira = [&](int k) { return k == p1 ? s[q1] : k == q1 ? s[p1] : s[k]; };
    auto delta_troca = [&](int p, int q, auto sede) {
        const int x = sede(p);
        const int y = sede(q);
        const int antes = sede(p - 1);
        const int depois = sede(q + 1);
        if (q == p + 1) return d_(antes, y) + d_(y, x) + d_(x, depois) - d_(antes, x) - d_(x, y) - d_(y, depois);
        const int a = sede(p + 1);
        const int b = sede(q - 1);
        return d_(antes, y) + d_(y, a) + d_(b, x) + d_(x, depois) - d_(antes, x) - d_(x, a) - d_(b, y) - d_(y, depois);
    };
    const auto i = static_cast<std::size_t>(t);
    Mudanca& mudanca = mudancas_[static_cast<std::size_t>(num_mudancas_)];
    mudanca.time = t;
    mudanca.inteira = false;
    mudanca.num_posicoes = 0;
    std::int64_t distancia = parcelas_[i].distancia;
    bool mesma_mascara = true;
    Palavra* m = rascunho_.mascara(t);
    std::copy_n(sequencias_.mascara(t), sequencias_.palavras(), m);
    auto troca = [&](int p, int q, std::int64_t delta) {
        const int x = s[p];
        const int y = s[q];
        distancia += delta;
        mudanca.posicoes[mudanca.num_posicoes] = p;
        mudanca.sedes[mudanca.num_posicoes++] = y;
        mudanca.posicoes[mudanca.num_posicoes] = q;
        mudanca.sedes[mudanca.num_posicoes++] = x;
        if ((x == t) != (y == t)) {
            mesma_mascara = false;
            poe_bit(m, p, y == t);
            poe_bit(m, q, x == t);
        }
    };
    troca(p1, q1, delta_troca(p1, q1, [&](int k) { return s[k]; }));
    if (p2 >= 0) troca(p2, q2, delta_troca(p2, q2, depois_da_primeira));
    mudanca.mesma_mascara = mesma_mascara;
    if (mesma_mascara) {
        mudanca.valores = parcelas_[i];
        mudanca.valores.distancia = distancia;
    } else {
        mudanca.valores = sequencias_.parcela(m, distancia);
    }
    registra(mudanca);
}

void VizinhancaCompacta::muda_mando(const Movimento& m)
{
    const Jogo j = rodizio_.jogo(m.a, m.b);
    const int casa = j.mandante();
    const int fora = j.visitante();
    if (temporada()) {
        // The game and its mirror in the returno exchange their venues.
        for (const int t : {casa, fora}) {
            const int k = lugar(t, m.a);
            troca_sedes(t, k, espelho(k, rodizio_.folga_de(t)), -1, -1);
        }
        return;
    }
    muda_sedes(casa, 1, lugar(casa, m.a), fora, 0, 0);
    muda_sedes(fora, 1, lugar(fora, m.a), fora, 0, 0);
}

void VizinhancaCompacta::muda_rodadas(const Movimento& m)
{
    if (m.tipo == Movimento::Tipo::troca_rodadas) {
        for (int t = 1; t <= num_times_; ++t) troca_duas_rodadas(t, m.a, m.b);
    } else {
        for (const int t : rodizio_.cadeia())
            if (t <= num_times_) troca_duas_rodadas(t, m.a, m.b);
    }
}

void VizinhancaCompacta::muda_times(const Movimento& m)
{
    // The teams the two met meet the other one, at the same venue when at home, at the
    // other's when away.
    for (int t = 1; t <= num_times_; ++t) {
        if (t == m.a || t == m.b) continue;
        const std::int32_t* s = sequencias_.sedes(t);
        int num = 0;
        int p[2] = {};
        int v[2] = {};
        for (const int x : {m.a, m.b}) {
            const int k = lugar(t, rodizio_.rodada_do_par(t, x));
            if (s[k] == x) {
                p[num] = k;
                v[num++] = x == m.a ? m.b : m.a;
            } else if (temporada()) {
                // At home in the turno: in the returno it visits the other one.
                p[num] = espelho(k, rodizio_.folga_de(t));
                v[num++] = x == m.a ? m.b : m.a;
            }
        }
        muda_sedes(t, num, p[0], v[0], p[1], v[1]);
    }
}

void VizinhancaCompacta::muda_times_parcial(const Movimento& m)
{
    // A team may meet both of them in the rounds of the chain: its changes are gathered
    // first, then worked out together.
    times_juntados_.clear();
    for (const int r : rodizio_.cadeia()) {
        for (const int x : {m.a, m.b}) {
            const int t = rodizio_.oponente(r)[x];
            if (t > num_times_) continue;  // the rest
            int k = lugar(t, r);
            if (sequencias_.sedes(t)[k] != x) {
                // At home, it stays at home; in the returno it visits the other one.
                if (!temporada()) continue;
                k = espelho(k, rodizio_.folga_de(t));
            }
            const auto i = static_cast<std::size_t>(t);
            if (junta_[i] != marca_atual_) {
                junta_[i] = marca_atual_;
                num_juntas_[i] = 0;
                times_juntados_.push_back(t);
            }
            junta_posicao_[2 * i + static_cast<std::size_t>(num_juntas_[i])] = k;
            junta_sede_[2 * i + static_cast<std::size_t>(num_juntas_[i])] = x == m.a ? m.b : m.a;
            ++num_juntas_[i];
        }
    }
    for (const int t : times_juntados_) {
        const auto i = static_cast<std::size_t>(t);
        muda_sedes(t, num_juntas_[i], junta_posicao_[2 * i], junta_sede_[2 * i], junta_posicao_[2 * i + 1],
                   junta_sede_[2 * i + 1]);
    }
}

void VizinhancaCompacta::fecha_extremos()
{
    // Largest and smallest distance travelled: from the changed teams and the earlier ends,
    // unless a changed team held an end, when every team is looked at.
    Extremos extremos = extremos_;
    bool varre = false;
    for (int k = 0; k < num_mudancas_; ++k) {
        const Mudanca& mudanca = mudancas_[static_cast<std::size_t>(k)];
        const std::int64_t antes = parcelas_[static_cast<std::size_t>(mudanca.time)].distancia;
        varre = varre || antes == extremos_.maior || antes == extremos_.menor;
        extremos.inclui(mudanca.valores.distancia);
    }
    if (varre) {
        extremos = Extremos{};
        for (int t = 1; t <= num_times_; ++t) {
            const auto i = static_cast<std::size_t>(t);
            extremos.inclui(marca_[i] == marca_atual_ ? distancia_candidata_[i] : parcelas_[i].distancia);
        }
    }
    extremos_candidatos_ = extremos;
    totais_candidatos_[Inviabilidade::diferenca_distancia] = extremos.diferenca();
}

double VizinhancaCompacta::aplica(const Movimento& m, double fo_atual, double temperatura)
{
    rodizio_.prepara(m);
    ++marca_atual_;
    num_mudancas_ = 0;
    antecipado_ = false;
    requisitos_.descarta();
    partida_.descarta();
    if (congeladas_ != nullptr && toca_congelada()) {
        antecipado_ = true;
        return std::numeric_limits<double>::infinity();
    }
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
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: muda_mando(m); break;
    case Movimento::Tipo::troca_rodadas:
    case Movimento::Tipo::troca_parcial_rodadas:
        muda_rodadas(m);
        ultima = m.a == rodada_final_ || m.b == rodada_final_;
        break;
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times:
        // The two teams take each other's games in the rounds of the swap.
        muda_como(m.a, m.b);
        muda_como(m.b, m.a);
        if (m.tipo == Movimento::Tipo::troca_times) {
            muda_times(m);
            ultima = rodizio_.encontro() != rodada_final_;
        } else {
            muda_times_parcial(m);
            ultima = rodizio_.rodada_da_troca(rodada_final_);
        }
        break;
    }
    if (ultima) totais_candidatos_[Inviabilidade::mesmo_estado] = mesmo_estado_na_ultima(true);
    if (!requisitos_.vazio() || !partida_.vazio()) {
        const Palavra* rodadas = rodadas_do_movimento(m);
        if (!requisitos_.vazio()) conta_requisitos_candidatos(requisitos_, Inviabilidade::requisitos, rodadas);
        if (!partida_.vazio()) conta_requisitos_candidatos(partida_, Inviabilidade::mudancas, rodadas);
    }
    fecha_extremos();
    return ponderacao_.fo(totais_candidatos_);
}

void VizinhancaCompacta::confirma()
{
    if (antecipado_) throw std::logic_error("um movimento recusado de antemão não pode ser mantido");
    rodizio_.escreve();
    for (int k = 0; k < num_mudancas_; ++k) {
        const Mudanca& mudanca = mudancas_[static_cast<std::size_t>(k)];
        const int t = mudanca.time;
        if (mudanca.inteira) {
            std::memcpy(sequencias_.sedes(t), rascunho_.sedes(t),
                        sizeof(std::int32_t) * static_cast<std::size_t>(jogos_contados_));
            std::memcpy(sequencias_.mascara(t), rascunho_.mascara(t),
                        sizeof(Palavra) * static_cast<std::size_t>(sequencias_.palavras()));
        } else {
            for (int j = 0; j < mudanca.num_posicoes; ++j) sequencias_.sedes(t)[mudanca.posicoes[j]] = mudanca.sedes[j];
            if (!mudanca.mesma_mascara)
                std::memcpy(sequencias_.mascara(t), rascunho_.mascara(t),
                            sizeof(Palavra) * static_cast<std::size_t>(sequencias_.palavras()));
        }
        parcelas_[static_cast<std::size_t>(t)] = mudanca.valores;
    }
    num_mudancas_ = 0;
    requisitos_.confirma();
    partida_.confirma();
    totais_ = totais_candidatos_;
    extremos_ = extremos_candidatos_;
    atualiza_base_do_limite();
}

}  // namespace kelm
