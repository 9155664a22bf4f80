// The objectives and weights dialogs, opened from the toolbar as a planner opens them, and
// the real file dialogs behind the file chooser.

#include <QCheckBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "apoio_ui.hpp"

using namespace kelm;
using namespace kelm::teste;

namespace {

QPushButton* botao(QWidget* dialogo, const char* nome) { return dialogo->findChild<QPushButton*>(QLatin1String(nome)); }

void clica(QWidget* dialogo, const char* nome) { QTest::mouseClick(botao(dialogo, nome), Qt::LeftButton); }

QCheckBox* inv(QWidget* dialogo, int k)
{
    return dialogo->findChild<QCheckBox*>(QStringLiteral("inv%1").arg(k));
}

QLineEdit* peso(QWidget* dialogo, int k) { return dialogo->findChild<QLineEdit*>(QStringLiteral("peso%1").arg(k)); }

void escreve(QLineEdit* e, const QString& texto)
{
    e->selectAll();
    if (texto.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        QTest::keyClicks(e, texto);
}

QList<bool> marcas(QWidget* dialogo)
{
    QList<bool> m;
    for (int k = 1; k <= 9; ++k) m << inv(dialogo, k)->isChecked();
    return m;
}

}  // namespace

class TesteDialogos : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Bancada> b;

    // Opens the dialog of the toolbar button `comando` and lets `acoes` act in it; true when
    // the dialog was open and then closed.
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

    void objetivos_como_criado()
    {
        Tform_inviab& d = b->programa->form_inviab;
        QCOMPARE(d.windowTitle(), QStringLiteral(" OBJETIVOS A CUMPRIR"));
        QVERIFY(d.width() >= 683 && d.height() >= 401);
        QCOMPARE(d.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(),
                 QStringLiteral("  OBJETIVOS A SEREM CUMPRIDOS  "));
        const QStringList legendas{
            QStringLiteral("Minimizar o nº de vezes que um time jogam mais de uma vez na mesma rodada."),
            QStringLiteral("Minimizar o nº de vezes que um time joga o 1º e o 2º  jogo dentro ou fora de casa ambos."),
            QStringLiteral("Minimizar o nº de vezes que os dois últimos jogos não repetem a configuração dos dois primeiros."),
            QStringLiteral("Minimizar o nº de vezes que o nº de jogos dentro de casa é diferente do nº de jogos fora de casa."),
            QStringLiteral("Minimizar o nº de vezes que dois times do mesmo estado jogam na última rodada."),
            QStringLiteral("Minimizar o nº de vezes que um time joga mais de duas vezes consecutivas fora de casa."),
            QStringLiteral("Minimizar o nº de vezes que um time joga mais de duas vezes consecutivas dentro de casa."),
            QStringLiteral("Minimizar da distância total percorrida."),
            QStringLiteral("Minimizar a diferença entre a maior e a menor distância percorrida durante o campeonato."),
        };
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        for (int k = 1; k <= 9; ++k) {
            QCheckBox* c = inv(&d, k);
            QCOMPARE(c->text(), legendas[k - 1]);
            QVERIFY(!c->isChecked());
            QCOMPARE(c->font().pixelSize(), 13);
            // One below the other, every 24 pixels, and none cut short.
            if (k > 1) QCOMPARE(c->y() - inv(&d, k - 1)->y(), 24);
            QVERIFY(c->width() >= c->sizeHint().width());
        }
        QStringList textos;
        for (const char* nome : {"ok", "cancelar", "todos", "resete"}) textos << botao(&d, nome)->text();
        QCOMPARE(textos, (QStringList{QStringLiteral("&Ok"), QStringLiteral("&Cancelar"), QStringLiteral("&Todos"),
                                      QStringLiteral("&Resetar")}));
        QVERIFY(botao(&d, "ok")->isDefault());
        QVERIFY(botao(&d, "ok")->x() < botao(&d, "cancelar")->x());
        QVERIFY(botao(&d, "todos")->x() < botao(&d, "resete")->x());
        d.hide();
    }

