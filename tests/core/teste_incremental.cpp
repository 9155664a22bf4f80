#include <cmath>

#include "apoio.hpp"
#include "evaluation/avaliacao.hpp"
#include "evaluation/avaliador_incremental.hpp"
#include "evaluation/movimentos.hpp"
#include "model/solucao_inicial.hpp"

namespace kelm::teste {
namespace {

// Scores tabela_atual from scratch with the reference evaluation, without disturbing the
// state the incremental evaluator works on.
std::pair<double, Contagens> referencia(Estado& e)
{
    const Contagens guardadas = e.execucao.inviabilidades;
    const double fo = avalia_tabela(e.campeonato, e.criterios, e.execucao, e.execucao.tabela_atual);
    std::pair<double, Contagens> r{fo, e.execucao.inviabilidades};
    e.execucao.inviabilidades = guardadas;
    return r;
}

struct Cenario {
    const char* nome;
    int n;
    int r;
};

// Short names in the test lists.
void PrintTo(const Cenario& c, std::ostream* os) { *os << c.nome; }

// Distances drawn at random, some pairs at 0 (same state), the diagonal sometimes set.
Estado cenario(const Cenario& c, std::uint32_t semente)
{
    Estado e = campeonato(c.n, c.r);
    Gerador g;
    g.semeia(semente);
    for (int i = 1; i <= c.n; ++i)
        for (int j = 1; j <= c.n; ++j) e.campeonato.matriz_distancias[i][j] = g.sorteia_inteiro(5) == 0 ? 0 : g.sorteia_inteiro(3000);
    e.execucao.gerador.semeia(semente);
    gera_solucao_inicial(e.campeonato.num_times, e.execucao.gerador, e.execucao.tabela_inicial);
    EXPECT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
    e.criterios.objetivos = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    e.criterios.pesos = {1000000000, 7, 1000000000, -3, 1000000000, 100000, 5, 1, 100};
    return e;
}

class Diferencial : public ::testing::TestWithParam<Cenario> {};

// Random moves of both kinds, some kept and some undone, with every count and FO compared
// with the reference after every move and every undo.
TEST_P(Diferencial, MesmasContagensEMesmaFoAposCadaMovimento)
{
    const Cenario c = GetParam();
    for (const std::uint32_t semente : {1u, 2u, 3u}) {
        Estado e = cenario(c, semente);
        AvaliadorIncremental incremental(e.campeonato, e.criterios, e.execucao);
        ASSERT_EQ(incremental.avalia(), referencia(e).first);
        Gerador sorteio;
        sorteio.semeia(semente + 100);
        for (int i = 0; i < 3000; ++i) {
            Movimento m;
            m.tipo = sorteio.sorteia_inteiro(2) == 0 ? Movimento::Tipo::troca_jogos : Movimento::Tipo::troca_mando;
            m.r1 = sorteio.sorteia_inteiro(c.r);
            m.g1 = sorteio.sorteia_inteiro(c.n / 2);
            m.r2 = sorteio.sorteia_inteiro(c.r);  // may equal r1: same-round swaps are tried too
            m.g2 = sorteio.sorteia_inteiro(c.n / 2);
            const double fo = incremental.aplica(m);
            const auto [fo_ref, contagens_ref] = referencia(e);
            ASSERT_EQ(fo, fo_ref) << "movimento " << i;
            ASSERT_EQ(e.execucao.inviabilidades, contagens_ref) << "movimento " << i;
            if (sorteio.sorteia_inteiro(3) == 0) {
                incremental.desfaz(m);
            } else {
                incremental.confirma();
            }
            ASSERT_EQ(incremental.contagens(), referencia(e).second) << "depois do movimento " << i;
            ASSERT_EQ(incremental.avalia(), referencia(e).first);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Campeonatos, Diferencial,
    ::testing::Values(Cenario{"TresTimes", 3, 3}, Cenario{"QuatroCompacto", 4, 3}, Cenario{"CincoTimes", 5, 9},
                      Cenario{"SeisComFolga", 6, 10}, Cenario{"SeteImpar", 7, 7}, Cenario{"VinteCompacto", 20, 19},
                      Cenario{"VinteDuasVoltas", 20, 38}, Cenario{"TrintaETres", 33, 40},
                      Cenario{"SetentaTimes", 70, 80}, Cenario{"CentoEQuarenta", 140, 139}),
    [](const auto& caso) { return std::string(caso.param.nome); });

TEST(Diferencial, ExemplosNaFasesDaBusca)
{
    // The moves the search draws, on the bundled championships, with their real weights.
    for (const char* dados : {"nordeste.dat", "brasileirao_2023.dat", "brasileirao_2023_turno.dat"}) {
        Estado e = carrega_exemplo(dados);
        ASSERT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
        todos_objetivos(e);
        for (const bool primeira : {true, false}) {
            e.execucao.primeira_fase = primeira;
            AvaliadorIncremental incremental(e.campeonato, e.criterios, e.execucao);
            for (int i = 0; i < 2000; ++i) {
                const Movimento m = SorteioMovimentos(e.campeonato, e.execucao.primeira_fase).sorteia(e.execucao.gerador);
                const double fo = incremental.aplica(m);
                ASSERT_EQ(fo, referencia(e).first) << dados << " " << i;
                if (i % 2 == 0)
                    incremental.confirma();
                else
                    incremental.desfaz(m);
            }
            EXPECT_EQ(incremental.contagens(), referencia(e).second);
        }
    }
}

TEST(Incremental, DesfazerRestauraTabelaEControle)
{
    Estado e = carrega_exemplo("brasileirao_2023.dat");
    ASSERT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
    e.execucao.primeira_fase = true;
    AvaliadorIncremental incremental(e.campeonato, e.criterios, e.execucao);
    for (int i = 0; i < 500; ++i) {
        const Movimento m = SorteioMovimentos(e.campeonato, e.execucao.primeira_fase).sorteia(e.execucao.gerador);
        const Tabela tabela = e.execucao.tabela_atual;
        const auto controle = e.execucao.matriz_controle;
        const Contagens contagens = incremental.contagens();
        incremental.aplica(m);
        incremental.desfaz(m);
        ASSERT_EQ(e.execucao.tabela_atual, tabela);
        ASSERT_EQ(e.execucao.matriz_controle, controle);
        ASSERT_EQ(incremental.contagens(), contagens);
    }
}

TEST(Incremental, RecusaAntecipadaSoQuandoOTesteRecusaria)
{
    // At every temperature, an answer below the exact FO (a bound) comes only for moves that
    // worsen the objective by the temperature or more, and such a move cannot be kept.
    Estado e = carrega_exemplo("brasileirao_2023_turno.dat");
    ASSERT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
    todos_objetivos(e);
    e.execucao.primeira_fase = true;
    AvaliadorIncremental incremental(e.campeonato, e.criterios, e.execucao);
    const SorteioMovimentos sorteio(e.campeonato, e.execucao.primeira_fase);
    double fo_atual = incremental.avalia();
    int antecipadas = 0;
    for (int i = 0; i < 6000; ++i) {
        const double temperatura = std::pow(10.0, i % 12);
        const Movimento m = sorteio.sorteia(e.execucao.gerador);
        const double resposta = incremental.aplica(m, fo_atual, temperatura);
        const double exata = referencia(e).first;
        if (resposta != exata) {
            ++antecipadas;
            ASSERT_LT(resposta, exata);
            ASSERT_GE(resposta - fo_atual, temperatura);
            ASSERT_GE(exata - fo_atual, temperatura);
            EXPECT_THROW(incremental.confirma(), std::logic_error);
            incremental.desfaz(m);
        } else if (exata <= fo_atual) {
            incremental.confirma();
            fo_atual = exata;
        } else {
            incremental.desfaz(m);
        }
        ASSERT_EQ(incremental.contagens(), referencia(e).second) << i;
    }
    EXPECT_GT(antecipadas, 100);
}

TEST(Incremental, PesoNegativoDesligaARecusaAntecipada)
{
    Estado e = carrega_exemplo("nordeste.dat");
    ASSERT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
    todos_objetivos(e);
    e.criterios.pesos[1] = -1000000000;
    e.execucao.primeira_fase = true;
    AvaliadorIncremental incremental(e.campeonato, e.criterios, e.execucao);
    const SorteioMovimentos sorteio(e.campeonato, e.execucao.primeira_fase);
    const double fo_atual = incremental.avalia();
    for (int i = 0; i < 2000; ++i) {
        const Movimento m = sorteio.sorteia(e.execucao.gerador);
        const double resposta = incremental.aplica(m, fo_atual, 1.0);
        ASSERT_EQ(resposta, referencia(e).first);
        incremental.desfaz(m);
    }
}

TEST(Incremental, RecusaTabelaForaDoModelo)
{
    Estado e = campeonato(4, 3);  // an empty schedule: every team short of its games
    ASSERT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
    EXPECT_THROW(AvaliadorIncremental(e.campeonato, e.criterios, e.execucao), std::logic_error);
}

}  // namespace
}  // namespace kelm::teste
