#pragma once

#include <array>
#include <initializer_list>

#include <QIcon>
#include <QSize>
#include <QString>

#include "model/estado.hpp"

class QDialog;
class QFileDialog;
class QPushButton;
class QWidget;

namespace kelm {

// What each infeasibility is called in the objectives dialog (a check box to minimise it) and
// in the weights dialog (the label beside its weight), Inviabilidade 1 to 10; the tenth is
// shown only while the planner's requirements are in force.
struct Legenda {
    const char* objetivo;
    const char* peso;
};
extern const std::array<Legenda, num_contagens> legendas;

// A dialog button with a picture, named `nome` for the tests, at the dialogs' common size.
QPushButton* botao_com_imagem(QWidget* pai, const char* nome, const QString& texto, const QIcon& icone);

// Lays a dialog out as all of the program's dialogs are: `conteudo` at the top, the buttons
// in one centred row at the bottom, the first of them the default button. The dialog is
// given at least the size `minimo`, or what its texts need.
void dispoe_dialogo(QDialog* dialogo, QWidget* conteudo, std::initializer_list<QPushButton*> botoes, QSize minimo);

// The largest size any of the program's dialogs takes: it fits a 1366 x 768 screen with room
// for the desktop's panel and the dialog's title bar.
inline constexpr QSize tamanho_maximo_dialogo{1366, 688};

// Readies Qt's own file dialog for a planner who reads Portuguese whatever the regional
// settings say: the type of each file ("Documento de texto", "Pasta"), its size and its date
// written in Portuguese, columns wide enough to read them, and a size that fits the screen.
void prepara_dialogo_arquivos(QFileDialog& dialogo);

}  // namespace kelm
