#pragma once

#include <array>

#include <QDialog>

#include "model/estado.hpp"
#include "ui/caixas.hpp"

class QLabel;
class QLineEdit;

namespace kelm {

// The weights dialog `form_pesos`: nine edits, one per infeasibility, and the buttons
// "&Ok", "&Cancelar" and "&Default". The edits show the default weights at creation and
// after "&Default", or what the planner typed; `pesos` changes only on "&Ok". A tenth edit,
// the weight of the planner's requirements, is shown only while requirements are in force.
class Tform_pesos : public QDialog {
    Q_OBJECT
public:
    Tform_pesos(Criterios& criterios, const Mensageiro& mensageiro, QWidget* pai = nullptr);

    // Edit `peso`k, k from 1 to 10.
    QLineEdit* peso(int k) const { return peso_[static_cast<std::size_t>(k - 1)]; }

    // Shows the requirements' weight while they are in force, hides it otherwise.
    void mostra_requisitos(bool em_vigor);

public slots:
    void ok_pesoClick();
    void resete_pesoClick();

private:
    Criterios& criterios_;
    const Mensageiro& mensageiro_;
    std::array<QLineEdit*, num_contagens> peso_{};
    QLabel* rotulo_requisitos_ = nullptr;
};

}  // namespace kelm
