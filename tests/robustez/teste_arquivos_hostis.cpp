// Hostile input files: each is refused with its exact message, quickly, and leaves the
// championship loaded before it as it was.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "apoio.hpp"
#include "apoio_lote.hpp"
#include "processo_filho.hpp"

namespace kelm::teste {
namespace {

// The championship loaded before every hostile file: the 6-team example, with a result.
Estado campeonato_anterior()
{
    Estado e = carrega_exemplo("nordeste.dat");
    e.execucao.tabela_melhor = e.execucao.tabela_inicial;
    e.execucao.programa_executado = true;
    e.execucao.fo_star = 1234.0;
    return e;
}

const std::string d20 = texto_distancias(20);
const std::string n20 = texto_nomes(20);
const std::string dados20 = "20, 19\nd.txt\nn.txt\n";

// ---- Contents ------------------------------------------------------------------------

struct CasoHostil {
    const char* nome;
    std::string dados;
    std::string distancias;
    std::string nomes;
    // The whole text; {P} stands for the championship's folder.
    std::string texto;
};

// Shown by name in test listings, not as bytes.
void PrintTo(const CasoHostil& caso, std::ostream* os) { *os << caso.nome; }

std::string erro(const std::string& tipo, const std::string& arquivo, int linha, const std::string& problema)
{
    return "Erro no arquivo de " + tipo + " \"{P}/" + arquivo + "\", linha " + std::to_string(linha) + ": " + problema +
           " Os dados não foram carregados.";
}

std::string erro_dados(int linha, const std::string& problema) { return erro("dados", "c.dat", linha, problema); }
std::string erro_distancias(int linha, const std::string& problema) { return erro("distâncias", "d.txt", linha, problema); }
std::string erro_nomes(int linha, const std::string& problema) { return erro("nomes de times", "n.txt", linha, problema); }

const std::string formato_nr = "o primeiro item deve ser \"N, R\" (o número de times, uma vírgula e o número de rodadas)";

class ConteudoHostil : public ::testing::TestWithParam<CasoHostil> {};

TEST_P(ConteudoHostil, DaAMensagemExataENaoMudaOCampeonato)
{
    const CasoHostil& caso = GetParam();
    PastaTemporaria pasta;
    const auto dados = pasta.escreve("c.dat", caso.dados);
    pasta.escreve("d.txt", caso.distancias);
    pasta.escreve("n.txt", caso.nomes);

    Estado e = campeonato_anterior();
    const Estado antes = e;
    const Desfecho d = carrega_dados(e.campeonato, e.execucao, dados);
    EXPECT_FALSE(d.sucesso);
    EXPECT_EQ(d.tipo, TipoMensagem::erro);
    EXPECT_EQ(d.texto, substitui(caso.texto, "{P}", pasta.caminho().string()));
    EXPECT_TRUE(e == antes);  // nothing changed
}

INSTANTIATE_TEST_SUITE_P(
    Arquivos, ConteudoHostil,
    ::testing::Values(
        CasoHostil{"DadosSoComBrancos", " \r\n\t\n", d20, n20, erro_dados(3, "o arquivo está vazio; " + formato_nr + ".")},
        CasoHostil{"BrancoAntesDaVirgula", "20 ,19\nd.txt\nn.txt\n", d20, n20,
                   erro_dados(1, formato_nr + "; falta a vírgula logo depois do número de times.")},
        CasoHostil{"SoNR", "20, 19\n", d20, n20, erro_dados(2, "falta o caminho do arquivo de distâncias.")},
        CasoHostil{"CaminhoLongo", "20, 19\n" + std::string(100, 'd') + "\nn.txt\n", d20, n20,
                   erro_dados(2, "o caminho do arquivo de distâncias tem 100 caracteres; o máximo é 99.")},
        CasoHostil{"NDois", "2, 19\nd.txt\nn.txt\n", d20, n20, erro_dados(1, "o número de times é 2; são precisos pelo menos 3.")},
        CasoHostil{"NMilEUm", "1001, 1001\nd.txt\nn.txt\n", d20, n20, erro_dados(1, "o número de times é 1001; o máximo é 1000.")},
        CasoHostil{"NAlemDe32Bits", "99999999999999999999, 19\nd.txt\nn.txt\n", d20, n20,
                   erro_dados(1, "o número de times não cabe em 32 bits.")},
        CasoHostil{"RCurtoComNImpar", "21, -21\nd.txt\nn.txt\n", d20, n20,
                   erro_dados(1, "o número de rodadas é -21; com 21 times são precisas pelo menos 21.")},
        CasoHostil{"REnorme", "20, 2147483647\nd.txt\nn.txt\n", d20, n20,
                   erro_dados(1, "o número de rodadas é 2147483647; o máximo é 5000.")},
        CasoHostil{"LetrasNoLugarDeN", "vinte, 19\nd.txt\nn.txt\n", d20, n20,
                   erro_dados(1, formato_nr + ", mas começa com \"vinte,\".")},
        CasoHostil{"NulNoDados", std::string("20, 19\nd.txt\0\nn.txt\n", 20), d20, n20,
                   erro_dados(2, "o arquivo não é de texto (tem o byte de controle 0x00).")},
        CasoHostil{"DadosEmUtf16", std::string("\xFF\xFE" "2\0" "0\0" ",\0" "1\0" "9\0", 12), d20, n20,
                   erro_dados(1, "o arquivo está em UTF-16 (\"Unicode\"); grave-o como texto UTF-8 ou Latin-1.")},
        CasoHostil{"TernoSemOTerceiroNumeroNoFim", dados20, "1, 2, 5\n3, 4", n20,
                   erro_distancias(2, "o terno está incompleto: falta a distância.")},
        CasoHostil{"TernoSemVirgula", dados20, "1, 2, 5\n3, 4 5\n", n20,
                   erro_distancias(2, "esperava uma vírgula logo depois do segundo time (4); cada linha deve ser "
                                      "\"i, j, distância\".")},
        CasoHostil{"LetrasNoLugarDaDistancia", dados20, "1, 2, 5\n\n3, 4, quinhentos\n", n20,
                   erro_distancias(3, "esperava um número inteiro e encontrou \"quinhentos\".")},
        CasoHostil{"TimeAlem", dados20, "1, 2, 5\n\n1, 21, 5\n", n20,
                   erro_distancias(3, "o time 21 não existe; os times vão de 1 a 20.")},
        CasoHostil{"DistanciaNegativa", dados20, "1, 2, -5\n", n20, erro_distancias(1, "a distância -5 é negativa.")},
        CasoHostil{"DistanciaAlemDe32Bits", dados20, "1, 2, 4294967296\n", n20,
                   erro_distancias(1, "a distância não cabe em 32 bits.")},
        CasoHostil{"DistanciaQueEstouraOPercurso", dados20, "1, 3, 113025455\n1, 2, 113025456\n", n20,
                   erro_distancias(2, "a distância 113025456 é grande demais: com 20 times, a maior distância aceita é "
                                      "113025455, para que o percurso de um time não passe de 2147483647.")},
        CasoHostil{"NomeDeCemLetrasAcentuadas", dados20, d20, "T1\n" + [] {
                       std::string s;
                       for (int k = 0; k < 100; ++k) s += "ã";
                       return s;
                   }(),
                   erro_nomes(2, "o nome do time 2 tem 100 caracteres; o máximo é 99.")},
        CasoHostil{"VinteEUmNomesParaVinteTimes", dados20, d20, n20 + "T21\n",
                   erro_nomes(21, "há mais nomes do que os 20 times: o 21º é \"T21\".")},
        CasoHostil{"NomeForaDoLatin1", dados20, d20, "A Euro€ C",
                   erro_nomes(1, "o nome do time 2, \"Euro€\", tem o caractere \"€\", que o arquivo de resultados "
                                 "(Latin-1) não pode gravar.")},
        CasoHostil{"ControleDoLatin1NosNomes", dados20, d20, "A\nB\x85" "C\n",
                   erro_nomes(2, "o nome do time 2 tem um caractere de controle; o arquivo não é de texto.")}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// Empty distances and names files are sound: no distance is known (all 0) and no team has a name.
TEST(ArquivosVazios, DistanciasENomesVaziosCarregam)
{
    PastaTemporaria pasta;
    const auto dados = pasta.escreve("c.dat", "4, 3\nd.txt\nn.txt\n");
    pasta.escreve("d.txt", "");
    pasta.escreve("n.txt", "");
    Estado e = campeonato_anterior();
    const Desfecho d = carrega_dados(e.campeonato, e.execucao, dados);
    ASSERT_TRUE(d.sucesso) << d.texto;
    EXPECT_EQ(e.campeonato.num_times, 4);
    EXPECT_EQ(e.campeonato.matriz_distancias, aloca_matriz_inteiros(5, 5));
    EXPECT_EQ(e.campeonato.nomes_times, std::vector<std::string>(5));
}

// ---- Files that cannot be read -----------------------------------------------------

struct CasoNaoAbre {
    const char* nome;
    std::string dados;      // the data file's contents
    std::string texto;      // the fixed text
    std::string detalhe;    // {P} stands for the folder
};

void PrintTo(const CasoNaoAbre& caso, std::ostream* os) { *os << caso.nome; }

class ArquivoQueNaoAbre : public ::testing::TestWithParam<CasoNaoAbre> {};

// The folder holds d.txt and n.txt (sound), a folder "sub", a named pipe "fila", a link that
// points at itself "laco" and a sparse file "grande" of 129 MB.
TEST_P(ArquivoQueNaoAbre, DaOTextoDoArquivoEODetalhe)
{
    const CasoNaoAbre& caso = GetParam();
    PastaTemporaria pasta;
    const auto dados = pasta.escreve("c.dat", caso.dados);
    pasta.escreve("d.txt", d20);
    pasta.escreve("n.txt", n20);
    std::filesystem::create_directory(pasta.caminho() / "sub");
    ASSERT_EQ(::mkfifo((pasta.caminho() / "fila").c_str(), 0644), 0);
    std::filesystem::create_symlink("laco", pasta.caminho() / "laco");
    {
        const auto grande = pasta.escreve("grande", "");
        std::filesystem::resize_file(grande, (129u << 20));
    }

    Estado e = campeonato_anterior();
    const Estado antes = e;
    const Desfecho d = carrega_dados(e.campeonato, e.execucao, dados);
    EXPECT_FALSE(d.sucesso);
    EXPECT_EQ(d.tipo, TipoMensagem::erro);
    EXPECT_EQ(d.texto, caso.texto);
    EXPECT_EQ(d.detalhe, substitui(caso.detalhe, "{P}", pasta.caminho().string()));
    EXPECT_TRUE(e == antes);  // nothing changed
}

const std::string sem_distancias = "O Arquivo de distâncias não foi aberto.";
const std::string sem_nomes = "O Arquivo de nomes de times não foi aberto.";

INSTANTIATE_TEST_SUITE_P(
    Caminhos, ArquivoQueNaoAbre,
    ::testing::Values(
        CasoNaoAbre{"DistanciasNaoExistem", "20, 19\nfalta.txt\nn.txt\n", sem_distancias, "{P}/falta.txt: o arquivo não existe."},
        CasoNaoAbre{"NomesNaoExistem", "20, 19\nd.txt\nfalta.txt\n", sem_nomes, "{P}/falta.txt: o arquivo não existe."},
        CasoNaoAbre{"SoAPrimeiraFalhaEDita", "20, 19\nfalta.txt\ntambem.txt\n", sem_distancias,
                    "{P}/falta.txt: o arquivo não existe."},
        CasoNaoAbre{"NomesNaPastaAtual", "20, 19\nd.txt\n.\n", sem_nomes, "{P}/.: o caminho é uma pasta."},
        CasoNaoAbre{"DistanciasNumaFila", "20, 19\nfila\nn.txt\n", sem_distancias, "{P}/fila: não é um arquivo comum."},
        CasoNaoAbre{"NomesNumDispositivo", "20, 19\nd.txt\n/dev/zero\n", sem_nomes, "/dev/zero: não é um arquivo comum."},
        CasoNaoAbre{"DistanciasNumLinkEmCirculo", "20, 19\nlaco\nn.txt\n", sem_distancias,
                    "{P}/laco: o caminho tem links simbólicos em círculo."},
        CasoNaoAbre{"DistanciasGrandesDemais", "20, 19\ngrande\nn.txt\n", sem_distancias,
                    "{P}/grande: o arquivo tem mais de 128 MB."},
        CasoNaoAbre{"CaminhoAtravesDeUmArquivo", "20, 19\nd.txt/x\nn.txt\n", sem_distancias,
                    "{P}/d.txt/x: o caminho passa por algo que não é uma pasta."},
        // A name written in Latin-1 by a Windows program is shown as text, not as broken bytes.
        CasoNaoAbre{"CaminhoEmLatin1", "20, 19\ndist\xE2ncias.txt\nn.txt\n", sem_distancias,
                    "{P}/distâncias.txt: o arquivo não existe."}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// Run by a planner who may not read the file. As root, permissions do not stop a read, so
// the load runs in a child process that has become the user nobody.
TEST(ArquivoSemPermissao, DeLeituraDaOTextoDoArquivo)
{
    PastaTemporaria pasta;
    std::filesystem::permissions(pasta.caminho(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                                      std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                                      std::filesystem::perms::others_exec);
    const auto dados = pasta.escreve("c.dat", "20, 19\nd.txt\nn.txt\n");
    const auto fechado = pasta.escreve("fechado.dat", "20, 19\nd.txt\nn.txt\n");
    const auto sem_nomes_legiveis = pasta.escreve("c2.dat", "20, 19\nd.txt\nfechado.txt\n");
    pasta.escreve("d.txt", d20);
    pasta.escreve("n.txt", n20);
    const auto nomes_fechados = pasta.escreve("fechado.txt", n20);
    std::filesystem::permissions(fechado, std::filesystem::perms::none);
    std::filesystem::permissions(nomes_fechados, std::filesystem::perms::none);
    const std::string p = pasta.caminho().string();

    Estado e = campeonato_anterior();
    const RespostaFilho r = executa_em_filho(
        [&] {
            const Estado antes = e;
            std::string saida;
            for (const auto& arquivo : {fechado, sem_nomes_legiveis}) {
                const Desfecho d = carrega_dados(e.campeonato, e.execucao, arquivo);
                saida += d.texto + " | " + d.detalhe + (e == antes ? " |" : " | mudou") + "\n";
            }
            // The sound file still loads for this user: the refusals above are the permissions'.
            saida += carrega_dados(e.campeonato, e.execucao, dados).sucesso ? "carregou" : "não carregou";
            return saida;
        },
        true);
    if (!r.executou) GTEST_SKIP() << r.texto;
    EXPECT_EQ(r.texto, "O Arquivo de dados não foi aberto. | " + p + "/fechado.dat: sem permissão de leitura. |\n" +
                           "O Arquivo de nomes de times não foi aberto. | " + p +
                           "/fechado.txt: sem permissão de leitura. |\n" + "carregou");
}

// ---- Requirements files ------------------------------------------------------------

struct CasoRequisitos {
    const char* nome;
    std::string requisitos;  // for the 6 clubs of nordeste.dat, 10 rounds
    std::string problema;    // after "Erro no arquivo de requisitos "{F}", "
    bool calendario = false; // the file is a calendar (--calendario, with --ical), not requirements
};

void PrintTo(const CasoRequisitos& caso, std::ostream* os) { *os << caso.nome; }

class RequisitosHostis : public ::testing::TestWithParam<CasoRequisitos> {};

// Refused by kelm-lote, for a run and for --avaliar, before anything is written: exit status
// 1, the message with the line (the lines of every requirement involved in a contradiction).
// A calendar likewise, the calendars' folder not made.
TEST_P(RequisitosHostis, RecusadosComALinhaSemGravarNada)
{
    const CasoRequisitos& caso = GetParam();
    PastaTemporaria pasta;
    const std::string requisitos = pasta.escreve("r.txt", caso.requisitos).string();
    const std::string mensagem = std::string("Erro no arquivo de ") + (caso.calendario ? "calendário" : "requisitos") +
                                 " \"" + requisitos + "\", " + caso.problema + "\n";
    const std::string resultado = (pasta.caminho() / "resultado.txt").string();
    const std::string relatorio = (pasta.caminho() / (caso.calendario ? "agenda" : "relatorio.txt")).string();
    const std::string dados = exemplo("nordeste.dat").string();
    const std::string avaliado = (std::filesystem::path(pasta_testes) / "e2e" / "esperado" / "nordeste.txt").string();
    const char* opcao = caso.calendario ? "--calendario" : "--requisitos";
    const char* outra_saida = caso.calendario ? "--ical" : "--relatorio";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{dados, "--silencioso", opcao, requisitos, "-o", resultado, outra_saida, relatorio},
          std::vector<std::string>{"--avaliar", avaliado, dados, opcao, requisitos, outra_saida, relatorio}}) {
        const Chamada c = lote(args);
        EXPECT_EQ(c.status, 1) << args[0];
        EXPECT_TRUE(c.erros.ends_with(mensagem)) << c.erros;
        EXPECT_EQ(c.saida, "");
        EXPECT_FALSE(std::filesystem::exists(resultado));
        EXPECT_FALSE(std::filesystem::exists(relatorio));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arquivos, RequisitosHostis,
    ::testing::Values(
        CasoRequisitos{"TimeDesconhecido", "casa Bahia rodadas 1\nfora Flamengo rodadas 2\n",
                       "linha 2: o time \"Flamengo\" não é deste campeonato."},
        CasoRequisitos{"RodadaAlemDaTemporada", "# temporada de 20 rodadas\r\ncasa Bahia rodadas 3,21\r\n",
                       "linha 2: a rodada 21 passa das 10 rodadas do campeonato e das 20 de uma temporada de turno e returno."},
        CasoRequisitos{"RodadaDoReturnoSemTemporada", "encontro Bahia Vitória rodadas 9\nencontro Ceará Sport rodadas 11-12\n",
                       "linha 2: a rodada 12 passa das 10 rodadas do turno; só numa temporada inteira, de turno e returno, há "
                       "20 rodadas."},
        CasoRequisitos{"RodadaZero", "fora Sport rodadas 0-2", "linha 1: as rodadas começam na 1; \"0-2\" não serve."},
        CasoRequisitos{"IntervaloAoContrario", "\xEF\xBB\xBF" "casa Sport rodadas 3-1", 
                       "linha 1: o intervalo \"3-1\" termina antes de começar; escreva-o do menor ao maior."},
        CasoRequisitos{"JogoComUmTime", "jogo Bahia rodadas 3",
                       "linha 1: jogo, encontro e sem-encontro pedem dois times: jogo MANDANTE VISITANTE rodadas LISTA."},
        CasoRequisitos{"TipoDesconhecido", "\n\nmando Bahia rodadas 1",
                       "linha 3: o requisito \"mando\" não existe: cada linha começa por casa, fora, maximo, jogo, encontro, "
                       "sem-encontro ou fim-de-semana."},
        CasoRequisitos{"CasaEForaNaMesmaRodada", "casa Bahia rodadas 1-3\n\nfora Bahia rodadas 3\n",
                       "linhas 1 e 3: os requisitos não podem valer juntos: Bahia em casa e fora na rodada 3."},
        CasoRequisitos{"DoisJogosDeUmTimeNaMesmaRodada", "jogo Bahia Vitória rodadas 4\njogo Ceará Bahia rodadas 4\n",
                       "linhas 1 e 2: os requisitos não podem valer juntos: Bahia tem dois jogos marcados na rodada 4."},
        CasoRequisitos{"JogoNaRodadaEmQueOMandanteJogaFora", "fora Ceará rodadas 5\njogo Ceará Sport rodadas 5\n",
                       "linhas 1 e 2: os requisitos não podem valer juntos: o jogo Ceará x Sport não cabe em nenhuma das suas "
                       "rodadas, em que Ceará deve jogar fora ou Sport em casa."},
        CasoRequisitos{"MaisEmCasaQueOMaximo",
                       "maximo 1 Ceará Fortaleza # o mesmo estádio\ncasa Ceará rodadas 2\ncasa Fortaleza rodadas 1-2\n",
                       "linhas 1, 2 e 3: os requisitos não podem valer juntos: Ceará e Fortaleza em casa na rodada 2, e no "
                       "máximo 1 deles pode jogar em casa."},
        CasoRequisitos{"ParMarcadoOndeNaoPodeSeEnfrentar", "sem-encontro Bahia Vitória rodadas 9-10\nencontro Vitória Bahia rodadas 10\n",
                       "linhas 1 e 2: os requisitos não podem valer juntos: Bahia e Vitória não têm rodada em que possam "
                       "se enfrentar."},
        CasoRequisitos{"DatasSemCalendario", "casa Bahia rodadas 1\nfora Bahia datas 18/05/2024\n",
                       "linha 2: as datas pedem um calendário, que diz em que dia cai cada rodada, e não há nenhum em vigor."},
        CasoRequisitos{"FimDeSemanaSemCalendario", "fim-de-semana Bahia Vitória",
                       "linha 1: fim-de-semana pede um calendário, que diz em que dia cai cada rodada, e não há nenhum em "
                       "vigor."}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// ---- Calendar files ----------------------------------------------------------------

// The ten rounds of nordeste.dat, a week apart from Saturday 6 May 2023, with the lines of
// `trocas` (round: its line, or "" for none) in place of theirs.
std::string dez_rodadas(const std::map<int, std::string>& trocas)
{
    const char* datas[] = {"06/05/2023", "13/05/2023", "20/05/2023", "27/05/2023", "03/06/2023",
                           "10/06/2023", "17/06/2023", "24/06/2023", "01/07/2023", "08/07/2023"};
    std::string texto = "# nordeste\n";
    for (int r = 1; r <= 10; ++r) {
        const auto troca = trocas.find(r);
        if (troca == trocas.end())
            texto += std::to_string(r) + " " + datas[r - 1] + "\n";
        else if (!troca->second.empty())
            texto += troca->second + "\n";
    }
    return texto;
}

INSTANTIATE_TEST_SUITE_P(
    Calendarios, RequisitosHostis,
    ::testing::Values(
        CasoRequisitos{"FaltaUmaRodada", dez_rodadas({{7, ""}}),
                       "linha 10: falta a data da rodada 7 (a execução tem 10 rodadas, cada uma numa linha).", true},
        CasoRequisitos{"RodadaAlemDaExecucao", dez_rodadas({{10, "11 08/07/2023"}}),
                       "linha 11: a rodada 11 passa das 10 rodadas da execução.", true},
        CasoRequisitos{"RodadaRepetida", dez_rodadas({{4, "3 27/05/2023"}}), "linha 5: a rodada 3 já tem data, na linha 4.", true},
        CasoRequisitos{"VinteENoveDeFevereiroSemSerBissexto", dez_rodadas({{1, "1 29/02/2023"}}),
                       "linha 2: \"29/02/2023\" não é uma data: fevereiro de 2023 tem 28 dias.", true},
        CasoRequisitos{"AnoDeDoisAlgarismos", dez_rodadas({{2, "2 13/05/23 # sábado"}}),
                       "linha 3: \"13/05/23\" não é uma data; escreva dd/mm/aaaa (18/05/2024) ou aaaa-mm-dd (2024-05-18).", true},
        CasoRequisitos{"HoraAlemDoDia", dez_rodadas({{5, "5 2023-06-03 24:00"}}),
                       "linha 6: \"24:00\" não é uma hora; escreva hh:mm, de 00:00 a 23:59 (por exemplo: 16:00).", true},
        CasoRequisitos{"DuasRodadasNoMesmoDia", dez_rodadas({{6, "6 03/06/2023"}}),
                       "linha 7: a rodada 6 cai no mesmo dia que a rodada 5, 03/06/2023: as datas crescem com as rodadas, "
                       "uma data por rodada.", true},
        CasoRequisitos{"DatasQueVoltam", "\xEF\xBB\xBF" "2 13/05/2023\r\n1 2023-05-20\r\n" + dez_rodadas({{1, ""}, {2, ""}}),
                       "linha 1: a rodada 2, em 13/05/2023, vem antes da rodada 1, em 20/05/2023: as datas crescem com as "
                       "rodadas, uma data por rodada.", true},
        CasoRequisitos{"RodadaSemData", dez_rodadas({{8, "8"}}), "linha 9: falta a data da rodada 8.", true},
        CasoRequisitos{"PalavrasDeMais", dez_rodadas({{8, "rodada 8 24/06/2023 16:00"}}),
                       "linha 9: cada linha deve ser \"rodada data [hora]\" (por exemplo: 6 18/05/2024 16:00).", true}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// ---- Plain tables of games -------------------------------------------------------------

struct CasoTabela {
    const char* nome;
    std::string tabela;    // for the 6 clubs of nordeste.dat, 10 rounds
    std::string problema;  // after "Erro no arquivo de tabela "{F}", "
};

void PrintTo(const CasoTabela& caso, std::ostream* os) { *os << caso.nome; }

class TabelasHostis : public ::testing::TestWithParam<CasoTabela> {};

// A plain table given to kelm-lote --avaliar: refused with its line, exit status 1, nothing
// written.
TEST_P(TabelasHostis, RecusadasComALinhaSemGravarNada)
{
    const CasoTabela& caso = GetParam();
    PastaTemporaria pasta;
    const std::string tabela = pasta.escreve("t.csv", caso.tabela).string();
    const std::string relatorio = (pasta.caminho() / "relatorio.txt").string();
    const Chamada c = lote({"--avaliar", tabela, exemplo("nordeste.dat").string(), "--relatorio", relatorio});
    EXPECT_EQ(c.status, 1);
    EXPECT_TRUE(c.erros.ends_with("Erro no arquivo de tabela \"" + tabela + "\", " + caso.problema + "\n")) << c.erros;
    EXPECT_EQ(c.saida, "");
    EXPECT_FALSE(std::filesystem::exists(relatorio));
}

// The 15 games of nordeste.dat's clubs in 5 rounds, one a line, "rodada;mandante;visitante".
const std::string jogos_nordeste =
    "1;Bahia;Vitória\n1;Ceará;Fortaleza\n1;Náutico;Sport\n2;Bahia;Ceará\n2;Vitória;Náutico\n2;Fortaleza;Sport\n"
    "3;Bahia;Fortaleza\n3;Vitória;Sport\n3;Ceará;Náutico\n4;Náutico;Bahia\n4;Sport;Ceará\n4;Vitória;Fortaleza\n"
    "5;Sport;Bahia\n5;Fortaleza;Náutico\n5;Ceará;Vitória\n";

INSTANTIATE_TEST_SUITE_P(
    Arquivos, TabelasHostis,
    ::testing::Values(
        CasoTabela{"TimeDesconhecido", "rodada;mandante;visitante\n1;Bahia;Flamengo\n",
                   "linha 2: o time \"Flamengo\" não é deste campeonato."},
        CasoTabela{"TimeDuasVezesNaRodada", "1;Bahia;Vitória\r\n1;Ceará;Bahia\r\n",
                   "linha 2: Bahia joga duas vezes na 1ª rodada (também na linha 1)."},
        CasoTabela{"ParRepetido", substitui(jogos_nordeste, "5;Ceará;Vitória", "5;Vitória;Ceará\n6;Bahia;Vitória"),
                   "linha 16: Bahia e Vitória já se enfrentaram na linha 1."},
        CasoTabela{"ParQueFalta", substitui(jogos_nordeste, "5;Ceará;Vitória\n", ""),
                   "linha 14: falta o jogo entre Vitória e Ceará."},
        CasoTabela{"MandoQueFaltaNaTemporada", jogos_nordeste + "11;Vitória;Bahia\n",
                   "linha 16: falta o jogo de Bahia em casa contra Náutico. Faltam 14 jogos ao todo."},
        CasoTabela{"RodadaAlemDaTemporada", "\"1\";\"Bahia\";\"Vitória\"\n21;Ceará;Sport\n",
                   "linha 2: a 21ª rodada passa das 10 rodadas do campeonato e das 20 de uma temporada de turno e returno."},
        CasoTabela{"CamposDeMais", "1;Bahia;Vitória;2x1\n", "linha 1: esperava três campos, a rodada, o mandante e o visitante, e encontrou 4."},
        CasoTabela{"LinhaQueNaoEJogo", "1;Bahia;Vitória\nfim da tabela\n",
                   "linha 2: esperava a rodada, o mandante e o visitante (como 1;Bahia;Vitória) e encontrou \"fim da tabela\"."},
        CasoTabela{"Vazio", "\r\n  \r\n", "linha 1: o arquivo está vazio."}),
    [](const auto& caso) { return std::string(caso.param.nome); });

// ---- Size --------------------------------------------------------------------------

// A million triples are read in one pass (a line count from the start for every line would
// take minutes, and the test would time out), and a bad one at the very end is named by its
// line.
TEST(ArquivoGrande, UmMilhaoDeTernos)
{
    std::string distancias;
    distancias.reserve(16u << 20);
    int ternos = 0;
    for (int i = 1; i <= 1000 && ternos < 1'000'000; ++i)
        for (int j = 1; j <= 1000 && ternos < 1'000'000; ++j, ++ternos)
            distancias += std::to_string(i) + ", " + std::to_string(j) + ", " + std::to_string(i + j) + "\r\n";
    PastaTemporaria pasta;
    const auto dados = pasta.escreve("c.dat", "1000, 999\nd.txt\nn.txt\n");
    pasta.escreve("d.txt", distancias);
    pasta.escreve("n.txt", "");

    Estado e;
    ASSERT_TRUE(carrega_dados(e.campeonato, e.execucao, dados).sucesso);
    EXPECT_EQ(e.campeonato.matriz_distancias[1000][1000], 2000);

    // A bad triple at the very end is found, and named by its line.
    pasta.escreve("d.txt", distancias + "1, 2, x\n");
    EXPECT_EQ(carrega_dados(e.campeonato, e.execucao, dados).texto,
              "Erro no arquivo de distâncias \"" + pasta.caminho().string() +
                  "/d.txt\", linha 1000001: esperava um número inteiro e encontrou \"x\". Os dados não foram carregados.");
}

}  // namespace
}  // namespace kelm::teste
