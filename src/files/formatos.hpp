#pragma once

#include <string>

namespace kelm {

// A double in the general format: at most 15 significant digits, no trailing zeros, no
// separator for whole numbers; scientific notation ("-1E-11", "1E15") only when the whole
// part has more than 15 digits or the magnitude is below 0.00001.
std::string formata_numero(double valor, char separador = '.');

// The whole seconds since midnight of the time part of a time value (a fraction of a day),
// rounded to the millisecond first; a value of a whole day or more wraps around.
int segundos_do_dia(double fracao_do_dia);

// The time part of a time value (a fraction of a day) as HH:MM:SS, 24-hour.
std::string formata_hora(double fracao_do_dia);

}  // namespace kelm
