#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <tuple>
#include <thread>

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
                      CasoUso{{"--objetivos=1,12", "a.dat"}, "--objetivos: \"12\" não é uma inviabilidade de 1 a 11."},
                      CasoUso{{"--objetivos", " ", "a.dat"},
                              "--objetivos: Você deve escolher os objetivos a cumprir antes de executar!"},
                      CasoUso{{"--pesos", "1,2,3", "a.dat"},
                              "--pesos: são precisos nove pesos (dez com os requisitos, onze com as mudanças de um "
                              "replanejamento) separados por vírgula; foram dados 3."},
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
                              "a opção --semente não serve com --avaliar, que não executa a busca."},
                      CasoUso{{"a.dat", "--relatorio", "r.XLSX"},
                              "--relatorio: o relatório é um texto em colunas separadas por tabulação, não uma planilha"}));

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
      << static_cast<int>(op.busca.avaliacao) << " " << static_cast<int>(op.busca.returno) << " ["
      << op.saida.value_or("") << "]";
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
                      CasoValor{{"-o", " r.txt "}, {"--saida= r.txt "}},
                      CasoValor{{"--returno", "francês"}, {"--returno", "frances"}},
                      CasoValor{{"--returno=franc\xEAs"}, {"--returno", "frances"}}));

// The blanks of a file name are kept: " r.txt" is not "r.txt".
TEST(LoteEmProcesso, BrancosDeUmNomeDeArquivoContam)
{
    EXPECT_NE(lidas({"-o", " r.txt"}), lidas({"-o", "r.txt"}));
}

// What kelm-lote says, case by case: its arguments ({E} stands for the bundled championships'
// folder, {T} for the tests' own), its exit status and a passage of its standard error.
struct CasoMensagem {
    const char* nome;
    std::vector<std::string> args;
    int status;
    std::string trecho;
};

void PrintTo(const CasoMensagem& c, std::ostream* os) { *os << c.nome; }

class Mensagens : public ::testing::TestWithParam<CasoMensagem> {};

TEST_P(Mensagens, StatusETrechoDaSaidaDeErros)
{
    std::vector<std::string> args;
    for (const std::string& a : GetParam().args)
        args.push_back(substitui(substitui(a, "{E}", pasta_exemplos), "{T}", pasta_testes));
    const Chamada e = lote(args);
    EXPECT_EQ(e.status, GetParam().status);
    EXPECT_NE(e.erros.find(GetParam().trecho), std::string::npos) << e.erros;
}

const std::string fo_do_arquivo = "O FO_STAR do arquivo, 60127618, não é o recalculado, ";

INSTANTIATE_TEST_SUITE_P(
    Casos, Mensagens,
    ::testing::Values(
        CasoMensagem{"DadosQueFaltam", {"/nao/existe.dat"}, 1,
                     "O Arquivo de dados não foi aberto.\n/nao/existe.dat: o arquivo não existe.\n"},
        CasoMensagem{"BuscaCompactaRecusada", {"--busca", "compacta", "{E}/nordeste.dat"}, 1,
                     "A busca compacta não pode ser usada com estes dados"},
        // Ten rounds of six teams are no turno: a returno would make twenty.
        CasoMensagem{"ReturnoDeDadosQueNaoSaoUmTurno", {"--returno", "espelhado", "{E}/nordeste.dat"}, 1,
                     "sucesso.\nO returno não pode ser planejado com estes dados: o turno de uma temporada é um rodízio "
                     "simples, em que cada time enfrenta cada outro uma vez e joga uma vez por rodada, o que com 6 times "
                     "pede 5 rodadas, e os dados têm 10 (a temporada teria 20).\n"},
        // A season asked of the padrão search is advised the compact one as it starts; the
        // reheat bound is named, with what to try.
        CasoMensagem{"TemporadaDaBuscaPadrao",
                     {"--silencioso", "--returno", "frances", "--max-reaquecimentos", "0", "{E}/nordeste_turno.dat"}, 3,
                     "sucesso.\nUma solução inicial aleatória foi gerada.\nAviso: Uma temporada inteira raramente fica "
                     "com as rodadas completas na busca padrão antes do limite de reaquecimentos; a busca compacta, que "
                     "mantém as rodadas completas, costuma planejá-la em segundos (--busca compacta).\nA primeira fase "
                     "atingiu o limite de reaquecimentos (--max-reaquecimentos 0) sem zerar as inviabilidades 1, 2, 3 e "
                     "5; a segunda fase não foi feita, e o resultado é o da primeira. Experimente --busca compacta, que "
                     "mantém as rodadas completas, ou um limite maior.\nInviabilidade 1:"},
        // The requirements a result leaves unmet, each in its sentence with its line.
        CasoMensagem{"RequisitosNaoAtendidosNoResumo",
                     {"--silencioso", "--max-reaquecimentos", "0", "--objetivos", "8", "--requisitos",
                      "{T}/e2e/requisitos_nordeste.txt", "{E}/nordeste.dat"},
                     3,
                     "\nInviabilidade 10: 2\nRequisitos não atendidos:\n  Bahia e Vitória não podem jogar em casa, e "
                     "algum deles joga em casa na rodada 2 (requisito da linha 1)\n  mais de 1 de Ceará e Fortaleza "
                     "jogam em casa na rodada 7 (requisito da linha 2)\nFO_STAR: "},
        // A result file does not say which objectives its FO_STAR counts: a scoring that
        // finds another FO says so, and whether every count as an objective gives it.
        CasoMensagem{"FODoArquivoComTodosOsObjetivos",
                     {"--avaliar", "{T}/e2e/esperado/nordeste.txt", "--objetivos", "1,2,3", "{E}/nordeste.dat"}, 0,
                     fo_do_arquivo + "0: ele foi calculado com todas as inviabilidades como objetivo, como no fim de uma "
                                     "execução que fez as duas fases; --avaliar sem --objetivos o reproduz.\n"},
        // The last progress line of several runs is their end, all of them ended.
        CasoMensagem{"UltimaLinhaDeAndamento", {"--execucoes", "3", "{E}/nordeste.dat"}, 0,
                     "  execuções 3/3\nTERMINOU A EXECUÇÃO!\n"},
        CasoMensagem{"FODoArquivoComOutrosPesos",
                     {"--avaliar", "{T}/e2e/esperado/nordeste.txt", "--pesos", "1,1,1,1,1,1,1,1,1", "{E}/nordeste.dat"}, 0,
                     fo_do_arquivo + "19813: ele foi calculado com outros objetivos ou outros pesos.\n"}),
    [](const auto& caso) { return std::string(caso.param.nome); });

