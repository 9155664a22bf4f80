// A whole run from the window on the 6-team championship (a copy of its three files), saved
// as kelm-lote saves it, as text and as a workbook; then saving into a missing folder and,
// through the table of hostile paths, over a file in use, a run whose objectives choice is
// cancelled, which keeps that result, the coin after a compact run, the season's calendar
// opened, shown and exported, and runs stopped by the planner. The functions run in order on
// one window, set up as the program sets itself up.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableWidget>

#include "apoio_ui.hpp"
#include "caminhos_hostis.hpp"
#include "evaluation/avaliacao.hpp"
#include "evaluation/objetivos.hpp"
#include "files/resultado.hpp"
#include "report/explicacao.hpp"
#include "search/busca.hpp"
#include "search/execucoes.hpp"
#include "ui/form_economia.hpp"
#include "ui/form_replanejar.hpp"
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

// The cells in which two workbooks differ, as le_planilha.py reads them with openpyxl (which
// refuses a workbook it cannot read).
QString diferencas_entre_planilhas(const QString& a, const QString& b)
{
    QProcess leitor;
    leitor.start(QStringLiteral(KELM_PYTHON),
                 {QString::fromUtf8(pasta_testes) + QStringLiteral("/core/le_planilha.py"), QStringLiteral("--iguais"), a, b});
    const bool terminou = leitor.waitForFinished(60000) && leitor.exitCode() == 0;
    return terminou ? QString() : QString::fromUtf8(leitor.readAllStandardOutput() + leitor.readAllStandardError());
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
        return le_arquivo(destino_do_salvar(pasta.filePath(nome), filtro));
    }

    // A run of the 20 clubs, long enough to be stopped, stopped by `para` at its third
    // refresh; how long it took to end from then, in milliseconds.
    template <class F>
    qint64 execucao_parada(F para)
    {
        b->mensagens.clear();
        b->perguntas.clear();
        QElapsedTimer desde_o_pedido;
        int refrescos = 0;
        connect(&b->janela(), &Tform_global::andamento_mostrado, this, [&] {
            if (++refrescos != 3) return;
            desde_o_pedido.start();
            para();
        });
        const bool terminou = b->executa();
        disconnect(&b->janela(), &Tform_global::andamento_mostrado, this, nullptr);
        return terminou && desde_o_pedido.isValid() ? desde_o_pedido.elapsed() : -1;
    }

