// The home/away board that the workbook, the window and the printed page show; the workbook
// of a whole season read back by another program, against the result file of the same
// schedule; and a workbook that cannot be written.

#include "apoio.hpp"
#include "apoio_lote.hpp"
#include "evaluation/avaliacao.hpp"
#include "evaluation/requisitos.hpp"
#include "evaluation/temporada.hpp"
#include "files/planilha.hpp"
#include "files/requisitos.hpp"
#include "files/resultado.hpp"
#include "model/temporada.hpp"
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

// The 20 clubs' turno of 19 rounds and its mirrored returno, as a finished run holds them.
Estado temporada_de_20()
{
    Estado e = carrega_exemplo("brasileirao_2023_turno.dat");
    todos_objetivos(e);
    Execucao& x = e.execucao;
    x.tabela_melhor = turno_circular(20);
    ReferenciaDaTemporada temporada(e.campeonato, Returno::espelhado);
    x.fo_star = temporada.avalia(e.criterios, x.tabela_melhor);
    x.inviabilidades_melhor = temporada.contagens();
    x.programa_executado = true;
    x.procedencia.semente = 7;
    x.procedencia.returno = Returno::espelhado;
    x.procedencia.objetivos = e.criterios.objetivos;
    x.procedencia.objetivos_no_fim = e.criterios.objetivos;
    return e;
}

// The season, and the same under the bundled requirements (their count, its tenth row and
// its occurrences in the workbook only then).
class PlanilhaDaTemporada : public ::testing::TestWithParam<bool> {};

TEST_P(PlanilhaDaTemporada, TemporadaLidaDeVoltaTemOsJogosEAsContagensDoArquivoDeResultado)
{
    Estado e = temporada_de_20();
    if (GetParam()) {
        ASSERT_TRUE(carrega_requisitos(e.campeonato, exemplo("brasileirao_2023_requisitos.txt"), e.requisitos).sucesso);
        const Temporada t = temporada_de(e.campeonato, e.execucao.tabela_melhor, Returno::espelhado);
        e.execucao.inviabilidades_melhor[Inviabilidade::requisitos] =
            static_cast<double>(conta_requisitos(e.requisitos, 20, t.tabela));
        ASSERT_GT(e.execucao.inviabilidades_melhor[Inviabilidade::requisitos], 0);
        e.execucao.fo_star = calcula_fo(e.execucao.inviabilidades_melhor, e.criterios);
        e.execucao.procedencia.requisitos = e.requisitos.arquivo;
    }
    PastaTemporaria pasta;
    ASSERT_TRUE(grava_resultado(e.campeonato, e.execucao, pasta.caminho() / "r.txt").sucesso);
    const Desfecho d =
        grava_planilha_resultado(e.campeonato, e.execucao, pasta.caminho() / "r.XLSX", "brasileirao", &e.requisitos);
    ASSERT_TRUE(d.sucesso) << d.texto << " " << d.detalhe;
    EXPECT_EQ(diferencas(pasta.caminho() / "r.XLSX", pasta.caminho() / "r.txt", 20), "");
}

INSTANTIATE_TEST_SUITE_P(ComESemRequisitos, PlanilhaDaTemporada, ::testing::Bool(),
                         [](const auto& com) { return com.param ? "ComRequisitos" : "SemRequisitos"; });

// Whatever objectives the planner chose, the counts the workbook marks as objectives are
// those FO_STAR counts: a run that finishes both phases ends with them all, one stopped at its
// reheat bound with the chosen ones.
class ObjetivosDaPlanilha : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(ObjetivosDaPlanilha, AsMarcadasSomamOFO)
{
    PastaTemporaria pasta;
    for (const char* nome : {"r.xlsx", "r.txt"}) {
        std::vector<std::string> args = GetParam();
        args.insert(args.end(), {"--silencioso", "-o", (pasta.caminho() / nome).string(), exemplo("nordeste.dat").string()});
        const Chamada c = lote(args);
        ASSERT_TRUE(c.status == 0 || c.status == 3) << c.erros;
    }
    EXPECT_EQ(diferencas(pasta.caminho() / "r.xlsx", pasta.caminho() / "r.txt", 0), "");
}

INSTANTIATE_TEST_SUITE_P(Escolhas, ObjetivosDaPlanilha,
                         ::testing::Values(std::vector<std::string>{"--objetivos", "1,2,3"},
                                           std::vector<std::string>{"--objetivos", "8", "--max-reaquecimentos", "0"},
                                           std::vector<std::string>{"--objetivos", "1,2,3,5", "--execucoes", "2"}));

TEST(Planilha, RecusadaSemResultadoOuSemPastaSemDeixarNada)
{
    Estado e = temporada_de_20();
    PastaTemporaria pasta;
    const auto destino = pasta.caminho() / "falta" / "r.xlsx";
    const Desfecho d = grava_planilha_resultado(e.campeonato, e.execucao, destino, "");
    EXPECT_FALSE(d.sucesso);
    EXPECT_EQ(d.texto, msg_arquivo_nao_salvo);
    EXPECT_EQ(d.detalhe, destino.string() + ": a pasta não existe.");

    e.execucao.programa_executado = false;
    EXPECT_EQ(grava_planilha_resultado(e.campeonato, e.execucao, pasta.caminho() / "r.xlsx", "").texto, msg_sem_resultado);
    EXPECT_TRUE(std::filesystem::is_empty(pasta.caminho()));
}

}  // namespace
}  // namespace kelm::teste
