#include "ui/mao_do_planejador.hpp"

#include <algorithm>
#include <exception>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include "files/destinos.hpp"
#include "files/requisitos.hpp"
#include "files/resultado.hpp"
#include "files/tabela_jogos.hpp"
#include "model/temporada.hpp"
#include "search/comandos.hpp"
#include "ui/form_global.hpp"
#include "ui/grade_jogos.hpp"
#include "ui/regional.hpp"

namespace kelm {

namespace {

// The names of the teams, indexed by number.
QStringList nomes_dos_times(const Campeonato& campeonato)
{
    QStringList nomes;
    for (const std::string& n : campeonato.nomes_times) nomes << QString::fromStdString(n);
    return nomes;
}

// "5ª rodada", rounds from 0.
QString nome_rodada(int rodada) { return QStringLiteral("%1ª rodada").arg(rodada + 1); }

// One change by hand on the undo stack. A change is its own inverse, so undoing it makes it again.
class ComandoMudanca : public QUndoCommand {
public:
    ComandoMudanca(MaoDoPlanejador& mao, const MudancaManual& mudanca, const QString& nome)
        : QUndoCommand(nome), mao_(mao), mudanca_(mudanca)
    {
    }
    void redo() override { mao_.faz(mudanca_); }
    void undo() override { mao_.faz(mudanca_); }

private:
    MaoDoPlanejador& mao_;
    MudancaManual mudanca_;
};

}  // namespace

std::optional<int> dialogo_escolha(QWidget* pai, const Escolha& escolha)
{
    QDialog dialogo(pai);
    dialogo.setObjectName(QStringLiteral("dialogo_escolha"));
    dialogo.setWindowTitle(escolha.titulo);
    auto* coluna = new QVBoxLayout(&dialogo);
    coluna->addWidget(new QLabel(escolha.texto, &dialogo));
    auto* lista = new QComboBox(&dialogo);
    lista->setObjectName(QStringLiteral("itens"));
    lista->addItems(escolha.itens);
    lista->setCurrentIndex(escolha.atual);
    coluna->addWidget(lista);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialogo);
    botoes->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    botoes->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    coluna->addWidget(botoes);
    QObject::connect(botoes, &QDialogButtonBox::accepted, &dialogo, &QDialog::accept);
    QObject::connect(botoes, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
    if (escolha.ao_mudar) {
        QObject::connect(lista, &QComboBox::currentIndexChanged, &dialogo, escolha.ao_mudar);
        escolha.ao_mudar(lista->currentIndex());
    }
    if (dialogo.exec() != QDialog::Accepted || lista->currentIndex() < 0) return std::nullopt;
    return lista->currentIndex();
}

MaoDoPlanejador::MaoDoPlanejador(Tform_global& janela)
    : QObject(&janela), janela_(janela), escolha_(dialogo_escolha), pilha_(new QUndoStack(this))
{
    auto acao = [this](const char* nome, const QString& texto, const QKeySequence& atalho, void (MaoDoPlanejador::*f)()) {
        auto* a = new QAction(texto, &janela_);
        a->setObjectName(QLatin1String(nome));
        a->setShortcut(atalho);
        a->setEnabled(false);
        janela_.addAction(a);
        if (f != nullptr) connect(a, &QAction::triggered, this, f);
        return a;
    };
    abrir_tabela_ = acao("AbrirTabela1", QStringLiteral("Abrir Tabela..."), {}, &MaoDoPlanejador::abre_tabela);
    salvar_requisitos_ =
        acao("SalvarRequisitos1", QStringLiteral("Salvar Requisitos..."), {}, &MaoDoPlanejador::salva_requisitos);
    troca_rodadas_ = acao("TrocarRodadas1", QStringLiteral("Trocar rodadas..."), QKeySequence(Qt::CTRL | Qt::Key_R),
                          &MaoDoPlanejador::troca_rodadas);
    inverte_mando_ = acao("InverterMando1", QStringLiteral("Inverter mando"), QKeySequence(Qt::CTRL | Qt::Key_I),
                          &MaoDoPlanejador::inverte_mando);
    troca_times_ = acao("TrocarTimes1", QStringLiteral("Trocar times..."), QKeySequence(Qt::CTRL | Qt::Key_T),
                        &MaoDoPlanejador::troca_times);
    move_jogo_ = acao("MoverJogo1", QStringLiteral("Mover jogo para a rodada..."), QKeySequence(Qt::CTRL | Qt::Key_M),
                      &MaoDoPlanejador::move_jogo);
    fixa_jogo_ = acao("FixarJogo1", QStringLiteral("Fixar jogo"), QKeySequence(Qt::CTRL | Qt::Key_L),
                      &MaoDoPlanejador::fixa_jogo);
    fixa_rodada_ = acao("FixarRodada1", QStringLiteral("Fixar rodada"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L),
                        &MaoDoPlanejador::fixa_rodada);
    solta_ = acao("Soltar1", QStringLiteral("Soltar"), QKeySequence(Qt::CTRL | Qt::Key_U), &MaoDoPlanejador::solta);

    // Arquivo: open a schedule, save the requirements in force.
    if (auto* arquivo = janela_.findChild<QMenu*>(QStringLiteral("Arquivo1"))) {
        arquivo->addSeparator()->setObjectName(QStringLiteral("N5"));
        arquivo->addAction(abrir_tabela_);
        arquivo->addAction(salvar_requisitos_);
    }

    // Editar, before Resultados: undo and redo, then the changes and pins of the grid's game.
    editar_ = new QMenu(QStringLiteral("&Editar"), janela_.menuBar());
    editar_->setObjectName(QStringLiteral("Editar1"));
    editar_->menuAction()->setObjectName(QStringLiteral("Editar1"));
    editar_->setToolTipsVisible(true);
    janela_.menuBar()->insertMenu(janela_.Impressos1_, editar_);
    desfazer_ = acao("Desfazer1", QStringLiteral("Desfazer"), QKeySequence::Undo, nullptr);
    refazer_ = acao("Refazer1", QStringLiteral("Refazer"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), nullptr);
    connect(desfazer_, &QAction::triggered, pilha_, &QUndoStack::undo);
    connect(refazer_, &QAction::triggered, pilha_, &QUndoStack::redo);
    editar_->addActions({desfazer_, refazer_});
    editar_->addSeparator();
    editar_->addActions({troca_rodadas_, inverte_mando_, troca_times_, move_jogo_});
    editar_->addSeparator();
    editar_->addActions({fixa_jogo_, fixa_rodada_, solta_});
    connect(pilha_, &QUndoStack::indexChanged, this, [this] { atualiza_acoes(); });
    connect(pilha_, &QUndoStack::cleanChanged, this, [this](bool limpo) {
        if (!limpo || gravado_no_limpo_) janela_.resultado_a_salvar_ = !limpo;
    });

    GradeJogos* grade = janela_.tabela_jogos_;
    grade->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grade, &QWidget::customContextMenuRequested, this, &MaoDoPlanejador::menu_de_contexto);
    connect(grade->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { atualiza_acoes(); });

