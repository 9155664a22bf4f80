#include "model/estado.hpp"

namespace kelm {

Matriz<std::int32_t> aloca_matriz_inteiros(long long linhas, long long colunas)
{
    return Matriz<std::int32_t>::aloca(linhas, colunas, falta_memoria_inteiros);
}

Tabela aloca_matriz_jogos(long long linhas, long long colunas)
{
    return Tabela::aloca(linhas, colunas, falta_memoria_jogos);
}

Matriz<Controle> aloca_matriz_controle(long long linhas, long long colunas)
{
    return Matriz<Controle>::aloca(linhas, colunas, falta_memoria_controle);
}

}  // namespace kelm