TEST(LoteEmProcesso, ResultadoNaSaidaPadraoAndamentoEResumo)
{
    const Chamada e = lote({exemplo("nordeste.dat").string()});
    ASSERT_EQ(e.status, 0) << e.erros;
    EXPECT_EQ(e.saida.rfind("Inv1:\t", 0), 0u);
    EXPECT_NE(e.saida.find("\r\n>>>>>>>>\t10\xAA RODADA\t<<<<<<<<\r\n"), std::string::npos);
    EXPECT_EQ(e.erros.rfind("Os dados foram carregados com sucesso.\nUma solução inicial aleatória foi gerada.\nFase 1: ", 0), 0u);
    for (const char* linha : {"Fase 1: 0,0 %", "Fase 2: 0,0 %", "\nTERMINOU A EXECUÇÃO!\n", "\nInviabilidade 9: ",
                              "\nFO_STAR: ", "\nReaquecimentos: 0\n", "\nTempo de execução: "})
        EXPECT_NE(e.erros.find(linha), std::string::npos) << linha;
}

// A name ending in .xlsx gets a workbook (read back in teste_planilha), not the result file,
// even ".xlsx" alone; it is built beside its destination, whatever the system's temporary
// folder, and nothing of the building is left there.
TEST(LoteEmProcesso, SaidaXlsxEUmaPlanilha)
{
    PastaTemporaria pasta;
    const auto destino = pasta.caminho() / ".xlsx";
    const std::string tmpdir = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", "/nao/existe", 1);
    const Chamada e = lote({"--silencioso", "-o", destino.string(), exemplo("nordeste.dat").string()});
    tmpdir.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", tmpdir.c_str(), 1);
    ASSERT_EQ(e.status, 0) << e.erros;
    EXPECT_TRUE(le_bytes(destino).starts_with(std::string("PK\x03\x04", 4)));
    EXPECT_TRUE(e.erros.ends_with("Resultado gravado em " + destino.string() + "\n")) << e.erros;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pasta.caminho()), {}), 1);
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

