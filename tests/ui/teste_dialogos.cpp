// The objectives, weights and search parameters dialogs, opened from the toolbar and answered as a planner
// answers them; the real file dialogs behind the file chooser; and every dialog's size.

#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

#include "apoio_ui.hpp"
#include "evaluation/objetivos.hpp"
#include "files/carga.hpp"
#include "files/requisitos.hpp"
#include "search/comandos.hpp"
#include "ui/dialogos_comuns.hpp"
#include "ui/form_economia.hpp"

using namespace kelm;
using namespace kelm::teste;

namespace {

// Replaces the edit's text as typing over it does.
void escreve(QLineEdit* e, const QString& texto)
{
    e->selectAll();
    e->insert(texto);
}

}  // namespace

class TesteDialogos : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Bancada> b;

    // Opens the dialog of the toolbar button `comando` and lets `acoes` act in it; true when
    // the dialog was open and `acoes` closed it.
    template <class D, class F>
    bool no_dialogo(const char* comando, F acoes)
    {
        bool fechou = false;
        NoProximoModal<D> vigia([&](D* d) {
            acoes(d);
            fechou = !d->isVisible();
            if (!fechou) d->reject();
        });
        b->clica(comando);
        return vigia.tratado() && fechou;
    }

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

    void peso_invalido_recusado_com_o_dialogo_aberto()
    {
        // Weights are read with the region's decimal comma.
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        bool aberto = false;
        QVERIFY(no_dialogo<Tform_pesos>("pesos", [&](Tform_pesos* d) {
            QVERIFY(QTest::qWaitForWindowActive(d));
            escreve(d->peso(1), QStringLiteral("11"));
            escreve(d->peso(2), QStringLiteral("2,9"));
            escreve(d->peso(3), QStringLiteral("três"));
            escreve(d->peso(4), QStringLiteral("14"));
            clica_botoes(d, {"ok_peso"});
            aberto = d->isVisible();
            QCOMPARE(QApplication::focusWidget(), d->peso(3));
            // Corrected, then cancelled: nothing more is stored.
            escreve(d->peso(3), QStringLiteral("13"));
            clica_botoes(d, {"cancelar_peso"});
        }));
        QVERIFY(aberto);
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].tipo, TipoMensagem::erro);
        QCOMPARE(b->mensagens[0].texto, QStringLiteral("O peso da inviabilidade 3 (\"três\") não é um número."));
        // The weights before the bad one were stored; it and those after it were not.
        auto esperado = pesos_default;
        esperado[0] = 11;
        esperado[1] = 2;
        QCOMPARE(b->estado.criterios.pesos, esperado);

        // "&Default" puts the default texts back, "&Ok" stores them.
        QVERIFY(no_dialogo<Tform_pesos>("pesos", [&](Tform_pesos* d) {
            clica_botoes(d, {"resete_peso", "ok_peso"});
        }));
        QCOMPARE(b->estado.criterios.pesos, pesos_default);
        QCOMPARE(b->mensagens.size(), 1);
    }

    void objetivos_sem_nenhum_marcado_ou_cancelados()
    {
        bool aberto = false;
        QVERIFY(no_dialogo<Tform_inviab>("objetivos", [&](Tform_inviab* d) {
            clica_botoes(d, {"todos", "resete", "ok"});
            aberto = d->isVisible();
            // Escape is "&Cancelar": an earlier choice is withdrawn.
            b->estado.criterios.objetivos_escolhidos = true;
            QVERIFY(QTest::qWaitForWindowActive(d));
            QTest::keyClick(d, Qt::Key_Escape);
        }));
        QVERIFY(aberto);
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].texto, QString::fromUtf8(msg_escolha_objetivos));
        QVERIFY(!b->estado.criterios.objetivos_escolhidos);
    }

    // The tenth objective and weight, the requirements', are read and stored only while the
    // requirements are in force (their box and edit shown); the box starts unchecked as the
    // nine do, and "&Todos" and "&Resetar" take it along, hidden or not.
    void objetivo_e_peso_dos_requisitos_data()
    {
        QTest::addColumn<bool>("em_vigor");
        QTest::newRow("em vigor") << true;
        QTest::newRow("sem requisitos") << false;
    }

    void objetivo_e_peso_dos_requisitos()
    {
        QFETCH(bool, em_vigor);
        b->programa.form_inviab.mostra_requisitos(em_vigor);
        b->programa.form_pesos.mostra_requisitos(em_vigor);
        bool decimo_marcado = false;
        QVERIFY(no_dialogo<Tform_inviab>("objetivos", [&](Tform_inviab* d) {
            QCOMPARE(d->inv(10)->isVisible(), em_vigor);
            decimo_marcado = d->inv(10)->isChecked();
            clica_botoes(d, {"todos"});
            decimo_marcado = decimo_marcado || !d->inv(10)->isChecked();
            clica_botoes(d, {"resete"});
            d->inv(8)->setChecked(true);
            clica_botoes(d, {"ok"});
        }));
        QVERIFY(!decimo_marcado);
        // Hidden, the box leaves the requirements minimised, as they are unless the planner
        // says otherwise.
        QCOMPARE(b->estado.criterios.objetivos, (std::array<std::int32_t, num_contagens>{0, 0, 0, 0, 0, 0, 0, 1, 0, !em_vigor, 1}));
        QVERIFY(!b->programa.form_inviab.inv(10)->isChecked());
        QVERIFY(no_dialogo<Tform_pesos>("pesos", [&](Tform_pesos* d) {
            QCOMPARE(d->peso(10)->text(), QStringLiteral("1000000000"));
            escreve(d->peso(10), QStringLiteral("7"));
            clica_botoes(d, {"ok_peso"});
        }));
        QCOMPARE(b->estado.criterios.pesos[static_cast<std::size_t>(Inviabilidade::requisitos)], em_vigor ? 7 : 1000000000);
    }

    void parametros_recusam_valor_ruim_e_a_execucao_os_usa()
    {
        bool aberto = false;
        QVERIFY(no_dialogo<Tform_parametros>("parametros", [&](Tform_parametros* d) {
            auto* semente = d->findChild<QLineEdit*>(QStringLiteral("semente"));
            QCOMPARE(semente->text(), QStringLiteral("333"));
            // A season of free rounds is advised the complete ones.
            auto* aviso = d->findChild<QLabel*>(QStringLiteral("aviso_temporada"));
            QVERIFY(!aviso->isVisibleTo(d));
            d->findChild<QRadioButton*>(QStringLiteral("returno_frances"))->setChecked(true);
            QVERIFY(aviso->isVisibleTo(d));
            d->findChild<QRadioButton*>(QStringLiteral("busca_compacta"))->setChecked(true);
            QVERIFY(!aviso->isVisibleTo(d));
            escreve(d->findChild<QLineEdit*>(QStringLiteral("max_reaquecimentos")), QStringLiteral("7"));
            auto* execucoes = d->findChild<QLineEdit*>(QStringLiteral("execucoes"));
            QCOMPARE(execucoes->text(), QStringLiteral("1"));
            escreve(semente, QStringLiteral("-1"));
            escreve(execucoes, QStringLiteral("0"));
            escreve(d->findChild<QLineEdit*>(QStringLiteral("esforco")), QStringLiteral("2"));
            clica_botoes(d, {"ok_parametros"});
            escreve(semente, QStringLiteral(" 42 "));
            clica_botoes(d, {"ok_parametros"});
            aberto = d->isVisible();
            escreve(execucoes, QStringLiteral("3"));
            clica_botoes(d, {"ok_parametros"});
        }));
        QVERIFY(aberto);
        QCOMPARE(b->mensagens.size(), 2);
        QCOMPARE(b->mensagens[0].texto,
                 QStringLiteral("A semente (\"-1\") deve ser um número inteiro de 0 a 4294967295."));
        QCOMPARE(b->mensagens[1].texto,
                 QStringLiteral("O número de execuções (\"0\") deve ser um número inteiro de 1 a 1000."));
        const OpcoesBusca& op = b->janela().opcoes_busca();
        QVERIFY(op.busca == TipoBusca::compacta);
        QVERIFY(op.returno == Returno::frances);
        QCOMPARE(op.max_reaquecimentos, 7);
        QCOMPARE(op.semente, 42u);
        QCOMPARE(op.execucoes, 3);
        QCOMPARE(op.esforco, 2);

        // The run command plans a season, which refuses the 10 rounds of 6 teams as a turno.
        b->carrega("nordeste.dat");
        b->estado.criterios.objetivos_escolhidos = true;
        b->clica("executar");
        QCOMPARE(b->mensagens.size(), 4);
        QVERIFY(b->mensagens[3].texto.startsWith(QStringLiteral("O returno não pode ser planejado com estes dados")));

        // "&Padrão" puts the defaults back.
        QVERIFY(no_dialogo<Tform_parametros>("parametros", [&](Tform_parametros* d) {
            clica_botoes(d, {"padrao_parametros", "ok_parametros"});
        }));
        QVERIFY(op.busca == TipoBusca::padrao);
        QVERIFY(op.returno == Returno::nenhum);
        QCOMPARE(op.max_reaquecimentos, 50);
        QCOMPARE(op.semente, 333u);
        QCOMPARE(op.execucoes, 1);
        QCOMPARE(op.esforco, 1);
    }

    void dialogo_de_salvar_real()
    {
        QTemporaryDir pasta;
        const QString existente = pasta.filePath(QStringLiteral("resultado"));
        QVERIFY(QFile(existente).open(QIODevice::WriteOnly));
        const QStringList filtros{QStringLiteral("Texto (*.txt)"), QStringLiteral("Planilha Eletrônica (*.xls)")};
        QString proposto;
        QString filtro_proposto;
        NoProximoModal<QFileDialog> vigia([&](QFileDialog* d) {
            proposto = d->selectedFiles().value(0);
            filtro_proposto = d->selectedNameFilter();
            // The planner picks the first filter and types the name of an existing file, which
            // is replaced without a question.
            d->selectNameFilter(filtros[0]);
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(existente);
            static_cast<QDialog*>(d)->accept();
        });
        const QString tabela = pasta.filePath(QStringLiteral("Tabela"));
        const auto escolha = SeletorArquivos::dialogo_salvar(&b->janela(), tabela, filtros, 2);
        QVERIFY(vigia.tratado());
        QCOMPARE(proposto, tabela);
        QCOMPARE(filtro_proposto, filtros[1]);
        QVERIFY(escolha.has_value());
        QCOMPARE(escolha->nome, existente);
        QCOMPARE(escolha->filtro, 1);
    }

    // Under the C locale of the tests the file dialog still speaks Portuguese: the type of
    // a file by its kind, the size and the date in Brazilian form, each column wide enough.
    void dialogo_de_arquivos_em_portugues()
    {
        QTemporaryDir pasta;
        QFile arquivo(pasta.filePath(QStringLiteral("resultado.txt")));
        QVERIFY(arquivo.open(QIODevice::WriteOnly) && arquivo.write(QByteArray(1536, 'x')) == 1536);
        arquivo.close();
        QStringList textos;
        bool legiveis = true;
        NoProximoModal<QFileDialog> vigia([&](QFileDialog* d) {
            d->setDirectory(pasta.path());
            const auto* detalhes = d->findChild<QTreeView*>(QStringLiteral("treeView"));
            const QModelIndex raiz = detalhes->rootIndex();
            if (QTest::qWaitFor([&] { return detalhes->model()->rowCount(raiz) == 1; }, 3000))
                for (int c = 0; c < 4; ++c) {
                    textos << detalhes->model()->index(0, c, raiz).data().toString();
                    legiveis = legiveis && (c == 0 || detalhes->header()->sectionSize(c) >=
                                                          detalhes->fontMetrics().horizontalAdvance(textos.last()) + 8);
                }
            d->reject();
        });
        SeletorArquivos::dialogo_abrir(&b->janela(), QStringLiteral("Todos (*)"));
        QVERIFY(vigia.tratado());
        QCOMPARE(textos.mid(0, 3), (QStringList{QStringLiteral("resultado.txt"), QStringLiteral("1,5 kB"),
                                                QStringLiteral("Documento de texto")}));
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$")).match(textos.value(3)).hasMatch(),
                 qPrintable(textos.value(3)));
        QVERIFY(legiveis);
    }

    // Every dialog fits a 1366 x 768 screen, with room for the desktop's panel and the title
    // bar: the coin's with the longest bundled championship (38 rounds), a message box with a
    // long message, and the file dialogs.
    void todo_dialogo_cabe_numa_tela_de_1366_por_768()
    {
        Estado e;
        QVERIFY(carrega_dados(e.campeonato, e.execucao, QFile::encodeName(exemplo("brasileirao_2023.dat")).toStdString())
                    .sucesso);
        const Tabela& t = e.execucao.tabela_inicial;
        const Economia economia = economia_obtida(e.campeonato, e.criterios, t, t);
        Tform_economia padrao(e.campeonato, economia, false);
        Tform_economia compacta(e.campeonato, economia, true);
        QVERIFY(carrega_requisitos(e.campeonato, QFile::encodeName(exemplo("brasileirao_2023_requisitos.txt")).toStdString(),
                                   e.requisitos)
                    .sucesso);
        Tform_economia requisitos(e.campeonato, economia_obtida(e.campeonato, e.criterios, t, t, &e.requisitos), false);
        QList<QPair<QString, QSize>> tamanhos;
        for (QWidget* d : std::initializer_list<QWidget*>{&b->programa.form_inviab, &b->programa.form_pesos,
                                                          &b->programa.form_parametros, &padrao, &compacta,
                                                          &requisitos}) {
            d->show();
            tamanhos.append({d->objectName(), d->frameGeometry().size()});
            d->hide();
        }
        const auto mede = [&](const QString& nome) {
            return [&tamanhos, nome](QDialog* d) {
                tamanhos.append({nome, d->frameGeometry().size()});
                d->reject();
            };
        };
        {
            NoProximoModal<QFileDialog> vigia(mede(QStringLiteral("abrir")));
            SeletorArquivos::dialogo_abrir(&b->janela(), QStringLiteral("Dados (*.dat)"));
        }
        {
            NoProximoModal<QFileDialog> vigia(mede(QStringLiteral("salvar")));
            SeletorArquivos::dialogo_salvar(&b->janela(), QStringLiteral("Tabela"), {QStringLiteral("Texto (*.txt)")}, 1);
        }
        {
            NoProximoModal<QMessageBox> vigia(mede(QStringLiteral("mensagem")));
            Mensageiro::caixa(&b->janela(), Mensagem{TipoMensagem::erro, QStringLiteral("Erro no arquivo ").repeated(30),
                                                     QStringLiteral("/um/caminho/longo/") + QString(120, QLatin1Char('c'))});
        }
        QCOMPARE(tamanhos.size(), 9);
        for (const auto& [nome, tamanho] : tamanhos)
            QVERIFY2(tamanho.width() <= tamanho_maximo_dialogo.width() && tamanho.height() <= tamanho_maximo_dialogo.height(),
                     qPrintable(QStringLiteral("%1: %2 x %3").arg(nome).arg(tamanho.width()).arg(tamanho.height())));
    }
};

QTEST_MAIN(TesteDialogos)
#include "teste_dialogos.moc"
