#include "search/busca.hpp"

#include <algorithm>
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
#include "search/execucoes.hpp"

namespace kelm {

const Relogio& relogio_de(const OpcoesBusca& opcoes)
{
    static const RelogioSistema sistema;
    return opcoes.relogio != nullptr ? *opcoes.relogio : sistema;
}

namespace {

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

double temperatura_segunda_fase_compacta(const std::array<std::int32_t, num_contagens>& pesos)
{
    // At the floor of Inviabilidade 4 every team has one home game more or one less than away
    // games; a home swap that moves a team off it adds two.
    double menor = 0.0;
    for (const double custo : {static_cast<double>(pesos[1]), static_cast<double>(pesos[2]),
                               static_cast<double>(pesos[4]), 2.0 * static_cast<double>(pesos[3])})
        if (custo > 0.0 && (menor == 0.0 || custo < menor)) menor = custo;
    return menor / divisor_segunda_fase_compacta;
}

namespace {

// A whole number from 1 to `maximo`, as inteiro_ate reads it; the refusal names `campo`.
Desfecho converte_de_um_a(std::string_view texto, int maximo, const char* campo, int& valor)
{
    const auto lido = inteiro_ate(texto, static_cast<std::uint64_t>(maximo));
    if (!lido || *lido < 1)
        return Desfecho::erro(std::string(campo) + " (\"" + std::string(texto) + "\") deve ser um número inteiro de 1 a " +
                              std::to_string(maximo) + ".");
    valor = static_cast<int>(*lido);
    return Desfecho::ok();
}

}  // namespace

Desfecho converte_execucoes(std::string_view texto, int& valor)
{
    return converte_de_um_a(texto, max_execucoes, "O número de execuções", valor);
}

Desfecho converte_esforco(std::string_view texto, int& valor)
{
    return converte_de_um_a(texto, max_esforco, "O esforço", valor);
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

// The descents of the compact search's second phase: one from 20 teams up; below, where a
// level settles with fewer trial moves and a descent ends in one of a few schedules, the
// phase's trial moves are shared among (20 / N)^2 descents (six for 8 teams, four for 10)
// and the best is kept.
int descidas_segunda_fase_compacta(int num_times)
{
    const int razao = times_por_descida * times_por_descida / std::max(num_times * num_times, 1);
    return std::max(razao, 1);
}

// The parameters of a phase. The specified search anneals as it always has. The compact search
// ends its first phase as soon as the hard counts are settled at the second phase's starting
// temperature, and spends its time in the second phase, where the runs, the km and their
// spread are won: many more trial moves per level, down to the temperature of 1, below which
// no worsening of a whole-number FO is ever accepted, or until FO has stood still for more
// than ten levels. Measured on the bench's compact championships (bench/compacta.py), the
// second phase's improvements stop between T = 500 and T = 5, and before the last one FO never
// stood still for more than five levels. A season's trial move costs about twice a turno's in
// that phase (every team's sequence is twice as long), so with a returno it makes two thirds as
// many per level: a season's run then takes about 1.6 times the turno's alone, and its median
// FO on the 20 and 30 clubs moved by under 1 % (full count 30000: 1.9 to 2.1 times). The
// effort multiplies the trial moves of every level.
ParametrosFase parametros_da_fase(const Campeonato& campeonato, const Criterios& criterios, const OpcoesBusca& opcoes,
                                  Fase fase, int num_iteracoes)
{
    ParametrosFase p{fase, num_iteracoes, 0.0f, fator_resfriamento, opcoes.max_reaquecimentos};
    if (opcoes.busca == TipoBusca::compacta) {
        const double quente = temperatura_segunda_fase_compacta(criterios.pesos);
        if (fase == Fase::primeira) {
            p.temperatura_fria = quente > 0.0 ? quente : temperatura_final_compacta;
        } else {
            p.t0 = static_cast<float>(quente);
            const int por_nivel = opcoes.returno == Returno::nenhum ? iteracoes_segunda_fase_compacta
                                                                    : iteracoes_segunda_fase_compacta_temporada;
            p.num_iteracoes = por_nivel / descidas_segunda_fase_compacta(campeonato.num_times);
            p.temperatura_final = temperatura_final_compacta;
            p.niveis_parados = niveis_parados_compacta;
        }
    }
    p.num_iteracoes *= opcoes.esforco;
    return p;
}

// The compact search's second phase: its descents (see descidas_segunda_fase_compacta), each
// from the best schedule the earlier ones left, which stays in tabela_atual and in marcha.
FimFase desce(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
              const OpcoesBusca& opcoes, const ParametrosFase& parametros)
{
    FimFase fim = recozimento(campeonato, criterios, execucao, marcha, parametros, opcoes);
    const int descidas = descidas_segunda_fase_compacta(campeonato.num_times);
    if (descidas == 1) return fim;
    Tabela melhor = execucao.tabela_atual;
    Matriz<Controle> controle = execucao.matriz_controle;
    Contagens contagens = marcha.melhor;
    double fo = marcha.fo_star;
    for (int d = 1; d < descidas; ++d) {
        const FimFase outra = recozimento(campeonato, criterios, execucao, marcha, parametros, opcoes);
        fim.aceitou = fim.aceitou || outra.aceitou;
        fim.tempo_execucao = outra.tempo_execucao;
        if (marcha.fo_star < fo) {
            melhor = execucao.tabela_atual;
            controle = execucao.matriz_controle;
            contagens = marcha.melhor;
            fo = marcha.fo_star;
        } else {
            execucao.tabela_atual = melhor;
            execucao.matriz_controle = controle;
            marcha.melhor = contagens;
            marcha.fo_star = fo;
        }
    }
    return fim;
}

// One phase of the run: its initial temperature (estimated, or for the compact search's
// second phase the one its weights give), then the annealing from it. What the phase kept is
// written to the run once, as it ends, and the faces are told.
FimFase executa_fase(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                     const OpcoesBusca& opcoes, Fase fase, int num_iteracoes)
{
    ParametrosFase parametros = parametros_da_fase(campeonato, criterios, opcoes, fase, num_iteracoes);
    // The compact search's second phase starts where its weights say, when they say it.
    const bool compacta_sem_estimativa = parametros.fase == Fase::segunda && parametros.t0 > 0.0f;
    if (!compacta_sem_estimativa)
        parametros.t0 = static_cast<float>(calcula_t0(campeonato, criterios, execucao, marcha, fase, num_iteracoes, opcoes));
    const FimFase fim = compacta_sem_estimativa ? desce(campeonato, criterios, execucao, marcha, opcoes, parametros)
                                                : recozimento(campeonato, criterios, execucao, marcha, parametros, opcoes);
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
                            criterios.objetivos, criterios.pesos, 1, opcoes.semente};
    return Desfecho::ok();
}

}  // namespace

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

ResumoBusca corre_execucao(Estado& estado, Observador& observador, const OpcoesBusca& opcoes,
                           bool objetivos_na_execucao)
{
    const Campeonato& campeonato = estado.campeonato;
    Criterios& criterios = estado.criterios;
    Execucao& execucao = estado.execucao;
    const Relogio& relogio = relogio_de(opcoes);
    ResumoBusca resumo;
    resumo.objetivos_na_execucao = objetivos_na_execucao;

    execucao.gerador.semeia(opcoes.semente);
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
        const int iteracoes = objetivos_na_execucao ? iteracoes_segunda_fase_objetivos_na_execucao
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
