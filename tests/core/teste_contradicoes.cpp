// Requirements that cannot all hold: refused before a run with their lines, through the
// season's scheme too, and never a set that some schedule meets.

#include <string>

#include "apoio.hpp"
#include "evaluation/requisitos.hpp"
#include "files/requisitos.hpp"
#include "model/temporada.hpp"
#include "neighbourhoods/compacta/tabela_compacta.hpp"

namespace kelm::teste {
namespace {

struct Caso {
    const char* nome;
    int times;
    int rodadas;
    Returno returno;
    std::string requisitos;
    std::string recusa;  // after "Erro no arquivo de requisitos "r.txt", "; empty: accepted
};

void PrintTo(const Caso& caso, std::ostream* os) { *os << caso.nome; }

class Contradicoes : public ::testing::TestWithParam<Caso> {};

TEST_P(Contradicoes, RecusadasComAsLinhasOuAceitas)
{
    const Caso& caso = GetParam();
    const Estado e = campeonato(caso.times, caso.rodadas);
    Requisitos r;
    ASSERT_TRUE(le_requisitos(caso.requisitos, "r.txt", e.campeonato, r).sucesso);
    const Desfecho d = confere_requisitos(r, e.campeonato, caso.returno);
    if (caso.recusa.empty()) {
        EXPECT_TRUE(d.sucesso) << d.texto;
    } else {
        EXPECT_FALSE(d.sucesso);
        EXPECT_EQ(d.texto, "Erro no arquivo de requisitos \"r.txt\", " + caso.recusa);
    }
}

const std::string juntos = ": os requisitos não podem valer juntos: ";

INSTANTIATE_TEST_SUITE_P(
    Requisitos, Contradicoes,
    ::testing::Values(
        // A round and its mirror: at home in one, away in the other.
        Caso{"EspelhoEmCasaNasDuas", 6, 5, Returno::espelhado, "casa T1 rodadas 3\n#\ncasa T1 rodadas 8\n",
             "linhas 1 e 3" + juntos +
                 "T1 em casa e fora na rodada 8 (a rodada 8 repete os jogos da rodada 3 com os mandos trocados)."},
        Caso{"EspelhoNoTurnoSoSemConflito", 6, 10, Returno::nenhum, "casa T1 rodadas 3\ncasa T1 rodadas 8\n", ""},
        Caso{"FrancesEspelhaOutraRodada", 6, 5, Returno::frances, "casa T1 rodadas 1\ncasa T1 rodadas 8\n", ""},
        Caso{"FrancesUltimaRepeteAPrimeira", 6, 5, Returno::frances, "casa T1 rodadas 1\ncasa T1 rodadas 10\n",
             "linhas 1 e 2" + juntos +
                 "T1 em casa e fora na rodada 10 (a rodada 10 repete os jogos da rodada 1 com os mandos trocados)."},
        // The whole season at home, in one line.
        Caso{"TemporadaInteiraEmCasa", 6, 5, Returno::espelhado, "casa T2 rodadas 1-10\n",
             "linha 1: o requisito não pode valer: T2 em casa e fora na rodada 6 (a rodada 6 repete os jogos da "
             "rodada 1 com os mandos trocados)."},
        // A game fixed in both halves, or twice in the turno.
        Caso{"JogoNasDuasMetades", 6, 5, Returno::espelhado, "jogo T1 T2 rodadas 2\njogo T1 T2 rodadas 4\n",
             "linhas 1 e 2" + juntos + "T1 e T2 não têm rodada em que possam se enfrentar, no turno e no returno."},
        Caso{"JogoEmRodadasQueNaoSeRepetem", 6, 5, Returno::espelhado, "jogo T1 T2 rodadas 2\njogo T1 T2 rodadas 9\n",
             "linhas 1 e 2" + juntos + "T1 e T2 não têm rodada em que possam se enfrentar, no turno e no returno."},
        Caso{"JogoENoEspelhoOInverso", 6, 5, Returno::espelhado, "jogo T1 T2 rodadas 2\njogo T2 T1 rodadas 7\n", ""},
        Caso{"JogoNoEspelhoComOMesmoMando", 6, 5, Returno::espelhado, "jogo T1 T2 rodadas 2\njogo T1 T2 rodadas 7\n",
             "linhas 1 e 2" + juntos +
                 "T1 em casa e fora na rodada 7 (a rodada 7 repete os jogos da rodada 2 com os mandos trocados)."},
        Caso{"DoisEncontrosDoParNoTurno", 6, 5, Returno::nenhum, "encontro T1 T2 rodadas 2\nencontro T2 T1 rodadas 4\n",
             "linhas 1 e 2" + juntos + "T1 e T2 não têm rodada em que possam se enfrentar."},
        // A pair that may never meet.
        Caso{"SemEncontroNaTemporadaInteira", 6, 5, Returno::espelhado, "sem-encontro T3 T4 rodadas 1-5\n",
             "linha 1: o requisito não pode valer: T3 e T4 não têm rodada em que possam se enfrentar, no turno e no "
             "returno."},
        Caso{"SemEncontroNumaMetade", 6, 5, Returno::nenhum, "sem-encontro T3 T4 rodadas 1-4\n", ""},
        // More fixed games than rounds for them.
        Caso{"TresJogosEmDuasRodadas", 6, 5, Returno::nenhum,
             "encontro T1 T2 rodadas 2,4\njogo T1 T3 rodadas 2,4\njogo T4 T1 rodadas 2,4\n",
             "linhas 1, 2 e 3" + juntos + "T1 tem 3 jogos marcados para 2 rodadas (2 e 4), e joga uma vez por rodada."},
        Caso{"TresJogosEmTresRodadas", 6, 5, Returno::nenhum,
             "encontro T1 T2 rodadas 2,4\njogo T1 T3 rodadas 2,4\njogo T4 T1 rodadas 3,4\n", ""},
        Caso{"TresJogosEmDuasRodadasDaTemporada", 6, 5, Returno::espelhado,
             "encontro T1 T2 rodadas 2,7\njogo T1 T3 rodadas 4,9\njogo T4 T1 rodadas 2,9\n",
             "linhas 1, 2 e 3" + juntos +
                 "T1 tem 3 jogos marcados para 2 rodadas (2 ou 7 e 4 ou 9), e joga uma vez por rodada."},
        // A maximo against the fixed games and home rounds.
        Caso{"MaximoZeroContraJogoMarcado", 6, 5, Returno::nenhum, "maximo 0 T1 T2 rodadas 3\njogo T2 T5 rodadas 3\n",
             "linhas 1 e 2" + juntos + "T2 em casa na rodada 3, e nenhum deles pode jogar em casa."},
        Caso{"MaximoZeroContraOEspelho", 6, 5, Returno::espelhado, "maximo 0 T1 T2 rodadas 8\njogo T5 T2 rodadas 3\n",
             "linhas 1 e 2" + juntos + "T2 em casa na rodada 8, e nenhum deles pode jogar em casa."},
        Caso{"MaximoZeroNaTemporada", 6, 5, Returno::espelhado, "maximo 0 T1 T2\n",
             "linha 1: o requisito não pode valer: T1 não pode jogar em casa nas rodadas 1 e 6, 2 e 7, 3 e 8, 4 e 9, 5 "
             "e 10: em cada par de rodadas que se repetem, um dos jogos é em casa, e faltam rodadas para os seus 5 "
             "adversários."},
        Caso{"ForaNaTemporadaComFolga", 6, 6, Returno::espelhado, "fora T1 rodadas 1,7\n", ""},
        Caso{"ForaNaTemporadaSemFolga", 6, 6, Returno::espelhado, "fora T1 rodadas 1,7\nfora T1 rodadas 2,8\n",
             "linhas 1 e 2" + juntos + "T1 não pode jogar em casa nas rodadas 1 e 7, 2 e 8: em cada par de rodadas "
                                       "que se repetem, um dos jogos é em casa, e faltam rodadas para os seus 5 "
                                       "adversários."}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// Requirements drawn from a compact round robin that meets them all, turno and season, are
// never refused: a refusal means no schedule can meet them.
TEST(Contradicoes, NuncaRecusaOQueUmaTabelaAtende)
{
    for (const int n : {6, 7}) {
        const Estado e = campeonato(n, rodadas_preenchidas(n));
        const Campeonato& c = e.campeonato;
        for (std::uint32_t semente = 1; semente <= 300; ++semente) {
            Gerador g;
            g.semeia(semente);
            Tabela turno = aloca_matriz_jogos(c.num_rodadas, c.jogos_por_rodada());
            gera_tabela_compacta(n, g, turno);
            const Returno returno = std::array{Returno::nenhum, Returno::espelhado, Returno::frances}[semente % 3];
            const Tabela t = tabela_da_temporada(turno, returno);
            // Each requirement read off the schedule: where a team is at home, away, whom it
            // meets, and rounds where two teams do not meet.
            std::string texto;
            for (int k = 0; k < 8; ++k) {
                const int s = g.sorteia_inteiro(t.linhas());
                const Jogo j = t[s][g.sorteia_inteiro(t.colunas())];
                if (j.vazio()) continue;
                const std::string a = c.nomes_times[static_cast<std::size_t>(j.mandante())];
                const std::string b = c.nomes_times[static_cast<std::size_t>(j.visitante())];
                const std::string r = std::to_string(s + 1);
                switch (g.sorteia_inteiro(5)) {
                case 0: texto += "casa " + a + " rodadas " + r + "\n"; break;
                case 1: texto += "fora " + b + " rodadas " + r + "\n"; break;
                case 2: texto += "jogo " + a + " " + b + " rodadas " + r + "," + std::to_string(g.sorteia_inteiro(t.linhas()) + 1) + "\n"; break;
                case 3: texto += "encontro " + b + " " + a + " rodadas " + r + "\n"; break;
                default: texto += "maximo 1 " + a + " " + b + " rodadas " + r + "\n"; break;
                }
            }
            Requisitos r;
            ASSERT_TRUE(le_requisitos(texto, "r.txt", c, r).sucesso) << texto;
            ASSERT_EQ(conta_requisitos(r, n, t), 0) << texto;
            const Desfecho d = confere_requisitos(r, c, returno);
            EXPECT_TRUE(d.sucesso) << texto << d.texto;
        }
    }
}

}  // namespace
}  // namespace kelm::teste
