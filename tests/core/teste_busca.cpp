#include <algorithm>
#include <atomic>
#include <optional>
#include <set>

#include "search/vizinhancas.hpp"
#include "search/execucao.hpp"
#include "apoio.hpp"
#include "construtores.hpp"
#include "evaluation/objetivos.hpp"
#include "files/formatos.hpp"
#include "files/resultado.hpp"
#include "report/explicacao.hpp"
#include "search/comandos.hpp"
#include "search/execucoes.hpp"

namespace kelm::teste {
namespace {

Estado nordeste_preparado(std::array<bool, 9> objetivos = {true, true, true, true, true, true, true, true, true})
{
    Estado e = carrega_exemplo("nordeste.dat");
    define_objetivos(e.criterios, objetivos);
    EXPECT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
    e.execucao.gerador.semeia(333);
    return e;
}

constexpr std::array<bool, 9> so_distancia = {false, false, false, false, false, false, false, true, false};

TEST(CalculaT0, PotenciaDeUmPontoUmENaoMexeNaTabela)
{
    Estado e = nordeste_preparado();
    Execucao& x = e.execucao;
    const Tabela tabela = x.tabela_atual;
    const auto controle = x.matriz_controle;
    Gravador gravador;
    const RelogioSistema relogio;
    Marcha marcha{x.gerador, gravador, relogio};
    const double t0 = calcula_t0(e.campeonato, e.criterios, x, marcha, Fase::primeira, 3300);

    EXPECT_EQ(x.tabela_atual, tabela);
    EXPECT_EQ(x.matriz_controle, controle);
    EXPECT_EQ(marcha.fo_star, avalia(e));
    // Each unsuccessful round multiplies the candidate by 1.1, one step at a time.
    ASSERT_FALSE(gravador.candidatas.empty());
    double esperado = 2000000.0;
    for (const double c : gravador.candidatas) EXPECT_EQ(c, esperado *= 1.1);
    EXPECT_EQ(t0, esperado);

    // Total distance alone, weight 1: every trial is far below 2 000 000 at once.
    Estado f = nordeste_preparado(so_distancia);
    Gravador outro;
    Marcha outra{f.execucao.gerador, outro, relogio};
    EXPECT_EQ(calcula_t0(f.campeonato, f.criterios, f.execucao, outra, Fase::segunda, 4000), 2000000.0);
    EXPECT_TRUE(outro.candidatas.empty());
}

TEST(Recozimento, PrimeiraFaseComFoZeroNaoSorteiaNada)
{
    Estado e = nordeste_preparado({});  // no objective: FO is 0
    Execucao& x = e.execucao;
    const Gerador antes = x.gerador;
    const Tabela tabela = x.tabela_atual;
    Gravador gravador;
    const RelogioSistema relogio;
    Marcha marcha{x.gerador, gravador, relogio};
    const FimFase fim = recozimento(e.campeonato, e.criterios, x, marcha, {Fase::primeira, 3300, 2000000.0f, 0.95f, 50});
    EXPECT_TRUE(x.gerador == antes);
    EXPECT_TRUE(fim.concluida);
    EXPECT_FALSE(fim.aceitou);
    EXPECT_FALSE(fim.limite_atingido);
    // The schedule kept is the one it started from, with its own counts.
    Contagens contagens;
    avalia_tabela_avulsa(e.campeonato, e.criterios, tabela, contagens);
    EXPECT_EQ(marcha.melhor, contagens);
    EXPECT_EQ(x.tabela_atual, tabela);
    ASSERT_EQ(gravador.andamentos.size(), 1u);
    EXPECT_EQ(formata_numero(gravador.andamentos[0].percentual), "-1E-11");
    EXPECT_EQ(gravador.eventos, (std::vector<std::string>{"fase_iniciada 1"}));
}

TEST(Recozimento, ReaquecimentosAteOLimite)
{
    // Only the distance is minimised, so Inviabilidades 1, 2, 3 and 5 stay and the phase reheats.
    Estado e = nordeste_preparado(so_distancia);
    Execucao& x = e.execucao;
    Gravador gravador;
    const RelogioSistema relogio;
    Marcha marcha{x.gerador, gravador, relogio};
    const FimFase fim = recozimento(e.campeonato, e.criterios, x, marcha, {Fase::primeira, 3300, 2000000.0f, 0.95f, 2});
    EXPECT_TRUE(fim.limite_atingido);
    EXPECT_EQ(fim.reaquecimentos, 2);
    EXPECT_FALSE(fim.concluida);

    // The counts and FO handed back are those of the schedule the phase ended on.
    const Contagens melhor = marcha.melhor;
    EXPECT_EQ(calcula_fo(melhor, e.criterios), marcha.fo_star);
    avalia(e);
    EXPECT_EQ(x.inviabilidades, melhor);

    // 553 levels of 3300 trial moves before the first check, then 3400 after the first
    // reheat and 3500 after the second, whose first refresh reports 80 %.
    std::vector<long long> passos;
    for (std::size_t i = 1; i < gravador.andamentos.size(); ++i) {
        const Andamento& a = gravador.andamentos[i];
        passos.push_back(a.movimentos - gravador.andamentos[i - 1].movimentos);
        if (a.num_reaquecimentos != gravador.andamentos[i - 1].num_reaquecimentos) {
            EXPECT_NEAR(a.percentual, 80.0, 1e-9);
        }
    }
    EXPECT_EQ(std::count(passos.begin(), passos.end(), 3300), 553);
    EXPECT_EQ(passos.back(), 3500);
    EXPECT_EQ(std::count(gravador.eventos.begin(), gravador.eventos.end(), "bipe"), 2);  // two reheats
}

// Clocks that advance one second at every reading, passing midnight on the way.
class RelogioAndando : public Relogio {
public:
    mutable double hora = 1.0 - 5.0 / 86400.0;
    mutable double monotonico = 50.0;
    double hora_do_dia() const override
    {
        hora += 1.0 / 86400.0;
        if (hora >= 1.0) hora -= 1.0;
        return hora;
    }
    double segundos() const override { return monotonico += 1.0; }
};

// A whole run: its events in order, its elapsed time from the monotonic clock although it
// passes midnight, and the same result when it runs again (seeded anew, prepared from the
// same initial schedule).
TEST(ExecutaBusca, EventosTempoERepeticao)
{
    Estado e = carrega_exemplo("nordeste.dat");
    todos_objetivos(e);
    Gravador gravador;
    RelogioAndando relogio;
    OpcoesBusca op;
    op.relogio = &relogio;
    const ResumoBusca r = executa_busca(e, gravador, op);
    ASSERT_TRUE(r.executada);
    EXPECT_FALSE(r.interrompida);
    std::vector<std::string> sem_bipes;
    for (const auto& ev : gravador.eventos)
        if (ev != "bipe") sem_bipes.push_back(ev);
    EXPECT_EQ(sem_bipes, (std::vector<std::string>{
                             "execucao_iniciada", "calculo_t0_iniciado", "calculo_t0_concluido", "fase_iniciada 1",
                             "resultado_disponivel", "fase_concluida 1", "calculo_t0_iniciado", "calculo_t0_concluido",
                             "fase_iniciada 2", "resultado_disponivel", "fase_concluida 2", "mensagem"}));
    EXPECT_EQ(gravador.mensagens, std::vector<std::string>{"TERMINOU A EXECUÇÃO!"});

    EXPECT_NEAR(e.execucao.hora_inicio, 1.0 - 4.0 / 86400.0, 1e-12);
    double ultimo = 0.0;
    for (const auto& a : gravador.andamentos) {
        EXPECT_GT(a.tempo_execucao, ultimo);
        ultimo = a.tempo_execucao;
    }
    EXPECT_EQ(e.execucao.tempo_execucao, ultimo);

    const Execucao primeira = e.execucao;
    Observador nada;
    executa_busca(e, nada);
    EXPECT_EQ(e.execucao.tabela_melhor, primeira.tabela_melhor);
    EXPECT_EQ(e.execucao.inviabilidades_melhor, primeira.inviabilidades_melhor);
    EXPECT_EQ(e.execucao.fo_star, primeira.fo_star);
}

TEST(ExecutaBusca, ObjetivosPedidosUmaVez)
{
    Estado e = carrega_exemplo("nordeste.dat");
    e.criterios.pesos = {};  // FO is 0: the first phase ends at once
    Observador nada;
    OpcoesBusca op;
    int perguntas = 0;
    op.escolhe_objetivos = [&] {
        ++perguntas;
        define_objetivos(e.criterios, {true, true, true, true, true, true, true, true, true});
    };
    EXPECT_TRUE(executa_busca(e, nada, op).objetivos_na_execucao);
    EXPECT_FALSE(executa_busca(e, nada, op).objetivos_na_execucao);  // now confirmed: not asked again
    EXPECT_EQ(perguntas, 1);
    Estado vazio;
    const ResumoBusca sem_dados = executa_busca(vazio, nada);
    EXPECT_FALSE(sem_dados.executada);
    EXPECT_EQ(sem_dados.desfecho.texto, "Os dados não foram carregados.");
}

TEST(ExecutaBusca, LimiteAtingidoAvisaEPulaASegundaFase)
{
    Estado e = carrega_exemplo("nordeste.dat");
    define_objetivos(e.criterios, so_distancia);
    Gravador gravador;
    OpcoesBusca op;
    op.max_reaquecimentos = 0;
    const ResumoBusca r = executa_busca(e, gravador, op);
    EXPECT_TRUE(r.interrompida);
    EXPECT_EQ(gravador.mensagens,
              std::vector<std::string>{"A execução foi interrompida! O tempo de execução de terminou!"});
    for (const auto& a : gravador.andamentos) EXPECT_EQ(a.fase, 1);
    EXPECT_EQ(gravador.eventos[gravador.eventos.size() - 2], "bipe");
    EXPECT_TRUE(e.execucao.programa_executado);
    // Objectives 2 to 9 are on after the run, the first as chosen.
    EXPECT_EQ(e.criterios.objetivos, (std::array<std::int32_t, num_contagens>{0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
}

// A run of `base` with the options `op` alone, seeded with op.semente: the state it leaves and
// whether it stopped at its reheat bound.
struct Unica {
    Estado estado;
    bool interrompida = false;
};

// The single runs of `base` with the seeds from op.semente on, as many as op.execucoes.
std::vector<Unica> executa_unicas(const Estado& base, OpcoesBusca op)
{
    std::vector<Unica> unicas(static_cast<std::size_t>(op.execucoes), Unica{base});
    op.execucoes = 1;
    Observador nada;
    for (Unica& u : unicas) {
        u.interrompida = executa_busca(u.estado, nada, op).interrompida;
        ++op.semente;
    }
    return unicas;
}

// Several runs of `base` give the file and criteria of the single run `esperada`, which
// finished both phases, but for the time and the line naming its seed among theirs; the
// window sees one run, whose refreshes count the runs ended and show the kept FO, then the end
// as one run ends it.
void confere_varias(const Estado& base, const OpcoesBusca& op, const Unica& esperada)
{
    Estado e = base;
    Gravador gravador;
    ASSERT_TRUE(executa_busca(e, gravador, op).executada);
    Estado esperado = esperada.estado;
    e.execucao.tempo_execucao = esperado.execucao.tempo_execucao = 0.0;
    const std::string texto = texto_resultado(e.campeonato, e.execucao);
    const std::string linha = "Tempo:\t00:00:00\r\nSemente:\t" + std::to_string(esperado.execucao.procedencia.semente) +
                              "\ta melhor de " + std::to_string(op.execucoes) + " execu\xE7\xF5" "es, sementes " +
                              std::to_string(op.semente) + " a " +
                              std::to_string(op.semente + static_cast<std::uint32_t>(op.execucoes - 1)) + "\r\n";
    ASSERT_NE(texto.find(linha), std::string::npos) << texto.substr(0, 200);
    EXPECT_EQ(substitui(texto, linha, "Tempo:\t00:00:00\r\n"), texto_resultado(esperado.campeonato, esperado.execucao));
    EXPECT_EQ(e.criterios, esperado.criterios);

    ASSERT_FALSE(gravador.andamentos.empty());
    EXPECT_EQ(gravador.andamentos.back().execucoes_concluidas, op.execucoes);
    EXPECT_EQ(gravador.andamentos.back().fo_star, e.execucao.fo_star);
    const std::vector<std::string> fim(gravador.eventos.end() - 4, gravador.eventos.end());
    EXPECT_EQ(fim, (std::vector<std::string>{"resultado_disponivel", "bipe", "fase_concluida 2", "mensagem"}));
}

// A stop asked for at a temperature level: `fase` and `refresco` say at which refresh (0: before
// the run starts), of how many runs of which search.
struct CasoParada {
    const char* nome;
    TipoBusca busca;
    int fase;
    int refresco;
    int execucoes = 1;
};

// Asks the run to stop at a given refresh, and counts the refreshes that come after.
class PedeParada : public Gravador {
public:
    PedeParada(std::atomic<bool>& parar, const CasoParada& caso) : parar_(parar), caso_(caso) {}
    int depois = 0;

    void andamento(const Andamento& a) override
    {
        if (parar_)
            ++depois;
        else if (a.fase == caso_.fase && ++vistos_ == caso_.refresco)
            parar_ = true;
    }

private:
    std::atomic<bool>& parar_;
    const CasoParada& caso_;
    int vistos_ = 0;
};

// The pairs that meet in a schedule, venues aside.
std::multiset<std::pair<int, int>> pares(const Tabela& t)
{
    std::multiset<std::pair<int, int>> p;
    for (const Jogo* j = t.dados(); j != t.dados() + t.linhas() * t.colunas(); ++j)
        if (!j->vazio()) p.insert(std::minmax(j->mandante(), j->visitante()));
    return p;
}

void PrintTo(const CasoParada& c, std::ostream* os) { *os << c.nome; }

class Parada : public ::testing::TestWithParam<CasoParada> {};

// The run ends before the level after the stop was asked for, and its result is the schedule
// it held: every pair still meets once, and its counts and FO are those a full count gives.
TEST_P(Parada, TerminaNoNivelSeguinteComUmaTabelaValida)
{
    const CasoParada& c = GetParam();
    Estado e = c.busca == TipoBusca::compacta ? campeonato_sorteado(8, 7, 1) : carrega_exemplo("nordeste.dat");
    todos_objetivos(e);
    std::atomic<bool> parar{c.refresco == 0};
    PedeParada observador(parar, c);
    OpcoesBusca op;
    op.busca = c.busca;
    op.execucoes = c.execucoes;
    op.parar = &parar;
    const ResumoBusca r = executa_busca(e, observador, op);
    ASSERT_TRUE(r.executada);
    EXPECT_TRUE(r.parada);
    EXPECT_FALSE(r.interrompida);
    EXPECT_EQ(r.segunda_fase, c.fase == 2);
    EXPECT_EQ(r.movimentos == 0, c.refresco == 0);  // asked before, not a round of the estimate
    EXPECT_EQ(observador.depois > 0, c.execucoes > 1);  // of several runs, refreshes of them all
    EXPECT_TRUE(observador.mensagens.empty());

    const Execucao& x = e.execucao;
    EXPECT_TRUE(x.programa_executado);
    EXPECT_TRUE(x.procedencia.parada);
    EXPECT_EQ(pares(x.tabela_melhor), pares(x.tabela_partida));
    EXPECT_EQ(x.tabela_melhor == x.tabela_partida, c.refresco == 0);  // a level runs its moves after its refresh
    EXPECT_EQ(explica_tabela(e.campeonato, x.tabela_melhor).contagens, x.inviabilidades_melhor);
    Criterios no_fim = e.criterios;
    no_fim.objetivos = x.procedencia.objetivos_no_fim;
    EXPECT_EQ(calcula_fo(x.inviabilidades_melhor, no_fim), x.fo_star);
}

INSTANTIATE_TEST_SUITE_P(
    PadraoECompacta, Parada,
    ::testing::Values(CasoParada{"AntesDeComecar", TipoBusca::padrao, 1, 0}, CasoParada{"PrimeiroNivel", TipoBusca::padrao, 1, 1},
                      CasoParada{"PrimeiraFase", TipoBusca::padrao, 1, 40}, CasoParada{"SegundaFase", TipoBusca::padrao, 2, 3},
                      CasoParada{"CompactaPrimeiraFase", TipoBusca::compacta, 1, 2},
                      CasoParada{"CompactaSegundaFase", TipoBusca::compacta, 2, 3},
                      CasoParada{"VariasExecucoes", TipoBusca::compacta, 1, 0, 3}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// Several runs keep the best of the single runs with the seeds that follow, whatever order
// their threads end in: one that finished both phases before one that stopped at its reheat
// bound (whose FO counts only the first phase's objectives), then the lowest FO, then the
// first seed. Each case is decided by one of the three.
TEST(ExecutaBusca, VariasExecucoesDaoAMelhorDasExecucoesUnicas)
{
    OpcoesBusca op;
    op.busca = TipoBusca::compacta;
    op.execucoes = 2;
    op.semente = 4294967295u;  // the next seed is 0
    const Estado base = campeonato_sorteado(8, 7, 1);
    std::vector<Unica> u = executa_unicas(base, op);
    ASSERT_TRUE(!u[0].interrompida && !u[1].interrompida);
    ASSERT_LT(u[1].estado.execucao.fo_star, u[0].estado.execucao.fo_star);
    confere_varias(base, op, u[1]);

    // Only Inviabilidade 1 weighs, which no compact round robin has: every FO is 0.
    Estado empate = base;
    empate.criterios.pesos = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    op.execucoes = 3;
    op.semente = 10;
    u = executa_unicas(empate, op);
    ASSERT_EQ(u[2].estado.execucao.fo_star, 0.0);
    ASSERT_NE(u[2].estado.execucao.tabela_melhor, u[0].estado.execucao.tabela_melhor);
    confere_varias(empate, op, u[0]);

    // The first phase after the hard counts alone, no reheat allowed: the second seed's run
    // stops with a lower FO than the first's, whose second phase adds Inviabilidade 4.
    Estado limite = campeonato_sorteado(6, 6, 1);
    define_objetivos(limite.criterios, {true, true, true, false, true, false, false, false, false});
    limite.criterios.pesos[3] = 1000000000;
    op = OpcoesBusca{};
    op.max_reaquecimentos = 0;
    op.execucoes = 2;
    op.semente = 1;
    u = executa_unicas(limite, op);
    ASSERT_TRUE(!u[0].interrompida && u[1].interrompida);
    ASSERT_LT(u[1].estado.execucao.fo_star, u[0].estado.execucao.fo_star);
    confere_varias(limite, op, u[0]);
}

// The compact search starts only from complete rounds: with an odd number of teams one team
// rests in each round, never two; a team that plays twice, or rests where none may, is named.
TEST(TurnoDePartida, CompactaAceitaUmaFolgaPorRodadaComNumeroImparDeTimes)
{
    // Five teams: the six-team circle without team 6, whose opponent rests.
    const Estado e = campeonato(5, 5);
    const Tabela seis = turno_circular(6);
    Tabela cinco = aloca_matriz_jogos(5, e.campeonato.jogos_por_rodada());
    for (int r = 0; r < 5; ++r)
        for (int g = 0, k = 0; g < 3; ++g)
            if (seis[r][g].mandante() != 6 && seis[r][g].visitante() != 6) cinco[r][k++] = seis[r][g];
    Tabela turno;
    EXPECT_TRUE(turno_de_partida(e.campeonato, cinco, Returno::nenhum, TipoBusca::compacta, turno).sucesso);
    EXPECT_EQ(turno, cinco);

    Tabela duas_folgas = cinco;
    duas_folgas[2][1] = Jogo{};
    const Desfecho d = turno_de_partida(e.campeonato, duas_folgas, Returno::nenhum, TipoBusca::compacta, turno);
    EXPECT_FALSE(d.sucesso);
    EXPECT_NE(d.texto.find("na rodada 3 da tabela de partida T"), std::string::npos) << d.texto;
    EXPECT_NE(d.texto.find(" não joga."), std::string::npos) << d.texto;
    // The padrao search starts from any schedule.
    EXPECT_TRUE(turno_de_partida(e.campeonato, duas_folgas, Returno::nenhum, TipoBusca::padrao, turno).sucesso);
}

}  // namespace
}  // namespace kelm::teste
