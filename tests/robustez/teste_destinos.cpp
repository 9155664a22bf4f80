// What a planner types to kelm-lote never destroys a file: an output that would replace an
// input or the other output, a destination that cannot be written, a file to score that says
// nothing. Each is refused with its exit status and exact messages, before any work, and
// leaves the folder byte for byte as it was: every input unchanged, no output left.

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <map>

#include "apoio.hpp"
#include "apoio_lote.hpp"
#include "caminhos_hostis.hpp"
#include "processo_filho.hpp"

namespace kelm::teste {
namespace {

namespace fs = std::filesystem;

// The folder of every case: a copy of the 6-team championship, a requirements file of it, a
// result of it (r.txt), an empty file, a workbook and a hard link to the data file.
class PastaDoCampeonato {
public:
    PastaDoCampeonato()
    {
        prepara_pasta_hostil(pasta_.caminho(), exemplo("nordeste.dat").parent_path());
        fs::copy_file(fs::path(pasta_testes) / "e2e" / "esperado" / "nordeste.txt", pasta_.caminho() / "r.txt");
        pasta_.escreve("vazio.txt", "");
        pasta_.escreve("r.xlsx", std::string("PK\x03\x04\x14\0", 6));
        fs::create_hard_link(pasta_.caminho() / "nordeste.dat", pasta_.caminho() / "duro.dat");
    }

    const fs::path& caminho() const { return pasta_.caminho(); }

