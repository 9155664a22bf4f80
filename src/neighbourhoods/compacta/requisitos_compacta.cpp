// The compact neighbourhood's view of the planner's requirements: every team's home rounds
// and who meets whom, now and under the pending move, for the requirements' incremental count.

#include <algorithm>

#include "model/temporada.hpp"
#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"

namespace kelm {

void VizinhancaCompacta::casa_por_rodada(const Palavra* posicoes, int folga, Palavra* rodadas) const
{
    const int contadas = rodadas_da_execucao(num_rodadas_, returno_);
    const int palavras = palavras_da_mascara(contadas);
    if (folga < 0) {
        // Every team plays in every round: a game's place in the sequence is its round.
        std::copy_n(posicoes, palavras, rodadas);
        return;
    }
    std::fill(rodadas, rodadas + palavras, Palavra{0});
    int k = 0;
    for (int s = 0; s < contadas; ++s) {
        if (rodada_do_turno(s, num_rodadas_, returno_) == folga) continue;
        if (bit(posicoes, k++)) poe_bit(rodadas, s, true);
    }
}

Encontro VizinhancaCompacta::encontro(int a, int b, int s, bool depois) const
{
    const int r = rodada_do_turno(s, num_rodadas_, returno_);
    const int o = depois ? rodizio_.oponente_novo(a, r) : rodizio_.oponente(r)[a];
    if (o != b) return Encontro::nenhum;
    const bool em_casa_no_turno = depois ? rodizio_.em_casa_depois(a, r) : rodizio_.em_casa(a, r);
    return mandos_do_turno(s, num_rodadas_) == em_casa_no_turno ? Encontro::primeiro_em_casa : Encontro::segundo_em_casa;
}

const Palavra* VizinhancaCompacta::rodadas_do_movimento(const Movimento& m)
{
    const int w = static_cast<int>(rodadas_mudadas_.size());
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

void VizinhancaCompacta::conta_requisitos_candidatos(AvaliadorRequisitos& avaliador, Inviabilidade i,
                                                     const Palavra* rodadas)
{
    // The meetings change only in the rounds of the move, and the home rounds of the teams it
    // reaches where their home games do.
    avaliador.novo_movimento();
    avaliador.toca_rodadas(rodadas);
    for (int k = 0; k < num_mudancas_; ++k) {
        const Mudanca& mudanca = mudancas_[static_cast<std::size_t>(k)];
        if (!mudanca.mesma_mascara)
            casa_por_rodada(rascunho_.mascara(mudanca.time), rodizio_.folga_depois(mudanca.time),
                            avaliador.casa_candidata(mudanca.time));
    }
    totais_candidatos_[i] = avaliador.total_candidato([this](int a, int b, int s) { return encontro(a, b, s, true); });
}

bool VizinhancaCompacta::toca_congelada() const
{
    const std::vector<bool>& congeladas = *congeladas_;
    const auto congelada = [&](int r) { return static_cast<bool>(congeladas[static_cast<std::size_t>(r)]); };
    const Movimento& m = rodizio_.movimento();
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: return congelada(m.a);
    case Movimento::Tipo::troca_rodadas:
    case Movimento::Tipo::troca_parcial_rodadas: return congelada(m.a) || congelada(m.b);
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times:
        for (int r = 0; r < num_rodadas_; ++r)
            if (congelada(r) && rodizio_.rodada_da_troca(r)) return true;
        return false;
    }
    return false;
}

}  // namespace kelm