    // Beside the grid, the requirements in force, pins included.
    painel_requisitos_ = new QDockWidget(QStringLiteral("Requisitos em vigor"), &janela_);
    painel_requisitos_->setObjectName(QStringLiteral("painel_requisitos"));
    painel_requisitos_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    lista_requisitos_ = new QListWidget(painel_requisitos_);
    lista_requisitos_->setObjectName(QStringLiteral("lista_requisitos"));
    painel_requisitos_->setWidget(lista_requisitos_);
    janela_.addDockWidget(Qt::RightDockWidgetArea, painel_requisitos_);
    painel_requisitos_->hide();
}

MaoDoPlanejador::~MaoDoPlanejador() = default;

// The window's hooks ----------------------------------------------------------------------

void MaoDoPlanejador::recomeca()
{
    gravado_no_limpo_ = false;
    pilha_->clear();
    editor_.reset();
    previa_.clear();
    base_ = ha_resultado(janela_.estado_.campeonato, janela_.estado_.execucao) ? tabela_mostrada() : Tabela{};
    atualiza_acoes();
}

void MaoDoPlanejador::salvo(const std::filesystem::path& destino)
{
    resultado_gravado_ = destino;
    gravado_no_limpo_ = true;
    pilha_->setClean();
    base_ = tabela_mostrada();
    marca_grade();
}

