#include "evaluation/avaliacao.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace kelm {

void monta_matriz_controle(Matriz<Controle>& controle, const Tabela& tabela)
{
    for (int r = 0; r < tabela.linhas(); ++r)
        for (int g = 0; g < tabela.colunas(); ++g) conta_jogo(controle[r], tabela[r][g], +1);
}

void monta_matriz_mandantes(const Campeonato& campeonato, const Tabela& tabela, Matriz<std::int32_t>& mandantes,
                            Contagens& inviabilidades)
{
    const int n = campeonato.num_times;
    const int l = mandantes.colunas() - 1;  // games per team
    // The last column of each row counts the team's games placed so far; calcula_distancias
    // then overwrites it with the distance travelled.
    for (int t = 1; t <= n; ++t) mandantes[t][l] = 0;
    for (int r = 0; r < tabela.linhas(); ++r) {
        for (int g = 0; g < tabela.colunas(); ++g) {
            const Jogo jogo = tabela[r][g];
            if (jogo.vazio()) continue;
            const int sede = jogo.mandante();
            const int a = std::abs(jogo.time1);
            const int b = jogo.time2;
            mandantes[a][mandantes[a][l]++] = sede;
            mandantes[b][mandantes[b][l]++] = sede;
        }
    }
    calcula_distancias(campeonato, mandantes, inviabilidades);
}

void calcula_distancias(const Campeonato& campeonato, Matriz<std::int32_t>& mandantes, Contagens& inviabilidades)
{
    const int n = campeonato.num_times;
    const int l = mandantes.colunas() - 1;  // games per team
    const auto& d = campeonato.matriz_distancias;
    double total = 0.0;
    double maior = 0.0;
    double menor = 1e11;
    for (int t = 1; t <= n; ++t) {
        std::int32_t* linha = mandantes[t];
        // A load keeps a turno's journey within 32 bits; a whole season's can pass them, and
        // the last column then holds the largest it can.
        std::int64_t percorrida = 0;
        for (int k = 0; k < l; ++k)
            percorrida += k == 0 ? d[t][linha[0]] : d[linha[k - 1]][linha[k]];
        linha[l] = static_cast<std::int32_t>(std::min<std::int64_t>(percorrida, INT32_MAX));
        const auto km = static_cast<double>(percorrida);
        total += km;
        if (km > maior) maior = km;
        if (km < menor) menor = km;
    }
    inviabilidades[Inviabilidade::distancia_total] = total;
    inviabilidades[Inviabilidade::diferenca_distancia] = maior - menor;
}

std::int64_t extras_por_rodada(const Matriz<Controle>& controle)
{
    std::int64_t extras = 0;
    for (int r = 0; r < controle.linhas(); ++r) {
        const Controle* rodada = controle[r];
        for (int t = 1; t < controle.colunas(); ++t) {
            const int jogos = rodada[t].jogos_casa + rodada[t].jogos_fora;
            if (jogos > 1) extras += jogos - 1;
        }
    }
    return extras;
}

void conta_jogos_por_rodada(const Matriz<Controle>& controle, Contagens& inviabilidades)
{
    // Whole numbers far below 2^53: the sum in integers is the sum in doubles.
    inviabilidades[Inviabilidade::jogos_na_rodada] = static_cast<double>(extras_por_rodada(controle));
}

void conta_inicio_fim(const Matriz<std::int32_t>& mandantes, Contagens& inviabilidades)
{
    const int n = mandantes.linhas() - 1;   // teams
    const int l = mandantes.colunas() - 1;  // games per team
    double inicio = 0.0;
    double fim = 0.0;
    for (int t = 1; t <= n; ++t) {
        const std::int32_t* linha = mandantes[t];
        const bool h0 = linha[0] == t;
        const bool h1 = linha[1] == t;
        const bool penultimo = linha[l - 2] == t;
        const bool ultimo = linha[l - 1] == t;
        if (h0 == h1) {
            inicio += 1;
        } else if (h0) {
            if (!(penultimo && !ultimo)) fim += 1;
        } else {
            if (!(!penultimo && ultimo)) fim += 1;
        }
    }
    inviabilidades[Inviabilidade::inicio] = inicio;
    inviabilidades[Inviabilidade::fim] = fim;
}

