#include "search/busca.hpp"

#include <charconv>
#include <optional>
#include <string>

#include "evaluation/avaliacao.hpp"
#include "evaluation/objetivos.hpp"
#include "evaluation/referencia.hpp"
#include "files/requisitos.hpp"
#include "neighbourhoods/compacta/rodizio_compacto.hpp"
#include "neighbourhoods/compacta/tabela_compacta.hpp"
#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"
#include "neighbourhoods/padrao/solucao_inicial.hpp"
#include "neighbourhoods/padrao/vizinhanca_padrao.hpp"

namespace kelm {

namespace {

const Relogio& relogio_de(const OpcoesBusca& opcoes)
{
    static const RelogioSistema sistema;
    return opcoes.relogio != nullptr ? *opcoes.relogio : sistema;
}

// Calls `f` with the neighbourhood the options ask for, made from the run's schedule as it
// stands, scored incrementally or by the reference.
template <class F>
auto com_vizinhanca(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                    const OpcoesBusca& opcoes, Fase fase, F&& f)
{
    Tabela& tabela = execucao.tabela_atual;
    Matriz<Controle>& controle = execucao.matriz_controle;
    const bool referencia = opcoes.avaliacao == ModoAvaliacao::completa;
    if (opcoes.busca == TipoBusca::compacta) {
        if (referencia) {
            RodizioCompacto rodizio(campeonato, tabela, controle);
            AvaliadaPelaReferencia vizinhanca(rodizio, campeonato, criterios, execucao, opcoes.returno, opcoes.requisitos);
            return f(vizinhanca);
        }
        VizinhancaCompacta vizinhanca(campeonato, criterios, tabela, controle, opcoes.returno, opcoes.requisitos);
        return f(vizinhanca);
    }
    if (referencia) {
        MovimentosPadrao movimentos(campeonato, tabela, controle, fase);
        AvaliadaPelaReferencia vizinhanca(movimentos, campeonato, criterios, execucao, opcoes.returno, opcoes.requisitos);
        return f(vizinhanca);
    }
    VizinhancaPadrao vizinhanca(campeonato, criterios, tabela, controle, fase, opcoes.returno, opcoes.requisitos);
    return f(vizinhanca);
}

}  // namespace

double calcula_t0(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                  Fase fase, int num_iteracoes, const OpcoesBusca& opcoes)
{
    return com_vizinhanca(campeonato, criterios, execucao, opcoes, fase,
                          [&](auto& vizinhanca) { return calcula_t0(vizinhanca, marcha, num_iteracoes); });
}

FimFase recozimento(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                    const ParametrosFase& parametros, const OpcoesBusca& opcoes)
{
    return com_vizinhanca(campeonato, criterios, execucao, opcoes, parametros.fase,
                          [&](auto& vizinhanca) { return recozimento(vizinhanca, marcha, parametros); });
}

namespace {

// A whole number from 0 to `maximo` written in decimal, blanks around it ignored; a plus
// sign may stand before it, as before a weight.
std::optional<std::uint64_t> inteiro_ate(std::string_view texto, std::uint64_t maximo)
{
    while (!texto.empty() && (texto.front() == ' ' || texto.front() == '\t')) texto.remove_prefix(1);
    while (!texto.empty() && (texto.back() == ' ' || texto.back() == '\t')) texto.remove_suffix(1);
    if (texto.size() > 1 && texto.front() == '+' && texto[1] >= '0' && texto[1] <= '9') texto.remove_prefix(1);
    std::uint64_t valor = 0;
    const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (texto.empty() || erro != std::errc() || fim != texto.data() + texto.size() || valor > maximo) return std::nullopt;
    return valor;
}

}  // namespace

Desfecho converte_max_reaquecimentos(std::string_view texto, int& valor)
{
    const auto lido = inteiro_ate(texto, max_reaquecimentos_aceito);
    if (!lido)
        return Desfecho::erro("O limite de reaquecimentos (\"" + std::string(texto) + "\") deve ser um número inteiro de 0 a " +
                              std::to_string(max_reaquecimentos_aceito) + ".");
    valor = static_cast<int>(*lido);
    return Desfecho::ok();
}

Desfecho converte_semente(std::string_view texto, std::uint32_t& valor)
{
    const auto lido = inteiro_ate(texto, UINT32_MAX);
    if (!lido)
        return Desfecho::erro("A semente (\"" + std::string(texto) + "\") deve ser um número inteiro de 0 a 4294967295.");
    valor = static_cast<std::uint32_t>(*lido);
    return Desfecho::ok();
}

Desfecho prepara_execucao(const Campeonato& campeonato, Execucao& execucao)
{
    const int n = campeonato.num_times;
    const int r = campeonato.num_rodadas;
    // The new matrices are built aside and put in place only when all four exist, so a
    // failed allocation leaves the previous run's matrices (and its result) untouched.
    Matriz<std::int32_t> mandantes;
    Matriz<Controle> controle;
    Tabela atual;
    Tabela melhor;
    try {
        mandantes = aloca_matriz_inteiros(n + 1, n);
        controle = aloca_matriz_controle(r, n + 1);
        atual = aloca_matriz_jogos(r, n / 2);
        melhor = aloca_matriz_jogos(r, n / 2);
    } catch (const ErroAlocacao& e) {
        return Desfecho::simples(e.what());
    }
    execucao.matriz_mandantes = std::move(mandantes);
    execucao.matriz_controle = std::move(controle);
    execucao.tabela_atual = std::move(atual);
    execucao.tabela_melhor = std::move(melhor);

    execucao.inviabilidades = Contagens{};
    copia_tabela_e_contagens(execucao, execucao.tabela_atual, execucao.tabela_inicial);
    monta_matriz_controle(execucao.matriz_controle, execucao.tabela_atual);
    execucao.primeira_execucao = false;
    return Desfecho::ok();
}

void copia_tabela_e_contagens(Execucao& execucao, Tabela& destino, const Tabela& origem)
{
    destino.copia_de(origem);
    execucao.inviabilidades_melhor = execucao.inviabilidades;
}

namespace {

// One phase of the run: its initial-temperature estimate, then the annealing from it. What the
// phase kept is written to the run once, as it ends, and the faces are told.
FimFase executa_fase(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                     const OpcoesBusca& opcoes, Fase fase, int num_iteracoes)
{
    const float t0 =
        static_cast<float>(calcula_t0(campeonato, criterios, execucao, marcha, fase, num_iteracoes, opcoes));
    const ParametrosFase parametros{fase, num_iteracoes, t0, fator_resfriamento, opcoes.max_reaquecimentos};
    const FimFase fim = recozimento(campeonato, criterios, execucao, marcha, parametros, opcoes);
    if (fim.aceitou) execucao.tabela_melhor.copia_de(execucao.tabela_atual);
    execucao.inviabilidades_melhor = marcha.melhor;
    execucao.fo_star = marcha.fo_star;
    execucao.movimentos_avaliados = marcha.movimentos;
    execucao.tempo_execucao = fim.tempo_execucao;
    execucao.programa_executado = true;
    Observador& observador = marcha.observador;
    observador.resultado_disponivel();
    observador.bipe();
    observador.fase_concluida(static_cast<int>(fase));
    if (fase == Fase::segunda) observador.mensagem(msg_terminou);
    return fim;
}

// Prepares the run's schedules: a copy of the initial schedule, or the compact search's own
// compact round robin drawn in its place.
Desfecho prepara_partida(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                         const OpcoesBusca& opcoes)
{
    execucao.movimentos_avaliados = 0;
    if (Desfecho d = prepara_execucao(campeonato, execucao); !d.sucesso) return d;
    if (opcoes.busca == TipoBusca::compacta) {
        gera_tabela_compacta(campeonato.num_times, execucao.gerador, execucao.tabela_atual);
        execucao.matriz_controle.zera();
        monta_matriz_controle(execucao.matriz_controle, execucao.tabela_atual);
    }
    execucao.tabela_partida = execucao.tabela_atual;
    execucao.procedencia = {opcoes.busca, opcoes.semente, opcoes.returno,
                            opcoes.requisitos != nullptr ? opcoes.requisitos->arquivo : std::string(),
                            criterios.objetivos, criterios.pesos};
    return Desfecho::ok();
}

}  // namespace

ResumoBusca executa_busca(Estado& estado, Observador& observador, const OpcoesBusca& opcoes_dadas)
{
    const Campeonato& campeonato = estado.campeonato;
    Criterios& criterios = estado.criterios;
    Execucao& execucao = estado.execucao;
    ResumoBusca resumo;
    if (!campeonato.dados_carregados) {
        resumo.desfecho = {false, TipoMensagem::informacao, msg_dados_nao_carregados, {}};
        return resumo;
    }
    if (opcoes_dadas.busca == TipoBusca::compacta) {
        resumo.desfecho = aceita_busca_compacta(campeonato);
        if (!resumo.desfecho.sucesso) return resumo;
    }
    // The requirements in force are held against the rounds of this run before anything changes.
    OpcoesBusca opcoes = opcoes_dadas;
    if (estado.requisitos.em_vigor()) {
        const int rodadas = opcoes.returno == Returno::nenhum ? campeonato.num_rodadas : 2 * campeonato.num_rodadas;
        resumo.desfecho = confere_requisitos(estado.requisitos, campeonato, rodadas);
        if (!resumo.desfecho.sucesso) return resumo;
        opcoes.requisitos = &estado.requisitos;
    }
    const Relogio& relogio = relogio_de(opcoes);

    execucao.gerador.semeia(opcoes.semente);
    observador.execucao_iniciada();
    // The objectives are asked for before the run is prepared, so that a cancelled choice
    // leaves the earlier result as it was.
    if (!criterios.objetivos_escolhidos) {
        resumo.objetivos_na_execucao = true;
        if (opcoes.escolhe_objetivos) opcoes.escolhe_objetivos();
        if (!criterios.objetivos_escolhidos) return resumo;
    }
    resumo.desfecho = prepara_partida(campeonato, criterios, execucao, opcoes);
    if (!resumo.desfecho.sucesso) return resumo;
    resumo.executada = true;

    execucao.hora_inicio = relogio.hora_do_dia();
    execucao.inicio_monotonico = relogio.segundos();
    Marcha marcha{execucao.gerador, observador, relogio, execucao.hora_inicio, execucao.inicio_monotonico, 0,
                  execucao.inviabilidades_melhor, execucao.fo_star};
    const FimFase primeira =
        executa_fase(campeonato, criterios, execucao, marcha, opcoes, Fase::primeira, iteracoes_primeira_fase);
    resumo.reaquecimentos = primeira.reaquecimentos;

    liga_objetivos_segunda_fase(criterios);
    if (primeira.concluida) {
        const int iteracoes = resumo.objetivos_na_execucao ? iteracoes_segunda_fase_objetivos_na_execucao
                                                           : iteracoes_segunda_fase;
        executa_fase(campeonato, criterios, execucao, marcha, opcoes, Fase::segunda, iteracoes);
    } else {
        resumo.interrompida = true;
        observador.bipe();
        observador.mensagem(msg_interrompida);
    }
    resumo.movimentos = execucao.movimentos_avaliados;
    return resumo;
}

}  // namespace kelm
