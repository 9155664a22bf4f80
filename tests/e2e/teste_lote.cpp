#include <sched.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "apoio.hpp"
#include "apoio_lote.hpp"
#include "files/texto.hpp"
#include "lote/opcoes.hpp"

namespace kelm::teste {
namespace {

// ---- In process ----------------------------------------------------------------------

TEST(LoteEmProcesso, AjudaEmPortugues)
{
    const Chamada e = lote({"--ajuda"});
    EXPECT_EQ(e.status, 0);
    EXPECT_NE(e.saida.find("Uso: kelm-lote [opções] DADOS.dat"), std::string::npos);
    EXPECT_NE(e.saida.find("--max-reaquecimentos K"), std::string::npos);
}

struct CasoUso {
    std::vector<std::string> args;
    const char* mensagem;
};

// Short names in the test lists.
void PrintTo(const CasoUso& c, std::ostream* os)
{
    for (const auto& a : c.args) *os << a << " ";
}

class UsoErrado : public ::testing::TestWithParam<CasoUso> {};

TEST_P(UsoErrado, SaiComDoisEExplica)
{
    const Chamada e = lote(GetParam().args);
    EXPECT_EQ(e.status, 2);
    EXPECT_EQ(e.saida, "");
    EXPECT_NE(e.erros.find(GetParam().mensagem), std::string::npos) << e.erros;
    EXPECT_NE(e.erros.find("kelm-lote --ajuda"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Argumentos, UsoErrado,
    ::testing::Values(CasoUso{{}, "falta o arquivo de dados."},
                      CasoUso{{"a.dat", "b.dat"}, "só um arquivo de dados pode ser dado; sobrou \"b.dat\"."},
                      CasoUso{{"--objetivos=1,12", "a.dat"}, "--objetivos: \"12\" não é uma inviabilidade de 1 a 10."},
                      CasoUso{{"--objetivos", " ", "a.dat"},
                              "--objetivos: Você deve escolher os objetivos a cumprir antes de executar!"},
                      CasoUso{{"--pesos", "1,2,3", "a.dat"},
                              "--pesos: são precisos nove pesos (dez com os requisitos) separados por vírgula; foram dados 3."},
                      CasoUso{{"--pesos", "1,2,3,4,5,6,7,oito,9", "a.dat"},
                              "--pesos: O peso da inviabilidade 8 (\"oito\") não é um número."},
                      CasoUso{{"--max-reaquecimentos", "-1", "a.dat"},
                              "--max-reaquecimentos: O limite de reaquecimentos (\"-1\") deve ser um número inteiro de 0 a "
                              "1000000."},
                      CasoUso{{"--busca=rapida", "a.dat"}, "--busca: deve ser 'padrao' ou 'compacta'; foi dado \"rapida\"."},
                      CasoUso{{"--semente", "4294967296", "a.dat"},
                              "--semente: A semente (\"4294967296\") deve ser um número inteiro de 0 a 4294967295."},
                      CasoUso{{"a.dat", "--semente"}, "a opção --semente precisa de um valor (--semente N)."},
                      CasoUso{{"--execucoes", "0", "a.dat"},
                              "--execucoes: O número de execuções (\"0\") deve ser um número inteiro de 1 a 1000."},
                      CasoUso{{"--esforco=101", "a.dat"}, "--esforco: O esforço (\"101\") deve ser um número inteiro de 1 a 100."},
                      CasoUso{{"a.dat", "-o", ""}, "a opção -o precisa de um nome de arquivo."},
                      CasoUso{{"--silencioso=sim", "a.dat"}, "a opção --silencioso não recebe valor."},
                      CasoUso{{"--turbo", "a.dat"}, "opção desconhecida: --turbo."},
                      CasoUso{{"a.dat", "--semente", "5", "--avaliar", "r.txt"},
                              "a opção --semente não serve com --avaliar, que não executa a busca."}));

// One rule for blanks around values: they do not count around a value, nor around each item
// of a list; in a file name they are part of the name. A whole number may have a plus sign
// and leading zeros. Each row's options read as the canonical ones.
struct CasoValor {
    std::vector<std::string> opcoes;
    std::vector<std::string> canonicas;
};

void PrintTo(const CasoValor& c, std::ostream* os)
{
    for (const auto& a : c.opcoes) *os << "'" << a << "' ";
}

// What the options ask for, as a text that two readings can be compared by.
std::string lidas(const std::vector<std::string>& opcoes)
{
    std::vector<std::string> args = opcoes;
    args.push_back("a.dat");
    Opcoes op;
    if (auto erro = le_opcoes(args, op)) return "erro: " + *erro;
    std::ostringstream s;
    s << op.busca.semente << " " << op.busca.max_reaquecimentos << " " << op.busca.execucoes << " " << op.busca.esforco
      << " " << static_cast<int>(op.busca.busca) << " "
      << static_cast<int>(op.busca.avaliacao) << " [" << op.saida.value_or("") << "]";
    for (const bool o : op.objetivos) s << " " << o;
    for (const auto peso : op.pesos) s << " " << peso;
    return s.str();
}

class MesmoValor : public ::testing::TestWithParam<CasoValor> {};

TEST_P(MesmoValor, LidoComoOCanonico) { EXPECT_EQ(lidas(GetParam().opcoes), lidas(GetParam().canonicas)); }

INSTANTIATE_TEST_SUITE_P(
    Brancos, MesmoValor,
    ::testing::Values(CasoValor{{"--semente", " 5\t"}, {"--semente", "5"}}, CasoValor{{"--semente=+05"}, {"--semente", "5"}},
                      CasoValor{{"--max-reaquecimentos", " +7 "}, {"--max-reaquecimentos", "7"}},
                      CasoValor{{"--execucoes", " +04", "--esforco=3 "}, {"--execucoes", "4", "--esforco", "3"}},
                      CasoValor{{"--objetivos", " 1, 2 ,\t8 "}, {"--objetivos", "1,2,8"}},
                      CasoValor{{"--pesos", "1, 2, 3, 4, 5, 6, 7, 8, +9"}, {"--pesos", "1,2,3,4,5,6,7,8,9"}},
                      CasoValor{{"--busca", " compacta ", "--avaliacao=completa "}, {"--busca", "compacta", "--avaliacao", "completa"}},
                      CasoValor{{"-o", " r.txt "}, {"--saida= r.txt "}}));

// The blanks of a file name are kept: " r.txt" is not "r.txt".
TEST(LoteEmProcesso, BrancosDeUmNomeDeArquivoContam)
{
    EXPECT_NE(lidas({"-o", " r.txt"}), lidas({"-o", "r.txt"}));
}

TEST(LoteEmProcesso, DadosQueNaoCarregamOuQueABuscaRecusaSaemComUm)
{
    Chamada e = lote({"/nao/existe.dat"});
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.erros, "O Arquivo de dados não foi aberto.\n/nao/existe.dat: o arquivo não existe.\n");
    EXPECT_EQ(e.saida, "");
    e = lote({"--busca", "compacta", exemplo("nordeste.dat").string()});
    EXPECT_EQ(e.status, 1);
    EXPECT_NE(e.erros.find("A busca compacta não pode ser usada com estes dados"), std::string::npos) << e.erros;
    EXPECT_EQ(e.saida, "");
}

TEST(LoteEmProcesso, ResultadoNaSaidaPadraoAndamentoEResumo)
{
    const Chamada e = lote({exemplo("nordeste.dat").string()});
    ASSERT_EQ(e.status, 0) << e.erros;
    EXPECT_EQ(e.saida.rfind("Inv1:\t", 0), 0u);
    EXPECT_NE(e.saida.find("\r\n>>>>>>>>\t10\xAA RODADA\t<<<<<<<<\r\n"), std::string::npos);
    EXPECT_EQ(e.erros.rfind("Os dados foram carregados com sucesso.\n Uma solução inicial aleatória foi gerada.\n", 0), 0u);
    for (const char* linha : {"Fase 1: 0,0 %", "Fase 2: 0,0 %", "\nTERMINOU A EXECUÇÃO!\n", "\nInviabilidade 9: ",
                              "\nFO_STAR: ", "\nReaquecimentos: 0\n", "\nTempo de execução: "})
        EXPECT_NE(e.erros.find(linha), std::string::npos) << linha;
}

// A name ending in .xlsx gets a workbook (read back in teste_planilha), not the result file.
TEST(LoteEmProcesso, SaidaXlsxEUmaPlanilha)
{
    PastaTemporaria pasta;
    const auto destino = pasta.caminho() / "r.xlsx";
    const Chamada e = lote({"--silencioso", "-o", destino.string(), exemplo("nordeste.dat").string()});
    ASSERT_EQ(e.status, 0) << e.erros;
    EXPECT_TRUE(le_bytes(destino).starts_with(std::string("PK\x03\x04", 4)));
    EXPECT_TRUE(e.erros.ends_with("Resultado gravado em " + destino.string() + "\n")) << e.erros;
}

// ---- The built program ------------------------------------------------------------------

// Runs kelm-lote with the arguments (each one quoted), after `prefixo`, and returns its exit
// status.
int roda_kelm_lote(const std::string& args, const std::filesystem::path& erros, const std::string& prefixo = "")
{
    const std::string comando =
        prefixo + "'" + KELM_LOTE + "' " + args + " 2> '" + erros.string() + "' > /dev/null";
    const int r = std::system(comando.c_str());
    return WIFEXITED(r) ? WEXITSTATUS(r) : -1;
}

// With standard error in a file, not a terminal, the progress is printed a line at a time,
// never redrawn in place.
TEST(LoteCompilado, AndamentoForaDoTerminalEmLinhasInteiras)
{
    PastaTemporaria pasta;
    const auto erros = pasta.caminho() / "erros.txt";
    ASSERT_EQ(roda_kelm_lote("'" + exemplo("nordeste.dat").string() + "'", erros), 0) << le_bytes(erros);
    const std::string texto = le_bytes(erros);
    EXPECT_NE(texto.find("\nFase 1: "), std::string::npos) << texto;
    EXPECT_EQ(texto.find('\r'), std::string::npos) << texto;
    EXPECT_EQ(texto.find("\x1b[K"), std::string::npos) << texto;
}

// The result file without its "Tempo" line, the only one that changes from run to run.
std::string sem_tempo(const std::string& bytes)
{
    const auto inicio = bytes.find("Tempo:\t");
    if (inicio == std::string::npos) return bytes;
    const auto fim = bytes.find("\r\n", inicio);
    return bytes.substr(0, inicio) + bytes.substr(fim);
}

struct CasoOuro {
    const char* nome;
    const char* dados;
    const char* opcoes;
    int status;
    const char* ouro = nullptr;  // the golden file, when not named as the case
    bool um_nucleo = false;      // the program pinned to one core (taskset)
};

// The command that pins what follows it to the first core this process may run on.
std::string prefixo_um_nucleo()
{
    cpu_set_t conjunto;
    CPU_ZERO(&conjunto);
    if (::sched_getaffinity(0, sizeof conjunto, &conjunto) != 0) return {};
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &conjunto)) return "taskset -c " + std::to_string(cpu) + " ";
    return {};
}

void PrintTo(const CasoOuro& c, std::ostream* os) { *os << c.nome; }

class ArquivosDeOuro : public ::testing::TestWithParam<CasoOuro> {};

// Whole result files against the golden files kept with the tests: a change that alters any
// schedule fails here, and must come with the golden files remade on purpose.
TEST_P(ArquivosDeOuro, ResultadoIgualAoGuardado)
{
    const CasoOuro& c = GetParam();
    PastaTemporaria pasta;
    const auto saida = pasta.caminho() / "resultado.txt";
    const auto relatorio = pasta.caminho() / "relatorio.txt";
    const int status = roda_kelm_lote(std::string(c.opcoes) + " --silencioso -o '" + saida.string() + "' --relatorio '" +
                                          relatorio.string() + "' '" + exemplo(c.dados).string() + "'",
                                      pasta.caminho() / "erros.txt", c.um_nucleo ? prefixo_um_nucleo() : "");
    ASSERT_EQ(status, c.status) << le_bytes(pasta.caminho() / "erros.txt");
    const std::string obtido = le_bytes(saida);
    const auto ouro = std::filesystem::path(KELM_ESPERADO) / (std::string(c.ouro ? c.ouro : c.nome) + ".txt");
    if (std::getenv("KELM_REFAZ_OURO") != nullptr) {
        if (c.ouro == nullptr) std::filesystem::copy_file(saida, ouro, std::filesystem::copy_options::overwrite_existing);
        GTEST_SKIP() << "arquivo de ouro refeito: " << ouro;
    }
    ASSERT_TRUE(std::filesystem::exists(ouro)) << ouro;
    EXPECT_EQ(sem_tempo(obtido), sem_tempo(le_bytes(ouro)));
    EXPECT_NE(obtido.find("Tempo:\t00:00:"), std::string::npos);

    // Scored again with the weights and objectives of its run, the golden file prints its own
    // first ten lines and gives the run's report.
    std::vector<std::string> args = {"--avaliar", ouro.string(), exemplo(c.dados).string()};
    std::istringstream opcoes(c.opcoes);
    for (std::string opcao, valor; opcoes >> opcao;)
        if ((opcao == "--objetivos" || opcao == "--pesos") && opcoes >> valor) args.insert(args.end(), {opcao, valor});
    args.insert(args.end(), {"--relatorio", (pasta.caminho() / "avaliado.txt").string()});
    const Chamada e = lote(args);
    ASSERT_EQ(e.status, 0) << e.erros;
    std::istringstream arquivo(le_bytes(ouro));
    std::string cabecalho;
    for (std::string linha; std::getline(arquivo, linha) && !linha.starts_with("Tempo:");)
        cabecalho += linha.substr(0, linha.size() - 1) + "\n";
    EXPECT_EQ(e.saida, cabecalho);
    EXPECT_EQ(le_bytes(pasta.caminho() / "avaliado.txt"), le_bytes(relatorio));
}

INSTANTIATE_TEST_SUITE_P(
    Exemplos, ArquivosDeOuro,
    ::testing::Values(CasoOuro{"nordeste", "nordeste.dat", "", 0},
                      // The reference evaluation gives the same file, byte for byte (the larger
                      // championships are compared move by move, where the reference costs less).
                      CasoOuro{"nordeste_avaliacao_completa", "nordeste.dat", "--avaliacao completa", 0, "nordeste"},
                      CasoOuro{"nordeste_objetivos_na_execucao", "nordeste.dat", "--objetivos-na-execucao", 0},
                      CasoOuro{"nordeste_alguns_objetivos", "nordeste.dat",
                               "--objetivos 1,2,3,5,8 --pesos 1000000000,1000000000,1000000000,0,1000000000,0,0,3,0", 0},
                      CasoOuro{"brasileirao_2023", "brasileirao_2023.dat", "", 0},
                      CasoOuro{"brasileirao_2023_turno_limite", "brasileirao_2023_turno.dat", "--max-reaquecimentos 2", 3},
                      CasoOuro{"brasileirao_2023_turno_compacta", "brasileirao_2023_turno.dat", "--busca compacta", 0},
                      // The whole season under each scheme: the compact search on the 19-round
                      // turno, and the padrao search on a small championship.
                      CasoOuro{"brasileirao_2023_espelhado", "brasileirao_2023_turno.dat",
                               "--busca compacta --returno espelhado", 0},
                      CasoOuro{"brasileirao_2023_frances", "brasileirao_2023_turno.dat", "--busca compacta --returno frances",
                               0},
                      CasoOuro{"nordeste_frances", "nordeste.dat", "--returno frances", 0},
                      // Three runs at once give the file of the best, which names its seed,
                      // whatever the cores: as many as there are, or one.
                      CasoOuro{"brasileirao_2023_turno_execucoes", "brasileirao_2023_turno.dat",
                               "--busca compacta --execucoes 3", 0},
                      CasoOuro{"brasileirao_2023_turno_execucoes_um_nucleo", "brasileirao_2023_turno.dat",
                               "--busca compacta --execucoes 3", 0, "brasileirao_2023_turno_execucoes", true}),
    [](const auto& caso) { return std::string(caso.param.nome); });

}  // namespace
}  // namespace kelm::teste
