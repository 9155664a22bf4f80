#include "apoio.hpp"
#include "evaluation/objetivos.hpp"

namespace kelm::teste {
namespace {

TEST(Objetivos, MarcadasOuPedidoDeEscolha)
{
    Criterios o;
    ASSERT_TRUE(define_objetivos(o, {false, false, false, false, false, false, false, true, false}).sucesso);
    EXPECT_TRUE(o.objetivos_escolhidos);
    // The requirements' objective stays on unless it is given.
    EXPECT_EQ(o.objetivos, (std::array<std::int32_t, num_contagens>{0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1}));
    ASSERT_TRUE(define_objetivos(o, {}, true).sucesso);  // the requirements alone are a choice
    EXPECT_EQ(o.objetivos, (std::array<std::int32_t, num_contagens>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}));

    const Desfecho d = define_objetivos(o, {}, false);
    EXPECT_FALSE(d.sucesso);
    EXPECT_EQ(d.tipo, TipoMensagem::informacao);
    EXPECT_EQ(d.texto, "Você deve escolher os objetivos a cumprir antes de executar!");
    EXPECT_FALSE(o.objetivos_escolhidos);
}

TEST(Pesos, MensagensDizemOQueHouve)
{
    std::int32_t p = 0;
    EXPECT_EQ(converte_peso("abc", ',', 4, p).texto, "O peso da inviabilidade 4 (\"abc\") não é um número.");
    EXPECT_EQ(converte_peso("", ',', 4, p).texto, "O peso da inviabilidade 4 está vazio; escreva um número inteiro.");
    EXPECT_EQ(converte_peso("3000000000", ',', 1, p).texto,
              "O peso da inviabilidade 1 (\"3000000000\") está fora da faixa aceita, de -2147483648 a 2147483647.");
    // Beyond a double, written out: too large is out of range; too small, its zeros after the
    // comma outweighing its exponent, is 0.
    const Desfecho grande = converte_peso(std::string(400, '9'), ',', 2, p);
    EXPECT_NE(grande.texto.find("está fora da faixa aceita"), std::string::npos) << grande.texto;
    p = 5;
    EXPECT_TRUE(converte_peso("0," + std::string(1000, '0') + "1e600", ',', 2, p).sucesso);
    EXPECT_EQ(p, 0);
}

TEST(Pesos, TextoRuimNoQuartoGuardaOsTresPrimeiros)
{
    Criterios o;
    int campo = -1;
    const Desfecho d = aplica_pesos(o, {"1", "2", "3", "x", "5", "6", "7", "8", "9"}, ',', &campo);
    EXPECT_FALSE(d.sucesso);
    EXPECT_EQ(campo, 3);
    const std::array<std::int32_t, num_contagens> esperado = {1,      2,      3, 10000000, 1000000000,
                                                              100000, 100000, 1, 100,      1000000000, 10000000};
    EXPECT_EQ(o.pesos, esperado);
    EXPECT_EQ(o.pesos_padrao, pesos_default);

    const std::string dez = "x";
    ASSERT_EQ(aplica_pesos(o, {"1", "2", "3", "4", "5", "6", "7", "8", "2,9"}, ',', &campo, &dez).texto,
              "O peso da inviabilidade 10 (\"x\") não é um número.");
    EXPECT_EQ(campo, 9);
    EXPECT_EQ(o.pesos[8], 2);
}

}  // namespace
}  // namespace kelm::teste
