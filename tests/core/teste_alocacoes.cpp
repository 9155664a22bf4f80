// Counts the allocations of a whole run: the search must not allocate per trial move.
// A binary of its own, since it replaces the global operator new.

#include <atomic>
#include <cstdlib>
#include <new>

#include "apoio.hpp"
#include "search/busca.hpp"

namespace {
std::atomic<long long> alocacoes{0};
}

// GCC 12 takes free() inside a replaced operator delete for a mismatch with operator new
// (-Wmismatched-new-delete, seen at -O1 in the sanitizer build); both sides use malloc/free.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n)
{
    ++alocacoes;
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace kelm::teste {
namespace {

TEST(Alocacoes, UmaExecucaoNaoAlocaPorMovimento)
{
    // Both searches: the padrao one on a small championship, the compact one on a compact
    // championship of eight teams.
    for (const TipoBusca busca : {TipoBusca::padrao, TipoBusca::compacta}) {
        Estado e = busca == TipoBusca::padrao ? carrega_exemplo("nordeste.dat") : campeonato_sorteado(8, 7, 3);
        todos_objetivos(e);
        Observador nada;
        OpcoesBusca op;
        op.busca = busca;
        op.max_reaquecimentos = 1;
        const long long antes = alocacoes.load();
        const ResumoBusca r = executa_busca(e, nada, op);
        const long long durante = alocacoes.load() - antes;
        ASSERT_TRUE(r.executada);
        EXPECT_GT(r.movimentos, 2000000);
        // The work matrices, the compact start, the neighbourhoods of each phase and their
        // tables: a few hundred at most, however many trial moves were made.
        EXPECT_LT(durante, 300);
    }
}

}  // namespace
}  // namespace kelm::teste
