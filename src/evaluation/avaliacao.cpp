#include "evaluation/avaliacao.hpp"

#include <cstdlib>

namespace kelm {

void monta_matriz_controle(Estado& estado, const Tabela& tabela)
{
    const int g_max = estado.jogos_por_rodada();
    for (int r = 0; r < estado.num_rodadas; ++r) {
        Controle* rodada = estado.matriz_controle[r];
        for (int g = 0; g < g_max; ++g) {
            const Jogo jogo = tabela[r][g];
            if (jogo.time1 > 0) {
                rodada[jogo.time1].jogos_casa += 1;
                rodada[jogo.time2].jogos_fora += 1;
            } else if (jogo.time1 < 0) {
                rodada[-jogo.time1].jogos_fora += 1;
                rodada[jogo.time2].jogos_casa += 1;
            }
        }
    }
}

void monta_matriz_mandantes(Estado& estado, const Tabela& tabela)
{
    const int n = estado.num_times;
    const int g_max = estado.jogos_por_rodada();
    auto& mandantes = estado.matriz_mandantes;
    // The last column of each row counts the team's games placed so far; calcula_distancias
    // then overwrites it with the distance travelled.
    for (int t = 1; t <= n; ++t) mandantes[t][n - 1] = 0;
    for (int r = 0; r < estado.num_rodadas; ++r) {
        for (int g = 0; g < g_max; ++g) {
            const Jogo jogo = tabela[r][g];
            if (jogo.time1 == 0) continue;
            const int sede = jogo.time1 > 0 ? jogo.time1 : jogo.time2;
            const int a = std::abs(jogo.time1);
            const int b = jogo.time2;
            mandantes[a][mandantes[a][n - 1]++] = sede;
            mandantes[b][mandantes[b][n - 1]++] = sede;
        }
    }
    calcula_distancias(estado);
}

void calcula_distancias(Estado& estado)
{
    const int n = estado.num_times;
    const auto& d = estado.matriz_distancias;
    double total = 0.0;
    double maior = 0.0;
    double menor = 1e11;
    for (int t = 1; t <= n; ++t) {
        std::int32_t* linha = estado.matriz_mandantes[t];
        std::int32_t percorrida = 0;
        for (int k = 0; k <= n - 2; ++k)
            percorrida += k == 0 ? d[t][linha[0]] : d[linha[k - 1]][linha[k]];
        linha[n - 1] = percorrida;
        total += percorrida;
        if (percorrida > maior) maior = percorrida;
        if (percorrida < menor) menor = percorrida;
    }
    estado.inviabilidades[Inviabilidade::distancia_total] = total;
    estado.inviabilidades[Inviabilidade::diferenca_distancia] = maior - menor;
}

void conta_jogos_por_rodada(Estado& estado)
{
    double extras = 0.0;
    for (int r = 0; r < estado.num_rodadas; ++r) {
        const Controle* rodada = estado.matriz_controle[r];
        for (int t = 1; t <= estado.num_times; ++t) {
            const int jogos = rodada[t].jogos_casa + rodada[t].jogos_fora;
            if (jogos > 1) extras += jogos - 1;
        }
    }
    estado.inviabilidades[Inviabilidade::jogos_na_rodada] = extras;
}

void conta_inicio_fim(Estado& estado)
{
    const int n = estado.num_times;
    double inicio = 0.0;
    double fim = 0.0;
    for (int t = 1; t <= n; ++t) {
        const std::int32_t* linha = estado.matriz_mandantes[t];
        const bool h0 = linha[0] == t;
        const bool h1 = linha[1] == t;
        const bool penultimo = linha[n - 3] == t;
        const bool ultimo = linha[n - 2] == t;
        if (h0 == h1) {
            inicio += 1;
        } else if (h0) {
            if (!(penultimo && !ultimo)) fim += 1;
        } else {
            if (!(!penultimo && ultimo)) fim += 1;
        }
    }
    estado.inviabilidades[Inviabilidade::inicio] = inicio;
    estado.inviabilidades[Inviabilidade::fim] = fim;
}

void conta_mesmo_estado(Estado& estado, const Tabela& tabela)
{
    double mesmo_estado = 0.0;
    const Jogo* ultima = tabela[estado.num_rodadas - 1];
    for (int g = 0; g < estado.jogos_por_rodada(); ++g) {
        if (ultima[g].time1 == 0) continue;
        if (estado.matriz_distancias[std::abs(ultima[g].time1)][ultima[g].time2] == 0) mesmo_estado += 1;
    }
    estado.inviabilidades[Inviabilidade::mesmo_estado] = mesmo_estado;
}

void conta_mandos(Estado& estado)
{
    const int n = estado.num_times;
    double diferenca = 0.0;
    double fora_seguidos = 0.0;
    double casa_seguidos = 0.0;
    for (int t = 1; t <= n; ++t) {
        const std::int32_t* linha = estado.matriz_mandantes[t];
        int casa = 0;
        int fora = 0;
        int sequencia = 0;
        bool sequencia_em_casa = false;
        for (int k = 0; k <= n - 2; ++k) {
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
    estado.inviabilidades[Inviabilidade::mandos] = diferenca;
    estado.inviabilidades[Inviabilidade::fora_seguidos] = fora_seguidos;
    estado.inviabilidades[Inviabilidade::casa_seguidos] = casa_seguidos;
}

double calcula_fo(const Contagens& contagens, const Objetivos& config)
{
    double fo = 0.0;
    for (std::size_t i = 0; i < num_inviabilidades; ++i)
        fo += static_cast<double>(config.pesos[i]) * contagens[i] * static_cast<double>(config.objetivos[i]);
    return fo;
}

double avalia_tabela(Estado& estado, const Tabela& tabela)
{
    monta_matriz_mandantes(estado, tabela);
    conta_jogos_por_rodada(estado);
    conta_inicio_fim(estado);
    conta_mesmo_estado(estado, tabela);
    conta_mandos(estado);
    return calcula_fo(estado.inviabilidades, estado.config);
}

}  // namespace kelm
