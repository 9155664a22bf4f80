#pragma once

#include <filesystem>
#include <optional>

#include <QMainWindow>
#include <QString>

#include "model/estado.hpp"
#include "search/busca.hpp"
#include "ui/caixas.hpp"
#include "ui/grade_jogos.hpp"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QShortcut;
class QToolButton;

namespace kelm {

class BuscaEmFundo;
class MaoDoPlanejador;
class GradeJogos;
class PainelAndamento;
class PainelTemperatura;
class Tform_inviab;
class Tform_parametros;
class Tform_pesos;

// Texts of the main window.
inline constexpr const char* titulo_janela = " Programação de Jogos do Campeonato Tolmareska de Futebol";
inline constexpr const char* filtro_dados = "Documentos de dados de entrada (*.dat)";
inline constexpr const char* filtro_texto = "Arquivos de Texto (*.txt)";
inline constexpr const char* filtro_planilha = "Planilha Eletrônica (*.xls)";
inline constexpr const char* filtro_pasta_trabalho = "Pasta de Trabalho (*.xlsx)";
inline constexpr const char* filtro_requisitos = "Requisitos do planejador (*.txt)";
inline constexpr const char* filtro_calendario = "Calendário da temporada (*.txt)";
inline constexpr const char* pergunta_salvar_ao_sair = "Salvar o resultado antes de sair?";
// How long the status bar says "Gravado em ARQUIVO" after a save or a PDF.
inline constexpr int tempo_gravado_ms = 15000;

// The window's title: its caption, then the championship's data file, and the requirements
// file and the calendar in force, by name, when there are.
QString titulo_da_janela(const QString& arquivo_dados, const QString& arquivo_requisitos,
                         const QString& arquivo_calendario = {});

// The file a save writes for the name the planner gave and the filter chosen (from 1: text,
// spreadsheet, workbook): a name that ends in .txt, .xls or .xlsx (in any case) as it is,
// which decides the format as kelm-lote's -o does; any other with the filter's extension.
// Empty for an empty name or a filter that is none of these.
QString destino_do_salvar(const QString& nome, int filtro);

// The main window `form_global`: menu bar, toolbar, the green client panel with the
// schedule grid, the progress and temperature panels, and the status bar. It routes every
// command to the core and keeps the commands' visible state (enabled, pointer) in step
// with the work: nothing loaded, data loaded, run completed, a run going on. The search runs
// on a thread of its own (BuscaEmFundo), on a copy of the state that replaces the window's
// when it ends; meanwhile the commands that would touch the state are disabled, and "&Parar"
// on the progress panel (or Esc) stops it at its next temperature level.
class Tform_global : public QMainWindow {
    Q_OBJECT
public:
    Tform_global(Estado& estado, const Mensageiro& mensageiro, const SeletorArquivos& seletor,
                 QWidget* pai = nullptr);
    ~Tform_global() override;

    // The dialogs, created after this window and shown modally by its commands.
    void usa_dialogos(Tform_inviab& form_inviab, Tform_pesos& form_pesos, Tform_parametros& form_parametros);

    // How the run command runs the search: which search, the first phase's reheat bound,
    // the seed. The search parameters dialog sets them.
    OpcoesBusca& opcoes_busca() { return opcoes_busca_; }
    // True while the run command is searching.
    bool executando_busca() const;
    // The planner's hand on the result: open a schedule, change it, undo, pin.
    MaoDoPlanejador& mao() { return *mao_; }

signals:
    // The progress panel was just refreshed and repainted with these values.
    void andamento_mostrado(const kelm::Andamento& andamento);
    // The run command's search ended, and the state it worked on is the window's again.
    void busca_terminada();

public slots:
    void botao_abrirClick();
    void Abrir1Click();
    void botao_salvarClick();
    void Salvar1Click();
    void executarClick();
    void Executar1Click();
    void Replanejar1Click();
    void botao_tabinicialClick();
    void botao_resultadoClick();
    void botao_economiaClick();
    void Economia1Click();
    void VisaoGeral1Click();
    void Imprimir1Click();
    void TabelaObtida1Click();
    void okClick();
    void objetivosClick();
    void Objetivos1Click();
    void pesosClick();
    void Pesos1Click();
    void parametrosClick();
    void AbrirRequisitos1Click();
    void RetirarRequisitos1Click();
    void AbrirCalendario1Click();
    void RetirarCalendario1Click();
    void ExportarCalendario1Click();
    void sol_inicialClick();
    void botao_fecharClick();
    void Sair1Click();
    // "&Parar" and Esc: the run ends at its next temperature level, keeping its best schedule.
    void pararClick();

protected:
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    friend class MaoDoPlanejador;

    void FormCreate();
    void cria_menu();
    QWidget* cria_barra();
    QWidget* cria_painel_cliente();
    QToolButton* botao_barra(QWidget* barra, const char* nome, int esquerda, const char* dica, const QIcon& icone);

    // The commands.
    void carrega_dados();
    // True when the result was written.
    bool salva_tabela();
    void executa_busca();
    // Runs the search of `opcoes` on the state, on its own thread (see BuscaEmFundo).
    void executa_busca(const OpcoesBusca& opcoes);
    // Execução › Replanejar...: a run that starts from the schedule on screen, its rounds
    // already played frozen, each game it moves charged by Inviabilidade 11.
    void replaneja();
    void nova_solucao_inicial();
    void mostra_tabela_resultado();
    void mostra_visao_geral();
    void imprime_resultado();
    void abre_requisitos();
    void retira_requisitos();