void conta_mesmo_estado(const Campeonato& campeonato, const Tabela& tabela, Contagens& inviabilidades)
{
    double mesmo_estado = 0.0;
    const Jogo* ultima = tabela[tabela.linhas() - 1];
    for (int g = 0; g < tabela.colunas(); ++g) {
        if (ultima[g].vazio()) continue;
        if (campeonato.matriz_distancias[std::abs(ultima[g].time1)][ultima[g].time2] == 0) mesmo_estado += 1;
    }
    inviabilidades[Inviabilidade::mesmo_estado] = mesmo_estado;
}

void conta_mandos(const Matriz<std::int32_t>& mandantes, Contagens& inviabilidades)
{
    const int n = mandantes.linhas() - 1;   // teams
    const int l = mandantes.colunas() - 1;  // games per team
    double diferenca = 0.0;
    double fora_seguidos = 0.0;
    double casa_seguidos = 0.0;
    for (int t = 1; t <= n; ++t) {
        const std::int32_t* linha = mandantes[t];
        int casa = 0;
        int fora = 0;
        int sequencia = 0;
        bool sequencia_em_casa = false;
        for (int k = 0; k < l; ++k) {
            const bool em_casa = linha[k] == t;
            if (em_casa) ++casa; else ++fora;
            if (sequencia > 0 && em_casa == sequencia_em_casa) {
                ++sequencia;
            } else {
                if (sequencia > 2) (sequencia_em_casa ? casa_seguidos : fora_seguidos) += sequencia - 2;
                sequencia = 1;
                sequencia_em_casa = em_casa;
            }
        }
        if (sequencia > 2) (sequencia_em_casa ? casa_seguidos : fora_seguidos) += sequencia - 2;
        diferenca += std::abs(casa - fora);
    }
    inviabilidades[Inviabilidade::mandos] = diferenca;
    inviabilidades[Inviabilidade::fora_seguidos] = fora_seguidos;
    inviabilidades[Inviabilidade::casa_seguidos] = casa_seguidos;
}

double calcula_fo(const Contagens& contagens, const Criterios& criterios)
{
    double fo = 0.0;
    // The requirements' term adds exactly nothing while none are in force (its count is 0).
    for (std::size_t i = 0; i < num_contagens; ++i)
        fo += static_cast<double>(criterios.pesos[i]) * contagens[i] * static_cast<double>(criterios.objetivos[i]);
    return fo;
}

double avalia_tabela(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                     const Tabela& tabela)
{
    Contagens& inviabilidades = execucao.inviabilidades;
    monta_matriz_mandantes(campeonato, tabela, execucao.matriz_mandantes, inviabilidades);
    conta_jogos_por_rodada(execucao.matriz_controle, inviabilidades);
    conta_inicio_fim(execucao.matriz_mandantes, inviabilidades);
    conta_mesmo_estado(campeonato, tabela, inviabilidades);
    conta_mandos(execucao.matriz_mandantes, inviabilidades);
    return calcula_fo(inviabilidades, criterios);
}

double avalia_tabela_avulsa(const Campeonato& campeonato, const Criterios& criterios, const Tabela& tabela,
                            Contagens& contagens)
{
    Execucao execucao;
    execucao.matriz_controle = aloca_matriz_controle(campeonato.num_rodadas, campeonato.num_times + 1);
    execucao.matriz_mandantes = aloca_matriz_inteiros(campeonato.num_times + 1, campeonato.jogos_por_time() + 1);
    monta_matriz_controle(execucao.matriz_controle, tabela);
    const double fo = avalia_tabela(campeonato, criterios, execucao, tabela);
    contagens = execucao.inviabilidades;
    return fo;
}

}  // namespace kelm
