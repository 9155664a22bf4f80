// The compact neighbourhood over a whole season: the returno's half of each team's sequence,
// which a move changes where it changes the turno's mirror.

#include <algorithm>
#include <utility>

#include "model/temporada.hpp"
#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"

namespace kelm {

void VizinhancaCompacta::espelha_inteira(int t, int folga, std::int32_t* s, Palavra* m, std::int64_t& distancia)
{
    const bool primeira_por_ultimo = returno_ == Returno::frances && folga != 0;
    for (int j = 0; j < jogos_; ++j) {
        const int k = primeira_por_ultimo ? (j == jogos_ - 1 ? 0 : j + 1) : j;  // its place in the turno
        const int r = folga >= 0 && k >= folga ? k + 1 : k;                      // and its round
        const int sede = s[k] == t ? rodizio_.oponente_novo(t, r) : t;
        const int e = jogos_ + j;
        s[e] = sede;
        poe_bit(m, e, sede == t);
        distancia += d_(s[e - 1], sede);
    }
}

void VizinhancaCompacta::troca_duas_rodadas_na_temporada(int t, int r1, int r2)
{
    // The two rounds' games change places in the turno, and so do their mirrors in the returno.
    const int folga = rodizio_.folga_de(t);
    const std::int32_t* s = sequencias_.sedes(t);
    int k1 = posicao(r1, folga);
    int k2 = posicao(r2, folga);
    if (k1 > k2) std::swap(k1, k2);
    int e1 = espelho(k1, folga);
    int e2 = espelho(k2, folga);
    if (e1 > e2) std::swap(e1, e2);
    const bool no_turno = s[k1] != s[k2];
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

// ---- The planner's requirements ------------------------------------------------------------

void VizinhancaCompacta::casa_por_rodada(const Palavra* posicoes, int folga, Palavra* rodadas) const
{
    const int contadas = temporada() ? 2 * num_rodadas_ : num_rodadas_;
    const int palavras = palavras_da_mascara(contadas);
    if (folga < 0) {
        // Every team plays in every round: a game's place in the sequence is its round.
        std::copy_n(posicoes, palavras, rodadas);
        return;
    }
    std::fill(rodadas, rodadas + palavras, Palavra{0});
    int k = 0;
    for (int s = 0; s < contadas; ++s) {
        if ((temporada() ? rodada_do_turno(s, num_rodadas_, returno_) : s) == folga) continue;
        if (bit(posicoes, k++)) poe_bit(rodadas, s, true);
    }
}

Encontro VizinhancaCompacta::encontro(int a, int b, int s, bool depois) const
{
    const int r = s < num_rodadas_ ? s : rodada_do_turno(s, num_rodadas_, returno_);
    const int o = depois ? rodizio_.oponente_novo(a, r) : rodizio_.oponente(r)[a];
    if (o != b) return Encontro::nenhum;
    const bool em_casa_no_turno = depois ? rodizio_.em_casa_depois(a, r) : rodizio_.em_casa(a, r);
    return (s < num_rodadas_) == em_casa_no_turno ? Encontro::primeiro_em_casa : Encontro::segundo_em_casa;
}

const Palavra* VizinhancaCompacta::rodadas_do_movimento(const Movimento& m)
{
    const int w = requisitos_.palavras();
    Palavra* mudadas = rodadas_mudadas_.data();
    const auto inclui = [&](int r) {
        const Palavra* dela = rodadas_do_turno_.data() + static_cast<std::size_t>(r * w);
        for (int i = 0; i < w; ++i) mudadas[i] |= dela[i];
    };
    std::fill(mudadas, mudadas + w, Palavra{0});
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: inclui(m.a); break;
    case Movimento::Tipo::troca_rodadas:
    case Movimento::Tipo::troca_parcial_rodadas:
        inclui(m.a);
        inclui(m.b);
        break;
    case Movimento::Tipo::troca_parcial_times:
        for (const int r : rodizio_.cadeia()) inclui(r);
        break;
    case Movimento::Tipo::troca_times: std::fill(mudadas, mudadas + w, ~Palavra{0}); break;
    }
    return mudadas;
}

void VizinhancaCompacta::conta_requisitos_candidatos(const Movimento& m)
{
    // The meetings change only in the rounds of the move, and the home rounds of the teams it
    // reaches where their home games do.
    requisitos_.novo_movimento();
    requisitos_.toca_rodadas(rodadas_do_movimento(m));
    for (int k = 0; k < num_mudancas_; ++k) {
        const Mudanca& mudanca = mudancas_[static_cast<std::size_t>(k)];
        if (!mudanca.mesma_mascara)
            casa_por_rodada(rascunho_.mascara(mudanca.time), rodizio_.folga_depois(mudanca.time),
                            requisitos_.casa_candidata(mudanca.time));
    }
    totais_candidatos_[Inviabilidade::requisitos] =
        requisitos_.total_candidato([this](int a, int b, int s) { return encontro(a, b, s, true); });
    requisitos_pendentes_ = true;
}

}  // namespace kelm
