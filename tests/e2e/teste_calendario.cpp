// The season on the calendar, end to end: requirements written with dates plan the season they
// plan written with rounds; the dated result file reads back; the calendars exported read back
// with another program's parser, and exported again after a re-plan update their events.

#include <sstream>

#include "apoio.hpp"
#include "apoio_lote.hpp"
#include "files/icalendario.hpp"

namespace kelm::teste {
namespace {

const std::string calendario = exemplo("brasileirao_2023_calendario.txt").string();
const std::string turno = exemplo("brasileirao_2023_turno.dat").string();

// `texto` without the lines that begin with any of `inicios`.
std::string sem_linhas(const std::string& texto, std::initializer_list<const char*> inicios)
{
    std::string saida;
    std::istringstream linhas(texto);
    for (std::string linha; std::getline(linhas, linha);)
        if (std::none_of(inicios.begin(), inicios.end(), [&](const char* i) { return linha.starts_with(i); }))
            saida += linha + "\n";
    return saida;
}

// The season of the bundled clubs by the compact search, espelhado, with `extras`; the result
// file's bytes.
std::string temporada(const PastaTemporaria& pasta, const std::string& nome, std::vector<std::string> extras)
{
    const std::string saida = (pasta.caminho() / nome).string();
    std::vector<std::string> args{turno, "--silencioso", "--busca", "compacta", "--returno", "espelhado", "-o", saida};
    args.insert(args.end(), extras.begin(), extras.end());
    const Chamada c = lote(args);
    EXPECT_EQ(c.status, 0) << c.erros;
    return le_bytes(saida);
}

// The bundled requirements written with dates and the calendar, and the same written with
// the rounds they fall in and no calendar (fim-de-semana as a sem-encontro over the midweek
// rounds): the same season, byte for byte, the date lines aside. The dated file reads back
// under --avaliar.
TEST(Calendario, RequisitosComDatasDaoATabelaDasRodadasEmQueCaem)
{
    PastaTemporaria pasta;
    const std::string quartas = "rodadas 4,11,24,27,29,31,33,35\n";
    const auto rodadas = pasta.escreve(
        "r.txt", "maximo 1 Flamengo Fluminense\nmaximo 2 Corinthians Palmeiras São-Paulo\n"
                 "fora Grêmio rodadas 5-6\nfora Atlético-MG rodadas 12\nfora Bahia rodadas 30-31\n"
                 "jogo Corinthians Palmeiras rodadas 10\njogo Flamengo Vasco rodadas 25,26\n"
                 "sem-encontro Grêmio Internacional rodadas 37-38\nsem-encontro Atlético-MG Cruzeiro rodadas 37-38\n"
                 "sem-encontro Corinthians São-Paulo rodadas 37-38\nsem-encontro Grêmio Internacional " + quartas +
                 "sem-encontro Atlético-MG Cruzeiro " + quartas + "sem-encontro Flamengo Fluminense " + quartas +
                 "sem-encontro Palmeiras São-Paulo " + quartas);
    const std::string requisitos = exemplo("brasileirao_2023_requisitos_datas.txt").string();
    const std::string datas = temporada(pasta, "datas.txt", {"--calendario", calendario, "--requisitos", requisitos});
    EXPECT_EQ(sem_linhas(datas, {"Tempo:", "Data:"}),
              sem_linhas(temporada(pasta, "rodadas.txt", {"--requisitos", rodadas.string()}), {"Tempo:"}));
    for (const char* zero : {"Inv1:\t0\r", "Inv2:\t0\r", "Inv3:\t0\r", "Inv5:\t0\r", "Inv10:\t0\r"})
        EXPECT_NE(("\n" + datas).find(std::string("\n") + zero), std::string::npos) << zero;
    EXPECT_NE(datas.find(">>>>>>>>\t4\xAA RODADA\t<<<<<<<<\r\nData:\t03/05/2023\t21:30\r\n\r\n"), std::string::npos);

    const Chamada c = lote({"--avaliar", (pasta.caminho() / "datas.txt").string(), turno, "--calendario", calendario,
                            "--requisitos", requisitos});
    EXPECT_EQ(c.status, 0) << c.erros;
    EXPECT_EQ(c.saida, sem_linhas(substitui(datas.substr(0, datas.find("Tempo:")), "\r", ""), {}));
}

// Runs le_ical.py on an export; its complaints, or nothing.
std::string le_ical(const std::filesystem::path& pasta, const std::filesystem::path& resultado,
                    const std::string& anterior = "")
{
    const auto queixas = pasta.parent_path() / "queixas.txt";
    const std::string comando = std::string(KELM_PYTHON) + " " + pasta_testes + "/e2e/le_ical.py '" + pasta.string() + "' '" +
                                resultado.string() + "' brasileirao_2023_turno.ics " + anterior + " > '" +
                                queixas.string() + "' 2>&1";
    const int status = std::system(comando.c_str());
    return status == 0 ? std::string() : le_bytes(queixas) + " (status " + std::to_string(status) + ")";
}

// The season exported and read back by python3-icalendar: 380 events, 38 in each club's
// file, each on its round's date (and time). The same schedule exported again gives the same
// bytes; after a re-plan that swaps two rounds' games, every UID stays, the moved games carry
// the next SEQUENCE and their new date, the others are as they were.
TEST(Calendario, ExportadoLidoDeVoltaEAtualizadoDepoisDeReplanejar)
{
    PastaTemporaria pasta;
    const auto resultado = pasta.caminho() / "temporada.txt";
    const auto agenda = pasta.caminho() / "agenda";
    const Chamada c = lote({turno, "--silencioso", "--busca", "compacta", "--returno", "espelhado", "-o",
                            resultado.string(), "--calendario", calendario, "--ical", agenda.string()});
    ASSERT_EQ(c.status, 0) << c.erros;
    EXPECT_EQ(le_ical(agenda, resultado), "");

    const auto copia = pasta.caminho() / "anterior";
    std::filesystem::copy(agenda, copia);
    const auto exporta = [&](const std::filesystem::path& tabela) {
        const Chamada e = lote({"--avaliar", tabela.string(), turno, "--calendario", calendario, "--ical", agenda.string()});
        EXPECT_EQ(e.status, 0) << e.erros;
    };
    exporta(resultado);
    for (const auto& arquivo : std::filesystem::directory_iterator(copia))
        EXPECT_EQ(le_bytes(agenda / arquivo.path().filename()), le_bytes(arquivo.path())) << arquivo.path();

    // The games of rounds 1 and 2 change places.
    std::vector<std::string> linhas;
    std::istringstream texto(le_bytes(resultado));
    for (std::string linha; std::getline(texto, linha);) linhas.push_back(linha + "\n");
    std::vector<std::size_t> r1;
    std::vector<std::size_t> r2;
    int rodada = 0;
    for (std::size_t k = 0; k < linhas.size(); ++k) {
        if (linhas[k].starts_with(">>>>>>>>")) ++rodada;
        if (linhas[k].find("\tX\t") != std::string::npos && rodada <= 2) (rodada == 1 ? r1 : r2).push_back(k);
    }
    ASSERT_EQ(r1.size(), r2.size());
    for (std::size_t k = 0; k < r1.size(); ++k) std::swap(linhas[r1[k]], linhas[r2[k]]);
    std::string replanejado;
    for (const std::string& l : linhas) replanejado += l;
    exporta(pasta.escreve("replanejado.txt", replanejado));
    EXPECT_EQ(le_ical(agenda, pasta.caminho() / "replanejado.txt", "'" + copia.string() + "'"), "");
}

// Names of files and UIDs: ASCII without accents, nothing a file system refuses, never empty
// nor a device of Windows; the same name in another case is the same name.
TEST(Calendario, NomesSegurosParaQualquerSistemaDeArquivos)
{
    const std::pair<std::string, std::string> casos[] = {
        {"São-Paulo", "sao-paulo"},        {"Atlético-MG", "atletico-mg"},   {"ATLÉTICO mg", "atletico-mg"},
        {"Grêmio\xE7", "gremioc"},        {"a/b\\c:d*e?f\"g<h>i|j", "a-b-c-d-e-f-g-h-i-j"},
        {"..oculto", "oculto"},            {"   ", "sem-nome"},             {"CON", "con_"},
        {"brasileirao_2023", "brasileirao_2023"}, {"Ñandú Æ ß", "nandu-ae-ss"}, {std::string(80, 'x'), std::string(60, 'x')}};
    for (const auto& [nome, seguro] : casos) EXPECT_EQ(nome_seguro(nome), seguro) << nome;
}

}  // namespace
}  // namespace kelm::teste
