#include "ui/mao_do_planejador.hpp"

// The planner's hand on pins and files: games pinned in their round as requirements, the
// requirements listed beside the grid and saved, a schedule opened from a file.

#include <exception>

#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QUndoStack>

#include "files/destinos.hpp"
#include "files/requisitos.hpp"
#include "files/resultado.hpp"
#include "files/tabela_jogos.hpp"
#include "search/comandos.hpp"
#include "ui/form_global.hpp"
#include "ui/grade_jogos.hpp"
#include "ui/regional.hpp"

namespace kelm {

void MaoDoPlanejador::atualiza_painel_requisitos()
{
    const Estado& e = janela_.estado_;
    QStringList linhas;
    if (e.campeonato.dados_carregados && e.requisitos.em_vigor()) {
        for (const QString& l : QString::fromStdString(texto_requisitos(e.requisitos, e.campeonato)).split(QLatin1Char('\n'))) {
            const QString linha = l.trimmed();
            if (!linha.isEmpty() && !linha.startsWith(QLatin1Char('#'))) linhas << linha;
        }
    }
    QStringList atuais;
    for (int i = 0; i < lista_requisitos_->count(); ++i) atuais << lista_requisitos_->item(i)->text();
    if (atuais != linhas) {
        lista_requisitos_->clear();
        lista_requisitos_->addItems(linhas);
    }
    painel_requisitos_->setVisible(e.campeonato.dados_carregados && e.requisitos.em_vigor());
}

void MaoDoPlanejador::fixa_jogo()
{
    const std::optional<PosicaoJogo> p = jogo_escolhido();
    if (!p) return;
    const Jogo j = tabela_mostrada()[p->rodada][p->vaga];
    const Requisitos antes = janela_.estado_.requisitos;
    kelm::fixa_jogo(janela_.estado_.requisitos, j.mandante(), j.visitante(), p->rodada + 1);
    pinos_mudaram(antes);
}

void MaoDoPlanejador::fixa_rodada()
{
    const std::optional<PosicaoJogo> p = jogo_escolhido();
    if (!p) return;
    const Tabela t = tabela_mostrada();
    const Requisitos antes = janela_.estado_.requisitos;
    for (int g = 0; g < t.colunas(); ++g)
        if (const Jogo& j = t[p->rodada][g]; !j.vazio())
            kelm::fixa_jogo(janela_.estado_.requisitos, j.mandante(), j.visitante(), p->rodada + 1);
    pinos_mudaram(antes);
}

void MaoDoPlanejador::solta()
{
    const std::optional<PosicaoJogo> p = jogo_escolhido();
    if (!p) return;
    const Jogo j = tabela_mostrada()[p->rodada][p->vaga];
    const Requisitos antes = janela_.estado_.requisitos;
    solta_jogo(janela_.estado_.requisitos, j.mandante(), j.visitante(), p->rodada + 1);
    pinos_mudaram(antes);
}

void MaoDoPlanejador::pinos_mudaram(const Requisitos& antes)
{
    Estado& e = janela_.estado_;
    Procedencia& p = e.execucao.procedencia;
    // The pins join the requirements in force, and the result is scored under them from now on;
    // the tenth count is minimised from the first pin on, as a run under requirements does.
    std::array<std::int32_t, num_contagens> objetivos = p.objetivos_no_fim;
    if (!p.com_requisitos) objetivos[static_cast<std::size_t>(Inviabilidade::requisitos)] = 1;
    Criterios k = e.criterios;
    k.objetivos = objetivos;
    k.pesos = p.pesos;
    TabelaAvaliada avaliada;
    Desfecho d;
    try {
        d = avalia_tabela_dada(e.campeonato, k, e.requisitos, tabela_mostrada(), avaliada);
    } catch (const std::exception& ex) {
        d = Desfecho::erro(ex.what());
    }
    if (!d.sucesso) {
        e.requisitos = antes;
        janela_.mostra(d);
        return;
    }
    e.execucao.inviabilidades_melhor = avaliada.contagens;
    e.execucao.fo_star = avaliada.fo;
    p.com_requisitos = e.requisitos.em_vigor();
    p.requisitos = e.requisitos.arquivo;
    p.objetivos_no_fim = objetivos;
    janela_.requisitos_resultado_ = e.requisitos;
    editor_.reset();
    gravado_no_limpo_ = false;
    janela_.resultado_a_salvar_ = true;
    janela_.requisitos_mudaram();
    janela_.rotulo_execucao_->setText(
        QStringLiteral("Requisitos em vigor: %1 jogos fixados. FO %2")
            .arg(std::count_if(e.requisitos.itens.begin(), e.requisitos.itens.end(), [](const Requisito& r) { return r.fixado; }))
            .arg(numero(avaliada.fo, QLocale())));
}

// Files ------------------------------------------------------------------------------------

void MaoDoPlanejador::abre_tabela()
{
    Estado& e = janela_.estado_;
    if (!e.campeonato.dados_carregados) {
        janela_.mostra({false, TipoMensagem::informacao, msg_dados_nao_carregados, {}});
        return;
    }
    const QString nome = janela_.seletor_.abre(&janela_, QString::fromUtf8(filtro_tabelas));
    if (nome.isEmpty()) return;
    Desfecho d;
    try {
        d = kelm::abre_tabela(e.campeonato, e.criterios, e.requisitos, caminho(nome), e.execucao);
    } catch (const std::exception& ex) {
        d = Desfecho::erro(msg_tabela_nao_aberta, ex.what());
    }
    if (!d.sucesso) {
        janela_.mostra(d);
        return;
    }
    janela_.requisitos_resultado_ = e.requisitos;
    janela_.houve_resultado_ = true;
    janela_.resultado_a_salvar_ = false;
    recomeca();
    gravado_no_limpo_ = true;
    janela_.atualiza_comandos();
    janela_.resume_execucao(nullptr);
    janela_.rotulo_execucao_->setText(QString::fromStdString(d.texto));
    janela_.rotulo_execucao_->setToolTip(nome + QLatin1Char('\n') + QString::fromStdString(d.texto));
    janela_.mostra_tabela(OrigemTabela::obtida);
}

void MaoDoPlanejador::salva_requisitos()
{
    const Estado& e = janela_.estado_;
    if (!e.requisitos.em_vigor()) {
        janela_.mostra({false, TipoMensagem::informacao, msg_sem_requisitos_a_salvar, {}});
        return;
    }
    const std::optional<ArquivoEscolhido> escolha =
        janela_.seletor_.salva(&janela_, QStringLiteral("Requisitos"), {QString::fromUtf8(filtro_requisitos)}, 1);
    if (!escolha || escolha->nome.isEmpty()) {
        janela_.mostra(Desfecho::erro(msg_arquivo_nao_salvo));
        return;
    }
    const QString destino = QFileInfo(escolha->nome).suffix().isEmpty() ? escolha->nome + QStringLiteral(".txt") : escolha->nome;
    // Never over the championship's files, the requirements read, the schedule opened or the
    // result saved last.
    std::vector<ArquivoDoComando> em_uso = arquivos_em_uso(janela_.arquivo_dados_, e.requisitos);
    if (!e.execucao.procedencia.tabela_aberta.empty())
        em_uso.push_back({"tabela aberta", {}, std::filesystem::path(e.execucao.procedencia.tabela_aberta)});
    if (!resultado_gravado_.empty()) em_uso.push_back({"resultado", {}, resultado_gravado_});
    Desfecho d = confere_saidas(em_uso, {{"requisitos", {}, caminho(destino)}});
    if (d.sucesso) d = confere_destino(caminho(destino));
    try {
        if (d.sucesso) d = grava_arquivo(caminho(destino), texto_requisitos(e.requisitos, e.campeonato));
    } catch (const std::exception& ex) {
        d = Desfecho::erro(msg_arquivo_nao_salvo, ex.what());
    }
    if (!d.sucesso) {
        janela_.mostra(d);
        return;
    }
    janela_.statusBar()->showMessage(QStringLiteral("Gravado em ") + destino, tempo_gravado_ms);
}

}  // namespace kelm
