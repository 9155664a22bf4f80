// The planner's hand in the window: a plain table opened, a game moved with the games it takes
// along highlighted first, undone and redone, saved and read back; pins that hold, ask before
// they are broken and are saved as requirements.

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QUndoStack>

#include "apoio_ui.hpp"
#include "files/requisitos.hpp"
#include "files/tabela_jogos.hpp"
#include "model/temporada.hpp"
#include "search/comandos.hpp"
#include "ui/mao_do_planejador.hpp"

namespace kelm::teste {

class TesteMaoDoPlanejador : public QObject {
    Q_OBJECT

    std::optional<Bancada> b;
    QTemporaryDir pasta;

    // A round robin of the loaded championship by the circle method, written as a plain table
    // "rodada;mandante;visitante" under a header; `returno` adds the mirrored second half, and
    // `livre` then swaps its last two rounds so that it follows no scheme.
    QString escreve_tabela(bool returno, bool livre = false)
    {
        const Campeonato& c = b->estado.campeonato;
        const int n = c.num_times;
        QByteArray texto = "rodada;mandante;visitante\r\n";
        for (int volta = 0; volta < (returno ? 2 : 1); ++volta)
            for (int r = 0; r < n - 1; ++r)
                for (int g = 0; g < n / 2; ++g) {
                    int a = g == 0 ? n : 1 + (r + g) % (n - 1);
                    int v = 1 + (r + n - 1 - g) % (n - 1);
                    if ((r + g + volta) % 2 == 1) std::swap(a, v);
                    int rodada = volta * (n - 1) + r + 1;
                    if (livre && volta == 1 && r >= n - 3) rodada = (r == n - 3) ? 2 * n - 2 : 2 * n - 3;
                    texto += QByteArray::number(rodada) + ';' + QByteArray::fromStdString(c.nomes_times[std::size_t(a)]) +
                             ';' + QByteArray::fromStdString(c.nomes_times[std::size_t(v)]) + "\r\n";
                }
        const QString nome = pasta.filePath(QStringLiteral("tabela.csv"));
        QFile f(nome);
        f.open(QIODevice::WriteOnly);
        f.write(texto);
        return nome;
    }

    void abre(const QString& nome)
    {
        b->arquivo_a_abrir = nome;
        b->janela().findChild<QAction*>(QStringLiteral("AbrirTabela1"))->trigger();
    }
    static std::filesystem::path caminho(const QString& nome) { return QFile::encodeName(nome).toStdString(); }
    void aciona(const char* nome) { b->janela().findChild<QAction*>(QLatin1String(nome))->trigger(); }
    QAction* acao(const char* nome) { return b->janela().findChild<QAction*>(QLatin1String(nome)); }
    QString status() { return b->filho<QLabel>("resumo_execucao")->text(); }
    Tabela mostrada()
    {
        const Execucao& x = b->estado.execucao;
        return temporada_de(b->estado.campeonato, x.tabela_melhor, x.procedencia.returno).tabela;
    }

    // How many games of the grid are painted on `fundo`.
    int marcados(const QColor& fundo)
    {
        int n = 0;
        const QAbstractItemModel* m = b->grade()->model();
        for (int r = 1; r < m->rowCount(); ++r)
            for (int c = 1; c < m->columnCount(); ++c) n += m->index(r, c).data(Qt::BackgroundRole).value<QColor>() == fundo;
        return n;
    }

    // The counts and FO of the schedule shown, scored from scratch as kelm-lote --avaliar does.
    TabelaAvaliada recontagem(const Tabela& tabela)
    {
        Criterios k = b->estado.criterios;
        k.objetivos = b->estado.execucao.procedencia.objetivos_no_fim;
        TabelaAvaliada a;
        const Requisitos q = b->estado.execucao.procedencia.com_requisitos ? b->estado.requisitos : Requisitos{};
        if (!avalia_tabela_dada(b->estado.campeonato, k, q, tabela, a).sucesso) a.fo = -1.0;
        return a;
    }

private slots:
    void init()
    {
        b.emplace();
        QVERIFY(b->mostra());
        b->carrega("nordeste_turno.dat");
    }
    void cleanup() { b.reset(); }

