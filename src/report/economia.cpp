#include "report/economia.hpp"

#include "evaluation/avaliacao.hpp"

namespace kelm {

Economia economia_obtida(const Campeonato& campeonato, const Criterios& criterios, const Tabela& inicial,
                         const Tabela& obtida, const Requisitos* requisitos)
{
    Economia e;
    e.objetivos = criterios.objetivos;
    e.inicial = explica_tabela(campeonato, inicial, requisitos).contagens;
    e.explicacao_obtida = explica_tabela(campeonato, obtida, requisitos);
    e.obtida = e.explicacao_obtida.contagens;
    e.fo_inicial = calcula_fo(e.inicial, criterios);
    e.fo_obtida = calcula_fo(e.obtida, criterios);
    const double km_inicial = e.inicial[Inviabilidade::distancia_total];
    e.km_economizados = km_inicial - e.obtida[Inviabilidade::distancia_total];
    e.percentual = km_inicial > 0 ? 100.0 * e.km_economizados / km_inicial : 0.0;
    return e;
}

}  // namespace kelm
