#include <algorithm>

#include "search/execucao.hpp"
#include "apoio.hpp"
#include "evaluation/avaliacao.hpp"

namespace kelm::teste {
namespace {

// The nine counts computed another way: straight from the schedule, with each team's games
// gathered into a list, no work matrices.
Contagens conta_pelo_caminho_direto(const Estado& e, const Tabela& tabela)
{
    const int n = e.campeonato.num_times;
    std::vector<std::vector<int>> sedes(static_cast<std::size_t>(n) + 1);
    Contagens c;
    for (int r = 0; r < e.campeonato.num_rodadas; ++r) {
        std::vector<int> jogos_na_rodada(static_cast<std::size_t>(n) + 1, 0);
        for (int g = 0; g < n / 2; ++g) {
            const Jogo j = tabela[r][g];
            if (j.vazio()) continue;
            for (const int t : {j.mandante(), j.visitante()}) {
                sedes[static_cast<std::size_t>(t)].push_back(j.mandante());
                jogos_na_rodada[static_cast<std::size_t>(t)] += 1;
            }
        }
        for (const int k : jogos_na_rodada) c[Inviabilidade::jogos_na_rodada] += std::max(0, k - 1);
    }
    std::vector<long long> percursos;
    for (int t = 1; t <= n; ++t) {
        const auto& s = sedes[static_cast<std::size_t>(t)];
        auto casa = [&](std::size_t k) { return s[k] == t; };
        const std::size_t ult = s.size() - 1;
        if (casa(0) == casa(1)) c[Inviabilidade::inicio] += 1;
        else if (casa(ult - 1) != casa(0) || casa(ult) != casa(1)) c[Inviabilidade::fim] += 1;
        const auto h = std::count_if(s.begin(), s.end(), [&](int v) { return v == t; });
        c[Inviabilidade::mandos] += static_cast<double>(std::abs(2 * h - static_cast<long>(s.size())));
        for (std::size_t k = 2; k < s.size(); ++k) {
            if (casa(k) == casa(k - 1) && casa(k) == casa(k - 2))
                c[casa(k) ? Inviabilidade::casa_seguidos : Inviabilidade::fora_seguidos] += 1;
        }
        long long percurso = 0;
        int onde = t;
        for (const int v : s) {
            percurso += e.campeonato.matriz_distancias[onde][v];
            onde = v;
        }
        percursos.push_back(percurso);
        c[Inviabilidade::distancia_total] += static_cast<double>(percurso);
    }
    c[Inviabilidade::diferenca_distancia] =
        static_cast<double>(*std::max_element(percursos.begin(), percursos.end()) -
                            *std::min_element(percursos.begin(), percursos.end()));
    for (int g = 0; g < n / 2; ++g) {
        const Jogo j = tabela[e.campeonato.num_rodadas - 1][g];
        if (!j.vazio() && e.campeonato.matriz_distancias[std::min(j.mandante(), j.visitante())][std::max(j.mandante(), j.visitante())] == 0)
            c[Inviabilidade::mesmo_estado] += 1;
    }
    return c;
}

class TabelaInicial : public ::testing::TestWithParam<const char*> {};

TEST_P(TabelaInicial, ContagensIguaisAoCaminhoDireto)
{
    Estado e = carrega_exemplo(GetParam());
    ASSERT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
    todos_objetivos(e);
    const double fo = avalia_tabela(e.campeonato, e.criterios, e.execucao, e.execucao.tabela_atual);
    const Contagens direto = conta_pelo_caminho_direto(e, e.execucao.tabela_atual);
    EXPECT_EQ(e.execucao.inviabilidades, direto);
    double esperado = 0.0;
    for (std::size_t i = 0; i < 9; ++i) esperado += e.criterios.pesos[i] * direto[i];
    EXPECT_EQ(fo, esperado);
}

INSTANTIATE_TEST_SUITE_P(Exemplos, TabelaInicial,
                         ::testing::Values("nordeste.dat", "brasileirao_2023.dat", "brasileirao_2023_turno.dat"));

}  // namespace
}  // namespace kelm::teste
