#include "search/busca.hpp"

#include <charconv>
#include <optional>
#include <string>

#include "evaluation/avaliacao.hpp"
#include "evaluation/avaliador_completo.hpp"
#include "evaluation/objetivos.hpp"
#include "neighbourhoods/compacta/tabela_compacta.hpp"
#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"
#include "neighbourhoods/padrao/avaliador_incremental.hpp"
#include "neighbourhoods/padrao/solucao_inicial.hpp"
#include "neighbourhoods/padrao/vizinhanca_padrao.hpp"
#include "search/motor.hpp"

namespace kelm {

namespace {

const Relogio& relogio_de(const OpcoesBusca& opcoes)
{
    static const RelogioSistema sistema;
    return opcoes.relogio != nullptr ? *opcoes.relogio : sistema;
}

constexpr double temperatura_inicial_candidata = 2000000.0;
constexpr double fator_candidata = 1.1;
constexpr double temperatura_final = 1e-11;
constexpr double temperatura_fria = 1e-6;
constexpr double fator_reaquecimento = 1.1;
constexpr double fracao_reaquecimento = 0.2;
constexpr int iteracoes_por_reaquecimento = 100;

// The annealing engine. It knows a neighbourhood only through five operations, whatever its
// moves and however it scores them:
//   double avalia()                     FO of tabela_atual (its counts to `inviabilidades`)
//   Movimento sorteia(Gerador&)         draws a trial move
//   double aplica(m, fo_atual, t)       applies it and returns the neighbour's FO, or a bound
//                                       of it that already worsens fo_atual by t or more
//   void confirma()                     keeps the move last applied
//   void desfaz(m)                      undoes it
// The neighbourhood is made for one phase (or one estimate), from tabela_atual as it is.

template <class Vizinhanca>
double calcula_t0_em(Vizinhanca& vizinhanca, Execucao& execucao, Observador& observador, int num_iteracoes)
{
    int aceitos = 0;
    const int alvo = alvo_aceitacao(num_iteracoes);
    double candidata = temperatura_inicial_candidata;

    execucao.fo_star = vizinhanca.avalia();
    observador.calculo_t0_iniciado();
    while (aceitos < alvo) {
        // A whole round always runs, even once the target is reached.
        for (int i = 0; i < num_iteracoes; ++i) {
            const auto m = vizinhanca.sorteia(execucao.gerador);
            const double delta = vizinhanca.aplica(m, execucao.fo_star, candidata) - execucao.fo_star;
            if (aceita_movimento(delta, candidata, execucao.gerador)) ++aceitos;
            vizinhanca.desfaz(m);
        }
        execucao.movimentos_avaliados += num_iteracoes;
        if (aceitos >= alvo) break;
        aceitos = 0;
        candidata *= fator_candidata;
        observador.temperatura_candidata(candidata);
    }
    observador.calculo_t0_concluido();
    return candidata;
}

template <class Vizinhanca>
FimFase recozimento_em(Vizinhanca& vizinhanca, Execucao& execucao, Observador& observador, int num_iteracoes,
                       float t0, float fator, const OpcoesBusca& opcoes)
{
    const Relogio& relogio = relogio_de(opcoes);
    const bool primeira_fase = execucao.primeira_fase;
    const int fase = primeira_fase ? 1 : 2;
    FimFase fim;
    double temperatura = t0;

    observador.fase_iniciada(fase, execucao.hora_inicio);
    execucao.fo_star = vizinhanca.avalia();

    // Rejected moves are undone, so after the first accepted move tabela_atual always holds
    // the last accepted schedule: it is copied into tabela_melhor once, when the phase ends,
    // instead of at every accepted move. The counts are copied at every accepted move.
    bool melhor_pendente = false;

    while (temperatura > temperatura_final) {
        Andamento andamento;
        andamento.fase = fase;
        andamento.percentual = 100.0 - 100.0 * temperatura / static_cast<double>(t0) - 1e-11;
        andamento.temperatura = temperatura;
        andamento.hora_inicio = execucao.hora_inicio;
        andamento.hora_atual = relogio.hora_do_dia();
        execucao.tempo_execucao = (relogio.segundos() - execucao.inicio_monotonico) / 86400.0;
        andamento.tempo_execucao = execucao.tempo_execucao;
        andamento.inviabilidades_melhor = execucao.inviabilidades_melhor;
        andamento.fo_star = execucao.fo_star;
        andamento.num_reaquecimentos = fim.reaquecimentos;
        andamento.movimentos = execucao.movimentos_avaliados;
        observador.andamento(andamento);

        if (primeira_fase && execucao.fo_star == 0.0) {
            execucao.primeira_fase_concluida = true;
            break;
        }

        for (int i = 0; i < num_iteracoes; ++i) {
            const auto m = vizinhanca.sorteia(execucao.gerador);
            const double delta = vizinhanca.aplica(m, execucao.fo_star, temperatura) - execucao.fo_star;
            if (aceita_movimento(delta, temperatura, execucao.gerador)) {
                vizinhanca.confirma();
                execucao.inviabilidades_melhor = execucao.inviabilidades;
                melhor_pendente = true;
                execucao.fo_star += delta;
            } else {
                vizinhanca.desfaz(m);
            }
        }
        execucao.movimentos_avaliados += num_iteracoes;

        temperatura = static_cast<double>(fator) * temperatura;
        if (temperatura >= temperatura_fria || !primeira_fase) continue;

        // Cold: the first phase ends once the kept schedule has none of Inviabilidades 1, 2,
        // 3 and 5, whatever the objectives; otherwise it reheats, up to its bound.
        const Contagens& melhor = execucao.inviabilidades_melhor;
        const double pendentes = melhor[Inviabilidade::jogos_na_rodada] + melhor[Inviabilidade::inicio] +
                                 melhor[Inviabilidade::fim] + melhor[Inviabilidade::mesmo_estado];
        if (pendentes > 0) {
            if (fim.reaquecimentos >= opcoes.max_reaquecimentos) {
                fim.limite_atingido = true;
                break;
            }
            observador.bipe();
            t0 = static_cast<float>(static_cast<double>(t0) * fator_reaquecimento);
            num_iteracoes += iteracoes_por_reaquecimento;
            temperatura = fracao_reaquecimento * static_cast<double>(t0);
            ++fim.reaquecimentos;
            observador.reaquecimento(fim.reaquecimentos);
        } else {
            execucao.primeira_fase_concluida = true;
            break;
        }
    }

    if (melhor_pendente) execucao.tabela_melhor.copia_de(execucao.tabela_atual);
    execucao.programa_executado = true;
    observador.resultado_disponivel();
    observador.bipe();
    observador.fase_concluida(fase);
    if (fase == 2) observador.mensagem(msg_terminou);
    return fim;
}

// Calls `f` with the neighbourhood the options ask for, made from tabela_atual as it is now.
template <class F>
auto com_vizinhanca(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                    const OpcoesBusca& opcoes, F&& f)
{
    if (opcoes.busca == TipoBusca::compacta) {
        VizinhancaCompacta vizinhanca(campeonato, criterios, execucao, opcoes.avaliacao);
        return f(vizinhanca);
    }
    if (opcoes.avaliacao == ModoAvaliacao::completa) {
        VizinhancaPadrao<AvaliadorCompleto> vizinhanca(campeonato, criterios, execucao);
        return f(vizinhanca);
    }
    VizinhancaPadrao<AvaliadorIncremental> vizinhanca(campeonato, criterios, execucao);
    return f(vizinhanca);
}

}  // namespace

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

bool aceita_movimento(double delta, double temperatura, Gerador& gerador)
{
    if (delta <= 0.0) return true;
    const double r = gerador.aleatorio_real(0.0, 1.0);
    return 1.0 - delta / temperatura > r;
}

double calcula_t0(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                  Observador& observador, int num_iteracoes, const OpcoesBusca& opcoes)
{
    return com_vizinhanca(campeonato, criterios, execucao, opcoes, [&](auto& vizinhanca) {
        return calcula_t0_em(vizinhanca, execucao, observador, num_iteracoes);
    });
}

FimFase recozimento(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                    Observador& observador, int num_iteracoes, float t0, float fator, const OpcoesBusca& opcoes)
{
    return com_vizinhanca(campeonato, criterios, execucao, opcoes, [&](auto& vizinhanca) {
        return recozimento_em(vizinhanca, execucao, observador, num_iteracoes, t0, fator, opcoes);
    });
}

ResumoBusca executa_busca(Estado& estado, Observador& observador, const OpcoesBusca& opcoes)
{
    const Campeonato& campeonato = estado.campeonato;
    Criterios& criterios = estado.criterios;
    Execucao& execucao = estado.execucao;
    ResumoBusca resumo;
    if (!campeonato.dados_carregados) {
        resumo.desfecho = {false, TipoMensagem::informacao, msg_dados_nao_carregados, {}};
        return resumo;
    }
    if (opcoes.busca == TipoBusca::compacta) {
        resumo.desfecho = aceita_busca_compacta(campeonato);
        if (!resumo.desfecho.sucesso) return resumo;
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
    execucao.primeira_fase_concluida = false;
    execucao.movimentos_avaliados = 0;
    resumo.desfecho = prepara_execucao(campeonato, execucao);
    if (!resumo.desfecho.sucesso) return resumo;
    if (opcoes.busca == TipoBusca::compacta) {
        gera_tabela_compacta(campeonato.num_times, execucao.gerador, execucao.tabela_atual);
        execucao.matriz_controle.zera();
        monta_matriz_controle(execucao.matriz_controle, execucao.tabela_atual);
    }
    execucao.tabela_partida = execucao.tabela_atual;
    execucao.procedencia = {opcoes.busca, opcoes.semente, criterios.objetivos, criterios.pesos};
    resumo.executada = true;

    execucao.primeira_fase = true;
    execucao.hora_inicio = relogio.hora_do_dia();
    execucao.inicio_monotonico = relogio.segundos();
    float t0 = static_cast<float>(calcula_t0(campeonato, criterios, execucao, observador, iteracoes_primeira_fase, opcoes));
    const FimFase primeira =
        recozimento(campeonato, criterios, execucao, observador, iteracoes_primeira_fase, t0, fator_resfriamento, opcoes);
    resumo.reaquecimentos = primeira.reaquecimentos;

    liga_objetivos_segunda_fase(criterios);
    execucao.primeira_fase = false;

    if (execucao.primeira_fase_concluida) {
        const int iteracoes = resumo.objetivos_na_execucao ? iteracoes_segunda_fase_objetivos_na_execucao
                                                           : iteracoes_segunda_fase;
        t0 = static_cast<float>(calcula_t0(campeonato, criterios, execucao, observador, iteracoes, opcoes));
        recozimento(campeonato, criterios, execucao, observador, iteracoes, t0, fator_resfriamento, opcoes);
    } else {
        resumo.interrompida = true;
        observador.bipe();
        observador.mensagem(msg_interrompida);
    }
    resumo.movimentos = execucao.movimentos_avaliados;
    return resumo;
}

}  // namespace kelm
