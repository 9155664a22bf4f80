#include "ui/form_global.hpp"

#include <exception>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "files/carga.hpp"
#include "files/destinos.hpp"
#include "files/planilha.hpp"
#include "files/resultado.hpp"
#include "model/temporada.hpp"
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

}  // namespace

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
    statusBar()->addWidget(rotulo_execucao_ = new QLabel(statusBar()), 1);
    rotulo_execucao_->setObjectName(QStringLiteral("resumo_execucao"));
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
        resume_execucao(nullptr);
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
    // FO as the run took it: its weights and the objectives in force when it ended.
    Criterios da_execucao = estado_.criterios;
    da_execucao.objetivos = x.procedencia.objetivos_no_fim;
    da_execucao.pesos = x.procedencia.pesos;
    Tform_economia janela(obtida.campeonato,
                          economia_obtida(obtida.campeonato, da_execucao, partida.tabela, obtida.tabela,
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
    resume_execucao(nullptr);
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
    // The result never replaces a file in use (the championship it was drawn from, the
    // requirements in force), and a folder of the system is refused as such.
    Desfecho d = confere_saidas(arquivos_em_uso(arquivo_dados_, estado_.requisitos), {{"resultado", {}, caminho(destino)}});
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

}  // namespace kelm
