#pragma once

#include <QIcon>
#include <QString>

class QPushButton;
class QWidget;

namespace kelm {

// The picture of a command: the icon of that name in the system's icon theme when the theme
// has one, else the program's own picture of the same role (":/icones/<proprio>.png").
QIcon icone(const char* nome_no_tema, const char* proprio);

// The program's own picture alone.
QIcon icone_proprio(const char* proprio);

// A dialog button with a picture, named `nome` for the tests, at the dialogs' common size.
QPushButton* botao_com_imagem(QWidget* pai, const char* nome, const QString& texto, const QIcon& icone);

}  // namespace kelm
