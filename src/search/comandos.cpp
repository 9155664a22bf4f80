#include "search/comandos.hpp"

#include "evaluation/avaliacao.hpp"
#include "evaluation/requisitos.hpp"
#include "files/carga.hpp"
#include "files/requisitos.hpp"
#include "files/tabela_jogos.hpp"
#include "files/resultado.hpp"
#include "model/temporada.hpp"
#include "search/edicao.hpp"
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

Desfecho abre_tabela(const Campeonato& campeonato, const Criterios& criterios, const Requisitos& requisitos,
                     const std::filesystem::path& caminho, Execucao& execucao)
{
    if (!campeonato.dados_carregados) return {false, TipoMensagem::informacao, msg_dados_nao_carregados, {}};
    Tabela lida;
    if (Desfecho d = carrega_tabela(campeonato, caminho, lida); !d.sucesso) return d;
    Criterios todos = criterios;
    todos.objetivos.fill(1);
    todos.objetivos_escolhidos = true;
    TabelaAvaliada avaliada;
    if (Desfecho d = avalia_tabela_dada(campeonato, todos, requisitos, lida, avaliada); !d.sucesso) return d;

    const std::optional<Returno> esquema = esquema_da_temporada(lida, campeonato.num_rodadas);
    const Returno returno = esquema.value_or(Returno::nenhum);
    Tabela turno = esquema && returno != Returno::nenhum ? turno_da_temporada(lida, campeonato.num_rodadas) : lida;
    execucao.tabela_melhor = turno;
    execucao.tabela_partida = std::move(turno);
    execucao.inviabilidades_melhor = avaliada.contagens;
    execucao.fo_star = avaliada.fo;
    execucao.tempo_execucao = 0.0;
    execucao.movimentos_avaliados = 0;
    execucao.programa_executado = true;
    Procedencia& p = execucao.procedencia;
    p = Procedencia{};
    p.busca = EdicaoTabela::pode_editar(campeonato, execucao.tabela_melhor).sucesso ? TipoBusca::compacta : TipoBusca::padrao;
    p.returno = returno;
    p.com_requisitos = requisitos.em_vigor();
    p.requisitos = p.com_requisitos ? requisitos.arquivo : std::string();
    p.objetivos = todos.objetivos;
    p.pesos = todos.pesos;
    p.tabela_aberta = caminho.string();

    const bool temporada = lida.linhas() > campeonato.num_rodadas;
    std::string texto = "A tabela foi aberta: ";
    texto += !temporada                         ? "um turno de " + std::to_string(campeonato.num_rodadas) + " rodadas."
             : returno == Returno::espelhado ? "uma temporada de turno e returno espelhado."
             : returno == Returno::frances   ? "uma temporada de turno e returno francês."
                                             : "uma temporada de turno e returno.";
    if (temporada && !esquema)
        return Desfecho::ok(texto + " O returno não repete o turno nem como espelhado nem como francês: a temporada foi "
                                    "avaliada como um turno e returno livre, cada par se enfrentando uma vez em cada casa.");
    return Desfecho::ok(texto);
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
                          std::to_string(r) + " (a temporada teria " + std::to_string(rodadas_da_temporada(r)) + ").");
}

bool ha_resultado(const Campeonato& campeonato, const Execucao& execucao)
{
    const Tabela& melhor = execucao.tabela_melhor;
    // A turno, or a season kept whole because it follows no scheme.
    const bool rodadas = melhor.linhas() == campeonato.num_rodadas ||
                         (melhor.linhas() == rodadas_da_temporada(campeonato.num_rodadas) &&
                          execucao.procedencia.returno == Returno::nenhum);
    return campeonato.dados_carregados && execucao.programa_executado && rodadas &&
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
