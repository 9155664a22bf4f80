#include "ui/form_global.hpp"

#include <exception>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QShortcut>
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
#include "ui/busca_em_fundo.hpp"
#include "ui/form_economia.hpp"
#include "ui/form_inviab.hpp"
#include "ui/form_parametros.hpp"
#include "ui/form_pesos.hpp"
#include "ui/grade_jogos.hpp"
#include "ui/icones.hpp"
#include "ui/mao_do_planejador.hpp"
#include "ui/paineis.hpp"
#include "ui/regional.hpp"

namespace kelm {

QString titulo_da_janela(const QString& arquivo_dados, const QString& arquivo_requisitos,
                         const QString& arquivo_calendario)
{
    QString titulo = QString::fromUtf8(titulo_janela);
    if (!arquivo_dados.isEmpty()) titulo += QStringLiteral(" - ") + QFileInfo(arquivo_dados).fileName();
    QStringList em_vigor;
    if (!arquivo_requisitos.isEmpty()) em_vigor << QStringLiteral("requisitos: ") + QFileInfo(arquivo_requisitos).fileName();
    if (!arquivo_calendario.isEmpty()) em_vigor << QStringLiteral("calendário: ") + QFileInfo(arquivo_calendario).fileName();
    if (!em_vigor.isEmpty()) titulo += QStringLiteral(" (") + em_vigor.join(QStringLiteral(", ")) + QLatin1Char(')');
    return titulo;
}

QString destino_do_salvar(const QString& nome, int filtro)
{
    static const QStringList extensoes{QStringLiteral(".txt"), QStringLiteral(".xls"), QStringLiteral(".xlsx")};
    if (nome.isEmpty() || filtro < 1 || filtro > extensoes.size()) return {};
    for (const QString& e : extensoes)
        if (nome.endsWith(e, Qt::CaseInsensitive)) return nome;
    return nome + extensoes.at(filtro - 1);
}

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
    statusBar()->addPermanentWidget(rotulo_calendario_ = new QLabel(statusBar()));
    rotulo_calendario_->setObjectName(QStringLiteral("calendario_em_vigor"));

    busca_ = new BuscaEmFundo(this);
    atalho_parar_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    atalho_parar_->setObjectName(QStringLiteral("atalho_parar"));
    connect(atalho_parar_, &QShortcut::activated, this, &Tform_global::pararClick);
    liga_busca();
    mao_ = new MaoDoPlanejador(*this);

    FormCreate();
}

Tform_global::~Tform_global() = default;

void Tform_global::FormCreate()
{
    atualiza_comandos();
    estado_.criterios = Criterios{};
}

bool Tform_global::executando_busca() const { return busca_->executando(); }

