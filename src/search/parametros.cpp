#include "search/parametros.hpp"

#include <cstdint>

#include "model/numeros.hpp"

namespace kelm {

const Relogio& relogio_de(const OpcoesBusca& opcoes)
{
    static const RelogioSistema sistema;
    return opcoes.relogio != nullptr ? *opcoes.relogio : sistema;
}

namespace {

// A whole number from `minimo` to `maximo` typed in `campo`, stored in `valor`.
template <class T>
Desfecho converte(std::string_view texto, std::uint64_t minimo, std::uint64_t maximo, std::string_view campo, T& valor)
{
    std::uint64_t lido = 0;
    Desfecho d = converte_inteiro(texto, minimo, maximo, campo, lido);
    if (d.sucesso) valor = static_cast<T>(lido);
    return d;
}

}  // namespace

Desfecho converte_max_reaquecimentos(std::string_view texto, int& valor)
{
    return converte(texto, 0, max_reaquecimentos_aceito, "O limite de reaquecimentos", valor);
}

Desfecho converte_semente(std::string_view texto, std::uint32_t& valor)
{
    return converte(texto, 0, UINT32_MAX, "A semente", valor);
}

Desfecho converte_execucoes(std::string_view texto, int& valor)
{
    return converte(texto, 1, max_execucoes, "O número de execuções", valor);
}

Desfecho converte_esforco(std::string_view texto, int& valor) { return converte(texto, 1, max_esforco, "O esforço", valor); }

}  // namespace kelm
