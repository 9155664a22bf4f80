#include "apoio.hpp"
#include "evaluation/avaliacao.hpp"
#include "model/solucao_inicial.hpp"

namespace kelm::teste {
namespace {

TEST(Matrizes, AlocacaoImpossivelDaAMensagemDaFamilia)
{
    EXPECT_THROW(
        {
            try {
                aloca_matriz_inteiros(1LL << 40, 1LL << 40);
            } catch (const ErroAlocacao& e) {
                EXPECT_STREQ(e.what(), "Falta memória para alocar a matriz de distâncias.");
                throw;
            }
        },
        ErroAlocacao);
    try {
        aloca_matriz_jogos(-1, 3);
        ADD_FAILURE();
    } catch (const ErroAlocacao& e) {
        EXPECT_STREQ(e.what(), "Falta memoria para alocar a matriz de jogos.");
    }
    try {
        aloca_matriz_controle(3, 1LL << 33);
        ADD_FAILURE();
    } catch (const ErroAlocacao& e) {
        EXPECT_STREQ(e.what(), "Falta memoria para alocar a matriz de controle.");
    }
}

TEST(Matrizes, NoveTimesDaoTresVagasPorRodada)
{
    Estado e = campeonato(7, 7);
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    EXPECT_EQ(e.tabela_atual.colunas(), 3);
    EXPECT_EQ(e.matriz_mandantes.linhas(), 8);
    EXPECT_EQ(e.matriz_mandantes.colunas(), 7);
    EXPECT_EQ(e.matriz_controle.linhas(), 7);
    EXPECT_EQ(e.matriz_controle.colunas(), 8);
}

TEST(Jogo, LadoDaCasaSegueOSinal)
{
    const Jogo fora{-3, 5};
    EXPECT_EQ(fora.mandante(), 5);
    EXPECT_EQ(fora.visitante(), 3);
    const Jogo casa{3, 5};
    EXPECT_EQ(casa.mandante(), 3);
    EXPECT_EQ(casa.visitante(), 5);
    EXPECT_TRUE(Jogo{}.vazio());
}

TEST(PreparaExecucao, CopiaAInicialZeraAMelhorEMontaOControle)
{
    Estado e = campeonato(6, 10);
    gera_solucao_inicial(e);
    e.inviabilidades[Inviabilidade::mandos] = 7;  // left over from an earlier evaluation
    e.inviabilidades_melhor[Inviabilidade::inicio] = 3;
    ASSERT_TRUE(prepara_execucao(e).sucesso);

    EXPECT_EQ(e.tabela_atual, e.tabela_inicial);
    for (int r = 0; r < 10; ++r)
        for (int g = 0; g < 3; ++g) EXPECT_TRUE(e.tabela_melhor[r][g].vazio());
    EXPECT_EQ(e.inviabilidades, Contagens{});
    EXPECT_EQ(e.inviabilidades_melhor, Contagens{});
    EXPECT_FALSE(e.primeira_execucao);

    Matriz<Controle> esperado = aloca_matriz_controle(10, 7);
    std::swap(esperado, e.matriz_controle);
    monta_matriz_controle(e, e.tabela_atual);
    EXPECT_EQ(esperado, e.matriz_controle);
    // Rows 5 to 9 are empty: nobody plays there.
    for (int t = 1; t <= 6; ++t) EXPECT_EQ(e.matriz_controle[7][t], Controle{});
}

TEST(PreparaExecucao, DepoisDeOutraCargaUsaAsNovasDimensoes)
{
    Estado e = carrega_exemplo("nordeste.dat");
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    ASSERT_EQ(e.tabela_atual.linhas(), 10);
    ASSERT_TRUE(carrega_dados(e, exemplo("brasileirao_2023_turno.dat")).sucesso);
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    EXPECT_EQ(e.tabela_atual.linhas(), 19);
    EXPECT_EQ(e.tabela_atual.colunas(), 10);
    EXPECT_EQ(e.tabela_melhor.linhas(), 19);
    EXPECT_EQ(e.matriz_controle.colunas(), 21);
    EXPECT_EQ(e.matriz_mandantes.linhas(), 21);
    EXPECT_EQ(e.matriz_mandantes.colunas(), 20);
    EXPECT_EQ(e.tabela_atual, e.tabela_inicial);
}

}  // namespace
}  // namespace kelm::teste
