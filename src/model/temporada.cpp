#include "model/temporada.hpp"

#include <algorithm>
#include <utility>
#include <vector>

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

namespace {

// The games of round s of `tabela`, each as the generators write it, in one order.
std::vector<Jogo> jogos_da_rodada(const Tabela& tabela, int s, bool inverte)
{
    std::vector<Jogo> jogos;
    for (int g = 0; g < tabela.colunas(); ++g) {
        const Jogo j = tabela[s][g];
        if (j.vazio()) continue;
        jogos.push_back(inverte ? jogo_entre(j.visitante(), j.mandante()) : jogo_entre(j.mandante(), j.visitante()));
    }
    std::sort(jogos.begin(), jogos.end(),
              [](const Jogo& a, const Jogo& b) { return std::pair{a.time1, a.time2} < std::pair{b.time1, b.time2}; });
    return jogos;
}

}  // namespace

std::optional<Returno> esquema_da_temporada(const Tabela& tabela, int num_rodadas)
{
    if (tabela.linhas() == num_rodadas) return Returno::nenhum;
    if (tabela.linhas() != rodadas_da_temporada(num_rodadas)) return std::nullopt;
    for (const Returno esquema : {Returno::espelhado, Returno::frances}) {
        bool segue = true;
        for (int s = num_rodadas; segue && s < tabela.linhas(); ++s)
            segue = jogos_da_rodada(tabela, s, false) == jogos_da_rodada(tabela, rodada_do_turno(s, num_rodadas, esquema), true);
        if (segue) return esquema;
    }
    return std::nullopt;
}

Tabela turno_da_temporada(const Tabela& temporada, int num_rodadas)
{
    Tabela turno = aloca_matriz_jogos(num_rodadas, temporada.colunas());
    for (int r = 0; r < num_rodadas; ++r)
        for (int g = 0; g < temporada.colunas(); ++g) turno[r][g] = temporada[r][g];
    return turno;
}

Temporada temporada_de(const Campeonato& campeonato, const Tabela& turno, Returno returno)
{
    // A season that follows no scheme is kept whole, its 2R rounds as they are.
    if (returno == Returno::nenhum && turno.linhas() > campeonato.num_rodadas)
        return {campeonato_da_temporada(campeonato, Returno::espelhado), turno, campeonato.num_rodadas};
    return {campeonato_da_temporada(campeonato, returno), tabela_da_temporada(turno, returno),
            returno == Returno::nenhum ? 0 : turno.linhas()};
}

}  // namespace kelm