private slots:
    void initTestCase()
    {
        for (const char* arquivo : {"nordeste.dat", "nordeste_distancias.txt", "nordeste_nomes.txt"})
            QVERIFY(QFile::copy(exemplo(arquivo), pasta.filePath(QLatin1String(arquivo))));
        prepara_aplicacao(*qApp);
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

        // During the run the window answers: at the first refresh the progress panel shows,
        // and closing asks whether to stop the run, which the planner declines.
        bool painel_visivel = false;
        bool fechou = true;
        b->respostas = {1};
        connect(&b->janela(), &Tform_global::andamento_mostrado, this, [&] {
            if (painel_visivel) return;
            painel_visivel = b->filho("executando")->isVisible();
            fechou = b->janela().close();
        });
        QVERIFY(b->executa());
        disconnect(&b->janela(), &Tform_global::andamento_mostrado, this, nullptr);
        QVERIFY(painel_visivel);
        QVERIFY(!fechou);
        QCOMPARE(b->perguntas.value(0).texto, QStringLiteral("A busca está em andamento. Parar a busca e sair?"));
        QVERIFY(!b->grade()->isVisible());
        QVERIFY(!b->filho("executando")->isVisible());
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].texto, QString::fromUtf8(msg_terminou));

        b->clica("botao_resultado");
        QCOMPARE(b->diferenca_na_grade(b->estado.execucao.tabela_melhor), QString());
        QCOMPARE(b->filho<QLabel>("titulo_grade")->text(),
                 QStringLiteral("Tabela Obtida: 10 rodadas. FO ") + numero(b->estado.execucao.fo_star));

        // As text; a name that ends in .txt keeps it whatever the filter, and the status bar
        // says where it went.
        salvo = salva(QStringLiteral("Tabela"), 1);
        QCOMPARE(salva(QStringLiteral("resultado.txt"), 2), salvo);
        QCOMPARE(b->janela().statusBar()->currentMessage(), QStringLiteral("Gravado em ") + pasta.filePath(QStringLiteral("resultado.txt")));
        QCOMPARE(sem_tempo(salvo), sem_tempo(resultado_do_lote(pasta.filePath(QStringLiteral("lote.txt")))));
        QCOMPARE(b->mensagens.size(), 1);  // nothing else is said when the file is written

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

        // A name ending in .xlsx is a workbook, with the text filter too: the same cells as
        // kelm-lote's workbook of the same run, in any language of the desktop.
        salva(QStringLiteral("temporada.xlsx"), 1);
        const QString lote = pasta.filePath(QStringLiteral("lote.xlsx"));
        QVERIFY(!resultado_do_lote(lote).isEmpty());
        QCOMPARE(diferencas_entre_planilhas(pasta.filePath(QStringLiteral("temporada.xlsx")), lote), QString());
        QCOMPARE(b->mensagens.size(), 3);  // written: nothing said
        // Saved, the result lets the program end without a question (unsaved: see below).
        QVERIFY(b->janela().close() && b->perguntas.size() == 1);
        QVERIFY(b->mostra());
    }

    void escolha_cancelada_na_execucao_mantem_o_resultado()
    {
        QVERIFY(!salvo.isEmpty());
        // The choice is withdrawn, so the run command asks for it, and is cancelled: no run.
        NoProximoModal<Tform_inviab> retira([](Tform_inviab* d) { clica_botoes(d, {"cancelar"}); });
        b->clica("objetivos");
        QVERIFY(retira.tratado());
        b->mensagens.clear();
        NoProximoModal<Tform_inviab> cancela([&](Tform_inviab* d) { clica_botoes(d, {"cancelar"}); });
        b->clica("executar");
        QVERIFY(cancela.tratado());
        QVERIFY(!b->janela().executando_busca());
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
        // Two runs at once: the panel says how they go.
        b->janela().opcoes_busca().busca = TipoBusca::compacta;
        b->janela().opcoes_busca().execucoes = 2;
        b->mensagens.clear();
        Andamento ultimo;
        QString execucoes;
        connect(&b->janela(), &Tform_global::andamento_mostrado, this, [&](const Andamento& a) {
            ultimo = a;
            execucoes = b->filho<QLabel>("execucoes")->text();
        });
        QVERIFY(b->executa());
        disconnect(&b->janela(), &Tform_global::andamento_mostrado, this, nullptr);
        b->janela().opcoes_busca().execucoes = 1;
        QCOMPARE(b->mensagens.value(0).texto, QString::fromUtf8(msg_terminou));
        QCOMPARE(ultimo.execucoes, 2);
        QCOMPARE(ultimo.fo_star, b->estado.execucao.fo_star);
        QCOMPARE(execucoes, threads_para(2) > 1 ? QStringLiteral("2 execuções em paralelo, 2 concluídas")
                                                : QStringLiteral("execução 2 de 2"));

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

    // Execução › Replanejar... on the compact run's result when a club loses its ground: a bad
    // field keeps the dialog open; the re-plan, its first rounds frozen, writes what kelm-lote's
    // re-plan of the same schedule saved writes; the frozen rounds stay as they were; the
    // status bar, the coin and the grid speak of the games it moved.
    void replanejamento_da_tabela_na_tela()
    {
        const Tabela antes = b->estado.execucao.tabela_melhor;
        QVERIFY(!salva(QStringLiteral("partida.txt"), 1).isEmpty());
        const QString requisitos = pasta.filePath(QStringLiteral("sem_estadio.txt"));
        {
            QFile f(requisitos);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("fora Grêmio rodadas 12-15\n");
        }
        b->arquivo_a_abrir = requisitos;
        b->filho<QAction>("AbrirRequisitos1")->trigger();
        QVERIFY(b->estado.requisitos.em_vigor());
        b->mensagens.clear();
        QAction* replanejar = b->filho<QAction>("Replanejar1");
        QVERIFY(replanejar->isEnabled());
        bool ficou_aberto = false;
        QString peso_proposto;
        {
            NoProximoModal<Tform_replanejar> pede([&](Tform_replanejar* d) {
                auto* congeladas = d->findChild<QLineEdit*>(QStringLiteral("congeladas"));
                congeladas->setText(QStringLiteral("1-20"));
                clica_botoes(d, {"ok_replanejar"});
                ficou_aberto = d->isVisible();
                congeladas->setText(QStringLiteral(" 1-10 "));
                peso_proposto = d->findChild<QLineEdit*>(QStringLiteral("peso_mudanca"))->text();
                clica_botoes(d, {"ok_replanejar"});
            });
            replanejar->trigger();
            QVERIFY(pede.tratado());
        }
        QVERIFY(ficou_aberto);
        QCOMPARE(peso_proposto, QStringLiteral("10000000"));
        QVERIFY(QTest::qWaitFor([this] { return !b->janela().executando_busca(); }, 120000));
        QCOMPARE(b->mensagens.size(), 2);
        QVERIFY2(b->mensagens[0].texto.startsWith(QStringLiteral("Rodadas já jogadas: ")), qPrintable(b->mensagens[0].texto));
        const Execucao& x = b->estado.execucao;
        QVERIFY(x.procedencia.com_mudancas);
        QCOMPARE(x.inviabilidades_melhor[Inviabilidade::requisitos], 0.0);
        for (int r = 0; r < 10; ++r)
            for (int g = 0; g < antes.colunas(); ++g) QCOMPARE(x.tabela_melhor[r][g], antes[r][g]);
        const auto mudados = static_cast<int>(x.inviabilidades_melhor[Inviabilidade::mudancas]);
        QVERIFY(mudados > 0);

        QByteArray do_lote;
        {
            QProcess lote;
            lote.start(QStringLiteral(KELM_LOTE),
                       {QStringLiteral("--silencioso"), QStringLiteral("--busca"), QStringLiteral("compacta"),
                        QStringLiteral("--partir-de"), pasta.filePath(QStringLiteral("partida.txt")), QStringLiteral("--congelar"),
                        QStringLiteral("1-10"), QStringLiteral("--requisitos"), requisitos, QStringLiteral("-o"), pasta.filePath(QStringLiteral("lote.txt")), exemplo("brasileirao_2023_turno.dat")});
            QVERIFY(lote.waitForFinished(60000));
            QCOMPARE(lote.exitCode(), 0);
            do_lote = le_arquivo(pasta.filePath(QStringLiteral("lote.txt")));
        }
        QCOMPARE(sem_tempo(salva(QStringLiteral("replanejada.txt"), 1)), sem_tempo(do_lote));

        QVERIFY2(b->filho<QLabel>("resumo_execucao")->text().contains(
                     QStringLiteral("Replanejamento: %1 jogos mudaram de rodada, rodadas congeladas 1-10.").arg(mudados)),
                 qPrintable(b->filho<QLabel>("resumo_execucao")->text()));
        QStringList itens;
        NoProximoModal<Tform_economia> vigia([&](Tform_economia* d) {
            const auto* lista = d->findChild<QListWidget*>(QStringLiteral("jogos_mudados"));
            for (int i = 0; lista != nullptr && i < lista->count(); ++i) itens << lista->item(i)->text();
            d->accept();
        });
        b->clica("botao_economia");
        QVERIFY(vigia.tratado());
        QCOMPARE(itens.value(0), QStringLiteral("%1 jogos mudaram de rodada em relação à tabela de partida:").arg(mudados));
        QCOMPARE(itens.size(), 2 + mudados);
        QVERIFY(itens.value(2).contains(QStringLiteral(": rodada ")));

        // Every moved game is marked on the grid, and no other.
        b->clica("botao_resultado");
        int marcados = 0;
        for (int r = 1; r <= antes.linhas(); ++r)
            for (int g = 1; g <= antes.colunas(); ++g) {
                const bool marcado = b->grade()->model()->index(r, g).data(Qt::BackgroundRole).value<QColor>() == fundo_mudado();
                const Jogo j = x.tabela_melhor[r - 1][g - 1];
                bool estava = false;
                for (int h = 0; h < antes.colunas(); ++h) estava = estava || antes[r - 1][h] == j;
                QCOMPARE(marcado, !estava);
                marcados += marcado ? 1 : 0;
            }
        QCOMPARE(marcados, mudados);
        b->filho<QAction>("RetirarRequisitos1")->trigger();
    }

    // The season's calendar: a file refused with its line changes nothing; the bundled one,
    // opened with the turno alone chosen, switches to the season and lets requirements by
    // dates in, which then hold it in force and follow a new calendar's dates. A compact run
    // dates the rounds of the grid and of the overview, and exports the championship's
    // calendar and the 20 clubs'; the calendar withdrawn leaves the rounds as they were, and
    // the export is refused. `copia` is the bundled calendar with one date changed.
    void calendario_da_temporada()
    {
        b->carrega("brasileirao_2023_turno.dat");
        const auto aciona = [this](const char* acao, const QString& arquivo = {}) {
            b->mensagens.clear();
            b->arquivo_a_abrir = arquivo;
            b->filho<QAction>(acao)->trigger();
            return b->mensagens.value(0).texto + b->mensagens.value(0).detalhe;
        };
        QByteArray texto = le_arquivo(exemplo("brasileirao_2023_calendario.txt"));
        const qsizetype quinta = texto.indexOf("\n5   07/05/2023");
        QFile copia(pasta.filePath(QStringLiteral("copia.txt")));
        QVERIFY(copia.open(QIODevice::WriteOnly) && copia.write(texto.replace(quinta, 15, "\n5   31/02/2023")) > 0 && copia.flush());
        const QString linha = QStringLiteral("copia.txt\", linha %1").arg(texto.left(quinta).count('\n') + 2);
        for (int vez = 0; vez < 2; ++vez) {
            const Estado antes = b->estado;
            QVERIFY2(aciona("AbrirCalendario1", copia.fileName()).contains(linha), qPrintable(b->mensagens.value(0).texto));
            QVERIFY(b->estado == antes);
            QCOMPARE(b->filho<QLabel>("calendario_em_vigor")->text(), vez == 0 ? QString() : QStringLiteral("Calendário: brasileirao_2023_calendario.txt"));
            b->respostas = {0};
            aciona("AbrirCalendario1", exemplo("brasileirao_2023_calendario.txt"));
        }
        aciona("AbrirRequisitos1", exemplo("brasileirao_2023_requisitos_datas.txt"));
        QVERIFY(b->janela().windowTitle().endsWith(QStringLiteral("(requisitos: brasileirao_2023_requisitos_datas.txt, calendário: brasileirao_2023_calendario.txt)")));
        QVERIFY(aciona("RetirarCalendario1").contains(QStringLiteral("as datas pedem um calendário")));
        // Round 4 moved to Thursday 04/05 falls in Grêmio's dates away, 04/05 to 16/05.
        QVERIFY(copia.seek(0) && copia.write(le_arquivo(exemplo("brasileirao_2023_calendario.txt")).replace("\n4   03/05", "\n4   04/05")) > 0 && copia.flush());
        aciona("AbrirCalendario1", copia.fileName());
        QCOMPARE(b->estado.requisitos.itens.at(2).rodadas, (std::vector<int>{4, 5, 6}));

        define_objetivos(b->estado.criterios, {true, true, true, true, true, true, true, true, true});
        b->janela().opcoes_busca().busca = TipoBusca::compacta;
        QVERIFY(b->executa() && b->estado.execucao.procedencia.calendario == b->estado.calendario);
        b->clica("botao_resultado");
        QCOMPARE(b->grade()->celula(0, 38), QStringLiteral("  38ª RODADA  03/12/2023"));
        QCOMPARE(b->grade()->model()->index(4, 0).data(Qt::ToolTipRole), QStringLiteral("4ª rodada: quinta-feira, 04/05/2023, 21:30"));
        QString dica;
        NoProximoModal<QDialog> visao([&dica](QDialog* v) { dica = v->findChild<QTableView*>(QStringLiteral("quadro_mandos"))->model()->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(); v->close(); });
        b->filho<QAction>("VisaoGeral1")->trigger();
        QCOMPARE(dica, QStringLiteral("4ª rodada: quinta-feira, 04/05/2023, 21:30"));
        const QString exportada = pasta.filePath(QStringLiteral("janela"));
        b->programa.seletor.substitui_pasta([&](QWidget*, const QString&) { return exportada; });
        QCOMPARE(aciona("ExportarCalendario1"), QString());
        QCOMPARE(b->janela().statusBar()->currentMessage(), QStringLiteral("Calendários gravados em ") + exportada);
        QCOMPARE(QDir(exportada).entryList(QDir::Files).size(), 21);
        QCOMPARE(le_arquivo(exportada + QStringLiteral("/brasileirao_2023_turno.ics")).count("BEGIN:VEVENT"), 380);

        aciona("RetirarRequisitos1");
        QVERIFY(aciona("RetirarCalendario1").isEmpty() && b->filho<QLabel>("calendario_em_vigor")->text().isEmpty());
        b->clica("botao_tabinicial");
        QCOMPARE(b->grade()->celula(0, 4), texto_rodada(4));
        QVERIFY(!b->filho<QAction>("ExportarCalendario1")->isEnabled());
        b->janela().ExportarCalendario1Click();
        QVERIFY(b->mensagens.value(0).texto.startsWith(QStringLiteral("Não há calendário em vigor")));
        // Another championship leaves no calendar in force.
        aciona("AbrirCalendario1", exemplo("brasileirao_2023_calendario.txt"));
        QVERIFY(b->estado.calendario.em_vigor());
        b->carrega("nordeste.dat");
        QVERIFY(!b->estado.calendario.em_vigor() && b->filho<QLabel>("calendario_em_vigor")->text().isEmpty());
    }

    // A long run ends at its next temperature level when the planner stops it, by "&Parar", by
    // Esc, or by closing the window: the best schedule so far is the result, and the status
    // bar, the grid's heading and the printed record say so.
    void execucao_parada_fica_com_a_melhor_tabela()
    {
        b->carrega("brasileirao_2023.dat");
        define_objetivos(b->estado.criterios, {true, true, true, true, true, true, true, true, true});
        b->janela().opcoes_busca() = OpcoesBusca{};
        b->janela().opcoes_busca().esforco = 10;
        const qint64 ms = execucao_parada([this] { QTest::mouseClick(b->filho<QPushButton>("parar"), Qt::LeftButton); });
        qInfo("Parar: a execução terminou %lld ms depois", ms);
        QVERIFY(ms >= 0 && ms < 5000);
        QVERIFY(b->mensagens.isEmpty());
        QVERIFY(b->estado.execucao.procedencia.parada);
        QVERIFY(b->filho<QLabel>("resumo_execucao")->text().startsWith(QStringLiteral("Execução parada pelo planejador")));
        b->clica("botao_resultado");
        QCOMPARE(b->diferenca_na_grade(b->estado.execucao.tabela_melhor), QString());
        QVERIFY(b->filho<QLabel>("titulo_grade")->text().endsWith(QStringLiteral("(execução parada pelo planejador)")));

        QVERIFY(b->mostra());
        QVERIFY(execucao_parada([this] { QTest::keyClick(&b->janela(), Qt::Key_Escape); }) >= 0);
        QVERIFY(b->estado.execucao.procedencia.parada);

        // Closing stops the run, then offers its result for saving; cancelled, the window stays.
        b->respostas = {0, 2};
        QVERIFY(execucao_parada([this] { b->janela().close(); }) >= 0);
        QCOMPARE(b->perguntas.size(), 2);
        QCOMPARE(b->perguntas[1].texto, QString::fromUtf8(pergunta_salvar_ao_sair));
        QVERIFY(b->janela().isVisible());
        QVERIFY(b->estado.execucao.procedencia.parada);
    }
};

QTEST_MAIN(TesteExecucao)
#include "teste_execucao.moc"
