#pragma once

#include <QDialog>

#include "report/explicacao.hpp"

namespace kelm {

class GraficoKm;
class ModeloQuadro;

// The season at a glance: the home/away board of every team round by round (coloured, the
// breaks, long runs, games in a count and the turn marked; each game's tooltip as in the
// grid, with the round's date when a calendar dates the season's rounds), and beside it each
// team's km as a bar chart with the spread.
class Tform_temporada : public QDialog {
    Q_OBJECT
public:
    Tform_temporada(const Campeonato& campeonato, const Tabela& tabela, const Explicacao& explicacao, int inicio_returno,
                    const Calendario* calendario = nullptr, QWidget* pai = nullptr);

    ModeloQuadro* modelo() const { return modelo_; }
    GraficoKm* grafico() const { return grafico_; }

private:
    ModeloQuadro* modelo_;
    GraficoKm* grafico_;
};

}  // namespace kelm
