#pragma once

namespace kelm {

// The number of accepted trial moves the initial-temperature estimate waits for: the
// integer part of num_iteracoes x 0.95 (the double nearest 0.95), the product rounded to a
// 64-bit significand as extended precision does it; 3134 for 3300 and 3799 for 4000 on
// every platform.
int alvo_aceitacao(int num_iteracoes);

}  // namespace kelm
