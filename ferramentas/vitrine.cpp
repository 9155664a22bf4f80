// kelm_vitrine: plays a planner's session in the program's own windows and photographs the
// screen at each step, so that the program can be looked at without a desktop
// (scripts/screenshot.sh runs it under Xvfb). Usage: kelm_vitrine PASTA_DE_SAIDA
//
// Steps: start, the open dialog, load of the 20-team championship (with its message), the
// initial table, the objectives, weights and search parameters dialogs, the progress panel
// during the run, the end message, the result table, the comparison of the coin button, the
// season at a glance, the print preview, the save dialog; then a compact run of the same
// clubs in 19 rounds and its coin; then the planner's requirements for the whole season of
// those clubs: read (with their message), the initial table with the games that break them
// marked, the objectives and weights with the tenth count, the progress panel, and the coin
// that lists those not met; last, a long run stopped with "&Parar", and the schedule it kept.

#include <functional>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QPixmap>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "ui/form_global.hpp"
#include "ui/programa.hpp"

namespace {

QString pasta_saida;
int falhas = 0;

void espera(int ms)
{
    QEventLoop laco;
    QTimer::singleShot(ms, &laco, &QEventLoop::quit);
    laco.exec();
}

// The whole screen, as the window system shows it.
void fotografa(const char* nome)
{
    espera(150);
    QPixmap foto = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString arquivo = QDir(pasta_saida).filePath(QLatin1String(nome) + QStringLiteral(".png"));
    if (foto.isNull() || !foto.save(arquivo)) {
        qWarning("kelm_vitrine: %s não foi gravada", nome);
        ++falhas;
    }
}

// Runs `acao` on the next modal window of class `tipo` that opens (it must close it); a
// window still open after 30 s is closed, so the session cannot hang.
class NoProximoModal {
public:
    NoProximoModal(const char* tipo, std::function<void(QWidget*)> acao) : acao_(std::move(acao))
    {
        relogio_.start();
        QObject::connect(&sondagem_, &QTimer::timeout, [this, tipo] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && !feito_ && modal->inherits(tipo)) {
                feito_ = true;
                espera(250);
                acao_(modal);
            } else if (modal != nullptr && relogio_.elapsed() > 30000) {
                modal->close();
            }
        });
        sondagem_.start(20);
    }

private:
    std::function<void(QWidget*)> acao_;
    QTimer sondagem_;
    QElapsedTimer relogio_;
    bool feito_ = false;
};

void clica(QWidget* janela, const char* nome)
{
    if (auto* b = janela->findChild<QPushButton*>(QLatin1String(nome))) b->click();
}

