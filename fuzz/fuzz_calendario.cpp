#include "alvo.hpp"
#include "verificacoes.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho)
{
    return kelm::fuzz::executa(kelm::fuzz::verifica_calendario, dados, tamanho);
}
