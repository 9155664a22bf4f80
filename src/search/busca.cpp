#include "search/busca.hpp"

#include "files/calendario.hpp"
#include "files/requisitos.hpp"
#include "model/temporada.hpp"
#include "search/comandos.hpp"
#include "search/execucao.hpp"
#include "search/execucoes.hpp"
#include "search/vizinhancas.hpp"

namespace kelm {

Desfecho confere_busca(const Estado& estado, const OpcoesBusca& opcoes)
{
    const Campeonato& campeonato = estado.campeonato;
    if (!campeonato.dados_carregados) return {false, TipoMensagem::informacao, msg_dados_nao_carregados, {}};
    if (Desfecho d = aceita_returno(campeonato, opcoes.returno); !d.sucesso) return d;
    if (Desfecho d = aceita_busca(campeonato, opcoes.busca); !d.sucesso) return d;
    // The requirements and the calendar in force are held against the rounds of this run
    // before anything changes.
    if (estado.requisitos.em_vigor())
        if (Desfecho d = confere_requisitos(estado.requisitos, campeonato, opcoes.returno); !d.sucesso) return d;
    if (estado.calendario.em_vigor())
        return confere_calendario(estado.calendario, rodadas_da_execucao(campeonato.num_rodadas, opcoes.returno));
    return Desfecho::ok();
}

ResumoBusca executa_busca(Estado& estado, Observador& observador, const OpcoesBusca& opcoes_dadas)
{
    Criterios& criterios = estado.criterios;
    ResumoBusca resumo;
    if (resumo.desfecho = confere_busca(estado, opcoes_dadas); !resumo.desfecho.sucesso) return resumo;
    OpcoesBusca opcoes = opcoes_dadas;
    if (estado.requisitos.em_vigor()) opcoes.requisitos = &estado.requisitos;
    if (estado.calendario.em_vigor()) opcoes.calendario = &estado.calendario;

    estado.execucao.gerador.semeia(opcoes.semente);
    observador.execucao_iniciada();
    // The objectives are asked for before the run is prepared, so that a cancelled choice
    // leaves the earlier result as it was.
    if (!criterios.objetivos_escolhidos) {
        resumo.objetivos_na_execucao = true;
        if (opcoes.escolhe_objetivos) opcoes.escolhe_objetivos();
        if (!criterios.objetivos_escolhidos) return resumo;
    }
    if (opcoes.execucoes > 1) return executa_execucoes(estado, observador, opcoes, resumo.objetivos_na_execucao);
    return corre_execucao(estado, observador, opcoes, resumo.objetivos_na_execucao);
}

}  // namespace kelm
