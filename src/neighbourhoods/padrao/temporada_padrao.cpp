// The padrao search over a whole season: a team's share of the counts taken over its turno
// and its returno, laid out again from its turno whenever a move changes it.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "model/temporada.hpp"
#include "neighbourhoods/padrao/vizinhanca_padrao.hpp"

namespace kelm {

Parcela VizinhancaPadrao::parcela_da_temporada(int t, const std::int32_t* chaves, const std::int32_t* sedes,
                                              const std::int32_t* oponentes)
{
    // The returno brings the turno's games back in its rounds' order, each with the other
    // team at home. The keys are in schedule order: the games of the first round (keys below
    // N/2) come first.
    int na_primeira = 0;
    while (na_primeira < jogos_ && chaves[na_primeira] < vagas_) ++na_primeira;
    Palavra* m = mascara_temporada_.data();
    std::fill(mascara_temporada_.begin(), mascara_temporada_.end(), Palavra{0});
    std::int64_t distancia = 0;
    int onde = t;
    int k = 0;
    auto joga = [&](int sede) {
        poe_bit(m, k++, sede == t);
        distancia += d_(onde, sede);
        onde = sede;
    };
    for (int j = 0; j < jogos_; ++j) joga(sedes[j]);
    for (int i = 0; i < jogos_; ++i) {
        const int j = lugar_no_turno(i, jogos_, returno_, na_primeira);
        joga(sedes[j] == t ? oponentes[j] : t);
    }
    return parcela_da_mascara(m, static_cast<int>(mascara_temporada_.size()), 2 * jogos_,
                              bits_da_ultima_palavra(2 * jogos_), distancia);
}

Parcela VizinhancaPadrao::parcela_candidata_da_temporada(const Mudanca& mud, int idx)
{
    // The team's turno entries as the pending change leaves them, laid out aside.
    const int t = mud.time;
    const auto l = static_cast<std::size_t>(jogos_);
    std::int32_t* c = candidatas_.data() + static_cast<std::size_t>(idx) * 3 * l;
    std::int32_t* s = c + l;
    std::int32_t* o = s + l;
    std::memcpy(c, chaves(t), sizeof(*c) * l);
    std::memcpy(s, sequencias_.sedes(t), sizeof(*s) * l);
    std::memcpy(o, oponentes(t), sizeof(*o) * l);
    aplica_mudanca(mud, c, s, o);
    return parcela_da_temporada(t, c, s, o);
}

}  // namespace kelm
