#pragma once

#include <array>
#include <initializer_list>

#include <QIcon>
#include <QString>

#include "model/estado.hpp"

class QDialog;
class QPushButton;
class QWidget;

namespace kelm {

// What each infeasibility is called in the objectives dialog (a check box to minimise it) and
// in the weights dialog (the label beside its weight), Inviabilidade 1 to 9.
struct Legenda {
    const char* objetivo;
    const char* peso;
};
extern const std::array<Legenda, num_inviabilidades> legendas;

// A dialog button with a picture, named `nome` for the tests, at the dialogs' common size.
QPushButton* botao_com_imagem(QWidget* pai, const char* nome, const QString& texto, const QIcon& icone);

// Lays a dialog out as all of the program's dialogs are: `conteudo` at the top, the buttons
// in one centred row at the bottom, the first of them the default button. The dialog is
// given at least the size `minimo`, or what its texts need.
void dispoe_dialogo(QDialog* dialogo, QWidget* conteudo, std::initializer_list<QPushButton*> botoes, QSize minimo);

}  // namespace kelm
