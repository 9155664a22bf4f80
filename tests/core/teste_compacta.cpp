#include <cmath>
#include <set>

#include "apoio.hpp"
#include "neighbourhoods/compacta/tabela_compacta.hpp"
#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"

namespace kelm::teste {
namespace {

// Empty when `t` is a compact round robin of n teams: every pair meets once, every team plays
// once in every round (or rests in exactly one round, when n is odd), and every game is
// written with the lower-numbered team in time1; otherwise what is wrong.
std::string falha_compacta(const Tabela& t, int n)
{
    std::set<std::pair<int, int>> pares;
    std::vector<int> folgas(static_cast<std::size_t>(n) + 1, 0);
    for (int r = 0; r < t.linhas(); ++r) {
        std::vector<int> jogos(static_cast<std::size_t>(n) + 1, 0);
        for (int g = 0; g < t.colunas(); ++g) {
            const Jogo j = t[r][g];
            const int a = std::abs(j.time1);
            if (j.vazio() || a >= j.time2 || j.time2 > n) return "jogo mal escrito na rodada " + std::to_string(r);
            if (!pares.insert({a, j.time2}).second) return "par repetido na rodada " + std::to_string(r);
            ++jogos[static_cast<std::size_t>(a)];
            ++jogos[static_cast<std::size_t>(j.time2)];
        }
        for (int x = 1; x <= n; ++x) {
            if (jogos[static_cast<std::size_t>(x)] > 1) return "time com dois jogos na rodada " + std::to_string(r);
            if (jogos[static_cast<std::size_t>(x)] == 0) ++folgas[static_cast<std::size_t>(x)];
        }
    }
    for (int x = 1; x <= n; ++x)
        if (folgas[static_cast<std::size_t>(x)] != n % 2) return "o time " + std::to_string(x) + " folga errado";
    return pares.size() == static_cast<std::size_t>(n * (n - 1) / 2) ? "" : "faltam pares";
}

// n teams with drawn distances, a compact round robin drawn into tabela_atual, every
// objective on with weights of both signs.
Estado compacto(int n, std::uint32_t semente)
{
    Estado e = campeonato_sorteado(n, rodadas_preenchidas(n), semente);
    Execucao& x = e.execucao;
    gera_tabela_compacta(n, x.gerador, x.tabela_atual);
    x.matriz_controle.zera();
    monta_matriz_controle(x.matriz_controle, x.tabela_atual);
    e.criterios.pesos = {1000000000, 7, 1000000000, -3, 1000000000, 100000, 5, 1, 100};
    return e;
}

class Compacta : public ::testing::TestWithParam<int> {};

// Random moves of every kind, some kept and some undone, each scored by the incremental and
// by the reference evaluation on two copies of the same schedule: the same counts and FO,
// the neighbour always a compact round robin, an undone move leaving nothing changed. With
// the default weights the moves are also tried at temperatures from 1 to 10^11: an answer
// other than the exact FO is a bound, below it, and worse than the current FO by the
// temperature or more.
TEST_P(Compacta, MesmasContagensQueAReferenciaERodadasCompletas)
{
    const int n = GetParam();
    for (const std::uint32_t semente : {1u, 2u}) {
        Estado inc = compacto(n, semente);
        if (semente == 2) inc.criterios.pesos = pesos_default;
        Estado ref = inc;
        VizinhancaCompacta vi(inc.campeonato, inc.criterios, inc.execucao);
        VizinhancaCompacta vr(ref.campeonato, ref.criterios, ref.execucao, ModoAvaliacao::completa);
        double fo_atual = vr.avalia();
        ASSERT_EQ(vi.avalia(), fo_atual);
        ASSERT_EQ(inc.execucao.inviabilidades, ref.execucao.inviabilidades);
        Gerador g;
        g.semeia(semente + 100);
        int limites = 0;
        for (int i = 0; i < 2000; ++i) {
            const MovimentoCompacto m = vi.sorteia(g);
            const Tabela antes = ref.execucao.tabela_atual;
            const auto controle = ref.execucao.matriz_controle;
            const double temperatura = semente == 2 ? std::pow(10.0, i % 12) : HUGE_VAL;
            const double resposta = vi.aplica(m, fo_atual, temperatura);
            const double exata = vr.aplica(m);
            ASSERT_EQ(falha_compacta(ref.execucao.tabela_atual, n), "") << "movimento " << i;
            if (resposta != exata) {
                ++limites;
                ASSERT_LT(resposta, exata) << "movimento " << i;
                ASSERT_GE(resposta - fo_atual, temperatura) << "movimento " << i;
            } else {
                ASSERT_EQ(inc.execucao.inviabilidades, ref.execucao.inviabilidades) << "movimento " << i;
            }
            if (resposta != exata || g.sorteia_inteiro(3) == 0) {
                vi.desfaz(m);
                vr.desfaz(m);
                ASSERT_EQ(ref.execucao.tabela_atual, antes);
                ASSERT_EQ(ref.execucao.matriz_controle, controle);
            } else {
                vi.confirma();
                vr.confirma();
                fo_atual = exata;
                ASSERT_EQ(vi.contagens(), ref.execucao.inviabilidades) << "depois do movimento " << i;
            }
            ASSERT_EQ(inc.execucao.tabela_atual, ref.execucao.tabela_atual) << "movimento " << i;
            ASSERT_EQ(inc.execucao.matriz_controle, ref.execucao.matriz_controle);
        }
        if (semente == 2 && n > 4) {
            EXPECT_GT(limites, 50);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Times, Compacta, ::testing::Values(3, 4, 5, 6, 9, 20, 21, 30, 71));

TEST(BuscaCompacta, RecusaDadosQueNaoSaoCompactosSemMudarNada)
{
    Estado e = carrega_exemplo("nordeste.dat");
    e.execucao.programa_executado = true;
    const Estado antes = e;
    Gravador gravador;
    OpcoesBusca op;
    op.busca = TipoBusca::compacta;
    const ResumoBusca r = executa_busca(e, gravador, op);
    EXPECT_FALSE(r.executada);
    EXPECT_EQ(r.desfecho.tipo, TipoMensagem::erro);
    EXPECT_EQ(r.desfecho.texto, "A busca compacta não pode ser usada com estes dados: ela faz cada time jogar uma vez "
                                "por rodada, o que com 6 times pede 5 rodadas, e os dados têm 10.");
    EXPECT_TRUE(gravador.eventos.empty());
    EXPECT_TRUE(e == antes);

    Campeonato impar = campeonato(7, 6).campeonato;
    EXPECT_EQ(aceita_busca_compacta(impar).texto,
              "A busca compacta não pode ser usada com estes dados: ela faz cada time jogar uma vez por rodada, com "
              "um time de folga em cada uma, o que com 7 times pede 7 rodadas, e os dados têm 6.");
}

// A whole compact run of a small championship: its result is a compact round robin, and
// another seed gives another one (the golden run shows the same seed gives the same).
TEST(BuscaCompacta, ResultadoCompactoQueASementeDecide)
{
    auto executa = [](std::uint32_t semente) {
        Estado e = campeonato_sorteado(8, 7, 5);
        OpcoesBusca op;
        op.busca = TipoBusca::compacta;
        op.semente = semente;
        op.max_reaquecimentos = 1;
        Observador nada;
        EXPECT_TRUE(executa_busca(e, nada, op).executada);
        return e;
    };
    const Estado a = executa(333);
    EXPECT_EQ(falha_compacta(a.execucao.tabela_melhor, 8), "");
    EXPECT_NE(a.execucao.tabela_melhor, executa(334).execucao.tabela_melhor);
    // The kept counts are those of the kept schedule.
    Estado b = a;
    b.execucao.matriz_controle.zera();
    monta_matriz_controle(b.execucao.matriz_controle, b.execucao.tabela_melhor);
    avalia_tabela(b.campeonato, b.criterios, b.execucao, b.execucao.tabela_melhor);
    EXPECT_EQ(b.execucao.inviabilidades, a.execucao.inviabilidades_melhor);
}

}  // namespace
}  // namespace kelm::teste