void MaoDoPlanejador::atualiza_comandos(bool livre)
{
    livre_ = livre;
    const bool carregado = janela_.estado_.campeonato.dados_carregados;
    abrir_tabela_->setEnabled(livre && carregado);
    salvar_requisitos_->setEnabled(livre && carregado);
    atualiza_acoes();
    atualiza_painel_requisitos();
}

void MaoDoPlanejador::marca_grade()
{
    ModeloGrade* modelo = janela_.tabela_jogos_->modelo();
    const Estado& e = janela_.estado_;
    if (janela_.na_grade_ != OrigemTabela::obtida || !ha_resultado(e.campeonato, e.execucao)) {
        modelo->define_marcas_mao({});
        return;
    }
    const Tabela t = tabela_mostrada();
    const Requisitos* requisitos = janela_.requisitos_do_resultado();
    const bool com_base = base_.linhas() == t.linhas() && base_.colunas() == t.colunas();
    std::vector<std::uint8_t> marcas(static_cast<std::size_t>(t.linhas()) * static_cast<std::size_t>(t.colunas()), 0);
    const auto k = [&t](int r, int g) {
        return static_cast<std::size_t>(r) * static_cast<std::size_t>(t.colunas()) + static_cast<std::size_t>(g);
    };
    for (int r = 0; r < t.linhas(); ++r)
        for (int g = 0; g < t.colunas(); ++g) {
            const Jogo& j = t[r][g];
            if (com_base && !(base_[r][g] == j)) marcas[k(r, g)] |= marca_mao::mudado;
            if (requisitos != nullptr && !j.vazio() && esta_fixado(*requisitos, j.mandante(), j.visitante(), r + 1))
                marcas[k(r, g)] |= marca_mao::fixado;
        }
    for (const PosicaoJogo& p : previa_)
        if (p.rodada < t.linhas() && p.vaga < t.colunas()) marcas[k(p.rodada, p.vaga)] |= marca_mao::previa;
    modelo->define_marcas_mao(std::move(marcas));
}

// What the hand knows of the result ----------------------------------------------------------

EdicaoTabela* MaoDoPlanejador::editor(QString* motivo)
{
    if (editor_) return editor_.get();
    const Campeonato& c = janela_.estado_.campeonato;
    Execucao& x = janela_.estado_.execucao;
    QString por_que;
    if (!ha_resultado(c, x)) {
        por_que = QString::fromUtf8(msg_tabela_resultado);
    } else if (x.procedencia.com_mudancas) {
        por_que = QString::fromUtf8(msg_replanejamento_fixo);
    } else if (const Desfecho d = EdicaoTabela::pode_editar(c, x.tabela_melhor); !d.sucesso) {
        por_que = QString::fromStdString(d.texto);
    } else {
        // The result is re-scored as it was scored: its weights and the objectives in force at its end.
        Criterios k = janela_.estado_.criterios;
        k.objetivos = x.procedencia.objetivos_no_fim;
        k.pesos = x.procedencia.pesos;
        try {
            editor_ = std::make_unique<EdicaoTabela>(c, k, x.procedencia.returno, janela_.requisitos_do_resultado(),
                                                     x.tabela_melhor);
        } catch (const std::exception& e) {
            por_que = QString::fromUtf8(e.what());
        }
    }
    if (motivo != nullptr) *motivo = por_que;
    return editor_.get();
}

