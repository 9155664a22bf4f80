// The fuzz targets' inputs, replayed through the same property checks in this build (and
// so under the sanitizers of the asan preset): their seed corpora, and every input that
// once broke a property, kept in fuzz/regressoes/<target>/. Then, one test per fault
// found, stating the sound behaviour.

#include <memory>

#include "apoio.hpp"
#include "evaluation/objetivos.hpp"
#include "files/requisitos.hpp"
#include "files/texto.hpp"
#include "verificacoes.hpp"

namespace kelm::teste {
namespace {

namespace fs = std::filesystem;

struct Alvo {
    const char* nome;
    std::string (*verifica)(std::string_view);
};

void PrintTo(const Alvo& alvo, std::ostream* os) { *os << alvo.nome; }

class EntradasDoFuzz : public ::testing::TestWithParam<Alvo> {};

TEST_P(EntradasDoFuzz, CumpremAsPropriedades)
{
    const Alvo& alvo = GetParam();
    int entradas = 0;
    for (const char* conjunto : {"corpus", "regressoes"}) {
        const fs::path pasta = fs::path(KELM_PASTA_FUZZ) / conjunto / alvo.nome;
        if (!fs::is_directory(pasta)) continue;
        for (const auto& arquivo : fs::directory_iterator(pasta)) {
            if (!arquivo.is_regular_file()) continue;
            ++entradas;
            EXPECT_EQ(alvo.verifica(le_bytes(arquivo.path())), "") << arquivo.path();
        }
    }
    EXPECT_GT(entradas, 0) << "nenhuma entrada para " << alvo.nome;
}

INSTANTIATE_TEST_SUITE_P(Alvos, EntradasDoFuzz,
                         ::testing::Values(Alvo{"dados", fuzz::verifica_dados}, Alvo{"distancias", fuzz::verifica_distancias},
                                           Alvo{"nomes", fuzz::verifica_nomes}, Alvo{"peso", fuzz::verifica_peso},
                                           Alvo{"carga", fuzz::verifica_carga}, Alvo{"resultado", fuzz::verifica_resultado},
                                           Alvo{"requisitos", fuzz::verifica_requisitos}, Alvo{"tabela", fuzz::verifica_tabela},
                                           Alvo{"calendario", fuzz::verifica_calendario}),
                         [](const auto& alvo) { return std::string(alvo.param.nome); });

// ---- Faults found, one test each --------------------------------------------------

// A weight too small for a double, such as 1e-400, was refused as "fora da faixa": its
// integer part is 0, well within range.
TEST(Regressao, PesoPequenoDemaisParaUmDoubleValeZero)
{
    for (const std::string texto : {"1e-400", "-1e-400", "0.0000000000000000000000000000001e-300", "  5e-99999999999999999999 "}) {
        std::int32_t peso = 77;
        const Desfecho d = converte_peso(texto, '.', 3, peso);
        EXPECT_TRUE(d.sucesso) << texto << ": " << d.texto;
        EXPECT_EQ(peso, 0) << texto;
    }
    std::int32_t peso = 77;
    const Desfecho grande = converte_peso("1e400", '.', 3, peso);
    EXPECT_EQ(grande.texto, "O peso da inviabilidade 3 (\"1e400\") está fora da faixa aceita, de -2147483648 a 2147483647.");
    EXPECT_EQ(peso, 77);
    EXPECT_TRUE(converte_peso("100000000000000000000000000000e-400", '.', 3, peso).sucesso);
    EXPECT_EQ(peso, 0);
}

// Text helpers given bytes that end inside a UTF-8 sequence read past their end. The bytes
// sit in a heap block of exactly their size, so that AddressSanitizer sees any read beyond.
TEST(Regressao, TextoQueTerminaNoMeioDeUmCaractereNaoEhLidoAlemDoFim)
{
    for (const std::string bytes : {"\xC3", "a\xE2\x82", "\xF0\x9F\x8F", "\xFF", "\xC3\xA3\xE2"}) {
        auto bloco = std::make_unique<char[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), bloco.get());
        const std::string_view texto(bloco.get(), bytes.size());
        // Each byte that starts no complete sequence counts as the Latin-1 character it is.
        const auto latin1 = utf8_para_latin1(texto);
        ASSERT_TRUE(latin1.has_value()) << trecho_legivel(bytes);
        EXPECT_FALSE(primeiro_fora_de_latin1(texto).has_value());
    }
    EXPECT_EQ(*utf8_para_latin1("\xC3\xA3\xE2"), "\xE3\xE2");
    EXPECT_EQ(*utf8_para_latin1("a\xE2\x82"), "a\xE2\x82");
}

// A maximo without its group ("maximo", "maximo rodadas 1") made the requirements reader
// build a list of names that ended before it began, which threw and ended the program; one
// of -1 teams at home was accepted, and could never be met. Each is refused with its line,
// and nothing is read.
TEST(Regressao, MaximoMalEscritoEhRecusadoComALinha)
{
    const Estado e = carrega_exemplo("nordeste.dat");
    const std::pair<std::string, std::string> casos[] = {
        {"casa Bahia rodadas 1\nmaximo", "falta o máximo de times em casa: maximo K TIME TIME ... [rodadas LISTA]."},
        {"# Fonte Nova\nmáximo rodadas 1-2", "\"rodadas\" não é um número de times (maximo K TIME TIME ...)."},
        {"maximo 1 rodadas 1", "um maximo pede um grupo de dois times ou mais."},
        {"maximo -1 Ceará Fortaleza", "\"-1\" não é um número de times (maximo K TIME TIME ...)."}};
    for (const auto& [texto, problema] : casos) {
        Requisitos r;
        const Desfecho d = le_requisitos(texto, "r.txt", e.campeonato, r);
        const int linha = texto.find('\n') == std::string::npos ? 1 : 2;
        EXPECT_EQ(d.texto, "Erro no arquivo de requisitos \"r.txt\", linha " + std::to_string(linha) + ": " + problema);
        EXPECT_EQ(r, Requisitos{});
    }
}

}  // namespace
}  // namespace kelm::teste
