#include "apoio.hpp"
#include "evaluation/temporada.hpp"
#include "files/leitura_resultado.hpp"
#include "files/relatorio.hpp"
#include "files/texto.hpp"
#include "report/explicacao.hpp"

namespace kelm::teste {
namespace {

// Four teams, four rounds. Grêmio plays its three games away, Internacional its three at
// home, the last one against Grêmio, of the same state; Ceará plays twice in round 2, and
// after a mixed start does not end the same way. Distances differ by direction.
Estado quatro_times()
{
    Estado e = campeonato(4, 4);
    e.campeonato.nomes_times = {"", "Grêmio", "Vitória", "Ceará", "Internacional"};
    const int d[5][5] = {{0, 0, 0, 0, 0}, {0, 0, 100, 200, 0}, {0, 110, 0, 300, 400}, {0, 210, 310, 0, 500}, {0, 0, 410, 510, 0}};
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j) e.campeonato.matriz_distancias[i][j] = d[i][j];
    Tabela& t = e.execucao.tabela_inicial;
    t[0][0] = jogo_entre(2, 1);
    t[0][1] = jogo_entre(4, 3);
    t[1][0] = jogo_entre(3, 1);
    t[1][1] = jogo_entre(2, 3);
    t[2][0] = jogo_entre(4, 2);
    t[3][0] = jogo_entre(4, 1);
    return e;
}

// The same schedule as a result file, one line per entry.
const std::vector<std::string> linhas_do_resultado = {
    ">>>>>>>>\t1ª RODADA\t<<<<<<<<", "Vitória\tX\tGrêmio",      "Internacional\tX\tCeará",
    ">>>>>>>>\t2ª RODADA\t<<<<<<<<", "Ceará\tX\tGrêmio",        "Vitória\tX\tCeará",
    ">>>>>>>>\t3ª RODADA\t<<<<<<<<", "Internacional\tX\tVitória", ">>>>>>>>\t4ª RODADA\t<<<<<<<<",
    "Internacional\tX\tGrêmio"};

TEST(Relatorio, QuatroTimesLinhaALinha)
{
    const Estado e = quatro_times();
    const Explicacao x = explica_tabela(e.campeonato, e.execucao.tabela_inicial);
    const std::array<std::int32_t, num_contagens> objetivos{1, 0, 1, 0, 0, 0, 0, 1, 0, 0};
    const std::string bytes = texto_relatorio(e.campeonato, x, ',', &objetivos);
    ASSERT_TRUE(bytes.ends_with("\r\n"));
    std::vector<std::string> linhas;
    const std::string texto = latin1_para_utf8(bytes);
    for (std::size_t p = 0; p < texto.size();) {
        const std::size_t fim = texto.find("\r\n", p);
        linhas.push_back(texto.substr(p, fim - p));
        p = fim + 2;
    }
    const std::vector<std::string> esperadas = {
        "Time\tSequência\tCasa\tFora\tKm\tInv1\tInv2\tInv3\tInv4\tInv5\tInv6\tInv7\tInv8\tInv9",
        "Grêmio\tF F - F\t0\t3\t900\t0\t1\t0\t3\t0\t1\t0\t900\t0",
        "Vitória\tC C F -\t2\t1\t400\t0\t1\t0\t1\t0\t0\t0\t400\t0",
        "Ceará\tF CF - -\t1\t2\t1320\t1\t0\t1\t1\t0\t0\t0\t1320\t1320",
        "Internacional\tC - C C\t3\t0\t0\t0\t1\t0\t3\t1\t0\t1\t0\t0",
        "Total\t\t6\t6\t2620\t1\t3\t1\t8\t1\t1\t1\t2620\t1320",
        "Objetivo\t\t\t\t\tSim\tNão\tSim\tNão\tNão\tNão\tNão\tSim\tNão",
        "",
        "Inviabilidade\tOcorrência",
        "Inv1\tCeará joga duas vezes na rodada 2",
        "Inv2\tGrêmio começa com dois jogos fora de casa, nas rodadas 1 e 2",
        "Inv2\tVitória começa com dois jogos em casa, nas rodadas 1 e 2",
        "Inv2\tInternacional começa com dois jogos em casa, nas rodadas 1 e 3",
        "Inv3\tCeará começa com um jogo fora e outro em casa, nas rodadas 1 e 2, mas termina com um jogo em casa e "
        "outro fora, na rodada 2",
        "Inv4\tGrêmio tem 0 jogos em casa e 3 fora",
        "Inv4\tVitória tem 2 jogos em casa e 1 fora",
        "Inv4\tCeará tem 1 jogo em casa e 2 fora",
        "Inv4\tInternacional tem 3 jogos em casa e 0 fora",
        "Inv5\tInternacional e Grêmio, do mesmo estado, jogam na última rodada",
        "Inv6\tGrêmio joga fora de casa nas rodadas 1, 2 e 4",
        "Inv7\tInternacional joga em casa nas rodadas 1, 3 e 4",
        "Inv8\tGrêmio percorre 900 km",
        "Inv8\tVitória percorre 400 km",
        "Inv8\tCeará percorre 1320 km",
        "Inv9\tCeará percorre mais, 1320 km, e Internacional percorre menos, 0 km: 1320 km de diferença",
    };
    ASSERT_EQ(linhas.size(), esperadas.size()) << texto;
    for (std::size_t k = 0; k < linhas.size(); ++k) EXPECT_EQ(linhas[k], esperadas[k]) << "linha " << k + 1;

    // What the grid says beside a game: the last one ends two runs between same-state teams.
    EXPECT_EQ(notas_do_jogo(x, {3, 0}),
              (std::vector<std::string>{"Internacional e Grêmio: mesmo estado na última rodada (Inviabilidade 5)",
                                        "Grêmio: 3º jogo seguido fora de casa (Inviabilidade 6)",
                                        "Internacional: 3º jogo seguido em casa (Inviabilidade 7)"}));
    EXPECT_EQ(notas_do_jogo(x, {1, 1}),
              (std::vector<std::string>{"Ceará: joga duas vezes na rodada 2 (Inviabilidade 1)",
                                        "Vitória: começa com dois jogos em casa (Inviabilidade 2)",
                                        "Ceará: não termina como começou (Inviabilidade 3)"}));
    EXPECT_EQ(notas_do_jogo(x, {0, 0}).size(), 2u);  // Vitória's start and Grêmio's; the run's first game says nothing
}

// The same four rounds, then their returno: rounds 5 to 8 repeat them with the venues swapped.
std::vector<std::string> linhas_da_temporada()
{
    std::vector<std::string> linhas = linhas_do_resultado;
    for (const std::string& l : linhas_do_resultado) {
        const auto x = l.find("\tX\t");
        linhas.push_back(x == std::string::npos
                             ? ">>>>>>>>\t" + std::to_string(l[9] - '0' + 4) + l.substr(10)
                             : l.substr(x + 3) + "\tX\t" + l.substr(0, x));
    }
    return linhas;
}

struct CasoArquivo {
    const char* nome;
    std::size_t linha;        // the line replaced (from 1)
    const char* substituta;   // what stands there instead (it may hold several lines)
    const char* mensagem;     // after "Erro no arquivo de resultado "r.txt", "
    bool temporada = false;   // the lines are those of the season, else those of the turno
};

void PrintTo(const CasoArquivo& c, std::ostream* os) { *os << c.nome; }

class ArquivoRuim : public ::testing::TestWithParam<CasoArquivo> {};

// Each fault refused with its file and line, and the schedule left as it was.
TEST_P(ArquivoRuim, RecusadoComArquivoELinha)
{
    const CasoArquivo& c = GetParam();
    const std::vector<std::string> linhas = c.temporada ? linhas_da_temporada() : linhas_do_resultado;
    std::string bytes;
    for (std::size_t k = 0; k < linhas.size(); ++k) bytes += (k + 1 == c.linha ? std::string(c.substituta) : linhas[k]) + "\n";
    const Estado e = quatro_times();
    Tabela tabela;
    const Desfecho d = le_resultado(bytes, "r.txt", e.campeonato, tabela);
    EXPECT_FALSE(d.sucesso);
    EXPECT_EQ(d.tipo, TipoMensagem::erro);
    EXPECT_EQ(d.texto, std::string("Erro no arquivo de resultado \"r.txt\", ") + c.mensagem);
    EXPECT_TRUE(tabela.vazia());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ArquivoRuim,
    ::testing::Values(
        CasoArquivo{"time_de_fora", 2, "Vitória\tX\tFlamengo", "linha 2: o time \"Flamengo\" não é deste campeonato."},
        CasoArquivo{"contra_si_mesmo", 2, "Vitória\tX\tVitória", "linha 2: Vitória joga contra si mesmo."},
        CasoArquivo{"duas_vezes", 6, "Grêmio\tX\tVitória", "linha 6: Grêmio e Vitória já se enfrentaram na 1ª rodada."},
        CasoArquivo{"nunca", 8, "", "linha 10: Vitória e Internacional não se enfrentam em nenhuma rodada."},
        CasoArquivo{"fora_de_ordem", 7, ">>>>>>>>\t4ª RODADA\t<<<<<<<<", "linha 7: esperava a 3ª rodada e encontrou a 4ª."},
        CasoArquivo{"alem_da_temporada", 9, ">>>>>>>>\t9ª RODADA\t<<<<<<<<",
                    "linha 9: a 9ª rodada passa das 4 rodadas do campeonato e das 8 de uma temporada de turno e returno."},
        CasoArquivo{"turno_sem_returno", 9, ">>>>>>>>\t5ª RODADA\t<<<<<<<<", "linha 9: esperava a 4ª rodada e encontrou a 5ª."},
        CasoArquivo{"returno_com_o_mesmo_mando", 12, "Vitória\tX\tGrêmio",
                    "linha 12: Vitória e Grêmio já se enfrentaram com Vitória em casa na 1ª rodada.", true},
        CasoArquivo{"returno_incompleto", 20, "", "linha 20: Grêmio não recebe Internacional em nenhuma rodada.", true},
        CasoArquivo{"nem_jogo_nem_rodada", 8, "Internacional x Vitória",
                    "linha 8: a linha não é o cabeçalho de uma rodada nem um jogo (mandante, X e visitante separados "
                    "por tabulações): \"Internacional x Vitória\"."},
        CasoArquivo{"rodada_cheia", 3, "Internacional\tX\tCeará\nCeará\tX\tGrêmio",
                    "linha 4: a 1ª rodada tem mais jogos do que os 2 que cabem nela."},
        CasoArquivo{"nao_e_texto", 5, "Ceará\tX\tGr\x01mio", "linha 5: o arquivo não é de texto (tem o byte de controle 0x01)."}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// UTF-8 with a byte order mark and LF (the bundled files test Latin-1 and CR LF), header
// lines whatever they say, blanks and spreadsheet tabs at the ends of lines.
TEST(LeituraDeResultado, AceitaUtf8ComBomECabecalhoQualquer)
{
    std::string bytes = "\xEF\xBB\xBFInv1:\t999\nFO_STAR:\t-1\nTempo:\tx\n\n";
    for (const auto& l : linhas_do_resultado) bytes += l + " \t\t\n\n";
    const Estado e = quatro_times();
    Tabela tabela;
    const Desfecho d = le_resultado(bytes, "r.txt", e.campeonato, tabela);
    ASSERT_TRUE(d.sucesso) << d.texto;
    EXPECT_EQ(tabela, e.execucao.tabela_inicial);
}

// A whole season in the result file's format is read into 2R rounds, and scored over it: the
// mirrored season of the four-team schedule, with every team's counts taken over six games.
TEST(LeituraDeResultado, TemporadaInteira)
{
    std::string bytes;
    for (const auto& l : linhas_da_temporada()) bytes += l + "\n";
    const Estado e = quatro_times();
    Tabela tabela;
    ASSERT_TRUE(le_resultado(bytes, "r.txt", e.campeonato, tabela).sucesso);
    EXPECT_EQ(tabela, tabela_da_temporada(e.execucao.tabela_inicial, Returno::espelhado));
    Contagens lidas;
    Criterios criterios;
    criterios.objetivos.fill(1);
    avalia_tabela_avulsa(campeonato_da_temporada(e.campeonato, Returno::espelhado), criterios, tabela, lidas);
    ReferenciaDaTemporada referencia(e.campeonato, Returno::espelhado);
    referencia.avalia(criterios, e.execucao.tabela_inicial);
    EXPECT_EQ(lidas, referencia.contagens());
    EXPECT_EQ(lidas[Inviabilidade::jogos_na_rodada], 2.0);  // Ceará twice in round 2, and in round 6
    EXPECT_EQ(lidas[Inviabilidade::mandos], 0.0);
}

}  // namespace
}  // namespace kelm::teste
