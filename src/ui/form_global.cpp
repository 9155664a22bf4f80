#include "ui/form_global.hpp"

#include <exception>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "files/carga.hpp"
#include "files/destinos.hpp"
#include "files/planilha.hpp"
#include "files/resultado.hpp"
#include "model/temporada.hpp"
#include "neighbourhoods/padrao/solucao_inicial.hpp"
#include "report/explicacao.hpp"
#include "search/comandos.hpp"
#include "search/comandos_planilha.hpp"
#include "ui/form_economia.hpp"
#include "ui/form_inviab.hpp"
#include "ui/form_parametros.hpp"
#include "ui/form_pesos.hpp"
#include "ui/grade_jogos.hpp"
#include "ui/icones.hpp"
#include "ui/paineis.hpp"
#include "ui/regional.hpp"

namespace kelm {

namespace {

// A file name as the core takes it: the bytes the file system knows it by.
std::filesystem::path caminho(const QString& nome) { return std::filesystem::path(QFile::encodeName(nome).toStdString()); }

// The client panel: green behind whatever it holds. It paints the colour itself instead of
// taking it in its palette, which its children would inherit.
class PainelVerde : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0, 128, 0)); }
};

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

Tform_global::Tform_global(Estado& estado, const Mensageiro& mensageiro, const SeletorArquivos& seletor,
                           QWidget* pai)
    : QMainWindow(pai), estado_(estado), mensageiro_(mensageiro), seletor_(seletor)
{
    setObjectName(QStringLiteral("form_global"));
    setWindowTitle(QString::fromUtf8(titulo_janela));
    setWindowIcon(icone_proprio("kelm"));
    setGeometry(210, 107, 778, 593);

    cria_menu();
    auto* centro = new QWidget(this);
    centro->setObjectName(QStringLiteral("centro"));
    auto* coluna = new QVBoxLayout(centro);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->setSpacing(0);
    coluna->addWidget(cria_barra());
    coluna->addWidget(cria_painel_cliente(), 1);
    setCentralWidget(centro);

    // The status bar: 19 pixels; it names the requirements file in force, if any.
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setFixedHeight(19);
    statusBar()->addPermanentWidget(rotulo_requisitos_ = new QLabel(statusBar()));
    rotulo_requisitos_->setObjectName(QStringLiteral("requisitos_em_vigor"));

    FormCreate();
}

Tform_global::~Tform_global() = default;

void Tform_global::FormCreate()
{
    executar_->setEnabled(false);
    estado_.criterios = Criterios{};
}

void Tform_global::usa_dialogos(Tform_inviab& form_inviab, Tform_pesos& form_pesos, Tform_parametros& form_parametros)
{
    form_inviab_ = &form_inviab;
    form_pesos_ = &form_pesos;
    form_parametros_ = &form_parametros;
}

