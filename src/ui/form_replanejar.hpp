#pragma once

#include <cstdint>
#include <vector>

#include <QDialog>

#include "ui/caixas.hpp"

class QLineEdit;

namespace kelm {

// What the planner asks of a re-plan: the rounds already played, which no move may touch
// (from 1, of the whole season when there is one), and the weight of each game that leaves
// the round it has in the schedule on screen.
struct PedidoReplanejamento {
    std::vector<int> congeladas;
    std::int32_t peso_mudanca = 0;
};

// The dialog of Execução › Replanejar...: the rounds already played ("1-10, 12"; none when
// empty) and the weight of a changed game, the one in force proposed. A bad value is refused
// with a message naming its field, and the dialog stays open.
class Tform_replanejar : public QDialog {
    Q_OBJECT
public:
    // `rodadas`: the rounds of the schedule on screen; `peso`: the weight proposed.
    Tform_replanejar(int rodadas, std::int32_t peso, const Mensageiro& mensageiro, QWidget* pai = nullptr);

    // What the planner confirmed, once the dialog was accepted.
    const PedidoReplanejamento& pedido() const { return pedido_; }

public slots:
    void okClick();

private:
    int rodadas_;
    const Mensageiro& mensageiro_;
    QLineEdit* congeladas_ = nullptr;
    QLineEdit* peso_ = nullptr;
    PedidoReplanejamento pedido_;
};

}  // namespace kelm
