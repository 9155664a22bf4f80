// The padrao neighbourhood's view of the planner's requirements: every team's home rounds and
// who meets whom in the schedule as it stands, for the requirements' incremental count.

#include <algorithm>
#include <cstdlib>

#include "model/temporada.hpp"
#include "neighbourhoods/padrao/vizinhanca_padrao.hpp"

namespace kelm {

void VizinhancaPadrao::casa_por_rodada(int t, Palavra* rodadas) const
{
    // At home in a round of the returno where the turno's round has an away game of the team.
    const int turno = tabela_.linhas();
    const int contadas = rodadas_da_execucao(turno, returno_);
    std::fill(rodadas, rodadas + palavras_da_mascara(contadas), Palavra{0});
    for (int s = 0; s < contadas; ++s) {
        const Controle c = controle_[rodada_do_turno(s, turno, returno_)][t];
        if ((mandos_do_turno(s, turno) ? c.jogos_casa : c.jogos_fora) > 0) poe_bit(rodadas, s, true);
    }
}

Encontro VizinhancaPadrao::encontro(int a, int b, int s) const
{
    const int turno = tabela_.linhas();
    const int r = rodada_do_turno(s, turno, returno_);
    for (int g = 0; g < vagas_; ++g) {
        const Jogo j = tabela_[r][g];
        if (j.vazio() || std::min(a, b) != std::abs(j.time1) || std::max(a, b) != j.time2) continue;
        return (j.mandante() == a) == mandos_do_turno(s, turno) ? Encontro::primeiro_em_casa : Encontro::segundo_em_casa;
    }
    return Encontro::nenhum;
}

void VizinhancaPadrao::conta_requisitos_candidatos(AvaliadorRequisitos& avaliador, Inviabilidade i)
{
    avaliador.novo_movimento();
    for (int k = 0; k < num_mudancas_; ++k) {
        const int t = mudancas_[static_cast<std::size_t>(k)].time;
        avaliador.toca(t);
        casa_por_rodada(t, avaliador.casa_candidata(t));
    }
    totais_candidatos_[i] = avaliador.total_candidato([this](int a, int b, int s) { return encontro(a, b, s); });
}

bool VizinhancaPadrao::toca_congelada(const Movimento& m) const
{
    // A round changes where the move puts a game other than the one it held.
    const std::vector<bool>& congeladas = *congeladas_;
    if (m.tipo == Movimento::Tipo::troca_mando) return congeladas[static_cast<std::size_t>(m.r1)] && !tabela_[m.r1][m.g1].vazio();
    if (tabela_[m.r1][m.g1] == tabela_[m.r2][m.g2]) return false;
    return congeladas[static_cast<std::size_t>(m.r1)] || congeladas[static_cast<std::size_t>(m.r2)];
}

}  // namespace kelm