// Starts the run and waits for its end, its closing message answered by the watcher in force.
void executa_e_espera(kelm::Tform_global& janela)
{
    QEventLoop laco;
    QObject::connect(&janela, &kelm::Tform_global::busca_terminada, &laco, &QEventLoop::quit);
    janela.executarClick();
    if (janela.executando_busca()) laco.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    kelm::Estado estado;
    QApplication aplicacao(argc, argv);
    if (argc < 2) {
        qWarning("uso: kelm_vitrine PASTA_DE_SAIDA");
        return 2;
    }
    pasta_saida = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(pasta_saida);
    kelm::prepara_aplicacao(aplicacao);
    kelm::Programa programa(estado);
    kelm::Tform_global& janela = programa.form_global;
    const QDir exemplos(QString::fromUtf8(KELM_EXEMPLOS));
    QString dados = exemplos.filePath(QStringLiteral("brasileirao_2023.dat"));
    programa.seletor.substitui_abrir([&dados](QWidget*, const QString&) { return dados; });

    janela.showMaximized();
    QTimer::singleShot(0, &janela, [&] {
        // Without a window manager nothing maximizes the window: it takes the screen itself.
        const QRect tela = janela.screen()->availableGeometry();
        if (janela.frameGeometry() != tela) {
            janela.showNormal();
            janela.setGeometry(tela);
        }
        espera(800);
        fotografa("01_inicio");

        {
            // The real open dialog, in the folder of the bundled championships, cancelled.
            NoProximoModal dialogo("QFileDialog", [&exemplos](QWidget* w) {
                static_cast<QFileDialog*>(w)->setDirectory(exemplos);
                espera(500);
                fotografa("01b_abrir");
                w->close();
            });
            kelm::SeletorArquivos::dialogo_abrir(&janela, QString::fromUtf8(kelm::filtro_dados));
        }

        {
            NoProximoModal caixa("QMessageBox", [](QWidget* w) {
                fotografa("02_carregado");
                w->close();
            });
            janela.botao_abrirClick();
        }
        janela.botao_tabinicialClick();
        fotografa("03_tabela_inicial");

        {
            NoProximoModal dialogo("QDialog", [](QWidget* w) {
                clica(w, "todos");
                fotografa("04_objetivos");
                clica(w, "ok");
            });
            janela.objetivosClick();
        }
        {
            NoProximoModal dialogo("QDialog", [](QWidget* w) {
                fotografa("05_pesos");
                clica(w, "cancelar_peso");
            });
            janela.pesosClick();
        }
        {
            NoProximoModal dialogo("QDialog", [](QWidget* w) {
                fotografa("05b_parametros");
                clica(w, "cancelar_parametros");
            });
            janela.parametrosClick();
        }

        int refrescos = 0;
        const auto conexao = QObject::connect(&janela, &kelm::Tform_global::andamento_mostrado,
                                              [&](const kelm::Andamento& a) {
                                                  if (a.fase == 1 && ++refrescos == 250) fotografa("06_andamento");
                                              });
        {
            NoProximoModal caixa("QMessageBox", [](QWidget* w) {
                fotografa("07_terminou");
                w->close();
            });
            executa_e_espera(janela);
        }
        QObject::disconnect(conexao);
        janela.botao_resultadoClick();
        fotografa("08_resultado");
        {
            NoProximoModal dialogo("QDialog", [](QWidget* w) {
                fotografa("08b_economia");
                clica(w, "fecha_economia");
            });
            janela.botao_economiaClick();
        }
        {
            NoProximoModal dialogo("QDialog", [](QWidget* w) {
                fotografa("08c_visao_geral");
                clica(w, "fecha_temporada");
            });
            janela.VisaoGeral1Click();
        }
        {
            NoProximoModal dialogo("QPrintPreviewDialog", [](QWidget* w) {
                fotografa("08d_impressao");
                // The last page, the home/away board, as wide as the preview.
                if (auto* previa = w->findChild<QPrintPreviewWidget*>()) {
                    previa->setCurrentPage(previa->pageCount());
                    previa->fitToWidth();
                    fotografa("08e_impressao_mandos");
                }
                w->close();
            });
            janela.Imprimir1Click();
        }

        {
            // The real save dialog, cancelled: then the message that nothing was saved.
            NoProximoModal dialogo("QFileDialog", [](QWidget* w) {
                fotografa("09_salvar");
                w->close();
            });
            NoProximoModal depois("QMessageBox", [](QWidget* w) {
                fotografa("10_nao_salvo");
                w->close();
            });
            janela.botao_salvarClick();
        }

        // The compact search on the same clubs in 19 rounds: the coin compares its result with
        // the round robin it started from.
        dados = exemplos.filePath(QStringLiteral("brasileirao_2023_turno.dat"));
        {
            NoProximoModal caixa("QMessageBox", [](QWidget* w) { w->close(); });
            janela.botao_abrirClick();
        }
        janela.opcoes_busca().busca = kelm::TipoBusca::compacta;
        {
            NoProximoModal caixa("QMessageBox", [](QWidget* w) { w->close(); });
            executa_e_espera(janela);
        }
        {
            NoProximoModal dialogo("QDialog", [](QWidget* w) {
                fotografa("11_economia_compacta");
                clica(w, "fecha_economia");
            });
            janela.botao_economiaClick();
        }

        // The season of the same clubs under the bundled requirements.
        janela.opcoes_busca().returno = kelm::Returno::espelhado;
        dados = exemplos.filePath(QStringLiteral("brasileirao_2023_requisitos.txt"));
        {
            NoProximoModal caixa("QMessageBox", [](QWidget* w) {
                fotografa("12_requisitos_carregados");
                w->close();
            });
            janela.AbrirRequisitos1Click();
        }
        janela.botao_tabinicialClick();
        fotografa("13_requisitos_tabela_inicial");
        {
            NoProximoModal dialogo("QDialog", [](QWidget* w) {
                fotografa("13b_requisitos_objetivos");
                clica(w, "ok");
            });
            janela.objetivosClick();
        }
        {
            NoProximoModal dialogo("QDialog", [](QWidget* w) {
                fotografa("13c_requisitos_pesos");
                clica(w, "cancelar_peso");
            });
            janela.pesosClick();
        }
        refrescos = 0;
        const auto outra = QObject::connect(&janela, &kelm::Tform_global::andamento_mostrado,
                                            [&](const kelm::Andamento& a) {
                                                if (a.fase == 1 && ++refrescos == 40) fotografa("14_requisitos_andamento");
                                            });
        {
            NoProximoModal caixa("QMessageBox", [](QWidget* w) { w->close(); });
            executa_e_espera(janela);
        }
        QObject::disconnect(outra);
        {
            NoProximoModal dialogo("QDialog", [](QWidget* w) {
                fotografa("15_requisitos_economia");
                clica(w, "fecha_economia");
            });
            janela.botao_economiaClick();
        }

        // A long run of the 20 clubs stopped by the planner: the progress panel with its
        // button, then the schedule it kept, under its heading, and the status bar's words.
        dados = exemplos.filePath(QStringLiteral("brasileirao_2023.dat"));
        {
            NoProximoModal caixa("QMessageBox", [](QWidget* w) { w->close(); });
            janela.botao_abrirClick();
        }
        janela.opcoes_busca() = kelm::OpcoesBusca{};
        janela.opcoes_busca().esforco = 20;
        refrescos = 0;
        QElapsedTimer desde_o_pedido;
        const auto parada = QObject::connect(&janela, &kelm::Tform_global::andamento_mostrado,
                                             [&](const kelm::Andamento& a) {
                                                 if (a.fase != 1 || ++refrescos != 30) return;
                                                 fotografa("16_parar_andamento");
                                                 desde_o_pedido.start();
                                                 janela.pararClick();
                                             });
        executa_e_espera(janela);
        QObject::disconnect(parada);
        qInfo("kelm_vitrine: a execução terminou %lld ms depois de Parar; título: %s", desde_o_pedido.elapsed(),
              qPrintable(janela.windowTitle()));
        janela.botao_resultadoClick();
        fotografa("17_parada_resultado");
        {
            // Its result was not saved: closing asks first.
            NoProximoModal pergunta("QMessageBox", [](QWidget* w) {
                fotografa("18_salvar_antes_de_sair");
                for (auto* b : w->findChildren<QPushButton*>())
                    if (b->text() == QStringLiteral("Sair sem salvar")) b->click();
            });
            janela.close();
        }
        QApplication::quit();
    });
    QApplication::exec();
    return falhas == 0 ? 0 : 1;
}
