#include "apoio.hpp"
#include "neighbourhoods/padrao/solucao_inicial.hpp"

namespace kelm::teste {
namespace {

// A championship folder with its three files.
struct Arquivos {
    PastaTemporaria pasta;
    std::filesystem::path dados;

    Arquivos(std::string_view dat, std::string_view dist, std::string_view nom)
    {
        dados = pasta.escreve("camp.dat", dat);
        pasta.escreve("dist.txt", dist);
        pasta.escreve("nomes.txt", nom);
    }
};

// ---- Files that load -------------------------------------------------------------

struct CasoBom {
    const char* nome;
    std::string dados;
    int n;
    int r;
};

// Short names in the test lists.
void PrintTo(const CasoBom& c, std::ostream* os) { *os << c.nome; }

class CargaBoa : public ::testing::TestWithParam<CasoBom> {};

TEST_P(CargaBoa, CarregaESorteiaATabela)
{
    const CasoBom& caso = GetParam();
    Arquivos a(caso.dados, texto_distancias(caso.n), texto_nomes(caso.n));
    Estado e;
    const Desfecho d = carrega_dados(e.campeonato, e.execucao, a.dados);
    ASSERT_TRUE(d.sucesso) << d.texto;
    EXPECT_EQ(d.texto, "Os dados foram carregados com sucesso.\n Uma solução inicial aleatória foi gerada.");
    EXPECT_EQ(d.tipo, TipoMensagem::informacao);
    EXPECT_EQ(e.campeonato.num_times, caso.n);
    EXPECT_EQ(e.campeonato.num_rodadas, caso.r);
    EXPECT_TRUE(e.campeonato.dados_carregados);
    EXPECT_EQ(e.campeonato.nomes_times[1], "T1");
    EXPECT_EQ(e.campeonato.matriz_distancias[2][1], 201);
    EXPECT_EQ(e.execucao.tabela_inicial.linhas(), caso.r);
    EXPECT_FALSE(e.execucao.tabela_inicial[0][0].vazio());
}

INSTANTIATE_TEST_SUITE_P(
    Formatos, CargaBoa,
    ::testing::Values(CasoBom{"VirgulaColada", "4,3\ndist.txt\nnomes.txt\n", 4, 3},
                      CasoBom{"QuebraDepoisDaVirgula", "4,\n3\ndist.txt\nnomes.txt\n", 4, 3},
                      CasoBom{"TudoNumaLinhaSemQuebraNoFim", "5, 6 dist.txt nomes.txt", 5, 6},
                      CasoBom{"LinhasDepoisDoTerceiroItem", "4, 3\ndist.txt\nnomes.txt\nqualquer coisa\n\x01\n", 4, 3},
                      CasoBom{"BomECrLf", "\xEF\xBB\xBF" "4, 3\r\ndist.txt\r\nnomes.txt\r\n", 4, 3},
                      CasoBom{"SinalMais", "+6, +10\ndist.txt\nnomes.txt\n", 6, 10}),
    [](const auto& caso) { return std::string(caso.param.nome); });

TEST(Carga, CaminhosRelativosSaoDaPastaDoArquivoDeDados)
{
    PastaTemporaria pasta;
    pasta.escreve("sub/tabelas/d.txt", "1, 2, 7\n");
    pasta.escreve("sub/tabelas/n.txt", texto_nomes(4));
    pasta.escreve("sub/camp.dat", "4, 3\ntabelas/d.txt\ntabelas\\n.txt\n");
    const auto antes = std::filesystem::current_path();
    std::filesystem::current_path(pasta.caminho());  // not the data file's folder
    Estado e;
    const Desfecho d = carrega_dados(e.campeonato, e.execucao, std::filesystem::path("sub/camp.dat"));
    std::filesystem::current_path(antes);
    ASSERT_TRUE(d.sucesso) << d.texto << d.detalhe;
    EXPECT_EQ(e.campeonato.matriz_distancias[1][2], 7);
}

TEST(Carga, DistanciasSaoDirecionaisEAUltimaValeMais)
{
    Arquivos a("4, 3\ndist.txt\nnomes.txt\n", "1, 2, 350\n1,2,400\n3,3,9", texto_nomes(4));
    Estado e;
    ASSERT_TRUE(carrega_dados(e.campeonato, e.execucao, a.dados).sucesso);
    EXPECT_EQ(e.campeonato.matriz_distancias[1][2], 400);
    EXPECT_EQ(e.campeonato.matriz_distancias[2][1], 0);
    EXPECT_EQ(e.campeonato.matriz_distancias[3][3], 9);
    EXPECT_EQ(e.campeonato.matriz_distancias[0][0], 0);
}

TEST(Carga, MenosNomesDeixaOsOutrosVazios)
{
    Arquivos a("4, 3\ndist.txt\nnomes.txt\n", "", "Um Dois");
    Estado e;
    ASSERT_TRUE(carrega_dados(e.campeonato, e.execucao, a.dados).sucesso);
    EXPECT_EQ(e.campeonato.nomes_times, (std::vector<std::string>{"", "Um", "Dois", "", ""}));
}

TEST(Carga, NomesEmUtf8OuLatin1)
{
    Arquivos utf8("3, 3\ndist.txt\nnomes.txt\n", "", "Grêmio\r\nSão-Paulo\r\nAvaí\r\n");
    Estado e;
    ASSERT_TRUE(carrega_dados(e.campeonato, e.execucao, utf8.dados).sucesso);
    EXPECT_EQ(e.campeonato.nomes_times[1], "Grêmio");
    EXPECT_EQ(e.campeonato.nomes_times[2], "São-Paulo");

    Arquivos latin1("3, 3\ndist.txt\nnomes.txt\n", "", "Gr\xEAmio S\xE3o-Paulo Ava\xED");
    Estado f;
    ASSERT_TRUE(carrega_dados(f.campeonato, f.execucao, latin1.dados).sucesso);
    EXPECT_EQ(f.campeonato.nomes_times, e.campeonato.nomes_times);
}

}  // namespace
}  // namespace kelm::teste
