#include "search/execucao.hpp"

#include <algorithm>
#include <string>

#include "evaluation/avaliacao.hpp"
#include "evaluation/objetivos.hpp"
#include "evaluation/temporada.hpp"
#include "model/temporada.hpp"
#include "search/vizinhancas.hpp"

namespace kelm {

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

// The parameters of a phase. The padrao search anneals both phases from an estimated initial
// temperature down to the final one. The compact search ends its first phase as soon as the
// hard counts are settled at the second phase's starting temperature, and spends its time in
// the second phase, where the runs, the km and their spread are won: many more trial moves per
// level, down to the temperature of 1, below which no worsening of a whole-number FO is ever
// accepted, or until FO has stood still for more than ten levels (its improvements stop
// between T = 500 and T = 5, with never more than five still levels before the last one). A
// season's trial move costs about twice a turno's there (every team's sequence is twice as
// long), so with a returno it makes two thirds as many per level. The effort multiplies the
// trial moves of every level.
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
        if (fim.parada) break;
        const FimFase outra = recozimento(campeonato, criterios, execucao, marcha, parametros, opcoes);
        fim.aceitou = fim.aceitou || outra.aceitou;
        fim.parada = outra.parada;
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
    // A re-plan starts near the schedule it was given: no hotter than a few games moved cost.
    const double peso_mudanca = static_cast<double>(criterios.pesos[static_cast<std::size_t>(Inviabilidade::mudancas)]) *
                                criterios.objetivos[static_cast<std::size_t>(Inviabilidade::mudancas)];
    if (opcoes.partida != nullptr && peso_mudanca > 0.0)
        parametros.t0 = std::min(parametros.t0, static_cast<float>(jogos_da_temperatura_de_replanejamento * peso_mudanca));
    const FimFase fim = compacta_sem_estimativa ? desce(campeonato, criterios, execucao, marcha, opcoes, parametros)
                                                : recozimento(campeonato, criterios, execucao, marcha, parametros, opcoes);
    if (fim.aceitou || fim.parada) execucao.tabela_melhor.copia_de(execucao.tabela_atual);
    execucao.inviabilidades_melhor = marcha.melhor;
    execucao.fo_star = marcha.fo_star;
    execucao.movimentos_avaliados = marcha.movimentos;
    execucao.tempo_execucao = fim.tempo_execucao;
    execucao.programa_executado = true;
    Observador& observador = marcha.observador;
    observador.resultado_disponivel();
    observador.bipe();
    observador.fase_concluida(static_cast<int>(fase));
    if (fase == Fase::segunda && !fim.parada) observador.mensagem(msg_terminou);
    return fim;
}

// Prepares the run's schedules: a copy of the initial schedule, or the compact search's own
// compact round robin drawn in its place.
Desfecho prepara_partida(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                         const OpcoesBusca& opcoes)
{
    execucao.movimentos_avaliados = 0;
    if (Desfecho d = prepara_execucao(campeonato, execucao); !d.sucesso) return d;
    sorteia_partida(campeonato, opcoes, execucao);
    execucao.tabela_partida = execucao.tabela_atual;
    // The schedule kept so far, until a phase keeps another.
    execucao.tabela_melhor.copia_de(execucao.tabela_atual);
    const bool com_requisitos = opcoes.requisitos != nullptr && opcoes.requisitos->em_vigor();
    Procedencia& p = execucao.procedencia;
    p = Procedencia{};
    p.busca = opcoes.busca;
    p.semente = opcoes.semente;
    p.returno = opcoes.returno;
    p.com_requisitos = com_requisitos;
    p.requisitos = com_requisitos ? opcoes.requisitos->arquivo : std::string();
    p.objetivos = criterios.objetivos;
    p.pesos = criterios.pesos;
    p.primeira_semente = opcoes.semente;
    p.com_mudancas = opcoes.jogos_da_partida != nullptr;
    p.partida = opcoes.arquivo_partida;
    for (std::size_t r = 0; r < opcoes.congeladas.size(); ++r)
        if (opcoes.congeladas[r])
            for (int s = 0; s < rodadas_da_execucao(campeonato.num_rodadas, opcoes.returno); ++s)
                if (rodada_do_turno(s, campeonato.num_rodadas, opcoes.returno) == static_cast<int>(r)) p.congeladas.push_back(s + 1);
    std::sort(p.congeladas.begin(), p.congeladas.end());
    if (opcoes.calendario != nullptr) p.calendario = *opcoes.calendario;
    return Desfecho::ok();
}

}  // namespace

