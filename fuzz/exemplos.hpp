#pragma once

// The bundled championships that result files and requirements files are read against.

#include "model/estado.hpp"

namespace kelm::fuzz {

// A bundled championship loaded (with the initial schedule its load drew), once per process:
// the remainder of `escolha` by 3 chooses nordeste.dat, brasileirao_2023.dat or
// brasileirao_24_clubes.dat.
const Estado& exemplo_carregado(unsigned char escolha);

}  // namespace kelm::fuzz
