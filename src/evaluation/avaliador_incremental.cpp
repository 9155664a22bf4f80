#include "evaluation/avaliador_incremental.hpp"
