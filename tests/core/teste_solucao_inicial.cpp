#include <random>

#include "search/comandos.hpp"
#include "apoio.hpp"
#include "neighbourhoods/padrao/solucao_inicial.hpp"

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

// The same generation written the plain way: the list shifts on every removal. `motor` is
// left where the generation leaves it.
Tabela gera_pelo_caminho_simples(int n, int r, std::mt19937& motor)
{
    auto sorteia = [&](int m) { return m == 0 ? 0 : static_cast<int>((motor() >> 1) % static_cast<unsigned>(m)); };
    std::vector<Jogo> lista;
    for (int i = 1; i < n; ++i)
        for (int j = i + 1; j <= n; ++j) lista.push_back({sorteia(2) == 0 ? i : -i, j});
    Tabela t = aloca_matriz_jogos(r, n / 2);
    for (int k = 0; !lista.empty(); ++k) {
        const int escolhido = sorteia(static_cast<int>(lista.size()));
        t[k / (n / 2)][k % (n / 2)] = lista[static_cast<std::size_t>(escolhido)];
        lista.erase(lista.begin() + escolhido);
    }
    return t;
}

// For even and odd N, with and without rounds to spare: the schedule the plain way draws,
// and the generator left where the plain way leaves it. A load draws the same.
TEST(SolucaoInicial, IgualAoCaminhoSimples)
{
    for (const auto& [n, r] : {std::pair{4, 3}, {5, 5}, {6, 10}, {7, 7}, {20, 38}, {21, 21}}) {
        Estado e = campeonato(n, r);
        gera_solucao_inicial(n, e.execucao.gerador, e.execucao.tabela_inicial);
        std::mt19937 motor;
        EXPECT_EQ(e.execucao.tabela_inicial, gera_pelo_caminho_simples(n, r, motor)) << n << " times";
        EXPECT_EQ(e.execucao.gerador.sorteia(), static_cast<std::int32_t>(motor() >> 1)) << n << " times";
    }
    std::mt19937 motor;
    EXPECT_EQ(carrega_exemplo("brasileirao_2023.dat").execucao.tabela_inicial, gera_pelo_caminho_simples(20, 38, motor));
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
