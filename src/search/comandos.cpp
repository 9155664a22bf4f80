#include "search/comandos.hpp"

namespace kelm {

bool ha_resultado(const Campeonato& campeonato, const Execucao& execucao)
{
    const Tabela& melhor = execucao.tabela_melhor;
    return campeonato.dados_carregados && execucao.programa_executado && melhor.linhas() == campeonato.num_rodadas &&
           melhor.colunas() == campeonato.jogos_por_rodada();
}

Desfecho pode_mostrar_tabela_inicial(const Campeonato& campeonato)
{
    if (!campeonato.dados_carregados) return {false, TipoMensagem::informacao, msg_tabela_inicial, {}};
    return Desfecho::ok();
}

Desfecho pode_mostrar_resultado(const Campeonato& campeonato, const Execucao& execucao)
{
    if (!ha_resultado(campeonato, execucao)) return {false, TipoMensagem::informacao, msg_tabela_resultado, {}};
    return Desfecho::ok();
}

Desfecho pode_salvar_resultado(const Campeonato& campeonato, const Execucao& execucao)
{
    if (!ha_resultado(campeonato, execucao)) return Desfecho::erro(msg_sem_resultado);
    return Desfecho::ok();
}

}  // namespace kelm
