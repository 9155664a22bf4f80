// The home/away board that the workbook, the window and the printed page show; the workbooks
// of runs read back by another program, against the result files of the same runs; and a
// workbook that cannot be written.

#include "apoio.hpp"
#include "apoio_lote.hpp"
#include "report/explicacao.hpp"
#include "report/quadro_mandos.hpp"
#include "search/comandos.hpp"
#include "search/comandos_planilha.hpp"

namespace kelm::teste {
namespace {

// Four teams of one state in six rounds, each pair once at each home. Every cell as its
// letters, then ^ for a break, * for a run of three or more, ! for a game that adds to a
// count charged to the team (here: the start, the end, a third game in a row, and both teams
// of every game of the last round, all of one state).
TEST(QuadroMandos, MarcaQuebrasSequenciasLongasEJogosQueContam)
{
    Estado e = campeonato(4, 6);
    const Jogo jogos[6][2] = {{jogo_entre(1, 2), jogo_entre(3, 4)}, {jogo_entre(1, 3), jogo_entre(4, 2)},
                              {jogo_entre(4, 1), jogo_entre(2, 3)}, {jogo_entre(2, 1), jogo_entre(4, 3)},
                              {jogo_entre(3, 1), jogo_entre(2, 4)}, {jogo_entre(1, 4), jogo_entre(3, 2)}};
    Tabela t = aloca_matriz_jogos(6, 2);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 2; ++g) t[r][g] = jogos[r][g];
    const QuadroMandos q = monta_quadro_mandos(e.campeonato, t, explica_tabela(e.campeonato, t), 3);
    std::vector<std::string> vistos;
    for (int time = 1; time <= 4; ++time) {
        std::string linha;
        for (int r = 0; r < 6; ++r) {
            const CasaQuadro& c = q.casa(time, r);
            linha += (r > 0 ? " " : "") + c.mandos + (c.quebra ? "^" : "") + (c.sequencia_longa ? "*" : "") +
                     (c.em_contagem ? "!" : "");
        }
        vistos.push_back(linha);
    }
    EXPECT_EQ(vistos, (std::vector<std::string>{"C! C^! F* F^* F^*! C!", "F! F^! C* C^* C^*! F!",
                                                 "C F* F^* F^*! C! C^!", "F C* C^* C^*! F! F^!"}));
    EXPECT_EQ(q.inicio_returno, 3);
    EXPECT_EQ(monta_quadro_mandos(e.campeonato, t, Explicacao{}, 6).inicio_returno, 0);  // beyond the schedule: no turn
}

// The differences le_planilha.py finds between a workbook and the result file of the same
// schedule (empty when none), the season's returno beginning at round `returno`.
std::string diferencas(const std::filesystem::path& planilha, const std::filesystem::path& resultado, int returno)
{
    const auto saida = planilha.parent_path() / "diferencas";
    const std::string comando = std::string(KELM_PYTHON) + " " + pasta_testes + "/core/le_planilha.py " +
                                planilha.string() + " " + resultado.string() + " " + std::to_string(returno) + " > " +
                                saida.string() + " 2>&1";
    return std::system(comando.c_str()) == 0 ? std::string() : "falhou: " + le_bytes(saida);
}

// A run's workbook read back by another program against the run's result file. Whatever
// objectives the planner chose, the counts the workbook marks as objectives are those FO_STAR
// counts: a run that finishes both phases ends with them all, one stopped at its reheat bound
// with the chosen ones. A season shows its turn; requirements, their count and occurrences; a
// calendar, the rounds' dates.
struct CasoPlanilha {
    const char* dados;
    std::vector<std::string> args;  // {T} stands for the tests' own folder
    int returno;                    // the returno's first round, from 1; 0 for a single turno
};

class PlanilhaDaExecucao : public ::testing::TestWithParam<CasoPlanilha> {};

TEST_P(PlanilhaDaExecucao, LidaDeVoltaComOArquivoDeResultadoEAsMarcadasSomandoOFO)
{
    PastaTemporaria pasta;
    for (const char* nome : {"r.XLSX", "r.txt"}) {
        std::vector<std::string> args{"--silencioso", "-o", (pasta.caminho() / nome).string(), exemplo(GetParam().dados).string()};
        for (const std::string& a : GetParam().args) args.push_back(substitui(a, "{T}", pasta_testes));
        const Chamada c = lote(args);
        ASSERT_TRUE(c.status == 0 || c.status == 3) << c.erros;
    }
    EXPECT_EQ(diferencas(pasta.caminho() / "r.XLSX", pasta.caminho() / "r.txt", GetParam().returno), "");
}

INSTANTIATE_TEST_SUITE_P(
    Escolhas, PlanilhaDaExecucao,
    ::testing::Values(CasoPlanilha{"nordeste.dat", {"--objetivos", "1,2,3"}, 0},
                      CasoPlanilha{"nordeste.dat", {"--objetivos", "8", "--max-reaquecimentos", "0"}, 0},
                      CasoPlanilha{"nordeste.dat", {"--objetivos", "1,2,3,5", "--execucoes", "2"}, 0},
                      CasoPlanilha{"nordeste_turno.dat",
                                   {"--busca", "compacta", "--returno", "espelhado", "--max-reaquecimentos", "0",
                                    "--requisitos", "{T}/e2e/requisitos_nordeste.txt"},
                                   6},
                      CasoPlanilha{"nordeste_turno.dat",
                                   {"--busca", "compacta", "--returno", "frances", "--max-reaquecimentos", "0",
                                    "--calendario", "{T}/e2e/calendario_nordeste.txt"},
                                   6}));

// A schedule that no run of the data left is not written.
TEST(Planilha, RecusadaSemResultadoSemDeixarNada)
{
    const Estado e = carrega_exemplo("nordeste.dat");
    PastaTemporaria pasta;
    EXPECT_EQ(grava_planilha_resultado(e.campeonato, e.execucao, pasta.caminho() / "r.xlsx", "").texto, msg_sem_resultado);
    EXPECT_TRUE(std::filesystem::is_empty(pasta.caminho()));
}

}  // namespace
}  // namespace kelm::teste
