#pragma once

#include <filesystem>

#include <QMainWindow>
#include <QString>

#include "model/estado.hpp"
#include "search/busca.hpp"
#include "ui/caixas.hpp"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace kelm {

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

// The main window `form_global`: menu bar, toolbar, the green client panel with the
// schedule grid, the progress and temperature panels, and the status bar. It routes every
// command to the core and keeps the commands' visible state (enabled, pointer) in step
// with the work: nothing loaded, data loaded, run completed.
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
    bool executando_busca() const { return executando_busca_; }

    // Fills the grid from the schedule whose turno is `turno` (its whole season when there is
    // a returno) with the loaded championship's sizes and names, and shows the grid view; a
    // game that breaks one of `requisitos` is marked. The command that calls it has checked
    // that the schedule belongs to the loaded championship.
    void mostra_tabela(const Tabela& turno, Returno returno = Returno::nenhum, const Requisitos* requisitos = nullptr);

signals:
    // The progress panel was just refreshed and repainted with these values.
    void andamento_mostrado(const kelm::Andamento& andamento);

public slots:
    void botao_abrirClick();
    void Abrir1Click();
    void botao_salvarClick();
    void Salvar1Click();
    void executarClick();
    void Executar1Click();
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
    void sol_inicialClick();
    void botao_fecharClick();
    void Sair1Click();

protected:
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    class ObservadorJanela;

    void FormCreate();
    void cria_menu();
    QWidget* cria_barra();
    QWidget* cria_painel_cliente();
    QToolButton* botao_barra(QWidget* barra, const char* nome, int esquerda, const char* dica, const QIcon& icone);

    // The commands.
    void carrega_dados();
    void salva_tabela();
    void executa_busca();
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

    // The status bar's words on the result of the run just ended (`resumo`), or none.
    void resume_execucao(const ResumoBusca* resumo);

    void mostra(const Desfecho& desfecho);
    // Lets the toolkit paint and answer the window system without taking any input.
    void deixa_pintar();
    void posiciona_calc_temp();

    Estado& estado_;
    const Mensageiro& mensageiro_;
    const SeletorArquivos& seletor_;
    Tform_inviab* form_inviab_ = nullptr;
    Tform_pesos* form_pesos_ = nullptr;
    Tform_parametros* form_parametros_ = nullptr;
    OpcoesBusca opcoes_busca_;
    bool executando_busca_ = false;

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

    QAction* Executar1_ = nullptr;
    QAction* Impressos1_ = nullptr;  // the menu "&Resultados", open once a run has given a result
    QAction* Arquivo1_ = nullptr;    // the menu "&Arquivo", open once a championship is loaded
    QAction* RetirarRequisitos1_ = nullptr;
    QLabel* rotulo_requisitos_ = nullptr;  // "Requisitos: NOME" in the status bar
    // What the last run left to be said in the status bar: its reheat bound reached, the
    // requirements it did not meet (their sentences in the tooltip).
    QLabel* rotulo_execucao_ = nullptr;
    // A copy of the requirements of the last run, which the planner may replace or withdraw
    // afterwards: its result is shown, saved and printed as it was scored.
    Requisitos requisitos_resultado_;

    // The loaded championship as the planner knows it: its data file's name, for the
    // headings of what is printed and shared.
    QString nome_campeonato_;

    QWidget* painel_cliente_ = nullptr;  // green, below the toolbar: holds the grid and the panels
    GradeJogos* tabela_jogos_ = nullptr;
    QWidget* panel_jogos_ = nullptr;
    QPushButton* botao_fecha_ = nullptr;  // "&Fecha", closes the grid view
    PainelAndamento* executando_ = nullptr;
    PainelTemperatura* calc_temp_ = nullptr;
};

}  // namespace kelm
