#include "ui/form_global.hpp"

namespace kelm {

Tform_global::Tform_global(Estado& estado, QWidget* parent) : QMainWindow(parent), estado_(estado)
{
    setWindowTitle(QStringLiteral(" Programação de Jogos do Campeonato Tolmareska de Futebol"));
}

}  // namespace kelm