void Tform_global::cria_menu()
{
    QMenuBar* barra = menuBar();
    barra->setObjectName(QStringLiteral("MainMenu1"));

    auto menu = [barra](const char* nome, const QString& texto, bool habilitado) {
        QMenu* m = barra->addMenu(texto);
        m->setObjectName(QLatin1String(nome));
        m->menuAction()->setObjectName(QLatin1String(nome));
        m->menuAction()->setEnabled(habilitado);
        return m;
    };
    auto item = [](QMenu* m, const char* nome, const QString& texto, bool habilitado,
                   const QKeySequence& atalho = {}) {
        QAction* a = m->addAction(texto);
        a->setObjectName(QLatin1String(nome));
        a->setEnabled(habilitado);
        a->setShortcut(atalho);
        return a;
    };
    auto separador = [](QMenu* m, const char* nome) { m->addSeparator()->setObjectName(QLatin1String(nome)); };

    QMenu* principal = menu("Principal1", QStringLiteral("&Principal"), true);
    QAction* abrir = item(principal, "Abrir1", QStringLiteral("Abrir"), true, QKeySequence(Qt::Key_F1));
    QAction* salvar = item(principal, "Salvar1", QStringLiteral("Salvar"), true);
    separador(principal, "N1");
    QAction* sair = item(principal, "Sair1", QStringLiteral("Sair"), true);

    QMenu* campeonato = menu("Campeonato1", QStringLiteral("&Campeonato"), false);
    item(campeonato, "Turnonico1", QStringLiteral("Turno Único"), true);
    item(campeonato, "TurnoReturno1", QStringLiteral("Turno/Returno"), true);

    QMenu* execucao = menu("Execuo1", QStringLiteral("&Execução"), false);
    item(execucao, "Parmetros1", QStringLiteral("&Parâm&etros"), false);
    QAction* pesos = item(execucao, "Pesos1", QStringLiteral("Pe&sos"), false);
    QAction* objetivos = item(execucao, "Objetivos1", QStringLiteral("&Objetivos"), false, QKeySequence(Qt::Key_F3));
    separador(execucao, "N2");
    Executar1_ = item(execucao, "Executar1", QStringLiteral("E&xecutar"), false, QKeySequence(Qt::Key_F2));

    QMenu* movimentos = menu("Movimentos1", QStringLiteral("&Movimentos"), false);
    item(movimentos, "TrocadeJogos1", QStringLiteral("Troca de Jogos"), false);
    item(movimentos, "TrocadeMando1", QStringLiteral("Troca de Mando"), false);

    // Open once a championship is loaded, for the planner's requirements of its teams.
    QMenu* arquivo = menu("Arquivo1", QStringLiteral("&Arquivo"), false);
    Arquivo1_ = arquivo->menuAction();
    item(arquivo, "Times1", QStringLiteral("Clubes"), false);
    item(arquivo, "Distncias1", QStringLiteral("Distâncias"), false);
    item(arquivo, "SedesdosClubes1", QStringLiteral("Sedes dos Clubes"), false);
    cria_itens_requisitos(arquivo);

    // Closed until a run gives a result to show, print or share, as the result button's
    // pointer says; then open for the rest of the program, as that pointer stays the hand.
    QMenu* resultados = menu("Impressos1", QStringLiteral("&Resultados"), false);
    Impressos1_ = resultados->menuAction();
    QAction* tabela_obtida = item(resultados, "TabelaObtida1", QStringLiteral("Tabela Obtida"), true);
    QAction* numeros = item(resultados, "Economia1", QStringLiteral("Números..."), true);
    separador(resultados, "N3");
    QAction* visao_geral = item(resultados, "VisaoGeral1", QStringLiteral("Visão Geral da Temporada..."), true);
    QAction* imprimir = item(resultados, "Imprimir1", QStringLiteral("Imprimir..."), true, QKeySequence::Print);

    barra->addAction(QStringLiteral("C&réditos"))->setObjectName(QStringLiteral("Crditos1"));

    // The items of a disabled menu cannot be reached, by mouse or by shortcut, whatever
    // their own state: Qt does not deliver the shortcut of an action whose menu is disabled.

    connect(abrir, &QAction::triggered, this, &Tform_global::Abrir1Click);
    connect(salvar, &QAction::triggered, this, &Tform_global::Salvar1Click);
    connect(sair, &QAction::triggered, this, &Tform_global::Sair1Click);
    connect(pesos, &QAction::triggered, this, &Tform_global::Pesos1Click);
    connect(objetivos, &QAction::triggered, this, &Tform_global::Objetivos1Click);
    connect(Executar1_, &QAction::triggered, this, &Tform_global::Executar1Click);
    connect(tabela_obtida, &QAction::triggered, this, &Tform_global::TabelaObtida1Click);
    connect(numeros, &QAction::triggered, this, &Tform_global::Economia1Click);
    connect(visao_geral, &QAction::triggered, this, &Tform_global::VisaoGeral1Click);
    connect(imprimir, &QAction::triggered, this, &Tform_global::Imprimir1Click);
}