Tabela MaoDoPlanejador::tabela_mostrada() const
{
    const Execucao& x = janela_.estado_.execucao;
    return temporada_de(janela_.estado_.campeonato, x.tabela_melhor, x.procedencia.returno).tabela;
}

std::optional<PosicaoJogo> MaoDoPlanejador::jogo_escolhido() const
{
    const Estado& e = janela_.estado_;
    if (janela_.na_grade_ != OrigemTabela::obtida || !ha_resultado(e.campeonato, e.execucao)) return std::nullopt;
    const QModelIndex i = janela_.tabela_jogos_->currentIndex();
    if (!i.isValid() || i.row() < 1 || i.column() < 1) return std::nullopt;
    const Tabela t = tabela_mostrada();
    const PosicaoJogo p{i.row() - 1, i.column() - 1};
    if (p.rodada >= t.linhas() || p.vaga >= t.colunas() || t[p.rodada][p.vaga].vazio()) return std::nullopt;
    return p;
}

void MaoDoPlanejador::atualiza_acoes()
{
    const Estado& e = janela_.estado_;
    const bool no_resultado = livre_ && janela_.na_grade_ == OrigemTabela::obtida && ha_resultado(e.campeonato, e.execucao);
    desfazer_->setEnabled(livre_ && pilha_->canUndo());
    refazer_->setEnabled(livre_ && pilha_->canRedo());
    QString motivo;
    EdicaoTabela* ed = no_resultado ? editor(&motivo) : nullptr;
    const std::optional<PosicaoJogo> p = no_resultado ? jogo_escolhido() : std::nullopt;
    if (no_resultado && ed != nullptr && !p) motivo = QStringLiteral("Escolha um jogo na grade.");

    // Whether some change of `tipo` from the chosen game is one the editor takes.
    const auto alguma = [&](MudancaManual::Tipo tipo) {
        if (ed == nullptr || !p) return false;
        const Tabela t = tabela_mostrada();
        const Jogo j = t[p->rodada][p->vaga];
        if (tipo == MudancaManual::Tipo::inverte_mando) return ed->valida({tipo, p->rodada, p->vaga, 0});
        if (tipo == MudancaManual::Tipo::troca_times) {
            for (int u = 1; u <= e.campeonato.num_times; ++u)
                if (ed->valida({tipo, j.mandante(), u, 0}) || ed->valida({tipo, j.visitante(), u, 0})) return true;
            return false;
        }
        for (int s = 0; s < t.linhas(); ++s)
            if (ed->valida({tipo, p->rodada, s, j.mandante()})) return true;
        return false;
    };
    const std::pair<QAction*, MudancaManual::Tipo> mudancas[] = {
        {troca_rodadas_, MudancaManual::Tipo::troca_rodadas},
        {inverte_mando_, MudancaManual::Tipo::inverte_mando},
        {troca_times_, MudancaManual::Tipo::troca_times},
        {move_jogo_, MudancaManual::Tipo::move_jogo},
    };
    for (const auto& [a, tipo] : mudancas) {
        a->setEnabled(alguma(tipo));
        a->setToolTip(a->isEnabled() || motivo.isEmpty() ? a->text().remove(QStringLiteral("...")) : motivo);
    }

    // Pins: of any result on the grid.
    const Requisitos* requisitos = janela_.requisitos_do_resultado();
    bool fixado = false;
    bool rodada_toda_fixada = true;
    if (p) {
        const Tabela t = tabela_mostrada();
        const auto fixo = [&](const Jogo& j) {
            return requisitos != nullptr && esta_fixado(*requisitos, j.mandante(), j.visitante(), p->rodada + 1);
        };
        fixado = fixo(t[p->rodada][p->vaga]);
        for (int g = 0; g < t.colunas(); ++g)
            if (!t[p->rodada][g].vazio() && !fixo(t[p->rodada][g])) rodada_toda_fixada = false;
    }
    fixa_jogo_->setEnabled(p && !fixado);
    fixa_rodada_->setEnabled(p && !rodada_toda_fixada);
    solta_->setEnabled(p && fixado);
}

