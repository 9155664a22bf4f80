#pragma once

#include <cstdint>
#include <optional>

#include <QAbstractTableModel>
#include <QColor>
#include <QLocale>
#include <QString>
#include <QTableView>
#include <QStringList>

#include "model/estado.hpp"
#include "report/explicacao.hpp"

namespace kelm {

// Texts of the schedule grid.
QString texto_canto();                       // "            RODADA / JOGO"
QString texto_rodada(int rodada);            // round heading, rounds from 1
// The heading of a dated round: "6ª RODADA  18/05/2024"; its tooltip names the day of the week
// and the time, when there is one: "6ª rodada: sábado, 18/05/2024, 16:00".
QString texto_rodada(int rodada, const DiaDaRodada& dia);
QString dica_rodada(int rodada, const DiaDaRodada& dia);
QString texto_cabecalho_jogo(int jogo);      // game heading, games from 1
// "Home  X  Away" for a game, the empty text for an empty slot; `nomes` indexed by team
// number. A number outside the names gives an empty name.
QString texto_jogo(const Jogo& jogo, const QStringList& nomes);

// What the grid says of each game of `tabela` besides the game itself, round by round, slot
// by slot: the notes of its tooltip (the occurrences of the counts it takes part in), and
// whether it breaks one of the planner's requirements, which the grid marks, and whether a
// re-plan moved it from the round it had in the schedule it started from.
struct NotasDaGrade {
    QStringList notas;
    std::vector<bool> marcados;
    std::vector<bool> mudados;
};
NotasDaGrade notas_da_grade(const Explicacao& explicacao, const Tabela& tabela);

// The marks of a game that breaks a requirement: a light red behind dark red, bold letters.
QColor fundo_marcado();
QColor texto_marcado();

// What the planner's hand shows on a game's cell, flags that add up: changed by hand since the
// schedule was saved, about to change (the change asked for, before it is made), pinned.
namespace marca_mao {
inline constexpr std::uint8_t mudado = 1;
inline constexpr std::uint8_t previa = 2;
inline constexpr std::uint8_t fixado = 4;
}  // namespace marca_mao
// A game changed by hand, or moved by a re-plan: light blue behind it; a game about to
// change: amber.
QColor fundo_mudado();
QColor fundo_previa();

// Which schedule the grid shows.
enum class OrigemTabela { inicial, obtida };

// What the grid's heading says of the schedule it shows.
struct TabelaNaGrade {
    OrigemTabela origem = OrigemTabela::inicial;
    int rodadas = 0;                   // the rounds shown
    Returno returno = Returno::nenhum; // a whole season, turno and returno, by this scheme
    std::optional<double> fo;          // of a result, its FO_STAR
    bool parada = false;               // a result of a run the planner stopped
};

// The grid's heading: the schedule's name, its rounds and, of a result, its FO, for example
// "Tabela Obtida: 10 rodadas, turno e returno espelhado. FO 3500", FO with `local`'s decimal
// separator.
QString titulo_da_grade(const TabelaNaGrade& tabela, const QLocale& local = QLocale());

// The role of a cell's data that is true in the first round of the returno, above which the
// grid draws a thick line.
inline constexpr int papel_inicio_returno = Qt::UserRole + 1;

// The contents of the grid: a snapshot of one schedule, taken when the view is filled, and
// written out cell by cell as the view asks. Row 0 and column 0 hold the headings; cell
// (r, g) of the model is game slot g of round r.
class ModeloGrade : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows a copy of `tabela` in `linhas` rows (rounds + 1) and `colunas` columns
    // (games per round + 1). Cells beyond the schedule's own size stay empty. `notas`, when
    // given, holds for every game (round by round, slot by slot) what its tooltip says
    // besides the game itself, `marcados` whether the game is marked as breaking a requirement
    // and `mudados` as moved by a re-plan (the first mark shows when a game has both).
    void define(const Tabela& tabela, const std::vector<std::string>& nomes, int linhas, int colunas,
                QStringList notas = {}, std::vector<bool> marcados = {}, std::vector<bool> mudados = {});
    // The returno's first round (rounds from 1) below the turno's line; 0 when there is none.
    void define_inicio_returno(int rodada);
    // The dates of the rounds shown, from the first (none: the headings name the rounds alone).
    void define_datas(std::vector<DiaDaRodada> datas);
    // The planner's hand's flags (marca_mao) of every game, round by round, slot by slot; none
    // when empty. Kept until replaced.
    void define_marcas_mao(std::vector<std::uint8_t> marcas);
    // The flags of the game in cell (`linha`, `coluna`) of the grid.
    std::uint8_t marcas_mao(int linha, int coluna) const;

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;

private:
    bool dentro(const QModelIndex& indice) const;
    QString texto(int linha, int coluna) const;
    // Whether the game of the cell in `linha`, `coluna` is marked in `marcas`.
    bool marcado(const std::vector<bool>& marcas, int linha, int coluna) const;

    int linhas_ = 0;
    int colunas_ = 0;
    Tabela tabela_;
    QStringList nomes_;
    QStringList notas_;
    std::vector<bool> marcados_;
    std::vector<bool> mudados_;
    std::vector<std::uint8_t> marcas_mao_;
    int inicio_returno_ = 0;
    std::vector<DiaDaRodada> datas_;
};

// The string grid `tabela_jogos`: columns of 170 pixels, rows of 24, read-only, with its
// heading row and heading column fixed while the rest scrolls beneath them.
class GradeJogos : public QTableView {
    Q_OBJECT
public:
    static constexpr int largura_coluna = 170;
    static constexpr int altura_linha = 24;

    explicit GradeJogos(QWidget* pai = nullptr);

    ModeloGrade* modelo() const { return modelo_; }
    // The text of column `coluna`, row `linha`, as shown.
    QString celula(int coluna, int linha) const;

    void scrollTo(const QModelIndex& indice, ScrollHint dica = EnsureVisible) override;

protected:
    void resizeEvent(QResizeEvent* evento) override;
    void updateGeometries() override;

private:
    QTableView* cria_fixa(const char* nome);
    void ajusta_fixas();
    void posiciona_fixas();

    ModeloGrade* modelo_;
    QTableView* coluna_fixa_;
    QTableView* linha_fixa_;
    QTableView* canto_fixo_;
};

}  // namespace kelm
