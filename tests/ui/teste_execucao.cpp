// A whole run from the window on the 6-team championship (a copy of its three files), saved
// as kelm-lote saves it; then saving into a missing folder and, through the table of hostile
// paths, over a file in use, a run whose objectives choice is cancelled, which keeps that result, and the
// coin after a compact run. The functions run in order on one window.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <QLabel>
#include <QRegularExpression>
#include <QTableWidget>

#include "apoio_ui.hpp"
#include "caminhos_hostis.hpp"
#include "evaluation/avaliacao.hpp"
#include "files/resultado.hpp"
#include "report/explicacao.hpp"
#include "search/busca.hpp"
#include "ui/form_economia.hpp"
#include "ui/regional.hpp"

using namespace kelm;
using namespace kelm::teste;

namespace {

// The result file without its "Tempo" line, which records how long the run took.
QByteArray sem_tempo(QByteArray bytes)
{
    const qsizetype inicio = bytes.indexOf("Tempo:\t");
    if (inicio < 0) return bytes;
    return bytes.remove(inicio, bytes.indexOf("\r\n", inicio) + 2 - inicio);
}

// The result file kelm-lote writes for the 6-team championship (every objective, by
// default), or an empty text when it fails.
QByteArray resultado_do_lote(const QString& destino)
{
    QProcess lote;
    lote.start(QStringLiteral(KELM_LOTE),
               {QStringLiteral("--silencioso"), QStringLiteral("-o"), destino, exemplo("nordeste.dat")});
    if (!lote.waitForFinished(60000) || lote.exitStatus() != QProcess::NormalExit || lote.exitCode() != 0) return {};
    return le_arquivo(destino);
}

}  // namespace

class TesteExecucao : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Bancada> b;
    QTemporaryDir pasta;
    QByteArray salvo;  // the first run's result file

    // Saves through `botao_salvar` as `nome` with the filter `filtro`; the file's bytes.
    QByteArray salva(const QString& nome, int filtro)
    {
        b->arquivo_a_salvar = ArquivoEscolhido{pasta.filePath(nome), filtro};
        b->clica("botao_salvar");
        return le_arquivo(pasta.filePath(nome) + (filtro == 1 ? QStringLiteral(".txt") : QStringLiteral(".xls")));
    }

