#pragma once

#include <string>

namespace kelm {

// How a face shows a message: a typed box with the information or error icon and its
// standard title, or a plain box captioned "KELM v1.0" without an icon.
enum class TipoMensagem { informacao, erro, simples };

// The outcome of a command of the core: what the user is told, and whether it worked.
// `texto` is the system's fixed text; `detalhe`, when not empty, says which file, line or
// value caused a failure, and is shown below the text.
struct Desfecho {
    bool sucesso = true;
    TipoMensagem tipo = TipoMensagem::informacao;
    std::string texto;
    std::string detalhe;

    static Desfecho ok(std::string texto = {}) { return {true, TipoMensagem::informacao, std::move(texto), {}}; }
    static Desfecho erro(std::string texto, std::string detalhe = {})
    {
        return {false, TipoMensagem::erro, std::move(texto), std::move(detalhe)};
    }
    static Desfecho simples(std::string texto, bool sucesso = false)
    {
        return {sucesso, TipoMensagem::simples, std::move(texto), {}};
    }
};

}  // namespace kelm