void Tform_global::atualiza_comandos()
{
    const bool livre = !busca_->executando();
    const bool carregado = estado_.campeonato.dados_carregados;
    // When each command may be used. While a run goes on, only what leaves the state alone:
    // closing (which asks) and stopping the run.
    const std::pair<QObject*, bool> quando[] = {
        {botao_salvar_, livre},
        {Salvar1_, livre},
        {botao_abrir_, livre},
        {Abrir1_, livre},
        {executar_, livre && carregado},
        {Executar1_, livre && carregado},
        {Replanejar1_, livre && carregado && houve_resultado_ && estado_.execucao.programa_executado},
        {objetivos_, livre},
        {pesos_, livre},
        {parametros_, livre},
        {sol_inicial_, livre},
        {botao_tabinicial_, livre},
        {botao_resultado_, livre},
        {botao_economia_, livre},
        {Arquivo1_, livre && carregado},
        {RetirarRequisitos1_, livre && estado_.requisitos.em_vigor()},
        {RetirarCalendario1_, livre && estado_.calendario.em_vigor()},
        {ExportarCalendario1_, livre && houve_resultado_ && estado_.calendario.em_vigor()},
        {Impressos1_, livre && houve_resultado_},
        {atalho_parar_, !livre},
    };
    for (const auto& [comando, habilitado] : quando) {
        if (auto* acao = qobject_cast<QAction*>(comando))
            acao->setEnabled(habilitado);
        else if (auto* atalho = qobject_cast<QShortcut*>(comando))
            atalho->setEnabled(habilitado);
        else if (auto* widget = qobject_cast<QWidget*>(comando))
            widget->setEnabled(habilitado);
    }
    executando_->permite_parar(!livre && !busca_->parada_pedida());
    if (mao_ != nullptr) mao_->atualiza_comandos(livre);
    // The pointer says whether a command's data are there: the hand once the championship
    // is loaded, or once a run gave a result; it stays so.
    const std::pair<QToolButton*, bool> mao[] = {
        {sol_inicial_, carregado},
        {botao_tabinicial_, carregado},
        {botao_resultado_, houve_resultado_},
        {botao_economia_, houve_resultado_},
    };
    for (const auto& [botao, com_dados] : mao) botao->setCursor(com_dados ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
}

void Tform_global::atualiza_titulo()
{
    const QString dados = estado_.campeonato.dados_carregados ? QFile::decodeName(arquivo_dados_.c_str()) : QString();
    const QString requisitos = estado_.requisitos.em_vigor()
                                   ? QFile::decodeName(QByteArray::fromStdString(estado_.requisitos.arquivo))
                                   : QString();
    const QString calendario = estado_.calendario.em_vigor()
                                   ? QFile::decodeName(QByteArray::fromStdString(estado_.calendario.arquivo))
                                   : QString();
    setWindowTitle(titulo_da_janela(dados, requisitos, calendario));
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
void Tform_global::Replanejar1Click() { replaneja(); }
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
    if (form_parametros_ == nullptr) return;
    form_parametros_->exec();
    refaz_grade();  // the season may have changed
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
        mao_->recomeca();
        nome_campeonato_ = QFileInfo(nome).completeBaseName();
        arquivo_dados_ = caminho(nome);
        resultado_a_salvar_ = false;
        // Requirements name the teams of the championship they were read for, and a calendar
        // dates the rounds of its season.
        estado_.requisitos = {};
        estado_.calendario = {};
        calendario_mudou();
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
    mostra_tabela(OrigemTabela::inicial);
}

void Tform_global::mostra_tabela_resultado()
{
    if (const Desfecho d = pode_mostrar_resultado(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return;
    }
    mostra_tabela(OrigemTabela::obtida);
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
                                          requisitos_do_resultado(), x.procedencia.com_mudancas),
                          x.procedencia.busca == TipoBusca::compacta, this, [this] { mostra_visao_geral(); });
    janela.exec();
}

