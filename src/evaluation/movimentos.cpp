#include "evaluation/movimentos.hpp"

namespace kelm {

namespace {

// Adds `sinal` (+1 or -1) to the home and away counts of the game's teams in round r.
inline void conta_jogo(Controle* rodada, const Jogo& jogo, int sinal)
{
    if (jogo.time1 > 0) {
        rodada[jogo.time1].jogos_casa += sinal;
        rodada[jogo.time2].jogos_fora += sinal;
    } else if (jogo.time1 < 0) {
        rodada[-jogo.time1].jogos_fora += sinal;
        rodada[jogo.time2].jogos_casa += sinal;
    }
}

}  // namespace

void troca_jogos(Estado& estado, Tabela& tabela, int r1, int g1, int r2, int g2)
{
    const Jogo a = tabela[r1][g1];
    const Jogo b = tabela[r2][g2];
    tabela[r1][g1] = b;
    tabela[r2][g2] = a;
    conta_jogo(estado.matriz_controle[r1], a, -1);
    conta_jogo(estado.matriz_controle[r2], a, +1);
    conta_jogo(estado.matriz_controle[r2], b, -1);
    conta_jogo(estado.matriz_controle[r1], b, +1);
}

void troca_mando(Estado& estado, Tabela& tabela, int r, int g)
{
    Jogo& jogo = tabela[r][g];
    Controle* rodada = estado.matriz_controle[r];
    conta_jogo(rodada, jogo, -1);
    jogo.time1 = -jogo.time1;
    conta_jogo(rodada, jogo, +1);
}

Movimento sorteia_movimento(Estado& estado)
{
    return SorteioMovimentos(estado).sorteia(estado.gerador);
}

SorteioMovimentos::SorteioMovimentos(const Estado& estado)
    : primeira_fase_(estado.primeira_fase),
      rodadas_(static_cast<std::uint32_t>(estado.num_rodadas)),
      vagas_(static_cast<std::uint32_t>(estado.jogos_por_rodada()))
{
}

Movimento SorteioMovimentos::sorteia(Gerador& gerador) const
{
    Movimento m;
    m.tipo = primeira_fase_ ? static_cast<Movimento::Tipo>(gerador.sorteia_inteiro(2)) : Movimento::Tipo::troca_mando;
    if (m.tipo == Movimento::Tipo::troca_jogos) {
        do {
            m.r1 = gerador.sorteia_inteiro(rodadas_);
            m.r2 = gerador.sorteia_inteiro(rodadas_);
        } while (m.r1 == m.r2);
        m.g1 = gerador.sorteia_inteiro(vagas_);
        m.g2 = gerador.sorteia_inteiro(vagas_);
    } else {
        m.r1 = gerador.sorteia_inteiro(rodadas_);
        m.g1 = gerador.sorteia_inteiro(vagas_);
    }
    return m;
}

void aplica_movimento(Estado& estado, const Movimento& m)
{
    if (m.tipo == Movimento::Tipo::troca_jogos)
        troca_jogos(estado, estado.tabela_atual, m.r1, m.g1, m.r2, m.g2);
    else
        troca_mando(estado, estado.tabela_atual, m.r1, m.g1);
}

}  // namespace kelm