// The count lines of a result file, up to its "Tempo" line, as --avaliar prints them.
std::string contagens_do_arquivo(const std::string& bytes)
{
    std::istringstream arquivo(bytes);
    std::string cabecalho;
    for (std::string linha; std::getline(arquivo, linha) && !linha.starts_with("Tempo:");)
        cabecalho += linha.substr(0, linha.size() - 1) + "\n";
    return cabecalho;
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

    // Scored again with the weights of its run and the objectives it ended with (all of them:
    // the runs here that stop at their bound chose them all), the golden file prints its own
    // first ten lines and gives the run's report, its counts marked alike.
    std::vector<std::string> args = {"--avaliar", ouro.string(), exemplo(c.dados).string()};
    std::istringstream opcoes(c.opcoes);
    for (std::string opcao, valor; opcoes >> opcao;)
        if (opcao == "--pesos" && opcoes >> valor) args.insert(args.end(), {opcao, valor});
    args.insert(args.end(), {"--relatorio", (pasta.caminho() / "avaliado.txt").string()});
    const Chamada e = lote(args);
    ASSERT_EQ(e.status, 0) << e.erros;
    EXPECT_EQ(e.erros.find("O FO_STAR do arquivo"), std::string::npos) << e.erros;
    const std::string cabecalho = contagens_do_arquivo(le_bytes(ouro));
    EXPECT_EQ(e.saida, cabecalho);
    EXPECT_EQ(le_bytes(pasta.caminho() / "avaliado.txt"), le_bytes(relatorio));

    // The same schedule as a plain table of games, one game a line as a spreadsheet keeps it,
    // scores the same (where no team plays twice in a round, which a plain table refuses).
    if (!cabecalho.starts_with("Inv1:\t0\n")) return;
    std::string csv = "Rodada;Mandante;Visitante\r\n";
    std::istringstream jogos(le_bytes(ouro));
    int rodada = 0;
    for (std::string linha; std::getline(jogos, linha);) {
        if (linha.starts_with(">>>>>>>>\t")) rodada = std::stoi(linha.substr(9));
        if (const auto x = linha.find("\tX\t"); x != std::string::npos)
            csv += std::to_string(rodada) + ";" + linha.substr(0, x) + ";" + linha.substr(x + 3, linha.size() - x - 4) + "\r\n";
    }
    args[1] = pasta.escreve("tabela.csv", csv).string();
    const Chamada t = lote(args);
    ASSERT_EQ(t.status, 0) << t.erros;
    EXPECT_EQ(t.saida, cabecalho);
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
                      // turno, and the padrao search on a small championship's turno (where
                      // no season meets Inviabilidades 2 and 3 at once: stopped at its bound).
                      CasoOuro{"brasileirao_2023_espelhado", "brasileirao_2023_turno.dat",
                               "--busca compacta --returno espelhado", 0},
                      CasoOuro{"brasileirao_2023_frances", "brasileirao_2023_turno.dat", "--busca compacta --returno frances",
                               0},
                      CasoOuro{"nordeste_turno_frances", "nordeste_turno.dat", "--returno frances --max-reaquecimentos 0",
                               3},
                      // Three runs at once give the file of the best, which names its seed,
                      // whatever the cores: as many as there are, or one.
                      CasoOuro{"brasileirao_2023_turno_execucoes", "brasileirao_2023_turno.dat",
                               "--busca compacta --execucoes 3", 0},
                      CasoOuro{"brasileirao_2023_turno_execucoes_um_nucleo", "brasileirao_2023_turno.dat",
                               "--busca compacta --execucoes 3", 0, "brasileirao_2023_turno_execucoes", true}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// Whether `sinal` sent to the process `pid` waits still for one of its threads to take it.
bool pendente(pid_t pid, int sinal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string linha; std::getline(status, linha);)
        if (linha.starts_with("ShdPnd:")) return (std::stoull(linha.substr(7), nullptr, 16) >> (sinal - 1)) & 1u;
    return false;
}

// Ctrl-C on a long run (--esforco 50): the first stops it at its next temperature level, writes
// the best schedule so far, which --avaliar scores as the file says, and exits with 4; a second,
// sent once the first was taken, ends the program at once, leaving no file of any kind.
TEST(LoteInterrompido, PrimeiroCtrlCGravaOMelhorOSegundoEncerraSemGravar)
{
    for (const int ctrl_c : {1, 2}) {
        PastaTemporaria pasta;
        const auto saida = pasta.caminho() / "resultado.txt";
        const auto erros = pasta.caminho() / "erros.txt";
        const std::string dados = exemplo("brasileirao_2023.dat").string();
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::signal(SIGINT, SIG_DFL);  // as a terminal starts it, whatever the test's own handling
            const int fd = ::open(erros.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(fd, STDERR_FILENO);
            ::execl(KELM_LOTE, "kelm-lote", "--esforco", "50", "-o", saida.c_str(), dados.c_str(), nullptr);
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const auto pedido = std::chrono::steady_clock::now();
        for (int k = 0; k < ctrl_c; ++k) {
            ::kill(pid, SIGINT);
            while (pendente(pid, SIGINT)) std::this_thread::yield();
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - pedido).count();
        EXPECT_LT(segundos, 2.0);
        std::vector<std::string> arquivos;
        for (const auto& a : std::filesystem::directory_iterator(pasta.caminho())) arquivos.push_back(a.path().filename());
        std::sort(arquivos.begin(), arquivos.end());
        EXPECT_EQ(arquivos, (ctrl_c == 1 ? std::vector<std::string>{"erros.txt", "resultado.txt"}
                                         : std::vector<std::string>{"erros.txt"}));
        if (ctrl_c == 2) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
            continue;
        }
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 4) << status << le_bytes(erros);
        EXPECT_NE(le_bytes(erros).find("Execução interrompida pelo planejador"), std::string::npos) << le_bytes(erros);
        const Chamada e = lote({"--avaliar", saida.string(), dados}, '.');
        ASSERT_EQ(e.status, 0) << e.erros;
        EXPECT_EQ(e.saida, contagens_do_arquivo(le_bytes(saida)));
    }
}

}  // namespace
// ---- Re-planning -----------------------------------------------------------------------