    void move_desfaz_refaz_e_salva_data()
    {
        QTest::addColumn<bool>("returno");
        QTest::newRow("turno") << false;
        QTest::newRow("temporada espelhada") << true;
    }
    void move_desfaz_refaz_e_salva()
    {
        QFETCH(bool, returno);
        abre(escreve_tabela(returno));
        QVERIFY2(status().startsWith(QStringLiteral("A tabela foi aberta")), qPrintable(status()));
        const Tabela aberta = mostrada();
        const Contagens contagens0 = b->estado.execucao.inviabilidades_melhor;
        const double fo0 = b->estado.execucao.fo_star;

        // The move, from the last round shown; while the dialog asks, the games it moves are amber.
        b->grade()->setCurrentIndex(b->grade()->model()->index(aberta.linhas(), 1));
        int destacados = 0;
        b->janela().mao().substitui_escolha([&](QWidget*, const Escolha& e) -> std::optional<int> {
            e.ao_mudar(0);
            destacados = marcados(fundo_previa());
            if (qEnvironmentVariableIsSet("KELM_CAPTURA")) b->janela().grab().save(qEnvironmentVariable("KELM_CAPTURA"));
            return 0;
        });
        QVERIFY(acao("MoverJogo1")->isEnabled());
        aciona("MoverJogo1");
        const Tabela movida = mostrada();
        QVERIFY(!(movida == aberta));
        int diferentes = 0;
        for (int r = 0; r < movida.linhas(); ++r)
            for (int g = 0; g < movida.colunas(); ++g) diferentes += movida[r][g] == aberta[r][g] ? 0 : 1;
        QCOMPARE(destacados, diferentes);
        QCOMPARE(marcados(fundo_mudado()), diferentes);
        QCOMPARE(marcados(fundo_previa()), 0);
        QVERIFY2(status().contains(QStringLiteral("mudaram de rodada")), qPrintable(status()));
        const TabelaAvaliada depois = recontagem(movida);
        QCOMPARE(b->estado.execucao.inviabilidades_melhor, depois.contagens);
        QCOMPARE(b->estado.execucao.fo_star, depois.fo);

        // Undo back to the schedule opened, its exact counts; redo the move.
        QTest::keyClick(&b->janela(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(mostrada() == aberta);
        QCOMPARE(b->estado.execucao.inviabilidades_melhor, contagens0);
        QCOMPARE(b->estado.execucao.fo_star, fo0);
        QCOMPARE(marcados(fundo_mudado()), 0);
        QTest::keyClick(&b->janela(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(mostrada() == movida);

        // Saved: the file reads back as the schedule shown, with its counts and FO.
        b->arquivo_a_salvar = ArquivoEscolhido{pasta.filePath(QStringLiteral("movida.txt")), 1};
        b->clica("botao_salvar");
        Tabela lida;
        std::string fo_do_arquivo;
        const auto salvo = caminho(pasta.filePath(QStringLiteral("movida.txt")));
        QVERIFY(carrega_tabela(b->estado.campeonato, salvo, lida, &fo_do_arquivo).sucesso);
        QVERIFY(lida == movida);
        QCOMPARE(recontagem(lida).contagens, b->estado.execucao.inviabilidades_melhor);
        QCOMPARE(QString::fromStdString(fo_do_arquivo).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(), depois.fo);
        QCOMPARE(marcados(fundo_mudado()), 0);
        QCOMPARE(b->janela().mao().pilha().count(), 1);

        // A new schedule opened leaves nothing to undo.
        abre(escreve_tabela(returno));
        QVERIFY(!acao("Desfazer1")->isEnabled());
        // Moved and undone back to the file opened: nothing to save when the window closes.
        aciona("MoverJogo1");
        QTest::keyClick(&b->janela(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(b->janela().close() && b->perguntas.isEmpty());
    }

    void pinos_valem_perguntam_e_sao_salvos()
    {
        abre(escreve_tabela(false));
        b->grade()->setCurrentIndex(b->grade()->model()->index(2, 1));
        aciona("FixarJogo1");
        const Jogo j = mostrada()[1][0];
        QVERIFY(esta_fixado(b->estado.requisitos, j.mandante(), j.visitante(), 2));
        QVERIFY(b->grade()->model()->index(2, 1).data(Qt::DecorationRole).isValid());
        QVERIFY(b->grade()->model()->index(2, 1).data(Qt::ToolTipRole).toString().contains(QStringLiteral("fixado")));
        QVERIFY(!acao("FixarJogo1")->isEnabled() && acao("Soltar1")->isEnabled());
        QCOMPARE(b->estado.execucao.inviabilidades_melhor[Inviabilidade::requisitos], 0.0);
        const auto* lista = b->filho<QListWidget>("lista_requisitos");
        QCOMPARE(lista->findItems(QStringLiteral("# fixado"), Qt::MatchContains).size(), 1);
        QCOMPARE(b->filho<QLabel>("requisitos_em_vigor")->text(), QStringLiteral("Requisitos: jogos fixados na janela"));

        // Inverting the pinned game asks first: "Não" keeps it, "Sim" breaks the pin, counted.
        const Tabela antes = mostrada();
        aciona("InverterMando1");
        QCOMPARE(b->perguntas.size(), 1);
        QVERIFY(mostrada() == antes);
        b->respostas = {0};
        aciona("InverterMando1");
        QVERIFY(!(mostrada() == antes));
        QCOMPARE(b->estado.execucao.inviabilidades_melhor[Inviabilidade::requisitos], 1.0);
        QCOMPARE(b->estado.execucao.inviabilidades_melhor, recontagem(mostrada()).contagens);

        // Never over the result saved; elsewhere saved as requirements, read back: the pin is there.
        b->arquivo_a_salvar = ArquivoEscolhido{pasta.filePath(QStringLiteral("r.txt")), 1};
        b->clica("botao_salvar");
        const QByteArray resultado = le_arquivo(pasta.filePath(QStringLiteral("r.txt")));
        aciona("SalvarRequisitos1");
        QCOMPARE(le_arquivo(pasta.filePath(QStringLiteral("r.txt"))), resultado);
        QVERIFY(b->mensagens.last().texto.contains(QStringLiteral("não foi salvo")));
        b->arquivo_a_salvar = ArquivoEscolhido{pasta.filePath(QStringLiteral("pinos")), 1};
        aciona("SalvarRequisitos1");
        Requisitos lidos;
        QVERIFY(carrega_requisitos(b->estado.campeonato, caminho(pasta.filePath(QStringLiteral("pinos.txt"))), lidos).sucesso);
        QVERIFY(esta_fixado(lidos, j.mandante(), j.visitante(), 2));
    }

    // A run replaces the result: nothing to undo, and its changes re-scored as a full count does.
    void execucao_recomeca_a_mao()
    {
        abre(escreve_tabela(false));
        b->grade()->setCurrentIndex(b->grade()->model()->index(1, 1));
        aciona("InverterMando1");
        QVERIFY(acao("Desfazer1")->isEnabled());
        b->estado.criterios.objetivos_escolhidos = true;
        b->janela().opcoes_busca().busca = TipoBusca::compacta;
        QVERIFY(b->executa());
        QVERIFY(!acao("Desfazer1")->isEnabled());
        b->clica("botao_resultado");
        b->grade()->setCurrentIndex(b->grade()->model()->index(3, 2));
        aciona("InverterMando1");
        QCOMPARE(b->estado.execucao.inviabilidades_melhor, recontagem(mostrada()).contagens);
    }

    // The program's own dialog: the games of the round shown as chosen are amber; OK moves them.
    void dialogo_marca_a_escolha_e_troca()
    {
        abre(escreve_tabela(false));
        const Tabela aberta = mostrada();
        b->grade()->setCurrentIndex(b->grade()->model()->index(1, 1));
        QList<bool> ambar;  // rounds 1, 2 and 3
        NoProximoModal<QDialog> dialogo([&](QDialog* d) {
            d->findChild<QComboBox*>(QStringLiteral("itens"))->setCurrentIndex(1);
            for (int r = 1; r <= 3; ++r)
                ambar << (b->grade()->model()->index(r, 1).data(Qt::BackgroundRole).value<QColor>() == fundo_previa());
            d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        aciona("TrocarRodadas1");
        QVERIFY(dialogo.tratado());
        QCOMPARE(ambar, (QList<bool>{true, false, true}));
        QVERIFY(mostrada()[0][0] == aberta[2][0]);
    }

    void temporada_livre_ou_arquivo_recusado()
    {
        // A table naming a team the championship does not have: refused, with its file and line.
        QFile ruim(pasta.filePath(QStringLiteral("ruim.csv")));
        QVERIFY(ruim.open(QIODevice::WriteOnly));
        ruim.write("rodada;mandante;visitante\n1;Bahia;Palmeiras\n");
        ruim.close();
        abre(ruim.fileName());
        const QString dito = b->mensagens.last().texto + b->mensagens.last().detalhe;
        QVERIFY2(dito.contains(QStringLiteral("ruim.csv")) && dito.contains(QLatin1Char('2')), qPrintable(dito));
        QVERIFY(!b->estado.execucao.programa_executado);

        abre(escreve_tabela(true, true));
        QVERIFY2(status().contains(QStringLiteral("livre")), qPrintable(status()));
        b->grade()->setCurrentIndex(b->grade()->model()->index(1, 1));
        QVERIFY(!acao("TrocarRodadas1")->isEnabled());
        QVERIFY(acao("TrocarRodadas1")->toolTip().startsWith(QStringLiteral("A tabela não pode ser mudada à mão")));
        QVERIFY(acao("FixarJogo1")->isEnabled());
        b->mensagens.clear();
        acao("Replanejar1")->trigger();
        QVERIFY(b->mensagens.value(0).texto.contains(QStringLiteral("nem espelhado nem francês")));
    }
};

}  // namespace kelm::teste

QTEST_MAIN(kelm::teste::TesteMaoDoPlanejador)
#include "teste_mao_do_planejador.moc"
