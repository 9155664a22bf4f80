#include "search/comandos.hpp"

#include "files/carga.hpp"
#include "files/resultado.hpp"
#include "neighbourhoods/padrao/solucao_inicial.hpp"

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
    gera_solucao_inicial(campeonato.num_times, execucao.gerador, execucao.tabela_inicial);
    return Desfecho::ok(msg_carregados);
}

ResumoBusca comando_executar(Estado& estado, Observador& observador, const OpcoesBusca& opcoes)
{
    ResumoBusca resumo = executa_busca(estado, observador, opcoes);
    Procedencia& p = estado.execucao.procedencia;
    if (resumo.desfecho.sucesso && resumo.executada)
        p.objetivos_no_fim = resumo.interrompida ? p.objetivos : estado.criterios.objetivos;
    return resumo;
}

Desfecho aceita_returno(const Campeonato& campeonato, Returno returno)
{
    const int n = campeonato.num_times;
    const int r = campeonato.num_rodadas;
    const int precisas = rodadas_preenchidas(n);
    if (returno == Returno::nenhum || !campeonato.dados_carregados || r == precisas) return Desfecho::ok();
    return Desfecho::erro("O returno não pode ser planejado com estes dados: o turno de uma temporada é um rodízio simples, "
                          "em que cada time enfrenta cada outro uma vez e joga uma vez por rodada" +
                          std::string(n % 2 == 0 ? "" : ", com um time de folga em cada uma") + ", o que com " +
                          std::to_string(n) + " times pede " + std::to_string(precisas) + " rodadas, e os dados têm " +
                          std::to_string(r) + " (a temporada teria " + std::to_string(2 * r) + ").");
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
