// The specified search over a whole season: a team's share of the counts taken over its turno
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
    // team at home: under espelhado in the turno's order; under frances the games of the first
    // round (keys below N/2) last.
    const int primeiros =
        returno_ == Returno::frances ? static_cast<int>(std::count_if(chaves, chaves + jogos_, [&](std::int32_t c) {
            return c < vagas_;
        }))
                                     : 0;
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
        const int j = (primeiros + i) % jogos_;
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

// ---- The planner's requirements ------------------------------------------------------------

void VizinhancaPadrao::casa_por_rodada(int t, Palavra* rodadas) const
{
    // At home in a round of the returno where the turno's round has an away game of the team.
    const int turno = tabela_.linhas();
    const int contadas = returno_ == Returno::nenhum ? turno : 2 * turno;
    std::fill(rodadas, rodadas + palavras_da_mascara(contadas), Palavra{0});
    for (int s = 0; s < contadas; ++s) {
        const Controle c = controle_[s < turno ? s : rodada_do_turno(s, turno, returno_)][t];
        if ((s < turno ? c.jogos_casa : c.jogos_fora) > 0) poe_bit(rodadas, s, true);
    }
}

Encontro VizinhancaPadrao::encontro(int a, int b, int s) const
{
    const int turno = tabela_.linhas();
    const int r = s < turno ? s : rodada_do_turno(s, turno, returno_);
    for (int g = 0; g < vagas_; ++g) {
        const Jogo j = tabela_[r][g];
        if (j.vazio() || std::min(a, b) != std::abs(j.time1) || std::max(a, b) != j.time2) continue;
        return (j.mandante() == a) == (s < turno) ? Encontro::primeiro_em_casa : Encontro::segundo_em_casa;
    }
    return Encontro::nenhum;
}

void VizinhancaPadrao::conta_requisitos_candidatos()
{
    requisitos_.novo_movimento();
    for (int i = 0; i < num_mudancas_; ++i) {
        const int t = mudancas_[static_cast<std::size_t>(i)].time;
        requisitos_.toca(t);
        casa_por_rodada(t, requisitos_.casa_candidata(t));
    }
    totais_candidatos_[Inviabilidade::requisitos] =
        requisitos_.total_candidato([this](int a, int b, int s) { return encontro(a, b, s); });
    requisitos_pendentes_ = true;
}

}  // namespace kelm
