#include "search/comandos.hpp"

#include "evaluation/avaliacao.hpp"
#include "evaluation/requisitos.hpp"
#include "files/carga.hpp"
#include "files/requisitos.hpp"
#include "files/resultado.hpp"
#include "model/temporada.hpp"
#include "search/vizinhancas.hpp"

namespace kelm {

Desfecho carrega_dados(Campeonato& campeonato, Execucao& execucao, const std::filesystem::path& arquivo_dados)
{
    Campeonato novo;
    if (Desfecho d = le_campeonato(arquivo_dados, novo); !d.sucesso) return d;
    Tabela tabela;
    try {
        tabela = aloca_matriz_jogos(novo.num_rodadas, novo.jogos_por_rodada());
    } catch (const ErroAlocacao& e) {
        return Desfecho::simples(e.what());
    }
    campeonato = std::move(novo);
    execucao.programa_executado = false;
    execucao.tabela_inicial = std::move(tabela);
    sorteia_tabela_inicial(campeonato.num_times, execucao.gerador, execucao.tabela_inicial);
    return Desfecho::ok(msg_carregados);
}

Desfecho nova_solucao_inicial(const Campeonato& campeonato, Execucao& execucao)
{
    if (!campeonato.dados_carregados) return {false, TipoMensagem::informacao, msg_dados_nao_carregados, {}};
    execucao.programa_executado = false;
    sorteia_tabela_inicial(campeonato.num_times, execucao.gerador, execucao.tabela_inicial);
    return Desfecho::ok();
}

Desfecho avalia_tabela_dada(const Campeonato& campeonato, const Criterios& criterios, const Requisitos& requisitos,
                            const Tabela& tabela, TabelaAvaliada& avaliada)
{
    const bool com_requisitos = requisitos.em_vigor();
    if (com_requisitos) {
        // A schedule given is held to no scheme: its rounds are free.
        if (Desfecho d = confere_requisitos(requisitos, campeonato, tabela.linhas(), Returno::nenhum); !d.sucesso) return d;
    }
    // A schedule of twice the championship's rounds is a whole season, scored as one.
    avaliada.campeonato =
        tabela.linhas() > campeonato.num_rodadas ? campeonato_da_temporada(campeonato, Returno::espelhado) : campeonato;
    avaliada.contagens = Contagens{};
    try {
        avalia_tabela_avulsa(avaliada.campeonato, criterios, tabela, avaliada.contagens);
        if (com_requisitos)
            avaliada.contagens[Inviabilidade::requisitos] =
                static_cast<double>(conta_requisitos(requisitos, campeonato.num_times, tabela));
        avaliada.fo = calcula_fo(avaliada.contagens, criterios);
    } catch (const ErroAlocacao& e) {
        return Desfecho::erro(e.what());
    }
    return Desfecho::ok();
}

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

Desfecho grava_resultado(const Campeonato& campeonato, const Execucao& execucao, const std::filesystem::path& destino,
                         char separador)
{
    // The round blocks are read from tabela_melhor with the loaded N and R: never from a
    // schedule of other dimensions.
    if (Desfecho pode = pode_salvar_resultado(campeonato, execucao); !pode.sucesso) return pode;
    return grava_arquivo(destino, texto_resultado(campeonato, execucao, separador));
}

}  // namespace kelm
