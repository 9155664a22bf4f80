// The compact neighbourhood's lower bound of a move's objective: Inviabilidades 2, 3, 4 and 5
// of the neighbour worked out exactly from the few games they read, Inviabilidades 6 to 9
// taken as able to fall to nothing, and Inviabilidade 1 staying at 0. A move whose bound
// already loses to the temperature is rejected without working out its teams.

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"

namespace kelm {

namespace {

// Whether a team whose first two games are at home (h0, h1) and whose last two are
// (penultimo, ultimo) counts in Inviabilidade 3: a mixed start the end does not repeat.
int fim_conta(bool h0, bool h1, bool penultimo, bool ultimo)
{
    return h0 != h1 && (h0 ? !(penultimo && !ultimo) : !(!penultimo && ultimo)) ? 1 : 0;
}

}  // namespace

void VizinhancaCompacta::atualiza_base_do_limite()
{
    // FO of the schedule as it stands with Inviabilidades 6 to 11 at nothing.
    Totais base = totais_;
    for (const Inviabilidade i : {Inviabilidade::fora_seguidos, Inviabilidade::casa_seguidos,
                                  Inviabilidade::distancia_total, Inviabilidade::diferenca_distancia,
                                  Inviabilidade::requisitos, Inviabilidade::mudancas})
        base[i] = 0;
    base_do_limite_ = ponderacao_.fo_inteira(base);
}

void VizinhancaCompacta::inicio_fim_depois(int t, std::int64_t& inicio, std::int64_t& fim) const
{
    // The team's first two and last two games, in the rounds around its rest.
    const int folga = rodizio_.folga_depois(t);
    int pontas[4];
    int k = 0;
    for (int r = 0; k < 2; ++r)
        if (r != folga) pontas[k++] = r;
    for (int r = num_rodadas_ - 1; k < 4; --r)
        if (r != folga) pontas[5 - k++] = r;
    const bool h0 = rodizio_.em_casa_depois(t, pontas[0]);
    const bool h1 = rodizio_.em_casa_depois(t, pontas[1]);
    inicio = h0 == h1 ? 1 : 0;
    if (!temporada()) {
        fim = fim_conta(h0, h1, rodizio_.em_casa_depois(t, pontas[2]), rodizio_.em_casa_depois(t, pontas[3]));
        return;
    }
    // The season ends with the mirrors of the games that the returno's last two places bring
    // back: at home where the turno was away.
    const int penultima = rodada_do_lugar(lugar_do_turno(jogos_ - 2, folga), folga);
    const int ultima = rodada_do_lugar(lugar_do_turno(jogos_ - 1, folga), folga);
    fim = fim_conta(h0, h1, !rodizio_.em_casa_depois(t, penultima), !rodizio_.em_casa_depois(t, ultima));
}

void VizinhancaCompacta::refaz_pontas(int t, Pontas& pontas) const
{
    const Parcela& p = parcelas_[static_cast<std::size_t>(t)];
    std::int64_t inicio = 0;
    std::int64_t fim = 0;
    inicio_fim_depois(t, inicio, fim);
    pontas.inicio += inicio - p.inicio;
    pontas.fim += fim - p.fim;
}

void VizinhancaCompacta::limite_de_rodadas(Pontas& pontas) const
{
    // The home games stay; the first and last two games change where one of the rounds is
    // among them, or where a rest moves. With a rest, the third round and the third from last
    // may be among a team's first or last two.
    const Movimento& m = rodizio_.movimento();
    const int margem = rodizio_.folga() == 0 ? 2 : 3;
    auto nas_pontas = [&](int r) { return r < margem || r >= num_rodadas_ - margem; };
    const bool mexe_pontas = nas_pontas(m.a) || nas_pontas(m.b);
    for (int t = 1; t <= num_times_; ++t) {
        const auto i = static_cast<std::size_t>(t);
        if (m.tipo == Movimento::Tipo::troca_parcial_rodadas && !rodizio_.time_na_cadeia(t)) continue;
        if (rodizio_.folga() == 0 && mexe_pontas && !temporada()) {
            // Without rests a round is a place in the sequence: the two bits change places.
            const Palavra* mascara = sequencias_.mascara(t);
            auto casa = [&](int k) { return bit(mascara, k == m.a ? m.b : k == m.b ? m.a : k); };
            const bool h0 = casa(0);
            const bool h1 = casa(1);
            pontas.inicio += (h0 == h1 ? 1 : 0) - parcelas_[i].inicio;
            pontas.fim += fim_conta(h0, h1, casa(jogos_ - 2), casa(jogos_ - 1)) - parcelas_[i].fim;
        } else if (mexe_pontas || rodizio_.folga_de(t) == m.a || rodizio_.folga_de(t) == m.b) {
            refaz_pontas(t, pontas);
        }
    }
    if (m.a == rodada_final_ || m.b == rodada_final_) pontas.mesmo_estado = mesmo_estado_na_ultima(true);
}

void VizinhancaCompacta::limite_de_times(Pontas& pontas) const
{
    // Only the two teams change their venues' pattern; the others meet one of them where they
    // met the other. Each takes the other's home games of the rounds of the swap.
    const Movimento& m = rodizio_.movimento();
    int casa_a = parcelas_[static_cast<std::size_t>(m.a)].casa;
    int casa_b = parcelas_[static_cast<std::size_t>(m.b)].casa;
    auto em_casa = [&](int t, int r) { return rodizio_.em_casa(t, r) ? 1 : 0; };
    if (m.tipo == Movimento::Tipo::troca_times) {
        std::swap(casa_a, casa_b);
        const int diferenca = em_casa(m.a, rodizio_.encontro()) - em_casa(m.b, rodizio_.encontro());
        casa_a += diferenca;
        casa_b -= diferenca;
    } else {
        for (const int r : rodizio_.cadeia()) {
            const int diferenca = em_casa(m.b, r) - em_casa(m.a, r);
            casa_a += diferenca;
            casa_b -= diferenca;
        }
    }
    // Over a season every team has as many home games as away ones, whatever the move.
    for (const auto& [t, casa] : {std::pair{m.a, casa_a}, std::pair{m.b, casa_b}})
        if (!temporada())
            pontas.mandos += std::abs(2 * casa - jogos_) - std::abs(2 * parcelas_[static_cast<std::size_t>(t)].casa - jogos_);
    refaz_pontas(m.a, pontas);
    refaz_pontas(m.b, pontas);
    const int ultima = rodada_final_;
    if (rodizio_.rodada_da_troca(ultima)) {
        auto mesmo = [&](int x, int y) {
            return x <= num_times_ && y <= num_times_ && d_(std::min(x, y), std::max(x, y)) == 0 ? 1 : 0;
        };
        const int oa = rodizio_.oponente(ultima)[m.a];
        const int ob = rodizio_.oponente(ultima)[m.b];
        pontas.mesmo_estado += mesmo(m.b, oa) + mesmo(m.a, ob) - mesmo(m.a, oa) - mesmo(m.b, ob);
    }
}

std::int64_t VizinhancaCompacta::limite_inferior() const
{
    const Movimento& m = rodizio_.movimento();
    Pontas pontas{totais_[Inviabilidade::inicio], totais_[Inviabilidade::fim], totais_[Inviabilidade::mandos],
                  totais_[Inviabilidade::mesmo_estado]};
    switch (m.tipo) {
    case Movimento::Tipo::troca_mando: {
        // The home team loses a home game, the other gains one.
        const Jogo j = rodizio_.jogo(m.a, m.b);
        for (const auto& [t, mais] : {std::pair{j.mandante(), -1}, std::pair{j.visitante(), 1}}) {
            if (temporada()) break;  // the returno gives back what the turno takes
            const int casa = parcelas_[static_cast<std::size_t>(t)].casa;
            pontas.mandos += std::abs(2 * (casa + mais) - jogos_) - std::abs(2 * casa - jogos_);
        }
        const int margem = rodizio_.folga() == 0 ? 2 : 3;
        if (m.a < margem || m.a >= num_rodadas_ - margem) {
            refaz_pontas(j.mandante(), pontas);
            refaz_pontas(j.visitante(), pontas);
        }
        break;
    }
    case Movimento::Tipo::troca_rodadas:
    case Movimento::Tipo::troca_parcial_rodadas: limite_de_rodadas(pontas); break;
    case Movimento::Tipo::troca_times:
    case Movimento::Tipo::troca_parcial_times: limite_de_times(pontas); break;
    }
    return base_do_limite_ + ponderacao_.fator(Inviabilidade::inicio) * (pontas.inicio - totais_[Inviabilidade::inicio]) +
           ponderacao_.fator(Inviabilidade::fim) * (pontas.fim - totais_[Inviabilidade::fim]) +
           ponderacao_.fator(Inviabilidade::mandos) * (pontas.mandos - totais_[Inviabilidade::mandos]) +
           ponderacao_.fator(Inviabilidade::mesmo_estado) *
               (pontas.mesmo_estado - totais_[Inviabilidade::mesmo_estado]);
}

}  // namespace kelm