    // Every entry of the folder, links as links, with the bytes of the files.
    std::map<std::string, std::string> conteudo() const { return conteudo_da_pasta(pasta_.caminho()); }

private:
    PastaTemporaria pasta_;
};

struct CasoDestino {
    const char* nome;
    std::vector<std::string> args;  // {P} stands for the folder
    int status;
    std::string erros;              // the whole standard error
};

void PrintTo(const CasoDestino& caso, std::ostream* os) { *os << caso.nome; }

class DestinoHostil : public ::testing::TestWithParam<CasoDestino> {};

TEST_P(DestinoHostil, RecusadoSemMudarNadaNaPasta)
{
    const CasoDestino& caso = GetParam();
    const PastaDoCampeonato pasta;
    const std::string p = pasta.caminho().string();
    const auto antes = pasta.conteudo();
    std::vector<std::string> args;
    for (const std::string& a : caso.args) args.push_back(substitui(a, "{P}", p));
    const Chamada c = lote(args);
    EXPECT_EQ(c.status, caso.status);
    EXPECT_EQ(c.erros, substitui(caso.erros, "{P}", p));
    EXPECT_EQ(c.saida, "");
    EXPECT_EQ(pasta.conteudo(), antes);
}

const std::string nao_salvo = "O Arquivo não foi salvo.\n";
const std::string outro_nome = ": são o mesmo arquivo. Escolha outro nome.\n";

INSTANTIATE_TEST_SUITE_P(
    Destinos, DestinoHostil,
    ::testing::Values(
        CasoDestino{"ResultadoSobreOsDados", {"{P}/nordeste.dat", "-o", "{P}/nordeste.dat"}, 2,
                    nao_salvo + "O resultado (-o {P}/nordeste.dat) seria gravado sobre o arquivo de dados "
                                "({P}/nordeste.dat)" + outro_nome},
        CasoDestino{"ResultadoPorUmLinkDuroAosDados", {"{P}/nordeste.dat", "-o", "{P}/duro.dat"}, 2,
                    nao_salvo + "O resultado (-o {P}/duro.dat) seria gravado sobre o arquivo de dados "
                                "({P}/nordeste.dat)" + outro_nome},
        CasoDestino{"RelatorioSobreOAvaliado", {"--avaliar", "{P}/r.txt", "{P}/nordeste.dat", "--relatorio", "{P}/r.txt"}, 2,
                    nao_salvo + "O relatório (--relatorio {P}/r.txt) seria gravado sobre o arquivo avaliado "
                                "(--avaliar {P}/r.txt)" + outro_nome},
        CasoDestino{"AsDuasSaidasNumArquivoNovo", {"{P}/nordeste.dat", "-o", "{P}/novo.txt", "--relatorio", "{P}/./novo.txt"}, 2,
                    nao_salvo + "O relatório (--relatorio {P}/./novo.txt) seria gravado sobre o resultado "
                                "(-o {P}/novo.txt)" + outro_nome},
        CasoDestino{"AsDuasSaidasNumArquivoQueExiste", {"{P}/nordeste.dat", "-o", "{P}/r.txt", "--relatorio", "{P}/r.txt"}, 2,
                    nao_salvo + "O relatório (--relatorio {P}/r.txt) seria gravado sobre o resultado (-o {P}/r.txt)" +
                        outro_nome},
        CasoDestino{"ResultadoSobreOCalendario", {"{P}/nordeste.dat", "--calendario", "{P}/r.txt", "-o", "{P}/r.txt"}, 2,
                    nao_salvo + "O resultado (-o {P}/r.txt) seria gravado sobre o arquivo de calendário (--calendario "
                                "{P}/r.txt)" + outro_nome},
        CasoDestino{"CalendariosNumaPastaDoSistema", {"{P}/nordeste.dat", "--calendario", "c.txt", "--ical", "/proc/k/a"}, 1,
                    nao_salvo + "/proc/k: a pasta /proc é do sistema operacional; nela não se gravam arquivos.\n"},
        CasoDestino{"ArquivoDoSistema", {"{P}/nordeste.dat", "-o", "/proc/version"}, 1,
                    nao_salvo + "/proc/version: a pasta /proc é do sistema operacional; nela não se gravam arquivos.\n"},
        CasoDestino{"RelatorioNumDispositivoCheio", {"{P}/nordeste.dat", "-o", "{P}/novo.txt", "--relatorio", "/dev/full"}, 1,
                    nao_salvo + "/dev/full: não há espaço no disco.\n"},
        CasoDestino{"ResultadoNumaPastaQueFalta", {"{P}/nordeste.dat", "-o", "{P}/falta/r.txt"}, 1,
                    nao_salvo + "{P}/falta/r.txt: a pasta não existe.\n"},
        CasoDestino{"RelatorioDaAvaliacaoNumaPastaQueFalta",
                    {"--avaliar", "{P}/r.txt", "{P}/nordeste.dat", "--relatorio", "{P}/falta/rel.txt"}, 1,
                    nao_salvo + "{P}/falta/rel.txt: a pasta não existe.\n"},
        // The load says only that the data loaded: the initial schedule is spoken of when a
        // run starts from it.
        CasoDestino{"AvaliadoVazio", {"--avaliar", "{P}/vazio.txt", "{P}/nordeste.dat", "--relatorio", "{P}/rel.txt"}, 1,
                    "Os dados foram carregados com sucesso.\n"
                    "Erro no arquivo de resultado \"{P}/vazio.txt\", linha 1: o arquivo está vazio.\n"},
        CasoDestino{"AvaliadaUmaPlanilha", {"--avaliar", "{P}/r.xlsx", "{P}/nordeste.dat"}, 1,
                    "Os dados foram carregados com sucesso.\n"
                    "Erro no arquivo de resultado \"{P}/r.xlsx\": ele é uma pasta de trabalho (.xlsx); --avaliar lê o "
                    "arquivo de resultado de texto (.txt ou .xls), como o KELM o grava ou no mesmo formato.\n"},
        CasoDestino{"BuscaCompactaRecusada", {"{P}/nordeste.dat", "--busca", "compacta", "-o", "{P}/novo.txt"}, 1,
                    "Os dados foram carregados com sucesso.\n"
                    "A busca compacta não pode ser usada com estes dados: ela faz cada time jogar uma vez por rodada, o "
                    "que com 6 times pede 5 rodadas, e os dados têm 10.\n"}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// The table the window goes through too: whatever links lead an output onto a file read (the
// requirements among them) or onto the other output, even a link to a file not yet made, the
// command refuses before loading anything; links that go round are a destination that
// cannot be written.
TEST(CaminhosHostis, RecusadosAntesDeTudoSemMudarNada)
{
    for (const CaminhoHostil& c : caminhos_hostis) {
        SCOPED_TRACE(c.nome);
        const PastaDoCampeonato pasta;
        const std::string p = pasta.caminho().string() + "/";
        for (const auto& [link, alvo] : c.links) fs::create_symlink(alvo, p + link);
        const auto antes = pasta.conteudo();
        std::vector<std::string> args{p + "nordeste.dat", "--requisitos", p + "req.txt", "-o", p + c.destino};
        if (c.relatorio != nullptr) args.insert(args.end(), {"--relatorio", p + c.relatorio});
        const Chamada chamada = lote(args);
        const std::string saida = c.relatorio != nullptr ? "relatório (--relatorio " + p + c.relatorio : "resultado (-o " + p + c.destino;
        const std::string sobre = c.papel == nullptr     ? ""
                                  : c.relatorio != nullptr ? "-o " + p + c.destino
                                  : std::string(c.sobre) == "req.txt" ? "--requisitos " + p + c.sobre
                                                                       : p + c.sobre;
        EXPECT_EQ(chamada.status, c.papel != nullptr ? 2 : 1);
        EXPECT_EQ(chamada.erros, nao_salvo + (c.papel == nullptr ? p + c.destino + ": " + motivo_laco + ".\n"
                                                                 : "O " + saida + ") seria gravado sobre o " + c.papel + " (" +
                                                                       sobre + ")" + outro_nome));
        EXPECT_EQ(pasta.conteudo(), antes);
    }
}

// When the result is written and the report then fails (the disk fills up between them),
// the command says so, and the whole result stays: it may have replaced the file of an
// earlier run, which removing it would not bring back. The file-size limit of a child process
// lets the result (760 bytes) through and stops the report (1037).
TEST(SegundaSaidaQueFalha, DizQueOResultadoFoiGravadoEONaoApaga)
{
    const PastaDoCampeonato pasta;
    const std::string p = pasta.caminho().string();
    const RespostaFilho r = executa_em_filho([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{900, 900};
        if (::setrlimit(RLIMIT_FSIZE, &limite) != 0) return std::string("setrlimit falhou");
        const Chamada c = lote({p + "/nordeste.dat", "--silencioso", "-o", p + "/novo.txt", "--relatorio", p + "/rel.txt"});
        return std::to_string(c.status) + "\n" + c.erros.substr(c.erros.find("Resultado gravado"));
    });
    ASSERT_TRUE(r.executou) << r.texto;
    EXPECT_EQ(r.texto, "1\nResultado gravado em " + p + "/novo.txt\n" + nao_salvo + p +
                           "/rel.txt: o arquivo ficaria grande demais.\nO resultado foi gravado em " + p +
                           "/novo.txt, mas o relatório não.\n");
    EXPECT_EQ(le_bytes(pasta.caminho() / "novo.txt").size(), le_bytes(pasta.caminho() / "r.txt").size());
    EXPECT_FALSE(fs::exists(pasta.caminho() / "rel.txt"));
}

}  // namespace
}  // namespace kelm::teste
