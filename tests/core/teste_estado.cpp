#include "apoio.hpp"

namespace kelm::teste {
namespace {

TEST(Matrizes, AlocacaoImpossivelDaAMensagemDaFamilia)
{
    auto mensagem = [](auto aloca) {
        try {
            aloca();
        } catch (const ErroAlocacao& e) {
            return std::string(e.what());
        }
        return std::string("alocou");
    };
    EXPECT_EQ(mensagem([] { aloca_matriz_inteiros(1LL << 40, 1LL << 40); }),
              "Falta memória para alocar a matriz de distâncias.");
    EXPECT_EQ(mensagem([] { aloca_matriz_jogos(-1, 3); }), "Falta memoria para alocar a matriz de jogos.");
    EXPECT_EQ(mensagem([] { aloca_matriz_controle(3, 1LL << 33); }), "Falta memoria para alocar a matriz de controle.");
}

}  // namespace
}  // namespace kelm::teste
