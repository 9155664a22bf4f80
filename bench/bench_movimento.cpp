// Cost of one trial move of the search: draw, apply, evaluate, undo. The two evaluations
// run on the same championship, side by side, so their ratio is measured in one run.
// The search hands the temperature to the evaluation, which at low temperatures may reject a
// move on a bound of its objective. "fria:0" measures trial moves from the random initial
// schedule at a temperature high enough that every neighbour is worked out; "fria:1" from
// the schedule a whole run ends with, at the temperature 1000, as late in a phase.

#include <benchmark/benchmark.h>

#include "search/execucao.hpp"
#include "construtores.hpp"
#include "evaluation/referencia.hpp"
#include "neighbourhoods/compacta/tabela_compacta.hpp"
#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"
#include "neighbourhoods/padrao/vizinhanca_padrao.hpp"

#include <map>
#include <utility>

namespace {

using namespace kelm;

// N teams with drawn distances, 2(N-1) rounds (or N-1, compact), a random initial schedule,
// every objective at its default weight.
Estado campeonato(int n, bool compacto) { return teste::campeonato_sorteado(n, compacto ? n - 1 : 2 * (n - 1), 2024); }

// The schedule a whole run ends with, made once per size and kept for the other runs.
const Tabela& resultado(int n, bool compacto)
{
    static std::map<std::pair<int, bool>, Tabela> feitos;
    auto [onde, novo] = feitos.try_emplace({n, compacto});
    if (novo) {
        Estado e = campeonato(n, compacto);
        Observador nada;
        executa_busca(e, nada);
        onde->second = e.execucao.tabela_melhor;
    }
    return onde->second;
}

// Draws, applies and undoes trial moves of `vizinhanca` at the temperature of the second
// argument (0: hot, every neighbour worked out; 1: cold).
template <class Vizinhanca>
void mede(benchmark::State& state, Vizinhanca& vizinhanca, Gerador& gerador, bool fria)
{
    const double fo = vizinhanca.avalia();
    const double temperatura = fria ? 1000.0 : 1e15;
    double soma = 0.0;
    for (auto _ : state) {
        const auto m = vizinhanca.sorteia(gerador);
        soma += vizinhanca.aplica(m, fo, temperatura);
        vizinhanca.desfaz(m);
    }
    benchmark::DoNotOptimize(soma);
    state.SetItemsProcessed(state.iterations());
}

void trial(benchmark::State& state, bool referencia, Fase fase, bool compacto = false)
{
    const int n = static_cast<int>(state.range(0));
    Estado e = campeonato(n, compacto);
    if (state.range(1) != 0) {
        e.execucao.tabela_inicial = resultado(n, compacto);
        prepara_execucao(e.campeonato, e.execucao);
        e.criterios.objetivos.fill(1);
    }
    Execucao& x = e.execucao;
    if (referencia) {
        MovimentosPadrao movimentos(e.campeonato, x.tabela_atual, x.matriz_controle, fase);
        AvaliadaPelaReferencia vizinhanca(movimentos, e.campeonato, e.criterios, x);
        mede(state, vizinhanca, x.gerador, state.range(1) != 0);
    } else {
        VizinhancaPadrao vizinhanca(e.campeonato, e.criterios, x.tabela_atual, x.matriz_controle, fase);
        mede(state, vizinhanca, x.gerador, state.range(1) != 0);
    }
}

void completa_primeira_fase(benchmark::State& s) { trial(s, true, Fase::primeira); }
void incremental_primeira_fase(benchmark::State& s) { trial(s, false, Fase::primeira); }
void completa_segunda_fase(benchmark::State& s) { trial(s, true, Fase::segunda); }
void incremental_segunda_fase(benchmark::State& s) { trial(s, false, Fase::segunda); }

void completa_primeira_fase_compacto(benchmark::State& s) { trial(s, true, Fase::primeira, true); }
void incremental_primeira_fase_compacto(benchmark::State& s) { trial(s, false, Fase::primeira, true); }

// A trial move of the compact search from a compact round robin (hot: every neighbour worked
// out), with the incremental or the reference evaluation.
void compacta(benchmark::State& state, bool referencia)
{
    const int n = static_cast<int>(state.range(0));
    Estado e = teste::campeonato_sorteado(n, rodadas_preenchidas(n), 2024);
    Execucao& x = e.execucao;
    gera_tabela_compacta(n, x.gerador, x.tabela_atual);
    x.matriz_controle.zera();
    monta_matriz_controle(x.matriz_controle, x.tabela_atual);
    if (referencia) {
        RodizioCompacto rodizio(e.campeonato, x.tabela_atual, x.matriz_controle);
        AvaliadaPelaReferencia vizinhanca(rodizio, e.campeonato, e.criterios, x);
        mede(state, vizinhanca, x.gerador, false);
    } else {
        VizinhancaCompacta vizinhanca(e.campeonato, e.criterios, x.tabela_atual, x.matriz_controle);
        mede(state, vizinhanca, x.gerador, false);
    }
}

void compacta_completa(benchmark::State& s) { compacta(s, true); }
void compacta_incremental(benchmark::State& s) { compacta(s, false); }

// N teams, then 0 for a hot trial move and 1 for a cold one.
void tamanhos(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"N", "fria"});
    for (const int fria : {0, 1})
        for (const int n : {10, 20, 40}) b->Args({n, fria});
}

BENCHMARK(completa_primeira_fase)->Apply(tamanhos);
BENCHMARK(incremental_primeira_fase)->Apply(tamanhos);
BENCHMARK(completa_segunda_fase)->Apply(tamanhos);
BENCHMARK(incremental_segunda_fase)->Apply(tamanhos);
BENCHMARK(completa_primeira_fase_compacto)->Apply(tamanhos);
BENCHMARK(incremental_primeira_fase_compacto)->Apply(tamanhos);
BENCHMARK(compacta_completa)->ArgName("N")->Arg(20)->Arg(21)->Arg(30);
BENCHMARK(compacta_incremental)->ArgName("N")->Arg(20)->Arg(21)->Arg(30);

}  // namespace

BENCHMARK_MAIN();