void MaoDoPlanejador::menu_de_contexto(const QPoint& ponto)
{
    const QModelIndex i = janela_.tabela_jogos_->indexAt(ponto);
    if (!i.isValid() || i.row() < 1 || i.column() < 1) return;
    janela_.tabela_jogos_->setCurrentIndex(i);
    atualiza_acoes();
    QMenu menu(janela_.tabela_jogos_);
    menu.setToolTipsVisible(true);
    menu.addActions({troca_rodadas_, inverte_mando_, troca_times_, move_jogo_});
    menu.addSeparator();
    menu.addActions({fixa_jogo_, fixa_rodada_, solta_});
    menu.exec(janela_.tabela_jogos_->viewport()->mapToGlobal(ponto));
}

// Changes ----------------------------------------------------------------------------------

void MaoDoPlanejador::faz(const MudancaManual& mudanca)
{
    EdicaoTabela* ed = editor();
    if (ed == nullptr) return;
    Execucao& x = janela_.estado_.execucao;
    const EfeitoMudanca efeito = ed->aplica(mudanca);
    x.inviabilidades_melhor = ed->contagens();
    x.fo_star = ed->fo();
    janela_.resultado_a_salvar_ = true;
    mostra_efeito(efeito);
    janela_.refaz_grade();
    atualiza_acoes();
}

void MaoDoPlanejador::mostra_efeito(const EfeitoMudanca& efeito)
{
    const int vistas = janela_.estado_.execucao.procedencia.com_requisitos ? 10 : num_inviabilidades;
    janela_.rotulo_execucao_->setText(QString::fromStdString(descreve_efeito(efeito, vistas)));
    janela_.rotulo_execucao_->setToolTip({});
}

std::optional<MudancaManual> MaoDoPlanejador::escolhe(const QString& titulo, const QString& texto,
                                                      const QStringList& itens, const std::vector<MudancaManual>& mudancas)
{
    EdicaoTabela* ed = editor();
    if (ed == nullptr || mudancas.empty()) return std::nullopt;
    Escolha e{titulo, texto, itens, 0, [this, ed, &mudancas](int i) {
                  previa_ = i >= 0 && i < int(mudancas.size()) ? ed->previa(mudancas[std::size_t(i)])
                                                                : std::vector<PosicaoJogo>{};
                  marca_grade();
              }};
    const std::optional<int> escolhido = escolha_(&janela_, e);
    previa_.clear();
    marca_grade();
    if (!escolhido || *escolhido < 0 || *escolhido >= int(mudancas.size())) return std::nullopt;
    return mudancas[std::size_t(*escolhido)];
}

void MaoDoPlanejador::propoe(const MudancaManual& mudanca, const QString& nome)
{
    EdicaoTabela* ed = editor();
    if (ed == nullptr || !ed->valida(mudanca)) return;
    // A pinned game is moved or inverted only when the planner says so.
    if (const Requisitos* requisitos = janela_.requisitos_do_resultado()) {
        const Tabela t = tabela_mostrada();
        const std::vector<PosicaoJogo> previa = ed->previa(mudanca);
        for (const PosicaoJogo& p : previa) {
            const Jogo& j = t[p.rodada][p.vaga];
            if (j.vazio() || !esta_fixado(*requisitos, j.mandante(), j.visitante(), p.rodada + 1)) continue;
            previa_ = previa;
            marca_grade();
            const QString texto = QStringLiteral("O jogo %1 está fixado na %2. Mudar assim mesmo?")
                                      .arg(texto_jogo(j, nomes_dos_times(janela_.estado_.campeonato)), nome_rodada(p.rodada));
            const int resposta = janela_.mensageiro_.pergunta(&janela_, {texto, {QStringLiteral("Sim"), QStringLiteral("Não")}});
            previa_.clear();
            marca_grade();
            if (resposta != 0) return;
            break;
        }
    }
    pilha_->push(new ComandoMudanca(*this, mudanca, nome));
}

