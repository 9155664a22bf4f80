// The main window as a planner meets it: the commands' states at start, loading a
// championship, the schedule grid, a new initial solution and the result commands before
// any run.

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "apoio_ui.hpp"
#include "ui/regional.hpp"

using namespace kelm;
using namespace kelm::teste;

class TesteJanela : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Bancada> b;

private slots:
    void init()
    {
        b = std::make_unique<Bancada>();
        QVERIFY(b->mostra());
    }
    void cleanup()
    {
        b.reset();
        QLocale::setDefault(QLocale::system());
    }

    void menus_no_inicio_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("habilitado");
        QTest::addColumn<QKeySequence>("atalho");
        auto linha = [](const char* nome, const char* menu, const char* texto, bool habilitado,
                        QKeySequence atalho = {}) {
            QTest::newRow(nome) << QString::fromUtf8(nome) << QString::fromUtf8(menu) << QString::fromUtf8(texto)
                                << habilitado << atalho;
        };
        linha("Principal1", "", "&Principal", true);
        linha("Abrir1", "Principal1", "Abrir", true, QKeySequence(Qt::Key_F1));
        linha("Salvar1", "Principal1", "Salvar", true);
        linha("Sair1", "Principal1", "Sair", true);
        linha("Campeonato1", "", "&Campeonato", false);
        linha("Turnonico1", "Campeonato1", "Turno Único", true);
        linha("TurnoReturno1", "Campeonato1", "Turno/Returno", true);
        linha("Execuo1", "", "&Execução", false);
        linha("Parmetros1", "Execuo1", "&Parâm&etros", false);
        linha("Pesos1", "Execuo1", "Pe&sos", false);
        linha("Objetivos1", "Execuo1", "&Objetivos", false, QKeySequence(Qt::Key_F3));
        linha("Executar1", "Execuo1", "E&xecutar", false, QKeySequence(Qt::Key_F2));
        linha("Movimentos1", "", "&Movimentos", false);
        linha("TrocadeJogos1", "Movimentos1", "Troca de Jogos", false);
        linha("TrocadeMando1", "Movimentos1", "Troca de Mando", false);
        linha("Arquivo1", "", "&Arquivo", false);
        linha("Times1", "Arquivo1", "Clubes", false);
        linha("Distncias1", "Arquivo1", "Distâncias", false);
        linha("SedesdosClubes1", "Arquivo1", "Sedes dos Clubes", false);
        linha("Impressos1", "", "&Resultados", false);
        linha("TabelaObtida1", "Impressos1", "Tabela Obtida", true);
        linha("Economia1", "Impressos1", "Números...", true);
        linha("Crditos1", "", "C&réditos", true);
    }

    void menus_no_inicio()
    {
        QFETCH(QString, nome);
        QFETCH(QString, menu);
        QFETCH(QString, texto);
        QFETCH(bool, habilitado);
        QFETCH(QKeySequence, atalho);
        QMenuBar* barra = b->janela().menuBar();
        QAction* acao = nullptr;
        if (menu.isEmpty()) {
            // A top-level entry, in the bar's order.
            for (QAction* a : barra->actions())
                if (a->objectName() == nome) acao = a;
        } else {
            auto* m = barra->findChild<QMenu*>(menu);
            QVERIFY(m != nullptr);
            QVERIFY(barra->actions().contains(m->menuAction()));
            for (QAction* a : m->actions())
                if (a->objectName() == nome) acao = a;
        }
        QVERIFY2(acao != nullptr, qPrintable(nome));
        QCOMPARE(acao->text(), texto);
        QCOMPARE(acao->isEnabled(), habilitado);
        QCOMPARE(acao->shortcut(), atalho);
    }

    void ordem_dos_menus()
    {
        QStringList textos;
        for (QAction* a : b->janela().menuBar()->actions()) textos << a->text();
        QCOMPARE(textos, (QStringList{QStringLiteral("&Principal"), QStringLiteral("&Campeonato"),
                                      QStringLiteral("&Execução"), QStringLiteral("&Movimentos"),
                                      QStringLiteral("&Arquivo"), QStringLiteral("&Resultados"),
                                      QStringLiteral("C&réditos")}));
        QStringList principal;
        for (QAction* a : b->janela().menuBar()->findChild<QMenu*>(QStringLiteral("Principal1"))->actions())
            principal << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(principal, (QStringList{QStringLiteral("Abrir"), QStringLiteral("Salvar"), QStringLiteral("-"),
                                         QStringLiteral("Sair")}));
    }

    void barra_no_inicio_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("esquerda");
        QTest::addColumn<QString>("dica");
        QTest::addColumn<int>("ponteiro");
        QTest::addColumn<bool>("habilitado");
        auto linha = [](const char* nome, int esquerda, const char* dica, Qt::CursorShape ponteiro, bool habilitado) {
            QTest::newRow(nome) << QString::fromUtf8(nome) << esquerda << QString::fromUtf8(dica) << int(ponteiro)
                                << habilitado;
        };
        const auto mao = Qt::PointingHandCursor;
        const auto proibido = Qt::ForbiddenCursor;
        linha("botao_salvar", 0, "Salvar Tabela de Resultados", mao, true);
        linha("botao_abrir", 57, "Abrir Arquivo de Dados", mao, true);
        linha("executar", 115, "", mao, false);
        linha("objetivos", 172, "", mao, true);
        linha("pesos", 229, "Configurar Pesos ", mao, true);
        linha("parametros", 286, "Gerar Nova Solução Inicial", mao, true);
        linha("sol_inicial", 343, "Gerar Nova Solução Inicial", proibido, true);
        linha("botao_tabinicial", 400, "Tabela Inicial", proibido, true);
        linha("botao_resultado", 457, "Visualizar Tabela Obtida", proibido, true);
        linha("botao_economia", 514, "Economia Obtida", proibido, true);
        linha("botao_fechar", 573, "Sair do Programa", mao, true);
    }

    void barra_no_inicio()
    {
        QFETCH(QString, nome);
        QFETCH(int, esquerda);
        QFETCH(QString, dica);
        QFETCH(int, ponteiro);
        QFETCH(bool, habilitado);
        auto* botao = b->janela().findChild<QToolButton*>(nome);
        QVERIFY(botao != nullptr);
        QCOMPARE(botao->geometry(), QRect(esquerda, 3, 57, 49));
        QCOMPARE(botao->toolTip(), dica);
        QCOMPARE(int(botao->cursor().shape()), ponteiro);
        QCOMPARE(botao->isEnabled(), habilitado);
        QVERIFY(botao->autoRaise());
        if (nome == QLatin1String("parametros")) {
            QCOMPARE(botao->text(), QStringLiteral("T0`"));
            QVERIFY(botao->font().bold());
            QCOMPARE(botao->font().pointSize(), 15);
        } else {
            QVERIFY(!botao->icon().isNull());
            // Every picture is there, also on a machine without an icon theme; the run
            // button's greyed image differs from its normal one.
            const QImage normal = botao->icon().pixmap(32, QIcon::Normal).toImage();
            const QImage cinza = botao->icon().pixmap(32, QIcon::Disabled).toImage();
            QVERIFY(!normal.isNull());
            QVERIFY(normal != cinza);
        }
    }

    void janela_no_inicio()
    {
        Tform_global& j = b->janela();
        QCOMPARE(j.windowTitle(), QStringLiteral(" Programação de Jogos do Campeonato Tolmareska de Futebol"));
        for (const char* nome : {"tabela_jogos", "panel_jogos", "executando", "calc_temp"})
            QVERIFY2(!b->filho(nome)->isVisible(), nome);
        QWidget* painel = b->filho("Panel2");
        QCOMPARE(painel->grab().toImage().pixelColor(painel->width() / 2, painel->height() / 2), QColor(0, 128, 0));
        QCOMPARE(j.statusBar()->height(), 19);
        QVERIFY(j.statusBar()->currentMessage().isEmpty());
        QCOMPARE(b->filho("executando")->geometry(), QRect(288, 72, 473, 393));
        QCOMPARE(b->rotulo("reaquece"), QStringLiteral("Nº de Reaquecimentos: 0"));
        // Character heights and weights of the progress panel's labels.
        for (const auto& [nome, pixels, negrito] : {std::tuple{"Label1", 21, true}, std::tuple{"Label2", 16, true},
                                                    std::tuple{"Label8", 19, true}, std::tuple{"inv9", 13, true},
                                                    std::tuple{"Label6", 19, false}, std::tuple{"fo", 16, true}}) {
            const QFont f = b->filho<QLabel>(nome)->font();
            QCOMPARE(f.pixelSize(), pixels);
            QCOMPARE(f.bold(), negrito);
        }
        QCOMPARE(b->filho<QLabel>("fo")->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QCOMPARE(b->filho("executando")->palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Highlight));
        QCOMPARE(b->rotulo("temp_inicial"), QStringLiteral("T0"));
        QCOMPARE(b->rotulo("Label9"), QStringLiteral("Calculando T0..."));
        // The default objectives of the window's creation.
        QCOMPARE(b->estado.criterios.objetivos, (std::array<std::int32_t, 9>{}));
        QCOMPARE(b->estado.criterios.pesos, pesos_default);
        QVERIFY(!b->estado.criterios.objetivos_escolhidos);
    }

    void f1_carrega_um_campeonato()
    {
        b->arquivo_a_abrir = exemplo("nordeste.dat");
        QTest::keyClick(&b->janela(), Qt::Key_F1);
        QCOMPARE(b->filtros_de_abrir, QStringList{QStringLiteral("Documentos de dados de entrada (*.dat)")});
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].tipo, TipoMensagem::informacao);
        QCOMPARE(b->mensagens[0].texto,
                 QStringLiteral("Os dados foram carregados com sucesso.\n Uma solução inicial aleatória foi gerada."));
        QCOMPARE(b->estado.campeonato.num_times, 6);
        QCOMPARE(b->estado.campeonato.num_rodadas, 10);

        QVERIFY(b->botao("executar")->isEnabled());
        auto* executar1 = b->janela().findChild<QAction*>(QStringLiteral("Executar1"));
        QVERIFY(executar1->isEnabled());
        QVERIFY(!b->janela().findChild<QMenu*>(QStringLiteral("Execuo1"))->menuAction()->isEnabled());
        QCOMPARE(b->botao("botao_tabinicial")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(b->botao("sol_inicial")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(b->botao("botao_resultado")->cursor().shape(), Qt::ForbiddenCursor);
        QCOMPARE(b->botao("botao_economia")->cursor().shape(), Qt::ForbiddenCursor);
    }

    void carga_que_falha_nao_muda_os_comandos()
    {
        QTemporaryDir pasta;
        QFile dados(pasta.filePath(QStringLiteral("sem_distancias.dat")));
        QVERIFY(dados.open(QIODevice::WriteOnly));
        dados.write("6, 10\nnao_existe.txt\nnomes.txt\n");
        dados.close();

        b->arquivo_a_abrir.clear();  // the dialog was cancelled
        b->clica("botao_abrir");
        b->arquivo_a_abrir = dados.fileName();
        b->clica("botao_abrir");
        QCOMPARE(b->mensagens.size(), 2);
        QCOMPARE(b->mensagens[0].tipo, TipoMensagem::erro);
        QCOMPARE(b->mensagens[0].texto, QStringLiteral("O Arquivo de dados não foi aberto."));
        QCOMPARE(b->mensagens[1].tipo, TipoMensagem::erro);
        QCOMPARE(b->mensagens[1].texto, QStringLiteral("O Arquivo de distâncias não foi aberto."));
        QVERIFY(b->mensagens[1].detalhe.contains(QStringLiteral("nao_existe.txt")));
        QVERIFY(!b->botao("executar")->isEnabled());
        QCOMPARE(b->botao("botao_tabinicial")->cursor().shape(), Qt::ForbiddenCursor);
        QVERIFY(!b->estado.campeonato.dados_carregados);

        // After a good load, a failing one leaves the commands as they are, for good.
        b->carrega("nordeste.dat");
        const Tabela antes = b->estado.execucao.tabela_inicial;
        b->arquivo_a_abrir = dados.fileName();
        b->clica("botao_abrir");
        QVERIFY(b->botao("executar")->isEnabled());
        QCOMPARE(b->botao("botao_tabinicial")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(b->estado.campeonato.num_times, 6);
        QVERIFY(b->estado.execucao.tabela_inicial == antes);
    }

    void f2_e_f3_nada_fazem_com_seu_menu_desabilitado()
    {
        auto tenta = [this] {
            NoProximoModal<QDialog> dialogo([](QDialog* d) { d->reject(); }, 500);
            QTest::keyClick(&b->janela(), Qt::Key_F2);
            QTest::keyClick(&b->janela(), Qt::Key_F3);
            QTest::qWait(50);
            return dialogo.tratado();
        };
        QVERIFY(!tenta());
        b->carrega("nordeste.dat");
        b->mensagens.clear();
        // "E&xecutar" is now enabled, but its menu is not: F2 still runs nothing.
        QVERIFY(!tenta());
        QVERIFY(b->mensagens.isEmpty());
        QVERIFY(!b->estado.execucao.programa_executado);
        QVERIFY(!b->estado.criterios.objetivos_escolhidos);
    }

    void comandos_sem_dados_respondem_com_mensagem()
    {
        b->clica("botao_tabinicial");
        b->clica("botao_resultado");
        b->clica("sol_inicial");
        b->janela().findChild<QAction*>(QStringLiteral("TabelaObtida1"))->trigger();
        b->clica("botao_salvar");
        QStringList textos;
        QList<int> tipos;
        for (const Mensagem& m : b->mensagens) {
            textos << m.texto;
            tipos << int(m.tipo);
        }
        const int info = int(TipoMensagem::informacao);
        QCOMPARE(tipos, (QList<int>{info, info, info, info, int(TipoMensagem::erro)}));
        QCOMPARE(textos,
                 (QStringList{
                     QStringLiteral("A Tabela inicial não pode ser mostrada. Os dados não foram carregados."),
                     QStringLiteral("A Tabela de Resultado não pode ser mostrada. O programa ainda não foi executado."),
                     QStringLiteral("Os dados não foram carregados."),
                     QStringLiteral("A Tabela de Resultado não pode ser mostrada. O programa ainda não foi executado."),
                     QStringLiteral("A Tabela de Resultado não pode ser salva. O programa ainda não foi executado."),
                 }));
        // Nothing to save: no file name is asked for.
        QVERIFY(b->pedidos_de_salvar.isEmpty());
        QVERIFY(!b->grade()->isVisible());

        // The buttons without a command and "C&réditos" do nothing at all.
        b->mensagens.clear();
        NoProximoModal<QWidget> qualquer([](QWidget* w) { w->close(); }, 500);
        b->clica("parametros");
        b->clica("botao_economia");
        b->janela().findChild<QAction*>(QStringLiteral("Crditos1"))->trigger();
        QTest::qWait(50);
        QVERIFY(!qualquer.tratado());
        QVERIFY(b->mensagens.isEmpty());
    }

    void resultado_antes_de_executar()
    {
        b->carrega("nordeste.dat");
        b->mensagens.clear();
        b->clica("botao_resultado");
        b->clica("botao_salvar");
        QCOMPARE(b->mensagens.size(), 2);
        QCOMPARE(b->mensagens[0].texto,
                 QStringLiteral("A Tabela de Resultado não pode ser mostrada. O programa ainda não foi executado."));
        QCOMPARE(b->mensagens[1].texto,
                 QStringLiteral("A Tabela de Resultado não pode ser salva. O programa ainda não foi executado."));
        QVERIFY(!b->grade()->isVisible());
    }

    void tabela_inicial_na_grade()
    {
        b->carrega("nordeste.dat");
        b->clica("botao_tabinicial");
        GradeJogos* g = b->grade();
        QVERIFY(g->isVisible());
        QVERIFY(b->filho("panel_jogos")->isVisible());
        QCOMPARE(g->model()->columnCount(), 4);
        QCOMPARE(g->model()->rowCount(), 11);
        QCOMPARE(g->celula(0, 0), QStringLiteral("            RODADA / JOGO"));
        QCOMPARE(g->celula(0, 1), QStringLiteral("               1ª RODADA "));
        QCOMPARE(g->celula(0, 10), QStringLiteral("               10ª RODADA "));
        QCOMPARE(g->celula(3, 0), QStringLiteral("               3º JOGO "));
        const Estado& e = b->estado;
        int vazias = 0;
        for (int r = 1; r <= 10; ++r) {
            for (int c = 1; c <= 3; ++c) {
                QCOMPARE(g->celula(c, r), jogo_esperado(e.execucao.tabela_inicial[r - 1][c - 1], e));
                if (g->celula(c, r).isEmpty()) ++vazias;
            }
        }
        // Six teams fill five rounds; the other five are empty slots.
        QCOMPARE(vazias, 15);
        // Names read from a Latin-1 file keep their accents.
        bool vitoria = false;
        for (int r = 1; r <= 5; ++r)
            for (int c = 1; c <= 3; ++c) vitoria = vitoria || g->celula(c, r).contains(QStringLiteral("Vitória"));
        QVERIFY(vitoria);

        QCOMPARE(g->columnWidth(2), 170);
        QCOMPARE(g->rowHeight(5), 24);
        QCOMPARE(g->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!(g->model()->flags(g->model()->index(1, 1)) & Qt::ItemIsEditable));
        QCOMPARE(g->palette().color(QPalette::Base), QApplication::palette().color(QPalette::ToolTipBase));
    }

    void grade_grande_rola_sob_os_cabecalhos_fixos()
    {
        b->carrega("brasileirao_2023.dat");
        b->clica("botao_tabinicial");
        GradeJogos* g = b->grade();
        QCOMPARE(g->model()->columnCount(), 11);
        QCOMPARE(g->model()->rowCount(), 39);
        QCOMPARE(g->celula(0, 38), QStringLiteral("               38ª RODADA "));
        QCOMPARE(g->celula(10, 0), QStringLiteral("               10º JOGO "));
        QCOMPARE(g->celula(10, 19), jogo_esperado(b->estado.execucao.tabela_inicial[18][9], b->estado));

        // Scrolled to the end both ways, the heading column and row follow, and stay in place.
        g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
        g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->maximum());
        QVERIFY(g->verticalScrollBar()->value() > 0);
        QVERIFY(g->horizontalScrollBar()->value() > 0);
        auto* coluna = g->findChild<QTableView*>(QStringLiteral("coluna_fixa"));
        auto* linha = g->findChild<QTableView*>(QStringLiteral("linha_fixa"));
        QVERIFY(coluna->isVisible() && linha->isVisible());
        QCOMPARE(coluna->verticalScrollBar()->value(), g->verticalScrollBar()->value());
        QCOMPARE(linha->horizontalScrollBar()->value(), g->horizontalScrollBar()->value());
        QCOMPARE(coluna->geometry().topLeft(), g->viewport()->geometry().topLeft());
        QCOMPARE(coluna->width(), 170);
        QCOMPARE(linha->height(), 24);
        // The last round's heading is painted in the fixed column, level with its games.
        const QModelIndex ultima = g->model()->index(38, 0);
        QCOMPARE(coluna->visualRect(ultima).top(), g->visualRect(ultima).top());
    }

    void fecha_e_enter_escondem_a_grade()
    {
        b->carrega("nordeste.dat");
        b->clica("botao_tabinicial");
        auto* fecha = b->filho<QPushButton>("ok");
        QCOMPARE(fecha->text(), QStringLiteral("&Fecha"));
        QCOMPARE(fecha->geometry(), QRect(7, 10, 81, 41));
        QCOMPARE(b->filho("panel_jogos")->height(), 60);
        QTest::mouseClick(fecha, Qt::LeftButton);
        QVERIFY(!b->grade()->isVisible());
        QVERIFY(!b->filho("panel_jogos")->isVisible());

        b->clica("botao_tabinicial");
        QVERIFY(b->grade()->isVisible());
        b->grade()->setFocus();
        QTest::keyClick(&b->janela(), Qt::Key_Return);
        QVERIFY(!b->grade()->isVisible());
        QVERIFY(!b->filho("panel_jogos")->isVisible());
        // Nothing else changed.
        QVERIFY(b->estado.campeonato.dados_carregados);
        QCOMPARE(b->mensagens.size(), 1);
    }

    void nova_solucao_inicial_substitui_e_mostra()
    {
        b->carrega("nordeste.dat");
        const Tabela da_carga = b->estado.execucao.tabela_inicial;
        b->mensagens.clear();
        b->clica("sol_inicial");
        QVERIFY(b->mensagens.isEmpty());  // the grid is the answer
        QVERIFY(b->grade()->isVisible());
        QVERIFY(!(b->estado.execucao.tabela_inicial == da_carga));
        for (int r = 1; r <= 5; ++r)
            for (int c = 1; c <= 3; ++c)
                QCOMPARE(b->grade()->celula(c, r), jogo_esperado(b->estado.execucao.tabela_inicial[r - 1][c - 1], b->estado));
        QVERIFY(!b->estado.execucao.programa_executado);
        b->clica("botao_resultado");
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].texto,
                 QStringLiteral("A Tabela de Resultado não pode ser mostrada. O programa ainda não foi executado."));
    }

    void modelo_da_grade_e_coerente()
    {
        b->carrega("nordeste.dat");
        ModeloGrade* modelo = b->grade()->modelo();
        QAbstractItemModelTester testador(modelo, QAbstractItemModelTester::FailureReportingMode::QtTest);
        b->clica("botao_tabinicial");
        b->clica("sol_inicial");  // same size: only the texts change
        b->carrega("brasileirao_2023.dat");
        b->clica("botao_tabinicial");  // another size
        QCOMPARE(modelo->rowCount(), 39);
        QVERIFY(!modelo->data(modelo->index(1, 1)).toString().isEmpty());
        QVERIFY(!modelo->data(QModelIndex()).isValid());
    }

    void sair_fecha_a_janela()
    {
        b->clica("botao_fechar");
        QVERIFY(!b->janela().isVisible());
        QVERIFY(b->mostra());
        b->janela().findChild<QAction*>(QStringLiteral("Sair1"))->trigger();
        QVERIFY(!b->janela().isVisible());
        QVERIFY(b->mensagens.isEmpty());
    }

    void formatos_regionais()
    {
        const QLocale br(QLocale::Portuguese, QLocale::Brazil);
        const QLocale c = QLocale::c();
        QCOMPARE(separador_decimal(br), ',');
        QCOMPARE(separador_decimal(c), '.');
        QCOMPARE(numero(2.5, br), QStringLiteral("2,5"));
        QCOMPARE(numero(-1e-11, c), QStringLiteral("-1E-11"));
        QCOMPARE(numero(1000000000.0, br), QStringLiteral("1000000000"));
        // Clock times in the regional long format, without the time zone.
        QCOMPARE(texto_hora(0.75, br), QStringLiteral("18:00:00"));
        QCOMPARE(texto_hora(0.75, c), QStringLiteral("18:00:00"));
        const QString eua = texto_hora(0.75, QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY2(eua.startsWith(QStringLiteral("6:00:00")) && eua.contains(QStringLiteral("PM")), qPrintable(eua));
        QCOMPARE(duracao(1.0 / 86400 * 3725), QStringLiteral("01:02:05"));
    }
};

QTEST_MAIN(TesteJanela)
#include "teste_janela.moc"