    // The planner's requirements: the items of the menu "&Arquivo" and the status bar's label;
    // every view of them brought up to date after they change.
    void cria_itens_requisitos(QMenu* arquivo);
    void requisitos_mudaram();
    // The requirements the result was drawn up under: null when it had none.
    const Requisitos* requisitos_do_resultado() const;
    // The requirements in force: null when there are none.
    const Requisitos* requisitos_em_vigor() const;

    // The season's calendar: the items of the menu "&Arquivo", the status bar's label, and the
    // export of the result as calendars (the calendar in force giving the dates).
    void cria_itens_calendario(QMenu* arquivo);
    void abre_calendario();
    void retira_calendario();
    void exporta_calendario();
    void calendario_mudou();
    // The dates of the `rodadas` rounds shown of a schedule: for the result, the calendar its
    // run recorded; for the initial schedule, the calendar in force. Null when it has none, or
    // when it dates other rounds.
    const Calendario* calendario_da_tabela(OrigemTabela origem, int rodadas) const;

    // The status bar's words on the result of the run just ended (`resumo`), or none.
    void resume_execucao(const ResumoBusca* resumo);

    // The search on its thread: what it reports shown as it comes, and the state taken back
    // when it ends.
    void liga_busca();
    void busca_terminou();

    // Every command enabled or not, and every toolbar pointer, by the one table of when each
    // may be used.
    void atualiza_comandos();
    // The window's title, after a load or a change of the requirements.
    void atualiza_titulo();

    // Fills the grid with the schedule of `origem` (its whole season when there is a returno)
    // and shows the grid view, under its heading; a game that breaks a requirement is marked.
    // The command that calls it has checked that the schedule belongs to the loaded
    // championship.
    void mostra_tabela(OrigemTabela origem);
    // Fills the grid again, when it is shown, after what it shows changed (the schedule, the
    // season, the requirements); hides it when it shows a result that is no more.
    void refaz_grade();
    // Hides the grid view: the grid, its heading and its bottom panel.
    void esconde_grade();

    void mostra(const Desfecho& desfecho);
    void posiciona_calc_temp();

    Estado& estado_;
    const Mensageiro& mensageiro_;
    const SeletorArquivos& seletor_;
    Tform_inviab* form_inviab_ = nullptr;
    Tform_pesos* form_pesos_ = nullptr;
    Tform_parametros* form_parametros_ = nullptr;
    OpcoesBusca opcoes_busca_;
    BuscaEmFundo* busca_ = nullptr;
    QShortcut* atalho_parar_ = nullptr;  // Esc while a run goes on
    bool sair_ao_terminar_ = false;      // the planner closed the window during a run
    bool houve_resultado_ = false;       // a run gave a result (the result's commands become available)
    bool resultado_a_salvar_ = false;    // the result was not saved since its run
    std::optional<OrigemTabela> na_grade_;  // what the grid view shows; nothing when hidden

    // The data file of the championship loaded, whose files a save must not replace.
    std::filesystem::path arquivo_dados_;
    // What the save dialog proposes: the name and filter chosen last time.
    QString nome_salvar_ = QStringLiteral("Tabela");
    int filtro_salvar_ = 1;

    QToolButton* botao_salvar_ = nullptr;
    QToolButton* botao_abrir_ = nullptr;
    QToolButton* executar_ = nullptr;
    QToolButton* objetivos_ = nullptr;
    QToolButton* pesos_ = nullptr;
    QToolButton* parametros_ = nullptr;
    QToolButton* sol_inicial_ = nullptr;
    QToolButton* botao_tabinicial_ = nullptr;
    QToolButton* botao_resultado_ = nullptr;
    QToolButton* botao_economia_ = nullptr;
    QToolButton* botao_fechar_ = nullptr;

    QAction* Abrir1_ = nullptr;
    QAction* Salvar1_ = nullptr;
    QAction* Executar1_ = nullptr;
    QAction* Replanejar1_ = nullptr;
    QAction* Impressos1_ = nullptr;  // the menu "&Resultados", open once a run has given a result
    QAction* Arquivo1_ = nullptr;    // the menu "&Arquivo", open once a championship is loaded
    QAction* RetirarRequisitos1_ = nullptr;
    QLabel* rotulo_requisitos_ = nullptr;  // "Requisitos: NOME" in the status bar
    QAction* RetirarCalendario1_ = nullptr;
    QAction* ExportarCalendario1_ = nullptr;
    QLabel* rotulo_calendario_ = nullptr;  // "Calendário: NOME" in the status bar
    // What the last run left to be said in the status bar: its reheat bound reached, the
    // requirements it did not meet (their sentences in the tooltip).
    QLabel* rotulo_execucao_ = nullptr;
    // A copy of the requirements of the last run, which the planner may replace or withdraw
    // afterwards: its result is shown, saved and printed as it was scored.
    Requisitos requisitos_resultado_;
    // The turno a re-plan under way started from, which its search reads until it ends.
    Tabela partida_replanejamento_;

    // The loaded championship as the planner knows it: its data file's name, for the
    // headings of what is printed and shared.
    QString nome_campeonato_;

    QWidget* painel_cliente_ = nullptr;  // green, below the toolbar: holds the grid and the panels
    QLabel* titulo_grade_ = nullptr;  // above the grid: which schedule it shows
    GradeJogos* tabela_jogos_ = nullptr;
    QWidget* panel_jogos_ = nullptr;
    QPushButton* botao_fecha_ = nullptr;  // "&Fecha", closes the grid view
    PainelAndamento* executando_ = nullptr;
    PainelTemperatura* calc_temp_ = nullptr;
    MaoDoPlanejador* mao_ = nullptr;
};

}  // namespace kelm
