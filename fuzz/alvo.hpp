#pragma once

// The body of every libFuzzer target: run one property check, and stop with the broken
// property's description when it fails (libFuzzer then keeps the input as a crash).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kelm::fuzz {

inline int executa(std::string (*verifica)(std::string_view), const std::uint8_t* dados, std::size_t tamanho)
{
    const std::string erro = verifica(std::string_view(reinterpret_cast<const char*>(dados), tamanho));
    if (!erro.empty()) {
        std::fprintf(stderr, "Propriedade violada: %s\n", erro.c_str());
        std::abort();
    }
    return 0;
}

}  // namespace kelm::fuzz
