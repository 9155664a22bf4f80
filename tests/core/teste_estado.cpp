#include "apoio.hpp"
#include "evaluation/avaliacao.hpp"
#include "model/solucao_inicial.hpp"
#include "search/busca.hpp"

namespace kelm::teste {
namespace {

TEST(Matrizes, AlocacaoImpossivelDaAMensagemDaFamilia)
{
    auto mensagem = [](auto aloca) {
        try {
            aloca();
        } catch (const ErroAlocacao& e) {
            return std::string(e.what());
        }
        return std::string("alocou");
    };
    EXPECT_EQ(mensagem([] { aloca_matriz_inteiros(1LL << 40, 1LL << 40); }),
              "Falta memória para alocar a matriz de distâncias.");
    EXPECT_EQ(mensagem([] { aloca_matriz_jogos(-1, 3); }), "Falta memoria para alocar a matriz de jogos.");
    EXPECT_EQ(mensagem([] { aloca_matriz_controle(3, 1LL << 33); }), "Falta memoria para alocar a matriz de controle.");
}

TEST(PreparaExecucao, CopiaAInicialZeraAMelhorEMontaOControle)
{
    Estado e = campeonato(7, 10);
    Execucao& x = e.execucao;
    gera_solucao_inicial(7, x.gerador, x.tabela_inicial);
    x.inviabilidades[Inviabilidade::mandos] = 7;  // left over from an earlier evaluation
    x.inviabilidades_melhor[Inviabilidade::inicio] = 3;
    ASSERT_TRUE(prepara_execucao(e.campeonato, x).sucesso);

    EXPECT_EQ(x.tabela_atual, x.tabela_inicial);
    EXPECT_EQ(x.tabela_melhor, aloca_matriz_jogos(10, 3));
    EXPECT_EQ(x.inviabilidades, Contagens{});
    EXPECT_EQ(x.inviabilidades_melhor, Contagens{});
    EXPECT_EQ(x.matriz_mandantes.linhas(), 8);
    EXPECT_EQ(x.matriz_mandantes.colunas(), 7);
    Matriz<Controle> esperado = aloca_matriz_controle(10, 8);
    monta_matriz_controle(esperado, x.tabela_atual);
    EXPECT_EQ(x.matriz_controle, esperado);

    // After another championship is loaded, the next run works with its dimensions.
    ASSERT_TRUE(carrega_dados(e.campeonato, x, exemplo("brasileirao_2023_turno.dat")).sucesso);
    ASSERT_TRUE(prepara_execucao(e.campeonato, x).sucesso);
    EXPECT_EQ(x.tabela_atual, x.tabela_inicial);
    EXPECT_EQ(x.tabela_melhor.linhas(), 19);
    EXPECT_EQ(x.matriz_controle.colunas(), 21);
    EXPECT_EQ(x.matriz_mandantes.linhas(), 21);
}

}  // namespace
}  // namespace kelm::teste
