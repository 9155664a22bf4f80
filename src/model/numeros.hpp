#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "model/desfecho.hpp"

namespace kelm {

// The numbers a planner types, read once for the window and kelm-lote alike: in a dialog's
// field, in an option's value, in a list of weights.

// Whether `c` is a blank: a space or a tab.
inline bool eh_branco(char c) { return c == ' ' || c == '\t'; }

// `texto` without the blanks around it.
std::string_view sem_brancos(std::string_view texto);

// A whole number from 0 to `maximo` written in decimal, blanks around it ignored; a plus sign
// may stand before it, as before a weight; leading zeros allowed. Nothing for anything else.
std::optional<std::uint64_t> le_inteiro(std::string_view texto, std::uint64_t maximo);

// Reads a whole number from `minimo` to `maximo` as le_inteiro does. The refusal names the
// field and quotes the text: "CAMPO ("TEXTO") deve ser um número inteiro de MÍNIMO a MÁXIMO."
Desfecho converte_inteiro(std::string_view texto, std::uint64_t minimo, std::uint64_t maximo, std::string_view campo,
                          std::uint64_t& valor);

// Reads a list of rounds typed by the planner, numbers and ranges separated by commas ("1-10,
// 12"), blanks around each item ignored, each from 1 to `maximo`: the rounds, increasing, each
// once. The refusal quotes the item and says why.
Desfecho converte_rodadas(std::string_view texto, int maximo, std::vector<int>& rodadas);

// Reads a weight typed by the planner: an optionally signed decimal number with the given
// decimal separator and an optional exponent, blanks around it ignored, truncated toward
// zero. A text that is not a number, or whose value does not fit 32 bits, is an error
// naming Inviabilidade `numero`.
Desfecho converte_peso(std::string_view texto, char separador, int numero, std::int32_t& peso);

}  // namespace kelm
