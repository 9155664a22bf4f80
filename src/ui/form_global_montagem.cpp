#include "ui/form_global.hpp"

#include <QAction>
#include <QFont>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/grade_jogos.hpp"
#include "ui/icones.hpp"
#include "ui/paineis.hpp"

// The main window's menus, toolbar and client panel, as the window is built.

namespace kelm {

namespace {

// The client panel: green behind whatever it holds. It paints the colour itself instead of
// taking it in its palette, which its children would inherit.
class PainelVerde : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0, 128, 0)); }
};

}  // namespace

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
    Abrir1_ = item(principal, "Abrir1", QStringLiteral("Abrir"), true, QKeySequence(Qt::Key_F1));
    Salvar1_ = item(principal, "Salvar1", QStringLiteral("Salvar"), true);
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
    Replanejar1_ = item(execucao, "Replanejar1", QStringLiteral("&Replanejar..."), false);

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
    cria_itens_calendario(arquivo);

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

    connect(Abrir1_, &QAction::triggered, this, &Tform_global::Abrir1Click);
    connect(Salvar1_, &QAction::triggered, this, &Tform_global::Salvar1Click);
    connect(sair, &QAction::triggered, this, &Tform_global::Sair1Click);
    connect(pesos, &QAction::triggered, this, &Tform_global::Pesos1Click);
    connect(objetivos, &QAction::triggered, this, &Tform_global::Objetivos1Click);
    connect(Executar1_, &QAction::triggered, this, &Tform_global::Executar1Click);
    connect(Replanejar1_, &QAction::triggered, this, &Tform_global::Replanejar1Click);
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
    executar_ = botao_barra(barra, "executar", 115, "Executar a Busca", icone("media-playback-start", "executar"));
    objetivos_ = botao_barra(barra, "objetivos", 172, "Objetivos a Cumprir", icone("objetivos-kelm", "objetivos"));
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

    // Above the grid, which schedule it shows.
    titulo_grade_ = new QLabel(painel_cliente_);
    titulo_grade_->setObjectName(QStringLiteral("titulo_grade"));
    titulo_grade_->setAutoFillBackground(true);
    titulo_grade_->setContentsMargins(8, 4, 8, 4);
    QFont negrito = titulo_grade_->font();
    negrito.setBold(true);
    negrito.setPointSizeF(negrito.pointSizeF() * 1.2);
    titulo_grade_->setFont(negrito);

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
    camadas->addWidget(titulo_grade_);
    camadas->addWidget(tabela_jogos_, 1);
    camadas->addWidget(panel_jogos_);
    titulo_grade_->hide();
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

}  // namespace kelm
