#pragma once

#include <functional>

#include <QDialog>

#include "report/economia.hpp"

namespace kelm {

// The window of the button "Economia Obtida": the schedule the run started from and its result
// side by side (the nine counts, FO, the total km), the km the result saves, and the result's
// teams as the report shows them (venues round by round, home and away games, km, each
// team's share of the counts). After a compact run the start is the compact search's own
// round robin, and the window says so. With `abre_visao_geral`, a button opens the season at
// a glance. When the run had the planner's requirements, the tenth count is compared too,
// and a list says, in a sentence each, which of them the result does not meet.
class Tform_economia : public QDialog {
    Q_OBJECT
public:
    Tform_economia(const Campeonato& campeonato, const Economia& economia, bool partida_compacta, QWidget* pai = nullptr,
                   std::function<void()> abre_visao_geral = {});
};

}  // namespace kelm
