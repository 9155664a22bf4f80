// The compact neighbourhood over a whole season: the returno's half of each team's sequence,
// which a move changes where it changes the turno's mirror.

#include <algorithm>
#include <utility>

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

void VizinhancaCompacta::muda_posicoes(int t, int num, const int* p, const int* v)
{
    const auto i = static_cast<std::size_t>(t);
    Mudanca& mudanca = mudancas_[static_cast<std::size_t>(num_mudancas_)];
    mudanca.time = t;
    mudanca.inteira = false;
    mudanca.num_posicoes = num;
    std::copy_n(p, num, mudanca.posicoes);
    std::copy_n(v, num, mudanca.sedes);
    const std::int32_t* s = sequencias_.sedes(t);
    auto nova = [&](int k) {
        for (int j = 0; j < num; ++j)
            if (p[j] == k) return v[j];
        return s[k];
    };
    // The legs into and out of each changed venue, each once.
    std::int64_t distancia = parcelas_[i].distancia;
    int ultima_perna = -1;
    for (int j = 0; j < num; ++j) {
        for (const int perna : {p[j], p[j] + 1}) {
            if (perna <= ultima_perna) continue;
            distancia += d_(nova(perna - 1), nova(perna)) - d_(s[perna - 1], s[perna]);
            ultima_perna = perna;
        }
    }
    const Palavra* antes = sequencias_.mascara(t);
    mudanca.mesma_mascara = true;
    for (int j = 0; j < num; ++j) mudanca.mesma_mascara = mudanca.mesma_mascara && bit(antes, p[j]) == (v[j] == t);
    if (mudanca.mesma_mascara) {
        mudanca.valores = parcelas_[i];
        mudanca.valores.distancia = distancia;
    } else {
        Palavra* m = rascunho_.mascara(t);
        std::copy_n(antes, sequencias_.palavras(), m);
        for (int j = 0; j < num; ++j) poe_bit(m, p[j], v[j] == t);
        mudanca.valores = sequencias_.parcela(m, distancia);
    }
    registra(mudanca);
}

void VizinhancaCompacta::troca_duas_rodadas_na_temporada(int t, int r1, int r2)
{
    // The two rounds' games change places in the turno, and so do their mirrors in the returno.
    const int folga = rodizio_.folga_de(t);
    const std::int32_t* s = sequencias_.sedes(t);
    const int k1 = posicao(r1, folga);
    const int k2 = posicao(r2, folga);
    const int pares[2][2] = {{k1, k2}, {espelho(k1, folga), espelho(k2, folga)}};
    int p[4];
    int v[4];
    int num = 0;
    for (const auto& par : pares) {
        if (s[par[0]] == s[par[1]]) continue;
        p[num] = par[0];
        v[num++] = s[par[1]];
        p[num] = par[1];
        v[num++] = s[par[0]];
    }
    if (num == 0) return;
    // Positions in increasing order, their venues with them.
    for (int a = 1; a < num; ++a)
        for (int b = a; b > 0 && p[b - 1] > p[b]; --b) {
            std::swap(p[b - 1], p[b]);
            std::swap(v[b - 1], v[b]);
        }
    muda_posicoes(t, num, p, v);
}

}  // namespace kelm
