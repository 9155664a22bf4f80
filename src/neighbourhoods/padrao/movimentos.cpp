#include "neighbourhoods/padrao/movimentos.hpp"

namespace kelm {

int troca_jogos(Tabela& tabela, Matriz<Controle>& controle, int r1, int g1, int r2, int g2)
{
    const Jogo a = tabela[r1][g1];
    const Jogo b = tabela[r2][g2];
    tabela[r1][g1] = b;
    tabela[r2][g2] = a;
    return conta_jogo(controle[r1], a, -1) + conta_jogo(controle[r2], a, +1) + conta_jogo(controle[r2], b, -1) +
           conta_jogo(controle[r1], b, +1);
}

void troca_mando(Tabela& tabela, Matriz<Controle>& controle, int r, int g)
{
    Jogo& jogo = tabela[r][g];
    conta_jogo(controle[r], jogo, -1);
    jogo.time1 = -jogo.time1;
    conta_jogo(controle[r], jogo, +1);
}

SorteioMovimentos::SorteioMovimentos(const Campeonato& campeonato, Fase fase)
    : troca_jogos_(fase == Fase::primeira),
      rodadas_(static_cast<std::uint32_t>(campeonato.num_rodadas)),
      vagas_(static_cast<std::uint32_t>(campeonato.jogos_por_rodada()))
{
}

Movimento SorteioMovimentos::sorteia(Gerador& gerador) const
{
    Movimento m;
    m.tipo = troca_jogos_ ? static_cast<Movimento::Tipo>(gerador.sorteia_inteiro(2)) : Movimento::Tipo::troca_mando;
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

void aplica_movimento(Tabela& tabela, Matriz<Controle>& controle, const Movimento& m)
{
    if (m.tipo == Movimento::Tipo::troca_jogos)
        troca_jogos(tabela, controle, m.r1, m.g1, m.r2, m.g2);
    else
        troca_mando(tabela, controle, m.r1, m.g1);
}

}  // namespace kelm
