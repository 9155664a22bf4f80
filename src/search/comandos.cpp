#include "search/comandos.hpp"

#include <algorithm>
#include <utility>

#include "evaluation/avaliacao.hpp"
#include "evaluation/requisitos.hpp"
#include "files/carga.hpp"
#include "files/requisitos.hpp"
#include "files/tabela_jogos.hpp"
#include "files/texto.hpp"
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
    p.objetivos_no_fim = todos.objetivos;
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

Desfecho turno_de_partida(const Campeonato& campeonato, const Tabela& lida, Returno returno, TipoBusca busca,
                          Tabela& turno)
{
    const int r = campeonato.num_rodadas;
    const auto nome = [&](int t) { return campeonato.nomes_times[static_cast<std::size_t>(t)]; };
    if (lida.linhas() != r) {
        if (returno == Returno::nenhum)
            return Desfecho::erro("A tabela de partida é uma temporada de " + std::to_string(lida.linhas()) +
                                  " rodadas: replaneje a temporada inteira, com o seu returno (espelhado ou francês).");
        const bool segue = esquema_da_temporada(lida, r) == returno;
        for (int s = r; s < lida.linhas() && !segue; ++s) {
            const int t = rodada_do_turno(s, r, returno);
            // The first returno round that does not hold its turno round's games, venues swapped.
            std::vector<std::pair<int, int>> a;
            std::vector<std::pair<int, int>> b;
            for (int g = 0; g < lida.colunas(); ++g) {
                if (!lida[s][g].vazio()) a.emplace_back(lida[s][g].mandante(), lida[s][g].visitante());
                if (!lida[t][g].vazio()) b.emplace_back(lida[t][g].visitante(), lida[t][g].mandante());
            }
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
            if (a != b)
                return Desfecho::erro("A tabela de partida não segue o returno " +
                                      std::string(returno == Returno::espelhado ? "espelhado" : "francês") + ": a rodada " +
                                      std::to_string(s + 1) + " não repete os jogos da rodada " + std::to_string(t + 1) +
                                      " com os mandos trocados.");
        }
    }
    Tabela lido = turno_da_temporada(lida, r);
    if (busca == TipoBusca::compacta) {
        if (Desfecho d = aceita_busca(campeonato, busca); !d.sucesso) return d;
        for (int s = 0; s < r; ++s) {
            std::vector<int> jogos(static_cast<std::size_t>(campeonato.num_times) + 1, 0);
            for (int g = 0; g < lido.colunas(); ++g)
                if (const Jogo j = lido[s][g]; !j.vazio()) ++jogos[static_cast<std::size_t>(j.mandante())], ++jogos[static_cast<std::size_t>(j.visitante())];
            int folgas = 0;
            for (int t = 1; t <= campeonato.num_times; ++t) {
                const int n = jogos[static_cast<std::size_t>(t)];
                if (n == 0 && campeonato.num_times % 2 == 1 && folgas++ == 0) continue;
                if (n != 1)
                    return Desfecho::erro("A busca compacta parte de uma tabela de rodadas completas, e na rodada " +
                                          std::to_string(s + 1) + " da tabela de partida " + nome(t) +
                                          (n == 0 ? " não joga." : " joga " + std::to_string(n) + " vezes."));
            }
        }
    }
    turno = std::move(lido);
    return Desfecho::ok();
}

Desfecho congela_rodadas(const Campeonato& campeonato, Returno returno, const std::vector<int>& rodadas,
                         std::vector<bool>& congeladas)
{
    const int r = campeonato.num_rodadas;
    const int total = rodadas_da_execucao(r, returno);
    std::vector<bool> turno(static_cast<std::size_t>(r), false);
    for (const int s : rodadas) {
        if (s < 1 || s > total)
            return Desfecho::erro("A rodada " + std::to_string(s) + " não pode ser congelada: o replanejamento tem " +
                                  std::to_string(total) + " rodadas.");
        turno[static_cast<std::size_t>(rodada_do_turno(s - 1, r, returno))] = true;
    }
    congeladas = std::move(turno);
    return Desfecho::ok();
}

Desfecho confere_requisitos_congelados(const Requisitos& requisitos, const Campeonato& campeonato, Returno returno,
                                       const Tabela& turno, const std::vector<bool>& congeladas)
{
    if (!requisitos.em_vigor() || congeladas.empty()) return Desfecho::ok();
    const Tabela t = tabela_da_temporada(turno, returno);
    const auto congelada = [&](int s) {
        return static_cast<bool>(congeladas[static_cast<std::size_t>(rodada_do_turno(s, campeonato.num_rodadas, returno))]);
    };
    std::vector<Violacao> violacoes;
    conta_requisitos(requisitos, campeonato.num_times, t, &violacoes);
    for (const Violacao& v : violacoes) {
        const Requisito& q = *v.requisito;
        // A game or a meeting may still happen in one of its rounds not frozen; anything else
        // broken in a frozen round stays broken.
        const bool todas = q.tipo == TipoRequisito::jogo || q.tipo == TipoRequisito::encontro;
        const auto presa = std::find_if(v.rodadas.begin(), v.rodadas.end(), congelada);
        if (presa == v.rodadas.end() || (todas && !std::all_of(v.rodadas.begin(), v.rodadas.end(), congelada))) continue;
        return Desfecho::erro("Erro no arquivo de requisitos \"" + nome_exibivel(requisitos.arquivo) + "\", linha " +
                              std::to_string(q.linha) + ": o requisito pede uma mudança na rodada " +
                              std::to_string(*presa + 1) + ", que está congelada.");
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
