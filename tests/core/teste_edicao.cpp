// The planner's hand: a schedule opened from a file, changed by hand, re-scored after each
// change by the compact neighbourhood as a full count scores it, every change undone exactly.

#include <string>

#include "apoio.hpp"
#include "apoio_lote.hpp"
#include "evaluation/requisitos.hpp"
#include "files/requisitos.hpp"
#include "files/resultado.hpp"
#include "files/tabela_jogos.hpp"
#include "model/temporada.hpp"
#include "neighbourhoods/compacta/tabela_compacta.hpp"
#include "search/edicao.hpp"

namespace kelm::teste {
namespace {

// The counts of the whole schedule shown, counted from scratch.
Contagens contagem_completa(const Campeonato& c, const Criterios& k, const Tabela& turno, Returno returno,
                            const Requisitos* requisitos, double& fo)
{
    const Temporada t = temporada_de(c, turno, returno);
    Contagens contagens;
    avalia_tabela_avulsa(t.campeonato, k, t.tabela, contagens);
    if (requisitos != nullptr) contagens[Inviabilidade::requisitos] = static_cast<double>(conta_requisitos(*requisitos, c.num_times, t.tabela));
    fo = calcula_fo(contagens, k);
    return contagens;
}

// A change drawn among those the editor takes.
MudancaManual sorteia_mudanca(const EdicaoTabela& edicao, const Campeonato& c, int rodadas, Gerador& g)
{
    for (;;) {
        MudancaManual m;
        m.tipo = static_cast<MudancaManual::Tipo>(g.sorteia_inteiro(4));
        switch (m.tipo) {
        case MudancaManual::Tipo::troca_rodadas:
            m.a = g.sorteia_inteiro(rodadas);
            m.b = g.sorteia_inteiro(rodadas);
            break;
        case MudancaManual::Tipo::inverte_mando:
            m.a = g.sorteia_inteiro(rodadas);
            m.b = g.sorteia_inteiro(c.jogos_por_rodada());
            break;
        case MudancaManual::Tipo::troca_times:
            m.a = 1 + g.sorteia_inteiro(c.num_times);
            m.b = 1 + g.sorteia_inteiro(c.num_times);
            break;
        case MudancaManual::Tipo::move_jogo:
            m.a = g.sorteia_inteiro(rodadas);
            m.b = g.sorteia_inteiro(rodadas);
            m.c = 1 + g.sorteia_inteiro(c.num_times);
            break;
        }
        if (edicao.valida(m)) return m;
    }
}

struct CasoEdicao {
    int times;
    Returno returno;
};

class Edicao : public ::testing::TestWithParam<CasoEdicao> {};

// Random changes by hand, with requirements in force: after each one the counts and FO are
// those of a full count; the preview names exactly the games that change; the same change made
// again puts the schedule and the counts back; undoing every change in turn gives back the
// schedule opened.
TEST_P(Edicao, CadaMudancaReavaliadaComoAContagemCompletaEDesfeitaExatamente)
{
    const auto [n, returno] = GetParam();
    Estado e = campeonato(n, rodadas_preenchidas(n));
    sorteia_distancias(e.campeonato, 7);
    const Campeonato& c = e.campeonato;
    todos_objetivos(e);
    Gerador g;
    g.semeia(static_cast<std::uint32_t>(n));
    Tabela turno = aloca_matriz_jogos(c.num_rodadas, c.jogos_por_rodada());
    gera_tabela_compacta(n, g, turno);
    const Tabela aberta = turno;
    const int rodadas = rodadas_da_execucao(c.num_rodadas, returno);
    Requisitos requisitos;
    ASSERT_TRUE(le_requisitos("casa T1 rodadas 2-4\njogo T2 T3 rodadas " + std::to_string(rodadas) +
                                  "\nsem-encontro T4 T5 rodadas 1-3\nmaximo 1 T6 T7 T8\n",
                              "r.txt", c, requisitos)
                    .sucesso);

    ASSERT_TRUE(EdicaoTabela::pode_editar(c, turno).sucesso);
    EdicaoTabela edicao(c, e.criterios, returno, &requisitos, turno);
    std::vector<MudancaManual> feitas;
    std::size_t mudancas = 0;
    for (int k = 0; k < 1500; ++k) {
        const MudancaManual m = sorteia_mudanca(edicao, c, rodadas, g);
        const Tabela antes = tabela_da_temporada(turno, returno);
        const Contagens contagens_antes = edicao.contagens();
        const auto previa = edicao.previa(m);
        const Tabela prevista = edicao.depois(m);
        const EfeitoMudanca efeito = edicao.aplica(m);
        const Tabela depois = tabela_da_temporada(turno, returno);
        ASSERT_EQ(prevista, depois);
        std::size_t mudaram = 0;
        for (int s = 0; s < depois.linhas(); ++s)
            for (int v = 0; v < depois.colunas(); ++v)
                if (!(antes[s][v] == depois[s][v])) {
                    ++mudaram;
                    ASSERT_NE(std::find(previa.begin(), previa.end(), PosicaoJogo{s, v}), previa.end());
                }
        ASSERT_EQ(mudaram, previa.size());
        mudancas += mudaram;
        ASSERT_EQ(static_cast<std::size_t>(efeito.jogos_mudaram_de_rodada + efeito.mandos_invertidos), mudaram);
        double fo = 0.0;
        ASSERT_EQ(edicao.contagens(), contagem_completa(c, e.criterios, turno, returno, &requisitos, fo)) << k;
        ASSERT_EQ(edicao.fo(), fo);
        ASSERT_EQ(efeito.antes, contagens_antes);
        ASSERT_EQ(efeito.depois, edicao.contagens());
        if (k % 7 == 0) {
            // Undone at once: the schedule and its counts as they were.
            edicao.aplica(m);
            ASSERT_EQ(tabela_da_temporada(turno, returno), antes);
            ASSERT_EQ(edicao.contagens(), contagens_antes);
        } else {
            feitas.push_back(m);
        }
    }
    EXPECT_GT(mudancas, 1500u);
    for (auto m = feitas.rbegin(); m != feitas.rend(); ++m) edicao.aplica(*m);
    EXPECT_EQ(turno, aberta);
    double fo = 0.0;
    EXPECT_EQ(edicao.contagens(), contagem_completa(c, e.criterios, aberta, returno, &requisitos, fo));
}

INSTANTIATE_TEST_SUITE_P(Temporadas, Edicao,
                         ::testing::Values(CasoEdicao{20, Returno::espelhado}, CasoEdicao{35, Returno::frances},
                                           CasoEdicao{20, Returno::nenhum}, CasoEdicao{9, Returno::frances}),
                         [](const auto& caso) {
                             return std::to_string(caso.param.times) + "_times_" +
                                    (caso.param.returno == Returno::nenhum     ? "turno"
                                     : caso.param.returno == Returno::espelhado ? "espelhado"
                                                                                 : "frances");
                         });

TEST(Edicao, SoUmaTabelaDeRodadasCompletasPodeSerMudada)
{
    Estado e = campeonato_sorteado(6, 10, 3);
    EXPECT_FALSE(EdicaoTabela::pode_editar(e.campeonato, e.execucao.tabela_inicial).sucesso);
    Estado f = campeonato(6, 5);
    EXPECT_FALSE(EdicaoTabela::pode_editar(f.campeonato, f.execucao.tabela_inicial).sucesso);  // empty slots
    EXPECT_TRUE(EdicaoTabela::pode_editar(f.campeonato, turno_circular(6)).sucesso);
}

TEST(Edicao, OEfeitoDizOQueMudou)
{
    EfeitoMudanca efeito;
    efeito.antes[Inviabilidade::fora_seguidos] = 3;
    efeito.depois[Inviabilidade::fora_seguidos] = 4;
    efeito.antes[Inviabilidade::requisitos] = 1;
    efeito.fo_antes = 5120340;
    efeito.fo_depois = 5000000;
    efeito.jogos_mudaram_de_rodada = 2;
    EXPECT_EQ(descreve_efeito(efeito, num_inviabilidades),
              "FO \u2212120 340; Inviabilidade 6: 3 \u2192 4; 2 jogos mudaram de rodada");
    efeito.fo_depois = efeito.fo_antes + 5000;
    efeito.jogos_mudaram_de_rodada = 0;
    efeito.mandos_invertidos = 1;
    EXPECT_EQ(descreve_efeito(efeito, num_inviabilidades + 1),
              "FO +5 000; Inviabilidade 6: 3 \u2192 4; Inviabilidade 10: 1 \u2192 0; 1 mando invertido");
}

// ---- Opening a schedule ---------------------------------------------------------------

// The plain table of a schedule: "rodada;mandante;visitante", with a header, one game a line.
std::string tabela_simples(const Campeonato& c, const Tabela& t, char sep = ';', const char* fim = "\n")
{
    std::string texto = std::string("rodada") + sep + "mandante" + sep + "visitante" + fim;
    for (int s = 0; s < t.linhas(); ++s)
        for (int g = 0; g < t.colunas(); ++g)
            if (const Jogo j = t[s][g]; !j.vazio())
                texto += std::to_string(s + 1) + sep + c.nomes_times[static_cast<std::size_t>(j.mandante())] + sep +
                         c.nomes_times[static_cast<std::size_t>(j.visitante())] + fim;
    return texto;
}

// A season opened from a plain table or from a result file: its scheme found, kept as its
// turno when it follows one, whole when not, and scored as the result file of a run scores it.
TEST(AbreTabela, TemporadaSeguindoUmEsquemaOuLivre)
{
    Estado e = carrega_exemplo("brasileirao_2023_turno.dat");
    const Campeonato& c = e.campeonato;
    const Tabela turno = turno_circular(20);
    PastaTemporaria pasta;
    for (const Returno returno : {Returno::nenhum, Returno::espelhado, Returno::frances}) {
        const Tabela temporada = tabela_da_temporada(turno, returno);
        const auto csv = pasta.escreve("t.csv", tabela_simples(c, temporada, returno == Returno::frances ? '\t' : ';', "\r\n"));
        Execucao x;
        const Desfecho d = abre_tabela(c, e.criterios, e.requisitos, csv, x);
        ASSERT_TRUE(d.sucesso) << d.texto;
        EXPECT_EQ(x.procedencia.returno, returno);
        EXPECT_EQ(x.tabela_melhor, turno);
        EXPECT_TRUE(ha_resultado(c, x));
        Contagens contagens;
        Criterios todos = e.criterios;
        todos.objetivos.fill(1);
        const Temporada t = temporada_de(c, turno, returno);
        EXPECT_EQ(x.fo_star, avalia_tabela_avulsa(t.campeonato, todos, t.tabela, contagens));
        EXPECT_EQ(x.inviabilidades_melhor, contagens);
        // The result file written from it is read back to the same schedule.
        const auto salvo = pasta.escreve("r.txt", texto_resultado(c, x));
        Execucao y;
        const Desfecho lido = abre_tabela(c, e.criterios, e.requisitos, salvo, y);
        ASSERT_TRUE(lido.sucesso) << lido.texto;
        EXPECT_EQ(y.tabela_melhor, x.tabela_melhor);
        EXPECT_EQ(y.inviabilidades_melhor, x.inviabilidades_melhor);
    }
    // A season whose returno follows no scheme: its last two rounds exchanged.
    Tabela livre = tabela_da_temporada(turno, Returno::espelhado);
    for (int g = 0; g < livre.colunas(); ++g) std::swap(livre[36][g], livre[37][g]);
    Execucao x;
    const Desfecho d = abre_tabela(c, e.criterios, e.requisitos, pasta.escreve("l.csv", tabela_simples(c, livre, ',')), x);
    ASSERT_TRUE(d.sucesso);
    EXPECT_NE(d.texto.find("turno e returno livre"), std::string::npos) << d.texto;
    EXPECT_EQ(x.procedencia.returno, Returno::nenhum);
    EXPECT_EQ(x.tabela_melhor, livre);
    EXPECT_TRUE(ha_resultado(c, x));
    EXPECT_EQ(temporada_de(c, x.tabela_melhor, Returno::nenhum).tabela, livre);
}

// ---- Pins --------------------------------------------------------------------------------

// Pins made in the window are requirements: saved after the file's own lines (its comments
// kept), read back as pins with the same lines, a pin of the file released left out; a run of
// kelm-lote under them keeps every pinned game in its round.
TEST(Pinos, SalvosLidosDeVoltaEMantidosNumaExecucao)
{
    Estado e = carrega_exemplo("brasileirao_2023_turno.dat");
    const Campeonato& c = e.campeonato;
    const std::string arquivo = "# clássicos\r\nmaximo 1 Flamengo Fluminense\r\njogo Grêmio Internacional rodadas 7 # fixado\r\n";
    Requisitos r;
    ASSERT_TRUE(le_requisitos(arquivo, "r.txt", c, r).sucesso);
    ASSERT_EQ(r.itens.size(), 2u);
    EXPECT_TRUE(r.itens[1].fixado);
    const auto time = [&](const char* nome) {
        return static_cast<int>(std::find(c.nomes_times.begin(), c.nomes_times.end(), nome) - c.nomes_times.begin());
    };
    fixa_jogo(r, time("Palmeiras"), time("Santos"), 3);
    fixa_jogo(r, time("Bahia"), time("Vasco"), 22);
    fixa_jogo(r, time("Palmeiras"), time("Santos"), 3);  // once only
    EXPECT_EQ(r.itens.size(), 4u);
    EXPECT_EQ(r.itens[2].linha, 5);  // after the file's three lines and the heading
    EXPECT_EQ(r.itens[3].linha, 6);
    solta_jogo(r, time("Grêmio"), time("Internacional"), 7);
    EXPECT_FALSE(esta_fixado(r, time("Grêmio"), time("Internacional"), 7));
    EXPECT_TRUE(esta_fixado(r, time("Bahia"), time("Vasco"), 22));

    const std::string salvo = texto_requisitos(r, c);
    EXPECT_EQ(salvo, "# clássicos\r\nmaximo 1 Flamengo Fluminense\r\n"
                     "# Jogos fixados na janela do KELM: cada um na sua rodada, com o seu mando.\n"
                     "jogo Palmeiras Santos rodadas 3 # fixado\njogo Bahia Vasco rodadas 22 # fixado\n");
    Requisitos relidos;
    ASSERT_TRUE(le_requisitos(salvo, "r.txt", c, relidos).sucesso);
    ASSERT_EQ(relidos.itens.size(), 3u);
    EXPECT_TRUE(relidos.itens[1].fixado && relidos.itens[2].fixado);
    EXPECT_EQ(relidos.itens[1].linha, 4);
    EXPECT_EQ(texto_requisitos(relidos, c), salvo);

    PastaTemporaria pasta;
    const auto requisitos = pasta.escreve("r.txt", salvo);
    const auto saida = pasta.caminho() / "t.txt";
    const Chamada x = lote({exemplo("brasileirao_2023_turno.dat").string(), "--busca", "compacta", "--returno", "espelhado",
                            "--requisitos", requisitos.string(), "--silencioso", "-o", saida.string()});
    ASSERT_EQ(x.status, 0) << x.erros;
    Tabela t;
    ASSERT_TRUE(carrega_tabela(c, saida, t).sucesso);
    EXPECT_EQ(conta_requisitos(relidos, c.num_times, t), 0);
}

}  // namespace
}  // namespace kelm::teste