    void objetivos_todos_resetar_ok_e_cancelar()
    {
        const std::array<std::int32_t, 9> nenhum{};
        // "&Todos" checks the boxes only; "&Ok" stores them.
        QVERIFY(no_dialogo<Tform_inviab>("objetivos", [&](Tform_inviab* d) {
            clica(d, "todos");
            QCOMPARE(marcas(d), QList<bool>(9, true));
            QCOMPARE(b->estado.criterios.objetivos, nenhum);
            clica(d, "ok");
        }));
        QCOMPARE(b->estado.criterios.objetivos, (std::array<std::int32_t, 9>{1, 1, 1, 1, 1, 1, 1, 1, 1}));
        QVERIFY(b->estado.criterios.objetivos_escolhidos);

        // Only Inviabilidade 8.
        QVERIFY(no_dialogo<Tform_inviab>("objetivos", [&](Tform_inviab* d) {
            QCOMPARE(marcas(d), QList<bool>(9, true));  // the boxes kept their state
            clica(d, "resete");
            QCOMPARE(marcas(d), QList<bool>(9, false));
            QTest::mouseClick(inv(d, 8), Qt::LeftButton, {}, QPoint(8, inv(d, 8)->height() / 2));
            clica(d, "ok");
        }));
        const std::array<std::int32_t, 9> so_oito{0, 0, 0, 0, 0, 0, 0, 1, 0};
        QCOMPARE(b->estado.criterios.objetivos, so_oito);
        QVERIFY(b->estado.criterios.objetivos_escolhidos);

        // "&Todos" then "&Cancelar": the objectives stay, the choice is no longer confirmed,
        // and the boxes show what was set.
        QVERIFY(no_dialogo<Tform_inviab>("objetivos", [&](Tform_inviab* d) {
            clica(d, "todos");
            clica(d, "cancelar");
        }));
        QCOMPARE(b->estado.criterios.objetivos, so_oito);
        QVERIFY(!b->estado.criterios.objetivos_escolhidos);
        QCOMPARE(marcas(&b->programa->form_inviab), QList<bool>(9, true));

        // Escape is the cancel button.
        b->estado.criterios.objetivos_escolhidos = true;
        QVERIFY(no_dialogo<Tform_inviab>("objetivos", [&](Tform_inviab* d) {
            QVERIFY(QTest::qWaitForWindowActive(d));
            QTest::keyClick(d, Qt::Key_Escape);
        }));
        QVERIFY(!b->estado.criterios.objetivos_escolhidos);
        QVERIFY(b->mensagens.isEmpty());
    }

