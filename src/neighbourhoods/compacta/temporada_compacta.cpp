// The compact neighbourhood over a whole season: the returno's half of each team's sequence,
// which a move changes where it changes the turno's mirror.

#include <algorithm>
#include <utility>

#include "model/temporada.hpp"
#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"

namespace kelm {

void VizinhancaCompacta::espelha_inteira(int t, int folga, std::int32_t* s, Palavra* m, std::int64_t& distancia)
{
    for (int j = 0; j < jogos_; ++j) {
        const int k = lugar_do_turno(j, folga);  // its place in the turno
        const int r = rodada_do_lugar(k, folga);  // and its round
        const int sede = s[k] == t ? rodizio_.oponente_novo(t, r) : t;
        const int e = jogos_ + j;
        s[e] = sede;
        poe_bit(m, e, sede == t);
        distancia += d_(s[e - 1], sede);
    }
}

}  // namespace kelm
