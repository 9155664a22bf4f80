#pragma once

#include <QWidget>

#include "report/explicacao.hpp"

namespace kelm {

// Each team's km as a bar, the team that travels most on top, with the spread between the
// most and the least (the count of Inviabilidade 9) above the bars: who travels most, at a
// glance. A painted widget, so that it needs nothing beyond Qt Widgets.
class GraficoKm : public QWidget {
    Q_OBJECT
public:
    explicit GraficoKm(QWidget* pai = nullptr);

    // The bars of `explicacao`, with the names of `campeonato`.
    void define(const Campeonato& campeonato, const Explicacao& explicacao);

    // The teams as the bars stand, from top to bottom, with their km.
    const std::vector<std::pair<QString, long long>>& barras() const { return barras_; }
    // The title above the bars, with the spread.
    QString titulo() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    std::vector<std::pair<QString, long long>> barras_;
};

}  // namespace kelm
