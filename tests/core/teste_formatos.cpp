#include <cfloat>

#include "apoio.hpp"
#include "files/formatos.hpp"
#include "search/motor.hpp"

namespace kelm::teste {
namespace {

struct CasoNumero {
    double valor;
    char separador;
    const char* texto;
};

// Short names in the test lists.
void PrintTo(const CasoNumero& c, std::ostream* os) { *os << c.texto; }

class FormatoGeral : public ::testing::TestWithParam<CasoNumero> {};

TEST_P(FormatoGeral, EscreveComoEsperado) { EXPECT_EQ(formata_numero(GetParam().valor, GetParam().separador), GetParam().texto); }

INSTANTIATE_TEST_SUITE_P(
    Valores, FormatoGeral,
    ::testing::Values(CasoNumero{0, '.', "0"}, CasoNumero{-0.0, '.', "0"}, CasoNumero{3500, ',', "3500"},
                      CasoNumero{-1e-11, ',', "-1E-11"}, CasoNumero{999999999999999, '.', "999999999999999"},
                      CasoNumero{999999999999999.9, '.', "1E15"},  // rounds to 16 whole digits
                      CasoNumero{0.00001, '.', "0.00001"}, CasoNumero{0.0000099, ',', "9,9E-6"},
                      CasoNumero{123456789012345678.0, ',', "1,23456789012346E17"},
                      CasoNumero{DBL_MAX, '.', "1.79769313486232E308"}));

TEST(Hora, VinteEQuatroHorasComZeros)
{
    EXPECT_EQ(formata_hora((23 * 3600 + 59 * 60 + 58) / 86400.0), "23:59:58");
    EXPECT_EQ(formata_hora(1.25), "06:00:00");  // a whole day wraps around
    EXPECT_EQ(formata_hora(59.9994 / 86400.0), "00:00:59");
}

// 3134 for 3300 and 3799 for 4000 are what extended precision makes of n x 0.95, on every
// platform: one less than the exact 95 % for these two.
TEST(AlvoDeAceitacao, IgualAoProdutoEmPrecisaoEstendida)
{
    EXPECT_EQ(alvo_aceitacao(3300), 3134);
    EXPECT_EQ(alvo_aceitacao(4000), 3799);
    if (LDBL_MANT_DIG != 64) GTEST_SKIP() << "long double não tem 64 bits de mantissa nesta plataforma";
    for (int n = 1; n <= 200000; ++n) {
        const long double produto = static_cast<long double>(n) * static_cast<long double>(0.95);
        ASSERT_EQ(alvo_aceitacao(n), static_cast<int>(produto)) << n;
    }
}

}  // namespace
}  // namespace kelm::teste