namespace {

// The games of a re-plan's start, its whole schedule's, each a jogo of its round: what
// Inviabilidade 11 counts the moves of.
Requisitos jogos_da_partida(const Tabela& turno, Returno returno)
{
    Requisitos jogos;
    jogos.vigentes = true;
    const Tabela t = tabela_da_temporada(turno, returno);
    for (int s = 0; s < t.linhas(); ++s)
        for (int g = 0; g < t.colunas(); ++g)
            if (const Jogo j = t[s][g]; !j.vazio())
                jogos.itens.push_back({TipoRequisito::jogo, 0, {j.mandante(), j.visitante()}, 0, {s + 1}});
    return jogos;
}

// A re-plan keeps the schedule it started from when the run ends no better: its counts and FO
// under the objectives in force at the end, taken as the run's.
bool mantem_partida_se_melhor(const Campeonato& campeonato, const Criterios& criterios, const OpcoesBusca& opcoes,
                              Execucao& execucao)
{
    ReferenciaDaTemporada referencia(campeonato, opcoes.returno, opcoes.requisitos, opcoes.jogos_da_partida);
    const double fo = referencia.avalia(criterios, execucao.tabela_partida);
    if (!(fo < execucao.fo_star)) return false;
    execucao.tabela_melhor.copia_de(execucao.tabela_partida);
    execucao.inviabilidades_melhor = referencia.contagens();
    execucao.fo_star = fo;
    return true;
}

}  // namespace

ResumoBusca corre_execucao(Estado& estado, Observador& observador, const OpcoesBusca& opcoes_dadas,
                           bool objetivos_na_execucao)
{
    OpcoesBusca opcoes = opcoes_dadas;
    Requisitos jogos;
    if (opcoes.partida != nullptr) {
        jogos = jogos_da_partida(*opcoes.partida, opcoes.returno);
        opcoes.jogos_da_partida = &jogos;
    }
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
                  execucao.inviabilidades_melhor, execucao.fo_star, opcoes.parar};
    const FimFase primeira =
        executa_fase(campeonato, criterios, execucao, marcha, opcoes, Fase::primeira, iteracoes_primeira_fase);
    resumo.reaquecimentos = primeira.reaquecimentos;
    resumo.parada = primeira.parada;

    liga_objetivos_segunda_fase(criterios);
    if (primeira.concluida) {
        const int iteracoes = objetivos_na_execucao ? iteracoes_segunda_fase_objetivos_na_execucao
                                                    : iteracoes_segunda_fase;
        resumo.segunda_fase = true;
        resumo.parada = executa_fase(campeonato, criterios, execucao, marcha, opcoes, Fase::segunda, iteracoes).parada;
    } else if (!primeira.parada) {
        resumo.interrompida = true;
        observador.bipe();
        observador.mensagem(msg_interrompida);
    }
    resumo.movimentos = execucao.movimentos_avaliados;
    if (opcoes.partida != nullptr) {
        Criterios no_fim = criterios;
        if (resumo.interrompida) no_fim.objetivos = execucao.procedencia.objetivos;
        resumo.partida_mantida = mantem_partida_se_melhor(campeonato, no_fim, opcoes, execucao);
    }
    // FO_STAR counts the objectives in force as the run ended: the second phase's, or the
    // chosen ones when the first phase stopped at its bound or was stopped by the planner.
    execucao.procedencia.objetivos_no_fim = resumo.segunda_fase ? criterios.objetivos : execucao.procedencia.objetivos;
    execucao.procedencia.parada = resumo.parada;
    return resumo;
}

}  // namespace kelm
