// The planner's requirements in the window: read from the menu "&Arquivo", named in the status
// bar, and shown or hidden with them wherever the tenth count appears.

#include <algorithm>
#include <exception>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>

#include "files/requisitos.hpp"
#include "search/comandos.hpp"
#include "ui/form_global.hpp"
#include "ui/form_inviab.hpp"
#include "ui/form_pesos.hpp"
#include "ui/paineis.hpp"

namespace kelm {

namespace {

// "1 requisito", "12 requisitos".
QString quantos_requisitos(std::size_t n)
{
    return QStringLiteral("%1 requisito%2").arg(n).arg(n == 1 ? QString() : QStringLiteral("s"));
}

// Whether a requirement names a round past the turno's `num_rodadas`.
bool passa_do_turno(const Requisitos& requisitos, int num_rodadas)
{
    return std::any_of(requisitos.itens.begin(), requisitos.itens.end(),
                       [num_rodadas](const Requisito& r) { return !r.rodadas.empty() && r.rodadas.back() > num_rodadas; });
}

}  // namespace

void Tform_global::cria_itens_requisitos(QMenu* arquivo)
{
    arquivo->addSeparator()->setObjectName(QStringLiteral("N4"));
    QAction* abrir = arquivo->addAction(QStringLiteral("Abrir Requisitos..."));
    abrir->setObjectName(QStringLiteral("AbrirRequisitos1"));
    RetirarRequisitos1_ = arquivo->addAction(QStringLiteral("Retirar Requisitos"));
    RetirarRequisitos1_->setObjectName(QStringLiteral("RetirarRequisitos1"));
    RetirarRequisitos1_->setEnabled(false);
    connect(abrir, &QAction::triggered, this, &Tform_global::AbrirRequisitos1Click);
    connect(RetirarRequisitos1_, &QAction::triggered, this, &Tform_global::RetirarRequisitos1Click);
}

void Tform_global::AbrirRequisitos1Click() { abre_requisitos(); }
void Tform_global::RetirarRequisitos1Click() { retira_requisitos(); }

void Tform_global::abre_requisitos()
{
    // The menu opens only after a load; requirements name the teams of a championship.
    if (!estado_.campeonato.dados_carregados) {
        mostra({false, TipoMensagem::informacao, msg_dados_nao_carregados, {}});
        return;
    }
    const QString nome = seletor_.abre(this, QString::fromUtf8(filtro_requisitos));
    if (nome.isEmpty()) return;  // cancelled: the requirements in force stay
    // Read and checked aside: a refused file leaves the requirements in force as they were.
    Requisitos novos;
    Desfecho d;
    try {
        d = carrega_requisitos(estado_.campeonato, caminho(nome), novos,
                               &estado_.calendario);
        // Held against the rounds of the next run as the parameters stand; the run checks
        // them again, since the planner may choose another season before it.
        if (d.sucesso) d = confere_requisitos(novos, estado_.campeonato, opcoes_busca_.returno);
    } catch (const std::exception& e) {
        d = Desfecho::erro(msg_requisitos_nao_aberto, e.what());
    }
    // Rounds past the turno belong to a season: the planner may switch to one here, as the
    // parameters dialog's Temporada does.
    if (!d.sucesso && opcoes_busca_.returno == Returno::nenhum && passa_do_turno(novos, estado_.campeonato.num_rodadas) &&
        confere_requisitos(novos, estado_.campeonato, Returno::espelhado).sucesso) {
        const QString pergunta = QString::fromStdString(d.texto) +
                                 QStringLiteral("\n\nUsar a temporada inteira, turno e returno espelhado? (A Temporada "
                                                "também se escolhe em Parâmetros da Busca, no botão T0`.)");
        if (mensageiro_.pergunta(this, {pergunta, {QStringLiteral("Sim"), QStringLiteral("Não")}}) != 0) return;
        opcoes_busca_.returno = Returno::espelhado;
        d = Desfecho::ok();
    }
    if (!d.sucesso) {
        mostra(d);
        return;
    }
    estado_.requisitos = std::move(novos);
    requisitos_mudaram();
    mostra(Desfecho::ok("Os requisitos do planejador foram carregados com sucesso: " +
                        quantos_requisitos(estado_.requisitos.itens.size()).toStdString() + " em vigor."));
}

void Tform_global::retira_requisitos()
{
    estado_.requisitos = {};
    requisitos_mudaram();
}

void Tform_global::requisitos_mudaram()
{
    const bool em_vigor = estado_.requisitos.em_vigor();
    const QString arquivo = QFile::decodeName(QByteArray::fromStdString(estado_.requisitos.arquivo));
    // Pins made in the window are requirements of no file until Salvar Requisitos... writes them.
    const QString nome = arquivo.isEmpty() ? QStringLiteral("jogos fixados na janela") : QFileInfo(arquivo).fileName();
    rotulo_requisitos_->setText(em_vigor ? QStringLiteral("Requisitos: ") + nome : QString());
    rotulo_requisitos_->setToolTip(
        em_vigor ? QStringLiteral("%1 (%2)").arg(arquivo.isEmpty() ? nome : arquivo,
                                                 quantos_requisitos(estado_.requisitos.itens.size()))
                 : QString());
    if (form_inviab_ != nullptr) form_inviab_->mostra_requisitos(em_vigor);
    if (form_pesos_ != nullptr) form_pesos_->mostra_requisitos(em_vigor);
    executando_->mostra_requisitos(em_vigor);
    atualiza_comandos();
    atualiza_titulo();
    refaz_grade();
}

const Requisitos* Tform_global::requisitos_do_resultado() const
{
    return estado_.execucao.procedencia.com_requisitos ? &requisitos_resultado_ : nullptr;
}

const Requisitos* Tform_global::requisitos_em_vigor() const
{
    return estado_.requisitos.em_vigor() ? &estado_.requisitos : nullptr;
}

}  // namespace kelm
