#include "ui/form_global.hpp"

#include <exception>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QShortcut>
#include <QToolButton>
#include <QWindow>

#include "model/temporada.hpp"
#include "report/explicacao.hpp"
#include "search/comandos.hpp"
#include "ui/form_inviab.hpp"
#include "ui/grade_jogos.hpp"
#include "ui/paineis.hpp"

// The run command in the window: what the search reports is shown as it comes, and the window
// takes no input until the run ends.

namespace kelm {

namespace {

// Events by which the planner acts on a window.
bool eh_entrada(const QEvent* e)
{
    if (e->isInputEvent()) return true;
    switch (e->type()) {
    case QEvent::Shortcut:
    case QEvent::ToolTip:
    case QEvent::WhatsThis:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// Whether `objeto` belongs to the modal window now open (a message box or a dialog shown
// from inside the run command) or to a popup of it, which take input as usual.
bool no_modal(QObject* objeto)
{
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return false;
    const QWidget* popup = QApplication::activePopupWidget();
    auto aceita = [modal, popup](const QWidget* janela) {
        return janela == modal || (popup != nullptr && janela == popup);
    };
    if (auto* w = qobject_cast<QWidget*>(objeto)) return aceita(w->window());
    if (auto* j = qobject_cast<QWindow*>(objeto))
        return j == modal->windowHandle() || (popup != nullptr && j == popup->windowHandle());
    if (auto* atalho = qobject_cast<QShortcut*>(objeto)) {
        auto* dono = qobject_cast<QWidget*>(atalho->parent());
        return dono != nullptr && aceita(dono->window());
    }
    return false;
}

}  // namespace

// What the search reports, shown in the window: the panels, their labels, the pointer of
// the result button, beeps and the plain messages. Each refresh is painted at once.
class Tform_global::ObservadorJanela : public Observador {
public:
    explicit ObservadorJanela(Tform_global& janela) : j_(janela) {}

    void execucao_iniciada() override
    {
        j_.tabela_jogos_->hide();
        j_.panel_jogos_->hide();
        j_.deixa_pintar();
    }

    void calculo_t0_iniciado() override
    {
        j_.calc_temp_->show();
        j_.calc_temp_->raise();
        j_.calc_temp_->repaint();
        j_.deixa_pintar();
    }

    void temperatura_candidata(double t) override
    {
        j_.calc_temp_->mostra_candidata(t, QLocale());
        j_.calc_temp_->repaint();
        j_.deixa_pintar();
    }

    void calculo_t0_concluido() override
    {
        j_.calc_temp_->hide();
        j_.deixa_pintar();
    }

    void fase_iniciada(int, double hora_inicio) override { j_.executando_->mostra_inicio(hora_inicio, QLocale()); }

    void andamento(const Andamento& a) override
    {
        if (!j_.executando_->isVisible()) {
            j_.executando_->show();
            j_.executando_->raise();
        }
        j_.executando_->atualiza_andamento(a, QLocale());
        j_.executando_->repaint();
        j_.deixa_pintar();
        emit j_.andamento_mostrado(a);
    }

    void reaquecimento(int n) override { j_.executando_->mostra_reaquecimentos(n); }

    void bipe() override { QApplication::beep(); }

    void resultado_disponivel() override
    {
        j_.requisitos_resultado_ = j_.estado_.requisitos;
        j_.botao_resultado_->setCursor(Qt::PointingHandCursor);
        j_.botao_economia_->setCursor(Qt::PointingHandCursor);
        j_.Impressos1_->setEnabled(true);
    }

    void fase_concluida(int) override
    {
        j_.executando_->hide();
        j_.deixa_pintar();
    }

    void mensagem(const std::string& texto) override
    {
        j_.mensageiro_.mostra(&j_, TipoMensagem::simples, QString::fromStdString(texto));
    }

private:
    Tform_global& j_;
};

void Tform_global::executa_busca()
{
    if (executando_busca_) return;
    ObservadorJanela observador(*this);
    OpcoesBusca opcoes = opcoes_busca_;
    opcoes.escolhe_objetivos = [this] {
        if (form_inviab_ != nullptr) form_inviab_->exec();
    };

    // The window takes no input until the run ends, but goes on painting.
    executando_busca_ = true;
    qApp->installEventFilter(this);
    ResumoBusca resumo;
    try {
        resumo = kelm::executa_busca(estado_, observador, opcoes);
    } catch (const ErroAlocacao& e) {
        resumo.desfecho = Desfecho::simples(e.what());
    } catch (const std::exception& e) {
        resumo.desfecho = Desfecho::erro("A execução foi interrompida por um erro.", e.what());
    }
    // Input given during the run is let out here, and dropped, while the filter still
    // holds the window.
    QCoreApplication::processEvents();
    qApp->removeEventFilter(this);
    executando_busca_ = false;
    executando_->hide();
    calc_temp_->hide();

    if (!resumo.desfecho.sucesso && !resumo.desfecho.texto.empty()) mostra(resumo.desfecho);
    if (resumo.desfecho.sucesso && resumo.executada) resume_execucao(&resumo);
}

void Tform_global::resume_execucao(const ResumoBusca* resumo)
{
    QStringList partes;
    QStringList frases;
    if (resumo != nullptr && resumo->interrompida)
        partes << QStringLiteral("A primeira fase parou no limite de %1 reaquecimentos%2.")
                      .arg(opcoes_busca_.max_reaquecimentos)
                      .arg(opcoes_busca_.busca == TipoBusca::padrao
                               ? QStringLiteral("; a busca de rodadas completas (Parâmetros da Busca) costuma concluir "
                                                "as duas fases")
                               : QString());
    if (resumo != nullptr && requisitos_do_resultado() != nullptr) {
        const Execucao& x = estado_.execucao;
        const Temporada t = temporada_de(estado_.campeonato, x.tabela_melhor, x.procedencia.returno);
        std::vector<std::string> linhas;
        for (const RequisitoNaoAtendido& n : requisitos_nao_atendidos(t.campeonato, t.tabela, requisitos_resultado_)) {
            linhas.push_back(std::to_string(n.linha));
            frases << QString::fromStdString(n.frase) + QLatin1Char('.');
        }
        if (!linhas.empty())
            partes << QStringLiteral("Requisitos não atendidos: linha%1 %2.")
                          .arg(linhas.size() == 1 ? QString() : QStringLiteral("s"), QString::fromStdString(junta(linhas)));
    }
    rotulo_execucao_->setText(partes.join(QLatin1Char(' ')));
    rotulo_execucao_->setToolTip(frases.join(QLatin1Char('\n')));
}

void Tform_global::deixa_pintar() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

// Events ---------------------------------------------------------------------------------

void Tform_global::closeEvent(QCloseEvent* evento)
{
    // A run ends only by itself; closing waits for it.
    if (executando_busca_) {
        evento->ignore();
        return;
    }
    QMainWindow::closeEvent(evento);
}

bool Tform_global::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == painel_cliente_ && evento->type() == QEvent::Resize) posiciona_calc_temp();
    if (executando_busca_ && eh_entrada(evento) && !no_modal(objeto)) return true;
    return QMainWindow::eventFilter(objeto, evento);
}

}  // namespace kelm
