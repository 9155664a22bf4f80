#include <cmath>

#include "apoio.hpp"
#include "evaluation/avaliacao.hpp"
#include "neighbourhoods/padrao/avaliador_incremental.hpp"
#include "neighbourhoods/padrao/movimentos.hpp"

namespace kelm::teste {
namespace {

// Scores tabela_atual from scratch with the reference evaluation, without disturbing the
// counts the incremental evaluator published.
std::pair<double, Contagens> referencia(Estado& e)
{
    const Contagens guardadas = e.execucao.inviabilidades;
    const double fo = avalia(e);
    std::pair<double, Contagens> r{fo, e.execucao.inviabilidades};
    e.execucao.inviabilidades = guardadas;
    return r;
}

struct Cenario {
    const char* nome;
    int n;
    int r;
};

// Drawn distances (some 0, the diagonal sometimes set), a drawn schedule, every objective on
// and weights of both signs.
Estado cenario(const Cenario& c, std::uint32_t semente)
{
    Estado e = campeonato_sorteado(c.n, c.r, semente);
    e.criterios.pesos = {1000000000, 7, 1000000000, -3, 1000000000, 100000, 5, 1, 100};
    return e;
}

class Diferencial : public ::testing::TestWithParam<Cenario> {};

// Random moves of both kinds, some kept and some undone, with every count and FO compared
// with the reference after every move and every undo.
TEST_P(Diferencial, MesmasContagensEMesmaFoAposCadaMovimento)
{
    const Cenario c = GetParam();
    // Three seeds and 3000 moves each, fewer for the largest, whose reference is slow.
    const int movimentos = c.n > 50 ? 500 : 3000;
    for (const std::uint32_t semente : {1u, 2u, 3u}) {
        Estado e = cenario(c, semente);
        Execucao& x = e.execucao;
        AvaliadorIncremental incremental(e.campeonato, e.criterios, x);
        ASSERT_EQ(incremental.avalia(), referencia(e).first);
        Gerador sorteio;
        sorteio.semeia(semente + 100);
        for (int i = 0; i < movimentos; ++i) {
            Movimento m;
            m.tipo = sorteio.sorteia_inteiro(2) == 0 ? Movimento::Tipo::troca_jogos : Movimento::Tipo::troca_mando;
            m.r1 = sorteio.sorteia_inteiro(c.r);
            m.g1 = sorteio.sorteia_inteiro(c.n / 2);
            m.r2 = sorteio.sorteia_inteiro(c.r);  // may equal r1: same-round swaps are tried too
            m.g2 = sorteio.sorteia_inteiro(c.n / 2);
            const Tabela antes = x.tabela_atual;
            const auto controle = x.matriz_controle;
            const double fo = incremental.aplica(m);
            const auto [fo_ref, contagens_ref] = referencia(e);
            ASSERT_EQ(fo, fo_ref) << "movimento " << i;
            ASSERT_EQ(x.inviabilidades, contagens_ref) << "movimento " << i;
            if (sorteio.sorteia_inteiro(3) == 0) {
                incremental.desfaz(m);
                ASSERT_EQ(x.tabela_atual, antes);
                ASSERT_EQ(x.matriz_controle, controle);
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
    ::testing::Values(Cenario{"TresTimes", 3, 3}, Cenario{"CincoTimes", 5, 9}, Cenario{"SeisComFolga", 6, 10},
                      Cenario{"VinteCompacto", 20, 19}, Cenario{"VinteDuasVoltas", 20, 38},
                      Cenario{"TrintaETres", 33, 40}, Cenario{"SetentaTimes", 70, 80},
                      Cenario{"CentoEQuarenta", 140, 139}),
    [](const auto& caso) { return std::string(caso.param.nome); });

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
