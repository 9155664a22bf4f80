// The main window as a planner meets it: which commands it offers at each step of the work,
// the planner's requirements from the menu to the result, the function keys, and the schedule
// grid refilled with a championship of other size.

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "apoio_ui.hpp"
#include "evaluation/objetivos.hpp"
#include "files/resultado.hpp"
#include "model/temporada.hpp"
#include "report/explicacao.hpp"
#include "search/comandos.hpp"
#include "ui/form_economia.hpp"
#include "ui/form_temporada.hpp"
#include "ui/paineis.hpp"
#include "ui/quadro_temporada.hpp"
#include "ui/regional.hpp"

using namespace kelm;
using namespace kelm::teste;

namespace {

// How far the work has gone when the commands are looked at.
enum Etapa { inicio, carga_cancelada, carregado, executado };

// The toolbar's commands, in the bar's order.
const char* const comandos[] = {"botao_salvar",     "botao_abrir",     "executar",       "objetivos",
                                "pesos",            "parametros",      "sol_inicial",    "botao_tabinicial",
                                "botao_resultado",  "botao_economia",  "botao_fechar"};

}  // namespace

class TesteJanela : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Bancada> b;
    QTemporaryDir pasta;

    // A short run: distance alone (and the requirements' objective as `requisitos` says), the
    // first phase without reheats. Whether it ran.
    bool executa_curta(std::optional<bool> requisitos = std::nullopt)
    {
        define_objetivos(b->estado.criterios, {false, false, false, false, false, false, false, true, false}, requisitos);
        b->janela().opcoes_busca().max_reaquecimentos = 0;
        return b->executa() && b->estado.execucao.programa_executado;
    }

    // Takes the window to `etapa`, its messages cleared; whether it got there.
    bool leva_a(int etapa)
    {
        if (etapa == carga_cancelada) b->clica("botao_abrir");
        if (etapa >= carregado) b->carrega("nordeste.dat");
        const bool chegou = etapa != executado || executa_curta();
        b->mensagens.clear();
        return chegou;
    }

    // The stages, with what the toolbar shows at each: one letter per command of `comandos`,
    // 'm' the hand, 'p' the not-allowed pointer, a capital when the command is disabled; then
    // whether "E&xecutar" is enabled, and what saving says when its dialog is cancelled.
    static void etapas()
    {
        QTest::addColumn<int>("etapa");
        QTest::addColumn<QString>("barra");
        QTest::addColumn<bool>("executar1");
        QTest::addColumn<QString>("ao_salvar");
        const QString sem_resultado = QString::fromUtf8(msg_sem_resultado);
        const QString nao_salvo = QString::fromUtf8(msg_arquivo_nao_salvo);
        QTest::newRow("início") << int(inicio) << "mmMmmmppppm" << false << sem_resultado;
        QTest::newRow("carga cancelada") << int(carga_cancelada) << "mmMmmmppppm" << false << sem_resultado;
        QTest::newRow("carregado") << int(carregado) << "mmmmmmmmppm" << true << sem_resultado;
        QTest::newRow("executado") << int(executado) << "mmmmmmmmmmm" << true << nao_salvo;
    }

    // nordeste loaded, and a file of requirements of its season whose second line names a
    // round of the returno. The file's path.
    QString nordeste_e_requisitos_da_temporada()
    {
        b->carrega("nordeste_turno.dat");
        QFile f(pasta.filePath(QStringLiteral("r.txt")));
        if (!f.open(QIODevice::WriteOnly)) return {};
        f.write("fora Bahia rodadas 1-3\nsem-encontro Ceará Fortaleza rodadas 1-2,10\n");
        return f.fileName();
    }

    // Opens `arquivo` through "Abrir Requisitos..." ("" cancels); the one message it gave.
    Mensagem abre_requisitos(const QString& arquivo)
    {
        b->mensagens.clear();
        b->arquivo_a_abrir = arquivo;
        b->filho<QAction>("AbrirRequisitos1")->trigger();
        return b->mensagens.size() == 1 ? b->mensagens[0] : Mensagem{TipoMensagem::simples, QStringLiteral("?"), {}};
    }

    // Those requirements in force over the mirrored season; whether they are.
    bool poe_requisitos_em_vigor()
    {
        const QString arquivo = nordeste_e_requisitos_da_temporada();
        b->janela().opcoes_busca().returno = Returno::espelhado;
        return abre_requisitos(arquivo).tipo == TipoMensagem::informacao && b->estado.requisitos.em_vigor();
    }

    // Whether the tenth count shows in the objectives and weights dialogs and the progress
    // panel, the withdrawal is offered and the status bar names the file.
    bool decimo_visivel()
    {
        Tform_inviab& objetivos = b->programa.form_inviab;
        Tform_pesos& pesos = b->programa.form_pesos;
        QWidget* painel = b->filho<PainelAndamento>("executando");
        return objetivos.inv(10)->isVisibleTo(&objetivos) && pesos.peso(10)->isVisibleTo(&pesos) &&
               painel->findChild<QLabel*>(QStringLiteral("inv10"))->isVisibleTo(painel) &&
               b->filho<QAction>("RetirarRequisitos1")->isEnabled() &&
               !b->filho<QLabel>("requisitos_em_vigor")->text().isEmpty();
    }

