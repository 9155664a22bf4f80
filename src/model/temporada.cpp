#include "model/temporada.hpp"

namespace kelm {

Campeonato campeonato_da_temporada(const Campeonato& campeonato, Returno returno)
{
    Campeonato temporada = campeonato;
    temporada.num_rodadas = rodadas_da_execucao(campeonato.num_rodadas, returno);
    temporada.voltas = voltas_da_execucao(returno);
    return temporada;
}

Tabela tabela_da_temporada(const Tabela& turno, Returno returno)
{
    if (returno == Returno::nenhum) return turno;
    const int num_rodadas = turno.linhas();
    Tabela temporada = aloca_matriz_jogos(rodadas_da_execucao(num_rodadas, returno), turno.colunas());
    for (int s = 0; s < temporada.linhas(); ++s) {
        const int r = rodada_do_turno(s, num_rodadas, returno);
        const bool mandos = mandos_do_turno(s, num_rodadas);
        for (int g = 0; g < turno.colunas(); ++g) temporada[s][g] = mandos ? turno[r][g] : jogo_do_returno(turno[r][g]);
    }
    return temporada;
}

Temporada temporada_de(const Campeonato& campeonato, const Tabela& turno, Returno returno)
{
    return {campeonato_da_temporada(campeonato, returno), tabela_da_temporada(turno, returno),
            returno == Returno::nenhum ? 0 : turno.linhas()};
}

}  // namespace kelm
