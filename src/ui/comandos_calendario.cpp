// The season's calendar in the window: read from the menu "&Arquivo", named in the status bar,
// its dates shown wherever the rounds are, and the result exported as calendars that clubs
// and fans subscribe to.

#include <algorithm>
#include <exception>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "files/calendario.hpp"
#include "files/destinos.hpp"
#include "files/icalendario.hpp"
#include "files/requisitos.hpp"
#include "model/temporada.hpp"
#include "report/ficha.hpp"
#include "search/comandos.hpp"
#include "ui/form_global.hpp"

namespace kelm {

namespace {

constexpr const char* msg_sem_calendario =
    "Não há calendário em vigor: abra o calendário da temporada (Arquivo, Abrir Calendário...) para exportar a "
    "tabela obtida.";

// A name the core keeps, as the planner reads it.
QString nome_do_core(const std::string& nome) { return QFile::decodeName(QByteArray::fromStdString(nome)); }

// The requirements in force read again from their text under `calendario` (none when null):
// their dates fall on its rounds; the pins made in the window stay as they are. The refusal of
// the reader when a date falls on none of its rounds, or when there are dates and no calendar.
Desfecho rele_requisitos(const Requisitos& em_vigor, const Campeonato& campeonato, const Calendario* calendario,
                         Requisitos& relidos)
{
    Requisitos lidos;
    const Desfecho d = le_requisitos(em_vigor.texto, em_vigor.arquivo, campeonato, lidos, calendario);
    if (!d.sucesso) return d;
    relidos = em_vigor;
    for (Requisito& r : relidos.itens) {
        if (r.fixado) continue;
        const auto igual = std::find_if(lidos.itens.begin(), lidos.itens.end(),
                                        [&r](const Requisito& l) { return !l.fixado && l.linha == r.linha; });
        if (igual != lidos.itens.end()) r = *igual;
    }
    return Desfecho::ok();
}

// `calendario` when it is in force and dates `rodadas` rounds, or null.
const Calendario* calendario_das_rodadas(const Calendario& calendario, int rodadas)
{
    return calendario.em_vigor() && calendario.num_rodadas() == rodadas ? &calendario : nullptr;
}

}  // namespace

void Tform_global::cria_itens_calendario(QMenu* arquivo)
{
    arquivo->addSeparator()->setObjectName(QStringLiteral("N5"));
    QAction* abrir = arquivo->addAction(QStringLiteral("Abrir Calendário..."));
    abrir->setObjectName(QStringLiteral("AbrirCalendario1"));
    RetirarCalendario1_ = arquivo->addAction(QStringLiteral("Retirar Calendário"));
    RetirarCalendario1_->setObjectName(QStringLiteral("RetirarCalendario1"));
    RetirarCalendario1_->setEnabled(false);
    ExportarCalendario1_ = arquivo->addAction(QStringLiteral("Exportar Calendário..."));
    ExportarCalendario1_->setObjectName(QStringLiteral("ExportarCalendario1"));
    ExportarCalendario1_->setEnabled(false);
    connect(abrir, &QAction::triggered, this, &Tform_global::AbrirCalendario1Click);
    connect(RetirarCalendario1_, &QAction::triggered, this, &Tform_global::RetirarCalendario1Click);
    connect(ExportarCalendario1_, &QAction::triggered, this, &Tform_global::ExportarCalendario1Click);
}

void Tform_global::AbrirCalendario1Click() { abre_calendario(); }
void Tform_global::RetirarCalendario1Click() { retira_calendario(); }
void Tform_global::ExportarCalendario1Click() { exporta_calendario(); }

void Tform_global::abre_calendario()
{
    if (!estado_.campeonato.dados_carregados) {
        mostra({false, TipoMensagem::informacao, msg_dados_nao_carregados, {}});
        return;
    }
    const QString nome = seletor_.abre(this, QString::fromUtf8(filtro_calendario));
    if (nome.isEmpty()) return;  // cancelled: the calendar in force stays
    // Read aside for the rounds of the next run as the parameters stand: a refused file leaves
    // the calendar in force as it was. The run checks it again, since the planner may choose
    // another season before it.
    const int turno = estado_.campeonato.num_rodadas;
    Calendario novo;
    Desfecho d;
    try {
        d = carrega_calendario(caminho(nome), rodadas_da_execucao(turno, opcoes_busca_.returno), novo);
        // The 2R rounds of a whole season while the turno alone is chosen: the planner may
        // switch to the season here, as when opening requirements.
        Calendario da_temporada;
        if (!d.sucesso && opcoes_busca_.returno == Returno::nenhum &&
            carrega_calendario(caminho(nome), 2 * turno, da_temporada).sucesso) {
            const QString pergunta =
                QString::fromStdString(d.texto) +
                QStringLiteral("\n\nO calendário dá as datas das %1 rodadas da temporada inteira. Usar a temporada "
                               "inteira, turno e returno espelhado? (A Temporada também se escolhe em Parâmetros da "
                               "Busca, no botão T0`.)")
                    .arg(2 * turno);
            if (mensageiro_.pergunta(this, {pergunta, {QStringLiteral("Sim"), QStringLiteral("Não")}}) != 0) return;
            opcoes_busca_.returno = Returno::espelhado;
            novo = std::move(da_temporada);
            d = Desfecho::ok();
        }
    } catch (const std::exception& e) {
        d = Desfecho::erro(msg_calendario_nao_aberto, e.what());
    }
    // Requirements given by dates fall on the rounds of the new calendar.
    Requisitos requisitos = estado_.requisitos;
    if (d.sucesso && estado_.requisitos.em_vigor()) {
        d = rele_requisitos(estado_.requisitos, estado_.campeonato, &novo, requisitos);
        if (!d.sucesso)
            d = Desfecho::erro(msg_calendario_nao_aberto + std::string(" Os requisitos em vigor não cabem nele: ") + d.texto);
    }
    if (!d.sucesso) {
        mostra(d);
        return;
    }
    estado_.calendario = std::move(novo);
    estado_.requisitos = std::move(requisitos);
    calendario_mudou();
    mostra(Desfecho::ok("O calendário foi carregado com sucesso: as datas de " +
                        std::to_string(estado_.calendario.num_rodadas()) + " rodadas."));
}

void Tform_global::retira_calendario()
{
    // Requirements given by dates need a calendar: they stay, and so does the calendar.
    Requisitos requisitos = estado_.requisitos;
    if (estado_.requisitos.em_vigor()) {
        if (const Desfecho d = rele_requisitos(estado_.requisitos, estado_.campeonato, nullptr, requisitos); !d.sucesso) {
            mostra(Desfecho::erro("O calendário não foi retirado: os requisitos em vigor precisam dele. Retire os "
                                  "requisitos antes.",
                                  d.texto));
            return;
        }
    }
    estado_.calendario = {};
    estado_.requisitos = std::move(requisitos);
    calendario_mudou();
}

void Tform_global::calendario_mudou()
{
    const bool em_vigor = estado_.calendario.em_vigor();
    const QString arquivo = nome_do_core(estado_.calendario.arquivo);
    rotulo_calendario_->setText(em_vigor ? QStringLiteral("Calendário: ") + QFileInfo(arquivo).fileName() : QString());
    rotulo_calendario_->setToolTip(
        em_vigor ? QStringLiteral("%1 (%2 rodadas)").arg(arquivo).arg(estado_.calendario.num_rodadas()) : QString());
    // The requirements may have been read again; their views follow.
    requisitos_mudaram();
}

const Calendario* Tform_global::calendario_da_tabela(OrigemTabela origem, int rodadas) const
{
    return calendario_das_rodadas(
        origem == OrigemTabela::obtida ? estado_.execucao.procedencia.calendario : estado_.calendario, rodadas);
}

void Tform_global::exporta_calendario()
{
    if (const Desfecho d = pode_mostrar_resultado(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return;
    }
    if (!estado_.calendario.em_vigor()) {
        mostra(Desfecho::erro(msg_sem_calendario));
        return;
    }
    const Execucao& x = estado_.execucao;
    const Temporada t = temporada_de(estado_.campeonato, x.tabela_melhor, x.procedencia.returno);
    if (const Desfecho d = confere_calendario(estado_.calendario, t.tabela.linhas()); !d.sucesso) {
        mostra(d);
        return;
    }
    const QString pasta = seletor_.pasta(this, QStringLiteral("Exportar Calendário"));
    if (pasta.isEmpty()) return;
    // As kelm-lote's --ical: the folder checked, the earlier export read back, and no file in
    // use replaced.
    const std::string campeonato = nome_do_campeonato(arquivo_dados_.string());
    ExportacaoIcal exportacao;
    Desfecho d;
    try {
        d = confere_pasta_ical(caminho(pasta), campeonato);
        if (d.sucesso) d = prepara_ical(caminho(pasta), campeonato, estado_.campeonato, exportacao);
        if (d.sucesso) {
            std::vector<ArquivoDoComando> lidos = arquivos_em_uso(arquivo_dados_, estado_.requisitos);
            lidos.push_back({"calendário", {}, std::filesystem::path(estado_.calendario.arquivo)});
            std::vector<ArquivoDoComando> gravados;
            for (const auto& arquivo : arquivos_da_exportacao(exportacao))
                gravados.push_back({"calendário exportado", arquivo.string(), arquivo});
            d = confere_saidas(lidos, gravados);
        }
        if (d.sucesso) d = grava_ical(exportacao, estado_.campeonato, t.tabela, estado_.calendario);
    } catch (const std::exception& e) {
        d = Desfecho::erro("Os calendários não foram gravados.", e.what());
    }
    if (!d.sucesso) {
        mostra(d);
        return;
    }
    statusBar()->showMessage(QStringLiteral("Calendários gravados em ") + pasta, tempo_gravado_ms);
}

}  // namespace kelm
