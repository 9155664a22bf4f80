#pragma once

#include <array>

#include <QDialog>

#include "model/estado.hpp"
#include "ui/caixas.hpp"

class QCheckBox;
class QPushButton;

namespace kelm {

// The objectives dialog `form_inviab`: nine check boxes, one per infeasibility, and the
// buttons "&Ok", "&Cancelar", "&Todos" and "&Resetar". It lives, hidden, for the program's
// whole life, so the boxes keep what the planner set; they are never set from `objetivos`.
// A tenth box, the planner's requirements, is shown only while requirements are in force; it
// starts unchecked as the nine do, and "&Todos" and "&Resetar" set it with them. While it is
// hidden "&Ok" leaves the requirements' objective as it was (minimised unless the planner says
// otherwise).
class Tform_inviab : public QDialog {
    Q_OBJECT
public:
    Tform_inviab(Criterios& criterios, const Mensageiro& mensageiro, QWidget* pai = nullptr);

    // Check box `inv`k, k from 1 to 10.
    QCheckBox* inv(int k) const { return inv_[static_cast<std::size_t>(k - 1)]; }

    // Shows the requirements' box while they are in force, hides it otherwise.
    void mostra_requisitos(bool em_vigor);

public slots:
    void okClick();
    void cancelarClick();
    void todosClick();
    void reseteClick();

protected:
    // Escape presses "&Cancelar", as the dialog's cancel button.
    void keyPressEvent(QKeyEvent* evento) override;

private:
    Criterios& criterios_;
    const Mensageiro& mensageiro_;
    std::array<QCheckBox*, num_contagens> inv_{};
    QPushButton* cancelar_ = nullptr;
};

}  // namespace kelm