// The round blocks of a result file: from the first heading on, each round's lines.
std::vector<std::string> rodadas_do_arquivo(const std::string& bytes)
{
    std::vector<std::string> rodadas;
    for (std::size_t p = bytes.find(">>>>>>>>"); p != std::string::npos;) {
        const std::size_t q = bytes.find(">>>>>>>>", p + 8);
        rodadas.push_back(bytes.substr(p, q == std::string::npos ? std::string::npos : q - p));
        p = q;
    }
    return rodadas;
}

// A re-plan of the golden espelhado season with every round frozen but three of the turno's
// (and their mirrors): the frozen rounds come out byte for byte as they went in, and FO is not
// above the start's. What a re-plan refuses, it refuses before the run.
TEST(Replanejamento, RodadasCongeladasIntactasEFoNaoPiora)
{
    PastaTemporaria pasta;
    const auto partida = std::filesystem::path(KELM_ESPERADO) / "brasileirao_2023_espelhado.txt";
    const auto saida = pasta.caminho() / "r.txt";
    const std::string dados = exemplo("brasileirao_2023_turno.dat").string();
    const Chamada c = lote({dados, "--busca", "compacta", "--returno", "espelhado", "--partir-de", partida.string(),
                            "--congelar", "1-16", "--silencioso", "-o", saida.string()});
    ASSERT_EQ(c.status, 0) << c.erros;
    EXPECT_NE(c.erros.find("Rodadas congeladas: 1-16 e 20-35 (com as que o returno liga a elas)\n"), std::string::npos)
        << c.erros;
    const std::string antes = le_bytes(partida);
    const std::string depois = le_bytes(saida);
    const auto ra = rodadas_do_arquivo(antes);
    const auto rd = rodadas_do_arquivo(depois);
    ASSERT_EQ(ra.size(), 38u);
    ASSERT_EQ(rd.size(), 38u);
    for (int s = 0; s < 38; ++s) {
        const bool congelada = s < 16 || (s >= 19 && s < 35);
        if (!congelada) continue;
        EXPECT_EQ(rd[static_cast<std::size_t>(s)], ra[static_cast<std::size_t>(s)]) << s + 1;
    }
    const auto fo = [](const std::string& bytes) {
        const std::size_t p = bytes.find("FO_STAR:\t") + 9;
        return std::stod(bytes.substr(p, bytes.find('\r', p) - p));
    };
    EXPECT_LE(fo(depois), fo(antes));
    EXPECT_NE(depois.find("\r\nInv11:\t"), std::string::npos);

    const auto requisitos = pasta.escreve("q.txt", "casa Vasco rodadas 3\n");  // Vasco plays at home in round 3
    const auto recusado = pasta.escreve("p.txt", "fora Vasco rodadas 3\n");
    for (const auto& [args, status, mensagem] :
         std::vector<std::tuple<std::vector<std::string>, int, std::string>>{
             {{"--requisitos", recusado.string(), "--returno", "espelhado", "--congelar", "1-5"}, 1,
              "linha 1: o requisito pede uma mudança na rodada 3, que está congelada.\n"},
             {{"--requisitos", requisitos.string(), "--returno", "espelhado", "--congelar", "40"}, 2,
              "kelm-lote: --congelar: \"40\" não cabe nas rodadas de 1 a 38.\n"},
             {{"--returno", "frances"}, 1,
              "A tabela de partida não segue o returno francês: a rodada 20 não repete os jogos da rodada 2 com os "
              "mandos trocados.\n"},
             {{}, 1, "replaneje a temporada inteira, com o seu returno (espelhado ou francês).\n"}}) {
        std::vector<std::string> a{dados, "--partir-de", partida.string(), "--silencioso", "-o", saida.string()};
        a.insert(a.end(), args.begin(), args.end());
        const Chamada r = lote(a);
        EXPECT_EQ(r.status, status) << r.erros;
        EXPECT_TRUE(r.erros.ends_with(mensagem)) << r.erros;
    }
    EXPECT_EQ(lote({dados, "--congelar", "1"}).status, 2);
}

}  // namespace kelm::teste
