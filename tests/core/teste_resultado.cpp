#include <sys/stat.h>

#include "apoio.hpp"
#include "files/resultado.hpp"
#include "search/comandos.hpp"

namespace kelm::teste {
namespace {

// A 4-team, 3-round result with accented names, as a completed run leaves it.
Estado resultado_quatro_times()
{
    Estado e = campeonato(4, 3);
    e.campeonato.nomes_times = {"", "Grêmio", "Avaí", "São-Paulo", "Ceará"};
    e.execucao.tabela_melhor = aloca_matriz_jogos(3, 2);
    const Jogo jogos[3][2] = {{{1, 2}, {-3, 4}}, {{-1, 3}, {2, 4}}, {{1, 4}, {-2, 3}}};
    for (int r = 0; r < 3; ++r)
        for (int g = 0; g < 2; ++g) e.execucao.tabela_melhor[r][g] = jogos[r][g];
    e.execucao.inviabilidades_melhor = Contagens{{0, 0, 4, 4, 1, 0, 0, 217, 44}};
    e.execucao.fo_star = 5040004617.0;
    e.execucao.tempo_execucao = 299.0 / 86400.0;
    e.execucao.programa_executado = true;
    return e;
}

TEST(ArquivoDeResultado, QuatroTimesTresRodadas)
{
    const std::string esperado =
        "Inv1:\t0\r\nInv2:\t0\r\nInv3:\t4\r\nInv4:\t4\r\nInv5:\t1\r\nInv6:\t0\r\nInv7:\t0\r\nInv8:\t217\r\nInv9:\t44\r\n"
        "FO_STAR:\t5040004617\r\nTempo:\t00:04:59\r\n"
        "\r\n>>>>>>>>\t1\xAA RODADA\t<<<<<<<<\r\n\r\nGr\xEAmio\tX\tAva\xED\r\nCear\xE1\tX\tS\xE3o-Paulo\r\n\r\n\r\n"
        "\r\n>>>>>>>>\t2\xAA RODADA\t<<<<<<<<\r\n\r\nS\xE3o-Paulo\tX\tGr\xEAmio\r\nAva\xED\tX\tCear\xE1\r\n\r\n\r\n"
        "\r\n>>>>>>>>\t3\xAA RODADA\t<<<<<<<<\r\n\r\nGr\xEAmio\tX\tCear\xE1\r\nS\xE3o-Paulo\tX\tAva\xED\r\n\r\n\r\n";
    const Estado e = resultado_quatro_times();
    EXPECT_EQ(texto_resultado(e.campeonato, e.execucao, ','), esperado);
}

TEST(ArquivoDeResultado, RodadaVaziaEDecimais)
{
    Estado e = resultado_quatro_times();
    e.execucao.tabela_melhor[1][0] = Jogo{};
    e.execucao.tabela_melhor[1][1] = Jogo{};
    e.execucao.fo_star = 2.5;
    const std::string texto = texto_resultado(e.campeonato, e.execucao, ',');
    EXPECT_NE(texto.find("FO_STAR:\t2,5\r\n"), std::string::npos);
    EXPECT_NE(texto.find("\r\n>>>>>>>>\t2\xAA RODADA\t<<<<<<<<\r\n\r\n\r\n\r\n\r\n>>>>>>>>\t3"), std::string::npos);
}

// Without data, or with a result of other dimensions than the loaded championship's, the
// views and the save say why they cannot proceed, and nothing is written.
TEST(ArquivoDeResultado, SoComResultadoDosDadosCarregados)
{
    PastaTemporaria pasta;
    Estado e = resultado_quatro_times();
    e.execucao.tabela_melhor = aloca_matriz_jogos(4, 2);
    const auto recusa = [](const Desfecho& d) {
        return d.sucesso ? std::string("aceito") : (d.tipo == TipoMensagem::erro ? "erro: " : "informação: ") + d.texto;
    };
    EXPECT_EQ(recusa(grava_resultado(e.campeonato, e.execucao, pasta.caminho() / "Tabela.txt")),
              "erro: A Tabela de Resultado não pode ser salva. O programa ainda não foi executado.");
    EXPECT_EQ(recusa(pode_mostrar_resultado(e.campeonato, e.execucao)),
              "informação: A Tabela de Resultado não pode ser mostrada. O programa ainda não foi executado.");
    EXPECT_EQ(recusa(pode_mostrar_tabela_inicial(Campeonato{})),
              "informação: A Tabela inicial não pode ser mostrada. Os dados não foram carregados.");
    EXPECT_FALSE(std::filesystem::exists(pasta.caminho() / "Tabela.txt"));
}

// A new file gets the permissions the planner's umask leaves, as any file the planner saves.
TEST(ArquivoDeResultado, ArquivoNovoComAsPermissoesDoUmask)
{
    PastaTemporaria pasta;
    const auto novo = pasta.caminho() / "novo.xls";
    Estado e = resultado_quatro_times();
    ASSERT_TRUE(grava_resultado(e.campeonato, e.execucao, novo, ',').sucesso);
    struct stat info {};
    ASSERT_EQ(::stat(novo.c_str(), &info), 0);
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mascara);
}

}  // namespace
}  // namespace kelm::teste
