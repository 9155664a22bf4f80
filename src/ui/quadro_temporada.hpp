#pragma once

#include <cstdint>

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QStyledItemDelegate>

#include "report/explicacao.hpp"
#include "report/quadro_mandos.hpp"

class QPainter;

namespace kelm {

// A colour of the board (cores_quadro) as Qt paints it.
QColor cor_do_quadro(std::uint32_t rgb);

// Paints one cell of the board in `area`: its fill, its letters (bold red for a game that
// adds to a count), a dark corner for a break (a game at the venue of the one before it)
// and, on the first round of the returno, a thick line along its left side. Shared by the
// window and the printed page.
void pinta_casa(QPainter& pintor, const QRectF& area, const CasaQuadro& casa, bool inicio_returno);

// The board as a table: a row per team, a column per round; each cell's text is its letters,
// its tooltip the game as the grid shows it with what the explanation says of it, after the
// round's date when a calendar dates the rounds.
class ModeloQuadro : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void define(const Campeonato& campeonato, const Tabela& tabela, const Explicacao& explicacao, int inicio_returno,
                const Calendario* calendario = nullptr);

    const QuadroMandos& quadro() const { return quadro_; }

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;

private:
    // The tooltip of a cell, put together when it is asked for: a big championship has
    // hundreds of thousands of cells and few are ever pointed at.
    QString dica(int time, int rodada) const;

    QuadroMandos quadro_;
    Tabela tabela_;
    Explicacao explicacao_;
    QStringList nomes_;
    std::vector<DiaDaRodada> datas_;  // of every round, or none
};

// Paints the board's cells with pinta_casa.
class DelegadoQuadro : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override;
};

}  // namespace kelm
