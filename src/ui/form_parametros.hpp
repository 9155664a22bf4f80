#pragma once

#include <QDialog>

#include "search/busca.hpp"
#include "ui/caixas.hpp"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kelm {

// The search parameters dialog, opened by the toolbar button "T0`": which search the run
// command makes, whether it plans the whole season (and by which mirroring scheme), the first
// phase's reheat bound, the seed, how many independent runs (the best is kept) and the effort.
// The values last until the program ends; a bad value is refused with a message naming its
// field, and the dialog stays open. While the season is asked of the padrao search, the dialog
// advises the compact one. "&Padrão" puts back the defaults (the padrao search,
// 50, 333, 1, 1) in the fields.
class Tform_parametros : public QDialog {
    Q_OBJECT
public:
    Tform_parametros(OpcoesBusca& opcoes, const Mensageiro& mensageiro, QWidget* pai = nullptr);

public slots:
    void okClick();
    void padraoClick();

protected:
    // The fields show the values in force whenever the dialog opens.
    void showEvent(QShowEvent* evento) override;

private:
    void mostra_valores(const OpcoesBusca& opcoes);

    OpcoesBusca& opcoes_;
    const Mensageiro& mensageiro_;
    QRadioButton* padrao_ = nullptr;
    QRadioButton* compacta_ = nullptr;
    QRadioButton* so_turno_ = nullptr;
    QRadioButton* espelhado_ = nullptr;
    QRadioButton* frances_ = nullptr;
    QLineEdit* max_reaquecimentos_ = nullptr;
    QLineEdit* semente_ = nullptr;
    QLineEdit* execucoes_ = nullptr;
    QLineEdit* esforco_ = nullptr;
    QLabel* aviso_temporada_ = nullptr;  // shown while a whole season is asked of the padrao search
};

}  // namespace kelm
