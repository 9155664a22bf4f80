// The printed schedule of a whole season on its calendar, written as a PDF and read back as
// text: every round whole on one page under its date, every page headed.

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "apoio_ui.hpp"
#include "construtores.hpp"
#include "files/calendario.hpp"
#include "files/carga.hpp"
#include "report/explicacao.hpp"
#include "search/comandos.hpp"
#include "ui/impressao.hpp"
#include "ui/regional.hpp"

using namespace kelm;
using namespace kelm::teste;

class TesteImpressao : public QObject {
    Q_OBJECT

private slots:
    void temporada_em_pdf_tem_cada_rodada_inteira_numa_pagina()
    {
        Estado e;
        QVERIFY(carrega_dados(e.campeonato, e.execucao, qPrintable(exemplo("brasileirao_2023.dat"))).sucesso);
        const Campeonato& c = e.campeonato;
        const Tabela tabela = turno_e_returno(20);
        const Explicacao explicacao = explica_tabela(c, tabela);
        const Ficha ficha = monta_ficha("brasileirao_2023", explicacao.contagens, 1234, Procedencia{}, 19);
        Calendario calendario;
        QVERIFY(carrega_calendario(qPrintable(exemplo("brasileirao_2023_calendario.txt")), 38, calendario).sucesso);

        QTemporaryDir pasta;
        const QString pdf = pasta.filePath(QStringLiteral("temporada.pdf"));
        int paginas = 0;
        {
            QPdfWriter escritor(pdf);
            escritor.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                                               QPageLayout::Millimeter));
            escritor.setResolution(300);
            paginas = imprime_tabela(escritor, c, tabela, explicacao, ficha, QDate(2026, 12, 7), &calendario);
        }
        QProcess leitor;
        leitor.start(QStringLiteral(KELM_PDFTOTEXT), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(leitor.waitForFinished(30000) && leitor.exitCode() == 0);
        QStringList textos = QString::fromUtf8(leitor.readAllStandardOutput()).split(QLatin1Char('\f'));
        if (textos.last().trimmed().isEmpty()) textos.removeLast();
        QCOMPARE(textos.size(), paginas);
        QVERIFY(paginas > 3);

        for (int k = 0; k < paginas; ++k) {
            const QString& t = textos[k];
            QVERIFY2(t.contains(QStringLiteral("Programação de Jogos - brasileirao_2023")) && t.contains(QStringLiteral("07/12/2026")) &&
                         t.contains(QStringLiteral("Página %1 de %2").arg(k + 1).arg(paginas)),
                     qPrintable(t.left(300)));
        }
        const auto nome = [&c](int time) { return QRegularExpression::escape(QString::fromStdString(c.nomes_times.at(std::size_t(time)))); };
        for (int r = 0; r < tabela.linhas(); ++r) {
            const QRegularExpression cabecalho(QStringLiteral("(?<!\\d)%1ª RODADA - %2").arg(r + 1).arg(QString::fromStdString(texto_data(calendario.dia(r).data))));
            QList<int> onde;
            for (int k = 0; k < paginas; ++k)
                if (textos[k].contains(cabecalho)) onde << k;
            QVERIFY2(onde.size() == 1, qPrintable(QStringLiteral("%1ª rodada em %2 páginas").arg(r + 1).arg(onde.size())));
            for (int g = 0; g < tabela.colunas(); ++g) {
                const Jogo j = tabela[r][g];
                const QRegularExpression jogo(nome(j.mandante()) + QStringLiteral("\\s+X\\s+") + nome(j.visitante()));
                QVERIFY2(textos[onde[0]].contains(jogo), qPrintable(jogo.pattern()));
            }
        }
        const QString tudo = textos.join(QLatin1Char('\f'));
        QVERIFY(tudo.contains(QStringLiteral("Mandos por Time")));
        QVERIFY(tudo.contains(QRegularExpression(QStringLiteral("Inviabilidade 8 .* %1 ").arg(numero(explicacao.contagens[7])))));
        QVERIFY(tudo.contains(QRegularExpression(QStringLiteral("FO_STAR .* 1234"))));
    }
};

QTEST_MAIN(TesteImpressao)
#include "teste_impressao.moc"