void Tform_global::nova_solucao_inicial()
{
    if (const Desfecho d = kelm::nova_solucao_inicial(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return;
    }
    mao_->recomeca();
    resume_execucao(nullptr);
    resultado_a_salvar_ = false;
    mostra_tabela(OrigemTabela::inicial);
}

void Tform_global::okClick() { esconde_grade(); }

void Tform_global::esconde_grade()
{
    tabela_jogos_->hide();
    panel_jogos_->hide();
    titulo_grade_->hide();
    na_grade_.reset();
}

void Tform_global::mostra_tabela(OrigemTabela origem)
{
    const Execucao& x = estado_.execucao;
    const bool obtida = origem == OrigemTabela::obtida;
    const Returno returno = obtida ? x.procedencia.returno : opcoes_busca_.returno;
    const Requisitos* requisitos = obtida ? requisitos_do_resultado() : requisitos_em_vigor();
    titulo_grade_->show();
    tabela_jogos_->show();
    panel_jogos_->show();
    na_grade_ = origem;

    // The whole season when there is a returno. Each game's tooltip also names the
    // occurrences of the counts it takes part in.
    const Temporada temporada = temporada_de(estado_.campeonato, obtida ? x.tabela_melhor : x.tabela_inicial, returno);
    const Campeonato& c = temporada.campeonato;
    const Tabela& tabela = temporada.tabela;
    // After a re-plan, the games it moved are marked, and their tooltips say where they were.
    const bool replanejada = obtida && x.procedencia.com_mudancas;
    const Tabela partida = replanejada ? tabela_da_temporada(x.tabela_partida, returno) : Tabela{};
    const Calendario* calendario = calendario_da_tabela(origem, c.num_rodadas);
    NotasDaGrade n =
        notas_da_grade(explica_tabela(c, tabela, requisitos, replanejada ? &partida : nullptr, calendario), tabela);
    tabela_jogos_->modelo()->define(tabela, c.nomes_times, c.num_rodadas + 1, c.jogos_por_rodada() + 1,
                                    std::move(n.notas), std::move(n.marcados), std::move(n.mudados));
    tabela_jogos_->modelo()->define_inicio_returno(returno == Returno::nenhum ? 0 : temporada.inicio_returno + 1);
    tabela_jogos_->modelo()->define_datas(calendario != nullptr ? calendario->rodadas : std::vector<DiaDaRodada>{});
    TabelaNaGrade t;
    t.origem = origem;
    t.rodadas = c.num_rodadas;
    t.returno = returno;
    if (obtida) {
        t.fo = x.fo_star;
        t.parada = x.procedencia.parada;
    }
    titulo_grade_->setText(titulo_da_grade(t));
    mao_->marca_grade();
}

void Tform_global::refaz_grade()
{
    if (!na_grade_) return;
    const bool mostravel = *na_grade_ == OrigemTabela::inicial
                               ? pode_mostrar_tabela_inicial(estado_.campeonato).sucesso
                               : pode_mostrar_resultado(estado_.campeonato, estado_.execucao).sucesso;
    if (mostravel)
        mostra_tabela(*na_grade_);
    else
        esconde_grade();
}

bool Tform_global::salva_tabela()
{
    // Nothing to save until a run of the loaded data has completed: say so before asking
    // for a name.
    if (const Desfecho d = pode_salvar_resultado(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return false;
    }
    const QStringList filtros{QString::fromUtf8(filtro_texto), QString::fromUtf8(filtro_planilha),
                              QString::fromUtf8(filtro_pasta_trabalho)};
    const std::optional<ArquivoEscolhido> escolha = seletor_.salva(this, nome_salvar_, filtros, filtro_salvar_);
    if (!escolha) {
        mostra(Desfecho::erro(msg_arquivo_nao_salvo));
        return false;
    }
    nome_salvar_ = escolha->nome;
    filtro_salvar_ = escolha->filtro;

    const QString destino = destino_do_salvar(escolha->nome, escolha->filtro);
    if (destino.isEmpty()) {
        mostra(Desfecho::erro(msg_arquivo_nao_salvo));
        return false;
    }
    // The result never replaces a file in use (the championship it was drawn from, the
    // requirements in force), and a folder of the system is refused as such.
    Desfecho d = confere_saidas(arquivos_em_uso(arquivo_dados_, estado_.requisitos), {{"resultado", {}, caminho(destino)}});
    if (d.sucesso) d = confere_destino(caminho(destino));
    try {
        if (d.sucesso && eh_planilha(caminho(destino)))
            d = grava_planilha_resultado(estado_.campeonato, estado_.execucao, caminho(destino),
                                         nome_campeonato_.toStdString(), requisitos_do_resultado());
        else if (d.sucesso)
            d = grava_resultado(estado_.campeonato, estado_.execucao, caminho(destino), separador_decimal());
    } catch (const std::exception& e) {
        d = Desfecho::erro(msg_arquivo_nao_salvo, e.what());
    }
    if (!d.sucesso) {
        mostra(d);
        return false;
    }
    resultado_a_salvar_ = false;
    mao_->salvo(caminho(destino));
    statusBar()->showMessage(QStringLiteral("Gravado em ") + destino, tempo_gravado_ms);
    return true;
}

}  // namespace kelm
