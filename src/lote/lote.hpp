#pragma once

#include <atomic>
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
    lote_parada = 4,         // stopped by the planner (SIGINT, SIGTERM); the best schedule so far was written
};

struct AmbienteLote {
    std::ostream& saida;     // the result file when no -o is given
    std::ostream& erros;     // messages, progress and the summary
    bool terminal = false;   // `erros` is a terminal: the progress line is redrawn in place
    char separador = '.';    // decimal separator of the user's regional settings
    // Set when the planner asks the run to stop (the first Ctrl-C): the run ends at its next
    // temperature level and its best schedule so far is written.
    const std::atomic<bool>* parar = nullptr;
};

// kelm-lote with its arguments (without the program name); returns the exit status.
int executa_lote(const std::vector<std::string>& argumentos, AmbienteLote& ambiente);

}  // namespace kelm