    void objetivos_ok_sem_nenhum_marcado()
    {
        QVERIFY(no_dialogo<Tform_inviab>("objetivos", [&](Tform_inviab* d) {
            clica(d, "todos");
            clica(d, "ok");
        }));
        QVERIFY(b->estado.criterios.objetivos_escolhidos);

        bool aberto_na_mensagem = false;
        b->ao_mostrar = [&](const Mensagem&) { aberto_na_mensagem = b->programa->form_inviab.isVisible(); };
        bool ficou_aberto = false;
        NoProximoModal<Tform_inviab> vigia([&](Tform_inviab* d) {
            clica(d, "resete");
            clica(d, "ok");
            ficou_aberto = d->isVisible();
            clica(d, "cancelar");
        });
        b->clica("objetivos");
        QVERIFY(vigia.tratado());
        QVERIFY(ficou_aberto);
        QVERIFY(aberto_na_mensagem);
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].tipo, TipoMensagem::informacao);
        QCOMPARE(b->mensagens[0].texto, QStringLiteral("Você deve escolher os objetivos a cumprir antes de executar!"));
        QVERIFY(!b->estado.criterios.objetivos_escolhidos);
        QCOMPARE(b->estado.criterios.objetivos, (std::array<std::int32_t, 9>{}));
    }

    void pesos_como_criado()
    {
        Tform_pesos& d = b->programa->form_pesos;
        QCOMPARE(d.windowTitle(), QStringLiteral(" PESOS PARA AS PENALIDADES"));
        QVERIFY(d.width() >= 706 && d.height() >= 401);
        QCOMPARE(d.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(),
                 QStringLiteral(" ENTRE COM OS PESOS DAS INVIABILIDADES "));
        const QStringList padrao{QStringLiteral("1000000000"), QStringLiteral("1000000000"),
                                 QStringLiteral("1000000000"), QStringLiteral("10000000"),
                                 QStringLiteral("1000000000"), QStringLiteral("100000"),
                                 QStringLiteral("100000"),     QStringLiteral("1"),
                                 QStringLiteral("100")};
        const QStringList legendas{
            QStringLiteral("Nº de vezes que um time jogam mais de uma vez na mesma rodada."),
            QStringLiteral("Nº de vezes que um time joga o 1º e o 2º  jogo dentro ou fora de casa ambos."),
            QStringLiteral("Nº de vezes que os dois últimos jogos não repetem a configuração dos dois primeiros."),
            QStringLiteral("Nº de vezes que o nº de jogos dentro de casa é diferente do nº de jogos fora de casa."),
            QStringLiteral("Nº de vezes que dois times do mesmo estado jogam na última rodada."),
            QStringLiteral("Nº de vezes que um time joga mais de duas vezes consecutivas fora de casa."),
            QStringLiteral("Nº de vezes que um time joga mais de duas vezes consecutivas dentro de casa."),
            QStringLiteral("Distância total percorrida."),
            QStringLiteral("Diferença entre a maior e a menor distância percorrida durante o campeonato."),
        };
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        for (int k = 1; k <= 9; ++k) {
            QLineEdit* e = peso(&d, k);
            QCOMPARE(e->text(), padrao[k - 1]);
            // Its label stands level with it, on its right.
            QLabel* rotulo = nullptr;
            for (QLabel* l : d.findChildren<QLabel*>())
                if (l->buddy() == e) rotulo = l;
            QVERIFY(rotulo != nullptr);
            QCOMPARE(rotulo->text(), legendas[k - 1]);
            QCOMPARE(rotulo->font().pixelSize(), 13);
            QVERIFY(rotulo->x() > e->x());
            QVERIFY(qAbs(rotulo->geometry().center().y() - e->geometry().center().y()) <= 2);
        }
        QCOMPARE(botao(&d, "ok_peso")->text(), QStringLiteral("&Ok"));
        QCOMPARE(botao(&d, "cancelar_peso")->text(), QStringLiteral("&Cancelar"));
        QCOMPARE(botao(&d, "resete_peso")->text(), QStringLiteral("&Default"));
        QVERIFY(botao(&d, "ok_peso")->isDefault());

        // Tab runs peso1 to peso9, then Ok, Cancelar, Default.
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        peso(&d, 1)->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(peso(&d, 1)));
        QStringList ordem{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 11; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(QApplication::focusWidget() != nullptr);
            ordem << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(ordem, (QStringList{QStringLiteral("peso1"), QStringLiteral("peso2"), QStringLiteral("peso3"),
                                     QStringLiteral("peso4"), QStringLiteral("peso5"), QStringLiteral("peso6"),
                                     QStringLiteral("peso7"), QStringLiteral("peso8"), QStringLiteral("peso9"),
                                     QStringLiteral("ok_peso"), QStringLiteral("cancelar_peso"),
                                     QStringLiteral("resete_peso")}));
        d.hide();
    }

    void pesos_ok_cancelar_e_default()
    {
        // Ok stores the weights, fractions cut to their integer part.
        QLocale::setDefault(QLocale::c());
        QVERIFY(no_dialogo<Tform_pesos>("pesos", [&](Tform_pesos* d) {
            escreve(peso(d, 1), QStringLiteral("5"));
            escreve(peso(d, 9), QStringLiteral("2.9"));
            clica(d, "ok_peso");
        }));
        auto esperado = pesos_default;
        esperado[0] = 5;
        esperado[8] = 2;
        QCOMPARE(b->estado.criterios.pesos, esperado);

        // Cancel keeps the weights, and the typed text is there at the next opening.
        QVERIFY(no_dialogo<Tform_pesos>("pesos", [&](Tform_pesos* d) {
            QCOMPARE(peso(d, 1)->text(), QStringLiteral("5"));
            escreve(peso(d, 2), QStringLiteral("7"));
            clica(d, "cancelar_peso");
        }));
        QCOMPARE(b->estado.criterios.pesos, esperado);

        // "&Default" puts back the texts only; Ok then stores them.
        QVERIFY(no_dialogo<Tform_pesos>("pesos", [&](Tform_pesos* d) {
            QCOMPARE(peso(d, 2)->text(), QStringLiteral("7"));
            clica(d, "resete_peso");
            QCOMPARE(peso(d, 1)->text(), QStringLiteral("1000000000"));
            QCOMPARE(peso(d, 2)->text(), QStringLiteral("1000000000"));
            QCOMPARE(peso(d, 9)->text(), QStringLiteral("100"));
            QCOMPARE(b->estado.criterios.pesos, esperado);
            clica(d, "ok_peso");
        }));
        QCOMPARE(b->estado.criterios.pesos, pesos_default);
        QVERIFY(b->mensagens.isEmpty());
    }

    void pesos_com_a_virgula_da_regiao()
    {
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        QVERIFY(no_dialogo<Tform_pesos>("pesos", [&](Tform_pesos* d) {
            escreve(peso(d, 9), QStringLiteral("2,9"));
            clica(d, "ok_peso");
        }));
        QCOMPARE(b->estado.criterios.pesos[8], 2);
        QVERIFY(b->mensagens.isEmpty());
    }

    void peso_invalido_mantem_o_dialogo_aberto()
    {
        bool aberto = false;
        QWidget* com_foco = nullptr;
        QVERIFY(no_dialogo<Tform_pesos>("pesos", [&](Tform_pesos* d) {
            QVERIFY(QTest::qWaitForWindowActive(d));
            escreve(peso(d, 1), QStringLiteral("11"));
            escreve(peso(d, 2), QStringLiteral("12"));
            escreve(peso(d, 3), QStringLiteral("13"));
            escreve(peso(d, 4), QStringLiteral("abc"));
            escreve(peso(d, 5), QStringLiteral("15"));
            peso(d, 1)->setFocus();
            clica(d, "ok_peso");
            aberto = d->isVisible();
            com_foco = QApplication::focusWidget();
            QCOMPARE(com_foco, static_cast<QWidget*>(peso(d, 4)));

            // A number beyond 32 bits is refused the same way.
            escreve(peso(d, 4), QStringLiteral("14"));
            escreve(peso(d, 6), QStringLiteral("3000000000"));
            clica(d, "ok_peso");
            QVERIFY(d->isVisible());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(peso(d, 6)));
            clica(d, "cancelar_peso");
        }));
        QVERIFY(aberto);
        QCOMPARE(b->mensagens.size(), 2);
        QCOMPARE(b->mensagens[0].tipo, TipoMensagem::erro);
        QVERIFY2(b->mensagens[0].texto.contains(QStringLiteral("inviabilidade 4")), qPrintable(b->mensagens[0].texto));
        QVERIFY(b->mensagens[0].texto.contains(QStringLiteral("abc")));
        QVERIFY2(b->mensagens[1].texto.contains(QStringLiteral("inviabilidade 6")), qPrintable(b->mensagens[1].texto));
        // The weights before the bad one were stored; it and those after it were not.
        auto esperado = pesos_default;
        esperado[0] = 11;
        esperado[1] = 12;
        esperado[2] = 13;
        esperado[3] = 14;
        esperado[4] = 15;
        QCOMPARE(b->estado.criterios.pesos, esperado);
    }

    void dialogo_de_abrir_real()
    {
        QTemporaryDir pasta;
        const QString maiusculo = pasta.filePath(QStringLiteral("BRASIL.DAT"));
        const QString outro = pasta.filePath(QStringLiteral("leia.txt"));
        for (const QString& nome : {maiusculo, outro}) {
            QFile f(nome);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QStringList filtros;
        bool so_existentes = false;
        QStringList listados;
        NoProximoModal<QFileDialog> vigia([&](QFileDialog* d) {
            filtros = d->nameFilters();
            so_existentes = d->fileMode() == QFileDialog::ExistingFile && d->acceptMode() == QFileDialog::AcceptOpen;
            // "*.dat" offers files of either case, and only them.
            d->setDirectory(pasta.path());
            auto* modelo = d->findChild<QFileSystemModel*>();
            const QModelIndex raiz = modelo->index(pasta.path());
            QTRY_VERIFY(modelo->rowCount(raiz) > 0);
            listados.clear();
            for (int i = 0; i < modelo->rowCount(raiz); ++i) listados << modelo->index(i, 0, raiz).data().toString();
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(maiusculo);
            static_cast<QDialog*>(d)->accept();
        });
        const QString escolhido =
            SeletorArquivos::dialogo_abrir(&b->janela(), QStringLiteral("Documentos de dados de entrada (*.dat)"));
        QVERIFY(vigia.tratado());
        QCOMPARE(filtros, QStringList{QStringLiteral("Documentos de dados de entrada (*.dat)")});
        QVERIFY(so_existentes);
        QCOMPARE(listados, QStringList{QStringLiteral("BRASIL.DAT")});
        QCOMPARE(escolhido, maiusculo);

        NoProximoModal<QFileDialog> cancela([](QFileDialog* d) { d->reject(); });
        QVERIFY(SeletorArquivos::dialogo_abrir(&b->janela(), QStringLiteral("x (*.dat)")).isEmpty());
        QVERIFY(cancela.tratado());
    }

    void dialogo_de_salvar_real()
    {
        QTemporaryDir pasta;
        const QStringList filtros{QStringLiteral("Arquivos de Texto (*.txt)"), QStringLiteral("Planilha Eletrônica (*.xls)")};
        QString proposto;
        QString filtro_proposto;
        bool sem_pergunta = false;
        NoProximoModal<QFileDialog> vigia([&](QFileDialog* d) {
            proposto = d->selectedFiles().value(0);
            filtro_proposto = d->selectedNameFilter();
            sem_pergunta = d->testOption(QFileDialog::DontConfirmOverwrite) && d->acceptMode() == QFileDialog::AcceptSave &&
                           d->defaultSuffix().isEmpty();
            // The planner types a name and picks the first filter.
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(pasta.filePath(QStringLiteral("resultado")));
            d->selectNameFilter(filtros[0]);
            static_cast<QDialog*>(d)->accept();
        });
        const auto escolha = SeletorArquivos::dialogo_salvar(&b->janela(), pasta.filePath(QStringLiteral("Tabela")), filtros, 2);
        QVERIFY(vigia.tratado());
        QCOMPARE(QFileInfo(proposto).fileName(), QStringLiteral("Tabela"));
        QCOMPARE(filtro_proposto, filtros[1]);
        QVERIFY(sem_pergunta);
        QVERIFY(escolha.has_value());
        QCOMPARE(escolha->nome, pasta.filePath(QStringLiteral("resultado")));
        QCOMPARE(escolha->filtro, 1);

        NoProximoModal<QFileDialog> cancela([](QFileDialog* d) { d->reject(); });
        QVERIFY(!SeletorArquivos::dialogo_salvar(&b->janela(), QStringLiteral("Tabela"), filtros, 1).has_value());
    }
};

QTEST_MAIN(TesteDialogos)
#include "teste_dialogos.moc"
