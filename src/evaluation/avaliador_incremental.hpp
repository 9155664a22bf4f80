#pragma once

#include "evaluation/avaliador_completo.hpp"

namespace kelm {

using AvaliadorIncremental = AvaliadorCompleto;

}  // namespace kelm
