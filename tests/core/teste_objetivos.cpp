#include "apoio.hpp"
#include "evaluation/objetivos.hpp"

namespace kelm::teste {
namespace {

TEST(Objetivos, MarcadasOuPedidoDeEscolha)
{
    Criterios o;
    ASSERT_TRUE(define_objetivos(o, {false, false, false, false, false, false, false, true, false}).sucesso);
    EXPECT_TRUE(o.objetivos_escolhidos);
    EXPECT_EQ(o.objetivos, (std::array<std::int32_t, 9>{0, 0, 0, 0, 0, 0, 0, 1, 0}));

    const Desfecho d = define_objetivos(o, {});
    EXPECT_FALSE(d.sucesso);
    EXPECT_EQ(d.tipo, TipoMensagem::informacao);
    EXPECT_EQ(d.texto, "Você deve escolher os objetivos a cumprir antes de executar!");
    EXPECT_FALSE(o.objetivos_escolhidos);
}

struct CasoPeso {
    const char* texto;
    char separador;
    bool valido;
    std::int32_t valor;
};

// Short names in the test lists.
void PrintTo(const CasoPeso& c, std::ostream* os) { *os << "[" << c.texto << "]"; }

class Pesos : public ::testing::TestWithParam<CasoPeso> {};

TEST_P(Pesos, ConverteOuRecusa)
{
    const CasoPeso& c = GetParam();
    std::int32_t peso = -7;
    const Desfecho d = converte_peso(c.texto, c.separador, 9, peso);
    EXPECT_EQ(d.sucesso, c.valido) << c.texto << ": " << d.texto;
    if (c.valido) {
        EXPECT_EQ(peso, c.valor) << c.texto;
    } else {
        EXPECT_EQ(peso, -7);
        EXPECT_EQ(d.tipo, TipoMensagem::erro);
        EXPECT_NE(d.texto.find("O peso da inviabilidade 9"), std::string::npos) << d.texto;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Textos, Pesos,
    ::testing::Values(CasoPeso{"-2,9", ',', true, -2}, CasoPeso{"2.9", '.', true, 2}, CasoPeso{" +42 ", ',', true, 42},
                      CasoPeso{"2,5E3", ',', true, 2500}, CasoPeso{",5", ',', true, 0}, CasoPeso{"5,", ',', true, 5},
                      CasoPeso{"2147483647,9", ',', true, 2147483647}, CasoPeso{"-2147483648", '.', true, -2147483647 - 1},
                      CasoPeso{"1e-400", '.', true, 0}, CasoPeso{"2147483648", '.', false, 0},
                      CasoPeso{"1e400", '.', false, 0}, CasoPeso{"2.9", ',', false, 0}, CasoPeso{"   ", ',', false, 0},
                      CasoPeso{"1 000", ',', false, 0}, CasoPeso{"1e", '.', false, 0}, CasoPeso{"-", '.', false, 0},
                      CasoPeso{"nan", '.', false, 0}, CasoPeso{"0x10", '.', false, 0}));

TEST(Pesos, MensagensDizemOQueHouve)
{
    std::int32_t p = 0;
    EXPECT_EQ(converte_peso("abc", ',', 4, p).texto, "O peso da inviabilidade 4 (\"abc\") não é um número.");
    EXPECT_EQ(converte_peso("", ',', 4, p).texto, "O peso da inviabilidade 4 está vazio; escreva um número inteiro.");
    EXPECT_EQ(converte_peso("3000000000", ',', 1, p).texto,
              "O peso da inviabilidade 1 (\"3000000000\") está fora da faixa aceita, de -2147483648 a 2147483647.");
}

TEST(Pesos, TextoRuimNoQuartoGuardaOsTresPrimeiros)
{
    Criterios o;
    int campo = -1;
    const Desfecho d = aplica_pesos(o, {"1", "2", "3", "x", "5", "6", "7", "8", "9"}, ',', &campo);
    EXPECT_FALSE(d.sucesso);
    EXPECT_EQ(campo, 3);
    const std::array<std::int32_t, 9> esperado = {1, 2, 3, 10000000, 1000000000, 100000, 100000, 1, 100};
    EXPECT_EQ(o.pesos, esperado);
    EXPECT_EQ(o.pesos_padrao, pesos_default);

    ASSERT_TRUE(aplica_pesos(o, {"1", "2", "3", "4", "5", "6", "7", "8", "2,9"}, ',', &campo).sucesso);
    EXPECT_EQ(o.pesos[8], 2);
}

}  // namespace
}  // namespace kelm::teste
