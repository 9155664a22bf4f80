// The season's calendar in the window: a calendar refused with its line changes nothing; the
// bundled season's calendar, opened while the turno alone is chosen, switches to the season;
// a compact run of the season shows its dates in the grid and exports the calendars kelm-lote
// exports for the same schedule; a later change of season or of calendar is held to the rounds.

#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QTest>

#include "apoio_ui.hpp"
#include "evaluation/objetivos.hpp"
#include "search/comandos.hpp"

using namespace kelm;
using namespace kelm::teste;

class TesteCalendarioJanela : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Bancada> b;
    QTemporaryDir pasta;

    // Opens `arquivo` through "Abrir Calendário..."; the one message it gave, or "?".
    QString abre_calendario(const QString& arquivo)
    {
        b->mensagens.clear();
        b->arquivo_a_abrir = arquivo;
        b->filho<QAction>("AbrirCalendario1")->trigger();
        return b->mensagens.size() == 1 ? b->mensagens[0].texto : QStringLiteral("?");
    }
    QString rotulo() { return b->filho<QLabel>("calendario_em_vigor")->text(); }

    // The files of an export, by name, with their bytes.
    static QMap<QString, QByteArray> exportados(const QString& pasta_exportada)
    {
        QMap<QString, QByteArray> arquivos;
        for (QDirIterator i(pasta_exportada, QDir::Files); i.hasNext();) {
            const QString nome = i.next();
            arquivos.insert(QFileInfo(nome).fileName(), le_arquivo(nome));
        }
        return arquivos;
    }

