// The calendar: civil dates and their weekdays, and requirements written with dates read as
// the rounds those dates fall in.

#include "apoio.hpp"
#include "evaluation/requisitos.hpp"
#include "files/requisitos.hpp"
#include "report/explicacao.hpp"

namespace kelm::teste {
namespace {

// Weekdays and day counts against dates known from elsewhere (1 January 1900 was a Monday, the
// first of March 2000 day 11017 after 1970), and the leap years of the Gregorian rule.
TEST(Calendario, DatasCivisEDiasDaSemana)
{
    const std::pair<Data, int> dias[] = {{{1970, 1, 1}, 4}, {{1900, 1, 1}, 1}, {{2000, 2, 29}, 2},
                                         {{2023, 4, 15}, 6}, {{2024, 5, 18}, 6}, {{9999, 12, 31}, 5}};
    for (const auto& [data, semana] : dias) EXPECT_EQ(dia_da_semana(data), semana) << texto_data(data);
    EXPECT_EQ(dias_desde_1970({2000, 3, 1}), 11017);
    EXPECT_EQ(dias_desde_1970({1969, 12, 31}), -1);
    for (const auto& [ano, tem] : {std::pair{1900, false}, {2000, true}, {2023, false}, {2024, true}, {2100, false}})
        EXPECT_EQ(data_existe(ano, 2, 29), tem) << ano;
    EXPECT_FALSE(data_existe(2023, 4, 31));
    EXPECT_FALSE(data_existe(2023, 13, 1));
}

// The season of 4 teams (3 rounds, 6 with a returno): Saturday, Wednesday, Saturday, Sunday,
// Wednesday, Sunday.
Calendario seis_rodadas()
{
    Calendario c;
    c.arquivo = "c.txt";
    for (const Data d : {Data{2023, 5, 6}, Data{2023, 5, 10}, Data{2023, 5, 13}, Data{2023, 5, 21}, Data{2023, 5, 24},
                         Data{2023, 5, 28}})
        c.rodadas.push_back({d, std::nullopt});
    return c;
}

struct CasoData {
    std::string linha;
    std::vector<int> rodadas;  // from 1
    std::string recusa;        // after "Erro no arquivo de requisitos "r.txt", linha 1: "; empty: read
};

TEST(Calendario, RequisitosPorDataSaoAsRodadasQueCaemNelas)
{
    const Estado e = campeonato(4, 3);
    const Calendario c = seis_rodadas();
    const CasoData casos[] = {
        {"casa T1 datas 10/05/2023", {2}, ""},
        {"fora T1 datas 2023-05-10-2023-05-21", {2, 3, 4}, ""},
        {"jogo T1 T2 datas 06/05/2023,24/05/2023-31/12/2023 # fim", {1, 5, 6}, ""},
        {"fim-de-semana T2 T1", {2, 5}, ""},
        {"casa T1 datas 11/05/2023-12/05/2023", {}, "nenhuma rodada do calendário cai de 11/05/2023 a 12/05/2023."},
        {"casa T1 datas 07/05/2023", {}, "nenhuma rodada do calendário cai em 07/05/2023."},
        {"casa T1 datas 13/05/2023-06/05/2023", {},
         "o intervalo \"13/05/2023-06/05/2023\" termina antes de começar; escreva-o da data menor à maior."},
        {"casa T1 datas 10/05/2023-31/02/2023", {}, "\"31/02/2023\" não é uma data: fevereiro de 2023 tem 28 dias."},
        {"casa T1 rodadas 1 datas 10/05/2023", {}, "escreva uma lista só: rodadas LISTA ou datas LISTA."},
        {"fim-de-semana T1 T2 rodadas 1", {},
         "fim-de-semana não leva lista: os jogos do par caem em sábados ou domingos (fim-de-semana TIME TIME)."},
        {"fim-de-semana T1", {}, "fim-de-semana pede dois times: fim-de-semana TIME TIME."}};
    for (const CasoData& caso : casos) {
        Requisitos r;
        const Desfecho d = le_requisitos(caso.linha, "r.txt", e.campeonato, r, &c);
        if (!caso.recusa.empty()) {
            EXPECT_EQ(d.texto, "Erro no arquivo de requisitos \"r.txt\", linha 1: " + caso.recusa) << caso.linha;
            continue;
        }
        ASSERT_TRUE(d.sucesso) << caso.linha << ": " << d.texto;
        EXPECT_EQ(r.itens.at(0).rodadas, caso.rodadas) << caso.linha;
    }
}

// A fim-de-semana pair that meets on Wednesdays counts those games, said by their dates; kept
// from its weekend rounds too, it has no round to meet in.
TEST(Calendario, FimDeSemanaContaEExplicaOsJogosNoMeioDaSemana)
{
    const Estado e = campeonato(4, 3);
    const Calendario c = seis_rodadas();
    Requisitos r;
    ASSERT_TRUE(le_requisitos("fim-de-semana T1 T3\n", "r.txt", e.campeonato, r, &c).sucesso);
    const Tabela t = turno_e_returno(4);  // T1 and T3 meet in rounds 2 and 5
    EXPECT_EQ(conta_requisitos(r, 4, t), 2);
    const Temporada temporada = temporada_de(e.campeonato, turno_circular(4), Returno::espelhado);
    const Explicacao x = explica_tabela(temporada.campeonato, t, &r, nullptr, &c);
    ASSERT_EQ(x.ocorrencias.back().inviabilidade, Inviabilidade::requisitos);
    EXPECT_EQ(x.ocorrencias.back().frase, "T1 e T3 se enfrentam fora do fim de semana em 10/05/2023 (rodada 2) e "
                                          "24/05/2023 (rodada 5) (requisito da linha 1)");
    EXPECT_TRUE(confere_requisitos(r, e.campeonato, Returno::espelhado).sucesso);  // rounds 1 and 4 are left
    ASSERT_TRUE(le_requisitos("fim-de-semana T1 T3\nsem-encontro T1 T3 datas 06/05/2023,13/05/2023\n", "r.txt",
                              e.campeonato, r, &c)
                    .sucesso);
    EXPECT_EQ(confere_requisitos(r, e.campeonato, Returno::espelhado).texto,
              "Erro no arquivo de requisitos \"r.txt\", linhas 1 e 2: os requisitos não podem valer juntos: T1 e T3 não "
              "têm rodada em que possam se enfrentar, no turno e no returno.");
}

}  // namespace
}  // namespace kelm::teste
