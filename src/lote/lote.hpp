#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kelm {

// Exit statuses of kelm-lote.
enum SaidaLote : int {
    lote_ok = 0,             // result written
    lote_falhou = 1,         // data not loaded, or result not written
    lote_uso_errado = 2,     // wrong usage
    lote_interrompida = 3,   // the first phase reached its reheat bound; its result was written
};

struct AmbienteLote {
    std::ostream& saida;     // the result file when no -o is given
    std::ostream& erros;     // messages, progress and the summary
    bool terminal = false;   // `erros` is a terminal: the progress line is redrawn in place
    char separador = '.';    // decimal separator of the user's regional settings
};

// kelm-lote with its arguments (without the program name); returns the exit status.
int executa_lote(const std::vector<std::string>& argumentos, AmbienteLote& ambiente);

}  // namespace kelm
