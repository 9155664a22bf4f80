#include "search/execucao.hpp"
#include "apoio.hpp"
#include "neighbourhoods/padrao/movimentos.hpp"
#include "report/explicacao.hpp"

namespace kelm::teste {
namespace {

// The explanation of tabela_atual adds up to the reference's counts three ways: the teams'
// shares, the occurrences' values and its own totals. Returns the counts.
Contagens confere_totais(Estado& e)
{
    avalia(e);
    const Contagens& esperadas = e.execucao.inviabilidades;
    const Explicacao x = explica_tabela(e.campeonato, e.execucao.tabela_atual);
    Contagens parcelas;
    Contagens ocorrencias;
    for (const LinhaTime& l : x.times)
        for (std::size_t i = 0; i < num_inviabilidades; ++i) parcelas[i] += static_cast<double>(l.parcelas[i]);
    for (const Ocorrencia& o : x.ocorrencias) ocorrencias[o.inviabilidade] += static_cast<double>(o.valor);
    EXPECT_EQ(parcelas, esperadas);
    EXPECT_EQ(ocorrencias, esperadas);
    EXPECT_EQ(x.contagens, esperadas);
    return esperadas;
}

// Random schedules with rests, distances of 0 and a diagonal set, taken through moves of
// both kinds so that teams play twice in a round and long runs appear; then the initial
// schedule of every bundled championship.
TEST(Explicacao, TotaisIguaisAsContagensAoLongoDeMovimentos)
{
    struct Tamanho {
        int n;
        int r;
    };
    Contagens vistas;  // which counts were ever above 0, so that none is checked only at 0
    for (const auto [n, r] : {Tamanho{6, 10}, Tamanho{7, 9}, Tamanho{12, 30}}) {
        for (const std::uint32_t semente : {1u, 2u}) {
            Estado e = campeonato_sorteado(n, r, semente);
            const SorteioMovimentos sorteio(e.campeonato, Fase::primeira);
            for (int i = 0; i < 400; ++i) {
                if (i % 20 == 0) {
                    const Contagens c = confere_totais(e);
                    for (std::size_t k = 0; k < num_inviabilidades; ++k) vistas[k] += c[k] > 0 ? 1 : 0;
                }
                aplica_movimento(e.execucao.tabela_atual, e.execucao.matriz_controle, sorteio.sorteia(e.execucao.gerador));
            }
        }
    }
    for (std::size_t k = 0; k < num_inviabilidades; ++k) EXPECT_GT(vistas[k], 0) << "Inviabilidade " << k + 1;

    for (const char* dados :
         {"nordeste.dat", "brasileirao_2023.dat", "brasileirao_2023_turno.dat", "brasileirao_24_clubes.dat"}) {
        Estado e = carrega_exemplo(dados);
        ASSERT_TRUE(prepara_execucao(e.campeonato, e.execucao).sucesso);
        confere_totais(e);
    }
}

}  // namespace
}  // namespace kelm::teste
