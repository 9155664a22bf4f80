#include "neighbourhoods/padrao/solucao_inicial.hpp"

#include <vector>

namespace kelm {

namespace {

// Positions still in the list, counted with a Fenwick tree, so that taking the k-th
// remaining game costs O(log n) instead of shifting the list (which would be quadratic
// for a thousand teams).
class Presentes {
public:
    explicit Presentes(int n) : arvore_(static_cast<std::size_t>(n) + 1, 0)
    {
        for (int i = 1; i <= n; ++i) {
            arvore_[static_cast<std::size_t>(i)] += 1;
            const int pai = i + (i & -i);
            if (pai <= n) arvore_[static_cast<std::size_t>(pai)] += arvore_[static_cast<std::size_t>(i)];
        }
        passo_ = 1;
        while (passo_ * 2 <= n) passo_ *= 2;
    }

    // Removes and returns the original index (from 0) of the k-th remaining position (from 0).
    int retira(int k)
    {
        const int n = static_cast<int>(arvore_.size()) - 1;
        int pos = 0;
        int resto = k + 1;
        for (int passo = passo_; passo > 0; passo /= 2) {
            const int prox = pos + passo;
            if (prox <= n && arvore_[static_cast<std::size_t>(prox)] < resto) {
                pos = prox;
                resto -= arvore_[static_cast<std::size_t>(prox)];
            }
        }
        for (int i = pos + 1; i <= n; i += i & -i) arvore_[static_cast<std::size_t>(i)] -= 1;
        return pos;
    }

private:
    std::vector<int> arvore_;
    int passo_ = 1;
};

}  // namespace

void gera_lista_jogos(int num_times, Gerador& gerador, std::vector<Jogo>& lista_jogos)
{
    for (int i = 1; i <= num_times - 1; ++i) {
        for (int j = i + 1; j <= num_times; ++j) {
            const int h = gerador.sorteia_inteiro(2);
            lista_jogos.push_back(Jogo{h == 0 ? i : -i, j});
        }
    }
}

void distribui_jogos(std::vector<Jogo>& lista_jogos, Gerador& gerador, Tabela& tabela)
{
    const int ultima_vaga = tabela.colunas() - 1;
    const int total = static_cast<int>(lista_jogos.size());
    Presentes presentes(total);
    int rodada = 0;
    int vaga = 0;
    for (int restantes = total; restantes > 0; --restantes) {
        const int k = gerador.sorteia_inteiro(restantes);
        tabela[rodada][vaga] = lista_jogos[static_cast<std::size_t>(presentes.retira(k))];
        if (vaga < ultima_vaga) {
            ++vaga;
        } else {
            vaga = 0;
            ++rodada;
        }
    }
    lista_jogos.clear();
}

void gera_solucao_inicial(int num_times, Gerador& gerador, Tabela& tabela)
{
    std::vector<Jogo> lista_jogos;
    lista_jogos.reserve(static_cast<std::size_t>(num_times) * static_cast<std::size_t>(num_times - 1) / 2);
    gera_lista_jogos(num_times, gerador, lista_jogos);
    distribui_jogos(lista_jogos, gerador, tabela);
}

}  // namespace kelm
