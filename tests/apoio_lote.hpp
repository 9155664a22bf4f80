#pragma once

// kelm-lote run in the test's own process, its two streams captured.

#include <sstream>
#include <string>
#include <vector>

#include "lote/lote.hpp"

namespace kelm::teste {

struct Chamada {
    int status = -1;
    std::string saida;  // standard output
    std::string erros;  // standard error
};

// kelm-lote with `args`, as if not on a terminal, with the given decimal separator.
inline Chamada lote(const std::vector<std::string>& args, char separador = ',')
{
    std::ostringstream saida;
    std::ostringstream erros;
    AmbienteLote amb{saida, erros, false, separador};
    Chamada c;
    c.status = executa_lote(args, amb);
    c.saida = saida.str();
    c.erros = erros.str();
    return c;
}

}  // namespace kelm::teste
