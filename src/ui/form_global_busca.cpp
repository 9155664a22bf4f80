#include "ui/form_global.hpp"

#include <exception>
#include <functional>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>

#include "model/temporada.hpp"
#include "report/explicacao.hpp"
#include "report/ficha.hpp"
#include "search/comandos.hpp"
#include "ui/busca_em_fundo.hpp"
#include "ui/form_inviab.hpp"
#include "ui/form_replanejar.hpp"
#include "ui/grade_jogos.hpp"
#include "ui/mao_do_planejador.hpp"
#include "ui/paineis.hpp"

// The run command in the window: the search runs on its own thread while the window shows
// what it reports, and the window takes the state back when it ends.

namespace kelm {

namespace {

constexpr const char* msg_executando =
    "Executando a busca. Parar (Esc) termina no próximo nível de temperatura, com a melhor tabela encontrada até então.";
constexpr const char* msg_parando = "Parando a busca no fim deste nível de temperatura...";
constexpr const char* msg_parada = "Execução parada pelo planejador: o resultado é a melhor tabela encontrada até então.";

// Hides the grid view, as the run command does when a run starts: what a search that was
// cancelled before it began reports.
class ObservadorDaRecusa : public Observador {
public:
    explicit ObservadorDaRecusa(std::function<void()> esconde) : esconde_(std::move(esconde)) {}
    void execucao_iniciada() override { esconde_(); }

private:
    std::function<void()> esconde_;
};

}  // namespace

void Tform_global::liga_busca()
{
    BuscaEmFundo* b = busca_;
    connect(b, &BuscaEmFundo::execucao_iniciada, this, &Tform_global::esconde_grade);
    connect(b, &BuscaEmFundo::calculo_t0_iniciado, this, [this] {
        calc_temp_->show();
        calc_temp_->raise();
    });
    connect(b, &BuscaEmFundo::temperatura_candidata, this, [this](double t) { calc_temp_->mostra_candidata(t, QLocale()); });
    connect(b, &BuscaEmFundo::calculo_t0_concluido, calc_temp_, &QWidget::hide);
    connect(b, &BuscaEmFundo::fase_iniciada, this,
            [this](int, double hora_inicio) { executando_->mostra_inicio(hora_inicio, QLocale()); });
    connect(b, &BuscaEmFundo::andamento, this, [this](const Andamento& a) {
        if (!executando_->isVisible()) {
            executando_->show();
            executando_->raise();
        }
        executando_->atualiza_andamento(a, QLocale());
        emit andamento_mostrado(a);
    });
    connect(b, &BuscaEmFundo::reaquecimento, executando_, &PainelAndamento::mostra_reaquecimentos);
    connect(b, &BuscaEmFundo::bipe, this, [] { QApplication::beep(); });
    connect(b, &BuscaEmFundo::fase_concluida, executando_, &QWidget::hide);
    connect(b, &BuscaEmFundo::terminou, this, &Tform_global::busca_terminou);
    connect(executando_, &PainelAndamento::parar, this, &Tform_global::pararClick);
}

void Tform_global::executa_busca() { executa_busca(opcoes_busca_); }

void Tform_global::replaneja()
{
    if (busca_->executando()) return;
    if (const Desfecho d = pode_mostrar_resultado(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(Desfecho::simples("Não há tabela para replanejar: execute a busca ou abra uma tabela antes."));
        return;
    }
    const Campeonato& c = estado_.campeonato;
    const Execucao& x = estado_.execucao;
    // The schedule on screen, in its own season; a season opened that follows no scheme has
    // no turno for the search to move.
    OpcoesBusca opcoes = opcoes_busca_;
    opcoes.returno = x.procedencia.returno;
    if (opcoes.returno == Returno::nenhum && x.tabela_melhor.linhas() > c.num_rodadas) {
        mostra(Desfecho::erro("A tabela na tela é uma temporada cujo returno não repete o turno (nem espelhado nem "
                              "francês): o replanejamento parte de um turno ou de uma temporada que segue um desses "
                              "returnos."));
        return;
    }
    Tabela partida;
    if (const Desfecho d =
            turno_de_partida(c, tabela_da_temporada(x.tabela_melhor, opcoes.returno), opcoes.returno, opcoes.busca, partida);
        !d.sucesso) {
        mostra(d);
        return;
    }
    const auto mudancas = static_cast<std::size_t>(Inviabilidade::mudancas);
    Tform_replanejar dialogo(rodadas_da_execucao(c.num_rodadas, opcoes.returno), estado_.criterios.pesos[mudancas],
                             mensageiro_, this);
    if (dialogo.exec() != QDialog::Accepted) return;
    const PedidoReplanejamento& pedido = dialogo.pedido();
    Desfecho d = congela_rodadas(c, opcoes.returno, pedido.congeladas, opcoes.congeladas);
    if (d.sucesso) d = confere_requisitos_congelados(estado_.requisitos, c, opcoes.returno, partida, opcoes.congeladas);
    if (!d.sucesso) {
        mostra(d);
        return;
    }
    partida_replanejamento_ = std::move(partida);
    opcoes.partida = &partida_replanejamento_;
    opcoes.arquivo_partida = x.procedencia.tabela_aberta.empty() ? std::string("Tabela Obtida") : x.procedencia.tabela_aberta;
    estado_.criterios.pesos[mudancas] = pedido.peso_mudanca;
    executa_busca(opcoes);
}

void Tform_global::executa_busca(const OpcoesBusca& opcoes_busca)
{
    if (busca_->executando()) return;
    if (const Desfecho d = confere_busca(estado_, opcoes_busca); !d.sucesso) {
        mostra(d);
        return;
    }
    // The objectives are asked for here, on the window's thread, before the search starts;
    // the search takes them as it would have asked for them.
    std::optional<Criterios> escolhidos;
    Criterios antes = estado_.criterios;
    if (!estado_.criterios.objetivos_escolhidos) {
        if (form_inviab_ != nullptr) form_inviab_->exec();
        if (!estado_.criterios.objetivos_escolhidos) {
            // Cancelled: the command ends as the search ends it, with nothing run.
            ObservadorDaRecusa recusa([this] { esconde_grade(); });
            const ResumoBusca r = kelm::executa_busca(estado_, recusa, opcoes_busca);
            if (!r.desfecho.sucesso && !r.desfecho.texto.empty()) mostra(r.desfecho);
            return;
        }
        escolhidos = estado_.criterios;
    }

    Estado copia = estado_;
    copia.criterios = antes;
    try {
        busca_->inicia(std::move(copia), opcoes_busca, escolhidos);
    } catch (const std::exception& e) {
        mostra(Desfecho::erro("A execução foi interrompida por um erro.", e.what()));
        return;
    }
    sair_ao_terminar_ = false;
    rotulo_execucao_->setText(QString::fromUtf8(msg_executando));
    rotulo_execucao_->setToolTip({});
    atualiza_comandos();
}

void Tform_global::pararClick()
{
    if (!busca_->executando() || busca_->parada_pedida()) return;
    busca_->para();
    rotulo_execucao_->setText(QString::fromUtf8(msg_parando));
    atualiza_comandos();
}

void Tform_global::busca_terminou()
{
    BuscaEmFundo::Devolvido d = busca_->devolve();
    estado_ = std::move(d.estado);
    mao_->recomeca();
    executando_->hide();
    calc_temp_->hide();
    const ResumoBusca& resumo = d.resumo;
    if (resumo.desfecho.sucesso && resumo.executada && estado_.execucao.programa_executado) {
        requisitos_resultado_ = estado_.requisitos;
        houve_resultado_ = true;
        resultado_a_salvar_ = true;
    }
    atualiza_comandos();
    resume_execucao(resumo.desfecho.sucesso && resumo.executada ? &resumo : nullptr);

    for (const QString& texto : d.mensagens) mensageiro_.mostra(this, TipoMensagem::simples, texto);
    if (!resumo.desfecho.sucesso && !resumo.desfecho.texto.empty()) mostra(resumo.desfecho);
    emit busca_terminada();
    if (sair_ao_terminar_) {
        sair_ao_terminar_ = false;
        close();
    }
}

void Tform_global::resume_execucao(const ResumoBusca* resumo)
{
    QStringList partes;
    QStringList frases;
    if (resumo != nullptr && resumo->parada) partes << QString::fromUtf8(msg_parada);
    if (resumo != nullptr && resumo->interrompida)
        partes << QStringLiteral("A primeira fase parou no limite de %1 reaquecimentos%2.")
                      .arg(opcoes_busca_.max_reaquecimentos)
                      .arg(opcoes_busca_.busca == TipoBusca::padrao
                               ? QStringLiteral("; a busca de rodadas completas (Parâmetros da Busca) costuma concluir "
                                                "as duas fases")
                               : QString());
    if (resumo != nullptr && estado_.execucao.procedencia.com_mudancas) {
        const Procedencia& p = estado_.execucao.procedencia;
        const auto mudados = static_cast<long long>(estado_.execucao.inviabilidades_melhor[Inviabilidade::mudancas]);
        QString texto = mudados == 1 ? QStringLiteral("Replanejamento: 1 jogo mudou de rodada")
                                     : QStringLiteral("Replanejamento: %1 jogos mudaram de rodada").arg(mudados);
        if (!p.congeladas.empty())
            texto += QStringLiteral(", rodadas congeladas %1").arg(QString::fromStdString(intervalos_de_rodadas(p.congeladas)));
        partes << texto + QLatin1Char('.');
        if (resumo->partida_mantida) partes << QStringLiteral("A busca não melhorou a tabela de partida, que foi mantida.");
    }
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

// Events ---------------------------------------------------------------------------------

void Tform_global::closeEvent(QCloseEvent* evento)
{
    // During a run: stop it first, and close once it has ended and its result was offered
    // for saving.
    if (busca_->executando()) {
        evento->ignore();
        const Pergunta p{QStringLiteral("A busca está em andamento. Parar a busca e sair?"),
                         {QStringLiteral("Parar e sair"), QStringLiteral("Continuar")}};
        if (mensageiro_.pergunta(this, p) != 0) return;
        sair_ao_terminar_ = true;
        pararClick();
        return;
    }
    if (resultado_a_salvar_ && estado_.execucao.programa_executado) {
        const Pergunta p{QString::fromUtf8(pergunta_salvar_ao_sair),
                         {QStringLiteral("Salvar"), QStringLiteral("Sair sem salvar"), QStringLiteral("Cancelar")}};
        const int resposta = mensageiro_.pergunta(this, p);
        if (resposta == 2 || (resposta == 0 && !salva_tabela())) {
            evento->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(evento);
}

bool Tform_global::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == painel_cliente_ && evento->type() == QEvent::Resize) posiciona_calc_temp();
    return QMainWindow::eventFilter(objeto, evento);
}

}  // namespace kelm
