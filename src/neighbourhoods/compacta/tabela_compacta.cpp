#include "neighbourhoods/compacta/tabela_compacta.hpp"

#include <string>
#include <utility>
#include <vector>


namespace kelm {

namespace {

using Par = std::pair<int, int>;

// Shuffles `v` with the generator (Fisher and Yates).
template <class T>
void embaralha(std::vector<T>& v, Gerador& gerador)
{
    for (int i = static_cast<int>(v.size()) - 1; i > 0; --i)
        std::swap(v[static_cast<std::size_t>(i)], v[static_cast<std::size_t>(gerador.sorteia_inteiro(i + 1))]);
}

// A round robin of m teams numbered 0 to m-1 by the circle method: m-1 rounds for an even m,
// m rounds for an odd m, in which team j rests in round j (its pair is {j, j}).
std::vector<std::vector<Par>> circulo(int m)
{
    std::vector<std::vector<Par>> rodadas;
    const int giram = m % 2 == 0 ? m - 1 : m;  // the teams that turn around the circle
    for (int j = 0; j < giram; ++j) {
        std::vector<Par> rodada;
        rodada.push_back(m % 2 == 0 ? Par{m - 1, j} : Par{j, j});
        for (int d = 1; d <= (giram - 1) / 2; ++d) rodada.push_back({(j + d) % giram, (j - d + giram) % giram});
        rodadas.push_back(std::move(rodada));
    }
    return rodadas;
}

}  // namespace

Desfecho aceita_busca_compacta(const Campeonato& campeonato)
{
    const int n = campeonato.num_times;
    const int precisas = rodadas_preenchidas(n);
    if (campeonato.num_rodadas == precisas) return Desfecho::ok();
    const std::string folga = n % 2 == 0 ? "" : ", com um time de folga em cada uma";
    return Desfecho::erro("A busca compacta não pode ser usada com estes dados: ela faz cada time jogar uma vez por rodada" +
                          folga + ", o que com " + std::to_string(n) + " times pede " + std::to_string(precisas) +
                          " rodadas, e os dados têm " + std::to_string(campeonato.num_rodadas) + ".");
}

void gera_tabela_compacta(int num_times, Gerador& gerador, Tabela& tabela)
{
    // With an odd N a team N+1 stands in for the rest: whoever plays it rests that round.
    const int n = num_times % 2 == 0 ? num_times : num_times + 1;
    const int m = n / 2;
    std::vector<int> times(static_cast<std::size_t>(n));
    for (int t = 0; t < n; ++t) times[static_cast<std::size_t>(t)] = t + 1;
    embaralha(times, gerador);
    auto a = [&](int i) { return times[static_cast<std::size_t>(i)]; };
    auto b = [&](int i) { return times[static_cast<std::size_t>(m + i)]; };

    std::vector<std::vector<Par>> rodadas;
    // The games within each half, both halves in the same rounds; with an odd half, team j
    // of each half rests in its round j, and the two resting teams meet.
    for (const auto& rodada : circulo(m)) {
        std::vector<Par> jogos;
        for (const auto& [x, y] : rodada) {
            if (x == y) {
                jogos.push_back({a(x), b(x)});
            } else {
                jogos.push_back({a(x), a(y)});
                jogos.push_back({b(x), b(y)});
            }
        }
        rodadas.push_back(std::move(jogos));
    }
    // The games across the halves: in round k, team i of one half meets team i + k of the
    // other; k = 0 was played by the resting teams when the halves are odd.
    for (int k = m % 2 == 0 ? 0 : 1; k < m; ++k) {
        std::vector<Par> jogos;
        for (int i = 0; i < m; ++i) jogos.push_back({a(i), b((i + k) % m)});
        rodadas.push_back(std::move(jogos));
    }
    embaralha(rodadas, gerador);

    for (int r = 0; r < static_cast<int>(rodadas.size()); ++r) {
        int vaga = 0;
        for (const auto& [x, y] : rodadas[static_cast<std::size_t>(r)]) {
            if (x > num_times || y > num_times) continue;  // the rest of an odd N
            tabela[r][vaga++] = gerador.sorteia_inteiro(2) == 0 ? jogo_entre(x, y) : jogo_entre(y, x);
        }
    }
}

}  // namespace kelm
