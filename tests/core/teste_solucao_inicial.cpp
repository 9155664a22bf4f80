#include <random>
#include <set>
#include <utility>

#include "apoio.hpp"
#include "model/solucao_inicial.hpp"

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

    Gerador g;
    for (int i = 1; i < 10000; ++i) g.sorteia();
    // The standard fixes the 10000th output of a default-constructed std::mt19937.
    EXPECT_EQ(g.sorteia(), static_cast<std::int32_t>(4123659995u >> 1));
}

TEST(Gerador, SemSorteioParaZeroOuIntervaloVazio)
{
    Gerador g;
    const Gerador antes = g;
    EXPECT_EQ(g.sorteia_inteiro(0), 0);
    EXPECT_EQ(g.aleatorio_real(2.5, 2.5), 2.5);
    EXPECT_TRUE(g == antes);
    Gerador h;
    const auto bruto = h.sorteia();
    EXPECT_EQ(g.aleatorio_real(0.0, 1.0), static_cast<double>(bruto % 10000) * 0.0001);
}

// The same generation written the plain way: the list shifts on every removal.
Tabela gera_pelo_caminho_simples(int n, int r)
{
    std::mt19937 motor;
    auto sorteia = [&](int m) { return m == 0 ? 0 : static_cast<int>((motor() >> 1) % static_cast<unsigned>(m)); };
    std::vector<Jogo> lista;
    for (int i = 1; i < n; ++i)
        for (int j = i + 1; j <= n; ++j) lista.push_back({sorteia(2) == 0 ? i : -i, j});
    Tabela t = aloca_matriz_jogos(r, n / 2);
    int linha = 0;
    int vaga = 0;
    while (!lista.empty()) {
        const int k = sorteia(static_cast<int>(lista.size()));
        t[linha][vaga] = lista[static_cast<std::size_t>(k)];
        lista.erase(lista.begin() + k);
        if (++vaga == n / 2) {
            vaga = 0;
            ++linha;
        }
    }
    return t;
}

TEST(SolucaoInicial, PrimeiraTabelaDoExemploPequenoEstaFixada)
{
    const Estado e = carrega_exemplo("nordeste.dat");
    // The first schedule a program start draws for this championship. A change to the
    // generator or to the order of the draws changes it.
    const Jogo esperado[5][3] = {
        {{1, 2}, {-5, 6}, {2, 5}},
        {{-1, 3}, {4, 5}, {2, 4}},
        {{-3, 5}, {1, 5}, {-3, 4}},
        {{-2, 6}, {3, 6}, {-1, 4}},
        {{-2, 3}, {1, 6}, {-4, 6}},
    };
    for (int r = 0; r < 5; ++r)
        for (int g = 0; g < 3; ++g) EXPECT_EQ(e.execucao.tabela_inicial[r][g], esperado[r][g]) << "rodada " << r << " vaga " << g;
    EXPECT_EQ(e.execucao.tabela_inicial, gera_pelo_caminho_simples(6, 10));
}

TEST(SolucaoInicial, IgualAoCaminhoSimplesNosExemplosGrandes)
{
    const Estado e = carrega_exemplo("brasileirao_2023.dat");
    EXPECT_EQ(e.execucao.tabela_inicial, gera_pelo_caminho_simples(20, 38));
}

struct Dimensoes {
    int n;
    int r;
};

// Short names in the test lists.
void PrintTo(const Dimensoes& c, std::ostream* os) { *os << c.n << " times, " << c.r << " rodadas"; }

class Invariantes : public ::testing::TestWithParam<Dimensoes> {};

TEST_P(Invariantes, CadaParUmaVezLinhasCheiasEDrawsContados)
{
    const auto [n, r] = GetParam();
    Estado e = campeonato(n, r);
    Gerador contador = e.execucao.gerador;
    gera_solucao_inicial(e.campeonato.num_times, e.execucao.gerador, e.execucao.tabela_inicial);

    std::set<std::pair<int, int>> pares;
    const int cheias = rodadas_preenchidas(n);
    for (int rod = 0; rod < r; ++rod) {
        for (int g = 0; g < n / 2; ++g) {
            const Jogo j = e.execucao.tabela_inicial[rod][g];
            if (rod < cheias) {
                ASSERT_FALSE(j.vazio());
                EXPECT_LT(std::abs(j.time1), j.time2);
                EXPECT_GE(std::abs(j.time1), 1);
                EXPECT_LE(j.time2, n);
                EXPECT_TRUE(pares.insert({std::abs(j.time1), j.time2}).second);
            } else {
                EXPECT_TRUE(j.vazio());
                EXPECT_EQ(j.time2, 0);
            }
        }
    }
    EXPECT_EQ(pares.size(), static_cast<std::size_t>(n * (n - 1) / 2));
    // Exactly N(N-1) draws were taken.
    for (int i = 0; i < n * (n - 1); ++i) contador.sorteia();
    EXPECT_TRUE(contador == e.execucao.gerador);
}

INSTANTIATE_TEST_SUITE_P(Tamanhos, Invariantes,
                         ::testing::Values(Dimensoes{4, 3}, Dimensoes{5, 5}, Dimensoes{6, 10}, Dimensoes{7, 7},
                                           Dimensoes{20, 38}, Dimensoes{21, 21}));

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
