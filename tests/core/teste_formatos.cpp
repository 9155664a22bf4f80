#include <cfloat>

#include "apoio.hpp"
#include "search/formatos.hpp"

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
    ::testing::Values(CasoNumero{3, '.', "3"}, CasoNumero{0, '.', "0"}, CasoNumero{-0.0, '.', "0"},
                      CasoNumero{12, ',', "12"}, CasoNumero{3500, ',', "3500"}, CasoNumero{-1e-11, ',', "-1E-11"},
                      CasoNumero{1e15, '.', "1E15"}, CasoNumero{999999999999999, '.', "999999999999999"},
                      CasoNumero{-999999999999999, '.', "-999999999999999"},
                      CasoNumero{999999999999999.9, '.', "1E15"},  // rounds to 16 whole digits
                      CasoNumero{0.00001, '.', "0.00001"}, CasoNumero{0.0000099, ',', "9,9E-6"},
                      CasoNumero{1.5e-5, ',', "0,000015"}, CasoNumero{1234.5, ',', "1234,5"},
                      CasoNumero{-0.5, '.', "-0.5"}, CasoNumero{0.1 + 0.2, '.', "0.3"},
                      CasoNumero{123456789012345678.0, ',', "1,23456789012346E17"},
                      CasoNumero{202092892, '.', "202092892"}, CasoNumero{1e11, '.', "100000000000"},
                      CasoNumero{2000000 * 1.1, '.', "2200000"}, CasoNumero{DBL_MAX, '.', "1.79769313486232E308"}));

TEST(FormatoGeral, PrimeiroPercentualDepoisDeEsfriar)
{
    const float t0 = 2000000.0f;
    const double temperatura = static_cast<double>(0.95f) * static_cast<double>(t0);
    const double percentual = 100.0 - 100.0 * temperatura / static_cast<double>(t0) - 1e-11;
    EXPECT_GT(percentual, 5.0);
    EXPECT_EQ(formata_numero(percentual, '.'), "5.0000011920829");
    EXPECT_EQ(formata_numero(percentual, ','), "5,0000011920829");
}

TEST(Resfriamento, NiveisDeDoisMilhoesAteOFrio)
{
    // From T0 = 2 000 000 with the single-precision factor 0.95: 553 levels until the first
    // phase's cold check (below 1e-6), 777 until the second phase ends (not above 1e-11).
    const float t0 = 2000000.0f;
    double temperatura = t0;
    int niveis = 0;
    int ate_o_frio = 0;
    while (temperatura > 1e-11) {
        ++niveis;
        temperatura = static_cast<double>(0.95f) * temperatura;
        if (ate_o_frio == 0 && temperatura < 1e-6) ate_o_frio = niveis;
    }
    EXPECT_EQ(ate_o_frio, 553);
    EXPECT_EQ(niveis, 777);
    EXPECT_EQ(static_cast<double>(0.95f), 0.949999988079071044921875);
}

TEST(Hora, VinteEQuatroHorasComZeros)
{
    EXPECT_EQ(formata_hora(0.0), "00:00:00");
    EXPECT_EQ(formata_hora(0.5), "12:00:00");
    EXPECT_EQ(formata_hora(299.0 / 86400.0), "00:04:59");
    EXPECT_EQ(formata_hora((23 * 3600 + 59 * 60 + 58) / 86400.0), "23:59:58");
    EXPECT_EQ(formata_hora(1.25), "06:00:00");  // a whole day wraps around
    EXPECT_EQ(formata_hora(59.9994 / 86400.0), "00:00:59");
}

TEST(AlvoDeAceitacao, UmAMenosQueOsNoventaECincoPorCentoExatos)
{
    EXPECT_EQ(alvo_aceitacao(3300), 3134);
    EXPECT_EQ(alvo_aceitacao(4000), 3799);
    EXPECT_EQ(alvo_aceitacao(20), 18);
    EXPECT_EQ(alvo_aceitacao(1), 0);
    EXPECT_EQ(alvo_aceitacao(0), 0);
}

TEST(AlvoDeAceitacao, IgualAoProdutoEmPrecisaoEstendida)
{
    if (LDBL_MANT_DIG != 64) GTEST_SKIP() << "long double não tem 64 bits de mantissa nesta plataforma";
    for (int n = 1; n <= 200000; ++n) {
        const long double produto = static_cast<long double>(n) * static_cast<long double>(0.95);
        ASSERT_EQ(alvo_aceitacao(n), static_cast<int>(produto)) << n;
    }
}

}  // namespace
}  // namespace kelm::teste
