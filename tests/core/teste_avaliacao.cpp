#include <map>

#include "apoio.hpp"
#include "evaluation/avaliacao.hpp"
#include "evaluation/movimentos.hpp"
#include "model/solucao_inicial.hpp"

namespace kelm::teste {
namespace {

using Rodadas = std::vector<std::vector<Jogo>>;

// Puts the rounds into tabela_inicial and prepares a run on it, as the run command does.
void monta(Estado& e, const Rodadas& rodadas)
{
    for (std::size_t r = 0; r < rodadas.size(); ++r)
        for (std::size_t g = 0; g < rodadas[r].size(); ++g)
            e.tabela_inicial[static_cast<int>(r)][static_cast<int>(g)] = rodadas[r][g];
    ASSERT_TRUE(prepara_execucao(e).sucesso);
}

// Distances 10 i + j between different teams.
void distancias_por_indice(Estado& e)
{
    for (int i = 1; i <= e.num_times; ++i)
        for (int j = 1; j <= e.num_times; ++j)
            if (i != j) e.matriz_distancias[i][j] = 10 * i + j;
}

// A 4-team round robin worked out by hand: venues 1,3,1 / 1,2,3 / 4,3,3 / 4,2,1; teams 2
// and 3 are of the same state and meet in the last round.
Estado quatro_times()
{
    Estado e = campeonato(4, 3);
    distancias_por_indice(e);
    e.matriz_distancias[2][3] = 0;
    e.matriz_distancias[3][2] = 0;
    monta(e, {{{1, 2}, {-3, 4}}, {{-1, 3}, {2, 4}}, {{1, 4}, {-2, 3}}});
    return e;
}

TEST(Avaliacao, ExemploDeQuatroTimesContadoAMao)
{
    Estado e = quatro_times();
    todos_objetivos(e);
    const double fo = avalia_tabela(e, e.tabela_atual);
    const Contagens esperado{{0, 0, 4, 4, 1, 0, 0, 217, 44}};
    EXPECT_EQ(e.inviabilidades, esperado);
    EXPECT_EQ(fo, 4e9 + 4e7 + 1e9 + 217 + 4400);
    const int sedes[5][3] = {{}, {1, 3, 1}, {1, 2, 3}, {4, 3, 3}, {4, 2, 1}};
    for (int t = 1; t <= 4; ++t)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(e.matriz_mandantes[t][k], sedes[t][k]) << t << " " << k;
    EXPECT_EQ(e.matriz_mandantes[3][3], 77);  // the distance travelled in the last column
}

TEST(Avaliacao, FoComObjetivos)
{
    Estado e = quatro_times();
    EXPECT_EQ(avalia_tabela(e, e.tabela_atual), 0.0);  // nothing chosen yet
    EXPECT_EQ(e.inviabilidades[Inviabilidade::fim], 4);  // the counts are still made
    e.config.objetivos[7] = 1;
    EXPECT_EQ(avalia_tabela(e, e.tabela_atual), 217.0);
    e.config.pesos[7] = 3;
    e.config.objetivos[8] = 1;
    EXPECT_EQ(avalia_tabela(e, e.tabela_atual), 3 * 217.0 + 100 * 44.0);
}

TEST(Avaliacao, NaoReconstroiOControle)
{
    Estado e = quatro_times();
    // The control matrix alone decides Inviabilidade 1.
    e.matriz_controle[0][1].jogos_casa = 3;
    avalia_tabela(e, e.tabela_atual);
    EXPECT_EQ(e.inviabilidades[Inviabilidade::jogos_na_rodada], 2);
    EXPECT_EQ(e.matriz_controle[0][1].jogos_casa, 3);
}

TEST(JogosPorRodada, TimeComTresJogosSomaDois)
{
    Estado e = campeonato(6, 5);
    monta(e, {{{1, 2}, {1, 3}, {-1, 4}}, {{5, 6}}});
    conta_jogos_por_rodada(e);
    EXPECT_EQ(e.inviabilidades[Inviabilidade::jogos_na_rodada], 2);
}

// Sets team t's venues in matriz_mandantes: 'C' at home, any other letter away (at team t+1).
void sequencia(Estado& e, int t, std::string_view jogos)
{
    for (std::size_t k = 0; k < jogos.size(); ++k)
        e.matriz_mandantes[t][static_cast<int>(k)] = jogos[k] == 'C' ? t : t % e.num_times + 1;
}

TEST(InicioFim, PrimeirosEUltimosJogos)
{
    Estado e = campeonato(7, 7);
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    sequencia(e, 1, "CCFFFC");  // home, home: Inv2 only, whatever the end
    sequencia(e, 2, "CFCFCF");  // home, away ... home, away: nothing
    sequencia(e, 3, "CFCCFC");  // home, away ... away, home
    sequencia(e, 4, "CFFFCC");  // home, away ... home, home
    sequencia(e, 5, "FCFFFF");  // away, home ... away, away
    sequencia(e, 6, "FCCCFC");  // away, home ... away, home: nothing
    sequencia(e, 7, "FFCCCC");  // away, away: Inv2 only
    conta_inicio_fim(e);
    EXPECT_EQ(e.inviabilidades[Inviabilidade::inicio], 2);
    EXPECT_EQ(e.inviabilidades[Inviabilidade::fim], 3);
}

TEST(Mandos, SequenciasDeCadaTimeContamSoParaEle)
{
    Estado e = campeonato(7, 7);
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    sequencia(e, 1, "FFFFFC");  // a run of 5 away adds 3
    sequencia(e, 2, "CCFFCC");  // runs of 2 add nothing
    sequencia(e, 3, "CFCFFF");  // ends with three away: adds 1 ...
    sequencia(e, 4, "FFCFCF");  // ... and the next team's opening away games do not continue it
    sequencia(e, 5, "CCCCCC");  // one home run of 6 adds 4
    sequencia(e, 6, "CFCFCF");
    sequencia(e, 7, "FCFFFF");  // ends with four away: adds 2
    conta_mandos(e);
    EXPECT_EQ(e.inviabilidades[Inviabilidade::fora_seguidos], 3 + 1 + 2);
    EXPECT_EQ(e.inviabilidades[Inviabilidade::casa_seguidos], 4);
    // |home - away| per team: 4, 2, 2, 2, 6, 0, 4.
    EXPECT_EQ(e.inviabilidades[Inviabilidade::mandos], 20);
}

TEST(Mandos, ComTimesParesCadaTimeSomaPeloMenosUm)
{
    Estado e = carrega_exemplo("brasileirao_2023.dat");
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    avalia_tabela(e, e.tabela_atual);
    EXPECT_GE(e.inviabilidades[Inviabilidade::mandos], 20);
}

TEST(Distancias, PercursoSegueAsSedesEmOrdem)
{
    Estado e = campeonato(8, 8);
    for (int i = 1; i <= 8; ++i)
        for (int j = 1; j <= 8; ++j) e.matriz_distancias[i][j] = 100 * i + j;
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    const int sedes[7] = {3, 5, 7, 3, 3, 8, 1};
    for (int t = 1; t <= 8; ++t)
        for (int k = 0; k < 7; ++k) e.matriz_mandantes[t][k] = t == 3 ? sedes[k] : t;
    calcula_distancias(e);
    // From home to the first venue, venue to venue, home games after home games add the
    // diagonal, and no trip back after the last game.
    const int esperado = 303 + 305 + 507 + 703 + 303 + 308 + 801;
    EXPECT_EQ(e.matriz_mandantes[3][7], esperado);
    // Every other team plays at home seven times: seven times its diagonal.
    EXPECT_EQ(e.matriz_mandantes[1][7], 7 * 101);
}

TEST(Distancias, DiferencaEntreOMaiorEOMenorPercurso)
{
    for (const bool invertido : {false, true}) {
        Estado e = campeonato(3, 3);
        ASSERT_TRUE(prepara_execucao(e).sucesso);
        const int viagens[4] = {0, invertido ? 30 : 10, 20, invertido ? 10 : 30};
        for (int t = 1; t <= 3; ++t) {
            const int destino = t % 3 + 1;
            e.matriz_distancias[t][destino] = viagens[t];
            e.matriz_mandantes[t][0] = destino;
            e.matriz_mandantes[t][1] = destino;
        }
        calcula_distancias(e);
        EXPECT_EQ(e.inviabilidades[Inviabilidade::distancia_total], 60);
        EXPECT_EQ(e.inviabilidades[Inviabilidade::diferenca_distancia], 20);
    }
    Estado iguais = campeonato(3, 3);
    ASSERT_TRUE(prepara_execucao(iguais).sucesso);
    calcula_distancias(iguais);
    EXPECT_EQ(iguais.inviabilidades[Inviabilidade::diferenca_distancia], 0);
}

TEST(MesmoEstado, SoAUltimaRodadaConta)
{
    Estado e = campeonato(6, 6);
    distancias_por_indice(e);
    e.matriz_distancias[1][2] = 0;  // teams 1 and 2 share a state, in this direction
    e.matriz_distancias[4][3] = 0;
    monta(e, {{{1, 2}}, {}, {}, {}, {}, {{-1, 2}, {3, 4}, {}}});
    conta_mesmo_estado(e, e.tabela_atual);
    // (-1, 2) counts whoever is at home; (3, 4) looks up [3][4], which is not 0; the empty
    // slot counts nothing; round 1 is not the last.
    EXPECT_EQ(e.inviabilidades[Inviabilidade::mesmo_estado], 1);
}

// ---- Moves ----------------------------------------------------------------------

Matriz<Controle> controle_do_zero(Estado& e)
{
    Matriz<Controle> atual = e.matriz_controle;
    e.matriz_controle.zera();
    monta_matriz_controle(e, e.tabela_atual);
    std::swap(atual, e.matriz_controle);
    return atual;
}

TEST(Movimentos, TrocaDeMandoPassaACasaAoOutroTime)
{
    Estado e = campeonato(8, 8);
    monta(e, {{}, {}, {}, {}, {{3, 7}}});
    troca_mando(e, e.tabela_atual, 4, 0);
    EXPECT_EQ(e.tabela_atual[4][0], (Jogo{-3, 7}));
    EXPECT_EQ(e.matriz_controle[4][3], (Controle{0, 1}));
    EXPECT_EQ(e.matriz_controle[4][7], (Controle{1, 0}));
    troca_mando(e, e.tabela_atual, 4, 0);
    EXPECT_EQ(e.tabela_atual[4][0], (Jogo{3, 7}));
    EXPECT_EQ(e.matriz_controle[4][3], (Controle{1, 0}));

    const auto antes = e.matriz_controle;
    troca_mando(e, e.tabela_atual, 4, 1);  // an empty slot
    EXPECT_TRUE(e.tabela_atual[4][1].vazio());
    EXPECT_EQ(e.matriz_controle, antes);
}

TEST(Movimentos, TrocaComVagaVaziaLevaSoOJogo)
{
    Estado e = campeonato(6, 10);
    gera_solucao_inicial(e);
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    const Jogo jogo = e.tabela_atual[2][1];
    troca_jogos(e, e.tabela_atual, 2, 1, 8, 0);
    EXPECT_TRUE(e.tabela_atual[2][1].vazio());
    EXPECT_EQ(e.tabela_atual[8][0], jogo);
    EXPECT_EQ(e.matriz_controle, controle_do_zero(e));
    for (int t = 1; t <= 6; ++t) {
        const bool joga = t == jogo.mandante() || t == jogo.visitante();
        EXPECT_EQ(e.matriz_controle[8][t].jogos_casa + e.matriz_controle[8][t].jogos_fora, joga ? 1 : 0);
    }
}

TEST(Movimentos, TrocaNaMesmaRodadaNaoMexeNoControle)
{
    Estado e = carrega_exemplo("nordeste.dat");
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    const auto controle = e.matriz_controle;
    const Tabela antes = e.tabela_atual;
    troca_jogos(e, e.tabela_atual, 1, 0, 1, 2);
    EXPECT_NE(e.tabela_atual, antes);
    EXPECT_EQ(e.matriz_controle, controle);
    troca_jogos(e, e.tabela_atual, 3, 1, 3, 1);  // a slot with itself changes nothing
    troca_jogos(e, e.tabela_atual, 1, 0, 1, 2);
    EXPECT_EQ(e.tabela_atual, antes);
}

class Propriedades : public ::testing::TestWithParam<const char*> {};

// Long random sequences of both moves: after every move the control matrix equals a
// rebuild from scratch, and every move applied twice restores table and matrix bit for bit.
TEST_P(Propriedades, ControleAcompanhaEMovimentoSeDesfaz)
{
    Estado e = carrega_exemplo(GetParam());
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    e.primeira_fase = true;
    e.gerador.semeia(7);
    for (int i = 0; i < 4000; ++i) {
        const Movimento m = sorteia_movimento(e);
        const Tabela tabela = e.tabela_atual;
        const auto controle = e.matriz_controle;
        aplica_movimento(e, m);
        ASSERT_EQ(e.matriz_controle, controle_do_zero(e)) << "movimento " << i;
        if (i % 3 == 0) {
            aplica_movimento(e, m);
            ASSERT_EQ(e.tabela_atual, tabela);
            ASSERT_EQ(e.matriz_controle, controle);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Exemplos, Propriedades,
                         ::testing::Values("nordeste.dat", "brasileirao_2023.dat", "brasileirao_2023_turno.dat"));

TEST(Sorteio, SegundaFaseSorteiaSoRodadaEVaga)
{
    Estado e = carrega_exemplo("brasileirao_2023.dat");
    e.primeira_fase = false;
    Gerador espelho = e.gerador;
    const Movimento m = sorteia_movimento(e);
    EXPECT_EQ(m.tipo, Movimento::Tipo::troca_mando);
    EXPECT_EQ(m.r1, espelho.sorteia_inteiro(38));
    EXPECT_EQ(m.g1, espelho.sorteia_inteiro(10));
    EXPECT_TRUE(espelho == e.gerador);
}

TEST(Sorteio, TrocaDeJogosRedesenhaAsRodadasAteDiferirem)
{
    Estado e = campeonato(4, 3);
    e.primeira_fase = true;
    for (int i = 0; i < 200; ++i) {
        Gerador espelho = e.gerador;
        const Movimento m = sorteia_movimento(e);
        const int tipo = espelho.sorteia_inteiro(2);
        ASSERT_EQ(static_cast<int>(m.tipo), tipo);
        if (m.tipo == Movimento::Tipo::troca_jogos) {
            int r1, r2;
            do {
                r1 = espelho.sorteia_inteiro(3);
                r2 = espelho.sorteia_inteiro(3);
            } while (r1 == r2);
            EXPECT_EQ(m.r1, r1);
            EXPECT_EQ(m.r2, r2);
            EXPECT_EQ(m.g1, espelho.sorteia_inteiro(2));
            EXPECT_EQ(m.g2, espelho.sorteia_inteiro(2));
        } else {
            EXPECT_EQ(m.r1, espelho.sorteia_inteiro(3));
            EXPECT_EQ(m.g1, espelho.sorteia_inteiro(2));
        }
        ASSERT_TRUE(espelho == e.gerador);
    }
}

}  // namespace
}  // namespace kelm::teste
