#include "search/busca.hpp"

#include "files/calendario.hpp"
#include "files/requisitos.hpp"
#include "model/temporada.hpp"
#include "search/comandos.hpp"
#include "search/execucao.hpp"
#include "search/execucoes.hpp"
#include "search/vizinhancas.hpp"

namespace kelm {

ResumoBusca executa_busca(Estado& estado, Observador& observador, const OpcoesBusca& opcoes_dadas)
{
    const Campeonato& campeonato = estado.campeonato;
    Criterios& criterios = estado.criterios;
    ResumoBusca resumo;
    if (!campeonato.dados_carregados) {
        resumo.desfecho = {false, TipoMensagem::informacao, msg_dados_nao_carregados, {}};
        return resumo;
    }
    if (resumo.desfecho = aceita_returno(campeonato, opcoes_dadas.returno); !resumo.desfecho.sucesso) return resumo;
    resumo.desfecho = aceita_busca(campeonato, opcoes_dadas.busca);
    if (!resumo.desfecho.sucesso) return resumo;
    // The requirements in force are held against the rounds of this run before anything changes.
    OpcoesBusca opcoes = opcoes_dadas;
    if (estado.requisitos.em_vigor()) {
        resumo.desfecho = confere_requisitos(estado.requisitos, campeonato, opcoes.returno);
        if (!resumo.desfecho.sucesso) return resumo;
        opcoes.requisitos = &estado.requisitos;
    }
    if (estado.calendario.em_vigor()) {
        resumo.desfecho = confere_calendario(estado.calendario, rodadas_da_execucao(campeonato.num_rodadas, opcoes.returno));
        if (!resumo.desfecho.sucesso) return resumo;
        opcoes.calendario = &estado.calendario;
    }

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
