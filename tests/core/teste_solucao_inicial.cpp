#include <random>

#include "search/comandos.hpp"
#include "apoio.hpp"

namespace kelm::teste {
namespace {

// The engine is std::mt19937's, held in 32-bit words; every draw drops the lowest bit.
TEST(Gerador, MesmosNumerosQueStdMt19937)
{
    Mt19937 nosso;
    std::mt19937 padrao;
    for (int i = 0; i < 1000000; ++i) ASSERT_EQ(nosso(), padrao()) << i;
    nosso.seed(333);
    padrao.seed(333);
    for (int i = 0; i < 1000000; ++i) ASSERT_EQ(nosso(), padrao()) << i;
}

TEST(SolucaoInicial, NovaSolucaoReescreveSemZerarESemResultado)
{
    Estado e = carrega_exemplo("nordeste.dat");
    const Tabela primeira = e.execucao.tabela_inicial;
    e.execucao.programa_executado = true;
    ASSERT_TRUE(nova_solucao_inicial(e.campeonato, e.execucao).sucesso);
    EXPECT_FALSE(e.execucao.programa_executado);
    EXPECT_NE(e.execucao.tabela_inicial, primeira);
    for (int r = 5; r < 10; ++r)
        for (int g = 0; g < 3; ++g) EXPECT_TRUE(e.execucao.tabela_inicial[r][g].vazio());

    Estado vazio;
    const Desfecho d = nova_solucao_inicial(vazio.campeonato, vazio.execucao);
    EXPECT_FALSE(d.sucesso);
    EXPECT_EQ(d.texto, "Os dados não foram carregados.");
    EXPECT_EQ(d.tipo, TipoMensagem::informacao);
}

}  // namespace
}  // namespace kelm::teste
