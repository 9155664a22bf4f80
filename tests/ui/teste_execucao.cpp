// Whole runs from the window on the 6-team championship: the panels, the progress labels,
// the end message, the result view, the save command against kelm-lote, and the run paths
// (objectives asked for by the run command, a cancelled choice, the reheat bound).

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "apoio_ui.hpp"
#include "ui/regional.hpp"

using namespace kelm;
using namespace kelm::teste;

namespace {

// Records, in order, when the watched widgets are shown or hidden.
class Visibilidade : public QObject {
public:
    explicit Visibilidade(QStringList& registro) : registro_(registro) {}
    void observa(QWidget* w) { w->installEventFilter(this); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show) registro_ << QStringLiteral("mostra ") + o->objectName();
        if (e->type() == QEvent::Hide) registro_ << QStringLiteral("esconde ") + o->objectName();
        return false;
    }

private:
    QStringList& registro_;
};

// The result file without its "Tempo" line, which records how long the run took.
QByteArray sem_tempo(QByteArray bytes)
{
    const qsizetype inicio = bytes.indexOf("Tempo:\t");
    if (inicio < 0) return bytes;
    return bytes.remove(inicio, bytes.indexOf("\r\n", inicio) + 2 - inicio);
}

// Runs kelm-lote on a bundled championship; its result file's bytes and its summary.
struct SaidaLote {
    int status = -1;
    QByteArray arquivo;
    QString resumo;
};

SaidaLote roda_lote(const QStringList& opcoes, const char* exemplo_dat)
{
    QTemporaryDir pasta;
    const QString destino = pasta.filePath(QStringLiteral("lote.txt"));
    QProcess lote;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    lote.setProcessEnvironment(ambiente);
    lote.start(QStringLiteral(KELM_LOTE),
               opcoes + QStringList{QStringLiteral("--silencioso"), QStringLiteral("-o"), destino, exemplo(exemplo_dat)});
    SaidaLote saida;
    if (!lote.waitForFinished(60000)) return saida;
    saida.status = lote.exitCode();
    saida.arquivo = le_arquivo(destino);
    saida.resumo = QString::fromUtf8(lote.readAllStandardError());
    return saida;
}

long long movimentos_do_resumo(const QString& resumo)
{
    const auto m = QRegularExpression(QStringLiteral("Movimentos avaliados: (\\d+)")).match(resumo);
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

}  // namespace

class TesteExecucao : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Bancada> b;

    // Confirms objectives before a run, in the dialog of the toolbar button `objetivos`:
    // all nine, or only those given (1 to 9).
    void escolhe_objetivos(const QList<int>& so = {})
    {
        NoProximoModal<Tform_inviab> vigia([&](Tform_inviab* d) {
            if (so.isEmpty()) {
                QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("todos")), Qt::LeftButton);
            } else {
                for (int k : so) d->inv(k)->setChecked(true);
            }
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        });
        b->clica("objetivos");
        QVERIFY(vigia.tratado());
    }

    // The grid's cells against the schedule they should show.
    void confere_grade(const Tabela& tabela)
    {
        GradeJogos* g = b->grade();
        QVERIFY(g->isVisible());
        QCOMPARE(g->model()->rowCount(), b->estado.campeonato.num_rodadas + 1);
        QCOMPARE(g->model()->columnCount(), b->estado.campeonato.jogos_por_rodada() + 1);
        for (int r = 1; r <= b->estado.campeonato.num_rodadas; ++r)
            for (int c = 1; c <= b->estado.campeonato.jogos_por_rodada(); ++c)
                QCOMPARE(g->celula(c, r), jogo_esperado(tabela[r - 1][c - 1], b->estado));
    }

    // Saves through `botao_salvar` as `nome` with the filter `filtro`; the file's bytes.
    QByteArray salva(const QString& nome, int filtro)
    {
        b->arquivo_a_salvar = ArquivoEscolhido{nome, filtro};
        b->clica("botao_salvar");
        return le_arquivo(nome + (filtro == 1 ? QStringLiteral(".txt") : QStringLiteral(".xls")));
    }

