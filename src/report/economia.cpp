#include "report/economia.hpp"

#include "evaluation/avaliacao.hpp"

namespace kelm {

std::vector<int> mudados_por_time(const Campeonato& campeonato, const Tabela& tabela, const Tabela& partida)
{
    const int n = campeonato.num_times;
    const auto indice = [n](const Jogo& j) {
        return static_cast<std::size_t>(j.mandante()) * static_cast<std::size_t>(n + 1) + static_cast<std::size_t>(j.visitante());
    };
    std::vector<int> rodada(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1), -1);
    for (int s = 0; s < tabela.linhas(); ++s)
        for (int g = 0; g < tabela.colunas(); ++g)
            if (const Jogo j = tabela[s][g]; !j.vazio()) rodada[indice(j)] = s;
    std::vector<int> mudados(static_cast<std::size_t>(n + 1), 0);
    for (int s = 0; s < partida.linhas(); ++s)
        for (int g = 0; g < partida.colunas(); ++g)
            if (const Jogo j = partida[s][g]; !j.vazio() && rodada[indice(j)] != s) {
                ++mudados[static_cast<std::size_t>(j.mandante())];
                ++mudados[static_cast<std::size_t>(j.visitante())];
            }
    return mudados;
}

Economia economia_obtida(const Campeonato& campeonato, const Criterios& criterios, const Tabela& inicial,
                         const Tabela& obtida, const Requisitos* requisitos, bool replanejamento)
{
    Economia e;
    e.objetivos = criterios.objetivos;
    const Tabela* partida = replanejamento ? &inicial : nullptr;
    e.inicial = explica_tabela(campeonato, inicial, requisitos, partida).contagens;
    e.explicacao_obtida = explica_tabela(campeonato, obtida, requisitos, partida);
    e.obtida = e.explicacao_obtida.contagens;
    e.fo_inicial = calcula_fo(e.inicial, criterios);
    e.fo_obtida = calcula_fo(e.obtida, criterios);
    const double km_inicial = e.inicial[Inviabilidade::distancia_total];
    e.km_economizados = km_inicial - e.obtida[Inviabilidade::distancia_total];
    e.percentual = km_inicial > 0 ? 100.0 * e.km_economizados / km_inicial : 0.0;
    if (replanejamento) e.mudados_por_time = mudados_por_time(campeonato, obtida, inicial);
    return e;
}

}  // namespace kelm
