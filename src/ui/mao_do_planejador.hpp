#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "model/estado.hpp"
#include "search/edicao.hpp"

class QAction;
class QDockWidget;
class QListWidget;
class QMenu;
class QUndoStack;

namespace kelm {

class Tform_global;

// Texts of the planner's hand.
inline constexpr const char* filtro_tabelas = "Tabelas de resultado e tabelas de jogos (*.txt *.csv *.tsv)";
inline constexpr const char* msg_sem_requisitos_a_salvar = "Não há requisitos em vigor para salvar.";
inline constexpr const char* msg_replanejamento_fixo =
    "A tabela de um replanejamento não pode ser mudada à mão: abra-a com Abrir Tabela... para mudá-la.";

// A choice among a few items, asked in a small dialog: its title, the question, the items and
// the one proposed. While the dialog is open, `ao_mudar` is told of the item shown as chosen.
struct Escolha {
    QString titulo;
    QString texto;
    QStringList itens;
    int atual = 0;
    std::function<void(int)> ao_mudar;
};

// Where the planner's hand asks its choices; the program shows the dialog, tests answer in its
// place. The item chosen, from 0; nothing when cancelled.
using FuncaoEscolha = std::function<std::optional<int>(QWidget* pai, const Escolha& escolha)>;

// The real dialog: the question over a list to choose from, OK and Cancelar.
std::optional<int> dialogo_escolha(QWidget* pai, const Escolha& escolha);

// The planner's hand on the result in the window: a schedule opened from a file, changed on the
// grid (swap two rounds, invert a venue, swap two teams, move a game to another round) with the
// counts re-scored by the change's own scorer, each change on an undo stack back to the schedule
// opened or obtained; games pinned in their round as requirements of the planner; and the
// requirements in force saved to a file and listed beside the grid. It works on the window's
// state and widgets, which it reaches as the window's friend.
class MaoDoPlanejador : public QObject {
    Q_OBJECT
public:
    // Adds its items to the window's menus "&Arquivo" (by name, "Arquivo1") and a menu
    // "&Editar" before "&Resultados", its actions to the grid and its context menu, and the
    // requirements' dock to the window.
    explicit MaoDoPlanejador(Tform_global& janela);
    ~MaoDoPlanejador() override;

    // The choice dialog's seam.
    void substitui_escolha(FuncaoEscolha funcao) { escolha_ = std::move(funcao); }
    QUndoStack& pilha() { return *pilha_; }

    // The result changed as a whole (a run ended, a schedule was opened, a championship loaded,
    // a new initial schedule drawn): no change to undo, none marked.
    void recomeca();
    // The result was saved to `destino`: its changes are no longer marked, and no requirements
    // file may replace it.
    void salvo(const std::filesystem::path& destino);
    // Enables the hand's commands as the window's state allows; `livre` when no run goes on.
    void atualiza_comandos(bool livre);
    // Puts the hand's marks on the grid just filled: changed, about to change, pinned.
    void marca_grade();

    // The commands.
    void abre_tabela();
    void salva_requisitos();
    void troca_rodadas();
    void inverte_mando();
    void troca_times();
    void move_jogo();
    void fixa_jogo();
    void fixa_rodada();
    void solta();

    // Makes the change (or undoes it: each change is its own inverse): the counts and FO of the
    // result re-scored, the status bar saying what changed, the grid refilled.
    void faz(const MudancaManual& mudanca);

private:
    // The editor of the result on screen, made when first needed; null when the result cannot
    // be changed by hand, `motivo` then saying why.
    EdicaoTabela* editor(QString* motivo = nullptr);
    // The result as the grid shows it: its whole season when there is a returno.
    Tabela tabela_mostrada() const;
    // The round and slot (from 0) of the grid's current game; nothing when no game is chosen.
    std::optional<PosicaoJogo> jogo_escolhido() const;
    // Asks for one of `mudancas` with the items `itens`, the games each would change marked on
    // the grid as it is shown; the change chosen.
    std::optional<MudancaManual> escolhe(const QString& titulo, const QString& texto, const QStringList& itens,
                                         const std::vector<MudancaManual>& mudancas);
    // Puts the change on the undo stack, which makes it, after asking when it would move or
    // invert a pinned game.
    void propoe(const MudancaManual& mudanca, const QString& nome);
    // The result re-scored from scratch after its requirements changed (a pin made or released).
    void pinos_mudaram(const Requisitos& antes);
    void mostra_efeito(const EfeitoMudanca& efeito);
    void atualiza_acoes();
    void atualiza_painel_requisitos();
    void menu_de_contexto(const QPoint& ponto);

    Tform_global& janela_;
    FuncaoEscolha escolha_;
    QUndoStack* pilha_ = nullptr;
    std::unique_ptr<EdicaoTabela> editor_;
    Tabela base_;                          // the schedule shown as last opened, obtained or saved
    std::vector<PosicaoJogo> previa_;      // the games the change asked for would change
    std::filesystem::path resultado_gravado_;
    // Whether the schedule at the undo stack's clean point is the one in a file (opened or saved):
    // undoing back to it leaves nothing to save.
    bool gravado_no_limpo_ = false;
    bool livre_ = true;

    QAction* abrir_tabela_ = nullptr;
    QAction* salvar_requisitos_ = nullptr;
    QMenu* editar_ = nullptr;
    QAction* desfazer_ = nullptr;
    QAction* refazer_ = nullptr;
    QAction* troca_rodadas_ = nullptr;
    QAction* inverte_mando_ = nullptr;
    QAction* troca_times_ = nullptr;
    QAction* move_jogo_ = nullptr;
    QAction* fixa_jogo_ = nullptr;
    QAction* fixa_rodada_ = nullptr;
    QAction* solta_ = nullptr;
    QDockWidget* painel_requisitos_ = nullptr;
    QListWidget* lista_requisitos_ = nullptr;
};

}  // namespace kelm
