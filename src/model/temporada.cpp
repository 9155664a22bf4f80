#include "model/temporada.hpp"

namespace kelm {

Campeonato campeonato_da_temporada(const Campeonato& campeonato, Returno returno)
{
    Campeonato temporada = campeonato;
    if (returno == Returno::nenhum) return temporada;
    temporada.num_rodadas = 2 * campeonato.num_rodadas;
    temporada.voltas = 2;
    return temporada;
}

Tabela tabela_da_temporada(const Tabela& turno, Returno returno)
{
    if (returno == Returno::nenhum) return turno;
    const int num_rodadas = turno.linhas();
    Tabela temporada = aloca_matriz_jogos(2 * num_rodadas, turno.colunas());
    for (int s = 0; s < 2 * num_rodadas; ++s) {
        const int r = rodada_do_turno(s, num_rodadas, returno);
        for (int g = 0; g < turno.colunas(); ++g)
            temporada[s][g] = s < num_rodadas ? turno[r][g] : jogo_do_returno(turno[r][g]);
    }
    return temporada;
}

Temporada temporada_de(const Campeonato& campeonato, const Tabela& turno, Returno returno)
{
    return {campeonato_da_temporada(campeonato, returno), tabela_da_temporada(turno, returno),
            returno == Returno::nenhum ? 0 : turno.linhas()};
}

}  // namespace kelm
