#include "model/solucao_inicial.hpp"

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

int rodadas_preenchidas(int num_times)
{
    return num_times % 2 == 0 ? num_times - 1 : num_times;
}

void gera_lista_jogos(Estado& estado)
{
    const int n = estado.num_times;
    for (int i = 1; i <= n - 1; ++i) {
        for (int j = i + 1; j <= n; ++j) {
            const int h = estado.gerador.sorteia_inteiro(2);
            estado.lista_jogos.push_back(Jogo{h == 0 ? i : -i, j});
        }
    }
}

void distribui_jogos(Estado& estado)
{
    const int ultima_vaga = estado.jogos_por_rodada() - 1;
    const int total = static_cast<int>(estado.lista_jogos.size());
    Presentes presentes(total);
    int rodada = 0;
    int vaga = 0;
    for (int restantes = total; restantes > 0; --restantes) {
        const int k = estado.gerador.sorteia_inteiro(restantes);
        estado.tabela_inicial[rodada][vaga] = estado.lista_jogos[static_cast<std::size_t>(presentes.retira(k))];
        if (vaga < ultima_vaga) {
            ++vaga;
        } else {
            vaga = 0;
            ++rodada;
        }
    }
    estado.lista_jogos.clear();
}

void gera_solucao_inicial(Estado& estado)
{
    gera_lista_jogos(estado);
    distribui_jogos(estado);
}

}  // namespace kelm

namespace kelm {

Desfecho nova_solucao_inicial(Estado& estado)
{
    if (!estado.dados_carregados) return {false, TipoMensagem::informacao, "Os dados não foram carregados.", {}};
    estado.programa_executado = false;
    gera_solucao_inicial(estado);
    return Desfecho::ok();
}

}  // namespace kelm
