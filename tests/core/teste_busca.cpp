#include <cmath>

#include "apoio.hpp"
#include "evaluation/avaliacao.hpp"
#include "evaluation/objetivos.hpp"
#include "search/busca.hpp"
#include "search/formatos.hpp"

namespace kelm::teste {
namespace {

TEST(Aceitacao, MelhoraOuEmpateSemSorteio)
{
    Gerador g;
    const Gerador antes = g;
    EXPECT_TRUE(aceita_movimento(-5.0, 10.0, g));
    EXPECT_TRUE(aceita_movimento(0.0, 10.0, g));
    EXPECT_TRUE(g == antes);
}

TEST(Aceitacao, RegraLinearComUmSorteio)
{
    Gerador g;
    Gerador espelho;
    for (int i = 0; i < 2000; ++i) {
        const double r = espelho.aleatorio_real(0.0, 1.0);
        // Worse by half the temperature: accepted exactly when the draw is below 0.5.
        EXPECT_EQ(aceita_movimento(50.0, 100.0, g), r < 0.5);
    }
    for (int i = 0; i < 200; ++i) {
        EXPECT_FALSE(aceita_movimento(100.0, 100.0, g));  // worse by the temperature or more
        EXPECT_FALSE(aceita_movimento(1e9, 100.0, g));
    }
    espelho = Gerador{};
    for (int i = 0; i < 2400; ++i) espelho.sorteia();
    EXPECT_TRUE(g == espelho);  // one draw per worsening trial
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

Estado nordeste_pronto(bool todos = true)
{
    Estado e = carrega_exemplo("nordeste.dat");
    if (todos) todos_objetivos(e);
    return e;
}

TEST(CalculaT0, PotenciaDeUmPontoUmENaoMexeNaTabela)
{
    Estado e = nordeste_pronto();
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    e.primeira_fase = true;
    e.gerador.semeia(333);
    const Tabela tabela = e.tabela_atual;
    const auto controle = e.matriz_controle;
    Gravador gravador;
    const double t0 = calcula_t0(e, gravador, 3300);

    EXPECT_EQ(e.tabela_atual, tabela);
    EXPECT_EQ(e.matriz_controle, controle);
    EXPECT_EQ(e.fo_star, avalia_tabela(e, e.tabela_atual));
    // Each unsuccessful round multiplies the candidate by 1.1, one step at a time.
    ASSERT_FALSE(gravador.candidatas.empty());
    double esperado = 2000000.0;
    for (const double c : gravador.candidatas) {
        esperado *= 1.1;
        EXPECT_EQ(c, esperado);
    }
    EXPECT_EQ(t0, esperado);
    EXPECT_EQ(e.movimentos_avaliados, 3300LL * static_cast<long long>(gravador.candidatas.size() + 1));
    const std::vector<std::string> eventos = {"calculo_t0_iniciado", "calculo_t0_concluido"};
    EXPECT_EQ(gravador.eventos, eventos);
}

TEST(CalculaT0, PrimeiraRodadaBastaDaDoisMilhoes)
{
    Estado e = nordeste_pronto(false);
    e.config.objetivos[7] = 1;  // total distance only, weight 1: every trial is far below 2 000 000
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    e.primeira_fase = true;
    Gravador gravador;
    EXPECT_EQ(calcula_t0(e, gravador, 4000), 2000000.0);
    EXPECT_TRUE(gravador.candidatas.empty());
}

TEST(CalculaT0, AsDuasAvaliacoesDaoOMesmoT0)
{
    for (const bool primeira : {true, false}) {
        double resultados[2];
        for (const ModoAvaliacao modo : {ModoAvaliacao::completa, ModoAvaliacao::incremental}) {
            Estado e = nordeste_pronto();
            ASSERT_TRUE(prepara_execucao(e).sucesso);
            e.primeira_fase = primeira;
            e.gerador.semeia(333);
            Observador nada;
            OpcoesBusca op;
            op.avaliacao = modo;
            resultados[modo == ModoAvaliacao::completa ? 0 : 1] = calcula_t0(e, nada, 3300, op);
        }
        EXPECT_EQ(resultados[0], resultados[1]);
    }
}

TEST(Recozimento, PrimeiraFaseComFoZeroNaoSorteiaNada)
{
    Estado e = nordeste_pronto(false);  // no objective: FO is 0
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    e.primeira_fase = true;
    e.gerador.semeia(333);
    const Gerador antes = e.gerador;
    Gravador gravador;
    const FimFase fim = recozimento(e, gravador, 3300, 2000000.0f, 0.95f);
    EXPECT_TRUE(e.gerador == antes);
    EXPECT_TRUE(e.primeira_fase_concluida);
    EXPECT_TRUE(e.programa_executado);
    EXPECT_FALSE(fim.limite_atingido);
    EXPECT_EQ(e.inviabilidades_melhor, Contagens{});
    for (int r = 0; r < e.num_rodadas; ++r)
        for (int g = 0; g < 3; ++g) EXPECT_TRUE(e.tabela_melhor[r][g].vazio());
    ASSERT_EQ(gravador.andamentos.size(), 1u);
    EXPECT_EQ(formata_numero(gravador.andamentos[0].percentual), "-1E-11");
    const std::vector<std::string> eventos = {"fase_iniciada 1", "resultado_disponivel", "bipe", "fase_concluida 1"};
    EXPECT_EQ(gravador.eventos, eventos);
}

TEST(Recozimento, LimiteDeReaquecimentosEncerraAPrimeiraFase)
{
    // Only the distance is minimised, so Inviabilidades 1, 2, 3 and 5 stay and the phase reheats.
    Estado e = nordeste_pronto(false);
    e.config.objetivos[7] = 1;
    ASSERT_TRUE(prepara_execucao(e).sucesso);
    e.primeira_fase = true;
    e.gerador.semeia(333);
    Gravador gravador;
    OpcoesBusca op;
    op.max_reaquecimentos = 2;
    const FimFase fim = recozimento(e, gravador, 3300, 2000000.0f, 0.95f, op);
    EXPECT_TRUE(fim.limite_atingido);
    EXPECT_EQ(fim.reaquecimentos, 2);
    EXPECT_FALSE(e.primeira_fase_concluida);
    EXPECT_TRUE(e.programa_executado);
    const Contagens& m = e.inviabilidades_melhor;
    EXPECT_GT(m[Inviabilidade::jogos_na_rodada] + m[Inviabilidade::inicio] + m[Inviabilidade::fim] + m[Inviabilidade::mesmo_estado], 0);

    // The kept schedule and counts belong together, and are the ones the phase ended on.
    EXPECT_EQ(e.tabela_melhor, e.tabela_atual);
    Estado copia = e;
    copia.matriz_controle.zera();
    monta_matriz_controle(copia, copia.tabela_melhor);
    avalia_tabela(copia, copia.tabela_melhor);
    EXPECT_EQ(copia.inviabilidades, e.inviabilidades_melhor);
    EXPECT_EQ(calcula_fo(copia.inviabilidades, e.config), e.fo_star);

    int bipes = 0;
    int reaquecimentos = 0;
    for (const auto& ev : gravador.eventos) {
        bipes += ev == "bipe";
        reaquecimentos += ev.rfind("reaquecimento", 0) == 0;
    }
    EXPECT_EQ(reaquecimentos, 2);
    EXPECT_EQ(bipes, 3);  // one per reheat and the one of the phase's end

    // Levels of 3300 trial moves, then 3400 after the first reheat, 3500 after the second;
    // the refresh right after a reheat reports 80 % (the temperature restarts at 0.2 T0).
    std::vector<long long> passos;
    int apos_reaquecer = 0;
    for (std::size_t i = 1; i < gravador.andamentos.size(); ++i) {
        passos.push_back(gravador.andamentos[i].movimentos - gravador.andamentos[i - 1].movimentos);
        if (gravador.andamentos[i].num_reaquecimentos != gravador.andamentos[i - 1].num_reaquecimentos) {
            ++apos_reaquecer;
            EXPECT_NEAR(gravador.andamentos[i].percentual, 80.0, 1e-9);
        }
    }
    EXPECT_EQ(apos_reaquecer, 2);
    EXPECT_EQ(passos.front(), 3300);
    EXPECT_EQ(passos.back(), 3500);
    EXPECT_EQ(formata_numero(gravador.andamentos[1].percentual), "5.0000011920829");
    // 553 levels before the first check for reheating.
    EXPECT_EQ(std::count(passos.begin(), passos.end(), 3300), 553);
}

TEST(ExecutaBusca, DuasExecucoesIguaisDaoOMesmoResultado)
{
    Estado a = nordeste_pronto();
    Estado b = nordeste_pronto();
    Observador nada;
    const ResumoBusca ra = executa_busca(a, nada);
    const ResumoBusca rb = executa_busca(b, nada);
    ASSERT_TRUE(ra.executada);
    EXPECT_EQ(a.tabela_melhor, b.tabela_melhor);
    EXPECT_EQ(a.inviabilidades_melhor, b.inviabilidades_melhor);
    EXPECT_EQ(a.fo_star, b.fo_star);
    EXPECT_EQ(ra.movimentos, rb.movimentos);

    // Again on the same state: seeded anew and prepared from the same initial schedule.
    const Tabela primeira = a.tabela_melhor;
    executa_busca(a, nada);
    EXPECT_EQ(a.tabela_melhor, primeira);
}

TEST(ExecutaBusca, AsDuasAvaliacoesDaoOMesmoResultado)
{
    Estado a = nordeste_pronto();
    Estado b = nordeste_pronto();
    Observador nada;
    OpcoesBusca completa;
    completa.avaliacao = ModoAvaliacao::completa;
    executa_busca(a, nada, completa);
    executa_busca(b, nada);
    EXPECT_EQ(a.tabela_melhor, b.tabela_melhor);
    EXPECT_EQ(a.inviabilidades_melhor, b.inviabilidades_melhor);
    EXPECT_EQ(a.fo_star, b.fo_star);
}

TEST(ExecutaBusca, ObjetivosDoisANoveFicamLigados)
{
    Estado e = nordeste_pronto(false);
    define_objetivos(e.config, {true, true, true, false, true, false, false, true, false});
    Observador nada;
    executa_busca(e, nada);
    const std::array<std::int32_t, 9> ligados = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(e.config.objetivos, ligados);
    const Tabela primeira = e.tabela_melhor;
    executa_busca(e, nada);
    EXPECT_NE(e.tabela_melhor, primeira);  // the second run's first phase already has them all
}

TEST(ExecutaBusca, SequenciaDeEventosESegundaFaseCom4000)
{
    Estado e = nordeste_pronto();
    Gravador gravador;
    RelogioAndando relogio;
    OpcoesBusca op;
    op.relogio = &relogio;
    const ResumoBusca r = executa_busca(e, gravador, op);
    ASSERT_TRUE(r.executada);
    EXPECT_FALSE(r.objetivos_na_execucao);
    EXPECT_FALSE(r.interrompida);
    EXPECT_TRUE(e.primeira_fase_concluida);
    EXPECT_FALSE(e.primeira_fase);

    std::vector<std::string> sem_bipes;
    for (const auto& ev : gravador.eventos)
        if (ev != "bipe") sem_bipes.push_back(ev);
    const std::vector<std::string> esperado = {
        "execucao_iniciada", "calculo_t0_iniciado", "calculo_t0_concluido", "fase_iniciada 1", "resultado_disponivel",
        "fase_concluida 1",  "calculo_t0_iniciado", "calculo_t0_concluido", "fase_iniciada 2", "resultado_disponivel",
        "fase_concluida 2",  "mensagem"};
    EXPECT_EQ(sem_bipes, esperado);
    EXPECT_EQ(gravador.mensagens, std::vector<std::string>{"TERMINOU A EXECUÇÃO!"});

    // Second phase: levels of 4000 trial moves from its T0 until the temperature is no longer
    // above 1e-11, the first refresh at -1E-11.
    long long niveis_segunda = 0;
    long long esperados = 0;
    const Andamento* anterior = nullptr;
    for (const auto& a : gravador.andamentos) {
        if (a.fase == 2) {
            if (anterior != nullptr && anterior->fase == 2) {
                EXPECT_EQ(a.movimentos - anterior->movimentos, 4000);
            } else {
                EXPECT_EQ(formata_numero(a.percentual), "-1E-11");
                for (double t = a.temperatura; t > 1e-11; t = static_cast<double>(0.95f) * t) ++esperados;
            }
            ++niveis_segunda;
        }
        anterior = &a;
    }
    EXPECT_EQ(niveis_segunda, esperados);
    EXPECT_GT(esperados, 777);  // its T0 was raised above 2 000 000

    // Times: elapsed time from the monotonic clock, even though the run passed midnight.
    EXPECT_NEAR(e.hora_inicio, 1.0 - 4.0 / 86400.0, 1e-12);
    double ultimo = 0.0;
    for (const auto& a : gravador.andamentos) {
        EXPECT_GT(a.tempo_execucao, ultimo);
        ultimo = a.tempo_execucao;
        EXPECT_EQ(a.hora_inicio, e.hora_inicio);
    }
    EXPECT_EQ(e.tempo_execucao, ultimo);
    EXPECT_EQ(r.movimentos, e.movimentos_avaliados);
}

TEST(ExecutaBusca, ObjetivosEscolhidosNaExecucaoDao3300NaSegundaFase)
{
    Estado e = nordeste_pronto(false);
    Gravador gravador;
    OpcoesBusca op;
    int perguntas = 0;
    op.escolhe_objetivos = [&] {
        ++perguntas;
        define_objetivos(e.config, {true, true, true, true, true, true, true, true, true});
    };
    const ResumoBusca r = executa_busca(e, gravador, op);
    EXPECT_EQ(perguntas, 1);
    EXPECT_TRUE(r.objetivos_na_execucao);
    long long passo = 0;
    for (std::size_t i = 1; i < gravador.andamentos.size(); ++i)
        if (gravador.andamentos[i].fase == 2 && gravador.andamentos[i - 1].fase == 2)
            passo = gravador.andamentos[i].movimentos - gravador.andamentos[i - 1].movimentos;
    EXPECT_EQ(passo, 3300);

    // With the objectives now confirmed, the next run does not ask.
    executa_busca(e, gravador, op);
    EXPECT_EQ(perguntas, 1);
}

TEST(ExecutaBusca, EscolhaCanceladaNaoApagaOResultadoAnterior)
{
    Estado e = nordeste_pronto();
    Observador nada;
    ASSERT_TRUE(executa_busca(e, nada).executada);
    const Tabela resultado = e.tabela_melhor;
    const double fo = e.fo_star;

    e.config.objetivos_escolhidos = false;  // as after Cancelar in the objectives dialog
    Gravador gravador;
    OpcoesBusca op;
    op.escolhe_objetivos = [] {};
    const ResumoBusca r = executa_busca(e, gravador, op);
    EXPECT_FALSE(r.executada);
    EXPECT_TRUE(r.desfecho.sucesso);
    EXPECT_EQ(e.tabela_melhor, resultado);
    EXPECT_EQ(e.fo_star, fo);
    EXPECT_TRUE(e.programa_executado);
    EXPECT_EQ(gravador.eventos, std::vector<std::string>{"execucao_iniciada"});
    Gerador semeado;
    semeado.semeia(333);
    EXPECT_TRUE(e.gerador == semeado);

    // Without anyone to ask, the run is refused.
    const ResumoBusca sem = executa_busca(e, gravador);
    EXPECT_FALSE(sem.executada);
}

TEST(ExecutaBusca, SemDadosRecusa)
{
    Estado e;
    Observador nada;
    const ResumoBusca r = executa_busca(e, nada);
    EXPECT_FALSE(r.executada);
    EXPECT_EQ(r.desfecho.texto, "Os dados não foram carregados.");
}

TEST(ExecutaBusca, LimiteAtingidoAvisaEPulaASegundaFase)
{
    Estado e = nordeste_pronto(false);
    define_objetivos(e.config, {false, false, false, false, false, false, false, true, false});
    Gravador gravador;
    OpcoesBusca op;
    op.max_reaquecimentos = 0;
    const ResumoBusca r = executa_busca(e, gravador, op);
    EXPECT_TRUE(r.interrompida);
    EXPECT_EQ(r.reaquecimentos, 0);
    EXPECT_EQ(gravador.mensagens,
              std::vector<std::string>{"A execução foi interrompida! O tempo de execução de terminou!"});
    for (const auto& a : gravador.andamentos) EXPECT_EQ(a.fase, 1);
    EXPECT_EQ(gravador.eventos.back(), "mensagem");
    EXPECT_EQ(gravador.eventos[gravador.eventos.size() - 2], "bipe");
    EXPECT_TRUE(e.programa_executado);
    EXPECT_EQ(e.tabela_melhor, e.tabela_atual);
}

}  // namespace
}  // namespace kelm::teste
