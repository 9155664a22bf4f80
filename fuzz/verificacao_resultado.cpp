// What must hold for any result file given to `kelm-lote --avaliar`: files a planner got from
// elsewhere, typed by hand or exported by another tool.

#include <array>
#include <filesystem>
#include <stdexcept>
#include <utility>
#include <vector>

#include "exemplos.hpp"
#include "files/carga.hpp"
#include "files/leitura_resultado.hpp"
#include "files/resultado.hpp"
#include "files/tabela_jogos.hpp"
#include "files/texto.hpp"
#include "propriedades.hpp"
#include "search/comandos.hpp"
#include "verificacoes.hpp"

namespace kelm::fuzz {

const Estado& exemplo_carregado(unsigned char escolha)
{
    static const std::array<Estado, 3> exemplos = [] {
        std::array<Estado, 3> e;
        const char* arquivos[] = {"nordeste.dat", "brasileirao_2023.dat", "brasileirao_24_clubes.dat"};
        for (std::size_t k = 0; k < e.size(); ++k) {
            const Desfecho d =
                carrega_dados(e[k].campeonato, e[k].execucao, std::filesystem::path(KELM_PASTA_EXEMPLOS) / arquivos[k]);
            if (!d.sucesso) throw std::runtime_error(std::string(arquivos[k]) + " não carregou: " + d.texto + d.detalhe);
        }
        return e;
    }();
    return exemplos[escolha % exemplos.size()];
}

namespace {

// A schedule no reading makes, put where the reader writes, so that a refusal that touched
// it is seen.
Tabela tabela_anterior()
{
    Tabela t = aloca_matriz_jogos(1, 1);
    t[0][0] = Jogo{-7, 7};
    return t;
}

// The first fault of a schedule read from a file: R x N/2 slots (or 2R x N/2 for a whole
// season), each round's games in its first slots, written as the generator writes them,
// teams of the championship, and every pair of teams exactly once (in a season, once at each
// venue).
std::string falha_da_tabela(const Campeonato& c, const Tabela& t)
{
    const int n = c.num_times;
    const int voltas = t.linhas() == 2 * c.num_rodadas ? 2 : 1;
    if (t.linhas() != voltas * c.num_rodadas || t.colunas() != c.jogos_por_rodada()) return "tabela lida com outras dimensões";
    std::vector<int> encontros(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1), 0);
    long long jogos = 0;
    for (int r = 0; r < t.linhas(); ++r) {
        bool houve_vaga = false;
        for (int g = 0; g < t.colunas(); ++g) {
            const Jogo j = t[r][g];
            if (j.vazio()) {
                if (j.time2 != 0) return "vaga vazia com um time";
                houve_vaga = true;
                continue;
            }
            if (houve_vaga) return "jogo depois de uma vaga vazia na rodada " + std::to_string(r + 1);
            const int m = j.mandante();
            const int v = j.visitante();
            if (m < 1 || m > n || v < 1 || v > n || m == v || !(j == jogo_entre(m, v))) return "jogo mal formado";
            const int a = voltas == 1 ? std::min(m, v) : m;
            const int b = voltas == 1 ? std::max(m, v) : v;
            const auto par = static_cast<std::size_t>(a) * static_cast<std::size_t>(n + 1) + static_cast<std::size_t>(b);
            if (++encontros[par] > 1) return "par que se enfrenta duas vezes no mesmo mando";
            ++jogos;
        }
    }
    if (jogos != static_cast<long long>(voltas) * n * (n - 1) / 2) return "tabela aceita sem algum par";
    return {};
}

}  // namespace

std::string verifica_resultado(std::string_view entrada)
{
    if (entrada.empty()) return {};
    const Campeonato& campeonato = exemplo_carregado(static_cast<unsigned char>(entrada[0])).campeonato;
    const std::string_view arquivo = entrada.substr(1);
    constexpr std::string_view nome = "r.txt";
    auto le = [&](std::string_view bytes) {
        Tabela tabela = tabela_anterior();
        const Desfecho d = le_resultado(bytes, nome, campeonato, tabela);
        return std::pair{d, std::move(tabela)};
    };
    const auto [d, tabela] = le(arquivo);
    if (!d.sucesso) {
        if (!(tabela == tabela_anterior())) return "um arquivo recusado mudou a tabela (" + d.texto + ")";
        // A workbook is refused as a whole, not at a line.
        if (eh_pasta_de_trabalho(sem_bom(arquivo))) {
            if (d.tipo != TipoMensagem::erro || d.texto.find("pasta de trabalho") == std::string::npos)
                return "pasta de trabalho recusada sem dizer o que é: " + d.texto;
        } else if (auto erro = verifica_recusa(d, "resultado", nome, conta_linhas(arquivo), "."); !erro.empty()) {
            return erro;
        }
    } else {
        if (eh_pasta_de_trabalho(sem_bom(arquivo))) return "pasta de trabalho lida como resultado";
        if (auto erro = falha_da_tabela(campeonato, tabela); !erro.empty()) return erro;
        // Written again as KELM writes a result file, the schedule reads back the same.
        Execucao execucao;
        execucao.tabela_melhor = tabela;
        const auto [de_novo, relida] = le(texto_resultado(campeonato, execucao));
        if (!de_novo.sucesso || !(relida == tabela)) return "a tabela regravada não se lê igual: " + de_novo.texto;
    }
    return mesma_leitura_nas_variantes(arquivo, d, tabela, le);
}

std::string verifica_tabela(std::string_view entrada)
{
    if (entrada.empty()) return {};
    const Campeonato& campeonato = exemplo_carregado(static_cast<unsigned char>(entrada[0])).campeonato;
    const std::string_view arquivo = entrada.substr(1);
    constexpr std::string_view nome = "t.csv";
    auto le = [&](std::string_view bytes) {
        Tabela tabela = tabela_anterior();
        const Desfecho d = le_tabela_simples(bytes, nome, campeonato, tabela);
        return std::pair{d, std::move(tabela)};
    };
    const auto [d, tabela] = le(arquivo);
    if (!d.sucesso) {
        if (!(tabela == tabela_anterior())) return "um arquivo recusado mudou a tabela (" + d.texto + ")";
        if (auto erro = verifica_recusa(d, "tabela", nome, conta_linhas(arquivo), "."); !erro.empty()) return erro;
    } else {
        if (auto erro = falha_da_tabela(campeonato, tabela); !erro.empty()) return erro;
        // No team plays twice in a round of a plain table.
        for (int r = 0; r < tabela.linhas(); ++r) {
            std::vector<int> vezes(static_cast<std::size_t>(campeonato.num_times) + 1, 0);
            for (int g = 0; g < tabela.colunas(); ++g)
                if (const Jogo j = tabela[r][g]; !j.vazio() && (++vezes[static_cast<std::size_t>(j.mandante())] > 1 ||
                                                                ++vezes[static_cast<std::size_t>(j.visitante())] > 1))
                    return "time que joga duas vezes numa rodada da tabela";
        }
        // Written as a result file, the schedule reads back the same.
        Execucao execucao;
        execucao.tabela_melhor = tabela;
        Tabela relida;
        const Desfecho de_novo = le_resultado(texto_resultado(campeonato, execucao), "r.txt", campeonato, relida);
        if (!de_novo.sucesso || !(relida == tabela)) return "a tabela gravada como resultado não se lê igual: " + de_novo.texto;
    }
    return mesma_leitura_nas_variantes(arquivo, d, tabela, le);
}

}  // namespace kelm::fuzz