private slots:
    void init()
    {
        b = std::make_unique<Bancada>();
        QVERIFY(b->mostra());
        b->carrega("nordeste.dat");
        b->mensagens.clear();
    }
    void cleanup() { b.reset(); }

    void execucao_completa_mostra_andamento_resultado_e_grava_como_o_lote()
    {
        escolhe_objetivos();
        b->clica("botao_tabinicial");

        QStringList registro;
        Visibilidade visibilidade(registro);
        for (const char* nome : {"tabela_jogos", "panel_jogos", "calc_temp", "executando"})
            visibilidade.observa(b->filho(nome));
        b->ao_mostrar = [&](const Mensagem& m) { registro << QStringLiteral("mensagem ") + m.texto; };

        // What the window shows at each refresh, and how it behaves meanwhile.
        QList<Andamento> andamentos;
        QString primeiro_percentual;
        QStringList primeiras_inviabilidades;
        QString primeira_fo;
        bool visivel_no_primeiro = false;
        bool fechou_durante = true;
        bool ocupada_durante = false;
        bool temporizador_disparou = false;
        bool temporizador_durante = false;
        connect(&b->janela(), &Tform_global::andamento_mostrado, this, [&](const Andamento& a) {
            andamentos << a;
            if (andamentos.size() == 1) {
                primeiro_percentual = b->rotulo("Label2");
                for (int k = 1; k <= 9; ++k) primeiras_inviabilidades << b->rotulo(qPrintable(QStringLiteral("inv%1").arg(k)));
                primeira_fo = b->rotulo("fo");
                visivel_no_primeiro = b->filho("executando")->isVisible();
                ocupada_durante = b->janela().executando_busca();
                // A close request and a click are ignored while the run lasts...
                fechou_durante = b->janela().close();
                QTest::mouseClick(b->botao("botao_tabinicial"), Qt::LeftButton);
                // ...but events that are not input are still delivered.
                QTimer::singleShot(0, this, [&] { temporizador_disparou = true; });
            }
            if (andamentos.size() == 20) temporizador_durante = temporizador_disparou;
        });

        b->clica("executar");

        QVERIFY(!b->janela().executando_busca());
        QVERIFY(b->janela().isVisible());
        QVERIFY(!fechou_durante);
        QVERIFY(ocupada_durante);
        QVERIFY(temporizador_durante);
        QCOMPARE(registro, (QStringList{
                               QStringLiteral("esconde tabela_jogos"), QStringLiteral("esconde panel_jogos"),
                               QStringLiteral("mostra calc_temp"), QStringLiteral("esconde calc_temp"),
                               QStringLiteral("mostra executando"), QStringLiteral("esconde executando"),
                               QStringLiteral("mostra calc_temp"), QStringLiteral("esconde calc_temp"),
                               QStringLiteral("mostra executando"), QStringLiteral("esconde executando"),
                               QStringLiteral("mensagem TERMINOU A EXECUÇÃO!"),
                           }));
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].tipo, TipoMensagem::simples);
        QVERIFY(!b->grade()->isVisible());  // the click during the run was dropped

        // The first refresh of the first phase, and the labels of the last one.
        QVERIFY(visivel_no_primeiro);
        QCOMPARE(primeiro_percentual, QStringLiteral("-1E-11 %"));
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(primeiras_inviabilidades[k - 1], QStringLiteral("Inviabilidade %1:   0").arg(k));
        QCOMPARE(primeira_fo, numero(andamentos.first().fo_star));
        QVERIFY(andamentos.size() > 1000);
        const Andamento& ultimo = andamentos.last();
        QCOMPARE(ultimo.fase, 2);
        QCOMPARE(b->rotulo("Label1"), QStringLiteral("Aguarde. SA Executando..."));
        QCOMPARE(b->rotulo("Label2"), numero(ultimo.percentual) + QStringLiteral(" %"));
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(b->rotulo(qPrintable(QStringLiteral("inv%1").arg(k))),
                     QStringLiteral("Inviabilidade %1:   ").arg(k) +
                         numero(ultimo.inviabilidades_melhor[static_cast<std::size_t>(k - 1)]));
        QCOMPARE(b->rotulo("fo"), numero(ultimo.fo_star));
        const QRegularExpression hora(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));
        QVERIFY(hora.match(b->rotulo("Label3").mid(QStringLiteral("Hora de Início : ").size())).hasMatch());
        QVERIFY(b->rotulo("Label3").startsWith(QStringLiteral("Hora de Início : ")));
        QCOMPARE(b->rotulo("Label4"), QStringLiteral("Hora Atual : ") + texto_hora(ultimo.hora_atual));
        QCOMPARE(b->rotulo("Label5"), QStringLiteral("Tempo de Execução: ") + duracao(ultimo.tempo_execucao));
        QCOMPARE(b->rotulo("reaquece"), QStringLiteral("Nº de Reaquecimentos: 0"));
        QCOMPARE(b->botao("botao_resultado")->cursor().shape(), Qt::PointingHandCursor);

        // The result view shows the kept schedule.
        b->clica("botao_resultado");
        confere_grade(b->estado.execucao.tabela_melhor);

        // Saved twice, as text and as a spreadsheet: the same bytes as kelm-lote writes.
        QTemporaryDir pasta;
        const QByteArray texto = salva(pasta.filePath(QStringLiteral("Tabela")), 1);
        QCOMPARE(b->pedidos_de_salvar.size(), 1);
        QCOMPARE(b->pedidos_de_salvar[0].nome, QStringLiteral("Tabela"));
        QCOMPARE(b->pedidos_de_salvar[0].filtro, 1);
        QCOMPARE(b->pedidos_de_salvar[0].filtros,
                 (QStringList{QStringLiteral("Arquivos de Texto (*.txt)"), QStringLiteral("Planilha Eletrônica (*.xls)")}));
        const QByteArray planilha = salva(pasta.filePath(QStringLiteral("resultado.txt")), 2);
        // The dialog proposes the last name and filter; the extension is always appended.
        QCOMPARE(b->pedidos_de_salvar[1].nome, pasta.filePath(QStringLiteral("Tabela")));
        QCOMPARE(b->pedidos_de_salvar[1].filtro, 1);
        QVERIFY(QFile::exists(pasta.filePath(QStringLiteral("resultado.txt.xls"))));
        QCOMPARE(planilha, texto);
        QVERIFY(b->mensagens.size() == 1);  // nothing is said when the file is written

        const SaidaLote lote = roda_lote({}, "nordeste.dat");
        QCOMPARE(lote.status, 0);
        QVERIFY(!texto.isEmpty());
        QVERIFY(texto.contains("Tempo:\t"));
        QCOMPARE(sem_tempo(texto), sem_tempo(lote.arquivo));
        QCOMPARE(b->estado.execucao.movimentos_avaliados, movimentos_do_resumo(lote.resumo));
    }

    void salvar_cancelado_ou_impossivel()
    {
        escolhe_objetivos({8});
        b->janela().opcoes_busca().max_reaquecimentos = 0;  // a short run: the first phase alone
        b->clica("executar");
        QVERIFY(b->estado.execucao.programa_executado);
        b->mensagens.clear();

        b->arquivo_a_salvar.reset();
        b->clica("botao_salvar");
        QTemporaryDir pasta;
        b->arquivo_a_salvar = ArquivoEscolhido{pasta.filePath(QStringLiteral("nao_existe/Tabela")), 1};
        b->clica("botao_salvar");
        QCOMPARE(b->mensagens.size(), 2);
        for (const Mensagem& m : b->mensagens) {
            QCOMPARE(m.tipo, TipoMensagem::erro);
            QCOMPARE(m.texto, QStringLiteral("O Arquivo não foi salvo."));
        }
        QVERIFY(!b->mensagens[1].detalhe.isEmpty());
        // The cancelled dialog left the proposal as it was.
        QCOMPARE(b->pedidos_de_salvar[1].nome, QStringLiteral("Tabela"));
        QVERIFY(QDir(pasta.path()).isEmpty());
    }

    void objetivos_escolhidos_no_dialogo_da_execucao()
    {
        QVERIFY(!b->estado.criterios.objetivos_escolhidos);
        QStringList registro;
        Visibilidade visibilidade(registro);
        visibilidade.observa(b->filho("calc_temp"));
        bool antes_de_calcular = false;
        NoProximoModal<Tform_inviab> vigia([&](Tform_inviab* d) {
            antes_de_calcular = registro.isEmpty();
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("todos")), Qt::LeftButton);
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        });
        b->clica("executar");
        QVERIFY(vigia.tratado());
        QVERIFY(antes_de_calcular);
        QVERIFY(b->estado.execucao.programa_executado);
        QCOMPARE(b->mensagens.size(), 1);
        QCOMPARE(b->mensagens[0].texto, QStringLiteral("TERMINOU A EXECUÇÃO!"));

        // The same run as kelm-lote's with the objectives chosen by the run command: a
        // second phase of 3300 trial moves per level instead of 4000.
        QTemporaryDir pasta;
        const QByteArray texto = salva(pasta.filePath(QStringLiteral("Tabela")), 1);
        const SaidaLote lote = roda_lote({QStringLiteral("--objetivos-na-execucao")}, "nordeste.dat");
        QCOMPARE(lote.status, 0);
        QCOMPARE(sem_tempo(texto), sem_tempo(lote.arquivo));
        QCOMPARE(b->estado.execucao.movimentos_avaliados, movimentos_do_resumo(lote.resumo));
        const SaidaLote antes = roda_lote({}, "nordeste.dat");
        QVERIFY(movimentos_do_resumo(antes.resumo) != b->estado.execucao.movimentos_avaliados);
    }

    void escolha_cancelada_nao_executa_e_preserva_o_resultado()
    {
        escolhe_objetivos({1, 8});
        b->janela().opcoes_busca().max_reaquecimentos = 0;
        b->clica("executar");
        QVERIFY(b->estado.execucao.programa_executado);
        const Tabela melhor = b->estado.execucao.tabela_melhor;
        const Contagens contagens = b->estado.execucao.inviabilidades_melhor;
        const double fo = b->estado.execucao.fo_star;
        QTemporaryDir pasta;
        const QByteArray antes = salva(pasta.filePath(QStringLiteral("antes")), 1);
        QVERIFY(!antes.isEmpty());

        // The choice is withdrawn, so the run command asks again, and is cancelled.
        NoProximoModal<Tform_inviab> retira([](Tform_inviab* d) {
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cancelar")), Qt::LeftButton);
        });
        b->clica("objetivos");
        QVERIFY(retira.tratado());
        b->clica("botao_resultado");
        b->mensagens.clear();

        QStringList registro;
        Visibilidade visibilidade(registro);
        for (const char* nome : {"tabela_jogos", "calc_temp", "executando"}) visibilidade.observa(b->filho(nome));
        NoProximoModal<Tform_inviab> cancela([](Tform_inviab* d) {
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cancelar")), Qt::LeftButton);
        });
        b->clica("executar");
        QVERIFY(cancela.tratado());
        QCOMPARE(registro, QStringList{QStringLiteral("esconde tabela_jogos")});
        QVERIFY(b->mensagens.isEmpty());
        QVERIFY(!b->janela().executando_busca());

        QVERIFY(b->estado.execucao.programa_executado);
        QVERIFY(b->estado.execucao.tabela_melhor == melhor);
        QVERIFY(b->estado.execucao.inviabilidades_melhor == contagens);
        QCOMPARE(b->estado.execucao.fo_star, fo);
        b->clica("botao_resultado");
        confere_grade(melhor);
        QCOMPARE(salva(pasta.filePath(QStringLiteral("depois")), 1), antes);
        QVERIFY(b->mensagens.isEmpty());
    }

    void limite_de_reaquecimentos_interrompe_a_execucao()
    {
        // Distance alone cannot bring inviabilidades 1, 2, 3 and 5 to zero: the first phase
        // reheats once, then meets the bound.
        escolhe_objetivos({8});
        b->janela().opcoes_busca().max_reaquecimentos = 1;
        QStringList registro;
        Visibilidade visibilidade(registro);
        visibilidade.observa(b->filho("executando"));
        b->ao_mostrar = [&](const Mensagem& m) { registro << QStringLiteral("mensagem ") + m.texto; };
        b->clica("executar");

        QCOMPARE(registro, (QStringList{QStringLiteral("mostra executando"), QStringLiteral("esconde executando"),
                                        QStringLiteral("mensagem A execução foi interrompida! O tempo de execução de "
                                                       "terminou!")}));
        QCOMPARE(b->mensagens[0].tipo, TipoMensagem::simples);
        QCOMPARE(b->rotulo("reaquece"), QStringLiteral("Nº de Reaquecimentos: 1"));
        QVERIFY(b->estado.execucao.programa_executado);
        QCOMPARE(b->botao("botao_resultado")->cursor().shape(), Qt::PointingHandCursor);
        b->clica("botao_resultado");
        confere_grade(b->estado.execucao.tabela_melhor);

        const SaidaLote lote = roda_lote({QStringLiteral("--objetivos"), QStringLiteral("8"),
                                          QStringLiteral("--max-reaquecimentos"), QStringLiteral("1")},
                                         "nordeste.dat");
        QCOMPARE(lote.status, 3);
        QTemporaryDir pasta;
        QCOMPARE(sem_tempo(salva(pasta.filePath(QStringLiteral("Tabela")), 1)), sem_tempo(lote.arquivo));
    }
};

QTEST_MAIN(TesteExecucao)
#include "teste_execucao.moc"
