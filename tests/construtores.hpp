#pragma once

// Championships made in memory, for the tests and the benchmarks.

#include <cstdint>
#include <string>

#include "search/execucao.hpp"
#include "model/estado.hpp"
#include "model/temporada.hpp"
#include "neighbourhoods/padrao/solucao_inicial.hpp"
#include "search/busca.hpp"

namespace kelm::teste {

// A championship of n teams and r rounds made in memory: all distances 0 unless given,
// names "T1" to "Tn", an empty tabela_inicial, as if loaded.
inline Estado campeonato(int n, int r)
{
    Estado e;
    Campeonato& c = e.campeonato;
    c.dados_carregados = true;
    c.num_times = n;
    c.num_rodadas = r;
    c.matriz_distancias = aloca_matriz_inteiros(n + 1, n + 1);
    c.nomes_times.assign(static_cast<std::size_t>(n) + 1, std::string());
    for (int t = 1; t <= n; ++t) c.nomes_times[static_cast<std::size_t>(t)] = "T" + std::to_string(t);
    e.execucao.tabela_inicial = aloca_matriz_jogos(r, n / 2);
    return e;
}

// Distances drawn from `semente` for every ordered pair, the diagonal included: a fifth of
// them 0 (as between teams of the same state), the others from 0 to 2999, never symmetric
// on purpose, so that every reading in the wrong direction shows.
inline void sorteia_distancias(Campeonato& c, std::uint32_t semente)
{
    Gerador g;
    g.semeia(semente);
    for (int i = 1; i <= c.num_times; ++i)
        for (int j = 1; j <= c.num_times; ++j) c.matriz_distancias[i][j] = g.sorteia_inteiro(5) == 0 ? 0 : g.sorteia_inteiro(3000);
}

// A championship of n teams and r rounds with drawn distances and a drawn initial schedule,
// prepared for a run with every objective on.
inline Estado campeonato_sorteado(int n, int r, std::uint32_t semente)
{
    Estado e = campeonato(n, r);
    sorteia_distancias(e.campeonato, semente);
    e.execucao.gerador.semeia(semente);
    gera_solucao_inicial(n, e.execucao.gerador, e.execucao.tabela_inicial);
    prepara_execucao(e.campeonato, e.execucao);
    e.criterios.objetivos.fill(1);
    e.criterios.objetivos_escolhidos = true;
    return e;
}

// A turno of n teams (n even) in n-1 rounds by the circle method, home sides alternating.
inline Tabela turno_circular(int n)
{
    Tabela t = aloca_matriz_jogos(n - 1, n / 2);
    for (int r = 0; r < n - 1; ++r)
        for (int k = 0; k < n / 2; ++k) {
            const int a = (r + k) % (n - 1) + 1;
            const int b = k == 0 ? n : (r - k + n - 1) % (n - 1) + 1;
            const bool inverte = (k == 0 ? r : k) % 2 == 1;
            t[r][k] = inverte ? jogo_entre(b, a) : jogo_entre(a, b);
        }
    return t;
}

// That turno and its mirrored returno: a season of 2(n-1) rounds, each pair meeting once at
// each home.
inline Tabela turno_e_returno(int n) { return tabela_da_temporada(turno_circular(n), Returno::espelhado); }

// The text of a distances file giving every ordered pair i != j of n teams the distance
// 100 i + j, and of a names file naming them "T1" to "Tn".
inline std::string texto_distancias(int n)
{
    std::string s;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            if (i != j) s += std::to_string(i) + ", " + std::to_string(j) + ", " + std::to_string(100 * i + j) + "\n";
    return s;
}

inline std::string texto_nomes(int n)
{
    std::string s;
    for (int t = 1; t <= n; ++t) s += "T" + std::to_string(t) + "\n";
    return s;
}

}  // namespace kelm::teste
