#include "model/estado.hpp"

#include "evaluation/avaliacao.hpp"

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

void copia_tabela(Estado& estado, Tabela& destino, const Tabela& origem)
{
    destino.copia_de(origem);
    estado.inviabilidades_melhor = estado.inviabilidades;
}

Desfecho prepara_execucao(Estado& estado)
{
    const int n = estado.num_times;
    const int r = estado.num_rodadas;
    // The new matrices are built aside and put in place only when all four exist, so a
    // failed allocation leaves the previous run's matrices (and its result) untouched.
    Matriz<std::int32_t> mandantes;
    Matriz<Controle> controle;
    Tabela atual;
    Tabela melhor;
    try {
        mandantes = aloca_matriz_inteiros(n + 1, n);
        controle = aloca_matriz_controle(r, n + 1);
        atual = aloca_matriz_jogos(r, n / 2);
        melhor = aloca_matriz_jogos(r, n / 2);
    } catch (const ErroAlocacao& e) {
        return Desfecho::simples(e.what());
    }
    estado.matriz_mandantes = std::move(mandantes);
    estado.matriz_controle = std::move(controle);
    estado.tabela_atual = std::move(atual);
    estado.tabela_melhor = std::move(melhor);

    estado.inviabilidades = Contagens{};
    copia_tabela(estado, estado.tabela_atual, estado.tabela_inicial);
    monta_matriz_controle(estado, estado.tabela_atual);
    estado.primeira_execucao = false;
    return Desfecho::ok();
}

}  // namespace kelm
