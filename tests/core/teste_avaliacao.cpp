#include "search/execucao.hpp"
#include "apoio.hpp"
#include "evaluation/avaliacao.hpp"
#include "neighbourhoods/padrao/movimentos.hpp"

namespace kelm::teste {
namespace {

using Rodadas = std::vector<std::vector<Jogo>>;

// Puts the rounds into tabela_inicial and prepares a run on it, as the run command does.
void monta(Estado& e, const Rodadas& rodadas)
{
    for (std::size_t r = 0; r < rodadas.size(); ++r)
        for (std::size_t g = 0; g < rodadas[r].size(); ++g)
            e.execucao.tabela_inicial[static_cast<int>(r)][static_cast<int>(g)] = rodadas[r][g];
    ASSERT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
}

// Distances 10 i + j between different teams.
void distancias_por_indice(Estado& e)
{
    for (int i = 1; i <= e.campeonato.num_times; ++i)
        for (int j = 1; j <= e.campeonato.num_times; ++j)
            if (i != j) e.campeonato.matriz_distancias[i][j] = 10 * i + j;
}

// A 4-team round robin worked out by hand: venues 1,3,1 / 1,2,3 / 4,3,3 / 4,2,1; teams 2
// and 3 are of the same state and meet in the last round.
Estado quatro_times()
{
    Estado e = campeonato(4, 3);
    distancias_por_indice(e);
    e.campeonato.matriz_distancias[2][3] = 0;
    e.campeonato.matriz_distancias[3][2] = 0;
    monta(e, {{{1, 2}, {-3, 4}}, {{-1, 3}, {2, 4}}, {{1, 4}, {-2, 3}}});
    return e;
}

TEST(Avaliacao, ExemploDeQuatroTimesContadoAMao)
{
    Estado e = quatro_times();
    Execucao& x = e.execucao;
    EXPECT_EQ(avalia(e), 0.0);  // nothing chosen yet: FO is 0, the counts are still made
    const Contagens esperado{{0, 0, 4, 4, 1, 0, 0, 217, 44}};
    EXPECT_EQ(x.inviabilidades, esperado);
    const int sedes[5][3] = {{}, {1, 3, 1}, {1, 2, 3}, {4, 3, 3}, {4, 2, 1}};
    for (int t = 1; t <= 4; ++t)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(x.matriz_mandantes[t][k], sedes[t][k]) << t << " " << k;
    EXPECT_EQ(x.matriz_mandantes[3][3], 77);  // the distance travelled in the last column

    todos_objetivos(e);
    EXPECT_EQ(avalia(e), 4e9 + 4e7 + 1e9 + 217 + 4400);
    e.criterios.objetivos = {0, 0, 0, 0, 0, 0, 0, 1, 1};
    e.criterios.pesos[7] = 3;
    EXPECT_EQ(avalia(e), 3 * 217.0 + 100 * 44.0);

    // Inviabilidade 1 is read from the control matrix as it stands, which is not rebuilt.
    x.matriz_controle[0][1].jogos_casa = 3;
    avalia(e);
    EXPECT_EQ(x.inviabilidades[Inviabilidade::jogos_na_rodada], 2);
}

// ---- Moves ----------------------------------------------------------------------

Matriz<Controle> controle_do_zero(Estado& e)
{
    Matriz<Controle> atual = e.execucao.matriz_controle;
    e.execucao.matriz_controle.zera();
    monta_matriz_controle(e.execucao.matriz_controle, e.execucao.tabela_atual);
    std::swap(atual, e.execucao.matriz_controle);
    return atual;
}

class Propriedades : public ::testing::TestWithParam<const char*> {};

// Long random sequences of both moves: after every move the control matrix equals a
// rebuild from scratch, and every move applied twice restores table and matrix bit for bit.
TEST_P(Propriedades, ControleAcompanhaEMovimentoSeDesfaz)
{
    Estado e = carrega_exemplo(GetParam());
    ASSERT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
    e.execucao.gerador.semeia(7);
    const SorteioMovimentos sorteio(e.campeonato, Fase::primeira);
    for (int i = 0; i < 4000; ++i) {
        const Movimento m = sorteio.sorteia(e.execucao.gerador);
        const Tabela tabela = e.execucao.tabela_atual;
        const auto controle = e.execucao.matriz_controle;
        aplica_movimento(e.execucao.tabela_atual, e.execucao.matriz_controle, m);
        ASSERT_EQ(e.execucao.matriz_controle, controle_do_zero(e)) << "movimento " << i;
        if (i % 3 == 0) {
            aplica_movimento(e.execucao.tabela_atual, e.execucao.matriz_controle, m);
            ASSERT_EQ(e.execucao.tabela_atual, tabela);
            ASSERT_EQ(e.execucao.matriz_controle, controle);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Exemplos, Propriedades,
                         ::testing::Values("nordeste.dat", "brasileirao_2023.dat", "brasileirao_2023_turno.dat"));

}  // namespace
}  // namespace kelm::teste