private slots:
    void initTestCase()
    {
        for (const char* arquivo : {"nordeste.dat", "nordeste_distancias.txt", "nordeste_nomes.txt"})
            QVERIFY(QFile::copy(exemplo(arquivo), pasta.filePath(QLatin1String(arquivo))));
        b = std::make_unique<Bancada>();
        QVERIFY(b->mostra());
        b->arquivo_a_abrir = pasta.filePath(QStringLiteral("nordeste.dat"));
        b->clica("botao_abrir");
        QVERIFY(b->estado.campeonato.dados_carregados);
        b->mensagens.clear();
    }

    void execucao_completa_grava_o_mesmo_que_o_lote()
    {
        NoProximoModal<Tform_inviab> escolhe([](Tform_inviab* d) { clica_botoes(d, {"todos", "ok"}); });
        b->clica("objetivos");
        QVERIFY(escolhe.tratado());

        // At the first refresh: the progress panel is shown, a close request and a click
        // are ignored, and events that are not input are still delivered.
        int refrescos = 0;
        bool painel_visivel = false;
        bool fechou = true;
        bool temporizador = false;
        bool temporizador_durante = false;
        connect(&b->janela(), &Tform_global::andamento_mostrado, this, [&] {
            if (++refrescos == 1) {
                painel_visivel = b->filho("executando")->isVisible();
                fechou = b->janela().close();
                QTest::mouseClick(b->botao("botao_tabinicial"), Qt::LeftButton);
                QTimer::singleShot(0, this, [&] { temporizador = true; });
            }
            if (refrescos == 20) temporizador_durante = temporizador;
        });
        b->clica("executar");
        disconnect(&b->janela(), &Tform_global::andamento_mostrado, this, nullptr);
        QVERIFY(painel_visivel);
        QVERIFY(!fechou);
        QVERIFY(temporizador_durante);
        QVERIFY(!b->grade()->isVisible());
        QVERIFY(!b->filho("executando")->isVisible());
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].texto, QString::fromUtf8(msg_terminou));

        b->clica("botao_resultado");
        QCOMPARE(b->diferenca_na_grade(b->estado.execucao.tabela_melhor), QString());

        // As text, then as a spreadsheet: the chosen filter's extension is appended whatever
        // the name ends in.
        salvo = salva(QStringLiteral("Tabela"), 1);
        QCOMPARE(salva(QStringLiteral("resultado.txt"), 2), salvo);
        QCOMPARE(sem_tempo(salvo), sem_tempo(resultado_do_lote(pasta.filePath(QStringLiteral("lote.txt")))));
        QCOMPARE(b->mensagens.size(), 1);  // nothing is said when the file is written

        // Into a missing folder; the dialog proposed the last name and filter.
        b->arquivo_a_salvar = ArquivoEscolhido{pasta.filePath(QStringLiteral("nao_existe/Tabela")), 1};
        b->clica("botao_salvar");
        QCOMPARE(b->pedidos_de_salvar.size(), 3);
        QCOMPARE(b->pedidos_de_salvar[0].nome, QStringLiteral("Tabela"));
        QCOMPARE(b->pedidos_de_salvar[2].nome, pasta.filePath(QStringLiteral("resultado.txt")));
        QCOMPARE(b->pedidos_de_salvar[2].filtro, 2);
        QCOMPARE(b->mensagens.size(), 2);
        QCOMPARE(b->mensagens[1].texto, QString::fromUtf8(msg_arquivo_nao_salvo));
        QVERIFY(!b->mensagens[1].detalhe.isEmpty());

        // Into a folder of the system, with the reason (over a file in use: caminhos_hostis).
        b->arquivo_a_salvar = ArquivoEscolhido{QStringLiteral("/proc/Tabela"), 1};
        b->clica("botao_salvar");
        QCOMPARE(b->mensagens.size(), 3);
        QCOMPARE(b->mensagens[2].detalhe,
                 QStringLiteral("/proc/Tabela.txt: a pasta /proc é do sistema operacional; nela não se gravam arquivos."));

        // The third filter writes a workbook (read back in teste_planilha).
        b->arquivo_a_salvar = ArquivoEscolhido{pasta.filePath(QStringLiteral("Tabela")), 3};
        b->clica("botao_salvar");
        QVERIFY(le_arquivo(pasta.filePath(QStringLiteral("Tabela.xlsx"))).startsWith("PK\x03\x04"));
        QCOMPARE(b->mensagens.size(), 3);  // written: nothing said
    }

    void escolha_cancelada_na_execucao_mantem_o_resultado()
    {
        QVERIFY(!salvo.isEmpty());
        // The choice is withdrawn, so the run command asks for it, and is cancelled.
        NoProximoModal<Tform_inviab> retira([](Tform_inviab* d) { clica_botoes(d, {"cancelar"}); });
        b->clica("objetivos");
        QVERIFY(retira.tratado());
        b->mensagens.clear();
        // The dialog takes the click although the run holds the window's input.
        bool fechou = false;
        NoProximoModal<Tform_inviab> cancela([&](Tform_inviab* d) {
            clica_botoes(d, {"cancelar"});
            fechou = !d->isVisible();
        });
        b->clica("executar");
        QVERIFY(cancela.tratado() && fechou);
        QVERIFY(b->mensagens.isEmpty());

        b->clica("botao_resultado");
        QVERIFY(b->grade()->isVisible());
        QCOMPARE(salva(QStringLiteral("depois"), 1), salvo);
        QVERIFY(b->mensagens.isEmpty());
    }

    // The table kelm-lote goes through too: a save that any links lead onto a file in use, the
    // requirements in force among them, is refused, and the folder stays as it was.
    void caminhos_hostis_recusados()
    {
        const std::filesystem::path p = pasta.path().toStdString();
        prepara_pasta_hostil(p, pasta_exemplos);
        b->arquivo_a_abrir = QString::fromStdString((p / "req.txt").string());
        b->filho<QAction>("AbrirRequisitos1")->trigger();
        for (const CaminhoHostil& c : caminhos_hostis) {
            if (c.relatorio != nullptr) continue;
            for (const auto& [link, alvo] : c.links) std::filesystem::create_symlink(alvo, p / link);
            const auto antes = conteudo_da_pasta(p);
            const std::string destino = (p / c.destino).string();
            b->mensagens.clear();
            b->arquivo_a_salvar = ArquivoEscolhido{QString::fromStdString(destino.substr(0, destino.size() - 4)), 1};
            b->clica("botao_salvar");
            QCOMPARE(b->mensagens.value(0).detalhe.toStdString(),
                     c.papel == nullptr ? destino + ": " + motivo_laco + "."
                                        : "O resultado seria gravado sobre o " + std::string(c.papel) + " (" +
                                              (p / c.sobre).string() + "): são o mesmo arquivo. Escolha outro nome.");
            QVERIFY2(conteudo_da_pasta(p) == antes, c.nome);
            for (const auto& [link, alvo] : c.links) std::filesystem::remove(p / link);
        }
    }

    // After a compact run the coin compares the result with the round robin the compact
    // search started from (not the random initial schedule), says so, and writes its share
    // with the decimal comma of a Portuguese sentence.
    void economia_depois_da_busca_compacta()
    {
        b->carrega("brasileirao_2023_turno.dat");
        {
            // Its own scope: after its time limit a watcher closes any modal window.
            NoProximoModal<Tform_inviab> escolhe([](Tform_inviab* d) { clica_botoes(d, {"todos", "ok"}); });
            b->clica("objetivos");
            QVERIFY(escolhe.tratado());
        }
        // Two runs at once: the window waits for their threads, still painting its panel
        // and delivering what is not input.
        b->janela().opcoes_busca().busca = TipoBusca::compacta;
        b->janela().opcoes_busca().execucoes = 2;
        b->mensagens.clear();
        bool painel_visivel = false;
        bool temporizador = false;
        bool temporizador_durante = false;
        Andamento ultimo;
        connect(&b->janela(), &Tform_global::andamento_mostrado, this, [&](const Andamento& a) {
            if (a.execucoes_concluidas == 0) {
                painel_visivel = b->filho("executando")->isVisible();
                QTimer::singleShot(0, this, [&] { temporizador = true; });
            } else if (a.execucoes_concluidas < 2) {
                temporizador_durante = temporizador;
            }
            ultimo = a;
        });
        b->clica("executar");
        disconnect(&b->janela(), &Tform_global::andamento_mostrado, this, nullptr);
        b->janela().opcoes_busca().execucoes = 1;
        QCOMPARE(b->mensagens.value(0).texto, QString::fromUtf8(msg_terminou));
        QVERIFY(painel_visivel);
        QVERIFY(temporizador_durante);
        QCOMPARE(ultimo.execucoes, 2);
        QCOMPARE(ultimo.fo_star, b->estado.execucao.fo_star);

        QString inicial;
        QString fo_inicial;
        QString resumo;
        bool avisa = false;
        NoProximoModal<Tform_economia> vigia([&](Tform_economia* d) {
            const auto* comparacao = d->findChild<QTableWidget*>(QStringLiteral("comparacao"));
            inicial = comparacao->horizontalHeaderItem(0)->text();
            fo_inicial = comparacao->item(num_inviabilidades, 0)->text();
            resumo = d->findChild<QLabel*>(QStringLiteral("economia"))->text();
            avisa = d->findChild<QLabel*>(QStringLiteral("partida")) != nullptr;
            d->accept();
        });
        b->clica("botao_economia");
        QVERIFY(vigia.tratado());
        const Estado& e = b->estado;
        QCOMPARE(inicial, QStringLiteral("Partida da busca compacta"));
        QCOMPARE(fo_inicial, numero(calcula_fo(explica_tabela(e.campeonato, e.execucao.tabela_partida).contagens, e.criterios)));
        QVERIFY(avisa);
        QVERIFY2(resumo.contains(QStringLiteral("busca compacta")), qPrintable(resumo));
        QVERIFY2(resumo.contains(QRegularExpression(QStringLiteral("\\d,\\d % "))), qPrintable(resumo));
    }
};

QTEST_MAIN(TesteExecucao)
#include "teste_execucao.moc"
