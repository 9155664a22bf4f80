#pragma once

#include "model/estado.hpp"
#include "ui/caixas.hpp"
#include "ui/form_global.hpp"
#include "ui/form_inviab.hpp"
#include "ui/form_parametros.hpp"
#include "ui/form_pesos.hpp"

class QApplication;

namespace kelm {

// The desktop program's windows, created in the start-up order: the main window first (its
// creation sets the default objectives and weights), then the objectives dialog, the
// weights dialog and the search parameters dialog, which live hidden until the program ends
// and are shown modally. The
// message boxes and file dialogs of all three go through `mensageiro` and `seletor`.
class Programa {
public:
    explicit Programa(Estado& estado);

    Mensageiro mensageiro;
    SeletorArquivos seletor;
    Tform_global form_global;
    Tform_inviab form_inviab;
    Tform_pesos form_pesos;
    Tform_parametros form_parametros;
};

// Titles the application "KELM v1.0", puts the C library's numbers back in the C locale
// (files are written the same in every language), and gives Qt's own dialogs and buttons
// their Portuguese texts when the translation is installed. Called right after the
// application object is made.
void prepara_aplicacao(QApplication& aplicacao);

}  // namespace kelm
