// Saving that fails: each failure says "O Arquivo não foi salvo." with its reason, leaves
// an earlier file of the same name byte for byte as it was, and leaves no temporary file.

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "apoio.hpp"
#include "files/rascunhos.hpp"
#include "files/resultado.hpp"
#include "processo_filho.hpp"

namespace kelm::teste {
namespace {

namespace fs = std::filesystem;

const std::string anterior = "Inv1:\t0\r\nFO_STAR:\t12\r\n(resultado anterior)\r\n";

std::vector<std::string> arquivos_em(const fs::path& pasta)
{
    std::vector<std::string> nomes;
    for (const auto& entrada : fs::directory_iterator(pasta)) nomes.push_back(entrada.path().filename().string());
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

std::string resposta(const Desfecho& d)
{
    return (d.sucesso ? "salvo" : "falhou") + std::string(" | ") + d.texto + " | " + d.detalhe;
}

// A folder that the user nobody can enter, as the child processes of these tests may be.
fs::path pasta_aberta(const PastaTemporaria& pasta, const std::string& nome, fs::perms permissoes)
{
    fs::permissions(pasta.caminho(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
    const fs::path p = pasta.caminho() / nome;
    fs::create_directory(p);
    fs::permissions(p, permissoes);
    return p;
}

// A destination that cannot be written is refused before a run (pode_gravar) with the same
// message as the save itself (grava_arquivo) would give, and the save leaves the earlier file
// as it was and no temporary file. Run as the user nobody, for whom permissions count (as
// root they do not). A read-only file is not replaced through a writable folder either.
TEST(GravacaoQueFalha, DestinoRecusadoAntesDaExecucaoEAoGravar)
{
    PastaTemporaria pasta;
    const fs::perms leitura = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms entrada = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    const fs::path aberta = pasta_aberta(pasta, "aberta", fs::perms::all);
    const fs::path fechada = pasta_aberta(pasta, "fechada", fs::perms::all);
    const fs::path arquivo = pasta.escreve("aberta/arquivo.txt", anterior);
    const fs::path somente_leitura = pasta.escreve("aberta/lido.txt", anterior);
    const fs::path na_fechada = pasta.escreve("fechada/Tabela.txt", anterior);
    fs::permissions(arquivo, fs::perms::all);
    fs::permissions(somente_leitura, leitura);
    fs::permissions(na_fechada, fs::perms::all);
    fs::permissions(fechada, leitura | entrada);
    struct Caso {
        fs::path destino;
        std::string motivo;  // empty: it is written
    };
    const Caso casos[] = {
        {aberta / "novo.txt", ""},
        {arquivo, ""},
        {aberta / "falta" / "novo.txt", "a pasta não existe"},
        {aberta, "o caminho é uma pasta"},
        {arquivo / "novo.txt", "o caminho passa por algo que não é uma pasta"},
        {na_fechada, "sem permissão de escrita"},
        {somente_leitura, "sem permissão de escrita"},
    };
    const RespostaFilho r = executa_em_filho(
        [&] {
            std::string saida;
            for (const Caso& caso : casos)
                saida += resposta(pode_gravar(caso.destino)) + "\n" + resposta(grava_arquivo(caso.destino, "novo\r\n")) + "\n";
            return saida;
        },
        true);
    if (!r.executou) GTEST_SKIP() << r.texto;
    std::string esperado;
    for (const Caso& caso : casos) {
        const std::string linha = caso.motivo.empty() ? "salvo |  | \n"
                                                      : "falhou | O Arquivo não foi salvo. | " + caso.destino.string() +
                                                            ": " + caso.motivo + ".\n";
        esperado += linha + linha;
    }
    EXPECT_EQ(r.texto, esperado);
    EXPECT_EQ(le_bytes(arquivo), "novo\r\n");
    for (const fs::path& p : {somente_leitura, na_fechada}) EXPECT_EQ(le_bytes(p), anterior);
    EXPECT_EQ(arquivos_em(aberta), (std::vector<std::string>{"arquivo.txt", "lido.txt", "novo.txt"}));
    EXPECT_EQ(arquivos_em(fechada), std::vector<std::string>{"Tabela.txt"});
}

TEST(GravacaoQueFalha, DispositivoCheio)
{
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "não há /dev/full neste sistema";
    EXPECT_EQ(resposta(grava_arquivo("/dev/full", "novo conteúdo\r\n")),
              "falhou | O Arquivo não foi salvo. | /dev/full: não há espaço no disco.");

    // Through a link of the chosen name: the link is left as it was.
    PastaTemporaria pasta;
    const fs::path destino = pasta.caminho() / "Tabela.txt";
    fs::create_symlink("/dev/full", destino);
    EXPECT_EQ(resposta(grava_arquivo(destino, "novo conteúdo\r\n")),
              "falhou | O Arquivo não foi salvo. | " + destino.string() + ": não há espaço no disco.");
    EXPECT_TRUE(fs::is_symlink(destino));
    EXPECT_EQ(arquivos_em(pasta.caminho()), std::vector<std::string>{"Tabela.txt"});
}

// A disk that fills up half way through the file: the file-size limit makes the writes of
// a child process fail after 64 KiB (SIGXFSZ ignored, so the write reports EFBIG instead of
// ending the process).
TEST(GravacaoQueFalha, EscritaQueFalhaNoMeioDeixaOArquivoAnterior)
{
    PastaTemporaria pasta;
    const fs::path destino = pasta.escreve("Tabela.txt", anterior);
    const std::string pequeno(1000, 'p');
    std::string grande;
    for (int k = 0; grande.size() < (1u << 20); ++k) grande += "Linha " + std::to_string(k) + "\tX\tOutro time\r\n";

    const RespostaFilho r = executa_em_filho([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limite) != 0) return std::string("setrlimit falhou");
        std::string saida = resposta(grava_arquivo(destino, pequeno)) + "\n";
        saida += resposta(grava_arquivo(destino, grande));
        return saida;
    });
    ASSERT_TRUE(r.executou) << r.texto;
    EXPECT_EQ(r.texto, "salvo |  | \nfalhou | O Arquivo não foi salvo. | " + destino.string() +
                           ": o arquivo ficaria grande demais.");
    EXPECT_EQ(le_bytes(destino), pequeno);  // the last complete save, whole
    EXPECT_EQ(arquivos_em(pasta.caminho()), std::vector<std::string>{"Tabela.txt"});

    // Without the limit the same bytes are saved whole.
    ASSERT_TRUE(grava_arquivo(destino, grande).sucesso);
    EXPECT_EQ(le_bytes(destino), grande);
}

// A program ended by a signal half way through a save, whose handler first removes the saves'
// temporary files (as kelm-lote's does at a second Ctrl-C), leaves the previous file as it was
// and nothing else: here the signal of the file-size limit, raised by the write that passes it.
TEST(GravacaoQueFalha, SinalNoMeioDaEscritaNaoDeixaTemporario)
{
    PastaTemporaria pasta;
    const fs::path destino = pasta.escreve("Tabela.txt", anterior);
    const RespostaFilho r = executa_em_filho([&] {
        const rlimit sem_core{0, 0};
        const rlimit limite{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_CORE, &sem_core) != 0 || ::setrlimit(RLIMIT_FSIZE, &limite) != 0)
            return std::string("setrlimit falhou");
        std::signal(SIGXFSZ, [](int sinal) {
            apaga_rascunhos();
            std::signal(sinal, SIG_DFL);
            std::raise(sinal);
        });
        return resposta(grava_arquivo(destino, std::string(1 << 20, 'g')));
    });
    EXPECT_EQ(r.texto, "o processo filho terminou com o sinal " + std::to_string(SIGXFSZ));
    EXPECT_EQ(le_bytes(destino), anterior);
    EXPECT_EQ(arquivos_em(pasta.caminho()), std::vector<std::string>{"Tabela.txt"});
}

// A link is followed: the file it names gets the new contents and the link stays a link.
TEST(Gravacao, LinkParaUmArquivoContinuaLink)
{
    PastaTemporaria pasta;
    const fs::path real = pasta.escreve("real.txt", anterior);
    const fs::path link = pasta.caminho() / "Tabela.txt";
    fs::create_symlink("real.txt", link);
    ASSERT_TRUE(grava_arquivo(link, "novo\r\n").sucesso);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(le_bytes(real), "novo\r\n");
    EXPECT_EQ(arquivos_em(pasta.caminho()), (std::vector<std::string>{"Tabela.txt", "real.txt"}));

    // A link to a file not made yet: the file is made where the link says, as the system
    // would make it, and the link stays.
    fs::create_symlink("novo.txt", pasta.caminho() / "pendente.txt");
    ASSERT_TRUE(grava_arquivo(pasta.caminho() / "pendente.txt", "novo\r\n").sucesso);
    EXPECT_TRUE(fs::is_symlink(pasta.caminho() / "pendente.txt"));
    EXPECT_EQ(le_bytes(pasta.caminho() / "novo.txt"), "novo\r\n");
}

// A named pipe that nobody reads: the save fails at once instead of waiting for a reader.
TEST(GravacaoQueFalha, FilaSemLeitorNaoPrendeOPrograma)
{
    PastaTemporaria pasta;
    const fs::path fila = pasta.caminho() / "fila";
    ASSERT_EQ(::mkfifo(fila.c_str(), 0644), 0);
    EXPECT_EQ(resposta(grava_arquivo(fila, "novo\r\n")),
              "falhou | O Arquivo não foi salvo. | " + fila.string() + ": ninguém lê desse dispositivo.");
}

}  // namespace
}  // namespace kelm::teste