private slots:
    void initTestCase()
    {
        prepara_aplicacao(*qApp);
        b = std::make_unique<Bancada>();
        QVERIFY(b->mostra());
        b->carrega("brasileirao_2023_turno.dat");
        QVERIFY(b->estado.campeonato.dados_carregados);
    }

    // Refused files change nothing: requirements by dates without a calendar, a calendar with
    // an impossible date (whichever calendar is in force), with the reader's file and line.
    void recusados_nao_mudam_nada()
    {
        b->arquivo_a_abrir = exemplo("brasileirao_2023_requisitos_datas.txt");
        b->mensagens.clear();
        b->filho<QAction>("AbrirRequisitos1")->trigger();
        QCOMPARE(b->mensagens.size(), 1);
        QVERIFY2(b->mensagens[0].texto.contains(QStringLiteral("as datas pedem um calendário")), qPrintable(b->mensagens[0].texto));
        QVERIFY(!b->estado.requisitos.em_vigor());

        QByteArray texto = le_arquivo(exemplo("brasileirao_2023_calendario.txt"));
        const int linha = int(texto.left(texto.indexOf("\n5   07/05/2023")).count('\n')) + 2;
        texto.replace("\n5   07/05/2023", "\n5   31/02/2023");
        QFile ruim(pasta.filePath(QStringLiteral("ruim.txt")));
        QVERIFY(ruim.open(QIODevice::WriteOnly) && ruim.write(texto) == texto.size());
        ruim.close();
        for (int vez = 0; vez < 2; ++vez) {
            const Estado antes = b->estado;
            const QString m = abre_calendario(ruim.fileName());
            QVERIFY2(m.contains(QStringLiteral("ruim.txt\", linha %1").arg(linha)), qPrintable(m));
            QVERIFY(b->estado == antes);
            if (vez == 0) {
                QCOMPARE(rotulo(), QString());
                // The season's calendar while the turno alone is chosen: the switch is offered.
                b->respostas = {0};
                abre_calendario(exemplo("brasileirao_2023_calendario.txt"));
                QCOMPARE(b->perguntas.size(), 1);
                QVERIFY(b->janela().opcoes_busca().returno == Returno::espelhado);
                QCOMPARE(b->estado.calendario.num_rodadas(), 38);
                QCOMPARE(rotulo(), QStringLiteral("Calendário: brasileirao_2023_calendario.txt"));
            }
        }
        QVERIFY(!b->filho<QAction>("ExportarCalendario1")->isEnabled());
    }

    // The compact season: the grid dates its rounds, the run records the calendar, and the
    // export is kelm-lote's for the same schedule, byte for byte: 21 files, 380 games.
    void temporada_datada_e_exportada()
    {
        define_objetivos(b->estado.criterios, {true, true, true, true, true, true, true, true, true});
        b->janela().opcoes_busca().busca = TipoBusca::compacta;
        QVERIFY(b->executa() && b->estado.execucao.programa_executado);
        QCOMPARE(b->estado.execucao.procedencia.calendario, b->estado.calendario);
        b->clica("botao_resultado");
        QCOMPARE(b->grade()->celula(0, 4), QStringLiteral("  4ª RODADA  03/05/2023"));
        QCOMPARE(b->grade()->celula(0, 38), QStringLiteral("  38ª RODADA  03/12/2023"));
        QCOMPARE(b->grade()->model()->index(4, 0).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("4ª rodada: quarta-feira, 03/05/2023, 21:30"));

        b->pasta_a_escolher = pasta.filePath(QStringLiteral("janela"));
        QVERIFY(b->filho<QAction>("ExportarCalendario1")->isEnabled());
        b->mensagens.clear();
        b->filho<QAction>("ExportarCalendario1")->trigger();
        QVERIFY(b->mensagens.isEmpty());
        QCOMPARE(b->janela().statusBar()->currentMessage(), QStringLiteral("Calendários gravados em ") + b->pasta_a_escolher);
        const QMap<QString, QByteArray> janela = exportados(b->pasta_a_escolher);
        QCOMPARE(janela.size(), 21);
        QCOMPARE(janela.value(QStringLiteral("brasileirao_2023_turno.ics")).count("BEGIN:VEVENT"), 380);

        const QString resultado = pasta.filePath(QStringLiteral("temporada.txt"));
        QVERIFY(grava_resultado(b->estado.campeonato, b->estado.execucao, QFile::encodeName(resultado).toStdString(), '.').sucesso);
        QProcess lote;
        lote.start(QStringLiteral(KELM_LOTE), {QStringLiteral("--avaliar"), resultado, exemplo("brasileirao_2023_turno.dat"),
                                               QStringLiteral("--calendario"), exemplo("brasileirao_2023_calendario.txt"),
                                               QStringLiteral("--ical"), pasta.filePath(QStringLiteral("lote"))});
        QVERIFY(lote.waitForFinished(60000) && lote.exitCode() == 0);
        QVERIFY(janela == exportados(pasta.filePath(QStringLiteral("lote"))));
    }

    // The season dropped, the run is refused by the calendar's rounds; the calendar withdrawn,
    // the rounds are named as before any calendar, and the export says why it cannot be made.
    void mudancas_depois_da_abertura()
    {
        b->janela().opcoes_busca().returno = Returno::nenhum;
        b->mensagens.clear();
        b->clica("executar");
        QCOMPARE(b->mensagens.size(), 1);
        QVERIFY2(b->mensagens[0].texto.contains(QStringLiteral("dá as datas de 38 rodadas, e a execução tem 19")),
                 qPrintable(b->mensagens[0].texto));

        b->filho<QAction>("RetirarCalendario1")->trigger();
        QCOMPARE(rotulo(), QString());
        QVERIFY(!b->filho<QAction>("ExportarCalendario1")->isEnabled());
        b->clica("botao_tabinicial");
        QCOMPARE(b->grade()->celula(0, 4), texto_rodada(4));
        b->mensagens.clear();
        b->janela().ExportarCalendario1Click();
        QCOMPARE(b->mensagens.size(), 1);
        QVERIFY(b->mensagens[0].texto.startsWith(QStringLiteral("Não há calendário em vigor")));
    }
};

QTEST_MAIN(TesteCalendarioJanela)
#include "teste_calendario_janela.moc"