private slots:
    void init()
    {
        b = std::make_unique<Bancada>();
        QVERIFY(b->mostra());
    }
    void cleanup() { b.reset(); }

    void barra_em_cada_etapa_data() { etapas(); }
    void barra_em_cada_etapa()
    {
        QFETCH(int, etapa);
        QFETCH(QString, barra);
        QFETCH(bool, executar1);
        if (etapa == carga_cancelada) b->clica("botao_abrir");
        if (etapa >= carregado) b->carrega("nordeste.dat");
        const auto letras = [this] {
            QString visto;
            for (const char* nome : comandos) {
                const Qt::CursorShape forma = b->botao(nome)->cursor().shape();
                const QChar letra = forma == Qt::PointingHandCursor ? u'm' : forma == Qt::ForbiddenCursor ? u'p' : u'?';
                visto += b->botao(nome)->isEnabled() ? letra : letra.toUpper();
            }
            return visto;
        };
        if (etapa == executado) {
            // A short run: distance alone, the first phase without reheats. While it goes on,
            // only closing is offered, besides stopping it.
            define_objetivos(b->estado.criterios, {false, false, false, false, false, false, false, true, false});
            b->janela().opcoes_busca().max_reaquecimentos = 0;
            QString durante;
            auto* parar = b->filho<QPushButton>("parar");
            connect(&b->janela(), &Tform_global::andamento_mostrado, this, [&] {
                if (durante.isEmpty())
                    durante = letras() + (b->filho<QAction>("Abrir1")->isEnabled() ? u'a' : u'A') +
                              (parar->isEnabled() ? u'p' : u'P');
            });
            QVERIFY(b->executa());
            QCOMPARE(durante, QStringLiteral("MMMMMMMMPPmAp"));
            QVERIFY(b->estado.execucao.programa_executado);
        }
        QCOMPARE(letras(), barra);
        QCOMPARE(b->janela().findChild<QAction*>(QStringLiteral("Executar1"))->isEnabled(), executar1);
    }

    // Saving says why nothing was saved; no name is asked for without a result.
    void salvar_cancelado_ou_sem_resultado_data() { etapas(); }
    void salvar_cancelado_ou_sem_resultado()
    {
        QFETCH(int, etapa);
        QFETCH(QString, ao_salvar);
        QVERIFY(leva_a(etapa));
        b->clica("botao_salvar");
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].tipo, TipoMensagem::erro);
        QCOMPARE(b->mensagens[0].texto, ao_salvar);
        QCOMPARE(b->pedidos_de_salvar.size(), etapa == executado ? 1 : 0);
    }

    // The coin: after a run, the result beside the initial schedule; before, the result
    // view's message.
    void moeda_compara_o_resultado_data() { etapas(); }
    void moeda_compara_o_resultado()
    {
        QFETCH(int, etapa);
        QVERIFY(leva_a(etapa));
        QString economia;
        QString fo_obtida;
        QString visao_da_moeda;
        NoProximoModal<Tform_economia> janela([&](Tform_economia* d) {
            economia = d->findChild<QLabel*>(QStringLiteral("economia"))->text();
            fo_obtida = d->findChild<QTableWidget*>(QStringLiteral("comparacao"))->item(num_inviabilidades, 1)->text();
            NoProximoModal<QDialog> visao([&](QDialog* v) {
                visao_da_moeda = v->objectName();
                v->reject();
            });
            clica_botoes(d, {"visao_geral"});
            d->accept();
        });
        b->clica("botao_economia");
        QVERIFY(b->mostra());  // the main window takes keys again
        QCOMPARE(janela.tratado(), etapa == executado);
        if (etapa != executado) {
            QCOMPARE(b->mensagens.size(), 1);
            QCOMPARE(b->mensagens[0].texto, QString::fromUtf8(msg_tabela_resultado));
            return;
        }
        // Both schedules as the run scored them: its first phase was cut short, so it ended with
        // the objective chosen, and the coin's FO is its FO_STAR.
        QCOMPARE(fo_obtida, numero(b->estado.execucao.fo_star));
        QVERIFY2(economia.contains(QStringLiteral(" km ")), qPrintable(economia));
        QCOMPARE(visao_da_moeda, QStringLiteral("form_temporada"));
    }

    // The results menu opens with the first result. Its commands answer as the result view
    // until then; afterwards they show the season at a glance (a row per team, a column per
    // round) and the print preview.
    void impressos_com_o_primeiro_resultado_data() { etapas(); }
    void impressos_com_o_primeiro_resultado()
    {
        QFETCH(int, etapa);
        QVERIFY(leva_a(etapa));
        QCOMPARE(b->filho<QAction>("Impressos1")->isEnabled(), etapa == executado);
        for (const char* nome : {"VisaoGeral1", "Imprimir1"}) {
            b->mensagens.clear();
            QString aberta;
            NoProximoModal<QDialog> dialogo([&](QDialog* d) {
                if (auto* t = qobject_cast<Tform_temporada*>(d))
                    aberta = QStringLiteral("%1x%2").arg(t->modelo()->rowCount()).arg(t->modelo()->columnCount());
                else if (qobject_cast<QPrintPreviewDialog*>(d))
                    aberta = QStringLiteral("impressão");
                d->reject();
            });
            b->filho<QAction>(nome)->trigger();
            QCOMPARE(aberta, etapa != executado ? QString() : nome[0] == 'V' ? QStringLiteral("6x10") : QStringLiteral("impressão"));
            QCOMPARE(b->mensagens.size(), etapa == executado ? 0 : 1);
        }
    }

    // The hand promises a view, shown in the grid; the not-allowed pointer a message
    // instead. A new initial solution drops the result, so it comes last.
    void mao_abre_a_grade_e_ponteiro_proibido_explica_data() { etapas(); }
    void mao_abre_a_grade_e_ponteiro_proibido_explica()
    {
        QFETCH(int, etapa);
        QVERIFY(leva_a(etapa));
        for (const char* nome : {"botao_resultado", "botao_tabinicial", "sol_inicial"}) {
            const bool proibido = b->botao(nome)->cursor().shape() == Qt::ForbiddenCursor;
            b->mensagens.clear();
            b->clica(nome);
            QVERIFY2(b->mensagens.size() == (proibido ? 1 : 0), nome);
            QVERIFY2(b->grade()->isVisible() == !proibido, nome);
            QTest::keyClick(&b->janela(), Qt::Key_Return);  // presses "&Fecha"
            QVERIFY2(!b->grade()->isVisible(), nome);
        }
    }

    void dica_do_jogo_diz_de_que_inviabilidades_ele_faz_parte()
    {
        b->carrega("nordeste.dat");
        b->clica("botao_tabinicial");
        const Tabela& tabela = b->estado.execucao.tabela_inicial;
        const Explicacao explicacao = explica_tabela(b->estado.campeonato, tabela);
        // The season at a glance says the same of the game at both of its teams' cells.
        const Tform_temporada visao(b->estado.campeonato, tabela, explicacao, 0);
        const auto dica_no_quadro = [&visao](int time, int r) {
            return visao.modelo()->index(time - 1, r).data(Qt::ToolTipRole).toString();
        };
        int com_notas = 0;
        for (int r = 0; r < tabela.linhas(); ++r) {
            for (int g = 0; g < tabela.colunas(); ++g) {
                QString esperado = b->grade()->celula(g + 1, r + 1);
                for (const std::string& nota : notas_do_jogo(explicacao, {r, g}))
                    esperado += QLatin1Char('\n') + QString::fromStdString(nota);
                com_notas += esperado.contains(QLatin1Char('\n'));
                QCOMPARE(b->grade()->model()->index(r + 1, g + 1).data(Qt::ToolTipRole).toString(), esperado);
                if (tabela[r][g].vazio()) continue;
                QVERIFY(dica_no_quadro(tabela[r][g].mandante(), r).contains(esperado));
                QVERIFY(dica_no_quadro(tabela[r][g].visitante(), r).contains(esperado));
            }
        }
        QVERIFY(com_notas > 0);
    }

    // Before a load the requirements' menu is off. A file refused changes nothing: here a
    // round of the returno while the parameters plan the turno alone.
    void requisitos_recusados_nada_mudam()
    {
        QVERIFY(!b->filho<QAction>("Arquivo1")->isEnabled());
        const QString arquivo = nordeste_e_requisitos_da_temporada();
        QVERIFY(b->filho<QAction>("Arquivo1")->isEnabled());
        QVERIFY(!b->filho<QAction>("Times1")->isEnabled());
        // The planner is offered the season. Declined, nothing changes.
        b->clica("botao_tabinicial");
        b->respostas = {1};
        QCOMPARE(abre_requisitos(arquivo).texto, QStringLiteral("?"));
        QCOMPARE(b->perguntas.value(0).texto, QStringLiteral("Erro no arquivo de requisitos \"%1\", linha 2: a rodada 10 passa das 5 "
                                                       "rodadas do turno; só numa temporada inteira, de turno e returno, há 10 "
                                                       "rodadas.\n\nUsar a temporada inteira, turno e returno espelhado? (A "
                                                       "Temporada também se escolhe em Parâmetros da Busca, no botão T0`.)")
                                            .arg(arquivo));
        QVERIFY(!b->estado.requisitos.em_vigor());
        QVERIFY(b->janela().opcoes_busca().returno == Returno::nenhum);
        QVERIFY(!decimo_visivel());
    }

    // Accepted when offered, the season is chosen and they are in force: named in the status bar
    // and the title, the grid shown refilled with the season, the tenth count in the dialogs and
    // the progress panel; a cancelled choice says nothing and keeps them.
    void requisitos_em_vigor_aparecem_na_janela()
    {
        const QString arquivo = nordeste_e_requisitos_da_temporada();
        b->clica("botao_tabinicial");
        b->respostas = {0};
        const Mensagem m = abre_requisitos(arquivo);
        QCOMPARE(m.tipo, TipoMensagem::informacao);
        QCOMPARE(m.texto, QStringLiteral("Os requisitos do planejador foram carregados com sucesso: 2 requisitos em vigor."));
        QVERIFY(b->janela().opcoes_busca().returno == Returno::espelhado);
        QCOMPARE(b->filho<QLabel>("requisitos_em_vigor")->text(), QStringLiteral("Requisitos: r.txt"));
        QVERIFY(b->janela().windowTitle().endsWith(QStringLiteral(" - nordeste_turno.dat (requisitos: r.txt)")));
        QCOMPARE(b->filho<QLabel>("titulo_grade")->text(), QStringLiteral("Tabela Inicial: 10 rodadas, turno e returno espelhado"));
        QVERIFY(decimo_visivel());
        abre_requisitos(QString());
        QVERIFY(b->mensagens.isEmpty());
        QVERIFY(decimo_visivel());
    }

    // The grid marks exactly the games of the requirements' occurrences; their tooltips say
    // which requirement. A line parts the turno from the returno.
    void grade_marca_os_jogos_que_quebram_requisitos()
    {
        QVERIFY(poe_requisitos_em_vigor());
        b->clica("botao_tabinicial");
        const Temporada t = temporada_de(b->estado.campeonato, b->estado.execucao.tabela_inicial, Returno::espelhado);
        const Explicacao x = explica_tabela(t.campeonato, t.tabela, &b->estado.requisitos);
        QSet<QPair<int, int>> quebram;
        for (const Ocorrencia& o : x.ocorrencias)
            if (o.inviabilidade == Inviabilidade::requisitos)
                for (const JogoEnvolvido& j : o.jogos) quebram.insert({j.posicao.rodada + 1, j.posicao.vaga + 1});
        QVERIFY(!quebram.isEmpty());
        QAbstractItemModel* grade = b->grade()->model();
        QCOMPARE(grade->rowCount(), 11);
        for (int r = 0; r < grade->rowCount(); ++r) QCOMPARE(grade->index(r, 0).data(papel_inicio_returno).toBool(), r == 6);
        for (int r = 1; r < grade->rowCount(); ++r)
            for (int g = 1; g < grade->columnCount(); ++g) {
                const QModelIndex i = grade->index(r, g);
                const bool quebra = quebram.contains({r, g});
                QVERIFY2((i.data(Qt::BackgroundRole).value<QColor>() == fundo_marcado()) == quebra, qPrintable(i.data().toString()));
                QCOMPARE(i.data(Qt::ToolTipRole).toString().contains(QStringLiteral("requisito da linha")), quebra);
            }
    }

    // A run under them: its last refresh shows the tenth count.
    void execucao_sob_requisitos_mostra_a_decima_contagem()
    {
        QVERIFY(poe_requisitos_em_vigor());
        Andamento ultimo;
        connect(&b->janela(), &Tform_global::andamento_mostrado, this, [&ultimo](const Andamento& a) { ultimo = a; });
        QVERIFY(executa_curta(true));
        QCOMPARE(b->filho("executando")->findChild<QLabel*>(QStringLiteral("inv10"))->text(),
                 QStringLiteral("Inviabilidade 10:   ") + numero(ultimo.inviabilidades_melhor[Inviabilidade::requisitos]));
    }

    // Withdrawn after a run, they leave the window, but the coin still holds the result to them;
    // the status bar names where the run stopped and the lines of those left unmet. (The run does
    // not minimise them, so that some are.)
    void requisitos_retirados_ficam_no_resultado()
    {
        QVERIFY(poe_requisitos_em_vigor());
        QVERIFY(executa_curta(false));
        const Requisitos da_execucao = b->estado.requisitos;
        b->filho<QAction>("RetirarRequisitos1")->trigger();
        QVERIFY(!b->estado.requisitos.em_vigor());
        QVERIFY(!decimo_visivel());
        QStringList esperadas{QString()};
        const Temporada obtida = temporada_de(b->estado.campeonato, b->estado.execucao.tabela_melhor, Returno::espelhado);
        for (const Ocorrencia& o : explica_tabela(obtida.campeonato, obtida.tabela, &da_execucao).ocorrencias)
            if (o.inviabilidade == Inviabilidade::requisitos) esperadas << QString::fromStdString(o.frase) + QLatin1Char('.');
        QStringList vistas;
        QString decima;
        NoProximoModal<Tform_economia> moeda([&](Tform_economia* d) {
            auto* comparacao = d->findChild<QTableWidget*>(QStringLiteral("comparacao"));
            if (comparacao->rowCount() == num_inviabilidades + 3) decima = comparacao->item(num_inviabilidades, 1)->text();
            auto* lista = d->findChild<QListWidget*>(QStringLiteral("requisitos_nao_atendidos"));
            for (int k = 0; lista != nullptr && k < lista->count(); ++k) vistas << (k == 0 ? QString() : lista->item(k)->text());
            d->accept();
        });
        b->clica("botao_economia");
        QVERIFY(moeda.tratado());
        QCOMPARE(decima, numero(b->estado.execucao.inviabilidades_melhor[Inviabilidade::requisitos]));
        QCOMPARE(vistas, esperadas);
        auto* resumo = b->filho<QLabel>("resumo_execucao");
        QVERIFY2(resumo->text().startsWith(QStringLiteral("A primeira fase parou no limite de 0 reaquecimentos; a busca")) &&
                     resumo->text().contains(QStringLiteral(". Requisitos não atendidos: linha")),
                 qPrintable(resumo->text()));
        QCOMPARE(resumo->toolTip(), esperadas.mid(1).join(QLatin1Char('\n')));
    }

    // A championship loaded leaves no requirements in force, and nothing said of a run.
    void carga_deixa_sem_requisitos()
    {
        QVERIFY(poe_requisitos_em_vigor());
        QVERIFY(executa_curta(false));
        b->carrega("nordeste_turno.dat");
        QVERIFY(!b->estado.requisitos.em_vigor());
        QVERIFY(!decimo_visivel());
        QVERIFY(b->filho<QLabel>("resumo_execucao")->text().isEmpty());
    }

    void f1_carrega_e_f2_f3_nada_fazem()
    {
        b->arquivo_a_abrir = exemplo("nordeste.dat");
        QTest::keyClick(&b->janela(), Qt::Key_F1);
        QVERIFY(b->estado.campeonato.dados_carregados);
        QCOMPARE(b->mensagens.size(), 1);
        // "E&xecutar" is enabled now, but its menu "&Execução" is not: neither the run nor
        // the objectives dialog opens.
        NoProximoModal<QDialog> dialogo([](QDialog* d) { d->reject(); }, 500);
        QTest::keyClick(&b->janela(), Qt::Key_F2);
        QTest::keyClick(&b->janela(), Qt::Key_F3);
        QVERIFY(!dialogo.tratado());
        QVERIFY(!b->estado.execucao.programa_executado);
        QCOMPARE(b->mensagens.size(), 1);
    }

    void grade_refeita_mantem_selecao_e_rolagem_data()
    {
        QTest::addColumn<QString>("primeiro");
        QTest::addColumn<QString>("segundo");
        QTest::newRow("20 times, depois 6") << "brasileirao_2023.dat" << "nordeste.dat";
        QTest::newRow("6 times, depois 20") << "nordeste.dat" << "brasileirao_2023.dat";
    }

    void grade_refeita_mantem_selecao_e_rolagem()
    {
        QFETCH(QString, primeiro);
        QFETCH(QString, segundo);
        b->janela().resize(640, 330);  // small enough that the 6-team grid scrolls too
        GradeJogos* g = b->grade();
        QAbstractItemModel* m = g->model();
        QAbstractItemModelTester testador(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        b->carrega(qPrintable(primeiro));
        b->clica("botao_tabinicial");
        // Rounds 8 to 10, games 2 and 3: there in both championships.
        const auto bloco = [m] { return QItemSelection(m->index(8, 2), m->index(10, 3)); };
        g->selectionModel()->select(bloco(), QItemSelectionModel::ClearAndSelect);
        QCoreApplication::processEvents();  // the grid lays itself out before the planner scrolls
        g->horizontalScrollBar()->setValue(30);
        g->verticalScrollBar()->setValue(48);
        // The fixed headings follow: the round heading level with its games, the game
        // heading above them.
        const QModelIndex rodada = m->index(9, 0);
        const QModelIndex jogo = m->index(0, 3);
        const auto fixa = [g](const char* nome) { return g->findChild<QTableView*>(QLatin1String(nome)); };
        QCOMPARE(fixa("coluna_fixa")->visualRect(rodada).top(), g->visualRect(rodada).top());
        QCOMPARE(fixa("linha_fixa")->visualRect(jogo).left(), g->visualRect(jogo).left());

        b->carrega(qPrintable(segundo));
        b->clica("botao_tabinicial");
        QCOMPARE(b->diferenca_na_grade(b->estado.execucao.tabela_inicial), QString());
        QCOMPARE(g->selectionModel()->selection(), bloco());
        QCOMPARE(g->horizontalScrollBar()->value(), 30);
        QCOMPARE(g->verticalScrollBar()->value(), 48);
    }
};

QTEST_MAIN(TesteJanela)
#include "teste_janela.moc"
