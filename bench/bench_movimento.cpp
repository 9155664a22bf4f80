// Cost of one trial move of the search: draw, apply, evaluate, undo. The two evaluations
// run on the same championship, side by side, so their ratio is measured in one run.

#include <benchmark/benchmark.h>

#include "evaluation/avaliador_completo.hpp"
#include "evaluation/avaliador_incremental.hpp"
#include "model/solucao_inicial.hpp"

namespace {

using namespace kelm;

// N teams with pseudo-random distances (a fifth of the pairs at 0, as if of the same
// state), 2(N-1) rounds (or N-1, compact), a random initial schedule, every objective at its
// default weight.
Estado campeonato(int n, bool compacto)
{
    Estado e;
    e.num_times = n;
    e.num_rodadas = compacto ? n - 1 : 2 * (n - 1);
    e.matriz_distancias = aloca_matriz_inteiros(n + 1, n + 1);
    Gerador g;
    g.semeia(2024);
    for (int i = 1; i <= n; ++i)
        for (int j = i + 1; j <= n; ++j) {
            const int d = g.sorteia_inteiro(5) == 0 ? 0 : 100 + g.sorteia_inteiro(4000);
            e.matriz_distancias[i][j] = d;
            e.matriz_distancias[j][i] = d;
        }
    e.nomes_times.assign(static_cast<std::size_t>(n) + 1, "Time");
    e.tabela_inicial = aloca_matriz_jogos(e.num_rodadas, n / 2);
    e.dados_carregados = true;
    gera_solucao_inicial(e);
    prepara_execucao(e);
    e.config.objetivos.fill(1);
    return e;
}

template <class Avaliador>
void trial(benchmark::State& state, bool primeira_fase, bool compacto = false)
{
    Estado e = campeonato(static_cast<int>(state.range(0)), compacto);
    e.primeira_fase = primeira_fase;
    Avaliador avaliador(e);
    const SorteioMovimentos sorteio(e);
    double soma = avaliador.avalia();
    for (auto _ : state) {
        const Movimento m = sorteio.sorteia(e.gerador);
        soma += avaliador.aplica(m);
        avaliador.desfaz(m);
    }
    benchmark::DoNotOptimize(soma);
    state.SetItemsProcessed(state.iterations());
}

void completa_primeira_fase(benchmark::State& s) { trial<AvaliadorCompleto>(s, true); }
void incremental_primeira_fase(benchmark::State& s) { trial<AvaliadorIncremental>(s, true); }
void completa_segunda_fase(benchmark::State& s) { trial<AvaliadorCompleto>(s, false); }
void incremental_segunda_fase(benchmark::State& s) { trial<AvaliadorIncremental>(s, false); }

void completa_primeira_fase_compacto(benchmark::State& s) { trial<AvaliadorCompleto>(s, true, true); }
void incremental_primeira_fase_compacto(benchmark::State& s) { trial<AvaliadorIncremental>(s, true, true); }

BENCHMARK(completa_primeira_fase)->Arg(10)->Arg(20)->Arg(40);
BENCHMARK(incremental_primeira_fase)->Arg(10)->Arg(20)->Arg(40);
BENCHMARK(completa_segunda_fase)->Arg(10)->Arg(20)->Arg(40);
BENCHMARK(incremental_segunda_fase)->Arg(10)->Arg(20)->Arg(40);
BENCHMARK(completa_primeira_fase_compacto)->Arg(10)->Arg(20)->Arg(40);
BENCHMARK(incremental_primeira_fase_compacto)->Arg(10)->Arg(20)->Arg(40);

}  // namespace

BENCHMARK_MAIN();