void MaoDoPlanejador::troca_rodadas()
{
    const std::optional<PosicaoJogo> p = jogo_escolhido();
    EdicaoTabela* ed = editor();
    if (!p || ed == nullptr) return;
    std::vector<MudancaManual> mudancas;
    QStringList itens;
    for (int s = 0; s < tabela_mostrada().linhas(); ++s) {
        const MudancaManual m{MudancaManual::Tipo::troca_rodadas, p->rodada, s, 0};
        if (!ed->valida(m)) continue;
        mudancas.push_back(m);
        itens << nome_rodada(s);
    }
    const QString texto = QStringLiteral("Trocar a %1 com a rodada:").arg(nome_rodada(p->rodada));
    if (const auto m = escolhe(QStringLiteral("Trocar rodadas"), texto, itens, mudancas))
        propoe(*m, QStringLiteral("Trocar rodadas"));
}

void MaoDoPlanejador::inverte_mando()
{
    if (const std::optional<PosicaoJogo> p = jogo_escolhido())
        propoe({MudancaManual::Tipo::inverte_mando, p->rodada, p->vaga, 0}, QStringLiteral("Inverter mando"));
}

void MaoDoPlanejador::troca_times()
{
    const std::optional<PosicaoJogo> p = jogo_escolhido();
    EdicaoTabela* ed = editor();
    if (!p || ed == nullptr) return;
    const Jogo j = tabela_mostrada()[p->rodada][p->vaga];
    const QStringList nomes = nomes_dos_times(janela_.estado_.campeonato);
    std::vector<MudancaManual> mudancas;
    QStringList itens;
    for (const int t : {j.mandante(), j.visitante()})
        for (int u = 1; u <= janela_.estado_.campeonato.num_times; ++u) {
            const MudancaManual m{MudancaManual::Tipo::troca_times, t, u, 0};
            if ((t == j.visitante() && u == j.mandante()) || !ed->valida(m)) continue;
            mudancas.push_back(m);
            itens << nomes.value(t) + QStringLiteral(" ⇄ ") + nomes.value(u);
        }
    const QString texto = QStringLiteral("Cada time fica com os jogos do outro:");
    if (const auto m = escolhe(QStringLiteral("Trocar times"), texto, itens, mudancas)) propoe(*m, QStringLiteral("Trocar times"));
}

void MaoDoPlanejador::move_jogo()
{
    const std::optional<PosicaoJogo> p = jogo_escolhido();
    EdicaoTabela* ed = editor();
    if (!p || ed == nullptr) return;
    const Jogo j = tabela_mostrada()[p->rodada][p->vaga];
    std::vector<MudancaManual> mudancas;
    QStringList itens;
    for (int s = 0; s < tabela_mostrada().linhas(); ++s) {
        const MudancaManual m{MudancaManual::Tipo::move_jogo, p->rodada, s, j.mandante()};
        if (!ed->valida(m)) continue;
        mudancas.push_back(m);
        itens << nome_rodada(s);
    }
    const QString texto = QStringLiteral("Mover %1 da %2 para a rodada (os jogos marcados mudam com ele):")
                              .arg(texto_jogo(j, nomes_dos_times(janela_.estado_.campeonato)), nome_rodada(p->rodada));
    if (const auto m = escolhe(QStringLiteral("Mover jogo"), texto, itens, mudancas)) propoe(*m, QStringLiteral("Mover jogo"));
}

// Pins -------------------------------------------------------------------------------------

}  // namespace kelm