QToolButton* Tform_global::botao_barra(QWidget* barra, const char* nome, int esquerda, const char* dica,
                                       const QIcon& icone)
{
    auto* b = new QToolButton(barra);
    b->setObjectName(QLatin1String(nome));
    b->setGeometry(esquerda, 3, 57, 49);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIcon(icone);
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    if (dica != nullptr) b->setToolTip(QString::fromUtf8(dica));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QWidget* Tform_global::cria_barra()
{
    auto* barra = new QWidget;
    barra->setObjectName(QStringLiteral("barra_ferramentas"));
    barra->setFixedHeight(54);
    barra->setMinimumWidth(630);

    auto linha = [barra](const char* nome, QFrame::Shape forma, int x, int y, int l, int a) {
        auto* f = new QFrame(barra);
        f->setObjectName(QLatin1String(nome));
        f->setFrameShape(forma);
        f->setFrameShadow(QFrame::Sunken);
        f->setGeometry(x, y, l, a);
        return f;
    };
    // A line at the very top of the strip and one along its bottom edge, as wide as the
    // window can be; vertical lines part the groups of buttons.
    QFrame* bevel1 = linha("Bevel1", QFrame::HLine, 0, 0, 4000, 2);
    QFrame* bevel2 = linha("Bevel2", QFrame::HLine, 0, 52, 4000, 2);
    bevel1->lower();
    bevel2->lower();

    botao_salvar_ = botao_barra(barra, "botao_salvar", 0, "Salvar Tabela de Resultados", icone("document-save", "salvar"));
    botao_abrir_ = botao_barra(barra, "botao_abrir", 57, "Abrir Arquivo de Dados", icone("document-open", "abrir"));
    linha("Bevel3", QFrame::VLine, 113, 7, 2, 40);
    executar_ = botao_barra(barra, "executar", 115, nullptr, icone("media-playback-start", "executar"));
    objetivos_ = botao_barra(barra, "objetivos", 172, nullptr, icone("objetivos-kelm", "objetivos"));
    pesos_ = botao_barra(barra, "pesos", 229, "Configurar Pesos ", icone("pesos-kelm", "pesos"));
    parametros_ = botao_barra(barra, "parametros", 286, "Parâmetros da Busca", QIcon());
    parametros_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    parametros_->setText(QStringLiteral("T0`"));
    QFont negrito = parametros_->font();
    negrito.setPointSize(15);
    negrito.setBold(true);
    parametros_->setFont(negrito);
    linha("Bevel4", QFrame::VLine, 340, 7, 2, 40);
    sol_inicial_ = botao_barra(barra, "sol_inicial", 343, "Gerar Nova Solução Inicial", icone("sol-inicial-kelm", "sol_inicial"));
    botao_tabinicial_ = botao_barra(barra, "botao_tabinicial", 400, "Tabela Inicial", icone("tabela-inicial-kelm", "tabela_inicial"));
    botao_resultado_ = botao_barra(barra, "botao_resultado", 457, "Visualizar Tabela Obtida", icone("resultado-kelm", "resultado"));
    botao_economia_ = botao_barra(barra, "botao_economia", 514, "Economia Obtida", icone("economia-kelm", "economia"));
    linha("Bevel5", QFrame::VLine, 570, 7, 2, 40);
    botao_fechar_ = botao_barra(barra, "botao_fechar", 573, "Sair do Programa", icone("application-exit", "fechar"));

    // Commands whose data are missing show the not-allowed pointer until they are not.
    for (QToolButton* b : {sol_inicial_, botao_tabinicial_, botao_resultado_, botao_economia_})
        b->setCursor(Qt::ForbiddenCursor);

    connect(botao_salvar_, &QToolButton::clicked, this, &Tform_global::botao_salvarClick);
    connect(botao_abrir_, &QToolButton::clicked, this, &Tform_global::botao_abrirClick);
    connect(executar_, &QToolButton::clicked, this, &Tform_global::executarClick);
    connect(objetivos_, &QToolButton::clicked, this, &Tform_global::objetivosClick);
    connect(pesos_, &QToolButton::clicked, this, &Tform_global::pesosClick);
    connect(parametros_, &QToolButton::clicked, this, &Tform_global::parametrosClick);
    connect(sol_inicial_, &QToolButton::clicked, this, &Tform_global::sol_inicialClick);
    connect(botao_tabinicial_, &QToolButton::clicked, this, &Tform_global::botao_tabinicialClick);
    connect(botao_resultado_, &QToolButton::clicked, this, &Tform_global::botao_resultadoClick);
    connect(botao_economia_, &QToolButton::clicked, this, &Tform_global::botao_economiaClick);
    connect(botao_fechar_, &QToolButton::clicked, this, &Tform_global::botao_fecharClick);
    return barra;
}

QWidget* Tform_global::cria_painel_cliente()
{
    painel_cliente_ = new PainelVerde;
    painel_cliente_->setObjectName(QStringLiteral("Panel2"));
    painel_cliente_->installEventFilter(this);

    tabela_jogos_ = new GradeJogos(painel_cliente_);
    tabela_jogos_->setObjectName(QStringLiteral("tabela_jogos"));

    panel_jogos_ = new QWidget(painel_cliente_);
    panel_jogos_->setObjectName(QStringLiteral("panel_jogos"));
    panel_jogos_->setFixedHeight(60);
    panel_jogos_->setAutoFillBackground(true);
    botao_fecha_ = new QPushButton(icone("window-close", "fechar"), QStringLiteral("&Fecha"), panel_jogos_);
    botao_fecha_->setObjectName(QStringLiteral("ok"));
    botao_fecha_->setGeometry(7, 10, 81, 41);
    botao_fecha_->setIconSize(QSize(24, 24));
    botao_fecha_->setDefault(true);
    connect(botao_fecha_, &QPushButton::clicked, this, &Tform_global::okClick);
    // The window's default button: Enter presses it while the grid view is shown.
    for (const int tecla : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto* atalho = new QShortcut(QKeySequence(tecla), botao_fecha_);
        connect(atalho, &QShortcut::activated, botao_fecha_, &QPushButton::click);
    }

    auto* camadas = new QVBoxLayout(painel_cliente_);
    camadas->setContentsMargins(0, 0, 0, 0);
    camadas->setSpacing(0);
    camadas->addWidget(tabela_jogos_, 1);
    camadas->addWidget(panel_jogos_);
    tabela_jogos_->hide();
    panel_jogos_->hide();

    executando_ = new PainelAndamento(painel_cliente_);
    executando_->move(288, 72);
    executando_->hide();
    calc_temp_ = new PainelTemperatura(painel_cliente_);
    calc_temp_->hide();
    posiciona_calc_temp();
    return painel_cliente_;
}

void Tform_global::posiciona_calc_temp()
{
    // At the design's place, or higher when the panel is too short to show it there.
    const int topo = qMax(0, qMin(560, painel_cliente_->height() - PainelTemperatura::altura));
    calc_temp_->move(0, topo);
}

// Commands -------------------------------------------------------------------------------

void Tform_global::botao_abrirClick() { carrega_dados(); }
void Tform_global::Abrir1Click() { carrega_dados(); }
void Tform_global::botao_salvarClick() { salva_tabela(); }
void Tform_global::Salvar1Click() { salva_tabela(); }
void Tform_global::executarClick() { executa_busca(); }
void Tform_global::Executar1Click() { executa_busca(); }
void Tform_global::botao_resultadoClick() { mostra_tabela_resultado(); }
void Tform_global::TabelaObtida1Click() { mostra_tabela_resultado(); }
void Tform_global::sol_inicialClick() { nova_solucao_inicial(); }
void Tform_global::Economia1Click() { botao_economiaClick(); }
void Tform_global::VisaoGeral1Click() { mostra_visao_geral(); }
void Tform_global::Imprimir1Click() { imprime_resultado(); }
void Tform_global::botao_fecharClick() { close(); }
void Tform_global::Sair1Click() { close(); }

void Tform_global::objetivosClick()
{
    if (form_inviab_ != nullptr) form_inviab_->exec();
}

void Tform_global::Objetivos1Click() { objetivosClick(); }

void Tform_global::pesosClick()
{
    if (form_pesos_ != nullptr) form_pesos_->exec();
}

void Tform_global::Pesos1Click() { pesosClick(); }

void Tform_global::parametrosClick()
{
    if (form_parametros_ != nullptr) form_parametros_->exec();
}

void Tform_global::mostra(const Desfecho& desfecho) { mensageiro_.mostra(this, Mensagem::de(desfecho)); }

void Tform_global::carrega_dados()
{
    const QString nome = seletor_.abre(this, QString::fromUtf8(filtro_dados));
    Desfecho d;
    try {
        d = kelm::carrega_dados(estado_.campeonato, estado_.execucao, caminho(nome));
    } catch (const std::exception& e) {
        d = Desfecho::erro(msg_dados_nao_aberto, e.what());
    }
    if (d.sucesso) {
        nome_campeonato_ = QFileInfo(nome).completeBaseName();
        arquivo_dados_ = caminho(nome);
        executar_->setEnabled(true);
        Executar1_->setEnabled(true);
        Arquivo1_->setEnabled(true);
        botao_tabinicial_->setCursor(Qt::PointingHandCursor);
        sol_inicial_->setCursor(Qt::PointingHandCursor);
        // Requirements name the teams of the championship they were read for.
        estado_.requisitos = {};
        requisitos_mudaram();
    }
    mostra(d);
}

void Tform_global::botao_tabinicialClick()
{
    if (const Desfecho d = pode_mostrar_tabela_inicial(estado_.campeonato); !d.sucesso) {
        mostra(d);
        return;
    }
    mostra_tabela(estado_.execucao.tabela_inicial, opcoes_busca_.returno, requisitos_em_vigor());
}

void Tform_global::mostra_tabela_resultado()
{
    if (const Desfecho d = pode_mostrar_resultado(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return;
    }
    mostra_tabela(estado_.execucao.tabela_melhor, estado_.execucao.procedencia.returno, requisitos_do_resultado());
}

void Tform_global::botao_economiaClick()
{
    if (const Desfecho d = pode_mostrar_resultado(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return;
    }
    // The result is compared with the schedule its run started from, which after a compact
    // run is not tabela_inicial.
    const Execucao& x = estado_.execucao;
    const Returno returno = x.procedencia.returno;
    const Temporada partida = temporada_de(estado_.campeonato, x.tabela_partida, returno);
    const Temporada obtida = temporada_de(estado_.campeonato, x.tabela_melhor, returno);
    Tform_economia janela(obtida.campeonato,
                          economia_obtida(obtida.campeonato, estado_.criterios, partida.tabela, obtida.tabela,
                                          requisitos_do_resultado()),
                          x.procedencia.busca == TipoBusca::compacta, this, [this] { mostra_visao_geral(); });
    janela.exec();
}

void Tform_global::nova_solucao_inicial()
{
    if (const Desfecho d = kelm::nova_solucao_inicial(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return;
    }
    mostra_tabela(estado_.execucao.tabela_inicial, opcoes_busca_.returno, requisitos_em_vigor());
}

void Tform_global::okClick()
{
    tabela_jogos_->hide();
    panel_jogos_->hide();
}

void Tform_global::mostra_tabela(const Tabela& turno, Returno returno, const Requisitos* requisitos)
{
    tabela_jogos_->show();
    panel_jogos_->show();

    // The whole season when there is a returno. Each game's tooltip also names the
    // occurrences of the counts it takes part in.
    const Temporada temporada = temporada_de(estado_.campeonato, turno, returno);
    const Campeonato& c = temporada.campeonato;
    const Tabela& tabela = temporada.tabela;
    NotasDaGrade n = notas_da_grade(explica_tabela(c, tabela, requisitos), tabela);
    tabela_jogos_->modelo()->define(tabela, c.nomes_times, c.num_rodadas + 1, c.jogos_por_rodada() + 1,
                                    std::move(n.notas), std::move(n.marcados));
}

void Tform_global::salva_tabela()
{
    // Nothing to save until a run of the loaded data has completed: say so before asking
    // for a name.
    if (const Desfecho d = pode_salvar_resultado(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return;
    }
    const QStringList filtros{QString::fromUtf8(filtro_texto), QString::fromUtf8(filtro_planilha),
                              QString::fromUtf8(filtro_pasta_trabalho)};
    const std::optional<ArquivoEscolhido> escolha = seletor_.salva(this, nome_salvar_, filtros, filtro_salvar_);
    if (!escolha) {
        mostra(Desfecho::erro(msg_arquivo_nao_salvo));
        return;
    }
    nome_salvar_ = escolha->nome;
    filtro_salvar_ = escolha->filtro;

    // The extension of the chosen filter is always appended, whatever the name ends in.
    QString destino;
    if (escolha->filtro == 1)
        destino = escolha->nome + QStringLiteral(".txt");
    else if (escolha->filtro == 2)
        destino = escolha->nome + QStringLiteral(".xls");
    else if (escolha->filtro == 3)
        destino = escolha->nome + QStringLiteral(".xlsx");
    if (escolha->nome.isEmpty() || destino.isEmpty()) {
        mostra(Desfecho::erro(msg_arquivo_nao_salvo));
        return;
    }
    // The result never replaces a file of the championship it was drawn from, and a folder
    // of the system is refused as such.
    Desfecho d = confere_saidas(arquivos_do_campeonato(arquivo_dados_), {{"resultado", {}, caminho(destino)}});
    if (d.sucesso) d = confere_destino(caminho(destino));
    try {
        if (d.sucesso && escolha->filtro == 3)
            d = grava_planilha_resultado(estado_.campeonato, estado_.execucao, caminho(destino),
                                         nome_campeonato_.toStdString(), requisitos_do_resultado());
        else if (d.sucesso)
            d = grava_resultado(estado_.campeonato, estado_.execucao, caminho(destino), separador_decimal());
    } catch (const std::exception& e) {
        d = Desfecho::erro(msg_arquivo_nao_salvo, e.what());
    }
    if (!d.sucesso) mostra(d);
}

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
